#include "prescriptions/recete_ssk_logic.h"

#include "companion/companion.h"
#include "core/dates.h"
#include "core/format.h"
#include "core/turkish.h"
#include "data/counters.h"
#include "data/database.h"
#include "data/dialect.h"
#include "data/operations.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/retry.h"
#include "platform/session.h"
#include "prescriptions/patients.h"
#include "prescriptions/satis_ssk_logic.h"
#include "prescriptions/ssk_codes.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
const QStringList kHeadings{u"BAS1"_s, u"BAS2"_s, u"BAS3"_s};
bool sameText(const QVariant& a, const QVariant& b) { return a.toString().trimmed() == b.toString().trimmed(); }

QString classOfCard(const QVariantMap& card)
{
    const QString s = card.value(u"SINIF"_s).toString();
    if (s == u"Ç"_s || s == u"E"_s || s == u"R"_s || s == u"D"_s) return s;
    return u"N"_s;  // no "Y" in this window: one class is always chosen
}

QVariant normalized(const QString& table, const QString& name, const QVariant& value)
{
    const FieldDef* f = tableDef(table).field(name);
    if (!f) throw DbError(table + u".DB tablosunda alan yok: "_s + name);
    return normalizeValue(*f, value);
}
}  // namespace

Bucket sskBucketOf(const QString& type)
{
    if (type == u"I"_s) return Bucket::WithMedicine;
    if (type == u"O"_s) return Bucket::Special;
    return Bucket::Normal;
}

ReceteSskLogic::ReceteSskLogic(Session& session) : session_(session) {}

QString ReceteSskLogic::text(const QString& name) const
{
    const QVariant v = rec_.value(name);
    if (v.typeId() == QMetaType::QDate) return dateText(v.toDate());
    return v.toString();
}

QString ReceteSskLogic::sskText(const QString& name) const
{
    const QVariant v = ssk_.value(name);
    if (v.typeId() == QMetaType::QDate) return dateText(v.toDate());
    return v.toString();
}

void ReceteSskLogic::setField(const QString& name, const QVariant& value)
{
    rec_.insert(tableDef(u"RECETE"_s).field(name) ? tableDef(u"RECETE"_s).field(name)->name : name,
                normalized(u"RECETE"_s, name, value));
}

void ReceteSskLogic::setSskField(const QString& name, const QVariant& value)
{
    ssk_.insert(name, normalized(u"RECSSK"_s, name, value));
}

// ---------------------------------------------------------------- opening

void ReceteSskLogic::open(int mode, const QString& dateText_, double saleNo)
{
    mode_ = mode;
    saleNo_ = saleNo;
    rowId_ = sskRowId_ = 0;
    rec_.clear();
    ssk_.clear();
    institutionBox_.clear();
    institution_ = {};
    patientName_.clear();
    patientSurname_.clear();
    patientState_ = insuredState_ = CardState::NotLookedUp;
    patientNo_ = insuredNo_ = 0;
    rememberedRegistration_.clear();
    classLetter_ = u"N"_s;
    oldNet_ = 0;
    stored_ = false;
    result_ = 0;
    setIllness(false);
    Database& db = session_.db;
    if (mode_ == 0) {
        const QVariant rid = Sql::scalar(db, u"SELECT "_s + db.dialect().rowId() + u" FROM RECETE WHERE SATISNO = :n ORDER BY "_s
                                                 + db.dialect().rowId() + u" LIMIT 1"_s,
                                         {{u"n"_s, saleNo}});
        if (!rid.isNull()) {
            rowId_ = rid.toLongLong();
            rec_ = readRecord(db, u"RECETE"_s, rowId_);
            institutionBox_ = text(u"KURUMKOD"_s);
            oldNet_ = number(u"NET"_s);
            patientNo_ = field(u"HASTANO"_s).toLongLong();
            classLetter_ = classOfCard({{u"SINIF"_s, text(u"HASTATIP"_s)}});
            const QVariantMap card = patientCard(db, patientNo_);
            if (!card.isEmpty()) {
                patientName_ = card.value(u"HASTADI"_s).toString();
                patientSurname_ = card.value(u"HASTASOYAD"_s).toString();
                patientState_ = CardState::KnownByName;
            }
        }
        const QVariant srid = Sql::scalar(db, u"SELECT "_s + db.dialect().rowId() + u" FROM RECSSK WHERE SATISNO = :n ORDER BY "_s
                                                  + db.dialect().rowId() + u" LIMIT 1"_s,
                                          {{u"n"_s, saleNo}});
        if (!srid.isNull()) {
            sskRowId_ = srid.toLongLong();
            ssk_ = readRecord(db, u"RECSSK"_s, sskRowId_);
            rememberedRegistration_ = sskText(u"SICILNO"_s);
            // A family shares the number: the card of the insured's own name holding it
            // first, so a member's card is never taken (and renamed) for his.
            const qint64 byName = patientByName(db, sskText(u"RS_AD"_s), sskText(u"RS_SOYAD"_s));
            const bool own = byName > 0
                             && patientCard(db, byName).value(u"SICILNO"_s).toString().trimmed() == rememberedRegistration_.trimmed();
            insuredNo_ = own ? byName : patientByRegistration(db, rememberedRegistration_);
            if (insuredNo_ > 0) insuredState_ = CardState::KnownByName;
        }
    }
    if (rowId_ == 0) {
        // A new prescription, or a sale whose prescription row is missing: it is
        // registered under the sale's number, never on another prescription's row.
        const DateInput d = parseDateText(dateText_);
        const QDate prescribed = maskedDateIsBlank(dateText_) || !d.isValid() ? session_.clock.today() : d.date;
        setField(u"RECTARIH"_s, prescribed);
        setField(u"ALTARIH"_s, prescribed);
    }
    computeGross();
    computeShares();
}

