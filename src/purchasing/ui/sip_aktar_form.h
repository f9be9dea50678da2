#pragma once
#include "purchasing/sip_aktar_logic.h"

#include <QAbstractTableModel>
#include <QDialog>

class QLabel;
class QTableView;

namespace selvar {

class Prompter;

// The order list as the transfer dialog shows it.
class OrderRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Name, Price, PriceDate, OrderDate, Ordered, Amount, Vat, Stock, FreeGoods, Type, LineDiscount,
                  FreeGoodsVat, Transfer, ColumnCount };
    explicit OrderRowsModel(SipAktarLogic& logic, QObject* parent = nullptr);
    void reload();
    const QList<OrderRow>& rows() const { return rows_; }
    int rowOf(qint64 rowId) const;
    int rowCount(const QModelIndex& = {}) const override { return int(rows_.size()); }
    int columnCount(const QModelIndex& = {}) const override { return ColumnCount; }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    void post(const OrderRow& row);
    Prompter* prompter = nullptr;

private:
    SipAktarLogic& logic_;
    QList<OrderRow> rows_;
};

// "SİPARİŞ LİSTESİNİ    ALIŞ LİSTESİNE   AKTARMA".
class TSipAktarForm : public QDialog {
    Q_OBJECT
public:
    TSipAktarForm(Session& session, ProductValuesDialog* values, QWidget* parent = nullptr);
    ~TSipAktarForm() override;
    QTableView* grid() const { return grid_; }
    OrderRowsModel* model() const { return model_; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void guarded(const std::function<void()>& f);
    bool gridKey(QKeyEvent* k);
    void changeThroughDialog();
    void deleteTransferred();
    void showSearch();

    Session& session_;
    SipAktarLogic logic_;
    OrderRowsModel* model_ = nullptr;
    QTableView* grid_ = nullptr;
    QLabel* editing_ = nullptr;
    QLabel* search_ = nullptr;
};

}  // namespace selvar
