#include "prescriptions/demo_ssk.h"

#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "prescriptions/recete_ssk_logic.h"
#include "prescriptions/satis_ssk_logic.h"
#include "prescriptions/ssk_codes.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
// The pharmacist at the demo's counter: every prescription goes into the book, the cards
// stay as they are.
class DemoPrompter final : public Prompter {
public:
    Answer message(MessageKind, const QString& text, Buttons) override
    {
        return text.startsWith(u"Reçete Kayıt Defterine"_s) ? Answer::Yes : Answer::No;
    }
    void beep() override {}
};

struct Family {
    QString insuredName, surname, registration, unit, workplace;
    QStringList members;  // spouse, children, parents: the patients under the same number
};

const QList<Family> kFamilies = {
    {u"Murat"_s, u"Demirtaş"_s, u"4411223"_s, u"210"_s, u"34001"_s, {u"Zehra"_s, u"Can"_s, u"Elif"_s}},
    {u"Kemal"_s, u"Acar"_s, u"5522334"_s, u"118"_s, u"06020"_s, {u"Nuray"_s, u"Berk"_s, u"Selin"_s, u"Hüsnü"_s}},
    {u"Recep"_s, u"Güler"_s, u"6633445"_s, u"305"_s, u"35011"_s, {u"Hacer"_s, u"Emre"_s, u"Derya"_s, u"Naciye"_s}},
    {u"Sevda"_s, u"Tunç"_s, u"7744556"_s, u"412"_s, u"16007"_s, {u"Orhan"_s, u"Mert"_s}},
};

struct Product {
    qint64 no = 0;
    QString name;
    double price = 0, vat = 0;
    QString type;
};

QList<Product> products(Database& db, const QString& where)
{
    QList<Product> r;
    Sql q(db, u"SELECT ILACNO, ILACAD, FIYAT, KDV, RECETEKOD FROM URUN WHERE "_s + where + u" ORDER BY ILACNO"_s);
    q.exec();
    while (q.next()) r << Product{q.integer(0), q.text(1), q.number(2), q.number(3), q.text(4)};
    return r;
}
// One prescription of a family at the counter and in the book, as the windows store it.
struct DemoSsk {
    Database& db;
    DemoPrompter prompter;
    FixedClock clock;
    Session session;
    SatisSskLogic sale;
    QList<Product> normal, special, unbarcoded;
    DemoSsk(Database& d, const QDate& today)
        : db(d), clock(QDateTime(today, QTime(9, 0))), session(d, prompter, clock), sale(session, nullptr, {}),
          normal(products(d, u"RECETEKOD = 'N' AND FIYAT > 0 AND ILACKOD IS NOT NULL"_s)),
          special(products(d, u"RECETEKOD IN ('O', 'I') AND FIYAT > 0"_s)),
          unbarcoded(products(d, u"RECETEKOD = 'N' AND FIYAT > 0 AND (ILACKOD IS NULL OR ILACKOD = '')"_s))
    {
    }
    bool usable() const { return normal.size() >= 10 && !special.isEmpty(); }
    // n varies the family, the products and the counts; status and relation are list
    // items; `withSpecial` adds a line of an "O" or "I" product. `loose` 1 adds a product
    // without a barcode, 2 gives only such products.
    void store(int n, const QDate& day, const QString& status, const QString& relation, bool illness, bool withSpecial,
               int loose = 0)
    {
        const Family& f = kFamilies[n % kFamilies.size()];
        // The insured himself, or one of the family, as the relationship says.
        const bool self = relation.startsWith(u'0');
        const QString patient = self ? f.insuredName : f.members[n % f.members.size()];
        clock.set(QDateTime(day, QTime(9 + n % 8, (n * 17) % 60)));
        Sql::run(db, u"DELETE FROM SATEMSSK"_s);
        const int count = 1 + n % 3;
        for (int l = 1; l <= count; ++l) {
            const Product& p = loose == 2 && !unbarcoded.isEmpty() ? unbarcoded[(n + l) % unbarcoded.size()]
                                                                   : normal[(n * 11 + l * 7) % normal.size()];
            const bool equivalent = n % 5 == 2 && l == 1;
            const Product& written = normal[(n * 11 + l * 7 + 1) % normal.size()];
            insertRecord(db, u"SATEMSSK"_s,
                         {{u"SIRANO"_s, l}, {u"URUNAD"_s, p.name}, {u"URUNO"_s, p.no}, {u"RECKOD"_s, p.type},
                          {u"KDV"_s, p.vat}, {u"GUN_KUL"_s, QString::number(1 + (n + l) % 3)}, {u"BIRKUL_ALMIK"_s, u"  1"_s},
                          {u"MIKTAR"_s, 1 + (n + l) % 2}, {u"FIYAT"_s, p.price},
                          {u"REC_ILACNO"_s, equivalent ? QVariant(written.no) : QVariant()},
                          {u"REC_ILACAD"_s, equivalent ? QVariant(written.name) : QVariant()},
                          {u"ESDEGERGK"_s, equivalent ? QVariant(u"001"_s) : QVariant()}});
        }
        if (loose == 1 && !unbarcoded.isEmpty()) {
            const Product& p = unbarcoded[n % unbarcoded.size()];
            insertRecord(db, u"SATEMSSK"_s,
                         {{u"SIRANO"_s, count + 1}, {u"URUNAD"_s, p.name}, {u"URUNO"_s, p.no}, {u"RECKOD"_s, p.type},
                          {u"KDV"_s, p.vat}, {u"GUN_KUL"_s, u"2"_s}, {u"BIRKUL_ALMIK"_s, u"  1"_s}, {u"MIKTAR"_s, 1},
                          {u"FIYAT"_s, p.price}});
        }
        if (withSpecial && loose != 1) {
            const Product& p = special[n % special.size()];
            insertRecord(db, u"SATEMSSK"_s,
                         {{u"SIRANO"_s, count + 1}, {u"URUNAD"_s, p.name}, {u"URUNO"_s, p.no}, {u"RECKOD"_s, p.type},
                          {u"KDV"_s, p.vat}, {u"GUN_KUL"_s, u"1"_s}, {u"BIRKUL_ALMIK"_s, u"  1"_s}, {u"MIKTAR"_s, 1},
                          {u"FIYAT"_s, p.price}});
        }
        ReceteSskLogic r(session);
        r.open(1, QString(), 0);
        r.setRelationshipItem(relation);
        r.setStatusItem(status);
        r.setPatientName(patient);
        r.setPatientSurname(f.surname);
        r.patientNameLeft();
        r.setInstitutionBox(u"SSK"_s);
        r.setClassLetter(status.startsWith(u'2') || status.startsWith(u'6') ? u"E"_s : u"Ç"_s);
        r.setInsuredName(f.insuredName);
        r.setInsuredSurname(f.surname);
        r.insuredNameLeft();
        r.setField(u"SERINO"_s, QString::number(5000100 + n * 37));
        r.setField(u"PROTOKOLNO"_s, QString::number(26000 + n * 13));
        r.setField(u"DRKOD"_s, 1 + n % 12);
        r.setField(u"RECTARIH"_s, day.addDays(-(n % 2)));
        r.setField(u"ALTARIH"_s, day);
        r.setIllness(illness);
        if (status.startsWith(u'4') || status.startsWith(u'8')) r.setCountryItem(sskCountryItems()[n % sskCountryItems().size()]);
        if (n % 3 == 0) r.setSskField(u"GUNKULACIK"_s, u"Günde 3x1"_s);
        r.computeGross();
        r.computeShares();
        r.setLinesRecorder([this](double saleNo) { sale.recordLines(saleNo); });
        r.store();
        Sql::run(db, u"DELETE FROM SATEMSSK"_s);
    }
};
}  // namespace