QString ReceteSskLogic::invoiceNotice() const
{
    const QString invoice = text(u"FATURANO"_s);
    if (invoice.isEmpty()) return {};
    return u"Bu Reçete"_s + text(u"FATARIH"_s) + u"Tarihli"_s + invoice + u"Nolu Faturaya dahildir"_s;
}

QString ReceteSskLogic::headingLabel(int i) const
{
    return institution_.found && i >= 0 && i < 3 ? institution_.labels.value(i) : QString();
}

void ReceteSskLogic::setClassLetter(const QString& letter)
{
    if (letter == classLetter_) return;
    classLetter_ = letter;
    computeShares();
}

QString ReceteSskLogic::statusItem() const { return sskItemOf(sskStatusItems(), sskText(u"DURUM_KOD"_s)); }
void ReceteSskLogic::setStatusItem(const QString& item) { setSskField(u"DURUM_KOD"_s, item.left(1)); }
QString ReceteSskLogic::relationshipItem() const { return sskItemOf(sskRelationshipItems(), sskText(u"YAKINLIK_KOD"_s)); }
void ReceteSskLogic::setRelationshipItem(const QString& item) { setSskField(u"YAKINLIK_KOD"_s, item.left(1)); }
QString ReceteSskLogic::countryItem() const { return sskItemOf(sskCountryItems(), sskText(u"ULKE_KOD"_s), 2); }
void ReceteSskLogic::setCountryItem(const QString& item) { setSskField(u"ULKE_KOD"_s, item.left(2)); }

QString ReceteSskLogic::doctorCodeText() const
{
    const qint64 code = field(u"DRKOD"_s).toLongLong();
    return code > 0 ? QString::number(code) : QString();
}

// ---------------------------------------------------------------- computing

QList<SskPrescriptionLine> ReceteSskLogic::lines(bool withCodes) const
{
    QList<SskPrescriptionLine> r;
    Database& db = session_.db;
    const bool withInstitution = !institutionBox_.trimmed().isEmpty();
    for (const SskLine& s : readSskLines(db)) {
        SskPrescriptionLine l;
        l.no = s.no;
        l.name = s.name;
        l.productNo = s.productNo;
        l.type = s.type;
        l.vat = s.vat;
        l.quantity = s.quantity;
        l.price = s.price;
        l.amount = s.amount();
        const Bucket b = sskBucketOf(s.type);
        if (withInstitution) {
            (b == Bucket::WithMedicine ? l.i : b == Bucket::Special ? l.o : l.n) = l.amount;
            l.part = institutionPart(l.amount, b, institution_, classLetter_);
        } else {
            l.part = l.amount;
        }
        l.vatOfPart = l.part * l.vat / (l.vat + 100);
        if (!withCodes) {
            r << l;
            continue;
        }
        Sql p(db, u"SELECT ILACKOD, ILACAD FROM URUN WHERE ILACNO = :n"_s);
        p.bind(u"n"_s, s.productNo).exec();
        QString code, name = s.name;
        if (p.next()) {
            code = p.text(0);
            if (!p.text(1).isEmpty()) name = p.text(1);
        }
        l.code = printedProductCode(code, name);
        l.form = dosageForm(l.code);
        r << l;
    }
    return r;
}

