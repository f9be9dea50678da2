#pragma once
// The SSK invoices issued to one institution (the window TKesFatSSKForm, "SSK TİPİ KURUM
// FATURALARI"): the door to a new invoice over the prescriptions without one, to an
// issued invoice's correction, and to its deletion. Before the invoice window opens,
// FATSSK.DB is refilled with the prescriptions concerned.
#include <QDate>
#include <QList>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

namespace selvar {

struct Session;

struct IssuedSskInvoice {
    QString number;  // FATURANO
    QDate date;      // FATARIH
    double net = 0;
    double invoiceNo = 0;  // FATNO, "Fat.Evrk.No"
};

class KesFatSskLogic {
public:
    struct Links {
        // The date-range dialog: the two dates on OK, nothing on "Vazgeç".
        std::function<std::optional<std::pair<QDate, QDate>>(const QDate&, const QDate&, const QString&)> askRange;
        // The SSK invoice window over FATSSK.DB (FATNO 0 for a new invoice).
        std::function<void(const QString& code, double invoiceNo)> openInvoice;
    };

    KesFatSskLogic(Session& session, QString code, Links links);
    QString code() const { return code_; }

    QList<IssuedSskInvoice> invoices() const;

    void newInvoice();                // "&Yeni Fatura "
    void correct(double invoiceNo);   // "&Düzelt-Bak"
    bool remove(double invoiceNo);    // "Fatura &Sil"; true when deleted

    // FATSSK.DB refilled with the institution's prescriptions without invoice served
    // between the two dates (prescription-date order); the number of rows.
    int gatherUninvoiced(const QDate& from, const QDate& to);
    int gatherInvoice(double invoiceNo);

private:
    int gather(const QString& condition, const QVariantMap& params);

    Session& session_;
    QString code_;
    Links links_;
};

}  // namespace selvar
