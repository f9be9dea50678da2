// The SSK registration window showing its logic, taking what is typed, its keys, the
// store and the two printouts.
#include "prescriptions/ui/recete_ssk_form.h"
#include "prescriptions/ui/share_grid.h"

#include "core/dates.h"
#include "core/format.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "platform/ui/command.h"
#include "prescriptions/ui/recete_ssk_kayit.h"
#include "print/canvas.h"
#include "print/print_service.h"
#include "print/report.h"
#include "print/report_fonts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
const QStringList kClassLetters{u"N"_s, u"Ç"_s, u"E"_s, u"R"_s, u"D"_s};
const QStringList kPlaceLetters{u"K"_s, u"M"_s, u"H"_s, u"P"_s};
const QStringList kRecordBoxes{u"SERINO"_s, u"PROTOKOLNO"_s, u"BAS1"_s, u"BAS2"_s, u"BAS3"_s, u"DZADR1"_s, u"DZADR2"_s};
const QStringList kSskBoxes{u"SICILNO"_s, u"TAHSIS_DOSNO"_s, u"MEMUNITNO"_s, u"DRUNITNO"_s,   u"ISYERNO"_s,
                            u"SAGKURNO"_s, u"KARANTINA"_s,   u"TESHIS"_s,    u"RAP_YAT_KOD"_s, u"GUNKULACIK"_s};
const QStringList kDateBoxes{u"RECTARIH"_s, u"ALTARIH"_s, u"RPBASTRH"_s, u"RPBITRH"_s, u"HASYATRH"_s};

QString maskText(const QLineEdit* e) { return e->displayText().replace(u'_', u' '); }
bool isRecordDate(const QString& name) { return name == u"RECTARIH"_s || name == u"ALTARIH"_s; }
}  // namespace

void TReceteSSKForm::refresh()
{
    filling_ = true;
    boxes_[u"KURUMKOD"_s]->setText(logic_.institutionBox());
    boxes_[u"HASTADI"_s]->setText(logic_.patientName());
    boxes_[u"HASTASOYAD"_s]->setText(logic_.patientSurname());
    boxes_[u"RS_AD"_s]->setText(logic_.insuredName());
    boxes_[u"RS_SOYAD"_s]->setText(logic_.insuredSurname());
    for (const QString& n : kRecordBoxes) boxes_[n]->setText(logic_.text(n));
    for (const QString& n : kSskBoxes) boxes_[n]->setText(logic_.sskText(n));
    for (const QString& n : kDateBoxes) {
        const QDate d = (isRecordDate(n) ? logic_.field(n) : logic_.sskField(n)).toDate();
        boxes_[n]->setText(d.isValid() ? dateText(d) : QString());
    }
    labels_[u"KurumAdi"_s]->setText(logic_.institution().found ? logic_.institution().name : QString());
    labels_[u"DRKOD"_s]->setText(logic_.doctorCodeText());
    for (int i = 0; i < 3; ++i) labels_[u"ETIKET"_s + QString::number(i + 1)]->setText(logic_.headingLabel(i));
    labels_[u"Fatura"_s]->setText(logic_.invoiceNotice());
    if (QAbstractButton* b = classes_->button(int(kClassLetters.indexOf(logic_.classLetter())))) b->setChecked(true);
    const int place = int(kPlaceLetters.indexOf(logic_.text(u"YER"_s)));
    if (QAbstractButton* b = place_->button(place)) b->setChecked(true);
    combos_[u"DURUM_KOD"_s]->setCurrentText(logic_.statusItem());
    combos_[u"YAKINLIK_KOD"_s]->setCurrentText(logic_.relationshipItem());
    combos_[u"ULKE_KOD"_s]->setCurrentText(logic_.countryItem());
    illness_->setChecked(logic_.illness());
    fillShareGrid(hesap_, logic_.shares(),
                  {3, logic_.shownDiscountRates(), logic_.shownShareRates(), logic_.institution().found,
                   logic_.number(u"HASTAKATPAY"_s), logic_.number(u"NET"_s)});
    buttons_[u"Sakla"_s]->setEnabled(logic_.storeAllowed());
    filling_ = false;
}

void TReceteSSKForm::readBoxes()
{
    // What is typed but not yet left goes into the rows as it stands.
    logic_.setInstitutionBox(boxes_[u"KURUMKOD"_s]->text().trimmed());
    logic_.setPatientName(boxes_[u"HASTADI"_s]->text());
    logic_.setPatientSurname(boxes_[u"HASTASOYAD"_s]->text());
    logic_.setInsuredName(boxes_[u"RS_AD"_s]->text());
    logic_.setInsuredSurname(boxes_[u"RS_SOYAD"_s]->text());
    for (const QString& n : kRecordBoxes) logic_.setField(n, boxes_[n]->text());
    for (const QString& n : kSskBoxes) logic_.setSskField(n, boxes_[n]->text());
}

