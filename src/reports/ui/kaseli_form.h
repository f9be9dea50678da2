#pragma once
// The window of the stamped prescription back-print, "Kaşeli Reçete Arkası Dökümü".
#include "reports/kaseli_logic.h"

#include <QDialog>
#include <QHash>
#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace selvar {

class TQRMDForm : public QDialog {
public:
    TQRMDForm(Session& session, const QString& institution, const QString& patientType, double saleNo, QWidget* parent = nullptr);

    KaseliLogic& logic() { return logic_; }
    QCheckBox* option(const QString& field) const { return checks_.value(field); }
    QPushButton* button(const QString& name) const { return buttons_.value(name); }

protected:
    void done(int result) override;

private:
    void readControls();  // the controls into the logic's options
    void showOptions();

    Session& session_;
    KaseliLogic logic_;
    QHash<QString, QCheckBox*> checks_;
    QHash<QString, QPushButton*> buttons_;
    QButtonGroup* order_;
    QButtonGroup* orientation_;
    QButtonGroup* registerCaption_;
    QSpinBox* columns_;
    QSpinBox* margin_;
    QSpinBox* gap_;
    QSpinBox* paperHeight_;
    QSpinBox* paperWidth_;
    QComboBox* paper_;
    std::array<QLineEdit*, 5> suffixes_{};
};

}  // namespace selvar
