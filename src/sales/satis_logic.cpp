#include "sales/satis_logic.h"

#include "companion/companion.h"
#include "core/dates.h"
#include "core/format.h"
#include "core/turkish.h"
#include "data/codes.h"
#include "data/counters.h"
#include "data/database.h"
#include "data/operations.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/retry.h"
#include "platform/session.h"
#include "sales/sale_record.h"
#include "sales/sold_boxes.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

SatisLogic::SatisLogic(Session& session, ProductValuesDialog* values, SaleWindowLinks links)
    : session_(session), values_(values), links_(std::move(links)), picker_(session)
{
}

SatisLogic::~SatisLogic() = default;

void SatisLogic::Giris()
{
    picker_.open();
    creditEntryNo_ = 0;
    oldSaleNo_ = 0;
    correctionCreditNo_ = 0;
    total_ = 0;
    recomputeTotal();
}

void SatisLogic::closing()
{
    if (saleMode_ != SaleMode::New) {
        creditEntryNo_ = 0;
        correctionCreditNo_ = 0;
        oldSaleNo_ = 0;
        endCorrection();
    } else if (lineCount() > 0 || creditEntryNo_ != 0) {
        emptyWorkingList();
    }
    picker_.close();
}

// ---------------------------------------------------------------- adding a product

QString SatisLogic::addCurrent()
{
    Table& p = products();
    if (!p.hasRow()) return {};
    // A box read from its DataMatrix goes into a sale once.
    const std::optional<Gs1Box> box = picker_.scannedBox();
    if (boxRefused(session_.db, session_.prompter, BoxList::Sale, p.integer(u"ILACNO"_s), box)) return {};
    ProductValuesRequest req = picker_.warnAndRequest();
    req.quantityLabel = u"Satılacak Mik&tar"_s;
    dialogColor_ = req.color;
    Prompter& ui = session_.prompter;
    const QString type = p.text(u"RECETEKOD"_s);
    const qint64 productNo = p.integer(u"ILACNO"_s);
    double price = p.number(u"FIYAT"_s);
    QDate priceDate = p.date(u"FIYATARIH"_s);
    if (!maskedDateIsBlank(dateBox_)) {
        const DateInput d = parseDateText(dateBox_);
        if (d.isValid()) req.prescriptionDate = d.date;
    }
    if (saleMode_ != SaleMode::New) {
        req.showOldPriceList = true;
        // The price valid when the old sale was made: the history row before the
        // nearest one at the sale's moment.
        Table history(session_.db, u"URFAYAR.DB"_s);
        history.setIndex(u"ILACTRH"_s);
        history.setRange({productNo}, {productNo});
        if (!history.isEmpty()) {
            if (history.findNearest({productNo, oldSaleDate_}) && history.prior()) {
                price = history.number(u"FIYAT"_s);
                priceDate = history.date(u"FITARIH"_s);
            }
            ui.beep();
        }
    }
    {
        Transaction tx(session_.db);
        Sql::run(session_.db, u"DELETE FROM FITMP"_s);
        Sql::run(session_.db, u"INSERT INTO FITMP (ILACNO, ELDEMIK, RECKOD, FIYAT, TARIH, SATISMIK) "
                              u"VALUES (:n, :e, :r, :f, :t, 1)"_s,
                 {{u"n"_s, productNo}, {u"e"_s, p.integer(u"MIKTAR"_s)},
                  {u"r"_s, type.isEmpty() ? QVariant() : QVariant(type)}, {u"f"_s, price}, {u"t"_s, priceDate}});
        tx.commit();
    }
    if (!values_) return {};
    const ProductValuesResult r = values_->showModal(req);
    if (!r.ok) return {};
    Sql back(session_.db, u"SELECT FIYAT, SATISMIK, RECKOD FROM FITMP LIMIT 1"_s);
    back.exec();
    if (back.next()) {
        const double linePrice = back.number(0);
        qint64 quantity = back.integer(1);
        const QList<Gs1Box> boxes = admitBoxes(session_.db, ui, BoxList::Sale, productNo, box, r.boxes, quantity);
        if (addLine(req.productName, productNo, p.number(u"KDV"_s), linePrice, int(quantity), back.text(2))) {
            // Only the workstation's own list: no transaction that would wait for others.
            for (const Gs1Box& b : boxes) keepBox(session_.db, BoxList::Sale, productNo, b);
        } else {
            ui.beep();
        }
    }
    p.refresh();
    if (!r.scanBuffer.isEmpty() && r.scanBuffer != req.barcode) return r.scanBuffer;
    return {};
}

