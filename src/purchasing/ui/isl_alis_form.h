#pragma once
#include "purchasing/isl_alis_logic.h"
#include "sales/ui/counter_form.h"

#include <QAbstractTableModel>
#include <functional>

class QTableView;

namespace selvar {

class Prompter;
class TAraJenDlg;

// The purchase list as the grid shows it.
class PurchaseLinesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { No, Name, Quantity, Price, FreeGoods, Type, LineDiscount, FreeGoodsVat, ColumnCount };
    explicit PurchaseLinesModel(IslAlisLogic& logic, QObject* parent = nullptr);
    void reload();
    const QList<PurchaseListLine>& lines() const { return lines_; }
    int rowCount(const QModelIndex& = {}) const override { return int(lines_.size()); }
    int columnCount(const QModelIndex& = {}) const override { return ColumnCount; }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    // Posts a changed line through the logic's rules.
    void post(const PurchaseListLine& line);
    Prompter* prompter = nullptr;
    std::function<void()> onChanged;

private:
    IslAlisLogic& logic_;
    QList<PurchaseListLine> lines_;
};

// "ALIŞ İŞLEMLERİ": the purchase window. Created once at start-up and shown by Giris.
class TIslAlisForm : public CounterForm {
    Q_OBJECT
public:
    TIslAlisForm(Session& session, PurchaseWindowLinks links, TAraJenDlg* search, QWidget* parent = nullptr);
    ~TIslAlisForm() override;

    void Giris();
    void setValuesDialog(ProductValuesDialog* values) { logic_.setValuesDialog(values); }
    IslAlisLogic& logic() { return logic_; }
    QTableView* purchaseList() const { return lines_; }
    PurchaseLinesModel* lineModel() const { return lineModel_; }
    void refresh() override;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    ProductPicker& picker() override { return logic_.picker(); }
    void enterInProductList() override;
    void scannerMark() override;
    void focusAddedLine();  // the quantity of the line the product went into
    void productCard(int mode) override { logic_.productCard(mode); }
    void stockCard() override { logic_.stockCard(); }
    double recountTotal() override;
    void cancelList() override {}
    void closing() override;
    void showProductInfo() override;

    void createButtons();
    void layOut();
    void createShortcuts();
    void createPopupMenu();
    void applyRights();
    bool lineKey(QKeyEvent* k);
    void chooseDiscountType(int row);
    void chooseFreeGoodsVat(int row);

    IslAlisLogic logic_;
    PurchaseWindowLinks links_;
    PurchaseLinesModel* lineModel_ = nullptr;
    QTableView* lines_ = nullptr;
};

// The box colour of a prescription code in the purchase window.
QColor purchasePrescriptionColor(const QString& code);

}  // namespace selvar
