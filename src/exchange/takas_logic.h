#pragma once
// Exchanges with other pharmacies (the window TFormTakas, "Takas Kayıt", and its query
// list): a row of TAKAS.DB with, for the two directions that move stock, its product
// movement and the stock, written together; the list of a period, pharmacy and direction
// with its totals; the price update of open given exchanges.
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace selvar {

struct Session;
class Canvas;

// "A" received, "U" given, "E" received into stock, "V" given from stock.
bool movesStock(const QString& type);
QString exchangeTypeText(const QString& type, int where);  // 0 grids, 1 search window, 2 printout

struct Exchange {
    qint64 no = 0;  // 0 for a new row
    QString pharmacy, product;
    std::optional<int> quantity;
    std::optional<double> amount;
    QString type = QStringLiteral("A");
    QDate date;
    QString state;  // SONDURUM
};

struct ExchangeProduct {
    qint64 no = 0;
    double price = 0, stock = 0;
    bool found() const { return no != 0; }
};

struct ExchangeQuery {
    QString from, to;  // as typed, empty when blank
    QString pharmacy;
    int type = 2;      // 0 received, 1 given, 2 both
};

struct ExchangeListRow {
    QString pharmacy, product, type;
    QDate date;
    int quantity = 0;
    double amount = 0;
};

struct ExchangeTotals {
    double receivedQuantity = 0, receivedAmount = 0, givenQuantity = 0, givenAmount = 0;
    QString received() const;    // "5Adet Ürün 25.000 TL"
    QString given() const;       // "5 Adet Ürün 20.000 TL"
    QString difference() const;  // "  -----", "5.000 TL Borçluyuz.", "5.000 TL Alacaklıyız."
};

struct PriceUpdateRow {
    qint64 no = 0;
    QString pharmacy, product;
    double unitAmount = 0, price = 0, newAmount = 0, difference = 0;
    int quantity = 0;
};

class TakasLogic {
public:
    explicit TakasLogic(Session& session);

    ExchangeProduct productByName(const QString& name) const;
    std::optional<Exchange> read(qint64 no) const;
    qint64 lastNo() const;  // 0 on an empty table

    // "Kayıt Sakla" and every other way of leaving an edit: the check, then the row, its
    // movement and the stock in one transaction. False (after the message) when refused.
    bool store(Exchange& e);
    // Ctrl+Delete after "Silinsin mi?": the stock given back, the movement and the row gone.
    void remove(qint64 no);

    // The query list.
    struct List {
        QString caption;
        QList<ExchangeListRow> rows;
        ExchangeTotals totals;
    };
    // nullopt after "Verilen Sınırlara dahil Takas Yapılmamış".
    std::optional<List> query(const ExchangeQuery& q, const QString& order = QStringLiteral("ORDER BY TARIH DESC"));
    static QStringList orderChoices();  // "Sıralama Kriteri"
    static QStringList orderClauses();
    void drawList(Canvas& canvas, const List& list, int marginCm) const;

    // The price update.
    QList<PriceUpdateRow> priceUpdates() const;
    void updateAll();
    void updateOne(qint64 no, double amount);

    // The distinct pharmacy names in Turkish alphabetical order.
    QStringList pharmacies() const;

private:
    Session& session_;
};

}  // namespace selvar
