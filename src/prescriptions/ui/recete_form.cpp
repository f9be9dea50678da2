#include "prescriptions/ui/recete_form.h"
#include "prescriptions/ui/share_grid.h"

#include "platform/ui/command.h"

#include "companion/companion.h"
#include "core/dates.h"
#include "core/format.h"
#include "data/errors.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "prescriptions/ui/recete_kayit.h"
#include "prescriptions/ui/hazirbr_dlg.h"
#include "print/canvas.h"
#include "print/print_service.h"
#include "print/report_fonts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
const QStringList kClassCaptions{u"N&ormal"_s, u"Çalı&şan"_s, u"E&mekli"_s, u"Rap/&Yat"_s, u"Di&Ğer"_s};
const QStringList kClassLetters{u"N"_s, u"Ç"_s, u"E"_s, u"R"_s, u"D"_s};
const QStringList kPlaceCaptions{u"Kur&um"_s, u"Muayenehan&e"_s, u"Ö&zel Hastahane"_s, u"Öze&l Poliklinik"_s};
const QStringList kPlaceLetters{u"K"_s, u"M"_s, u"H"_s, u"P"_s};
const QStringList kDateBoxes{u"RECTARIH"_s, u"ALTARIH"_s, u"VIZETRH"_s};

QString maskText(const QLineEdit* e) { return e->displayText().replace(u'_', u' '); }
}  // namespace

TReceteForm::TReceteForm(Session& session, QWidget* parent) : QDialog(parent), session_(session), logic_(session)
{
    setObjectName(u"TReceteForm"_s);
    setWindowTitle(u"REÇETE KAYIT"_s);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(createHeader());
    layout->addLayout(createHeadings());
    QLabel* notice = addLabel(u"Fatura"_s);
    notice->setStyleSheet(u"color: #a00000; font-weight: bold"_s);
    layout->addWidget(notice);
    layout->addWidget(createPages(), 1);
    layout->addLayout(createButtons());
    connectChoices();
    // The report font of the back-print, with its margin.
    int margin = 0;
    if (loadReportFont(session_.db, u"recete"_s, font_, margin)) margin_->setValue(std::max(0, margin));
    resize(900, 760);
}

QLineEdit* TReceteForm::addBox(const QString& name, int maxLength)
{
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    if (maxLength > 0) e->setMaxLength(maxLength);
    e->installEventFilter(this);
    boxes_.insert(name, e);
    return e;
}

QLabel* TReceteForm::addLabel(const QString& name, const QString& text)
{
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    labels_.insert(name, l);
    return l;
}

QPushButton* TReceteForm::addButton(const QString& name, const QString& caption, std::function<void()> run)
{
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [this, run] { guarded(run); });
    buttons_.insert(name, b);
    return b;
}

QLayout* TReceteForm::createHeader()
{
    // Institution, patient, class, doctor.
    auto* top = new QGridLayout;
    top->addWidget(new QLabel(u"Kurum Kodu (F5)"_s, this), 0, 0);
    top->addWidget(addBox(u"KURUMKOD"_s, 11), 0, 1);
    top->addWidget(addLabel(u"KurumAdi"_s), 0, 2, 1, 3);
    top->addWidget(new QLabel(u"Hasta Adı (F6)"_s, this), 1, 0);
    top->addWidget(addBox(u"HASTADI"_s, 18), 1, 1);
    top->addWidget(new QLabel(u"Soyadı"_s, this), 1, 2);
    top->addWidget(addBox(u"HASTASOYAD"_s, 18), 1, 3);
    auto* classBox = new QGroupBox(u"Hasta Sınıfı"_s, this);
    auto* classLayout = new QHBoxLayout(classBox);
    classes_ = new QButtonGroup(this);
    for (int i = 0; i < kClassCaptions.size(); ++i) {
        auto* r = new QRadioButton(kClassCaptions[i], classBox);
        classes_->addButton(r, i);
        classLayout->addWidget(r);
    }
    top->addWidget(classBox, 2, 0, 1, 5);
    top->addWidget(new QLabel(u"Doktor Kodu (F7)"_s, this), 3, 0);
    top->addWidget(addBox(u"DRKOD"_s, 9), 3, 1);
    top->addWidget(addBox(u"DRAD"_s, 18), 3, 2);
    top->addWidget(addBox(u"DRSOYAD"_s, 18), 3, 3);
    top->addWidget(new QLabel(u"Seri No"_s, this), 4, 0);
    top->addWidget(addBox(u"SERINO"_s, 10), 4, 1);
    top->addWidget(new QLabel(u"Protokol No"_s, this), 4, 2);
    top->addWidget(addBox(u"PROTOKOLNO"_s, 10), 4, 3);
    auto* dates = new QHBoxLayout;
    for (const auto& [name, caption] : {std::pair{u"RECTARIH"_s, u"Reçete Tarihi"_s}, std::pair{u"ALTARIH"_s, u"Alındığı Tarih"_s},
                                        std::pair{u"VIZETRH"_s, u"Vize Tarihi"_s}}) {
        dates->addWidget(new QLabel(caption, this));
        QLineEdit* e = addBox(name, 0);
        e->setInputMask(u"00.00.0000;_"_s);
        dates->addWidget(e);
        addButton(u"Takvim"_s + name, u"..."_s, [this, name = name] {
            if (!session_.companion) return;
            const double chosen = session_.companion->DateAl1(toDateTimeReal(session_.clock.today()));
            if (chosen > 0) {
                logic_.setField(name, fromDateTimeReal(chosen).date());
                if (name == u"RECTARIH"_s) logic_.prescriptionDateLeft();
                refresh();
            }
            boxes_[name]->setFocus();
        });
        dates->addWidget(buttons_[u"Takvim"_s + name]);
    }
    top->addLayout(dates, 5, 0, 1, 5);
    auto* placeBox = new QGroupBox(u"Yazıldığı Yer"_s, this);
    auto* placeLayout = new QHBoxLayout(placeBox);
    place_ = new QButtonGroup(this);
    for (int i = 0; i < kPlaceCaptions.size(); ++i) {
        auto* r = new QRadioButton(kPlaceCaptions[i], placeBox);
        place_->addButton(r, i);
        placeLayout->addWidget(r);
    }
    top->addWidget(placeBox, 6, 0, 1, 3);
    top->addWidget(addBox(u"DZADR1"_s, 30), 6, 3);
    top->addWidget(addBox(u"DZADR2"_s, 30), 6, 4);
    return top;
}

