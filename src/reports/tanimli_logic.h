#pragma once
// The defined prescription back-print (the window TQTanimRecForm, "Reçete Arkası
// Dökümleri"): up to nine prescription fields and eight product columns laid out per
// institution and patient type in recarka.DB by the companion's "Reçete Tanım".
#include "companion/backprint_layout.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace selvar {

struct Session;

namespace report {
class Report;
}

class TanimliLogic {
public:
    // One prescription sale (saleNo > 0: its RECETE rows are copied into TMPTREC), or the
    // prescriptions the caller put into RECTEMP for the institution and patient type.
    TanimliLogic(Session& session, const QString& titlePrefix, const QString& institution, const QString& patientType,
                 double saleNo = 0);

    bool singleSheet() const { return single_; }
    QString institution() const { return institution_; }
    QString patientType() const { return patientType_; }
    const std::optional<BackPrintLayout>& layout() const { return layout_; }

    QString heading() const { return heading_; }  // prefix + " " + AD + " REÇETE ARKASI DÖKÜMÜ"
    void setHeading(const QString& h) { heading_ = h; }  // "Başlık &Değiştir"
    bool landscape = false;  // "Enine Yazdır"
    bool frames = false;     // "Çerçeveli Çıkış &Ver"
    int gap = 10;            // mm between prescriptions
    QString order = QStringLiteral("D");  // D, R, A, S as in the stamped back-print

    std::unique_ptr<report::Report> build();
    // The layout's data names that are no known field: printed as nothing.
    QStringList unknownDataNames() const;

    void preview();        // "&Reç. Öngörünüm"
    void print();          // "Reç.yi &Yazdır"
    void defineLayout();   // "Reçete &Tanımla": the companion's editor, then the layout again

    static QString noLayoutForPreview() { return QStringLiteral("RECETE TANIMLAyı kullanarak önce rapor tanımlayın"); }
    static QString noLayoutForPrint() { return QStringLiteral("RECETE TANIMı kullanarak önce rapor tanımlayın"); }
    static QString unknownFields(const QStringList& names);
    static const char* JobTitle;  // "Reçete Arkası Dökümü"

private:
    bool ready(const QString& noLayoutText);
    bool hasRows(report::Report& r);

    Session& session_;
    QString institution_, patientType_;
    bool single_ = false;
    QString table_;
    QString heading_;
    std::optional<BackPrintLayout> layout_;
};

// The left edges of the product columns: each starts where the one before it ends, 5
// old screen units (1.32 mm) further when that one has a width.
QList<double> columnLefts(const QList<int>& widthsMm);

}  // namespace selvar