void ReceteSskLogic::computeGross()
{
    std::array<double, 3> gross{};
    for (const SskLine& l : readSskLines(session_.db)) gross[size_t(sskBucketOf(l.type))] += l.amount();
    setField(u"BRUTN"_s, gross[0]);
    setField(u"BRUTI"_s, gross[1]);
    setField(u"BRUTO"_s, gross[2]);
    setField(u"NET"_s, gross[0] + gross[1] + gross[2]);
}

void ReceteSskLogic::computeShares()
{
    // The card is read again when the code changes (and at open and after F5, where it
    // may have been edited); every other change only computes.
    if (!institution_.found || sortKey(institution_.code) != sortKey(institutionBox_.trimmed()))
        institution_ = loadInstitution(session_.db, institutionBox_);
    if (!institution_.found) institutionBox_.clear();
    const std::array<double, BucketCount> gross{number(u"BRUTN"_s), number(u"BRUTI"_s), number(u"BRUTO"_s), 0, 0};
    shares_ = selvar::computeShares(gross, institution_, classLetter_);
    setField(u"HASTAKATPAY"_s, shares_.share());
    setField(u"NET"_s, shares_.net());
}

QStringList ReceteSskLogic::shownShareRates() const
{
    QStringList r;
    for (int b = 0; b < 3; ++b) r << (institution_.found ? shownRate(shares_.buckets[size_t(b)].shareRate) : QString());
    return r;
}

QStringList ReceteSskLogic::shownDiscountRates() const
{
    QStringList r;
    for (int b = 0; b < 3; ++b) r << (institution_.found ? shownRate(shares_.buckets[size_t(b)].discountRate) : QString());
    return r;
}

void ReceteSskLogic::putVat(QVariantMap& rec) const
{
    Sql k(session_.db, u"SELECT KDV1, KDV2, KDV3 FROM KDV LIMIT 1"_s);
    k.exec();
    double a = 0, b = 0, c = 0;
    if (k.next()) {
        const double r1 = k.number(0), r2 = k.number(1), r3 = k.number(2);
        for (const SskPrescriptionLine& l : lines(false)) {
            if (l.vat == r1) a += l.vatOfPart;
            else if (l.vat == r2) b += l.vatOfPart;
            else if (l.vat == r3) c += l.vatOfPart;
        }
    }
    rec.insert(u"KDVA"_s, a);
    rec.insert(u"KDVB"_s, b);
    rec.insert(u"KDVC"_s, c);
}

void ReceteSskLogic::computeVat() { putVat(rec_); }

// ---------------------------------------------------------------- boxes and keys

void ReceteSskLogic::institutionLeft() { computeShares(); }

void ReceteSskLogic::chooseInstitution()
{
    if (!session_.companion) return;
    const QString code = session_.companion->BrKurumCreate(1);
    if (code.isEmpty()) return;
    institutionBox_ = code;
    institution_ = {};
    computeShares();
}

void ReceteSskLogic::copyPatientCard(const QVariantMap& card, bool takeRecordFields)
{
    patientName_ = card.value(u"HASTADI"_s).toString();
    patientSurname_ = card.value(u"HASTASOYAD"_s).toString();
    institutionBox_ = card.value(u"KURUM"_s).toString();
    patientNo_ = card.value(u"HASTANO"_s).toLongLong();
    classLetter_ = classOfCard(card);
    if (takeRecordFields) {
        rec_.insert(u"HASTANO"_s, patientNo_);
        if (!institutionBox_.trimmed().isEmpty())
            for (const QString& h : kHeadings) setField(h, card.value(h));
    }
}

void ReceteSskLogic::patientNameLeft()
{
    const qint64 found = patientByName(session_.db, patientName_, patientSurname_);
    if (patientName_.trimmed().isEmpty() || patientSurname_.trimmed().isEmpty()) return;
    if (found == 0) {
        patientState_ = CardState::New;
        return;
    }
    const bool chosen = patientState_ == CardState::Chosen;
    qint64 use = found;
    if (mode_ == 1 && !chosen) patientState_ = CardState::KnownByName;
    else if (patientNo_ > 0 && found != patientNo_) use = patientNo_;  // another card of the same name
    copyPatientCard(patientCard(session_.db, use), mode_ == 1 || chosen);
    computeShares();
}