QLayout* TReceteForm::createHeadings()
{
    auto* headings = new QGridLayout;
    for (int i = 0; i < 6; ++i) {
        headings->addWidget(addLabel(u"ETIKET"_s + QString::number(i + 1)), i / 3, (i % 3) * 2);
        headings->addWidget(addBox(u"BAS"_s + QString::number(i + 1), 17), i / 3, (i % 3) * 2 + 1);
    }
    return headings;
}

QWidget* TReceteForm::createPages()
{
    // The pages: amounts, medicines, back-prints.
    pages_ = new QTabWidget(this);
    hesap_ = new QTableWidget(6, 7, this);
    hesap_->setObjectName(u"Hesap"_s);
    hesap_->setHorizontalHeaderLabels({u"Brüt T."_s, u"İndir. %"_s, u"İndir."_s, u"AraT."_s, u"H.K.P. %"_s, u"H.K.P."_s, u"NET T."_s});
    QStringList rows;
    for (int b = 0; b < BucketCount; ++b) rows << bucketTitle(Bucket(b));
    rows << u"REÇETE TOPLAMI"_s;
    hesap_->setVerticalHeaderLabels(rows);
    hesap_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pages_->addTab(hesap_, u"Hesap"_s);
    medicines_ = new QTableWidget(0, 4, this);
    medicines_->setHorizontalHeaderLabels({u"Sıra No"_s, u"Ürün Adı"_s, u"Miktarı"_s, u"Fiyatı"_s});
    medicines_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    medicines_->verticalHeader()->hide();
    pages_->addTab(medicines_, u"İlaçları"_s);
    backPages_ = new QTabWidget(this);
    auto* standard = new QWidget(this);
    auto* sl = new QVBoxLayout(standard);
    syringes_ = new QCheckBox(u"İlaç ve Enjektör Adetleri Yazılsın"_s, standard);
    visa_ = new QCheckBox(u"Vize Trh Yazılsın"_s, standard);
    serial_ = new QCheckBox(u"Seri No Yazılsın"_s, standard);
    protocol_ = new QCheckBox(u"Protokol No Yazılsın"_s, standard);
    for (QCheckBox* c : {syringes_, visa_, serial_, protocol_}) {
        c->setChecked(true);
        sl->addWidget(c);
    }
    auto* marginRow = new QHBoxLayout;
    marginRow->addWidget(new QLabel(u"Yazıcı Sol Marjin (cm)"_s, standard));
    margin_ = new QSpinBox(standard);
    margin_->setRange(0, 25);
    marginRow->addWidget(margin_);
    marginRow->addStretch();
    sl->addLayout(marginRow);
    backPages_->addTab(standard, u"Standart Reç.Arkası Döküm"_s);
    auto* defined = new QWidget(this);
    auto* dl = new QVBoxLayout(defined);
    printChoice_ = new QButtonGroup(this);
    const QList<std::pair<QString, int>> choices{
        {u"Kaşeli Döküm Al F9 Tuşu (Hem Saklamak Hem K.döküm için F11 Tuşu)"_s, 2},
        {u"Tanımlı Döküm Al F8 Tuşu (Hem Saklamak Hem T.döküm için F12 Tuşu)"_s, 1},
        {u"Vazgeç"_s, 0}};
    for (const auto& [caption, value] : choices) {
        auto* r = new QRadioButton(caption, defined);
        printChoice_->addButton(r, value);
        dl->addWidget(r);
    }
    printChoice_->button(0)->setChecked(true);
    connect(printChoice_, &QButtonGroup::idClicked, this, [this](int id) { logic_.setPrintChoice(id); });
    backPages_->addTab(defined, u"Tanımlı Reçete Arkası Dökümleri"_s);
    pages_->addTab(backPages_, u"Reçete Arkası Dökümleri"_s);
    return pages_;
}

