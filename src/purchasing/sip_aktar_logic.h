#pragma once
// The order transfer dialog (TSipAktarForm): the orders program's list SIPLIST.DB in name
// order, reviewed before the purchase window takes it over. Rows are only changed, never
// added; a row's amount always follows its quantity and price.
#include "platform/type_ahead.h"
#include "sales/product_values.h"

#include <QDate>
#include <QList>
#include <QString>
#include <memory>

namespace selvar {

struct Session;
class Table;

struct OrderRow {
    qint64 rowId = 0;
    qint64 productNo = 0;     // ILACNO
    QString name;             // ILACAD
    double price = 0;         // FIYAT
    QDate priceDate;          // FIYATARIH
    QDate orderDate;          // SIPTARIH
    qint64 ordered = 0;       // SIPARIS
    double amount = 0;        // FIYAT_1
    double vat = 0;           // KDV
    qint64 stock = 0;         // MIKTAR
    QString prescriptionType; // RECETEKOD
    int freeGoods = 0;        // MALFAZLA
    QString discountType;     // TIPISKON
    QString freeGoodsVat;     // MKDVARMI
    double lineDiscount = 0;  // M_ISKONTO
    QString transfer;         // AKTARMA: "H" stays out of the purchase list
};

inline const QString DeleteTransferredQuestion =
    QStringLiteral("Alışa Aktarılmamışlar Dışındaki Siparişler Silinsin mi?");

class SipAktarLogic {
public:
    SipAktarLogic(Session& session, ProductValuesDialog* values);
    ~SipAktarLogic();

    QList<OrderRow> rows() const;  // in name order
    // A row changed in the grid: its amount from quantity and price, then written.
    void postRow(const OrderRow& row);
    // "Fiyat / Sipariş Miktarı Değiştir": the values dialog for the row; true when changed.
    bool changeThroughDialog(qint64 rowId);
    // "Alışa Aktarılmayanlar Dışındakileri Sil": after the question, only rows marked "H" stay.
    bool deleteTransferred();
    // The "Aktar" column: "H"/"h" is "H", any other key "E".
    static QString transferMark(const QString& key);

    // ---- type-ahead on the name; the row id found, 0 when nothing moved
    qint64 typeSearch(const QString& key);
    void clearSearch() { search_.clear(); }
    QString searchText() const { return search_.text(); }

private:
    Session& session_;
    ProductValuesDialog* values_;
    std::unique_ptr<Table> list_;
    TypeAhead search_;
};

}  // namespace selvar
