#pragma once
// The stamped prescription back-print (the window TQRMDForm, "Kaşeli Reçete Arkası
// Dökümü"): a fixed layout with the pharmacy's stamp, the header texts, one column of
// amounts per product category, the institution's account and the patient's receipt, with
// options kept per institution and patient type in RECKASE.DB.
#include "print/font.h"
#include "print/page_setup.h"

#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

namespace selvar {

struct Session;

namespace report {
class Report;
}

struct StampedOptions {
    bool registerNo = false;    // RECKAYAZ "Reç.Kayıt Def. &No Yazılsın"
    bool visa = false;          // VIZEYAZ
    bool protocol = false;      // PRTOKOL
    bool runningNo = false;     // SIRANO
    bool closingTotals = false; // DOKUMTOP
    bool twoListings = false;   // ITHALYAZ: domestic and imported apart
    bool frames = true;         // CERCEVE
    QString order = QStringLiteral("D");        // SIRALAMAKRITER: D, R, A, S
    QString orientation = QStringLiteral("D");  // SAYFAYON: D portrait, Y landscape
    QString registerCaption;    // RKNOBAS: "E" Ecz.Protokol No, "R" (or none) Reç.Kayıt Def.No
    FontDef font;               // FONTADI, FONTSIZE (8), COLOR, FONTSTYLE ("R")
    int columns = 1;            // YANYANAREC
    int margin = 0;             // MARJIN, mm
    int gap = 10;               // RECARBOYUZ, mm
    bool pagePerPrescription = false;  // HERECAYRI
    std::array<QString, 5> suffixes;   // ILACLAR, ILACBERA, OZKAT, ITHAL, RAPITHAL
    int paperHeight = 0, paperWidth = 0;  // S_YUKSEK, S_GENIS, tenths of a mm
    QString paper = QStringLiteral("9");  // SAYFA_TIPI

    PageSetup pageSetup() const;
};

// The paper sizes of sayfalar.DB: what the list shows and the number stored.
struct PaperChoice {
    QString name;    // SAYFAADI
    QString number;  // SAYI
};

class KaseliLogic {
public:
    // One prescription sale (saleNo > 0: its RECETE rows are copied into TMPREC), or the
    // prescriptions the caller put into RECTEMP for the institution and patient type.
    KaseliLogic(Session& session, const QString& institution, const QString& patientType, double saleNo = 0);

    bool singleSheet() const { return single_; }
    QString institution() const { return institution_; }
    QString patientType() const { return patientType_; }

    StampedOptions& options() { return options_; }
    const StampedOptions& options() const { return options_; }
    QList<PaperChoice> papers() const;

    // The reports of one printing: one, or two with the listings apart.
    std::vector<std::unique_ptr<report::Report>> reports();
    // "&Yazdır" and "R.Öni&zleme"; a short message when there is nothing to print.
    void print();
    void preview();
    void chooseFont();  // "Yazıcı &Fontu"
    // The window closes: the options are written back, the font only when chosen.
    void closing();

    static QString nothingToPrint() { return QStringLiteral("Dökümü alınacak reçete bulunamadı."); }
    static const char* JobTitle;  // "Reç.Arkası Dökümü"

private:
    void loadOptions();
    std::unique_ptr<report::Report> build(int listing);  // 0 all, 1 domestic, 2 imported
    bool hasRows(const report::Report& r);

    Session& session_;
    QString institution_, patientType_;
    bool single_ = false;
    QString table_;
    StampedOptions options_;
    bool fontChosen_ = false;
};

}  // namespace selvar
