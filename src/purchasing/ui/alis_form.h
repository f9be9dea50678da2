#pragma once
#include "purchasing/alis_logic.h"

#include <QDialog>
#include <QHash>
#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace selvar {

// "Alış Faturası Kayıt" / "Alış Faturası Düzeltme": the supplier, the invoice's and the
// delivery note's numbers and dates, the due date, the two rates, the total grid of three
// categories with the stored (and typed) totals, the description and the read-only lines.
class TAlisForm : public QDialog {
    Q_OBJECT
public:
    explicit TAlisForm(Session& session, QWidget* parent = nullptr);

    void open(bool isNew, const QString& supplier, double purchaseNo);
    AlisLogic& logic() { return logic_; }
    QLineEdit* box(const QString& field) const { return boxes_.value(field); }
    QPushButton* button(const QString& name) const { return buttons_.value(name); }
    QTableWidget* lineGrid() const { return lines_; }
    QTableWidget* totalGrid() const { return totals_; }
    void refresh();
    void store();  // "&Sakla"

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QLineEdit* addBox(const QString& field, int maxLength);
    QLineEdit* addDateBox(const QString& field);
    QPushButton* addButton(const QString& name, const QString& caption, std::function<void()> run);
    QLayout* createHeader();
    void createTotalGrid();
    void createLineGrid();
    void guarded(const std::function<void()>& f);
    void takeBox(QLineEdit* box);  // what was typed in a box counts
    void dateLeft(const QString& field);
    void calendar(const QString& field);
    void totalTyped(int row, int column);

    Session& session_;
    AlisLogic logic_;
    QHash<QString, QLineEdit*> boxes_;
    QHash<QString, QPushButton*> buttons_;
    QTableWidget* totals_ = nullptr;
    QTableWidget* lines_ = nullptr;
    QPlainTextEdit* note_ = nullptr;
    bool filling_ = false;
};

}  // namespace selvar
