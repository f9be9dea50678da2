#pragma once
#include "prescriptions/satis_ssk_logic.h"
#include "sales/arajen_logic.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QTableView;
class QPushButton;

namespace selvar {

class Prompter;
class ProductListModel;
class TAraJenDlg;

// The SSK working list as the grid shows it.
class SskLinesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { No, Given, Prescribed, Equivalence, DailyUse, Dose, Quantity, Price, ColumnCount };
    explicit SskLinesModel(SatisSskLogic& logic, QObject* parent = nullptr);
    void reload();
    const QList<SskLine>& lines() const { return lines_; }
    int rowCount(const QModelIndex& = {}) const override { return int(lines_.size()); }
    int columnCount(const QModelIndex& = {}) const override { return ColumnCount; }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Prompter* prompter = nullptr;     // where a failed post is shown
    std::function<void()> onChanged;  // a line was posted from the grid

private:
    SatisSskLogic& logic_;
    QList<SskLine> lines_;
};

// "SSK REÇETELERİ İÇİN SATIŞ İŞLEMLERİ": the SSK counter. Created once at start-up and
// shown by Giris.
class TSatisSSKForm : public QWidget {
    Q_OBJECT
public:
    TSatisSSKForm(Session& session, SskSaleLinks links, TAraJenDlg* search, QWidget* parent = nullptr);
    ~TSatisSSKForm() override;

    void Giris();
    void setValuesDialog(ProductValuesDialog* values) { logic_.setValuesDialog(values); }
    SatisSskLogic& logic() { return logic_; }
    QTableView* productList() const { return products_; }
    QTableView* lineList() const { return lines_; }
    ProductListModel* productModel() const { return productModel_; }
    SskLinesModel* lineModel() const { return lineModel_; }
    QPushButton* button(const QString& name) const { return buttons_.value(name); }
    QLabel* label(const QString& name) const { return labels_.value(name); }
    QLineEdit* dateBox() const { return dateBox_; }
    void refresh();  // shows the logic's state

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool event(QEvent* e) override;

private:
    QLabel* addLabel(const QString& name, const QString& text = {});
    QPushButton* addButton(const QString& name, const QString& caption, std::function<void()> run);
    void createLists();
    void createBoxes();
    void createButtons();
    void layOut();
    void createShortcuts();
    void guarded(const std::function<void()>& f);
    void command(const std::function<void()>& f);  // runs and shows the new state
    void takeDateBox();
    void leaveBox();  // a function key pressed in the date box: the typed date counts
    bool productKey(QKeyEvent* k);
    bool lineKey(QKeyEvent* k);
    int currentLineNo() const;
    void writeEquivalent();  // "Eşdeğerini Yazdır"
    void searchByClass(AraJenLogic::Kind kind);
    void showProductInfo();
    void applyRights();

    Session& session_;
    SatisSskLogic logic_;
    TAraJenDlg* search_;
    ProductListModel* productModel_ = nullptr;
    SskLinesModel* lineModel_ = nullptr;
    QTableView* products_;
    QTableView* lines_;
    QLineEdit* dateBox_;
    QHash<QString, QPushButton*> buttons_;
    QHash<QString, QLabel*> labels_;
    bool syncing_ = false;
};

}  // namespace selvar
