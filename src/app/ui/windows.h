#pragma once
// The one place where the windows that live for the whole run are created, in the order
// the program has always used, and where the main window's commands are connected to
// the opening operations of the other windows. A window built later adds itself here.
#include <QString>
#include <functional>
#include <memory>

namespace selvar {

struct Session;
class TILKForm;

// Opening operations the main window's commands call; an empty one leaves its command
// disabled (the window is not part of this build).
struct WindowOpeners {
    std::function<void()> sale;                 // "Satış": Giris of TSatisForm
    std::function<void()> purchase;             // "Alış": Giris of TIslAlisForm
    std::function<void()> exchange;             // "Takas"
    std::function<void()> sskSale;              // "SSK Reçetesi": Giris of TSatisSSKForm
    std::function<void(const QString&)> issuedSskInvoices;  // "SSK Faturası" after the institution choice
    std::function<void(double)> salesPriceSetting;          // "Satış Fiyatı Oluşturma" after the purchase choice
    std::function<void()> repricing;            // "Yeniden Değerlendirme"
    std::function<void()> oldPriceRepricing;    // "Esk.Fyt.lı Rç.Değerlendirme"
    std::function<void()> automaticRepricing;   // "Otomatik Yeniden Reç.Değerlendirme"
    std::function<void()> privateReports;       // hidden Sifreli
};

struct LongLivedWindows {
    std::unique_ptr<TILKForm> main;
    // TAraJenDlg, TIslAlisForm, TSatisForm, TSatisSSKForm, TMikSSKDlg, TMikDlg, TFormTakas
    // follow the main window here as they are built.
    std::shared_ptr<void> others;
    LongLivedWindows();
    LongLivedWindows(LongLivedWindows&&) noexcept;
    LongLivedWindows& operator=(LongLivedWindows&&) noexcept;
    ~LongLivedWindows();
};

LongLivedWindows createLongLivedWindows(Session& session);

}  // namespace selvar
