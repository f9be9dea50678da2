#include "sales/product_picker.h"

#include "companion/companion.h"
#include "core/dates.h"
#include "core/turkish.h"
#include "data/codes.h"
#include "data/database.h"
#include "data/operations.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

ProductPicker::ProductPicker(Session& session, PickerTexts texts) : session_(session), texts_(std::move(texts)) {}

ProductPicker::~ProductPicker() = default;

void ProductPicker::open()
{
    scanStarted_ = scanEnded_ = false;
    nameSearch_.clear();
    barcodeText_.clear();
    mode_ = SearchMode::Keyboard;
    products_ = std::make_unique<Table>(session_.db, u"URUN.DB"_s);
    products_->setIndex(ByName);
}

void ProductPicker::close() { products_.reset(); }

// ---------------------------------------------------------------- the list

Table& ProductPicker::products()
{
    if (!products_) open();
    return *products_;
}

QString ProductPicker::currentName() const { return products_ ? products_->text(u"ILACAD"_s) : QString(); }

qint64 ProductPicker::currentNo() const { return products_ && products_->hasRow() ? products_->integer(u"ILACNO"_s) : 0; }

bool ProductPicker::positionByName(const QString& exactName)
{
    products().switchIndex(ByName);
    return products_->findKey({exactName});
}

void ProductPicker::reopen()
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

QString ProductPicker::genericName() const
{
    return products_ ? lookup(session_.db, u"SELECT JENERIKAD FROM JEN WHERE JENERIKNO = :k"_s, products_->integer(u"JENERIKNO"_s))
                     : QString();
}

QString ProductPicker::groupName() const
{
    return products_ ? lookup(session_.db, u"SELECT GRUPAD FROM GRUP WHERE GRUPNO = :k"_s, products_->integer(u"GRUPNO"_s)) : QString();
}

QString ProductPicker::indicationName() const
{
    return products_ ? lookup(session_.db, u"SELECT ENDIKASYONAD FROM ENDIK WHERE ENDIKNO = :k"_s, products_->integer(u"ENDIKNO"_s))
                     : QString();
}

QString ProductPicker::prescriptionTypeText() const
{
    return products_ ? selvar::prescriptionTypeText(products_->text(u"RECETEKOD"_s)) : QString();
}

QColor valuesDialogColor(const QString& type)
{
    if (type == u"Y"_s) return QColor(0, 255, 0);
    if (type == u"K"_s) return QColor(255, 0, 0);
    if (type == u"R"_s) return QColor(255, 255, 0);
    return {};
}

QColor ProductPicker::prescriptionTypeColor() const
{
    return valuesDialogColor(products_ ? products_->text(u"RECETEKOD"_s) : QString());
}

QString ProductPicker::leaflet() const { return products_ ? products_->text(u"PROSPEKTUS"_s) : QString(); }

void ProductPicker::saveLeaflet(const QString& text)
{
    if (!products_ || !products_->hasRow() || text == leaflet()) return;
    Sql::run(session_.db, u"UPDATE URUN SET PROSPEKTUS = :t WHERE ILACNO = :n"_s,
             {{u"t"_s, text.isEmpty() ? QVariant() : QVariant(text)}, {u"n"_s, currentNo()}});
    products_->refresh();
}

// ---------------------------------------------------------------- searching

void ProductPicker::toggleSearchMode()
{
    mode_ = mode_ == SearchMode::Keyboard ? SearchMode::Barcode : SearchMode::Keyboard;
    barcodeText_.clear();
    nameSearch_.clear();
}

QString ProductPicker::searchModeLabel() const
{
    return mode_ == SearchMode::Keyboard ? texts_.keyboardMode : texts_.barcodeMode;
}

QString ProductPicker::searchButtonCaption() const
{
    return mode_ == SearchMode::Keyboard ? texts_.toBarcodeCaption : texts_.toKeyboardCaption;
}

void ProductPicker::typeSearchChar(QChar c)
{
    if (mode_ == SearchMode::Barcode) {
        barcodeText_ += c;
        return;
    }
    nameSearch_.type(products(), QString(c));
}

void ProductPicker::searchBackspace()
{
    if (mode_ == SearchMode::Barcode) {
        barcodeText_.chop(1);
        return;
    }
    nameSearch_.backspace(products());
}