void ReceteSskLogic::choosePatient()
{
    if (!session_.companion) return;
    const qint64 no = session_.companion->BrHastaCreate(1);
    const QVariantMap card = patientCard(session_.db, no);
    if (card.isEmpty()) return;
    patientState_ = CardState::Chosen;
    copyPatientCard(card, true);
    computeShares();
}

void ReceteSskLogic::takeInsuredCard(const QVariantMap& card)
{
    insuredNo_ = card.value(u"HASTANO"_s).toLongLong();
    setSskField(u"SICILNO"_s, card.value(u"SICILNO"_s));
    setSskField(u"MEMUNITNO"_s, card.value(u"KM_UNITNO"_s));
    setSskField(u"ISYERNO"_s, card.value(u"ISYERINO"_s));
}

void ReceteSskLogic::insuredNameLeft()
{
    if (insuredName().trimmed().isEmpty() && insuredSurname().trimmed().isEmpty()) return;
    Database& db = session_.db;
    const qint64 found = patientByName(db, insuredName(), insuredSurname());
    if (found == 0) {
        insuredState_ = CardState::New;
        insuredNo_ = 0;
        computeShares();
        return;
    }
    QVariantMap card = patientCard(db, found);
    if (!(mode_ == 1 && insuredState_ != CardState::Chosen)
        && card.value(u"SICILNO"_s).toString().trimmed() != rememberedRegistration_.trimmed()) {
        // Family members share a name now and then: the card of the remembered number.
        const qint64 remembered = patientByRegistration(db, rememberedRegistration_);
        if (remembered > 0) card = patientCard(db, remembered);
    }
    insuredState_ = CardState::KnownByName;
    takeInsuredCard(card);
    computeShares();
}

void ReceteSskLogic::chooseInsured()
{
    if (!session_.companion) return;
    const qint64 no = session_.companion->BrHastaCreate(1);
    const QVariantMap card = patientCard(session_.db, no);
    if (card.isEmpty()) return;
    rememberedRegistration_ = card.value(u"SICILNO"_s).toString();
    setSskField(u"RS_AD"_s, card.value(u"HASTADI"_s));
    setSskField(u"RS_SOYAD"_s, card.value(u"HASTASOYAD"_s));
    takeInsuredCard(card);
    insuredState_ = CardState::Chosen;
    computeShares();
}

void ReceteSskLogic::chooseDoctor()
{
    if (!session_.companion) return;
    const qint64 code = session_.companion->BrDoktorCreate(1);
    const DoctorCard d = doctorCard(session_.db, code);
    if (!d.found) return;
    rec_.insert(u"DRKOD"_s, code);
    setSskField(u"DRUNITNO"_s, d.unit);
}

void ReceteSskLogic::doctorCodeCleared() { rec_.insert(u"DRKOD"_s, QVariant()); }

void ReceteSskLogic::prescriptionDateLeft() { rec_.insert(u"ALTARIH"_s, rec_.value(u"RECTARIH"_s)); }

void ReceteSskLogic::receiptDateLeft()
{
    const QDate prescribed = field(u"RECTARIH"_s).toDate(), received = field(u"ALTARIH"_s).toDate();
    if (prescribed.isValid() && received.isValid() && prescribed.daysTo(received) > 4)
        session_.prompter.warning(u"Reçetenin günü geçmiş!!!"_s);
}

void ReceteSskLogic::chooseDate(const QString& name)
{
    if (!session_.companion) return;
    const double chosen = session_.companion->DateAl1(toDateTimeReal(session_.clock.today()));
    if (chosen <= 0) return;
    const QDate d = fromDateTimeReal(chosen).date();
    if (name == u"RECTARIH"_s || name == u"ALTARIH"_s) setField(name, d);
    else setSskField(name, d);
    if (name == u"RECTARIH"_s) prescriptionDateLeft();
}

// ---------------------------------------------------------------- store

bool ReceteSskLogic::dataComplete() const
{
    return !patientName_.trimmed().isEmpty() && !patientSurname_.trimmed().isEmpty() && !insuredName().trimmed().isEmpty()
           && !insuredSurname().trimmed().isEmpty() && !sskText(u"DURUM_KOD"_s).trimmed().isEmpty()
           && !sskText(u"YAKINLIK_KOD"_s).trimmed().isEmpty();
}