QLayout* TReceteForm::createButtons()
{
    addButton(u"Sakla"_s, u"&Sakla"_s, [this] { store(logic_.printChoice()); });
    addButton(u"Vazgec"_s, u"V&azgeç"_s, [this] { reject(); });
    addButton(u"Veresiye"_s, u"&Veresiye Kayıt"_s, [this] {
        leaveChangedBoxes();
        logic_.creditEntry();
        refresh();
    });
    addButton(u"Dokum"_s, u"Şimdi Standart &Döküm Al"_s, [this] { standardBackPrint(); });
    addButton(u"Font"_s, u"Yazıcı &Fontu"_s, [this] { chooseFont(); });
    auto* buttons = new QHBoxLayout;
    for (const char* b : {"Sakla", "Vazgec", "Veresiye", "Dokum", "Font"}) buttons->addWidget(buttons_[QString::fromLatin1(b)]);
    return buttons;
}

void TReceteForm::connectChoices()
{
    connect(classes_, &QButtonGroup::idClicked, this, [this](int id) {
        guarded([&] { logic_.setClassLetter(kClassLetters[id]); });
        refresh();
    });
    connect(place_, &QButtonGroup::idClicked, this, [this](int id) { logic_.setField(u"YER"_s, kPlaceLetters[id]); });

    // Storing needs a patient name: the buttons follow the name box as it is typed.
    connect(boxes_[u"HASTADI"_s], &QLineEdit::textChanged, this, [this](const QString& t) {
        buttons_[u"Sakla"_s]->setEnabled(!t.trimmed().isEmpty());
        buttons_[u"Veresiye"_s]->setEnabled(!t.trimmed().isEmpty() || !boxes_[u"KURUMKOD"_s]->text().trimmed().isEmpty());
    });
}

TReceteForm::~TReceteForm() = default;

void TReceteForm::guarded(const std::function<void()>& f) { runCommand(session_.prompter, f); }

void TReceteForm::open(const QString& bookNo, int mode, const QString& dateText, double saleNo)
{
    logic_.open(bookNo, mode, dateText, saleNo);
    refresh();
    boxes_[u"KURUMKOD"_s]->setFocus();
}

StandardBackPrintOptions TReceteForm::backPrintOptions() const
{
    StandardBackPrintOptions o;
    o.syringes = syringes_->isChecked();
    o.visa = visa_->isChecked();
    o.serial = serial_->isChecked();
    o.protocol = protocol_->isChecked();
    o.marginCm = margin_->value();
    return o;
}