void TReceteSSKForm::boxLeft(QLineEdit* box)
{
    const QString name = box->objectName();
    if (name == u"KURUMKOD"_s) {
        logic_.setInstitutionBox(box->text().trimmed());
        logic_.institutionLeft();
    } else if (name == u"HASTADI"_s || name == u"HASTASOYAD"_s) {
        readBoxes();
        logic_.patientNameLeft();
    } else if (name == u"RS_AD"_s || name == u"RS_SOYAD"_s) {
        readBoxes();
        logic_.insuredNameLeft();
    } else if (kDateBoxes.contains(name)) {
        const DateInput d = parseDateText(maskText(box));
        const QVariant v = d.isValid() ? QVariant(d.date) : QVariant();
        if (!d.isValid() && !d.isBlank()) {
            session_.prompter.beep();  // the previous value stays
        } else if (isRecordDate(name)) {
            logic_.setField(name, v);
        } else {
            logic_.setSskField(name, v);
        }
        if (name == u"RECTARIH"_s) logic_.prescriptionDateLeft();
        else if (name == u"ALTARIH"_s) logic_.receiptDateLeft();
    } else if (kRecordBoxes.contains(name)) {
        logic_.setField(name, box->text());
    } else {
        logic_.setSskField(name, box->text());
    }
}

bool TReceteSSKForm::eventFilter(QObject* o, QEvent* e)
{
    if (filling_) return QDialog::eventFilter(o, e);
    if (o == labels_.value(u"DoktorKodu"_s) && e->type() == QEvent::MouseButtonPress) {
        logic_.doctorCodeCleared();
        refresh();
        return true;
    }
    auto* box = qobject_cast<QLineEdit*>(o);
    if (box && e->type() == QEvent::FocusOut) {
        guarded([&] { boxLeft(box); });
        refresh();
    }
    return QDialog::eventFilter(o, e);
}

void TReceteSSKForm::leaveChangedBoxes()
{
    // What the boxes show is what is stored: a box changed but not left counts as left.
    if (boxes_[u"KURUMKOD"_s]->text().trimmed() != logic_.institutionBox()) boxLeft(boxes_[u"KURUMKOD"_s]);
    if (boxes_[u"HASTADI"_s]->text() != logic_.patientName() || boxes_[u"HASTASOYAD"_s]->text() != logic_.patientSurname())
        boxLeft(boxes_[u"HASTADI"_s]);
    if (boxes_[u"RS_AD"_s]->text() != logic_.insuredName() || boxes_[u"RS_SOYAD"_s]->text() != logic_.insuredSurname())
        boxLeft(boxes_[u"RS_AD"_s]);
    for (const QString& n : kDateBoxes)
        if (boxes_[n]->isModified()) boxLeft(boxes_[n]);
    readBoxes();
}

void TReceteSSKForm::store()
{
    guarded([this] { leaveChangedBoxes(); });
    ReceteSskLogic::StoreResult r = ReceteSskLogic::StoreResult::Stopped;
    guarded([&] { r = logic_.store(); });
    if (r == ReceteSskLogic::StoreResult::Stored) accept();
    else refresh();
}

bool TReceteSSKForm::dataForPrint()
{
    guarded([this] { leaveChangedBoxes(); });
    if (logic_.printDataComplete()) return true;
    session_.prompter.warning(SskPrintDataMissing);
    return false;
}

void TReceteSSKForm::directPrint()
{
    if (!dataForPrint() || !session_.print) return;
    std::unique_ptr<Canvas> canvas = session_.print->beginJob(u"SSK Reçete Arkası"_s, PageSetup(), true);
    if (!canvas) return;
    canvas->setFont(font_);
    logic_.drawBackPrint(*canvas, margin_->value());
    canvas->endDocument();
}

void TReceteSSKForm::previewPrint()
{
    if (!dataForPrint() || !session_.print) return;
    std::unique_ptr<report::Report> r = logic_.previewReport();
    r->font = font_;
    r->leftMargin = margin_->value() * 10;
    session_.print->preview(*r);
    logic_.computeShares();
    refresh();
}

void TReceteSSKForm::chooseFont()
{
    if (!session_.print) return;
    if (const std::optional<FontDef> f = session_.print->chooseFont(font_, FontChoice::Any)) {
        font_ = *f;
        fontChanged_ = true;
    }
}

void TReceteSSKForm::keyPressEvent(QKeyEvent* e)
{
    auto run = [this](const std::function<void()>& f, QLineEdit* next = nullptr) {
        guarded([&] {
            readBoxes();
            f();
        });
        refresh();
        if (next) next->setFocus();
    };
    switch (e->key()) {
    case Qt::Key_F5: run([this] { logic_.chooseInstitution(); }); return;
    case Qt::Key_F6: run([this] { logic_.choosePatient(); }, boxes_[u"RS_AD"_s]); return;
    case Qt::Key_F7: run([this] { logic_.chooseDoctor(); }); return;
    case Qt::Key_F8: run([this] { logic_.chooseInsured(); }, boxes_[u"PROTOKOLNO"_s]); return;
    case Qt::Key_Return:
    case Qt::Key_Enter: focusNextChild(); return;  // Enter moves on; storing is "&Sakla"
    default: break;
    }
    QDialog::keyPressEvent(e);
}

bool TReceteSSKForm::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate && !filling_)
        guarded([this] {
            logic_.computeGross();
            logic_.computeShares();
            refresh();
        });
    return QDialog::event(e);
}

void TReceteSSKForm::done(int r)
{
    if (fontChanged_) guarded([this] { saveReportFont(session_.db, SskFontKey, font_, margin_->value()); });
    QDialog::done(r);
}

double ReceteSSKAc(Session& session, int mode, const QString& dateText, double saleNo,
                   const std::function<void(double)>& recordLines, QWidget* parent)
{
    TReceteSSKForm form(session, parent);
    form.logic().setLinesRecorder(recordLines);
    form.open(mode, dateText, saleNo);
    form.exec();
    return form.logic().stored() ? form.logic().result() : 0;
}

}  // namespace selvar
