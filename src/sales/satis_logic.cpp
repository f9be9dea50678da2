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

#include <QDir>
#include <QFile>
#include <QTextStream>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
const QString kByName = u"ILACADI"_s;
const QString kByBarcode = u"ILACKODU"_s;
}  // namespace

SatisLogic::SatisLogic(Session& session, ProductValuesDialog* values, SaleWindowLinks links)
    : session_(session), values_(values), links_(std::move(links))
{
}

SatisLogic::~SatisLogic() = default;

void SatisLogic::Giris()
{
    scanStarted_ = scanEnded_ = false;
    nameSearch_.clear();
    barcodeText_.clear();
    mode_ = SearchMode::Keyboard;
    products_ = std::make_unique<Table>(session_.db, u"URUN.DB"_s);
    products_->setIndex(kByName);
    creditEntryNo_ = 0;
    oldSaleNo_ = 0;
    correctionCreditNo_ = 0;
    total_ = 0;
    recomputeTotal();
}

void SatisLogic::closing()
{
    if (saleMode_ != 0) {
        creditEntryNo_ = 0;
        correctionCreditNo_ = 0;
        oldSaleNo_ = 0;
        endCorrection();
    } else if (lineCount() > 0 || creditEntryNo_ != 0) {
        emptyWorkingList();
    }
    products_.reset();
}

// ---------------------------------------------------------------- product list

Table& SatisLogic::products()
{
    if (!products_) Giris();
    return *products_;
}

QString SatisLogic::currentProductName() const { return products_ ? products_->text(u"ILACAD"_s) : QString(); }

qint64 SatisLogic::currentProductNo() const { return products_ && products_->hasRow() ? products_->integer(u"ILACNO"_s) : 0; }

bool SatisLogic::positionByName(const QString& exactName)
{
    products().switchIndex(kByName);
    return products_->findKey({exactName});
}

void SatisLogic::productsChanged()
{
    const qint64 id = products_ ? products_->rowId() : 0;
    products_ = std::make_unique<Table>(session_.db, u"URUN.DB"_s);
    products_->setIndex(kByName);
    if (id) products_->gotoRowId(id);
}

namespace {
QString lookup(Database& db, const QString& sql, qint64 key)
{
    if (key == 0) return {};
    return Sql::scalar(db, sql, {{u"k"_s, key}}).toString();
}
}  // namespace

QString SatisLogic::genericName() const
{
    return products_ ? lookup(session_.db, u"SELECT JENERIKAD FROM JEN WHERE JENERIKNO = :k"_s, products_->integer(u"JENERIKNO"_s)) : QString();
}

QString SatisLogic::groupName() const
{
    return products_ ? lookup(session_.db, u"SELECT GRUPAD FROM GRUP WHERE GRUPNO = :k"_s, products_->integer(u"GRUPNO"_s)) : QString();
}

QString SatisLogic::indicationName() const
{
    return products_ ? lookup(session_.db, u"SELECT ENDIKASYONAD FROM ENDIK WHERE ENDIKNO = :k"_s, products_->integer(u"ENDIKNO"_s))
                     : QString();
}

QString SatisLogic::prescriptionTypeText() const
{
    return products_ ? selvar::prescriptionTypeText(products_->text(u"RECETEKOD"_s)) : QString();
}

QString SatisLogic::leaflet() const { return products_ ? products_->text(u"PROSPEKTUS"_s) : QString(); }

void SatisLogic::saveLeaflet(const QString& text)
{
    if (!products_ || !products_->hasRow() || text == leaflet()) return;
    Sql::run(session_.db, u"UPDATE URUN SET PROSPEKTUS = :t WHERE ILACNO = :n"_s,
             {{u"t"_s, text.isEmpty() ? QVariant() : QVariant(text)}, {u"n"_s, currentProductNo()}});
    products_->refresh();
}

// ---------------------------------------------------------------- searching

void SatisLogic::toggleSearchMode()
{
    mode_ = mode_ == SearchMode::Keyboard ? SearchMode::Barcode : SearchMode::Keyboard;
    barcodeText_.clear();
    nameSearch_.clear();
}

QString SatisLogic::searchModeLabel() const
{
    return mode_ == SearchMode::Keyboard ? u"Liste Şu An KLAVYEDEN ARAMAYA AYARLI"_s : u"Liste Şu An BARKODLA ARAMAYA AYARLI"_s;
}

