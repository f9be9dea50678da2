#include "prescriptions/demo_repricing.h"

#include "data/counters.h"
#include "data/database.h"
#include "data/operations.h"
#include "data/sql.h"
#include "data/table.h"
#include "prescriptions/repricing.h"

#include <cmath>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
struct Sold {
    qint64 product;
    int quantity;
    double price;
};

double addPrescription(Database& db, const QString& institution, qint64 patient, const QDate& day,
                       const QList<Sold>& lines, const QVariantMap& more = {})
{
    const double sale = takeSaleNumber(db);
    const QDateTime when(day, QTime(11, 20));
    QVariantMap rec{{u"RKDEFTERNO"_s, takeProvisionalBookNumber(db)}, {u"KURUMKOD"_s, institution},
                    {u"SATISNO"_s, sale}, {u"RECTARIH"_s, day}, {u"ALTARIH"_s, day}, {u"HASTATIP"_s, u"Ç"_s},
                    {u"HASTANO"_s, patient}, {u"BAS1"_s, QString::number(40000000 + patient * 37)}};
    for (auto it = more.begin(); it != more.end(); ++it) rec.insert(it.key(), it.value());
    insertRecord(db, u"RECETE"_s, rec);
    int no = 0;
    for (const Sold& l : lines) {
        const QVariantMap card = readRecord(db, u"URUN"_s, findKeyRow(db, u"URUN"_s, QString(), {l.product}));
        insertRecord(db, u"SATIS"_s,
                     {{u"SATISNO"_s, sale}, {u"SIRANOURUN"_s, ++no}, {u"SATARIH"_s, when}, {u"ILACNO"_s, l.product},
                      {u"FIYAT"_s, l.price}, {u"MIKTAR"_s, l.quantity}, {u"KDV"_s, card.value(u"KDV"_s)},
                      {u"RECETETIP"_s, card.value(u"RECETEKOD"_s)}, {u"PARAKENDE"_s, u"R"_s}});
        recordStockMovement(db, {l.product, when, sale, no, std::nullopt, std::nullopt, double(l.quantity), l.price});
    }
    recomputePrescription(db, sale);
    return sale;
}
}  // namespace

void addDemoRepricing(Database& db, const QDate& today)
{
    QList<qint64> products;
    {
        Sql q(db, u"SELECT ILACNO FROM URUN WHERE RECETEKOD = 'N' AND FIYAT > 0 AND MIKTAR > 10 ORDER BY ILACNO LIMIT 2"_s);
        q.exec();
        while (q.next()) products << q.integer(0);
    }
    QList<qint64> patients;
    {
        Sql q(db, u"SELECT HASTANO FROM HASTA ORDER BY HASTANO LIMIT 5"_s);
        q.exec();
        while (q.next()) patients << q.integer(0);
    }
    if (products.size() < 2 || patients.size() < 5) return;
    Transaction tx(db);
    // The price rose ten days ago; the old one goes into the history under its own date.
    const qint64 drug = products[0], other = products[1];
    const QVariantMap card = readRecord(db, u"URUN"_s, findKeyRow(db, u"URUN"_s, QString(), {drug}));
    const double oldPrice = card.value(u"FIYAT"_s).toDouble();
    const QDate oldDate = card.value(u"FIYATARIH"_s).toDate().isValid() ? card.value(u"FIYATARIH"_s).toDate()
                                                                        : today.addDays(-90);
    const QDate changed = today.addDays(-10);
    const double newPrice = std::ceil(oldPrice * 1.12 / 500) * 500;
    insertRecord(db, u"URFAYAR"_s,
                 {{u"ILACNO"_s, drug}, {u"FITARIH"_s, QDateTime(std::min(oldDate, changed.addDays(-1)), QTime(9, 0))},
                  {u"FIYAT"_s, oldPrice}});
    Sql::run(db, u"UPDATE URUN SET FIYAT = :f, FIYATARIH = :d WHERE ILACNO = :n"_s,
             {{u"f"_s, newPrice}, {u"d"_s, changed}, {u"n"_s, drug}});
    const double otherPrice = Sql::scalar(db, u"SELECT FIYAT FROM URUN WHERE ILACNO = :n"_s, {{u"n"_s, other}}).toDouble();
    // Before the change at the new price: paid at the price of the prescription date.
    addPrescription(db, u"SSK"_s, patients[0], changed.addDays(-5), {{drug, 2, newPrice}, {other, 1, otherPrice}});
    // After it at the old price: paid at the latest price.
    addPrescription(db, u"ES"_s, patients[1], changed.addDays(3), {{drug, 1, oldPrice}});
    const double withCredit = addPrescription(db, u"MEB"_s, patients[2], changed.addDays(4), {{drug, 2, oldPrice}});
    addPrescription(db, u"SSK"_s, patients[3], changed.addDays(1), {{drug, 1, oldPrice}});
    // Already invoiced: left to the hand.
    addPrescription(db, u"BK"_s, patients[4], changed.addDays(2), {{drug, 1, oldPrice}},
                    {{u"FATNO"_s, 1.0}, {u"FATARIH"_s, changed.addDays(6)}, {u"FATURANO"_s, u"BK-0001"_s}});
    // The patient's share of one of them on the patient's open account.
    const double share = Sql::scalar(db, u"SELECT HASTAKATPAY FROM RECETE WHERE SATISNO = :n"_s, {{u"n"_s, withCredit}}).toDouble();
    const QString account = QString::number(patients[2]);
    insertRecord(db, u"HAREKET"_s,
                 {{u"HAREKNO"_s, takeMovementNumber(db)}, {u"CARIKOD"_s, account}, {u"ALSATNO"_s, withCredit},
                  {u"TUR"_s, u"M"_s}, {u"ALSAT"_s, u"S"_s}, {u"TARIH"_s, changed.addDays(4)}, {u"BORC"_s, share},
                  {u"BILGI"_s, u"Reçete Hasta Katılım Payı"_s}, {u"NIHAI"_s, 0}});
    changeAccountDebt(db, account, share);
    tx.commit();
}

}  // namespace selvar
