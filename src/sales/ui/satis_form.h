#pragma once
#include "sales/arajen_logic.h"
#include "sales/satis_logic.h"

#include <QAbstractTableModel>
#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace selvar {

class Prompter;
class ProductListModel;
class TAraJenDlg;

// The working list of the sale as the grid shows it.
class SaleLinesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { No, Name, Quantity, Price, Type, Amount, ColumnCount };
    explicit SaleLinesModel(SatisLogic& logic, QObject* parent = nullptr);
    void reload();
    const QList<SaleLine>& lines() const { return lines_; }
    int rowCount(const QModelIndex& = {}) const override { return int(lines_.size()); }
    int columnCount(const QModelIndex& = {}) const override { return ColumnCount; }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Prompter* prompter = nullptr;  // where a failed edit is shown
    std::function<void()> onChanged;  // a line was posted from the grid

private:
    SatisLogic& logic_;
    QList<SaleLine> lines_;
};

// "SATIŞ İŞLEMLERİ": the counter. Created once at start-up and shown by Giris.
class TSatisForm : public QWidget {
    Q_OBJECT
public:
    TSatisForm(Session& session, SaleWindowLinks links, TAraJenDlg* search, QWidget* parent = nullptr);
    ~TSatisForm() override;

    void Giris();
    void setValuesDialog(ProductValuesDialog* values) { logic_.setValuesDialog(values); }
    SatisLogic& logic() { return logic_; }
    QTableView* productList() const { return products_; }
    QTableView* saleList() const { return lines_; }
    ProductListModel* productModel() const { return productModel_; }
    SaleLinesModel* lineModel() const { return lineModel_; }
    QPushButton* button(const QString& name) const;
    QLabel* label(const QString& name) const;
    QLineEdit* dateBox() const { return dateBox_; }
    QLineEdit* discountBox() const { return discountBox_; }
    QLineEdit* paidBox() const { return paidBox_; }
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
    void focusSaleList();  // Ctrl+L
    void guarded(const std::function<void()>& f);
    void command(const std::function<void()>& f);  // runs and shows the new state
    void takeDiscount();
    void takePaid();
    void takeDateBox();
    void leaveBox();  // a function key pressed in a box: what was typed counts
    bool productKey(QKeyEvent* k);
    bool lineKey(QKeyEvent* k);
    void searchByClass(AraJenLogic::Kind kind);
    void pickPrescriptionType(int row);
    void showProductInfo();
    void applyRights();

    Session& session_;
    SatisLogic logic_;
    TAraJenDlg* search_;
    ProductListModel* productModel_ = nullptr;
    SaleLinesModel* lineModel_ = nullptr;
    QTableView* products_;
    QTableView* lines_;
    QLineEdit* dateBox_;
    QLineEdit* discountBox_;
    QLineEdit* paidBox_;
    QPlainTextEdit* leaflet_;
    QHash<QString, QPushButton*> buttons_;
    QHash<QString, QLabel*> labels_;
    bool syncing_ = false;
};

}  // namespace selvar