bool SatisLogic::addLine(const QString& name, qint64 productNo, double vat, double price, int quantity,
                         const QString& type)
{
    if (quantity <= 0) return false;  // a line of no quantity is dropped
    Transaction tx(session_.db);
    const QVariant same = Sql::scalar(session_.db, u"SELECT SIRANO FROM SATEMP WHERE URUNAD = :a AND FIYAT = :f LIMIT 1"_s,
                                      {{u"a"_s, name}, {u"f"_s, price}});
    if (!same.isNull()) {
        Sql::run(session_.db, u"UPDATE SATEMP SET MIKTAR = MIKTAR + :m WHERE SIRANO = :s"_s,
                 {{u"m"_s, quantity}, {u"s"_s, same}});
    } else {
        Sql::run(session_.db, u"INSERT INTO SATEMP (SIRANO, URUNAD, MIKTAR, FIYAT, URUNO, RECKOD, KDV) "
                              u"VALUES (:s, :a, :m, :f, :u, :r, :k)"_s,
                 {{u"s"_s, lineCount() + 1}, {u"a"_s, name.left(36)}, {u"m"_s, quantity}, {u"f"_s, price},
                  {u"u"_s, productNo}, {u"r"_s, type.isEmpty() ? u"N"_s : type}, {u"k"_s, vat}});
    }
    tx.commit();
    recomputeTotal();
    return true;
}

QList<SaleLine> SatisLogic::lines() const { return workingSaleLines(session_.db); }

int SatisLogic::lineCount() const { return Sql::scalar(session_.db, u"SELECT COUNT(*) FROM SATEMP"_s).toInt(); }

void SatisLogic::editLine(int no, int quantity, double price, const QString& prescriptionType)
{
    if (quantity <= 0) {
        session_.prompter.beep();
        removeLine(no);
        return;
    }
    Sql::run(session_.db, u"UPDATE SATEMP SET MIKTAR = :m, FIYAT = :f, RECKOD = :r WHERE SIRANO = :s"_s,
             {{u"m"_s, quantity}, {u"f"_s, price}, {u"r"_s, prescriptionType.isEmpty() ? u"N"_s : prescriptionType},
              {u"s"_s, no}});
    recomputeTotal();
}

void SatisLogic::renumberFrom(int no)
{
    // Through negative numbers, so the unique line numbers never collide on the way.
    Sql::run(session_.db, u"UPDATE SATEMP SET SIRANO = -(SIRANO - 1) WHERE SIRANO > :s"_s, {{u"s"_s, no}});
    Sql::run(session_.db, u"UPDATE SATEMP SET SIRANO = -SIRANO WHERE SIRANO < 0"_s);
}

void SatisLogic::removeLine(int no)
{
    if (lineCount() == 0) return;
    Transaction tx(session_.db);
    if (Sql::run(session_.db, u"DELETE FROM SATEMP WHERE SIRANO = :s"_s, {{u"s"_s, no}}) > 0) renumberFrom(no);
    dropBoxesWithoutLine(session_.db, BoxList::Sale);
    tx.commit();
    recomputeTotal();
}

void SatisLogic::storeTotal()
{
    if (Sql::run(session_.db, u"UPDATE TOPFIY SET FIYAT = :f"_s, {{u"f"_s, total_}}) == 0)
        Sql::run(session_.db, u"INSERT INTO TOPFIY (FIYAT) VALUES (:f)"_s, {{u"f"_s, total_}});
}

void SatisLogic::recomputeTotal()
{
    total_ = Sql::scalar(session_.db, u"SELECT COALESCE(SUM(MIKTAR * FIYAT), 0) FROM SATEMP"_s).toDouble();
    storeTotal();
    paid_ = total_ - discount_;
}

