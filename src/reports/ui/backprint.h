#pragma once
// The opening operations of the prescription back-prints. With a sale number in
// Session::PrintRequest they print that sale's prescription (and set the request back to
// 0); otherwise the prescriptions the caller copied into RECTEMP for the institution and
// patient type. Both windows are modal and destroyed on close.
#include <QString>

class QWidget;

namespace selvar {

struct Session;

// The stamped back-print, "Kaşeli Reçete Arkası Dökümü".
void KaseliDokum(Session& session, const QString& institution, const QString& patientType, QWidget* parent = nullptr);

// The defined back-print, "Reçete Arkası Dökümleri"; its heading begins with `titlePrefix`.
void TanimliDokum(Session& session, const QString& titlePrefix, const QString& institution, const QString& patientType,
                  QWidget* parent = nullptr);

}  // namespace selvar
