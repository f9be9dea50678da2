#pragma once
#include "invoicing/ssk_invoice_logic.h"
#include "invoicing/ui/ssk_invoice.h"

#include <QDialog>
#include <QHash>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace selvar {

// "SSK TİPİ FATURA DÜZENLEME": the prescriptions of the invoice with their lines, the
// number and date of the invoice, the printouts and their recording, the price check and
// the diskette.
class ThazirFatSSKForm : public QDialog {
    Q_OBJECT
public:
    ThazirFatSSKForm(Session& session, const SskInvoiceLinks& links, QWidget* parent = nullptr);
    void open(const QString& code, double invoiceNo);
    HazirFatSskLogic& logic() { return logic_; }
    QLabel* heading() const { return heading_; }
    QLineEdit* numberBox() const { return number_; }
    QLineEdit* dateBox() const { return date_; }
    QTableWidget* prescriptionGrid() const { return prescriptions_; }
    QTableWidget* lineGrid() const { return lines_; }
    QGroupBox* lineBox() const { return lineBox_; }
    QLabel* total(const QString& caption) const { return totals_.value(caption); }
    QPushButton* button(const QString& caption) const { return buttons_.value(caption); }
    QSpinBox* marginBox() const { return margin_; }
    void reload();

protected:
    void done(int r) override;  // every close saves a changed list font
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    HazirFatSskLogic::Links logicLinks();
    QPushButton* addButton(const QString& caption, std::function<void()> run);
    void showLines();
    void showTotals();
    QString dateBoxText() const;
    void guarded(const std::function<void()>& f);

    Session& session_;
    SskInvoiceLinks links_;
    HazirFatSskLogic logic_;
    QLabel* heading_;
    QLineEdit* number_;
    QLineEdit* date_;
    QTableWidget* prescriptions_;
    QTableWidget* lines_;
    QGroupBox* lineBox_;
    QHash<QString, QLabel*> totals_;
    QHash<QString, QPushButton*> buttons_;
    QSpinBox* margin_;
    QList<QVariantMap> rows_;
};

}  // namespace selvar
