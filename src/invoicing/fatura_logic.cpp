#include "invoicing/fatura_logic.h"

#include "companion/companion.h"
#include "core/dates.h"
#include "core/format.h"
#include "data/counters.h"
#include "data/database.h"
#include "data/dialect.h"
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

FaturaLogic::FaturaLogic(Session& session) : session_(session) {}

void FaturaLogic::open(int mode, double saleNo, double invoiceNo)
{
    mode_ = mode;
    saleNo_ = saleNo;
    rowId_ = 0;
    rec_.clear();
    oldNet_ = 0;
    creditEntryNo_ = 0;
    stored_ = false;
    result_ = 0;
    Database& db = session_.db;
    if (mode_ == 0) {
        rowId_ = findKeyRow(db, u"FATURA"_s, QString(), {invoiceNo});
        if (rowId_ > 0) {
            rec_ = readRecord(db, u"FATURA"_s, rowId_);
            oldNet_ = number(u"NET"_s);
        }
    }
    if (rowId_ == 0) {
        // A new invoice; a correction whose row is gone starts one too rather than
        // writing over another invoice.
        mode_ = 1;
        rec_.insert(u"FATARIH"_s, session_.clock.today());
        rec_.insert(u"INORAN2"_s, 0.0);
    }
    computeTotals();
}

void FaturaLogic::setField(const QString& name, const QVariant& value) { rec_.insert(name, value); }

double FaturaLogic::subtotal() const { return number(u"BRUT"_s) - number(u"TENZIL1"_s) - number(u"TENZIL2"_s); }

// ---------------------------------------------------------------- lines and totals

QList<InvoiceLine> FaturaLogic::lines() const
{
    QList<InvoiceLine> out;
    const double rate = number(u"INORAN2"_s);
    Sql q(session_.db, u"SELECT SIRANO, URUNAD, URUNO, FIYAT, MIKTAR, RECKOD, KDV FROM SATEMP ORDER BY SIRANO"_s);
    q.exec();
    while (q.next()) {
        InvoiceLine l;
        l.no = int(q.integer(0));
        l.name = q.text(1);
        l.productNo = q.integer(2);
        l.price = q.number(3);
        l.quantity = int(q.integer(4));
        l.type = q.text(5);
        l.vat = q.number(6);
        l.amount = l.quantity * l.price;
        l.vatIn = l.amount * l.vat / (l.vat + 100);
        l.discount = (l.amount - l.vatIn) * rate * 0.01;
        l.subtotal = l.amount - l.vatIn - l.discount;
        l.vatAfter = l.subtotal * l.vat * 0.01;
        l.net = l.subtotal + l.vatAfter;
        out << l;
    }
    return out;
}

void FaturaLogic::computeTotals()
{
    // TopHesap: the sums of the lines.
    double brut = 0, vatIn = 0, discount = 0, vatAfter = 0, net = 0;
    const QList<InvoiceLine> items = lines();
    for (const InvoiceLine& l : items) {
        brut += l.amount;
        vatIn += l.vatIn;
        discount += l.discount;
        vatAfter += l.vatAfter;
        net += l.net;
    }
    rec_.insert(u"BRUT"_s, brut);
    rec_.insert(u"TENZIL1"_s, vatIn);
    rec_.insert(u"TENZIL2"_s, discount);
    rec_.insert(u"TOPKDV"_s, vatAfter);
    rec_.insert(u"NET"_s, net);
    // KDVhesap: the VAT after discount by the three rates; a rate that is none of them
    // counts in no sum, and TOPKDV becomes the three sums.
    double sums[3] = {0, 0, 0};
    Sql k(session_.db, u"SELECT KDV1, KDV2, KDV3 FROM KDV LIMIT 1"_s);
    k.exec();
    if (k.next()) {
        const double rates[3] = {k.number(0), k.number(1), k.number(2)};
        for (const InvoiceLine& l : items)
            for (int i = 0; i < 3; ++i)
                if (l.vat == rates[i]) {
                    sums[i] += l.vatAfter;
                    break;
                }
    }
    rec_.insert(u"KDV1"_s, sums[0]);
    rec_.insert(u"KDV2"_s, sums[1]);
    rec_.insert(u"KDV3"_s, sums[2]);
    rec_.insert(u"TOPKDV"_s, sums[0] + sums[1] + sums[2]);
}

double FaturaLogic::percentAsTyped(double value)
{
    if (value <= 99.99) return value;
    // Typed without its decimal point: 1250 is 12.50, 150 is 1.50, 12500 is 12.500.
    int digits = int(QString::asprintf("%4.0f", value).size()) - 2;
    if (digits == 0) digits = 1;
    return value / std::pow(10.0, digits);
}

void FaturaLogic::discountPercentLeft(const QString& typed)
{
    double v = 0;
    if (!typed.trimmed().isEmpty() && parseNumber(typed.trimmed(), &v)) rec_.insert(u"INORAN2"_s, percentAsTyped(v));
    computeTotals();
}

void FaturaLogic::discountAmountLeft(const QString& typed)
{
    double v = 0;
    if (!typed.trimmed().isEmpty() && parseNumber(typed.trimmed(), &v)) {
        // Without a gross (an empty list) there is nothing to take a share of.
        const double brut = number(u"BRUT"_s);
        rec_.insert(u"INORAN2"_s, brut != 0 ? v / brut * 100 : 0.0);
    }
    computeTotals();  // the amount becomes the sum of the line discounts
}

// ---------------------------------------------------------------- the buyer

