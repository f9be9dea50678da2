#include "prescriptions/recete_logic.h"

#include "companion/companion.h"
#include "core/dates.h"
#include "core/format.h"
#include "core/turkish.h"
#include "data/counters.h"
#include "data/database.h"
#include "data/operations.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/retry.h"
#include "platform/session.h"
#include "print/canvas.h"
#include "print/geometry.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
const QStringList kHeadings{u"BAS1"_s, u"BAS2"_s, u"BAS3"_s, u"BAS4"_s, u"BAS5"_s, u"BAS6"_s};

bool sameText(const QVariant& a, const QVariant& b) { return a.toString().trimmed() == b.toString().trimmed(); }
bool sameDate(const QVariant& a, const QVariant& b)
{
    const QDate x = a.toDate(), y = b.toDate();
    return (!x.isValid() && !y.isValid()) || x == y;
}
}  // namespace

ReceteLogic::ReceteLogic(Session& session) : session_(session) {}

QString ReceteLogic::text(const QString& name) const
{
    const QVariant v = rec_.value(name);
    if (v.typeId() == QMetaType::QDate) return dateText(v.toDate());
    return v.toString();
}

void ReceteLogic::setField(const QString& name, const QVariant& value)
{
    const FieldDef* f = tableDef(u"RECETE"_s).field(name);
    if (!f) throw DbError(u"RECETE.DB tablosunda alan yok: "_s + name);
    rec_.insert(f->name, normalizeValue(*f, value));
}

void ReceteLogic::open(const QString& bookNo, int mode, const QString& dateText_, double saleNo)
{
    mode_ = mode;
    saleNo_ = saleNo;
    creditEntryNo_ = 0;
    patientNo_ = 0;
    stored_ = false;
    result_ = 0;
    rec_.clear();
    if (mode_ == 1) {
        const DateInput d = parseDateText(dateText_);
        const QDate prescribed = maskedDateIsBlank(dateText_) || !d.isValid() ? session_.clock.today() : d.date;
        setField(u"RECTARIH"_s, prescribed);
        setField(u"ALTARIH"_s, prescribed);
        classLetter_ = u"Ç"_s;
        computeGross();
        return;
    }
    const QVariant rid = Sql::scalar(session_.db, u"SELECT "_s + session_.db.dialect().rowId() + u" FROM RECETE WHERE RKDEFTERNO = :k"_s,
                                    {{u"k"_s, bookNo}});
    if (rid.isNull()) throw DbError(bookNo + u" numaralı reçete kaydı bulunamadı."_s);
    rowId_ = rid.toLongLong();
    rec_ = readRecord(session_.db, u"RECETE"_s, rowId_);
    institutionBox_ = text(u"KURUMKOD"_s);
    oldNet_ = number(u"NET"_s);
    patientNo_ = field(u"HASTANO"_s).toLongLong();
    classLetter_ = text(u"HASTATIP"_s).isEmpty() ? u"Y"_s : text(u"HASTATIP"_s);
    const QVariantMap card = patientCard(patientNo_);
    if (!card.isEmpty()) {
        patientName_ = card.value(u"HASTADI"_s).toString();
        patientSurname_ = card.value(u"HASTASOYAD"_s).toString();
        patientState_ = PatientState::KnownByName;
    }
    Sql dr(session_.db, u"SELECT DRAD, DRSOYAD FROM DR WHERE DRKOD = :k"_s);
    dr.bind(u"k"_s, field(u"DRKOD"_s).toLongLong()).exec();
    if (dr.next()) {
        doctorName_ = dr.text(0);
        doctorSurname_ = dr.text(1);
    }
    computeGross();
    computeShares();
}

QString ReceteLogic::invoiceNotice() const
{
    const QString invoice = text(u"FATURANO"_s);
    return invoice.isEmpty() ? QString() : u"Bu Reçete "_s + invoice + u" Nolu Faturaya dahildir."_s;
}

void ReceteLogic::setClassLetter(const QString& letter)
{
    if (letter == classLetter_) return;
    classLetter_ = letter;
    computeShares();
}

// ---------------------------------------------------------------- computing

