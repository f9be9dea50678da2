#pragma once
// The program's side of the companion library: each call loads libortakdlg.so, looks
// its entry point up by name, calls it and unloads the library right after, also when
// the call cannot be made. No state is kept between calls.
//
// Where the library is looked for, first match wins:
//   1. the file named by the environment variable SELVAR_COMPANION_LIB;
//   2. <directory of the program>/../lib/libortakdlg.so (the layout of the build
//      directory and of an installation: bin/ next to lib/);
//   3. "ortakdlg" by name, through the system's library search (LD_LIBRARY_PATH, the
//      ld.so cache).
// A library or an entry point that cannot be found is reported through the prompter as
// an error message, and the call returns its "nothing chosen" value.
#include "companion/companion.h"

namespace selvar {

class Prompter;

class CompanionLoader final : public Companion {
public:
    explicit CompanionLoader(Prompter& prompter) : prompter_(prompter) {}

    static QString libraryLocation();

    double DateAl1(double today) override;
    QString BrKurumCreate(int mode) override;
    qint64 BrHastaCreate(int mode) override;
    qint64 BrDoktorCreate(int mode) override;
    QString BrUrunCreate(int mode) override;
    void BrJenCreate(int mode) override;
    void BrGrupCreate(int mode) override;
    void BrFirmaCreate(int mode) override;
    void BrEndikCreate(int mode) override;
    double BrSatisCreate(int mode) override;
    double BrReceteCreate(int mode) override;
    double BrFatRsizCreate(int mode) override;
    double EskiAlisCreate(int mode) override;
    QString UEditInsert(const QString& productName, int mode) override;
    void HareketListVer(const MovementListRequest& request) override;
    double VeresiyeAc(const QString& accountName, const QString& description, int mode, const QDate& date,
                      double number, double amount, double patientShare, const QString& accountKey) override;
    void TanimlaRecete() override;
    void ListeTanimGor() override;

private:
    Prompter& prompter_;
};

}  // namespace selvar