bool FaturaLogic::takeInstitution(const QString& code)
{
    const qint64 row = findKeyRow(session_.db, u"KRMLAR"_s, QString(), {code.trimmed()});
    if (row == 0) return false;
    const QVariantMap k = readRecord(session_.db, u"KRMLAR"_s, row);
    rec_.insert(u"KRMKOD"_s, k.value(u"KOD"_s));
    rec_.insert(u"KRMAD"_s, k.value(u"AD"_s));
    for (const char* f : {"ADR1", "ADR2", "ADR3", "VERGIDAIRE", "VERGINO"})
        rec_.insert(QString::fromLatin1(f), k.value(QString::fromLatin1(f)));
    return true;
}

bool FaturaLogic::chooseInstitution()
{
    if (!session_.companion) return false;
    const QString code = session_.companion->BrKurumCreate(1);
    if (code.isEmpty()) return false;
    rec_.insert(u"KRMKOD"_s, code);
    return takeInstitution(code);
}

bool FaturaLogic::choosePatient()
{
    if (!session_.companion) return false;
    const qint64 no = session_.companion->BrHastaCreate(1);
    if (no <= 0) return false;
    // The card number is the row's identity (AutoInc).
    const QVariantMap card = readRecord(session_.db, u"HASTA"_s, no);
    if (card.isEmpty()) return false;
    rec_.insert(u"KRMKOD"_s, QString::number(no));
    rec_.insert(u"KRMAD"_s, card.value(u"HASTADI"_s).toString().trimmed() + u' ' + card.value(u"HASTASOYAD"_s).toString().trimmed());
    rec_.insert(u"ADR1"_s, card.value(u"ADRES1"_s));
    rec_.insert(u"ADR2"_s, card.value(u"ADRES2"_s));
    rec_.insert(u"ADR3"_s, card.value(u"ADRES3"_s));
    return true;
}

// ---------------------------------------------------------------- store, credit, leave

FaturaLogic::StoreResult FaturaLogic::store()
{
    Prompter& ui = session_.prompter;
    if (text(u"KRMAD"_s).trimmed().isEmpty() || text(u"FATURANO"_s).trimmed().isEmpty()) {
        ui.warning(u"Lütfen Fatura Bilgilerini Tam  Verin"_s);
        return StoreResult::Stopped;
    }
    Database& db = session_.db;
    QVariantMap rec;
    // Counters, the credit entry's sale number, the row, the log and the sale's lines
    // land together or not at all.
    withLockRetry(ui, CounterBusyMessage, [&] {
        rec = rec_;
        Transaction tx(db);
        if (mode_ == 1) {
            rec.insert(u"FATNO"_s, takeInvoiceNumber(db));
            // An old sale being invoiced keeps its number; the sale counter does not move.
            rec.insert(u"SATISNO"_s, saleNo_ != 0 ? saleNo_ : takeSaleNumber(db));
            if (creditEntryNo_ != 0)
                Sql::run(db, u"UPDATE HAREKET SET ALSATNO = :n WHERE HAREKNO = :h"_s,
                         {{u"n"_s, rec.value(u"SATISNO"_s)}, {u"h"_s, creditEntryNo_}});
        }
        const double saleNo = rec.value(u"SATISNO"_s).toDouble();
        if (mode_ == 1) insertRecord(db, u"FATURA"_s, rec);
        else updateRecord(db, u"FATURA"_s, rowId_, rec);
        if (mode_ == 0)
            appendOperationLog(db, session_.clock.now(), text(u"KRMAD"_s).trimmed(), u"Prk.Fat.Düzelt"_s, saleNo, oldNet_);
        if (recordLines_) recordLines_(saleNo);
        tx.commit();
    });
    rec_ = rec;
    result_ = number(u"SATISNO"_s);
    stored_ = true;
    return StoreResult::Stored;
}

QString FaturaLogic::description() const
{
    const QString day = dateText(field(u"FATARIH"_s).toDate());
    return creditEntryNo_ != 0 ? day + u"Tarihli Faturalı Satışın"_s : day + u" Tarihli Faturalı Satışın"_s;
}

void FaturaLogic::creditEntry()
{
    const QString code = text(u"KRMKOD"_s).trimmed();
    if (code.isEmpty() || !session_.companion) return;
    Database& db = session_.db;
    const bool card = isPatientAccount(code) ? !readRecord(db, u"HASTA"_s, code.toLongLong()).isEmpty()
                                              : findKeyRow(db, u"KRMLAR"_s, QString(), {code}) > 0;
    if (!card) {
        session_.prompter.warning(text(u"KRMAD"_s).trimmed() + u" Cari Adının Kartlarda Kaydı Yok."_s);
        session_.prompter.warning(u"Veresiye İşlemi için Önce Cari Kodunu Cari Kartına Karşılklıklar Önlemek için "
                                  u"Kaydetmeniz Gerekir."_s);
        return;
    }
    Companion& c = *session_.companion;
    const QDate day = field(u"FATARIH"_s).toDate();
    const QString name = text(u"KRMAD"_s).trimmed();
    const double net = number(u"NET"_s), sale = number(u"SATISNO"_s);
    if (creditEntryNo_ != 0) c.VeresiyeAc(name, description(), 0, day, creditEntryNo_, net, 0, code);
    else if (mode_ == 1) creditEntryNo_ = c.VeresiyeAc(name, description(), 1, day, sale, net, 0, code);
    else c.VeresiyeAc(name, description(), 3, day, sale, net, 0, code);
}

void FaturaLogic::closing()
{
    if (stored_ || creditEntryNo_ == 0) return;
    removeCreditEntry(session_.db, creditEntryNo_);
    creditEntryNo_ = 0;
}

}  // namespace selvar
