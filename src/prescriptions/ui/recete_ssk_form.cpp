#include "prescriptions/ui/recete_ssk_form.h"

#include "companion/companion.h"
#include "core/dates.h"
#include "core/format.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "platform/ui/command.h"
#include "prescriptions/ssk_codes.h"
#include "prescriptions/ui/recete_ssk_kayit.h"
#include "print/print_service.h"
#include "print/report.h"
#include "print/report_fonts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
const QStringList kClassCaptions{u"N&ormal"_s, u"Çalı&şan"_s, u"E&mekli"_s, u"Rap./Ya&t."_s, u"Di&ğer"_s};
const QStringList kClassLetters{u"N"_s, u"Ç"_s, u"E"_s, u"R"_s, u"D"_s};
const QStringList kPlaceCaptions{u"Kur&um"_s, u"Muayenehan&e"_s, u"Ö&zel Hastahane"_s, u"Öze&l Poliklinik"_s};
const QStringList kPlaceLetters{u"K"_s, u"M"_s, u"H"_s, u"P"_s};
}  // namespace

TReceteSSKForm::TReceteSSKForm(Session& session, QWidget* parent) : QDialog(parent), session_(session), logic_(session)
{
    setObjectName(u"TReceteSSKForm"_s);
    setWindowTitle(u"SSK TİPİ REÇETE KAYIT"_s);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(createHeader());
    QLabel* notice = addLabel(u"Fatura"_s);
    notice->setStyleSheet(u"color: #a00000; font-weight: bold"_s);
    layout->addWidget(notice);
    layout->addWidget(createPages(), 1);
    layout->addLayout(createButtons());
    createPrintShortcuts();
    int margin = 0;
    font_ = FontDef(u"Courier New"_s, 10);
    if (loadReportFont(session_.db, SskFontKey, font_, margin)) margin_->setValue(std::clamp(margin, 0, 25));
    resize(900, 700);
}

TReceteSSKForm::~TReceteSSKForm() = default;

QLineEdit* TReceteSSKForm::addBox(const QString& name, int maxLength, QWidget* parent)
{
    auto* e = new QLineEdit(parent ? parent : this);
    e->setObjectName(name);
    if (maxLength > 0) e->setMaxLength(maxLength);
    e->installEventFilter(this);
    boxes_.insert(name, e);
    return e;
}

QLineEdit* TReceteSSKForm::addDateBox(const QString& name, QWidget* parent)
{
    QLineEdit* e = addBox(name, 0, parent);
    e->setInputMask(u"00.00.0000;_"_s);
    e->setMinimumWidth(fontMetrics().horizontalAdvance(u"00.00.00000"_s) + 12);
    return e;
}

QLabel* TReceteSSKForm::addLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent ? parent : this);
    l->setObjectName(name);
    labels_.insert(name, l);
    return l;
}

QPushButton* TReceteSSKForm::addButton(const QString& name, const QString& caption, std::function<void()> run, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent ? parent : this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [this, run] { guarded(run); });
    buttons_.insert(name, b);
    return b;
}

QComboBox* TReceteSSKForm::addCombo(const QString& name, const QStringList& items, bool withEmpty, QWidget* parent)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    if (withEmpty) c->addItem(QString());
    c->addItems(items);
    combos_.insert(name, c);
    connect(c, &QComboBox::currentTextChanged, this, [this, name](const QString& item) {
        if (filling_) return;
        guarded([&] {
            if (name == u"DURUM_KOD"_s) logic_.setStatusItem(item);
            else if (name == u"YAKINLIK_KOD"_s) logic_.setRelationshipItem(item);
            else logic_.setCountryItem(item);
        });
    });
    return c;
}

