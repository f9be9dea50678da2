#pragma once
// The ledger windows of the library: the credit entry of a counter sale, which names the
// account the sale goes on, and the list of open movements of a due-date window.
#include "companion/ui/card_dialogs.h"
#include "companion/ledger.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QTableView;

namespace selvar::ortak {

class DateEdit;

// Asks for the account and the due date of a credit entry whose caller named no
// account; the request comes back completed, nothing when cancelled.
class CreditEntryDialog final : public QDialog {
public:
    CreditEntryDialog(CallContext& ctx, const CreditEntryRequest& request, QWidget* parent = nullptr);
    const CreditEntryRequest& request() const { return request_; }

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void chooseInstitution();
    void choosePatient();
    void showAccount();
    void save();

    CallContext& ctx_;
    CreditEntryRequest request_;
    QLineEdit* account_ = nullptr;
    QLabel* accountName_ = nullptr;
    QLineEdit* description_ = nullptr;
    DateEdit* due_ = nullptr;
};

class MovementListDialog final : public QDialog {
public:
    MovementListDialog(CallContext& ctx, const MovementWindow& window, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void reload();
    void showRow(int row);
    void showTotals();
    void toggleSettled();
    void changeDueDate();

    CallContext& ctx_;
    MovementWindow window_;
    ValueModel model_;
    std::vector<Movement> rows_;
    std::vector<QString> names_;
    QTableView* view_ = nullptr;
    QLabel* totals_ = nullptr;
    QLabel* searchLabel_ = nullptr;
    QString search_;
};

}  // namespace selvar::ortak