void SatisLogic::discountLeft(double discount)
{
    discount_ = discount;
    paid_ = total_ - discount_;
}

void SatisLogic::paidLeft(double paid)
{
    paid_ = paid;
    discount_ = total_ - paid_;
}

void SatisLogic::dateBoxLeft()
{
    if (maskedDateIsBlank(dateBox_) && parseDateText(dateBox_).isBlank()) return;
    if (!parseDateText(dateBox_).isValid()) {
        dateBox_.clear();
        session_.prompter.beep();
    }
}

// ---------------------------------------------------------------- recording

SaleToWrite SatisLogic::saleToWrite(double number, Correction correction, const QString& kind) const
{
    const bool old = saleMode_ != SaleMode::New;
    SaleToWrite s;
    s.lines = lines();
    s.number = number;
    // An invoice that is also a prescription, and the other way round, is an invoiced prescription.
    s.kind = (correction == Correction::InvoiceAlsoPrescription || correction == Correction::PrescriptionAlsoInvoiced)
                 ? u"E"_s
                 : kind;
    s.when = old ? oldSaleDate_ : session_.clock.now();
    s.oldMode = saleMode_;
    s.correction = correction;
    s.creditEntryNo = creditEntryNo_;
    s.discount = discount_;
    return s;
}

void SatisLogic::afterRecorded()
{
    dateBox_.clear();
    creditEntryNo_ = 0;
    discount_ = paid_ = 0;
    total_ = 0;
    storeTotal();
    if (saleMode_ != SaleMode::New) endCorrection();
    oldSaleNo_ = 0;
    correctionCreditNo_ = 0;
    saleMode_ = SaleMode::New;
    productsChanged();
}

void SatisLogic::perakendeKayit()
{
    if (lineCount() == 0) return;
    dateBox_.clear();
    saleKind_ = u"P"_s;
    QString logText;
    if (saleMode_ != SaleMode::New) {
        QString question;
        switch (correction_) {
        case Correction::Prescription: question = u"Eski Reç. Kaydı Prk.Satışa Dönüştürülsün mü?"_s; break;
        case Correction::Invoice: question = u"Eski Fatura Kaydı Prk.Satışa Dönüştürülsün mü?"_s; break;
        case Correction::InvoicedPrescription: question = u"Eski Faturalı Reçete Kaydı Prk.Satışa Dönüştürülsün mü?"_s; break;
        default: question = u"Eski Prk Satışın Kaydı Düzeltilsin mi?"_s; break;
        }
        if (session_.prompter.ask(question, Buttons::YesNoCancel) != Answer::Yes) return;
        switch (correction_) {
        case Correction::Prescription:
            correction_ = Correction::PrescriptionToRetail;
            logText = u"Reç.,Prk.Sat.Aktarıldı."_s;
            break;
        case Correction::Invoice:
            correction_ = Correction::InvoiceToRetail;
            logText = u"Fat.,Prk.Sat.Aktarıldı."_s;
            break;
        case Correction::InvoicedPrescription:
            correction_ = Correction::InvoicedPrescriptionToRetail;
            logText = u"Faturalı Reç.,Prk.Satışa Aktarıldı."_s;
            break;
        default: logText = u"Esk.Prk.Sat.Dzlt"_s; break;
        }
    }
    const SaleToWrite sale = saleToWrite(saleMode_ != SaleMode::New ? oldSaleNo_ : 0, correction_, saleKind_);
    Database& db = session_.db;
    // One transaction: the counter, the rows, the movements, the stock, the tie of the
    // credit entry, the discount, the clean-up and the emptied list land together or not at all.
    withLockRetry(session_.prompter, CounterBusyMessage, [&] {
        Transaction tx(db);
        if (!logText.isEmpty())
            appendOperationLog(db, session_.clock.now(), withUser(logText, session_.UserName), u"Prk.Sat.Dzlt"_s,
                               oldSaleNo_, oldSaleTotal_);
        writeSale(db, sale);
        tx.commit();
    });
    if (!logText.isEmpty()) oldSaleTotal_ = 0;
    afterRecorded();
}