QLayout* TReceteSSKForm::createHeader()
{
    auto* g = new QGridLayout;
    auto caption = [this](const QString& text) { return new QLabel(text, this); };
    g->addWidget(caption(u"Kurum Kodu (F5)"_s), 0, 0);
    g->addWidget(addBox(u"KURUMKOD"_s, 11), 0, 1);
    g->addWidget(addLabel(u"KurumAdi"_s), 0, 2, 1, 3);
    g->addWidget(caption(u"Hasta Adı (F6)"_s), 1, 0);
    g->addWidget(addBox(u"HASTADI"_s, 18), 1, 1);
    g->addWidget(caption(u"Soyadı"_s), 1, 2);
    g->addWidget(addBox(u"HASTASOYAD"_s, 18), 1, 3);
    auto* classBox = new QGroupBox(u"Hasta Sınıfı"_s, this);
    auto* classLayout = new QHBoxLayout(classBox);
    classes_ = new QButtonGroup(this);
    for (int i = 0; i < kClassCaptions.size(); ++i) {
        auto* r = new QRadioButton(kClassCaptions[i], classBox);
        r->setObjectName(u"SINIF_"_s + kClassLetters[i]);
        classes_->addButton(r, i);
        classLayout->addWidget(r);
    }
    connect(classes_, &QButtonGroup::idClicked, this, [this](int id) {
        guarded([&] { logic_.setClassLetter(kClassLetters[id]); });
        refresh();
    });
    g->addWidget(classBox, 2, 0, 1, 5);
    g->addWidget(caption(u"Sigortalı Adı"_s), 3, 0);
    g->addWidget(addBox(u"RS_AD"_s, 18), 3, 1);
    g->addWidget(caption(u"Soyadı"_s), 3, 2);
    g->addWidget(addBox(u"RS_SOYAD"_s, 18), 3, 3);
    g->addWidget(caption(u"Sigartalı Seç F8 Tuşu"_s), 3, 4);
    QLabel* doctor = addLabel(u"DoktorKodu"_s, u"Doktor Kodu (F7)"_s);
    doctor->installEventFilter(this);
    doctor->setToolTip(u"Tıklayınca doktor kodu silinir."_s);
    g->addWidget(doctor, 4, 0);
    g->addWidget(addLabel(u"DRKOD"_s), 4, 1);
    auto* sicil = caption(u"Sic&il No"_s);
    sicil->setBuddy(addBox(u"SICILNO"_s, 13));
    g->addWidget(sicil, 4, 2);
    g->addWidget(boxes_[u"SICILNO"_s], 4, 3);
    g->addWidget(caption(u"Reçete No"_s), 5, 0);
    g->addWidget(addBox(u"SERINO"_s, 10), 5, 1);
    g->addWidget(caption(u"Protokol No"_s), 5, 2);
    g->addWidget(addBox(u"PROTOKOLNO"_s, 10), 5, 3);
    g->addWidget(caption(u"Tahsis/Dosya No"_s), 6, 0);
    g->addWidget(addBox(u"TAHSIS_DOSNO"_s, 11), 6, 1);
    g->addWidget(caption(u"İşyeri No"_s), 6, 2);
    g->addWidget(addBox(u"ISYERNO"_s, 9), 6, 3);
    g->addWidget(caption(u"Memur Ünite No"_s), 7, 0);
    g->addWidget(addBox(u"MEMUNITNO"_s, 8), 7, 1);
    g->addWidget(caption(u"Doktor Ünite No"_s), 7, 2);
    g->addWidget(addBox(u"DRUNITNO"_s, 8), 7, 3);
    auto* dates = new QHBoxLayout;
    const QList<std::pair<QString, QString>> dateCaptions{
        {u"RECTARIH"_s, u"Reçete Tarihi"_s}, {u"ALTARIH"_s, u"Alındığı Tarih"_s}, {u"RPBASTRH"_s, u"Rapor Baş."_s},
        {u"RPBITRH"_s, u"Rapor Bit."_s},     {u"HASYATRH"_s, u"Yatış Trh."_s}};
    for (const auto& [name, text] : dateCaptions) {
        dates->addWidget(caption(text));
        dates->addWidget(addDateBox(name));
        dates->addWidget(addButton(u"Takvim"_s + name, u"..."_s, [this, name = name] {
            logic_.chooseDate(name);
            refresh();
            boxes_[name]->setFocus();
        }));
        buttons_[u"Takvim"_s + name]->setMaximumWidth(30);
    }
    g->addLayout(dates, 8, 0, 1, 5);
    g->addWidget(caption(u"Teşhis"_s), 9, 0);
    g->addWidget(addBox(u"TESHIS"_s, 25), 9, 1, 1, 3);
    return g;
}

