#pragma once
// The opening operations of the reporting windows that other windows call.
#include "reports/period_logic.h"

class QWidget;

namespace selvar {
struct Session;

// "Tarih Aralığı Belirleyin": the two dates with `prompt` under them; accepted after "&Tamam".
DateRange TarihAraligiAl(Session& session, const QDate& first, const QDate& last, const QString& prompt,
                         QWidget* parent = nullptr);

// "Aylık Rapor" of one product.
void AylikRaporAc(Session& session, qint64 productNo, QWidget* parent = nullptr);

// The hidden "Sifreli": the private password, then "Özel Rapor".
void OzelRaporAc(Session& session, QWidget* parent = nullptr);

// The operation log of a period.
void IsletimAc(Session& session, const QDate& first, const QDate& last, QWidget* parent = nullptr);
}  // namespace selvar