bool ReceteSskLogic::printDataComplete() const { return dataComplete(); }

QVariantMap ReceteSskLogic::patientCardValues() const
{
    QVariantMap c{{u"HASTADI"_s, patientName_.trimmed()}, {u"HASTASOYAD"_s, patientSurname_.trimmed()},
                  {u"KURUM"_s, institutionBox_}, {u"SINIF"_s, classLetter_}};
    for (const QString& h : kHeadings) c.insert(h, rec_.value(h));
    return c;
}

QVariantMap ReceteSskLogic::insuredCardValues() const
{
    return {{u"HASTADI"_s, insuredName().trimmed()},          {u"HASTASOYAD"_s, insuredSurname().trimmed()},
            {u"KURUM"_s, institutionBox_},                    {u"SICILNO"_s, digitsOf(sskText(u"SICILNO"_s))},
            {u"KM_UNITNO"_s, digitsOf(sskText(u"MEMUNITNO"_s))}, {u"ISYERINO"_s, digitsOf(sskText(u"ISYERNO"_s))},
            {u"SINIF"_s, classLetter_}};
}

bool ReceteSskLogic::patientCardDiffers(const QVariantMap& card) const
{
    const QVariantMap now = patientCardValues();
    for (auto it = now.cbegin(); it != now.cend(); ++it)
        if (it.key() != u"SINIF"_s && !sameText(card.value(it.key()), it.value())) return true;
    return classOfCard(card) != classLetter_;
}

bool ReceteSskLogic::insuredCardDiffers(const QVariantMap& card) const
{
    const QVariantMap now = insuredCardValues();
    for (const char* f : {"HASTADI", "HASTASOYAD", "KURUM", "SICILNO", "KM_UNITNO", "ISYERINO"})
        if (!sameText(card.value(QString::fromLatin1(f)), now.value(QString::fromLatin1(f)))) return true;
    return false;
}

void ReceteSskLogic::reduceCodes(QVariantMap& rec, QVariantMap& ssk) const
{
    for (const char* f : {"SERINO", "PROTOKOLNO"}) {
        const QString n = QString::fromLatin1(f);
        const QString d = digitsOf(rec.value(n).toString());
        rec.insert(n, d.isEmpty() ? QVariant() : QVariant(d));
    }
    for (const char* f : {"SICILNO", "MEMUNITNO", "DRUNITNO", "ISYERNO", "KARANTINA", "SAGKURNO"}) {
        const QString n = QString::fromLatin1(f);
        const QString d = digitsOf(ssk.value(n).toString());
        ssk.insert(n, d.isEmpty() ? QVariant() : QVariant(d));
    }
}

