#pragma once
#include "sales/arajen_logic.h"

#include <QDialog>

class QLabel;
class QListWidget;

namespace selvar {

// Search of products by generic, indication or group: created once, shown again and again.
class TAraJenDlg : public QDialog {
    Q_OBJECT
public:
    explicit TAraJenDlg(Database& db, QWidget* parent = nullptr);
    // Shows the products of the class; returns the chosen name, empty for none.
    QString choose(AraJenLogic::Kind kind, qint64 number);
    AraJenLogic& logic() { return logic_; }
    QListWidget* list() const { return list_; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void sync();
    AraJenLogic logic_;
    QLabel* className_;
    QLabel* heading_;
    QLabel* search_;
    QListWidget* list_;
    bool syncing_ = false;
};

}  // namespace selvar
