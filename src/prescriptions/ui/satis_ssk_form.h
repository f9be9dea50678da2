#pragma once
#include "prescriptions/satis_ssk_logic.h"
#include "sales/arajen_logic.h"
#include "sales/ui/counter_form.h"

#include <QAbstractTableModel>
#include <functional>

class QLineEdit;
class QTableView;

namespace selvar {

class Prompter;
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
class TSatisSSKForm : public CounterForm {
    Q_OBJECT
public:
    TSatisSSKForm(Session& session, SskSaleLinks links, TAraJenDlg* search, QWidget* parent = nullptr);
    ~TSatisSSKForm() override;

    void Giris();
    void setValuesDialog(ProductValuesDialog* values) { logic_.setValuesDialog(values); }
    SatisSskLogic& logic() { return logic_; }
    QTableView* lineList() const { return lines_; }
    SskLinesModel* lineModel() const { return lineModel_; }
    QLineEdit* dateBox() const { return dateBox_; }
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
    void leaveBox() override;  // a function key pressed in the date box: the typed date counts

    void createLists();
    void createBoxes();
    void createButtons();
    void layOut();
    void createShortcuts();
    void takeDateBox();
    bool lineKey(QKeyEvent* k);
    int currentLineNo() const;
    void writeEquivalent();  // "Eşdeğerini Yazdır"
    void applyRights();

    SatisSskLogic logic_;
    SskLinesModel* lineModel_ = nullptr;
    QTableView* lines_;
    QLineEdit* dateBox_;
};

}  // namespace selvar