QString SatisLogic::searchButtonCaption() const
{
    return mode_ == SearchMode::Keyboard ? u"Barkodla Ara ( F5 Tuşu )"_s : u"Klavyeden Ara ( F5 Tuşu )"_s;
}

void SatisLogic::typeSearchChar(QChar c)
{
    if (mode_ == SearchMode::Barcode) {
        barcodeText_ += c;
        return;
    }
    nameSearch_.type(products(), QString(c));
}

void SatisLogic::searchBackspace()
{
    if (mode_ == SearchMode::Barcode) {
        barcodeText_.chop(1);
        return;
    }
    nameSearch_.backspace(products());
}

void SatisLogic::clearSearch()
{
    nameSearch_.clear();
    barcodeText_.clear();
}

void SatisLogic::scannerMark()
{
    if (!scanStarted_) {
        scanStarted_ = true;
        if (!scanEnded_) {
            mode_ = SearchMode::Barcode;
            barcodeText_.clear();
        }
        return;
    }
    scanEnded_ = true;
    barcodeEnter();
}

void SatisLogic::enterInProductList()
{
    if (mode_ == SearchMode::Barcode) barcodeEnter();
    else satisEkle();
}

QString SatisLogic::barcodeStep()
{
    const QString code = barcodeText_;
    bool add = true;
    Table& p = products();
    if (!code.isEmpty()) {
        p.switchIndex(kByBarcode);
        p.findNearest({code});
        if (!equalsNoCase(p.text(u"ILACKOD"_s), code)) {
            add = false;
            // "F7" and "F8" scanned from the command sheet record the sale.
            if (code == u"F7"_s || code == u"F8"_s) pendingCommand_ = code;
            else session_.prompter.beep();
        }
    }
    QString next;
    if (add) next = addCurrent();
    if (scanEnded_) {
        scanStarted_ = scanEnded_ = false;
        mode_ = SearchMode::Keyboard;
    }
    barcodeText_.clear();
    p.switchIndex(kByName);
    return next;
}

void SatisLogic::followScans(QString next)
{
    // A run of scans in the dialog adds one line after the other.
    while (!next.isEmpty()) {
        barcodeText_ = next;
        mode_ = SearchMode::Barcode;
        scanStarted_ = scanEnded_ = true;
        next = barcodeStep();
    }
}

void SatisLogic::runPendingCommand()
{
    const QString command = pendingCommand_;
    pendingCommand_.clear();
    if (command == u"F7"_s) perakendeKayit();
    else if (command == u"F8"_s) receteKayit();
}

void SatisLogic::barcodeEnter()
{
    followScans(barcodeStep());
    runPendingCommand();
}

void SatisLogic::satisEkle()
{
    followScans(addCurrent());
    runPendingCommand();
}

// ---------------------------------------------------------------- adding a product

