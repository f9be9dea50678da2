#include "purchasing/alis_logic.h"

#include "companion/companion.h"
#include "core/dates.h"
#include "data/counters.h"
#include "data/database.h"
#include "data/operations.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/retry.h"
#include "platform/session.h"

#include <cmath>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

AlisLogic::AlisLogic(Session& session) : session_(session) {}

void AlisLogic::open(bool isNew, const QString& supplier, double purchaseNo)
{
    mode_ = isNew ? 1 : 0;
    rec_.clear();
    rowId_ = 0;
    oldSupplier_.clear();
    oldAmount_ = 0;
    stored_ = false;
    result_ = 0;
    Database& db = session_.db;
    if (!isNew) {
        rowId_ = findKeyRow(db, u"ALIS1"_s, QString(), {purchaseNo});
        if (rowId_ > 0) {
            rec_ = readRecord(db, u"ALIS1"_s, rowId_);
            oldSupplier_ = text(u"KRMKOD"_s);
            oldAmount_ = number(u"NET"_s);
        }
    }
    if (rowId_ == 0) {
        // A new invoice; a correction whose header is gone is registered as a new one
        // rather than over another purchase.
        mode_ = 1;
        takeSupplierRates(supplier);
        rec_.insert(u"FATARIH"_s, session_.clock.today());
        rec_.insert(u"IRSTARIH"_s, session_.clock.today());
    }
    recompute();
}

QString AlisLogic::caption() const { return mode_ == 0 ? u"Alış Faturası Düzeltme"_s : u"Alış Faturası Kayıt"_s; }

void AlisLogic::takeSupplierRates(const QString& code)
{
    const qint64 row = findKeyRow(session_.db, u"KRMLAR"_s, QString(), {code.trimmed()});
    if (row == 0) return;
    const QVariantMap k = readRecord(session_.db, u"KRMLAR"_s, row);
    rec_.insert(u"KRMKOD"_s, k.value(u"KOD"_s));
    rec_.insert(u"INORAN1"_s, k.value(u"ILACLARDAKURUM"_s).toDouble());
    rec_.insert(u"INORAN3"_s, k.value(u"ILACBERABERKURUM"_s).toDouble());
}

// ---------------------------------------------------------------- lines and totals

QList<PurchaseLineInput> AlisLogic::inputs() const
{
    QList<PurchaseLineInput> r;
    Sql q(session_.db, u"SELECT FIYAT, MIKTAR, MALFAZLASI, TIPISKONTO, M_ISKONTO, KDV, MKDVVARMI FROM ALISTEMP ORDER BY SIRANO"_s);
    q.exec();
    while (q.next())
        r << PurchaseLineInput{q.number(0), int(q.integer(1)), int(q.integer(2)), q.text(3), q.number(4), q.number(5),
                               q.text(6) == u"E"_s};
    return r;
}

QList<PurchaseLineValues> AlisLogic::lineValues() const
{
    QList<PurchaseLineValues> r;
    const double profit = number(u"INORAN1"_s), fixed = number(u"INORAN3"_s);
    for (const PurchaseLineInput& l : inputs()) r << purchaseLineValues(l, profit, fixed);
    return r;
}

QStringList AlisLogic::lineNames() const
{
    QStringList r;
    Sql q(session_.db, u"SELECT URUNAD FROM ALISTEMP ORDER BY SIRANO"_s);
    q.exec();
    while (q.next()) r << q.text(0);
    return r;
}

QString AlisLogic::supplierName() const
{
    const QString code = text(u"KRMKOD"_s).trimmed();
    if (code.isEmpty()) return {};
    return Sql::scalar(session_.db, u"SELECT AD FROM KRMLAR WHERE KOD = :k"_s, {{u"k"_s, code}}).toString().trimmed();
}

void AlisLogic::hesap() { applyTotals(lineValues()); }

void AlisLogic::applyTotals(const QList<PurchaseLineValues>& values)
{
    const PurchaseTotals t = purchaseTotals(values);
    // A correction keeps the totals stored with the invoice unless its lines changed.
    if (mode_ != 1 && number(u"BRUT"_s) == t.brut) return;
    rec_.insert(u"BRUT"_s, t.brut);
    rec_.insert(u"KDVTENZIL"_s, t.vatDeduction);
    rec_.insert(u"INDIR1"_s, t.profit);
    rec_.insert(u"INDIR2"_s, t.freeGoods);
    rec_.insert(u"INDIR3"_s, t.discount);
    rec_.insert(u"MFKDV"_s, t.freeGoodsVat);
    rec_.insert(u"KDVTOP"_s, t.vat);
    double digits = 0;
    const qint64 row = findKeyRow(session_.db, u"KRMLAR"_s, QString(), {text(u"KRMKOD"_s).trimmed()});
    if (row > 0) digits = readRecord(session_.db, u"KRMLAR"_s, row).value(u"FATYUVAR"_s).toDouble();
    rec_.insert(u"NET"_s, roundPurchaseNet(t.net, int(digits)));
}