void ProductPicker::clearSearch()
{
    nameSearch_.clear();
    barcodeText_.clear();
}

bool ProductPicker::scannerMark()
{
    if (!scanStarted_) {
        scanStarted_ = true;
        if (!scanEnded_) {
            mode_ = SearchMode::Barcode;
            barcodeText_.clear();
        }
        return false;
    }
    scanEnded_ = true;
    return true;
}

void ProductPicker::takeScannedCode(const QString& code)
{
    barcodeText_ = code;
    mode_ = SearchMode::Barcode;
    scanStarted_ = scanEnded_ = true;
}

bool ProductPicker::lookUpBarcode()
{
    scannedBox_.reset();
    QString code = barcodeText_;
    if (code.isEmpty()) return true;
    // A 2D scanner sends the box's whole GS1 string: its GTIN is the product's barcode.
    const ScanReading scan = readScan(code, session_.db.alias().gsText);
    if (scan.kind == ScanReading::Kind::Invalid) {
        session_.prompter.warning(scan.message);
        return false;
    }
    Table& p = products();
    p.switchIndex(ByBarcode);
    if (scan.kind == ScanReading::Kind::Gs1) code = scan.code;
    p.findNearest({code});
    if (!equalsNoCase(p.text(u"ILACKOD"_s), code)) {
        if (scan.kind == ScanReading::Kind::Gs1)
            session_.prompter.warning(u"Karekoddaki ürün ("_s + code + u") ürün kartlarında yok."_s);
        return false;
    }
    if (scan.kind == ScanReading::Kind::Gs1) {
        scannedBox_ = scan.box;
        barcodeText_ = code;  // the values dialog compares later scans with the product's code
    }
    return true;
}

void ProductPicker::endBarcode()
{
    if (scanEnded_) {
        scanStarted_ = scanEnded_ = false;
        mode_ = SearchMode::Keyboard;
    }
    barcodeText_.clear();
    scannedBox_.reset();
    products().switchIndex(ByName);
}

// ---------------------------------------------------------------- adding

ProductValuesRequest ProductPicker::warnAndRequest()
{
    Table& p = products();
    nameSearch_.clear();
    ProductValuesRequest req;
    req.productName = p.text(u"ILACAD"_s);
    req.barcode = barcodeText_;
    barcodeText_.clear();
    Prompter& ui = session_.prompter;
    const QString type = p.text(u"RECETEKOD"_s);
    if (type == u"B"_s) {
        ui.beep();
        ui.message(MessageKind::Warning, u"Bu İlacın Bedeli Resmi Kurumlar tarafından Ödenmez !"_s, Buttons::CancelOnly);
    } else if (type == u"S"_s) {
        ui.beep();
        ui.message(MessageKind::Warning, u"Sağlık Kurulu Raporu Gerekli!"_s, Buttons::CancelOnly);
    } else if (type == u"Y"_s || type == u"K"_s || type == u"R"_s) {
        req.color = prescriptionTypeColor();
        if (texts_.beepForEveryColour || type == u"R"_s) ui.beep();
    }
    // The box in hand tells its own expiry; the card holds one date for every box.
    const QDate expiry = scannedBox_ && scannedBox_->expiry.isValid() ? scannedBox_->expiry : p.date(u"MIAD"_s);
    const QDate today = session_.clock.today();
    if (expiry.isValid()) {
        if (today > expiry) {
            ui.beep();
            ui.warning(u"İLACIN MİADI GEÇMİŞ"_s);
        } else if (today.daysTo(expiry) <= 63) {
            ui.warning(texts_.nearExpiry);
        }
    }
    return req;
}

// ---------------------------------------------------------------- commands

void ProductPicker::deleteProduct()
{
    Table& p = products();
    if (!p.hasRow()) return;
    if (session_.prompter.ask(u"Silinsin mi?"_s) != Answer::Yes) return;
    if (productHasMovements(session_.db, p.integer(u"ILACNO"_s))) {
        session_.prompter.warning(texts_.cannotDelete);
        return;
    }
    p.remove();
}

void ProductPicker::productCard(int mode)
{
    if (!session_.companion) return;
    const QString name = session_.companion->UEditInsert(currentName(), mode);
    if (name.isEmpty()) return;
    reopen();
    positionByName(name);
}

}  // namespace selvar