QWidget* TReceteSSKForm::createCodedPage()
{
    auto* page = new QWidget(this);
    auto* g = new QGridLayout(page);
    // The lists are reached by their letters: Alt+K the status, Alt+N the relationship.
    auto* status = new QLabel(u"DURUM &KODU"_s, page);
    status->setBuddy(addCombo(u"DURUM_KOD"_s, sskStatusItems(), true, page));
    g->addWidget(status, 0, 0);
    g->addWidget(combos_[u"DURUM_KOD"_s], 0, 1);
    auto* relation = new QLabel(u"Yakı&nlık Durumu"_s, page);
    relation->setBuddy(addCombo(u"YAKINLIK_KOD"_s, sskRelationshipItems(), true, page));
    g->addWidget(relation, 1, 0);
    g->addWidget(combos_[u"YAKINLIK_KOD"_s], 1, 1);
    g->addWidget(new QLabel(u"Ülke Kodu"_s, page), 2, 0);
    g->addWidget(addCombo(u"ULKE_KOD"_s, sskCountryItems(), true, page), 2, 1);
    auto* placeBox = new QGroupBox(u"Yazıldığı Yer"_s, page);
    auto* placeLayout = new QHBoxLayout(placeBox);
    place_ = new QButtonGroup(this);
    for (int i = 0; i < kPlaceCaptions.size(); ++i) {
        auto* r = new QRadioButton(kPlaceCaptions[i], placeBox);
        place_->addButton(r, i);
        placeLayout->addWidget(r);
    }
    connect(place_, &QButtonGroup::idClicked, this, [this](int id) { logic_.setField(u"YER"_s, kPlaceLetters[id]); });
    g->addWidget(placeBox, 3, 0, 1, 2);
    illness_ = new QCheckBox(u"Hastalık,İş Kazası,Mes. Hast.,Analık"_s, page);
    illness_->setObjectName(u"HASTALIK"_s);
    connect(illness_, &QCheckBox::toggled, this, [this](bool on) {
        if (!filling_) logic_.setIllness(on);
    });
    g->addWidget(illness_, 4, 0, 1, 2);
    g->addWidget(new QLabel(u"Raporlu/Yatarak Tedavi Kodu"_s, page), 5, 0);
    g->addWidget(addBox(u"RAP_YAT_KOD"_s, 1, page), 5, 1);
    g->addWidget(new QLabel(u"Günlük Kullanım Dozu Açıklaması"_s, page), 6, 0);
    g->addWidget(addBox(u"GUNKULACIK"_s, 15, page), 6, 1);
    g->addWidget(new QLabel(u"Sağlık Kur. No"_s, page), 7, 0);
    g->addWidget(addBox(u"SAGKURNO"_s, 3, page), 7, 1);
    g->addWidget(new QLabel(u"Karantina No"_s, page), 8, 0);
    g->addWidget(addBox(u"KARANTINA"_s, 10, page), 8, 1);
    g->setRowStretch(9, 1);
    return page;
}