ReceteSskLogic::StoreResult ReceteSskLogic::store()
{
    Prompter& ui = session_.prompter;
    if (patientState_ == CardState::NotLookedUp) patientNameLeft();
    if (insuredState_ == CardState::NotLookedUp) insuredNameLeft();
    if (!dataComplete()) {
        ui.warning(SskDataMissing);
        return StoreResult::Stopped;
    }
    if (!field(u"RECTARIH"_s).toDate().isValid()) setField(u"RECTARIH"_s, session_.clock.today());
    if (!field(u"ALTARIH"_s).toDate().isValid()) setField(u"ALTARIH"_s, session_.clock.today());
    Database& db = session_.db;

    // Every question first: nothing is written before the last answer.
    const bool patientKnown = (patientState_ == CardState::KnownByName || patientState_ == CardState::Chosen) && patientNo_ > 0;
    bool updatePatient = false;
    if (patientKnown) {
        const QVariantMap card = patientCard(db, patientNo_);
        if (!card.isEmpty() && patientCardDiffers(card)) {
            const Answer a = ui.ask(u"Hastanın Kart Bilgileriyle Bu Reçetedeki Bilgileri Farklı,Bu Bilgiler Hastanın "
                                    u"Kartına İşlensin mi?"_s,
                                    Buttons::YesNoCancel);
            if (a == Answer::Cancel) return StoreResult::Stopped;
            updatePatient = a == Answer::Yes;
        }
    }
    const bool insuredKnown = (insuredState_ == CardState::KnownByName || insuredState_ == CardState::Chosen) && insuredNo_ > 0;
    bool updateInsured = false;
    if (insuredKnown) {
        const QVariantMap card = patientCard(db, insuredNo_);
        if (!card.isEmpty() && insuredCardDiffers(card)) {
            const Answer a = ui.ask(u"Sigortalı Kart Bilgileriyle Bu Reçetedeki Bilgiler Farklı,Yeni Bilgiler Sigortalının "
                                    u"Kartına İşlensin mi?"_s,
                                    Buttons::YesNoCancel);
            if (a == Answer::Cancel) return StoreResult::Stopped;
            updateInsured = a == Answer::Yes;
        }
    }
    const bool newRow = rowId_ == 0;
    const bool provisional = newRow || text(u"RKDEFTERNO"_s).toUpper() >= u"XX0000000"_s;
    bool finalNumber = false;
    if (provisional) finalNumber = ui.ask(u"Reçete Kayıt Defterine Kaydedilsin mi?"_s, Buttons::YesNo) == Answer::Yes;

    // The patient who is his own insured, both new: one card with both.
    const bool samePerson = !patientKnown && !insuredKnown && trUpper(patientName_.trimmed()) == trUpper(insuredName().trimmed())
                            && trUpper(patientSurname_.trimmed()) == trUpper(insuredSurname().trimmed());
    QVariantMap rec, ssk;
    qint64 patientNo = 0, insuredNo = 0;
    withLockRetry(ui, CounterBusyMessage, [&] {
        rec = rec_;
        ssk = ssk_;
        patientNo = patientNo_;
        insuredNo = insuredNo_;
        Transaction tx(db);
        QVariantMap patient = patientCardValues();
        if (samePerson) patient.insert(insuredCardValues());
        if (!patientKnown) patientNo = insertRecord(db, u"HASTA"_s, patient);
        else if (updatePatient) updateRecord(db, u"HASTA"_s, patientNo, patient);
        if (samePerson) insuredNo = patientNo;
        else if (!insuredKnown) insuredNo = insertRecord(db, u"HASTA"_s, insuredCardValues());
        else if (updateInsured) updateRecord(db, u"HASTA"_s, insuredNo, insuredCardValues());
        rec.insert(u"HASTANO"_s, patientNo);
        rec.insert(u"HASTATIP"_s, classLetter_);
        rec.insert(u"KURUMKOD"_s, institutionBox_.isEmpty() ? QVariant() : QVariant(institutionBox_));
        if (newRow) {
            rec.insert(u"RKDEFTERNO"_s, takeProvisionalBookNumber(db));
            rec.insert(u"SATISNO"_s, mode_ == 1 ? takeSaleNumber(db) : saleNo_);
        }
        const double saleNo = rec.value(u"SATISNO"_s).toDouble();
        putVat(rec);
        reduceCodes(rec, ssk);
        const qint64 row = newRow ? insertRecord(db, u"RECETE"_s, rec) : rowId_;
        if (!newRow) updateRecord(db, u"RECETE"_s, rowId_, rec);
        if (afterPost_) afterPost_();
        ssk.insert(u"SATISNO"_s, saleNo);
        if (ssk.value(u"HASTALIK"_s).toString() != u"1"_s) ssk.insert(u"HASTALIK"_s, u" "_s);
        if (sskRowId_ == 0) insertRecord(db, u"RECSSK"_s, ssk);
        else updateRecord(db, u"RECSSK"_s, sskRowId_, ssk);
        if (mode_ == 0)
            appendOperationLog(db, session_.clock.now(), patientName_.trimmed() + u' ' + patientSurname_.trimmed(),
                               u"Reç. Düzeltme"_s, saleNo, oldNet_);
        if (finalNumber && rec.value(u"RKDEFTERNO"_s).toString().toUpper() >= u"XX0000000"_s)
            rec.insert(u"RKDEFTERNO"_s, giveFinalBookNumber(db, row, rec.value(u"ALTARIH"_s).toDate().year()));
        if (recordLines_) recordLines_(saleNo);
        tx.commit();
    });
    rec_ = rec;
    ssk_ = ssk;
    patientNo_ = patientNo;
    insuredNo_ = insuredNo;
    result_ = rec_.value(u"SATISNO"_s).toDouble();
    stored_ = true;
    return StoreResult::Stored;
}

QString ReceteSskLogic::shownAmount(double v) const { return institution_.found ? moneyText(v) : QString(); }

}  // namespace selvar
