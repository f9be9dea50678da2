#include "purchasing/sip_aktar_logic.h"

#include "data/database.h"
#include "purchasing/alis_calc.h"
#include "sales/product_picker.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/prompter.h"
#include "platform/session.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
QVariant orEmpty(const QString& s) { return s.isEmpty() ? QVariant() : QVariant(s); }
}  // namespace

SipAktarLogic::SipAktarLogic(Session& session, ProductValuesDialog* values)
    : session_(session), values_(values),
      search_(u"ILACAD"_s, TypeAheadRules{36, true, false, u"iıİ"_s})
{
    list_ = std::make_unique<Table>(session_.db, u"SIPLIST.DB"_s);
    list_->setIndex(u"IAD"_s);
}

SipAktarLogic::~SipAktarLogic() = default;

QList<OrderRow> SipAktarLogic::rows() const
{
    QList<OrderRow> r;
    Table t(session_.db, u"SIPLIST.DB"_s);
    t.setIndex(u"IAD"_s);
    for (bool more = t.first(); more; more = t.next()) {
        OrderRow o;
        o.rowId = t.rowId();
        o.productNo = t.integer(u"ILACNO"_s);
        o.name = t.text(u"ILACAD"_s);
        o.price = t.number(u"FIYAT"_s);
        o.priceDate = t.date(u"FIYATARIH"_s);
        o.orderDate = t.date(u"SIPTARIH"_s);
        o.ordered = t.integer(u"SIPARIS"_s);
        o.amount = t.number(u"FIYAT_1"_s);
        o.vat = t.number(u"KDV"_s);
        o.stock = t.integer(u"MIKTAR"_s);
        o.prescriptionType = t.text(u"RECETEKOD"_s);
        o.freeGoods = int(t.integer(u"MALFAZLA"_s));
        o.discountType = t.text(u"TIPISKON"_s);
        o.freeGoodsVat = t.text(u"MKDVARMI"_s);
        o.lineDiscount = t.number(u"M_ISKONTO"_s);
        o.transfer = t.text(u"AKTARMA"_s);
        r << o;
    }
    return r;
}

void SipAktarLogic::postRow(const OrderRow& o)
{
    Sql::run(session_.db,
             u"UPDATE SIPLIST SET FIYAT = :f, FIYATARIH = :ft, SIPTARIH = :st, SIPARIS = :s, FIYAT_1 = :f1, "
             u"MALFAZLA = :mf, TIPISKON = :t, MKDVARMI = :mk, M_ISKONTO = :mi, AKTARMA = :a WHERE rowid = :r"_s,
             {{u"f"_s, o.price},
              {u"ft"_s, o.priceDate.isValid() ? QVariant(o.priceDate) : QVariant()},
              {u"st"_s, o.orderDate.isValid() ? QVariant(o.orderDate) : QVariant()},
              {u"s"_s, o.ordered},
              {u"f1"_s, double(o.ordered) * o.price},
              {u"mf"_s, o.freeGoods},
              {u"t"_s, orEmpty(o.discountType)},
              {u"mk"_s, orEmpty(o.freeGoodsVat)},
              {u"mi"_s, o.lineDiscount},
              {u"a"_s, orEmpty(o.transfer)},
              {u"r"_s, o.rowId}});
}

bool SipAktarLogic::changeThroughDialog(qint64 rowId)
{
    OrderRow o;
    bool found = false;
    for (const OrderRow& r : rows())
        if (r.rowId == rowId) {
            o = r;
            found = true;
        }
    if (!found || !values_) return false;
    Prompter& ui = session_.prompter;
    ProductValuesRequest req;
    req.productName = o.name;
    req.quantityLabel = u"Sipariş Miktarı"_s;
    req.purchaseMode = true;
    req.color = valuesDialogColor(o.prescriptionType);
    if (req.color.isValid()) ui.beep();
    if (o.freeGoods > 0) req.freeGoodsText = QString::number(o.freeGoods);
    if (o.lineDiscount != 0) req.lineDiscountText = QString::number(o.lineDiscount);
    {
        Transaction tx(session_.db);
        Sql::run(session_.db, u"DELETE FROM FITMP"_s);
        Sql::run(session_.db, u"INSERT INTO FITMP (ILACNO, ELDEMIK, RECKOD, FIYAT, TARIH, SATISMIK, ALISTIP) "
                              u"VALUES (:n, :e, :r, :f, :t, :q, :a)"_s,
                 {{u"n"_s, o.productNo}, {u"e"_s, o.stock}, {u"r"_s, orEmpty(o.prescriptionType)},
                  {u"f"_s, o.price}, {u"t"_s, o.priceDate.isValid() ? QVariant(o.priceDate) : QVariant()},
                  {u"q"_s, o.ordered}, {u"a"_s, orEmpty(o.discountType)}});
        tx.commit();
    }
    const ProductValuesResult r = values_->showModal(req);
    if (!r.ok) return false;
    Sql back(session_.db, u"SELECT FIYAT, TARIH, SATISMIK FROM FITMP LIMIT 1"_s);
    back.exec();
    if (!back.next()) return false;
    o.price = back.number(0);
    o.priceDate = back.date(1);
    o.ordered = back.integer(2);
    QString freeGoods = r.freeGoodsText;
    freeGoods.remove(u' ');
    if (!freeGoods.isEmpty()) o.freeGoods = int(purchaseTypedNumber(freeGoods));
    if (r.discountType >= 0) o.discountType = QString::number(r.discountType);  // none chosen: kept
    o.lineDiscount = purchaseTypeHasLineDiscount(o.discountType) ? purchaseTypedNumber(r.lineDiscountText) : 0;
    o.freeGoodsVat = r.freeGoodsVatChoice <= 0 ? u"E"_s : u"H"_s;
    postRow(o);
    return true;
}

bool SipAktarLogic::deleteTransferred()
{
    if (session_.prompter.ask(DeleteTransferredQuestion) != Answer::Yes) return false;
    Sql::run(session_.db, u"DELETE FROM SIPLIST WHERE (AKTARMA='E') OR (AKTARMA IS NULL)"_s);
    return true;
}

QString SipAktarLogic::transferMark(const QString& key)
{
    return (key == u"H"_s || key == u"h"_s) ? u"H"_s : u"E"_s;
}

qint64 SipAktarLogic::typeSearch(const QString& key)
{
    list_->refresh();
    search_.type(*list_, key);
    return list_->hasRow() ? list_->rowId() : 0;
}

}  // namespace selvar