double SatisLogic::registerWithLines(const std::function<double(const LinesRecorder&)>& open, Correction correction,
                                     const QString& kind)
{
    // The registration window stores its document and, in the same transaction, the
    // lines under the number it took: both land or neither.
    bool written = false;
    const LinesRecorder recordLines = [&](double number) {
        writeSale(session_.db, saleToWrite(number, correction, kind));
        written = true;
    };
    const double number = open(recordLines);
    if (number <= 0) return 0;
    correction_ = correction;
    saleKind_ = kind;
    oldSaleNo_ = number;
    if (!written) {
        // A registration window that stored without the lines: they follow in their own
        // transaction, as before that window took them into its own.
        const SaleToWrite sale = saleToWrite(number, correction, kind);
        withLockRetry(session_.prompter, CounterBusyMessage, [&] {
            Transaction tx(session_.db);
            writeSale(session_.db, sale);
            tx.commit();
        });
    }
    afterRecorded();
    return number;
}

void SatisLogic::receteKayit()
{
    if (lineCount() == 0 || !links_.receteKayitAc) return;
    const bool oldPrescription = saleMode_ == SaleMode::OldPrescription || saleMode_ == SaleMode::OldInvoicedPrescription;
    if (saleMode_ != SaleMode::New) {
        QString question;
        switch (correction_) {
        case Correction::Invoice: question = u"Eski Fatura Kaydının ayrıca Reçete Kaydı da Yapılsın mı?"_s; break;
        case Correction::Retail: question = u"Eski Prk.Satış Kaydı Reçeteli Satışa Dönüştürülsün mü?"_s; break;
        case Correction::InvoicedPrescription: question = u"Eski Faturalı Reçete Satış Kaydı Düzeltilsin mi?"_s; break;
        default: question = u"Eski Reçeteli Satış Kaydı Düzeltilsin mi?"_s; break;
        }
        if (session_.prompter.ask(question) != Answer::Yes) return;
    }
    if (creditEntryNo_ != 0
        && session_.prompter.ask(u"Bu İşlemden Önce Perakende Satış Veresiye Kaydı Yapmıştınız.Eğer Reçete Veresiye "
                                 u"Kaydını Reçetede Göstermek İstiyorsanız, Önceden  Yaptığınız Veresiye Kaydı Silinsin mi?"_s)
               == Answer::Yes) {
        removeCreditEntry(creditEntryNo_);
        creditEntryNo_ = 0;
    }
    Correction refined = correction_;
    if (refined == Correction::Invoice) refined = Correction::InvoiceAlsoPrescription;
    if (refined == Correction::Retail) refined = Correction::RetailToPrescription;
    const QString book = oldPrescription ? prescriptionBookNo(session_.db, oldSaleNo_) : QString();
    const int mode = oldPrescription ? 0 : 1;
    const QString date = dateBox_;
    const double saleNo = oldSaleNo_;
    // The conversion is decided only once the prescription was stored.
    const double number = registerWithLines(
        [&](const LinesRecorder& record) { return links_.receteKayitAc(book, mode, date, saleNo, record); },
        oldPrescription ? correction_ : refined, saleMode_ == SaleMode::OldInvoicedPrescription ? u"E"_s : u"R"_s);
    const int request = session_.PrintRequest.choice;
    if (number > 0 && (request == 1 || request == 2) && links_.backPrint) {
        session_.PrintRequest.saleNo = number;
        links_.backPrint(request);
    }
}

