#pragma once
// The window of the defined prescription back-print, "Reçete Arkası Dökümleri".
#include "reports/tanimli_logic.h"

#include <QDialog>
#include <QHash>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace selvar {

class TQTanimRecForm : public QDialog {
public:
    TQTanimRecForm(Session& session, const QString& titlePrefix, const QString& institution, const QString& patientType,
                   double saleNo, QWidget* parent = nullptr);

    TanimliLogic& logic() { return logic_; }
    QPushButton* button(const QString& name) const { return buttons_.value(name); }
    QLineEdit* headingBox() const { return heading_; }

private:
    void readControls();

    Session& session_;
    TanimliLogic logic_;
    QHash<QString, QPushButton*> buttons_;
    QLineEdit* heading_;
    QButtonGroup* orientation_;
    QButtonGroup* order_;
    QCheckBox* frames_;
    QSpinBox* gap_;
};

}  // namespace selvar