QList<PrescriptionLine> ReceteLogic::lines() const { return linesOfClass(text(u"HASTATIP"_s)); }

QList<PrescriptionLine> ReceteLogic::linesOfClass(const QString& cls) const
{
    QList<PrescriptionLine> r;
    // The VAT base of a line uses the rates of the record's stored class.
    const Institution inst = institutionBox_.trimmed().isEmpty() ? Institution{} : institution_;
    for (const SaleLine& s : workingSaleLines(session_.db)) {
        PrescriptionLine l{s, 0};
        const double part = institutionPart(l.quantity * l.price, bucketOf(l.prescriptionType), inst, cls);
        l.vatOfInstitutionPart = part * l.vat / (l.vat + 100);
        r << l;
    }
    return r;
}

void ReceteLogic::computeGross()
{
    std::array<double, BucketCount> gross{};
    for (const SaleLine& l : workingSaleLines(session_.db)) gross[int(bucketOf(l.prescriptionType))] += l.quantity * l.price;
    double total = 0;
    for (int b = 0; b < BucketCount; ++b) {
        rec_.insert(grossField(Bucket(b)), gross[b]);
        total += gross[b];
    }
    rec_.insert(u"NET"_s, total);
    if (mode_ == 1) {
        shares_ = ShareResult{};
        for (int b = 0; b < BucketCount; ++b) shares_.buckets[b].gross = gross[b];
    }
}

Institution ReceteLogic::loadInstitution(const QString& code) const { return selvar::loadInstitution(session_.db, code); }

void ReceteLogic::computeShares()
{
    institution_ = loadInstitution(institutionBox_);
    if (!institution_.found) institutionBox_.clear();
    std::array<double, BucketCount> gross{};
    for (int b = 0; b < BucketCount; ++b) gross[b] = number(grossField(Bucket(b)));
    shares_ = selvar::computeShares(gross, institution_, classLetter_);
    rec_.insert(u"HASTAKATPAY"_s, shares_.share());
    rec_.insert(u"NET"_s, shares_.net());
}

QStringList ReceteLogic::shownShareRates() const
{
    QStringList r;
    for (const BucketShare& b : shares_.buckets) r << (institution_.found ? shownRate(b.shareRate) : QString());
    return r;
}

QStringList ReceteLogic::shownDiscountRates() const
{
    QStringList r;
    for (const BucketShare& b : shares_.buckets) r << (institution_.found ? shownRate(b.discountRate) : QString());
    return r;
}

void ReceteLogic::computeVat() { putVat(rec_); }

void ReceteLogic::putVat(QVariantMap& rec) const
{
    // The VAT base of a line uses the rates of the record's stored class.
    const Institution inst = institutionBox_.trimmed().isEmpty() ? Institution{} : institution_;
    QList<AmountLine> amounts;
    for (const SaleLine& l : workingSaleLines(session_.db))
        amounts << AmountLine{l.quantity * l.price, bucketOf(l.prescriptionType), l.vat};
    const std::array<double, 3> v = vatByRate(session_.db, amounts, inst, rec.value(u"HASTATIP"_s).toString());
    rec.insert(u"KDVA"_s, v[0]);
    rec.insert(u"KDVB"_s, v[1]);
    rec.insert(u"KDVC"_s, v[2]);
}

// ---------------------------------------------------------------- boxes and keys

void ReceteLogic::institutionLeft() { computeShares(); }

void ReceteLogic::chooseInstitution()
{
    if (!session_.companion) return;
    const QString code = session_.companion->BrKurumCreate(1);
    if (code.isEmpty()) return;
    institutionBox_ = code;
    computeShares();
}

QVariantMap ReceteLogic::patientCard(qint64 no) const
{
    if (no <= 0) return {};
    return readRecord(session_.db, u"HASTA"_s, no);
}

QString ReceteLogic::classOfCard(const QVariantMap& card)
{
    const QString s = card.value(u"SINIF"_s).toString();
    if (s == u"N"_s || s == u"Ç"_s || s == u"E"_s || s == u"R"_s || s == u"D"_s) return s;
    return u"Y"_s;
}

