#pragma once
#include "sales/mik_logic.h"
#include "sales/product_values.h"

#include <QDialog>
#include <QPalette>

class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTableWidgetItem;

namespace selvar {

struct Session;

// "Ürün Değerlerini Belirleme": quantity, price and prescription type of one line, in
// sale mode and with the purchase panel. Created once and shown again for every line.
class TMikDlg : public QDialog, public ProductValuesDialog {
    Q_OBJECT
public:
    explicit TMikDlg(Session& session, QWidget* parent = nullptr);
    ~TMikDlg() override;
    bool sskLine() const { return rules_.ssk; }

    ProductValuesResult showModal(const ProductValuesRequest& request) override;

    MikLogic& logic() { return logic_; }
    QLineEdit* priceBox() const { return price_; }
    QLineEdit* quantityBox() const { return quantity_; }
    QLineEdit* priceDateBox() const { return priceDate_; }
    QLineEdit* stockBox() const { return stock_; }
    QLabel* priceLabel() const { return priceLabel_; }
    QLabel* quantityLabel() const { return quantityLabel_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* historyButton() const { return historyOpen_; }
    QPushButton* historyCloseButton() const { return historyClose_; }
    QTableWidget* historyGrid() const { return grid_; }
    QFrame* purchasePanel() const { return purchase_; }
    QButtonGroup* prescriptionTypes() const { return types_; }
    QButtonGroup* discountTypes() const { return discounts_; }
    QButtonGroup* freeGoodsVat() const { return freeVat_; }
    QLineEdit* lineDiscountBox() const { return lineDiscount_; }
    QLineEdit* freeGoodsBox() const { return freeGoods_; }
    QLineEdit* dailyUseBox() const { return dailyUse_; }  // the SSK dialog only
    QLineEdit* doseBox() const { return dose_; }          // the SSK dialog only
    QGroupBox* typeBox() const { return typeBox_; }

protected:
    // The same dialog with the SSK rules: "&Fiyatı", "Sat. &Miktarı", the daily use and
    // dose boxes, the ten categories of an SSK line under "&REÇETE TİPİ".
    TMikDlg(Session& session, MikRules rules, QWidget* parent);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void done(int r) override;

private:
    bool inside(QObject* o) const;
    bool inGridEditor(QObject* o) const;
    bool keyPressed(QObject* watched, QKeyEvent* k);
    void scannerMark();
    void leaveQuantityBox();
    void leavePriceBox();
    void okPressed();
    void openHistoryList();
    void closeHistoryList();
    void historyItemChanged(QTableWidgetItem* item);
    void takeHistoryRow();
    void showValues();
    void showHistory();
    void showHistoryButtons();
    void showPriceLabel();
    QLayout* createValues();  // name, price, quantity, stock
    void createTypes();       // the twelve prescription types in three columns
    void createPurchasePanel();
    void createHistory();     // the price history
    QLayout* createButtons();
    void guarded(const std::function<void()>& f);

    Session& session_;
    MikRules rules_;
    MikLogic logic_;
    QPalette normalPalette_;
    bool priceEntered_ = false;
    bool fillingGrid_ = false;

    QLabel* productName_;
    QLabel* priceLabel_;
    QLineEdit* price_;
    QLineEdit* priceDate_;
    QLineEdit* stock_;
    QLabel* quantityLabel_;
    QLineEdit* quantity_;
    QLineEdit* dailyUse_ = nullptr;
    QLineEdit* dose_ = nullptr;
    QGroupBox* typeBox_;
    QButtonGroup* types_;
    QFrame* purchase_;
    QLineEdit* lineDiscount_;
    QLineEdit* freeGoods_;
    QButtonGroup* freeVat_;
    QButtonGroup* discounts_;
    QTableWidget* grid_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* help_;
    QPushButton* historyOpen_;
    QPushButton* historyClose_;
};

}  // namespace selvar
