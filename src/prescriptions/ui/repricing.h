#pragma once
// The opening operations of the repricing windows. The back sheets the windows hand a
// sale to (through Session::PrintRequest) come from the program, which connects them.
#include <QDate>
#include <QString>
#include <functional>

class QWidget;

namespace selvar {
struct Session;

struct RepricingBackPrints {
    std::function<void(QWidget* parent)> stamped;  // the stamped back sheet of PrintRequest.saleNo
    std::function<void(QWidget* parent)> defined;  // the defined one
};

// "YENİDEN FİYAT DEĞERLENDİRME" for the prescription of `saleNo`: "Devam" or "Dur".
QString FiyatDegerlendir(Session& session, double saleNo, const RepricingBackPrints& prints, QWidget* parent = nullptr);

// The main window's "Yeniden Değerlendirme" (oldPrices false) and "Esk.Fyt.lı
// Rç.Değerlendirme" (true): the start date, then the window for each sale found.
void YenidenDegerlendir(Session& session, bool oldPrices, const RepricingBackPrints& prints, QWidget* parent = nullptr);

// "Otomatik Reçete Yeniden Değerlendirme": true when closed with OK.
bool OtomatikDegerlendir(Session& session, const QString& institution, int option, const QDate& start,
                         const RepricingBackPrints& prints, QWidget* parent = nullptr);

// The main window's "Otomatik Yeniden Reç.Değerlendirme": the query dialog.
void OtomatikDegerlendirmeSorgusu(Session& session, const RepricingBackPrints& prints, QWidget* parent = nullptr);
}  // namespace selvar