void ReceteLogic::copyCard(const QVariantMap& card, bool takeRecordFields)
{
    patientName_ = card.value(u"HASTADI"_s).toString();
    patientSurname_ = card.value(u"HASTASOYAD"_s).toString();
    institutionBox_ = card.value(u"KURUM"_s).toString();
    patientNo_ = card.value(u"HASTANO"_s).toLongLong();
    if (takeRecordFields) {
        rec_.insert(u"HASTANO"_s, patientNo_);
        for (const QString& h : kHeadings) setField(h, card.value(h));
        setField(u"VIZETRH"_s, card.value(u"VIZETRH"_s));
    }
    classLetter_ = classOfCard(card);
}

void ReceteLogic::patientNameLeft()
{
    if (patientName_.trimmed().isEmpty() || patientSurname_.trimmed().isEmpty()) return;
    Table h(session_.db, u"HASTA.DB"_s);
    h.setIndex(u"HAS_AD_SOY"_s);
    if (!h.findKey({patientName_.trimmed(), patientSurname_.trimmed()})) {
        patientState_ = PatientState::New;
        return;
    }
    const qint64 found = h.integer(u"HASTANO"_s);
    const bool chosen = patientState_ == PatientState::Chosen;
    qint64 use = found;
    if (mode_ == 1 && !chosen) patientState_ = PatientState::KnownByName;
    else if (patientNo_ > 0 && found != patientNo_) use = patientNo_;  // another card of the same name
    copyCard(patientCard(use), mode_ == 1 || chosen);
    computeShares();
}

void ReceteLogic::choosePatient()
{
    if (!session_.companion) return;
    const qint64 no = session_.companion->BrHastaCreate(1);
    if (no <= 0) return;
    const QVariantMap card = patientCard(no);
    if (card.isEmpty()) return;
    patientState_ = PatientState::Chosen;
    copyCard(card, true);
    computeShares();
}

void ReceteLogic::doctorCodeLeft(const QString& codeText)
{
    const QString t = codeText.trimmed();
    if (t.isEmpty()) {
        doctorName_.clear();
        doctorSurname_.clear();
        rec_.insert(u"DRKOD"_s, 0);
        return;
    }
    Sql q(session_.db, u"SELECT DRAD, DRSOYAD FROM DR WHERE DRKOD = :k"_s);
    q.bind(u"k"_s, t.toLongLong()).exec();
    if (isDigitsOnly(t) && q.next()) {
        doctorName_ = q.text(0);
        doctorSurname_ = q.text(1);
        rec_.insert(u"DRKOD"_s, t.toLongLong());
        return;
    }
    doctorName_.clear();
    doctorSurname_.clear();
    rec_.insert(u"DRKOD"_s, 0);
    session_.prompter.beep();
}

void ReceteLogic::doctorNameLeft()
{
    if (doctorName_.trimmed().isEmpty() || doctorSurname_.trimmed().isEmpty()) return;
    Table d(session_.db, u"DR.DB"_s);
    d.setIndex(u"DR_AD_SOY"_s);
    if (d.findKey({doctorName_.trimmed(), doctorSurname_.trimmed()})) rec_.insert(u"DRKOD"_s, d.integer(u"DRKOD"_s));
}

void ReceteLogic::chooseDoctor()
{
    if (!session_.companion) return;
    const qint64 code = session_.companion->BrDoktorCreate(1);
    if (code <= 0) return;
    Sql q(session_.db, u"SELECT DRAD, DRSOYAD FROM DR WHERE DRKOD = :k"_s);
    q.bind(u"k"_s, code).exec();
    if (!q.next()) return;
    doctorName_ = q.text(0);
    doctorSurname_ = q.text(1);
    rec_.insert(u"DRKOD"_s, code);
}

void ReceteLogic::prescriptionDateLeft() { rec_.insert(u"ALTARIH"_s, rec_.value(u"RECTARIH"_s)); }

void ReceteLogic::receiptDateLeft()
{
    const QDate prescribed = date(u"RECTARIH"_s), received = date(u"ALTARIH"_s);
    if (prescribed.isValid() && received.isValid() && prescribed.daysTo(received) > 4)
        session_.prompter.warning(u"Reçetenin günü geçmiş!!!"_s);
}

