#pragma once
// The opening operations of the SSK invoice windows: the invoices issued to an
// institution (the main window's "SSK Faturası") and the invoice of FATSSK.DB.
#include "prescriptions/ui/repricing.h"

#include <QChar>
#include <QString>
#include <functional>

class QWidget;

namespace selvar {
struct Session;

struct SskInvoiceLinks {
    RepricingBackPrints prints;  // for the repricing of a prescription
    // The diskette window's opening operation: group digit, institution code, FATNO.
    std::function<void(QChar group, const QString& code, double invoiceNo, QWidget* parent)> diskette;
};

// "SSK TİPİ KURUM FATURALARI" of one institution.
void KesFatSSKAc(Session& session, const QString& code, const SskInvoiceLinks& links, QWidget* parent = nullptr);

// "DİSKET HAZIRLAMA": the four submission tables of a recorded invoice and their copy.
void DisketAc(Session& session, QChar group, const QString& code, double invoiceNo, QWidget* parent = nullptr);

// "SSK TİPİ FATURA DÜZENLEME" over the prescriptions in FATSSK.DB; invoiceNo 0 for a new
// invoice.
void HazirFatSSKAc(Session& session, const QString& code, double invoiceNo, const SskInvoiceLinks& links,
                   QWidget* parent = nullptr);
}  // namespace selvar