void TReceteForm::refresh()
{
    filling_ = true;
    boxes_[u"KURUMKOD"_s]->setText(logic_.institutionBox());
    labels_[u"KurumAdi"_s]->setText(logic_.institution().name);
    boxes_[u"HASTADI"_s]->setText(logic_.patientName());
    boxes_[u"HASTASOYAD"_s]->setText(logic_.patientSurname());
    const qint64 dr = logic_.field(u"DRKOD"_s).toLongLong();
    boxes_[u"DRKOD"_s]->setText(dr > 0 ? QString::number(dr) : QString());
    boxes_[u"DRAD"_s]->setText(logic_.doctorName());
    boxes_[u"DRSOYAD"_s]->setText(logic_.doctorSurname());
    for (const char* f : {"SERINO", "PROTOKOLNO", "DZADR1", "DZADR2", "BAS1", "BAS2", "BAS3", "BAS4", "BAS5", "BAS6"})
        boxes_[QString::fromLatin1(f)]->setText(logic_.text(QString::fromLatin1(f)));
    for (const QString& d : kDateBoxes) {
        const QDate v = logic_.date(d);
        if (v.isValid()) boxes_[d]->setText(dateText(v));
        else boxes_[d]->clear();
    }
    for (int i = 0; i < 6; ++i) labels_[u"ETIKET"_s + QString::number(i + 1)]->setText(logic_.headingLabel(i));
    const int cls = int(kClassLetters.indexOf(logic_.classLetter()));
    // No class chosen ("Y") shows as Normal.
    if (QAbstractButton* b = classes_->button(cls < 0 ? 0 : cls)) b->setChecked(true);
    const int place = int(kPlaceLetters.indexOf(logic_.text(u"YER"_s)));
    if (place >= 0) place_->button(place)->setChecked(true);
    labels_[u"Fatura"_s]->setText(logic_.invoiceNotice());
    fillShareGrid(hesap_, logic_.shares(),
                  {BucketCount, logic_.shownDiscountRates(), logic_.shownShareRates(), logic_.institution().found,
                   logic_.number(u"HASTAKATPAY"_s), logic_.number(u"NET"_s)});
    const QList<PrescriptionLine> lines = logic_.lines();
    medicines_->setRowCount(int(lines.size()));
    for (int i = 0; i < lines.size(); ++i) {
        medicines_->setItem(i, 0, new QTableWidgetItem(QString::number(lines[i].no)));
        medicines_->setItem(i, 1, new QTableWidgetItem(lines[i].name));
        medicines_->setItem(i, 2, new QTableWidgetItem(QString::number(lines[i].quantity)));
        medicines_->setItem(i, 3, new QTableWidgetItem(formatMask(u"#,##0"_s, lines[i].price)));
    }
    buttons_[u"Sakla"_s]->setEnabled(logic_.storeAllowed());
    buttons_[u"Veresiye"_s]->setEnabled(logic_.creditAllowed());
    if (QAbstractButton* b = printChoice_->button(logic_.printChoice())) b->setChecked(true);
    filling_ = false;
}

void TReceteForm::readBoxes()
{
    // What is typed but not yet left goes into the record as it stands.
    logic_.setPatientName(boxes_[u"HASTADI"_s]->text());
    logic_.setPatientSurname(boxes_[u"HASTASOYAD"_s]->text());
    logic_.setDoctorName(boxes_[u"DRAD"_s]->text());
    logic_.setDoctorSurname(boxes_[u"DRSOYAD"_s]->text());
    logic_.setInstitutionBox(boxes_[u"KURUMKOD"_s]->text());
    for (const char* f : {"SERINO", "PROTOKOLNO", "DZADR1", "DZADR2", "BAS1", "BAS2", "BAS3", "BAS4", "BAS5", "BAS6"})
        logic_.setField(QString::fromLatin1(f), boxes_[QString::fromLatin1(f)]->text());
}

bool TReceteForm::eventFilter(QObject* o, QEvent* e)
{
    auto* box = qobject_cast<QLineEdit*>(o);
    if (!box || filling_) return QDialog::eventFilter(o, e);
    const QString name = box->objectName();
    if (e->type() == QEvent::FocusIn && (name == u"DRAD"_s || name == u"DRSOYAD"_s)) {
        guarded([&] { logic_.doctorNameEntered(); });
    }
    const bool heading = name.startsWith(u"BAS"_s);
    if (heading && ((e->type() == QEvent::KeyRelease && static_cast<QKeyEvent*>(e)->key() == Qt::Key_F3)
                    || e->type() == QEvent::MouseButtonDblClick)) {
        guarded([&] {
            readBoxes();
            logic_.chooseHeading(name.mid(3).toInt() - 1, headingPicker);
        });
        refresh();
        return e->type() == QEvent::MouseButtonDblClick;
    }
    if (e->type() != QEvent::FocusOut) return QDialog::eventFilter(o, e);
    guarded([&] {
        if (name == u"KURUMKOD"_s) {
            logic_.setInstitutionBox(box->text());
            logic_.institutionLeft();
        } else if (name == u"HASTADI"_s || name == u"HASTASOYAD"_s) {
            readBoxes();
            logic_.patientNameLeft();
        } else if (name == u"DRKOD"_s) {
            logic_.doctorCodeLeft(box->text());
        } else if (name == u"DRAD"_s || name == u"DRSOYAD"_s) {
            readBoxes();
            logic_.doctorNameLeft();
        } else if (name == u"RECTARIH"_s || name == u"ALTARIH"_s) {
            const DateInput d = parseDateText(maskText(box));
            if (d.isValid()) logic_.setField(name, d.date);
            else if (!d.isBlank()) session_.prompter.beep();
            if (name == u"RECTARIH"_s) logic_.prescriptionDateLeft();
            else logic_.receiptDateLeft();
        } else if (name == u"VIZETRH"_s) {
            logic_.visaLeft(maskText(box));
        } else {
            logic_.setField(name, box->text());
        }
    });
    refresh();
    return QDialog::eventFilter(o, e);
}