void ReceteLogic::visaLeft(const QString& text)
{
    const DateInput in = parseDateText(text);
    if (in.isBlank()) rec_.insert(u"VIZETRH"_s, QVariant());
    else if (in.isValid()) rec_.insert(u"VIZETRH"_s, in.date);
    else session_.prompter.beep();  // the previous value stays
    doctorNameEntered();
}

void ReceteLogic::doctorNameEntered()
{
    const QDate visa = date(u"VIZETRH"_s), prescribed = date(u"RECTARIH"_s);
    if (visa.isValid() && prescribed.isValid() && visa < prescribed)
        session_.prompter.warning(u"Hasta Vize Tarihinin Günü Geçmiş"_s);
}

QString ReceteLogic::headingLabel(int i) const
{
    return institution_.found && i >= 0 && i < institution_.labels.size() ? institution_.labels[i] : QString();
}

void ReceteLogic::chooseHeading(int i, const std::function<QString()>& pick)
{
    if (i < 0 || i >= 6 || !pick) return;
    const QString v = pick();
    if (!v.isEmpty()) setField(kHeadings[i], v);
}

// ---------------------------------------------------------------- store

QVariantMap ReceteLogic::cardValues() const
{
    QVariantMap c{{u"HASTADI"_s, patientName_.trimmed()}, {u"HASTASOYAD"_s, patientSurname_.trimmed()},
                  {u"KURUM"_s, institutionBox_}, {u"VIZETRH"_s, rec_.value(u"VIZETRH"_s)}, {u"SINIF"_s, classLetter_}};
    for (const QString& h : kHeadings) c.insert(h, rec_.value(h));
    return c;
}

bool ReceteLogic::cardDiffers(const QVariantMap& card) const
{
    const QVariantMap now = cardValues();
    for (const char* f : {"HASTADI", "HASTASOYAD", "KURUM"})
        if (!sameText(card.value(QString::fromLatin1(f)), now.value(QString::fromLatin1(f)))) return true;
    for (const QString& h : kHeadings)
        if (!sameText(card.value(h), now.value(h))) return true;
    if (!sameDate(card.value(u"VIZETRH"_s), now.value(u"VIZETRH"_s))) return true;
    return classOfCard(card) != classLetter_;
}

