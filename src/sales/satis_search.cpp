// The sale window's product list: the product under the cursor with its generic, group
// and indication, and finding a product by typing its name, by its barcode or by the
// scanner's marks.
#include "sales/satis_logic.h"

#include "core/turkish.h"
#include "data/codes.h"
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/prompter.h"
#include "platform/session.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

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
    products().switchIndex(ByName);
    return products_->findKey({exactName});
}

void SatisLogic::productsChanged()
{
    const qint64 id = products_ ? products_->rowId() : 0;
    products_ = std::make_unique<Table>(session_.db, u"URUN.DB"_s);
    products_->setIndex(ByName);
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
        p.switchIndex(ByBarcode);
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
    p.switchIndex(ByName);
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

}  // namespace selvar
