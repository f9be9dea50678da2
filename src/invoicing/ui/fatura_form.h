#pragma once
#include "invoicing/fatura_logic.h"

#include <QDialog>
#include <QHash>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace selvar {

// "Fatura Kayıt": the buyer, the invoice's number and date, the sale's lines with their
// calculated fields, the totals with the discount boxes, printing and the credit entry.
class TFaturaForm1 : public QDialog {
    Q_OBJECT
public:
    explicit TFaturaForm1(Session& session, QWidget* parent = nullptr);

    void open(int mode, double saleNo, double invoiceNo);
    FaturaLogic& logic() { return logic_; }
    QLineEdit* box(const QString& field) const { return boxes_.value(field); }
    QPushButton* button(const QString& name) const { return buttons_.value(name); }
    QTableWidget* lineGrid() const { return grid_; }
    QCheckBox* printedTick() const { return printed_; }
    QSpinBox* roundingBox() const { return rounding_; }
    void refresh();  // shows the logic's state

    void store();       // "&Sakla"
    void printInvoice();  // "Fatura &Kes"

protected:
    void reject() override;  // "V&azgeç", Esc, closing

private:
    QLineEdit* addBox(const QString& field, int maxLength);
    QPushButton* addButton(const QString& name, const QString& caption, std::function<void()> run);
    QLayout* createBuyer();
    QLayout* createTotals();
    QLayout* createButtons();
    void guarded(const std::function<void()>& f);
    void takeDiscountBoxes();  // what is typed in them counts before a command

    Session& session_;
    FaturaLogic logic_;
    QHash<QString, QLineEdit*> boxes_;
    QHash<QString, QPushButton*> buttons_;
    QHash<QString, QLabel*> totals_;
    QTableWidget* grid_ = nullptr;
    QCheckBox* printed_ = nullptr;
    QSpinBox* rounding_ = nullptr;
    bool filling_ = false;
};

}  // namespace selvar
