#pragma once
// What the sale window and the SSK counter have in common: the product list with its
// name/barcode/scanner search and keys, the current product's information, the class
// searches (F11, F12, "Ürün Grubu"), the "ESKİ ... DÜZELTME" labels, the buttons and
// labels by name, and the one command boundary. Each counter adds its own list of lines,
// boxes and recording commands.
#include "sales/arajen_logic.h"

#include <QHash>
#include <QWidget>
#include <functional>

class QAbstractItemModel;
class QGridLayout;
class QHBoxLayout;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace selvar {

class ProductListModel;
class ProductPicker;
class TAraJenDlg;
struct Session;

class CounterForm : public QWidget {
    Q_OBJECT
public:
    ~CounterForm() override;

    QTableView* productList() const { return products_; }
    ProductListModel* productModel() const { return productModel_; }
    QPushButton* button(const QString& name) const { return buttons_.value(name); }
    QLabel* label(const QString& name) const { return labels_.value(name); }
    virtual void refresh() = 0;  // shows the logic's state

protected:
    CounterForm(Session& session, TAraJenDlg* search, QWidget* parent);

    // ---- what each counter's logic does
    virtual ProductPicker& picker() = 0;
    virtual void enterInProductList() = 0;  // Enter or a double click in the list
    virtual void scannerMark() = 0;         // F2 in the list
    virtual void productCard(int mode) = 0;  // 0 the current card, 1 a new one
    virtual void stockCard() = 0;
    virtual double recountTotal() = 0;  // on activation: the shared total counted again
    virtual void cancelList() = 0;      // Esc outside the product list
    virtual void closing() = 0;
    virtual void leaveBox() {}  // a function key pressed in a box takes what was typed

    QLabel* addLabel(const QString& name, const QString& text = {});
    QPushButton* addButton(const QString& name, const QString& caption, std::function<void()> run);
    void addKey(const QKeySequence& key, std::function<void()> run);  // a window shortcut
    void guarded(const std::function<void()>& f);
    void command(const std::function<void()>& f);  // runs and shows the new state

    // ---- building
    void createProductList();
    // The counter's own list of lines: cells selected one by one, edited as typed.
    QTableView* createLinesView(const QString& name, QAbstractItemModel* model);
    std::function<void()> refreshLater();  // after a posted cell, once its editor has closed
    // Ctrl+L: the focus to the lines, on `column` of the first line when none is current.
    // Only the focus moves: no command, so the list keeps the line made current.
    void addLinesKey(QTableView* lines, int column);
    QFont createProductLabels();  // the labels of the search and the product; returns the bold font
    void createOldLabels(const QFont& bold);
    void createProductButtons();
    // The product list with its search row on the left, the product's information, an
    // optional widget under it and the product buttons (and `more`) on the right.
    QHBoxLayout* productRow(QWidget* underInfo, const QStringList& more);
    QHBoxLayout* oldRow(const QString& dateCaption, QLineEdit* dateBox);

    // ---- showing
    void openProductList();  // in Giris: the list read (again)
    void showOnTop();        // in Giris: shown, active, the product list in focus
    void showSearchState();  // the list's current row, the product and the search texts
    virtual void showProductInfo();
    void showOldLabels(bool shown, const QString& date, const QString& number);

    bool eventFilter(QObject* o, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool event(QEvent* e) override;

    Session& session_;
    TAraJenDlg* search_;
    std::function<QString(const QString&)> discountTypeLabel_;  // set: the purchase window's columns
    ProductListModel* productModel_ = nullptr;
    QTableView* products_ = nullptr;
    QHash<QString, QPushButton*> buttons_;
    QHash<QString, QLabel*> labels_;

private:
    bool productKey(QKeyEvent* k);
    void searchByClass(AraJenLogic::Kind kind);

    bool syncing_ = false;
};

}  // namespace selvar
