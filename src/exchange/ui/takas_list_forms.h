#pragma once
// The exchange list of a period, pharmacy and direction with its totals, sorting and
// printout, its query dialog, and the price update of open given exchanges.
#include "exchange/takas_logic.h"
#include "exchange/ui/takas_forms.h"
#include "print/font.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace selvar {

// "Takas Listesi Sorgusu": the query; nothing when left without "Tamam".
class TSorTakasDlg : public QDialog {
    Q_OBJECT
public:
    TSorTakasDlg(Session& session, QWidget* parent = nullptr);
    ExchangeQuery query() const;
    QLineEdit* fromBox() const { return from_; }
    QLineEdit* toBox() const { return to_; }
    QLineEdit* pharmacyBox() const { return pharmacy_; }
    QButtonGroup* types() const { return types_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Session& session_;
    QLineEdit* from_;
    QLineEdit* to_;
    QLineEdit* pharmacy_;
    QButtonGroup* types_;
};
std::optional<ExchangeQuery> TakasSorgu(Session& session, QWidget* parent = nullptr);

// "Takas Listesi": the rows, the totals, "&Sırala ", "Yazıcı" and "Yazı &Fontu".
class TTAKSORForm : public QDialog {
    Q_OBJECT
public:
    TTAKSORForm(Session& session, const ExchangeQuery& query, QWidget* parent = nullptr);
    ~TTAKSORForm() override;
    bool hasRows() const { return list_.has_value(); }
    QTableWidget* grid() const { return grid_; }
    QLabel* total(int which) const { return totals_[which]; }  // 0 received, 1 given, 2 "Toplam"
    void sortBy(int choice);  // "Sıralama Kriteri"
    void print();             // "Yazıcı"
    QLabel* searched() const { return searched_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fill();

    Session& session_;
    TakasLogic logic_;
    ExchangeQuery query_;
    std::optional<TakasLogic::List> list_;
    QTableWidget* grid_;
    QLabel* totals_[3];
    QLabel* searched_;
    // Type-ahead on the pharmacy whatever the order: the names in Turkish order and their rows.
    QStringList sortedNames_;
    QList<int> sortedRows_;
    NameTypeAhead typed_{36};
    QGroupBox* sortBox_;
    QButtonGroup* orders_;
    QSpinBox* margin_;
    FontDef font_;
    int marginCm_ = 1;
    bool fontChanged_ = false;
};
void TakasListesiAc(Session& session, QWidget* parent = nullptr);

// "Takas Fiyatlarının Güncellenmesi".
class TFormTakGun : public QDialog {
    Q_OBJECT
public:
    TFormTakGun(Session& session, QWidget* parent = nullptr);
    bool hasRows() const { return !rows_.isEmpty(); }
    QTableWidget* grid() const { return grid_; }
    void updateAll();      // "Tümünü Güncelle"
    void updateCurrent();  // "İşaretliyi Güncelle"

private:
    void fill();

    Session& session_;
    TakasLogic logic_;
    QList<PriceUpdateRow> rows_;
    QTableWidget* grid_;
};
void TakasGuncelle(Session& session, QWidget* parent = nullptr);

}  // namespace selvar
