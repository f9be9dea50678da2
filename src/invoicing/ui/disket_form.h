#pragma once
#include "invoicing/disket_logic.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace selvar {

// "DİSKET HAZIRLAMA": the four tables built when shown, "&Kopyala" to a target directory.
class TDisketForm : public QDialog {
    Q_OBJECT
public:
    TDisketForm(Session& session, QChar group, const QString& code, double invoiceNo, QWidget* parent = nullptr);
    DisketLogic& logic() { return logic_; }
    QLineEdit* targetBox() const { return target_; }
    QPushButton* copyButton() const { return copy_; }
    QLabel* notice() const { return notice_; }
    bool built() const { return built_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    Session& session_;
    DisketLogic logic_;
    QChar group_;
    QString code_;
    double invoiceNo_;
    QLineEdit* target_;
    QPushButton* copy_;
    QLabel* notice_;
    bool built_ = false;
};

}  // namespace selvar