void addDemoSskPrescriptions(Database& db, const QDate& today)
{
    DemoSsk demo(db, today);
    if (!demo.usable()) return;
    // The families' cards: the insured and the members under his number.
    for (const Family& f : kFamilies) {
        insertRecord(db, u"HASTA"_s,
                     {{u"HASTADI"_s, f.insuredName}, {u"HASTASOYAD"_s, f.surname}, {u"KURUM"_s, u"SSK"_s},
                      {u"SINIF"_s, u"Ç"_s}, {u"SICILNO"_s, f.registration}, {u"KM_UNITNO"_s, f.unit},
                      {u"ISYERINO"_s, f.workplace}, {u"BORC"_s, 0.0}});
        for (const QString& m : f.members)
            insertRecord(db, u"HASTA"_s,
                         {{u"HASTADI"_s, m}, {u"HASTASOYAD"_s, f.surname}, {u"KURUM"_s, u"SSK"_s}, {u"SINIF"_s, u"Ç"_s},
                          {u"SICILNO"_s, f.registration}, {u"BORC"_s, 0.0}});
    }
    const QDate firstOfLastMonth = QDate(today.year(), today.month(), 1).addMonths(-1);
    const QStringList& statuses = sskStatusItems();
    const QStringList& relations = sskRelationshipItems();
    for (int n = 0; n < 25; ++n)
        demo.store(n, firstOfLastMonth.addDays(n * firstOfLastMonth.daysInMonth() / 26), statuses[n % statuses.size()],
                   relations[n % relations.size()], n % 6 == 3, n % 4 == 1);
}

void addDemoSskGroups(Database& db, const QDate& firstDay, int count, bool loose)
{
    DemoSsk demo(db, firstDay);
    if (!demo.usable()) return;
    const QStringList& statuses = sskStatusItems();
    const QStringList& relations = sskRelationshipItems();
    // Civil servants, workers, pensioners, the exempt and the ill, every one of the
    // print groups 0, 2, 4, 6 and 8 with "I" and "O" lines.
    struct Kind {
        int status, relation;
        bool illness;
    };
    static const QList<Kind> kinds{{2, 0, false}, {0, 0, false}, {1, 0, false}, {4, 0, false}, {0, 0, true}, {5, 0, false}};
    for (int i = 0; i < count; ++i) {
        const Kind& k = kinds[i % kinds.size()];
        // With `loose`, the workers' prescriptions of the month have products without a
        // barcode: the first one beside barcoded ones, the second alone.
        const int kind = !loose ? 0 : (i == 1 ? 1 : (i == 4 ? 2 : 0));
        demo.store(100 + firstDay.month() * 20 + i, firstDay.addDays(i * firstDay.daysInMonth() / (count + 1)),
                   statuses[k.status], relations[k.relation], k.illness, true, kind);
    }
}

}  // namespace selvar