void SatisLogic::faturaKayit()
{
    if (lineCount() == 0 || !links_.faturaKayitAc) return;
    const bool oldInvoice = saleMode_ == SaleMode::OldInvoice || saleMode_ == SaleMode::OldInvoicedPrescription;
    if (saleMode_ != SaleMode::New) {
        QString question;
        switch (correction_) {
        case Correction::Prescription: question = u"Eski Reçete Kaydı ayrıca Faturalılaştırılsın mı?"_s; break;
        case Correction::Retail: question = u"Eski Prk.Satış Kaydı Faturalı Satışa Dönüştürülsün mü?"_s; break;
        case Correction::InvoicedPrescription: question = u"Eski Faturalı Reçete Satış Kaydı Düzeltilsin mi?"_s; break;
        default: question = u"Eski Faturalı Satış Kaydı Düzeltilsin mi?"_s; break;
        }
        if (session_.prompter.ask(question) != Answer::Yes) return;
    }
    Correction refined = correction_;
    if (refined == Correction::Prescription) refined = Correction::PrescriptionAlsoInvoiced;
    if (refined == Correction::Retail) refined = Correction::RetailToInvoice;
    const double invoice = oldInvoice ? saleInvoiceNo(session_.db, oldSaleNo_) : 0;
    const int mode = oldInvoice ? 0 : 1;
    const double saleNo = oldSaleNo_;
    registerWithLines([&](const LinesRecorder& record) { return links_.faturaKayitAc(mode, saleNo, invoice, record); },
                      oldInvoice ? correction_ : refined, saleMode_ == SaleMode::OldInvoicedPrescription ? u"E"_s : u"F"_s);
}

void SatisLogic::veresiyeKayit()
{
    if (lineCount() == 0 || !session_.companion) return;
    const QDate today = session_.clock.today();
    Companion& c = *session_.companion;
    if (saleMode_ == SaleMode::New) {
        if (creditEntryNo_ != 0) {
            c.VeresiyeAc(QString(), dateText(today) + u" Prk.Satış"_s, 0, today, creditEntryNo_, total_, 0, QString());
        } else {
            creditEntryNo_ = c.VeresiyeAc(QString(), dateText(today) + u" Tarihli Prk.Satış"_s, 1, today, 0, total_, 0, QString());
        }
    } else if (saleMode_ == SaleMode::OldRetail) {
        correctionCreditNo_ = c.VeresiyeAc(QString(), dateText(today) + u" Prk.Satış"_s, 3, today, oldSaleNo_, total_, 0, QString());
    }
}

void SatisLogic::removeCreditEntry(double entryNo) { selvar::removeCreditEntry(session_.db, entryNo); }

void SatisLogic::emptyWorkingList()
{
    dateBox_.clear();
    discount_ = 0;
    {
        Transaction tx(session_.db);
        Sql::run(session_.db, u"DELETE FROM SATEMP"_s);
        dropWorkingBoxes(session_.db, BoxList::Sale);
        if (saleMode_ == SaleMode::New && creditEntryNo_ != 0) removeCreditEntry(creditEntryNo_);
        tx.commit();
    }
    if (saleMode_ == SaleMode::New) creditEntryNo_ = 0;
    recomputeTotal();
}

void SatisLogic::satisListesiIptali()
{
    if (lineCount() == 0) return;
    if (session_.prompter.ask(u"Satışla ilgili İşlemler İptal Edilsin mi?"_s, Buttons::YesNoCancel) == Answer::Yes)
        emptyWorkingList();
}

void SatisLogic::endCorrection()
{
    saleMode_ = SaleMode::New;
    emptyWorkingList();
    correction_ = Correction::None;
    saleKind_ = u"P"_s;
}

// ---------------------------------------------------------------- old records

void SatisLogic::loadOldSale(double number)
{
    const OldSale old = readOldSale(session_.db, number);
    if (!old.found) return;
    emptyWorkingList();
    oldSaleNo_ = number;
    oldSaleDate_ = old.when;
    {
        Transaction tx(session_.db);
        fillWorkingList(session_.db, old.lines);
        loadBoxes(session_.db, BoxList::Sale, number);
        tx.commit();
    }
    recomputeTotal();
    discountLeft(old.discount);
    if (old.kind == u"E"_s) saleMode_ = SaleMode::OldInvoicedPrescription;
    else if (old.kind == u"F"_s) saleMode_ = SaleMode::OldInvoice;
    else if (old.kind == u"R"_s) saleMode_ = SaleMode::OldPrescription;
    else saleMode_ = SaleMode::OldRetail;
    // The correction starts as the kind of the old sale.
    correction_ = Correction(int(saleMode_));
    saleKind_ = old.kind.isEmpty() ? u"P"_s : old.kind;
    oldSaleTotal_ = total_;
}