void AlisLogic::araHesap() { categories_ = purchaseCategoryTotals(inputs(), lineValues()); }

void AlisLogic::recompute()
{
    // Hesap, then AraHesap, over one reading of the list.
    const QList<PurchaseLineInput> in = inputs();
    QList<PurchaseLineValues> values;
    const double profit = number(u"INORAN1"_s), fixed = number(u"INORAN3"_s);
    for (const PurchaseLineInput& l : in) values << purchaseLineValues(l, profit, fixed);
    applyTotals(values);
    categories_ = purchaseCategoryTotals(in, values);
}

double AlisLogic::netBefore() const
{
    return number(u"BRUT"_s) - number(u"KDVTENZIL"_s) - number(u"INDIR1"_s) - number(u"INDIR2"_s);
}

double AlisLogic::subtotal() const { return netBefore() - number(u"INDIR3"_s); }

void AlisLogic::refreshTotals()
{
    const int mode = mode_;
    mode_ = 1;  // overwrite the stored totals from the lines
    recompute();
    mode_ = mode;
}

void AlisLogic::refreshAsked()
{
    if (session_.prompter.ask(u"Beyaz Kutulardaki Toplamlar Hesapları Güncellensin mi?"_s, Buttons::YesNo) == Answer::Yes)
        refreshTotals();
}

// ---------------------------------------------------------------- supplier and rates

bool AlisLogic::supplierLeft(const QString& code)
{
    if (code.trimmed().isEmpty()) return true;
    if (findKeyRow(session_.db, u"KRMLAR"_s, QString(), {code.trimmed()}) == 0) {
        session_.prompter.beep();
        chooseSupplier();
        return false;
    }
    takeSupplierRates(code);
    recompute();
    return true;
}

void AlisLogic::chooseSupplier()
{
    if (!session_.companion) return;
    const QString code = session_.companion->BrKurumCreate(1);
    if (code.isEmpty()) return;
    rec_.insert(u"KRMKOD"_s, code);
    takeSupplierRates(code);
    recompute();
}

void AlisLogic::profitRateTyped(const QString& text)
{
    rec_.insert(u"INORAN1"_s, purchaseRateAsTyped(text));
    recompute();
}

void AlisLogic::fixedDiscountTyped(const QString& text)
{
    rec_.insert(u"INORAN3"_s, purchaseRateAsTyped(text));
    recompute();
}

// ---------------------------------------------------------------- store

