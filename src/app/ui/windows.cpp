#include "app/ui/windows.h"

#include "app/ui/main_form.h"
#include "exchange/ui/takas_forms.h"
#include "invoicing/ui/fatura_kayit.h"
#include "invoicing/ui/ssk_invoice.h"
#include "sales/ui/arajen_dlg.h"
#include "sales/ui/mik_dlg.h"
#include "sales/ui/satis_form.h"
#include "platform/session.h"
#include "purchasing/ui/alis_kayit.h"
#include "purchasing/ui/isl_alis_form.h"
#include "prescriptions/ui/mik_ssk_dlg.h"
#include "prescriptions/ui/recete_kayit.h"
#include "prescriptions/ui/repricing.h"
#include "prescriptions/ui/recete_ssk_kayit.h"
#include "prescriptions/ui/satis_ssk_form.h"
#include "reports/ui/backprint.h"
#include "reports/ui/reports.h"

namespace selvar {

namespace {
// The long-lived windows after the main one, kept for the whole run.
struct Others {
    QWidget* main = nullptr;  // the parent of the windows the main window's menus open
    std::unique_ptr<TAraJenDlg> araJen;
    std::unique_ptr<TIslAlisForm> alis;
    std::unique_ptr<TSatisForm> satis;
    std::unique_ptr<TSatisSSKForm> satisSsk;
    std::unique_ptr<TMikSSKDlg> mikSsk;
    std::unique_ptr<TMikDlg> mik;
    std::unique_ptr<TFormTakas> takas;
};
}  // namespace

LongLivedWindows::LongLivedWindows() = default;
LongLivedWindows::LongLivedWindows(LongLivedWindows&&) noexcept = default;
LongLivedWindows& LongLivedWindows::operator=(LongLivedWindows&&) noexcept = default;
LongLivedWindows::~LongLivedWindows() = default;

LongLivedWindows createLongLivedWindows(Session& session)
{
    LongLivedWindows w;
    auto others = std::make_shared<Others>();
    WindowOpeners openers;
    openers.sale = [o = others.get()] { o->satis->Giris(); };
    openers.exchange = [o = others.get()] { o->takas->Giris(); };
    openers.sskSale = [o = others.get()] { o->satisSsk->Giris(); };
    openers.purchase = [o = others.get()] { o->alis->Giris(); };
    // The repricing windows hand a sale to the back sheets.
    RepricingBackPrints prints;
    prints.stamped = [&session](QWidget* parent) { KaseliDokum(session, {}, {}, parent); };
    prints.defined = [&session](QWidget* parent) { TanimliDokum(session, {}, {}, {}, parent); };
    openers.repricing = [&session, prints, o = others.get()] { YenidenDegerlendir(session, false, prints, o->main); };
    openers.oldPriceRepricing = [&session, prints, o = others.get()] { YenidenDegerlendir(session, true, prints, o->main); };
    openers.privateReports = [&session, o = others.get()] { OzelRaporAc(session, o->main); };
    openers.automaticRepricing = [&session, prints, o = others.get()] {
        OtomatikDegerlendirmeSorgusu(session, prints, o->main);
    };
    openers.issuedSskInvoices = [&session, prints, o = others.get()](const QString& code) {
        SskInvoiceLinks links;
        links.prints = prints;
        links.diskette = [&session](QChar group, const QString& code, double invoiceNo, QWidget* parent) {
            DisketAc(session, group, code, invoiceNo, parent);
        };
        KesFatSSKAc(session, code, links, o->main);
    };
    openers.salesPriceSetting = [&session, o = others.get()](double purchaseNo) {
        SatFiyAc(session, purchaseNo, o->main);
    };
    // In the order the program has always created them: the main window, the generic
    // search, the purchase window, the sale window, the SSK sale window, the SSK values
    // dialog, the values dialog, the exchange window.
    w.main = std::make_unique<TILKForm>(session, openers);
    others->main = w.main.get();
    others->araJen = std::make_unique<TAraJenDlg>(session.db, w.main.get());
    PurchaseWindowLinks purchaseLinks;
    purchaseLinks.alisFormAc = [&session, o = others.get()](bool isNew, const QString& supplier, double no,
                                                            const PurchaseLinesRecorder& lines) {
        return AlisFormAc(session, isNew, supplier, no, lines, o->alis.get());
    };
    purchaseLinks.siparisAktarAc = [&session, o = others.get()] {
        return SiparisAktarAc(session, o->mik.get(), o->alis.get());
    };
    // The movement history of the product under the cursor, from every counter.
    purchaseLinks.stockCard = [&session, o = others.get()](qint64 product, const QString& name) {
        BrStokAc(session, product, name, o->alis.get());
    };
    others->alis = std::make_unique<TIslAlisForm>(session, purchaseLinks, others->araJen.get());
    SaleWindowLinks saleLinks;
    saleLinks.receteKayitAc = [&session, o = others.get()](const QString& book, int mode, const QString& date, double sale,
                                                           const LinesRecorder& lines) {
        return ReceteKayitAc(session, book, mode, date, sale, lines, o->satis.get());
    };
    saleLinks.faturaKayitAc = [&session, o = others.get()](int mode, double sale, double invoice, const LinesRecorder& lines) {
        return FaturaKayitAc(session, mode, sale, invoice, lines, o->satis.get());
    };
    // After a prescription sale: 2 the stamped back sheet, 1 the defined one.
    saleLinks.backPrint = [&session, o = others.get()](int kind) {
        if (kind == 2) KaseliDokum(session, {}, {}, o->satis.get());
        else if (kind == 1) TanimliDokum(session, {}, {}, {}, o->satis.get());
    };
    saleLinks.stockCard = [&session, o = others.get()](qint64 product, const QString& name) {
        BrStokAc(session, product, name, o->satis.get());
    };
    others->satis = std::make_unique<TSatisForm>(session, saleLinks, others->araJen.get());
    SskSaleLinks sskLinks;
    sskLinks.receteSskAc = [&session, o = others.get()](int mode, const QString& date, double sale, const LinesRecorder& lines) {
        return ReceteSSKAc(session, mode, date, sale, lines, o->satisSsk.get());
    };
    sskLinks.stockCard = [&session, o = others.get()](qint64 product, const QString& name) {
        BrStokAc(session, product, name, o->satisSsk.get());
    };
    others->satisSsk = std::make_unique<TSatisSSKForm>(session, sskLinks, others->araJen.get());
    others->mikSsk = std::make_unique<TMikSSKDlg>(session, others->satisSsk.get());
    others->satisSsk->setValuesDialog(others->mikSsk.get());
    others->mik = std::make_unique<TMikDlg>(session, others->satis.get());
    others->satis->setValuesDialog(others->mik.get());
    others->alis->setValuesDialog(others->mik.get());  // the one values dialog, in its purchase mode here
    others->takas = std::make_unique<TFormTakas>(session, w.main.get());
    w.others = others;
    return w;
}

}  // namespace selvar
