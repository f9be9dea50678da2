#pragma once
// The calls of the companion library (libortakdlg.so): card dialogs, the date picker,
// the open-account ledger and two definition screens. The program reaches them through
// this interface: the loader (CompanionLoader) loads the library for each call, the
// tests use a fake with scripted answers.
//
// A call that cannot be made (library or entry point missing) is reported to the person
// through the prompter by the loader, and the call returns its "nothing chosen" value.
#include "companion/movement_request.h"

#include <QDate>
#include <QString>

namespace selvar {

class Companion {
public:
    virtual ~Companion() = default;

    // Card modes: 0 browse and maintain, 1 choose one card and return its key.
    virtual double DateAl1(double today) = 0;                    // chosen date, <= 0 none
    virtual QString BrKurumCreate(int mode) = 0;                 // KOD, empty none
    virtual qint64 BrHastaCreate(int mode) = 0;                  // HASTANO, 0 none
    virtual qint64 BrDoktorCreate(int mode) = 0;                 // DRKOD, 0 none
    virtual QString BrUrunCreate(int mode) = 0;                  // ILACAD, empty none
    virtual void BrJenCreate(int mode) = 0;
    virtual void BrGrupCreate(int mode) = 0;
    virtual void BrFirmaCreate(int mode) = 0;
    virtual void BrEndikCreate(int mode) = 0;
    virtual double BrSatisCreate(int mode) = 0;                  // SATISNO of an old retail sale, 0 none
    virtual double BrReceteCreate(int mode) = 0;                 // SATISNO of an old prescription sale
    virtual double BrFatRsizCreate(int mode) = 0;                // SATISNO of an old invoiced sale
    virtual double EskiAlisCreate(int mode) = 0;                 // ALISNO, > 0 chosen
    // 0 edits the card of `productName`, 1 makes a new one; the saved name, empty when cancelled.
    virtual QString UEditInsert(const QString& productName, int mode) = 0;
    virtual void HareketListVer(const MovementListRequest& request) = 0;
    // Mode 1 new entry, 0 update entry `number`, 3 entry for corrected sale `number`.
    // Returns the HAREKNO of the HAREKET row written.
    virtual double VeresiyeAc(const QString& accountName, const QString& description, int mode, const QDate& date,
                              double number, double amount, double patientShare, const QString& accountKey) = 0;
    virtual void TanimlaRecete() = 0;
    virtual void ListeTanimGor() = 0;
};

}  // namespace selvar