QWidget* TReceteSSKForm::createDetailsPage()
{
    auto* page = new QWidget(this);
    auto* g = new QGridLayout(page);
    for (int i = 0; i < 3; ++i) {
        g->addWidget(addLabel(u"ETIKET"_s + QString::number(i + 1), {}, page), i, 0);
        g->addWidget(addBox(u"BAS"_s + QString::number(i + 1), 17, page), i, 1);
    }
    g->addWidget(new QLabel(u"Yazıldığı Yerin Adresi"_s, page), 3, 0);
    g->addWidget(addBox(u"DZADR1"_s, 30, page), 3, 1);
    g->addWidget(addBox(u"DZADR2"_s, 30, page), 4, 1);
    g->addWidget(new QLabel(u"Kaç cm. Soldan Başlasın"_s, page), 5, 0);
    margin_ = new QSpinBox(page);
    margin_->setObjectName(u"Marjin"_s);
    margin_->setRange(0, 25);
    g->addWidget(margin_, 5, 1);
    auto* prints = new QHBoxLayout;
    prints->addWidget(addButton(u"Dogrudan"_s, u"&Reç. Arkası Dökümünü Bas"_s, [this] { directPrint(); }, page));
    prints->addWidget(addButton(u"Onizleme"_s, u"Ön İzlemeli &Döküm Al"_s, [this] { previewPrint(); }, page));
    prints->addWidget(addButton(u"Font"_s, u"&Yazı Fontu"_s, [this] { chooseFont(); }, page));
    g->addLayout(prints, 6, 0, 1, 2);
    g->setRowStretch(7, 1);
    return page;
}

QWidget* TReceteSSKForm::createPages()
{
    pages_ = new QTabWidget(this);
    pages_->addTab(createCodedPage(), u"Kodlu Bilgiler "_s);
    hesap_ = new QTableWidget(4, 7, this);
    hesap_->setObjectName(u"Hesap"_s);
    hesap_->setHorizontalHeaderLabels({u"Brüt T."_s, u"İndir. %"_s, u"İndir."_s, u"AraT."_s, u"H.K.P. %"_s, u"H.K.P."_s, u"NET T."_s});
    hesap_->setVerticalHeaderLabels({u"Normal İlaçlar"_s, u"İlaç Beraberi"_s, u"Özel Katılım"_s, u"REÇETE TOPLAMI"_s});
    hesap_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pages_->addTab(hesap_, u"Hesap     "_s);
    pages_->addTab(createDetailsPage(), u"Reçete Ayrıntıları ve Reç.Arkası Dökümü"_s);
    return pages_;
}

// The printout buttons' letters work from every page: elsewhere a window shortcut shows
// their page and presses the button; on their own page it steps aside for the button's
// mnemonic, so the key is never claimed twice. Alt+F3 and Alt+keypad 4 work everywhere.
void TReceteSSKForm::createPrintShortcuts()
{
    QWidget* page = pages_->widget(2);
    auto add = [this, page](const QKeySequence& key, const QString& button, bool besideMnemonic) {
        auto* s = new QShortcut(key, this);
        s->setContext(Qt::WindowShortcut);
        QPushButton* b = buttons_.value(button);
        connect(s, &QShortcut::activated, this, [this, page, b] {
            pages_->setCurrentWidget(page);
            b->click();
        });
        if (!besideMnemonic) return;
        auto follow = [this, s, page] { s->setEnabled(pages_->currentWidget() != page); };
        connect(pages_, &QTabWidget::currentChanged, s, follow);
        follow();
    };
    add(QKeySequence(Qt::AltModifier | Qt::Key_R), u"Dogrudan"_s, true);
    add(QKeySequence(Qt::AltModifier | Qt::Key_D), u"Onizleme"_s, true);
    add(QKeySequence(Qt::AltModifier | Qt::Key_Y), u"Font"_s, true);
    add(QKeySequence(Qt::AltModifier | Qt::Key_F3), u"Dogrudan"_s, false);
    add(QKeySequence(Qt::AltModifier | Qt::KeypadModifier | Qt::Key_4), u"Onizleme"_s, false);
}

QLayout* TReceteSSKForm::createButtons()
{
    auto* row = new QHBoxLayout;
    row->addWidget(addButton(u"Sakla"_s, u"&Sakla"_s, [this] { store(); }));
    row->addWidget(addButton(u"Vazgec"_s, u"V&azgeç"_s, [this] { reject(); }));
    row->addStretch();
    return row;
}

void TReceteSSKForm::guarded(const std::function<void()>& f) { runCommand(session_.prompter, f); }

void TReceteSSKForm::open(int mode, const QString& dateText, double saleNo)
{
    guarded([&] { logic_.open(mode, dateText, saleNo); });
    refresh();
    boxes_[u"KURUMKOD"_s]->setFocus();
}

}  // namespace selvar
