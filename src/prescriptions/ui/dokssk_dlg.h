#pragma once
#include <QDialog>

class QButtonGroup;
class QPushButton;

namespace selvar {

struct Session;

// Which SSK prescriptions to print, which printout and in which order.
class TDokSSKDlg : public QDialog {
    Q_OBJECT
public:
    explicit TDokSSKDlg(QWidget* parent = nullptr);
    QString choice() const;  // the three digits of the items chosen now
    QButtonGroup* groups() const { return groups_; }
    QButtonGroup* printouts() const { return printouts_; }
    QButtonGroup* orders() const { return orders_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    QButtonGroup* groups_;
    QButtonGroup* printouts_;
    QButtonGroup* orders_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// Shows the dialog; the three-character choice on OK, empty on "Vazgeç".
QString SSKDokumSec(Session& session, QWidget* parent = nullptr);

}  // namespace selvar