ReceteLogic::StoreResult ReceteLogic::store()
{
    Prompter& ui = session_.prompter;
    if (patientName_.trimmed().isEmpty() || patientSurname_.trimmed().isEmpty()) {
        ui.warning(u"Hasta Adı Bilgisini vermeden Kayıt Yapılamaz."_s);
        return StoreResult::Stopped;
    }
    const QString book = text(u"RKDEFTERNO"_s);
    const bool provisional = book.toUpper() >= u"XX0000000"_s;
    bool finalNumber = false;
    if (mode_ == 1 || provisional) {
        const Answer a = ui.ask(u"Reçete Kayıt Defterine Kaydedilsin mi?"_s, Buttons::YesNoCancel);
        if (a == Answer::Cancel) return StoreResult::Stopped;
        finalNumber = a == Answer::Yes;
    }
    if (!date(u"RECTARIH"_s).isValid()) setField(u"RECTARIH"_s, session_.clock.today());
    if (!date(u"ALTARIH"_s).isValid()) setField(u"ALTARIH"_s, session_.clock.today());
    if (patientState_ == PatientState::NotLookedUp) patientNameLeft();
    const bool known = patientState_ == PatientState::KnownByName || patientState_ == PatientState::Chosen;
    bool updateCard = false;
    if (known && patientNo_ > 0) {
        const QVariantMap card = patientCard(patientNo_);
        if (!card.isEmpty() && cardDiffers(card)) {
            const Answer a = ui.ask(u"Hastanın Kart Bilgileri ile Bu Reçetedeki Bilgileri Farklı,Bu Reçetedeki bilgiler "
                                    u"Hastanın Kartına İşlensin mi?"_s,
                                    Buttons::YesNoCancel);
            if (a == Answer::Cancel) return StoreResult::Stopped;
            updateCard = a == Answer::Yes;
        }
    }
    const bool newCard = !known || patientNo_ <= 0;
    Database& db = session_.db;
    QVariantMap rec;
    qint64 patientNo = patientNo_;
    // Everything the store writes lands together; a held counter asks to try again.
    withLockRetry(ui, BookCounterBusy, [&] {
        rec = rec_;
        patientNo = patientNo_;
        Transaction tx(db);
        const QVariantMap card = cardValues();
        if (newCard) patientNo = insertRecord(db, u"HASTA"_s, card);
        else if (updateCard) updateRecord(db, u"HASTA"_s, patientNo, card);
        rec.insert(u"HASTANO"_s, patientNo);
        rec.insert(u"HASTATIP"_s, classLetter_);
        rec.insert(u"KURUMKOD"_s, institutionBox_);
        if (mode_ == 1) rec.insert(u"RKDEFTERNO"_s, takeProvisionalBookNumber(db));
        if (!doctorName_.trimmed().isEmpty() && !doctorSurname_.trimmed().isEmpty() && rec.value(u"DRKOD"_s).toLongLong() == 0) {
            // A new doctor card gets the next free code.
            const qint64 code = Sql::scalar(db, u"SELECT COALESCE(MAX(DRKOD), 0) + 1 FROM DR"_s).toLongLong();
            insertRecord(db, u"DR"_s, {{u"DRKOD"_s, code}, {u"DRAD"_s, doctorName_.trimmed()}, {u"DRSOYAD"_s, doctorSurname_.trimmed()}});
            rec.insert(u"DRKOD"_s, code);
        }
        if (mode_ == 1) rec.insert(u"SATISNO"_s, saleNo_ != 0 ? saleNo_ : takeSaleNumber(db));
        const double saleNo = rec.value(u"SATISNO"_s).toDouble();
        if (mode_ == 1 && creditEntryNo_ != 0)
            Sql::run(db, u"UPDATE HAREKET SET ALSATNO = :n WHERE HAREKNO = :h"_s, {{u"n"_s, saleNo}, {u"h"_s, creditEntryNo_}});
        putVat(rec);  // with the class the record now carries
        if (mode_ == 1) rowId_ = insertRecord(db, u"RECETE"_s, rec);
        else updateRecord(db, u"RECETE"_s, rowId_, rec);
        if (mode_ == 0)
            appendOperationLog(db, session_.clock.now(), patientName_.trimmed() + u' ' + patientSurname_.trimmed(),
                               u"Reç. Düzeltme"_s, saleNo, oldNet_);
        if (finalNumber)
            rec.insert(u"RKDEFTERNO"_s, giveFinalBookNumber(db, rowId_, rec.value(u"ALTARIH"_s).toDate().year()));
        if (recordLines_) recordLines_(saleNo);
        tx.commit();
    });
    rec_ = rec;
    patientNo_ = patientNo;
    result_ = rec_.value(u"SATISNO"_s).toDouble();
    stored_ = true;
    return StoreResult::Stored;
}

// ---------------------------------------------------------------- credit entry and close

void ReceteLogic::creditEntry()
{
    if (!creditAllowed() || !session_.companion) return;
    if (patientState_ == PatientState::NotLookedUp) patientNameLeft();
    const bool card = (patientState_ == PatientState::KnownByName || patientState_ == PatientState::Chosen) && patientNo_ > 0;
    if (!card && (institutionBox_.trimmed().isEmpty() || !loadInstitution(institutionBox_).found)) {
        session_.prompter.warning(u"Hasta ve Kurumunun Kartlarda Kaydı Yok.Reçete İçin Otomatik Kaydı Yapılacaktır. Ama "
                                  u"Veresiye İşlemi için Önce Hasta veya Kurumunu Karşılklıklar Önlemek için Kaydetmeniz "
                                  u"Gerekir."_s);
        return;
    }
    QString account, display;
    if (!institutionBox_.trimmed().isEmpty()) {
        account = display = institutionBox_.trimmed();
    } else {
        account = patientNo_ > 0 ? QString::number(patientNo_) : QString();
        display = patientName_.trimmed();
    }
    const QDate received = date(u"ALTARIH"_s);
    QString description = dateText(received) + u" Tarihli Reçeteli Satışın"_s;
    const double net = number(u"NET"_s), share = number(u"HASTAKATPAY"_s), sale = number(u"SATISNO"_s);
    Companion& c = *session_.companion;
    if (creditEntryNo_ != 0) {
        c.VeresiyeAc(display, description, 0, received, creditEntryNo_, net, share, account);
    } else if (mode_ == 1) {
        creditEntryNo_ = c.VeresiyeAc(display, description, 1, received, sale, net, share, account);
    } else {
        c.VeresiyeAc(display, description + u' ', 3, received, sale, net, share, account);
    }
}

