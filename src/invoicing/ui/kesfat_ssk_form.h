#pragma once
#include "invoicing/kesfat_ssk_logic.h"
#include "invoicing/ui/ssk_invoice.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace selvar {

// "SSK TİPİ KURUM FATURALARI": the invoices issued to the institution, a new one, the
// correction and the deletion of one.
class TKesFatSSKForm : public QDialog {
    Q_OBJECT
public:
    TKesFatSSKForm(Session& session, const QString& code, const SskInvoiceLinks& links, QWidget* parent = nullptr);
    KesFatSskLogic& logic() { return logic_; }
    QTableWidget* grid() const { return grid_; }
    QLabel* heading() const { return heading_; }
    QPushButton* newButton() const { return new_; }
    QPushButton* correctButton() const { return correct_; }
    QPushButton* deleteButton() const { return delete_; }
    void reload();

private:
    KesFatSskLogic::Links logicLinks();
    double currentInvoice() const;  // 0 when the list is empty
    void guarded(const std::function<void()>& f);

    Session& session_;
    SskInvoiceLinks links_;
    KesFatSskLogic logic_;
    QLabel* heading_;
    QTableWidget* grid_;
    QPushButton* new_;
    QPushButton* correct_;
    QPushButton* delete_;
};

}  // namespace selvar
