#pragma once
#include "sales/arajen_logic.h"
#include "sales/satis_logic.h"
#include "sales/ui/counter_form.h"

#include <QAbstractTableModel>
#include <functional>

class QLineEdit;
class QPlainTextEdit;
class QTableView;

namespace selvar {

class Prompter;
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
class TSatisForm : public CounterForm {
    Q_OBJECT
public:
    TSatisForm(Session& session, SaleWindowLinks links, TAraJenDlg* search, QWidget* parent = nullptr);
    ~TSatisForm() override;

    void Giris();
    void setValuesDialog(ProductValuesDialog* values) { logic_.setValuesDialog(values); }
    SatisLogic& logic() { return logic_; }
    QTableView* saleList() const { return lines_; }
    SaleLinesModel* lineModel() const { return lineModel_; }
    QLineEdit* dateBox() const { return dateBox_; }
    QLineEdit* discountBox() const { return discountBox_; }
    QLineEdit* paidBox() const { return paidBox_; }
    void refresh() override;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    ProductPicker& picker() override { return logic_.picker(); }
    void enterInProductList() override { logic_.enterInProductList(); }
    void scannerMark() override { logic_.scannerMark(); }
    void productCard(int mode) override { logic_.productCard(mode); }
    void stockCard() override { logic_.stockCard(); }
    double recountTotal() override;
    void cancelList() override { logic_.satisListesiIptali(); }
    void closing() override;
    void leaveBox() override;  // a function key pressed in a box: what was typed counts
    void showProductInfo() override;

    void createLists();
    void createBoxes();
    void createButtons();
    void layOut();
    void createShortcuts();
    void takeDiscount();
    void takePaid();
    void takeDateBox();
    bool lineKey(QKeyEvent* k);
    void pickPrescriptionType(int row);
    void applyRights();

    SatisLogic logic_;
    SaleLinesModel* lineModel_ = nullptr;
    QTableView* lines_;
    QLineEdit* dateBox_;
    QLineEdit* discountBox_;
    QLineEdit* paidBox_;
    QPlainTextEdit* leaflet_;
};

}  // namespace selvar
