// The sale window's barcode and scanner steps over its product list.
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

void SatisLogic::scannerMark()
{
    if (picker_.scannerMark()) barcodeEnter();
}

void SatisLogic::enterInProductList()
{
    if (picker_.searchMode() == SearchMode::Barcode) barcodeEnter();
    else satisEkle();
}

QString SatisLogic::barcodeStep()
{
    const QString code = picker_.barcodeText();
    QString next;
    if (picker_.lookUpBarcode()) {
        next = addCurrent();
    } else if (code == u"F7"_s || code == u"F8"_s) {
        // "F7" and "F8" scanned from the command sheet record the sale.
        pendingCommand_ = code;
    } else {
        session_.prompter.beep();
    }
    picker_.endBarcode();
    return next;
}

void SatisLogic::followScans(QString next)
{
    // A run of scans in the dialog adds one line after the other.
    while (!next.isEmpty()) {
        picker_.takeScannedCode(next);
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