void TReceteForm::leaveChangedBoxes()
{
    // What the boxes show is what is stored: a box changed but not yet left is taken as
    // if it had been left.
    if (boxes_[u"KURUMKOD"_s]->text() != logic_.institutionBox()) {
        logic_.setInstitutionBox(boxes_[u"KURUMKOD"_s]->text());
        logic_.institutionLeft();
    }
    if (boxes_[u"HASTADI"_s]->text() != logic_.patientName() || boxes_[u"HASTASOYAD"_s]->text() != logic_.patientSurname()) {
        readBoxes();
        logic_.patientNameLeft();
    }
    if (boxes_[u"DRAD"_s]->text() != logic_.doctorName() || boxes_[u"DRSOYAD"_s]->text() != logic_.doctorSurname()) {
        readBoxes();
        logic_.doctorNameLeft();
    }
    readBoxes();
}

void TReceteForm::store(int printChoice)
{
    guarded([this] { leaveChangedBoxes(); });
    logic_.setPrintChoice(printChoice);
    ReceteLogic::StoreResult r = ReceteLogic::StoreResult::Stopped;
    guarded([&] { r = logic_.store(); });
    if (r == ReceteLogic::StoreResult::Stored) accept();
    else refresh();
}

void TReceteForm::standardBackPrint()
{
    pages_->setCurrentIndex(2);
    backPages_->setCurrentIndex(0);
    leaveChangedBoxes();
    if (!logic_.checkPatientForPrint() || !session_.print) return;
    std::unique_ptr<Canvas> canvas = session_.print->beginJob(u"Reçete Arkası"_s, PageSetup(), true);
    if (!canvas) return;
    setCursor(Qt::WaitCursor);
    canvas->setFont(font_);
    logic_.drawStandardBackPrint(*canvas, backPrintOptions());
    canvas->endDocument();
    unsetCursor();
}

void TReceteForm::chooseFont()
{
    if (!session_.print) return;
    if (const std::optional<FontDef> f = session_.print->chooseFont(font_, FontChoice::Any)) {
        font_ = *f;
        fontChanged_ = true;
    }
}

void TReceteForm::keyPressEvent(QKeyEvent* e)
{
    auto showChoice = [this](int choice) {
        logic_.setPrintChoice(choice);
        pages_->setCurrentIndex(2);
        backPages_->setCurrentIndex(1);
        refresh();
    };
    switch (e->key()) {
    case Qt::Key_F5:
        guarded([this] {
            logic_.chooseInstitution();
            refresh();
        });
        return;
    case Qt::Key_F6:
        guarded([this] {
            logic_.choosePatient();
            refresh();
        });
        return;
    case Qt::Key_F7:
        guarded([this] {
            logic_.chooseDoctor();
            refresh();
        });
        return;
    case Qt::Key_F8: showChoice(1); return;
    case Qt::Key_F9: showChoice(2); return;
    case Qt::Key_F11: store(2); return;
    case Qt::Key_F12: store(1); return;
    case Qt::Key_Return:
    case Qt::Key_Enter: focusNextChild(); return;  // Enter moves on; storing is "&Sakla"
    default: break;
    }
    QDialog::keyPressEvent(e);
}

bool TReceteForm::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate && !filling_)
        guarded([this] {
            logic_.computeGross();
            if (logic_.mode() == 0 || !logic_.institutionBox().isEmpty()) logic_.computeShares();
            refresh();
        });
    return QDialog::event(e);
}

void TReceteForm::done(int r)
{
    guarded([this] { logic_.closing(); });
    if (fontChanged_) guarded([this] { saveReportFont(session_.db, u"recete"_s, font_, margin_->value()); });
    QDialog::done(r);
}

double ReceteKayitAc(Session& session, const QString& bookNo, int mode, const QString& dateText, double saleNo,
                     const std::function<void(double)>& recordLines, QWidget* parent)
{
    TReceteForm form(session, parent);
    form.logic().setLinesRecorder(recordLines);
    form.headingPicker = [&] { return HazirDegerSec(session, 1, &form); };
    form.open(bookNo, mode, dateText, saleNo);
    form.exec();
    session.PrintRequest.choice = form.logic().printChoice();
    return form.logic().stored() ? form.logic().result() : 0;
}

}  // namespace selvar
