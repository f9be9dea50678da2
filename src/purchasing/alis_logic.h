#pragma once
// Registration of a purchase invoice (the window TAlisForm, "Alış Faturası Kayıt"): one
// ALIS1.DB row made or corrected for the purchase list, its totals from the lines (kept
// when a correction's lines did not change), the supplier's rates, and the save: both
// counters, the header, the payable in HAREKET.DB, the correction's log row, the lines'
// net unit costs, both suppliers' ALACAK and the stock entry, in one transaction.
#include "purchasing/alis_calc.h"

#include <QDate>
#include <QStringList>
#include <QList>
#include <QVariantMap>
#include <array>
#include <functional>

namespace selvar {

struct Session;

class AlisLogic {
public:
    enum class StoreResult { Stored, Stopped };

    explicit AlisLogic(Session& session);

    // AlisFormAc's opening: new with the supplier's code, or the correction of `purchaseNo`.
    void open(bool isNew, const QString& supplier, double purchaseNo);
    int mode() const { return mode_; }
    QString caption() const;  // "Alış Faturası Kayıt" / "Alış Faturası Düzeltme"

    QVariant field(const QString& name) const { return rec_.value(name); }
    QString text(const QString& name) const { return rec_.value(name).toString(); }
    double number(const QString& name) const { return rec_.value(name).toDouble(); }
    void setField(const QString& name, const QVariant& value) { rec_.insert(name, value); }

    // ---- lines and totals
    QList<PurchaseLineInput> inputs() const;  // ALISTEMP.DB in line order
    QList<PurchaseLineValues> lineValues() const;
    QStringList lineNames() const;  // the products' names, in line order
    QString supplierName() const;   // AD of the supplier's card, empty when unknown
    void hesap();     // the stored totals from the lines (a correction keeps them while BRUT agrees)
    void araHesap();  // the category columns
    const std::array<PurchaseCategoryTotals, 3>& categories() const { return categories_; }
    double netBefore() const;  // AraTopNetTut
    double subtotal() const;   // AraTop
    void refreshTotals();      // the refresh button once answered Yes: totals from the lines
    void refreshAsked();       // the refresh button: the question, then refreshTotals on Yes

    // ---- supplier and rates
    bool supplierLeft(const QString& code);  // false: unknown, beep and the choice opens
    void chooseSupplier();                   // F5
    void profitRateTyped(const QString& text);
    void fixedDiscountTyped(const QString& text);

    // ---- store
    // The purchase window's stock entry under the stored purchase number, run in the save's
    // transaction.
    void setLinesRecorder(std::function<void(double purchaseNo)> record) { recordLines_ = std::move(record); }
    StoreResult store();
    bool stored() const { return stored_; }
    double result() const { return result_; }

    static constexpr const char* ProfitRateTooHigh =
        "Eczane Karı (%) 100 veya daha büyük olamaz; Depocu Fiyatlı alışlarda tutar hesaplanamaz.";

private:
    void takeSupplierRates(const QString& code);
    void applyTotals(const QList<PurchaseLineValues>& values);  // Hesap's part after the sums
    void recompute();  // Hesap and AraHesap over one reading of the list

    Session& session_;
    int mode_ = 1;
    QVariantMap rec_;
    qint64 rowId_ = 0;
    QString oldSupplier_;
    double oldAmount_ = 0;
    std::array<PurchaseCategoryTotals, 3> categories_{};
    std::function<void(double)> recordLines_;
    bool stored_ = false;
    double result_ = 0;
};

}  // namespace selvar