QString SatisLogic::addCurrent()
{
    Table& p = products();
    if (!p.hasRow()) return {};
    nameSearch_.clear();
    ProductValuesRequest req;
    req.productName = p.text(u"ILACAD"_s);
    req.quantityLabel = u"Satılacak Mik&tar"_s;
    req.barcode = barcodeText_;
    barcodeText_.clear();
    dialogColor_ = QColor();
    Prompter& ui = session_.prompter;
    const QString type = p.text(u"RECETEKOD"_s);
    if (type == u"B"_s) {
        ui.beep();
        ui.message(MessageKind::Warning, u"Bu İlacın Bedeli Resmi Kurumlar tarafından Ödenmez !"_s, Buttons::CancelOnly);
    } else if (type == u"S"_s) {
        ui.beep();
        ui.message(MessageKind::Warning, u"Sağlık Kurulu Raporu Gerekli!"_s, Buttons::CancelOnly);
    } else if (type == u"Y"_s) {
        dialogColor_ = QColor(0, 255, 0);
        ui.beep();
    } else if (type == u"K"_s) {
        dialogColor_ = QColor(255, 0, 0);
        ui.beep();
    } else if (type == u"R"_s) {
        dialogColor_ = QColor(255, 255, 0);
        ui.beep();
    }
    req.color = dialogColor_;
    const QDate expiry = p.date(u"MIAD"_s);
    const QDate today = session_.clock.today();
    if (expiry.isValid()) {
        if (today > expiry) {
            ui.beep();
            ui.warning(u"İLACIN MİADI GEÇMİŞ"_s);
        } else if (today.daysTo(expiry) <= 63) {
            ui.warning(u"İlacın Miadı Yakın"_s);
        }
    }
    const qint64 productNo = p.integer(u"ILACNO"_s);
    double price = p.number(u"FIYAT"_s);
    QDate priceDate = p.date(u"FIYATARIH"_s);
    if (!maskedDateIsBlank(dateBox_)) {
        const DateInput d = parseDateText(dateBox_);
        if (d.isValid()) req.prescriptionDate = d.date;
    }
    if (saleMode_ != 0) {
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
        const int quantity = int(back.integer(1));
        if (!addLine(req.productName, productNo, p.number(u"KDV"_s), linePrice, quantity, back.text(2)))
            ui.beep();
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

QList<SaleLine> SatisLogic::lines() const
{
    QList<SaleLine> r;
    Sql q(session_.db, u"SELECT SIRANO, URUNAD, MIKTAR, FIYAT, URUNO, RECKOD, KDV FROM SATEMP ORDER BY SIRANO"_s);
    q.exec();
    while (q.next())
        r << SaleLine{int(q.integer(0)), q.text(1), int(q.integer(2)), q.number(3), q.integer(4), q.text(5), q.number(6)};
    return r;
}

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

void SatisLogic::reverseOldSale(const QDateTime& when)
{
    struct Old {
        qint64 product;
        qint64 line;
        int quantity;
    };
    QList<Old> old;
    {
        Sql q(session_.db, u"SELECT ILACNO, SIRANOURUN, MIKTAR FROM SATIS WHERE SATISNO = :n"_s);
        q.bind(u"n"_s, oldSaleNo_).exec();
        while (q.next()) old << Old{q.integer(0), q.integer(1), int(q.integer(2))};
    }
    for (const Old& o : old) {
        deleteStockMovements(session_.db, o.product, when, oldSaleNo_);
        changeStock(session_.db, o.product, o.quantity);
        // The SSK line data is the detail of the sale row and goes with it.
        Sql::run(session_.db, u"DELETE FROM RECSSK_A WHERE SATISNO = :n AND SIRANOILAC = :l AND ILACNO = :i"_s,
                 {{u"n"_s, oldSaleNo_}, {u"l"_s, o.line}, {u"i"_s, o.product}});
        Sql::run(session_.db, u"DELETE FROM SATIS WHERE SATISNO = :n AND SIRANOURUN = :l"_s,
                 {{u"n"_s, oldSaleNo_}, {u"l"_s, o.line}});
    }
}

void SatisLogic::cleanUpOldRecords(double number)
{
    Database& db = session_.db;
    const QVariantMap n{{u"n"_s, number}};
    auto deleteSsk = [&] {
        Sql::run(db, u"DELETE FROM RECSSK WHERE SATISNO = :n"_s, n);
        Sql::run(db, u"DELETE FROM RECSSK_A WHERE SATISNO = :n"_s, n);
    };
    auto deletePrescription = [&] {
        Sql::run(db, u"DELETE FROM RECETE WHERE SATISNO = :n"_s, n);
        deleteSsk();
    };
    if (saleMode_ == 2) deleteSsk();
    switch (correctionCode_) {
    case 12:
    case 21: {
        Sql f(db, u"SELECT FATARIH, FATURANO, FATNO FROM FATURA WHERE SATISNO = :n LIMIT 1"_s);
        f.bind(u"n"_s, number).exec();
        if (f.next())
            Sql::run(db, u"UPDATE RECETE SET FATARIH = :d, FATURANO = :fn, FATNO = :no WHERE SATISNO = :n"_s,
                     {{u"d"_s, f.date(0)}, {u"fn"_s, f.isNull(1) ? QVariant() : QVariant(f.text(1).left(11))},
                      {u"no"_s, f.value(2)}, {u"n"_s, number}});
        break;
    }
    case 13: deletePrescription(); break;
    case 23: Sql::run(db, u"DELETE FROM FATURA WHERE SATISNO = :n"_s, n); break;
    case 43:
        deletePrescription();
        Sql::run(db, u"DELETE FROM FATURA WHERE SATISNO = :n"_s, n);
        break;
    default: break;
    }
}

void SatisLogic::recordSale(bool retail)
{
    if (lineCount() == 0) return;
    dateBox_.clear();
    if (retail) saleKind_ = u"P"_s;
    QString logText;
    if (retail && saleMode_ != 0) {
        QString question;
        switch (correctionCode_) {
        case 1: question = u"Eski Reç. Kaydı Prk.Satışa Dönüştürülsün mü?"_s; break;
        case 2: question = u"Eski Fatura Kaydı Prk.Satışa Dönüştürülsün mü?"_s; break;
        case 4: question = u"Eski Faturalı Reçete Kaydı Prk.Satışa Dönüştürülsün mü?"_s; break;
        default: question = u"Eski Prk Satışın Kaydı Düzeltilsin mi?"_s; break;
        }
        if (session_.prompter.ask(question, Buttons::YesNoCancel) != Answer::Yes) return;
        switch (correctionCode_) {
        case 1:
            correctionCode_ = 13;
            logText = u"Reç.,Prk.Sat.Aktarıldı."_s;
            break;
        case 2:
            correctionCode_ = 23;
            logText = u"Fat.,Prk.Sat.Aktarıldı."_s;
            break;
        case 4:
            correctionCode_ = 43;
            logText = u"Faturalı Reç.,Prk.Satışa Aktarıldı."_s;
            break;
        default: logText = u"Esk.Prk.Sat.Dzlt"_s; break;
        }
    }
    const bool correction = saleMode_ != 0;
    const QList<SaleLine> list = lines();
    Database& db = session_.db;
    // One transaction: the counter, the rows, the movements, the stock, the tie of the
    // credit entry, the discount, the clean-up and the emptied list land together or not at all.
    withLockRetry(session_.prompter, CounterBusyMessage, [&] {
        Transaction tx(db);
        const QDateTime now = session_.clock.now();
        if (!logText.isEmpty())
            appendOperationLog(db, now, withUser(logText, session_.UserName), u"Prk.Sat.Dzlt"_s, oldSaleNo_, oldSaleTotal_);
        QDateTime when = now;
        if (correction) {
            when = oldSaleDate_;
            reverseOldSale(when);
        }
        const double number = (correction || !retail) ? oldSaleNo_ : takeSaleNumber(db);
        const QString kind = (correctionCode_ == 21 || correctionCode_ == 12) ? u"E"_s : saleKind_;
        Sql row(db, u"INSERT INTO SATIS (SATISNO, SIRANOURUN, SATARIH, ILACNO, FIYAT, MIKTAR, KDV, RECETETIP, PARAKENDE) "
                    u"VALUES (:n, :l, :t, :i, :f, :m, :k, :r, :p)"_s);
        for (const SaleLine& l : list) {
            row.bind(u"n"_s, number).bind(u"l"_s, l.no).bind(u"t"_s, when).bind(u"i"_s, l.productNo);
            row.bind(u"f"_s, l.price).bind(u"m"_s, l.quantity).bind(u"k"_s, l.vat);
            row.bind(u"r"_s, l.prescriptionType.isEmpty() ? QVariant() : QVariant(l.prescriptionType));
            row.bind(u"p"_s, kind).exec();
            // Stock goes down for the product of the line itself, by its number.
            recordStockMovement(db, {l.productNo, when, number, l.no, std::nullopt, std::nullopt, double(l.quantity), l.price});
        }
        if (creditEntryNo_ != 0)
            Sql::run(db, u"UPDATE HAREKET SET ALSATNO = :n WHERE HAREKNO = :h"_s, {{u"n"_s, number}, {u"h"_s, creditEntryNo_}});
        const QVariantMap discountRow{{u"n"_s, number}, {u"t"_s, when.date()}, {u"d"_s, discount_}};
        if (discount_ > 0) {
            if (!correction || Sql::run(db, u"UPDATE iskonto SET ISKONTUT = :d, TARIH = :t WHERE SATISNO = :n"_s, discountRow) == 0)
                Sql::run(db, u"INSERT INTO iskonto (SATISNO, TARIH, ISKONTUT) VALUES (:n, :t, :d)"_s, discountRow);
        } else if (correction) {
            // A corrected sale without discount keeps no old discount.
            Sql::run(db, u"DELETE FROM iskonto WHERE SATISNO = :n"_s, discountRow);
        }
        if (correction) cleanUpOldRecords(number);
        Sql::run(db, u"DELETE FROM SATEMP"_s);
        tx.commit();
    });
    if (!logText.isEmpty()) oldSaleTotal_ = 0;
    creditEntryNo_ = 0;
    discount_ = paid_ = 0;
    total_ = 0;
    storeTotal();
    if (saleMode_ != 0) endCorrection();
    oldSaleNo_ = 0;
    correctionCreditNo_ = 0;
    saleMode_ = 0;
    productsChanged();
}

void SatisLogic::perakendeKayit() { recordSale(true); }

void SatisLogic::receteKayit()
{
    if (lineCount() == 0 || !links_.receteKayitAc) return;
    if (saleMode_ != 0) {
        QString question;
        switch (correctionCode_) {
        case 2: question = u"Eski Fatura Kaydının ayrıca Reçete Kaydı da Yapılsın mı?"_s; break;
        case 3: question = u"Eski Prk.Satış Kaydı Reçeteli Satışa Dönüştürülsün mü?"_s; break;
        case 4: question = u"Eski Faturalı Reçete Satış Kaydı Düzeltilsin mi?"_s; break;
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
    double number = 0;
    int refined = correctionCode_;
    if (saleMode_ == 1 || saleMode_ == 4) {
        const QString book = Sql::scalar(session_.db, u"SELECT RKDEFTERNO FROM RECETE WHERE SATISNO = :n LIMIT 1"_s,
                                         {{u"n"_s, oldSaleNo_}}).toString();
        number = links_.receteKayitAc(book, 0, dateBox_, oldSaleNo_);
    } else {
        number = links_.receteKayitAc(QString(), 1, dateBox_, oldSaleNo_);
        if (refined == 2) refined = 21;
        if (refined == 3) refined = 31;
    }
    if (number <= 0) return;
    // The conversion is decided only once the prescription was stored.
    correctionCode_ = refined;
    saleKind_ = saleMode_ == 4 ? u"E"_s : u"R"_s;
    oldSaleNo_ = number;
    const int request = session_.PrintRequest.choice;
    recordSale(false);
    if ((request == 1 || request == 2) && links_.backPrint) {
        session_.PrintRequest.saleNo = number;
        links_.backPrint(request);
    }
}

void SatisLogic::faturaKayit()
{
    if (lineCount() == 0 || !links_.faturaKayitAc) return;
    if (saleMode_ != 0) {
        QString question;
        switch (correctionCode_) {
        case 1: question = u"Eski Reçete Kaydı ayrıca Faturalılaştırılsın mı?"_s; break;
        case 3: question = u"Eski Prk.Satış Kaydı Faturalı Satışa Dönüştürülsün mü?"_s; break;
        case 4: question = u"Eski Faturalı Reçete Satış Kaydı Düzeltilsin mi?"_s; break;
        default: question = u"Eski Faturalı Satış Kaydı Düzeltilsin mi?"_s; break;
        }
        if (session_.prompter.ask(question) != Answer::Yes) return;
    }
    double number = 0;
    int refined = correctionCode_;
    if (saleMode_ == 2 || saleMode_ == 4) {
        const double invoice = Sql::scalar(session_.db, u"SELECT FATNO FROM FATURA WHERE SATISNO = :n LIMIT 1"_s,
                                           {{u"n"_s, oldSaleNo_}}).toDouble();
        number = links_.faturaKayitAc(0, oldSaleNo_, invoice);
    } else {
        number = links_.faturaKayitAc(1, oldSaleNo_, 0);
        if (refined == 1) refined = 12;
        if (refined == 3) refined = 32;
    }
    if (number <= 0) return;
    correctionCode_ = refined;
    saleKind_ = saleMode_ == 4 ? u"E"_s : u"F"_s;
    oldSaleNo_ = number;
    recordSale(false);
}

void SatisLogic::veresiyeKayit()
{
    if (lineCount() == 0 || !session_.companion) return;
    const QDate today = session_.clock.today();
    Companion& c = *session_.companion;
    if (saleMode_ == 0) {
        if (creditEntryNo_ != 0) {
            c.VeresiyeAc(QString(), dateText(today) + u" Prk.Satış"_s, 0, today, creditEntryNo_, total_, 0, QString());
        } else {
            creditEntryNo_ = c.VeresiyeAc(QString(), dateText(today) + u" Tarihli Prk.Satış"_s, 1, today, 0, total_, 0, QString());
        }
    } else if (saleMode_ == 3) {
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
        if (saleMode_ == 0 && creditEntryNo_ != 0) removeCreditEntry(creditEntryNo_);
        tx.commit();
    }
    if (saleMode_ == 0) creditEntryNo_ = 0;
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
    saleMode_ = 0;
    emptyWorkingList();
    correctionCode_ = 0;
    saleKind_ = u"P"_s;
}

// ---------------------------------------------------------------- old records

void SatisLogic::loadOldSale(double number)
{
    Sql q(session_.db, u"SELECT SIRANOURUN, ILACNO, FIYAT, MIKTAR, RECETETIP, KDV, SATARIH, PARAKENDE FROM SATIS "
                       u"WHERE SATISNO = :n ORDER BY SIRANOURUN"_s);
    q.bind(u"n"_s, number).exec();
    if (!q.next()) return;
    emptyWorkingList();
    oldSaleNo_ = number;
    oldSaleDate_ = q.timestamp(6);
    const QString kind = q.text(7);
    {
        Transaction tx(session_.db);
        Sql ins(session_.db, u"INSERT INTO SATEMP (SIRANO, URUNAD, MIKTAR, FIYAT, URUNO, RECKOD, KDV) "
                             u"VALUES (:s, (SELECT ILACAD FROM URUN WHERE ILACNO = :u), :m, :f, :u, :r, :k)"_s);
        do {
            ins.bind(u"s"_s, q.integer(0)).bind(u"u"_s, q.integer(1)).bind(u"f"_s, q.number(2));
            ins.bind(u"m"_s, q.integer(3)).bind(u"r"_s, q.isNull(4) ? QVariant() : QVariant(q.text(4)));
            ins.bind(u"k"_s, q.number(5)).exec();
        } while (q.next());
        tx.commit();
    }
    recomputeTotal();
    const QVariant d = Sql::scalar(session_.db, u"SELECT ISKONTUT FROM iskonto WHERE SATISNO = :n"_s, {{u"n"_s, number}});
    discountLeft(d.isNull() ? 0 : d.toDouble());
    if (kind == u"E"_s) saleMode_ = 4;
    else if (kind == u"F"_s) saleMode_ = 2;
    else if (kind == u"R"_s) saleMode_ = 1;
    else saleMode_ = 3;
    correctionCode_ = saleMode_;
    saleKind_ = kind.isEmpty() ? u"P"_s : kind;
    oldSaleTotal_ = total_;
}

void SatisLogic::eskiSatislar()
{
    if (saleMode_ != 0) {
        if (saleMode_ == 3 && correctionCreditNo_ != 0
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
    case 4:
        c.invoice = u"Eski Fatura Kayıt"_s;
        c.prescription = u"Eski Reçete Kayıt"_s;
        c.oldSales = u"Esk.Ftlı.Rç.Dzt.Vazgeç"_s;
        break;
    case 2:
        c.invoice = u"Eski Fatura Kayıt"_s;
        c.oldSales = u"Esk.Fat.Dzlt.Vazgeç"_s;
        break;
    case 3:
        c.retail = u"Eski Perknd.Kayıt"_s;
        c.oldSales = u"Esk.Prk.Dzlt.Vazgeç"_s;
        break;
    case 1:
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

void SatisLogic::deleteProduct()
{
    Table& p = products();
    if (!p.hasRow()) return;
    if (session_.prompter.ask(u"Silinsin mi?"_s) != Answer::Yes) return;
    const qint64 no = p.integer(u"ILACNO"_s);
    if (productHasMovements(session_.db, no)) {
        session_.prompter.warning(u"Ürünün Stok Bilgisi Mevut Silinemez!!!"_s);
        return;
    }
    p.remove();
}

void SatisLogic::productCard(int mode)
{
    if (!productCardAllowed() || !session_.companion) return;
    const QString name = session_.companion->UEditInsert(currentProductName(), mode);
    if (name.isEmpty()) return;
    productsChanged();
    positionByName(name);
}

void SatisLogic::stockCard()
{
    if (links_.stockCard && currentProductNo() != 0) links_.stockCard(currentProductNo(), currentProductName());
}

}  // namespace selvar