void SatisLogic::eskiSatislar()
{
    if (saleMode_ != SaleMode::New) {
        if (saleMode_ == SaleMode::OldRetail && correctionCreditNo_ != 0
            && session_.prompter.ask(u"Vazgeçtiğiniz bu satışa, Veresiye kaydı yaptınız.Bu veresiye geçersizse "
                                     u"düzeltmeniz,için Geriye Dönülsün mü?"_s)
                   == Answer::Yes)
            return;
        correctionCreditNo_ = 0;
        creditEntryNo_ = 0;
        oldSaleNo_ = 0;
        endCorrection();
        return;
    }
    if (!oldSalesAllowed() || !session_.companion || !links_.chooseOldRecordKind) return;
    const QChar choice = links_.chooseOldRecordKind();
    double number = 0;
    if (choice == u'F') number = session_.companion->BrFatRsizCreate(1);
    else if (choice == u'R') number = session_.companion->BrReceteCreate(1);
    else if (choice == u'S') number = session_.companion->BrSatisCreate(1);
    if (number > 0) loadOldSale(number);
}

SaleCaptions SatisLogic::captions() const
{
    SaleCaptions c;
    switch (saleMode_) {
    case SaleMode::OldInvoicedPrescription:
        c.invoice = u"Eski Fatura Kayıt"_s;
        c.prescription = u"Eski Reçete Kayıt"_s;
        c.oldSales = u"Esk.Ftlı.Rç.Dzt.Vazgeç"_s;
        break;
    case SaleMode::OldInvoice:
        c.invoice = u"Eski Fatura Kayıt"_s;
        c.oldSales = u"Esk.Fat.Dzlt.Vazgeç"_s;
        break;
    case SaleMode::OldRetail:
        c.retail = u"Eski Perknd.Kayıt"_s;
        c.oldSales = u"Esk.Prk.Dzlt.Vazgeç"_s;
        break;
    case SaleMode::OldPrescription:
        c.prescription = u"Eski Reçete Kayıt"_s;
        c.oldSales = u"Esk.Rçt.Dzlt.Vazgeç"_s;
        break;
    default: return c;
    }
    c.oldLabelsShown = true;
    c.oldDateLabel = u"("_s + dateTimeText(oldSaleDate_) + u")"_s;
    c.oldNumberLabel = format(u"%0.0f", oldSaleNo_) + u" Nolu ESKİ"_s;
    return c;
}

bool SatisLogic::oldSalesAllowed() const { return session_.OldSalesAllowed; }

bool SatisLogic::productCardAllowed() const
{
    return !(session_.ProductCardRight.isEmpty() || session_.ProductCardRight == u"H"_s);
}

// ---------------------------------------------------------------- other commands

QString SatisLogic::satisTxtPath() const { return QDir(session_.db.filesDir()).absoluteFilePath(u"satis.txt"_s); }

void SatisLogic::writeSaleList()
{
    QFile f(satisTxtPath());
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        session_.prompter.error(u"satis.txt yazılamadı: "_s + f.errorString());
        return;
    }
    QTextStream out(&f);
    out.setEncoding(QStringConverter::Utf8);
    for (const SaleLine& l : lines()) out << format(u"%3d %-36s %2dx%15.0n", l.no, l.name, l.quantity, l.price) << '\n';
    out << ' ' << '\n';
    out << format(u"%3s %36s %18.0n", QString(), u"Toplam :"_s, total_) << '\n';
    out << format(u"%3s %36s %18.0n", QString(), u"İskonto :"_s, discount_) << '\n';
    out << format(u"%3s %36s %18.0n", QString(), u"Net Toplam:"_s, paid_) << '\n';
    f.close();
    if (session_.platform) session_.platform->openWithDefaultProgram(satisTxtPath());
}

void SatisLogic::productCard(int mode)
{
    if (productCardAllowed()) picker_.productCard(mode);
}

void SatisLogic::stockCard()
{
    if (links_.stockCard && currentProductNo() != 0) links_.stockCard(currentProductNo(), currentProductName());
}

}  // namespace selvar