void ReceteLogic::closing()
{
    if (stored_ || creditEntryNo_ == 0) return;
    removeCreditEntry(session_.db, creditEntryNo_);
    creditEntryNo_ = 0;
}

// ---------------------------------------------------------------- standard back-print

QString ReceteLogic::shownAmount(double v) const
{
    // Screen cells show currency without decimals; printed, only digits and separators remain.
    return digitsAndSeparators(moneyText(v));
}

bool ReceteLogic::checkPatientForPrint() const
{
    if (!patientName_.trimmed().isEmpty()) return true;
    session_.prompter.warning(u"Lütfen Hasta adını verin!"_s);
    return false;
}

QStringList ReceteLogic::standardBackPrintLines(const StandardBackPrintOptions& o) const
{
    QStringList out;
    const QStringList share = shownShareRates(), discount = shownDiscountRates();
    const auto& b = shares_.buckets;
    QString first = patientName_.trimmed() + u' ' + patientSurname_.trimmed();
    if (!institutionBox_.trimmed().isEmpty()) first += u" - "_s + institution_.name;
    out << first;
    out << format(u"%47s  %3s%5s ) ( %s%5s ) ( %s%5s ) ( %s%5s ) ( %s%5s )", QString(), u"(%"_s, share[0], u"%"_s,
                  share[1], u"%"_s, share[2], u"%"_s, share[3], u"%"_s, share[4]);
    const QList<PrescriptionLine> items = lines();
    for (const PrescriptionLine& l : items) {
        QStringList cols(5, u"---"_s);
        cols[int(bucketOf(l.prescriptionType))] = format(u"%11.0n", l.quantity * l.price);
        out << format(u"%-32s%2d%1s%11.0n %11s%11s%11s%11s%11s", l.name.left(31), l.quantity, u"x"_s, l.price, cols[0],
                      cols[1], cols[2], cols[3], cols[4]);
    }
    out << format(u"%48s%11s%11s%11s%11s%11s", QString(), u" _________"_s, u" _________"_s, u" _________"_s,
                  u" _________"_s, u" _________"_s);
    out << format(u"%47s%11.0n%11.0n%11.0n%11.0n%11.0n", u"Toplam : "_s, number(u"BRUTN"_s), number(u"BRUTI"_s),
                  number(u"BRUTO"_s), number(u"BRUTH"_s), number(u"BRUTMR"_s));
    auto amounts = [&](auto member) {
        QStringList r;
        for (const BucketShare& s : b) r << shownAmount(s.*member);
        return r;
    };
    const QStringList d = amounts(&BucketShare::discount), sub = amounts(&BucketShare::subtotal),
                      sh = amounts(&BucketShare::share), net = amounts(&BucketShare::net);
    out << format(u"%1s%-6s+%-1s%-6s+%1s%-6s+%1s%-6s+%1s%-6s)%-6s%11s%11s%11s%11s%11s", u"(%"_s, discount[0], u"%"_s,
                  discount[1], u"%"_s, discount[2], u"%"_s, discount[3], u"%"_s, discount[4], u"İndr: "_s, d[0], d[1],
                  d[2], d[3], d[4]);
    out << format(u"%47s%11s%11s%11s%11s%11s", u"Ara Toplam : "_s, sub[0], sub[1], sub[2], sub[3], sub[4]);
    out << format(u"%s%-6s+%-1s%-6s+%1s%-6s+%1s%-6s+%1s%-6s)%-6s%11s%11s%11s%11s%11s", u"(%"_s, share[0], u"%"_s,
                  share[1], u"%"_s, share[2], u"%"_s, share[3], u"%"_s, share[4], u"H.K.P:"_s, sh[0], sh[1], sh[2], sh[3],
                  sh[4]);
    out << format(u"%47s%11s%11s%11s%11s%11s", u"Ara Toplam : "_s, net[0], net[1], net[2], net[3], net[4]);
    out << format(u"%47s%14s", QString(), u"----------"_s);
    out << format(u"%47s%14s", u"NET TOPLAM : "_s, shownAmount(number(u"NET"_s)));
    Sql e(session_.db, u"SELECT EADI, ADI, ADR1, ADR2, ADR3, TLF FROM EKIM LIMIT 1"_s);
    e.exec();
    const bool hasPharmacy = e.next();
    for (int i = 0; i < 4; ++i) out << (hasPharmacy ? e.text(i) : QString());
    out << format(u"%s Tlf:%s", hasPharmacy ? e.text(4) : QString(), hasPharmacy ? e.text(5) : QString());
    out << u" "_s;
    if (o.visa) {
        const QDate visa = date(u"VIZETRH"_s);
        const QString v = visa.isValid() ? dateText(visa.addDays(-visa.daysInYear())) + u" / "_s + dateText(visa) : u"MUAF"_s;
        out << format(u"%s : %s", u"Vize Tarihi"_s, v);
    }
    for (int i = 0; i < 6; ++i)
        if (!headingLabel(i).isEmpty()) out << format(u"%s : %s", headingLabel(i), text(kHeadings[i]));
    if (o.protocol) out << format(u"%s : %s", u"Ecz.Prt. No"_s, text(u"PROTOKOLNO"_s));
    if (o.serial) out << format(u"%s : %s", u"Seri No"_s, text(u"SERINO"_s));
    const QDate received = date(u"ALTARIH"_s);
    out << format(u"%s %s", u"İlaçların Veriliş Trh.:"_s, received.isValid() ? dateText(received) : u"  /  /"_s);
    out << format(u"%1s%-5s+ %1s%-5s+ %1s%-5s+ %1s%-5s Katılım Karşılığı: %s ödeyerek", u"%"_s, share[0], u"%"_s,
                  share[1], u"%"_s, share[2], u"%"_s, share[3], shownAmount(number(u"HASTAKATPAY"_s)));
    if (o.syringes) {
        int syringeLines = 0, syringes = 0, all = 0, last = 0;
        for (const PrescriptionLine& l : items) {
            const QString head = trLower(l.name.left(8));
            const bool syringe = l.name.size() >= 8
                                 && (head == u"enjektör"_s || head == u"enjectör"_s || head == u"enjektor"_s || head == u"enjector"_s);
            if (syringe) {
                ++syringeLines;
                syringes += l.quantity;
            }
            all += l.quantity;
            last = l.no;
        }
        out << format(u"%d kalem %d adet ilaç ve %d adet enjektör aldım.", last - syringeLines, all - syringes, syringes);
        out << format(u"İlacı Alanın Adı Soyadı : %s %s", patientName_.trimmed(), patientSurname_.trimmed());
    } else {
        out << u"İlaçları Aldım."_s;
    }
    out << u"(İMZA)"_s;
    return out;
}

bool ReceteLogic::drawStandardBackPrint(Canvas& canvas, const StandardBackPrintOptions& o) const
{
    if (patientName_.trimmed().isEmpty()) return false;
    const PageGeometry g(canvas);
    const int x = g.cmX(o.marginCm);
    const int pitch = PageGeometry::linePitch(canvas, u"İÖĞygŞ"_s, 3);
    int y = 0;
    const QStringList lines = standardBackPrintLines(o);
    for (int i = 0; i < lines.size(); ++i) {
        if (i == UnderlinedLine) {
            FontDef f = canvas.font();
            const bool was = f.underline;
            f.underline = true;
            canvas.setFont(f);
            canvas.textOut(x, y, lines[i]);
            f.underline = was;
            canvas.setFont(f);
        } else {
            canvas.textOut(x, y, lines[i]);
        }
        y += pitch;
    }
    return true;
}

}  // namespace selvar