AlisLogic::StoreResult AlisLogic::store()
{
    Prompter& ui = session_.prompter;
    if (!field(u"VADE"_s).toDate().isValid()
        && ui.ask(u"Vade Tarihi belirtmediniz.Saklama İşlemine devam Edilsin mi?"_s, Buttons::YesNo) != Answer::Yes)
        return StoreResult::Stopped;
    if (text(u"KRMKOD"_s).trimmed().isEmpty()
        || (text(u"FATNO"_s).trimmed().isEmpty() && text(u"IRSALNO"_s).trimmed().isEmpty())) {
        ui.warning(u"Cari Adı,Fat.No veya Irs No bilgisi verilmeden saklanamaz"_s);
        return StoreResult::Stopped;
    }
    // A profit of 100 % or more makes the wholesaler-price lines divide by zero: no
    // infinite amount is ever written.
    const QList<PurchaseLineValues> values = lineValues();
    bool finite = true;
    for (const PurchaseLineValues& v : values)
        for (double x : {v.vatDeduction, v.profit, v.freeGoods, v.netBefore, v.net, v.unitCost}) finite = finite && std::isfinite(x);
    for (const char* f : {"BRUT", "KDVTENZIL", "INDIR1", "INDIR2", "INDIR3", "MFKDV", "KDVTOP", "NET"})
        finite = finite && std::isfinite(number(QString::fromLatin1(f)));
    if (!finite) {
        ui.warning(QString::fromUtf8(ProfitRateTooHigh));
        return StoreResult::Stopped;
    }
    Database& db = session_.db;
    QVariantMap rec;
    withLockRetry(ui, CounterBusyMessage, [&] {
        rec = rec_;
        Transaction tx(db);
        if (rec.value(u"FATNO"_s).toString().trimmed().isEmpty())
            rec.insert(u"FATNO"_s, u"!!"_s + rec.value(u"IRSALNO"_s).toString());
        if (mode_ == 1) rec.insert(u"ALISNO"_s, takePurchaseNumber(db));
        const double purchaseNo = rec.value(u"ALISNO"_s).toDouble();
        const QString supplier = rec.value(u"KRMKOD"_s).toString().trimmed();
        const double net = rec.value(u"NET"_s).toDouble();
        // The payable: the correction's own movement, or a new one.
        double oldAmount = oldAmount_;
        QVariant movement;
        if (mode_ != 1) {
            Sql h(db, u"SELECT HAREKNO, ALACAK FROM HAREKET WHERE ALSATNO = :n AND ALSAT = 'A' LIMIT 1"_s);
            h.bind(u"n"_s, purchaseNo).exec();
            if (h.next()) {
                movement = h.value(0);
                oldAmount = h.number(1);
            }
        }
        QDate day = rec.value(u"FATARIH"_s).toDate();
        if (!day.isValid()) day = rec.value(u"IRSTARIH"_s).toDate();
        if (!day.isValid()) day = session_.clock.today();
        const QVariant due = rec.value(u"VADE"_s).toDate().isValid() ? rec.value(u"VADE"_s) : QVariant();
        const QVariantMap payable{{u"CARIKOD"_s, supplier}, {u"ALSATNO"_s, purchaseNo}, {u"TUR"_s, u"A"_s},
                                  {u"ALSAT"_s, u"A"_s}, {u"TARIH"_s, day}, {u"ALACAK"_s, net},
                                  {u"BILGI"_s, dateText(day) + u" Tarihli Alım Fat."_s}};
        if (movement.isValid()) {
            QString set = u"CARIKOD = :c, TUR = 'A', ALSAT = 'A', TARIH = :t, ALACAK = :a, BILGI = :b"_s;
            QVariantMap binds{{u"c"_s, supplier}, {u"t"_s, day}, {u"a"_s, net}, {u"b"_s, payable.value(u"BILGI"_s)},
                              {u"h"_s, movement}};
            if (due.isValid()) {
                set += u", VADE = :v"_s;
                binds.insert(u"v"_s, due);
            }
            Sql::run(db, u"UPDATE HAREKET SET "_s + set + u" WHERE HAREKNO = :h"_s, binds);
        } else {
            QVariantMap row = payable;
            row.insert(u"HAREKNO"_s, takeMovementNumber(db));
            row.insert(u"NIHAI"_s, 0);
            if (due.isValid()) row.insert(u"VADE"_s, due);
            insertRecord(db, u"HAREKET"_s, row);
        }
        if (mode_ == 0)
            appendOperationLog(db, session_.clock.now(), withUser(supplier, session_.UserName), u"Alış.Fat.Dzlt."_s,
                               purchaseNo, oldAmount);
        if (mode_ == 1) insertRecord(db, u"ALIS1"_s, rec);
        else updateRecord(db, u"ALIS1"_s, rowId_, rec);
        // Every line's net unit cost, for its stock entry, in one statement rather than one per line.
        {
            QList<qint64> lineNos;
            Sql numbers(db, u"SELECT SIRANO FROM ALISTEMP ORDER BY SIRANO"_s);
            numbers.exec();
            while (numbers.next() && lineNos.size() < values.size()) lineNos << numbers.integer(0);
            // A few hundred lines a statement keeps within every engine's limit of parameters.
            for (int from = 0; from < lineNos.size(); from += 400) {
                QString cases;
                QVariantMap binds;
                for (int i = from; i < lineNos.size() && i < from + 400; ++i) {
                    cases += u" WHEN :s%1 THEN CAST(:g%1 AS DOUBLE PRECISION)"_s.arg(i);
                    binds.insert(u"s%1"_s.arg(i), lineNos[i]);
                    binds.insert(u"g%1"_s.arg(i), values[i].unitCost);
                }
                Sql::run(db, u"UPDATE ALISTEMP SET GER_FIYAT = CASE SIRANO"_s + cases + u" ELSE GER_FIYAT END"_s, binds);
            }
        }
        if (mode_ == 0 && !oldSupplier_.isEmpty()) changeInstitutionCredit(db, oldSupplier_, -oldAmount);
        changeInstitutionCredit(db, supplier, net);
        if (recordLines_) recordLines_(purchaseNo);
        tx.commit();
    });
    rec_ = rec;
    result_ = number(u"ALISNO"_s);
    stored_ = true;
    return StoreResult::Stored;
}

}  // namespace selvar
