#include "app/ui/main_form.h"

#include "platform/ui/command.h"

#include "app/ui/marquee.h"
#include "companion/companion.h"
#include "core/dates.h"
#include "data/errors.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "platform/siblings.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
QString plain(QString caption) { return caption.remove(u'&'); }
}  // namespace

TILKForm::TILKForm(Session& session, const WindowOpeners& openers, QWidget* parent)
    : QMainWindow(parent), session_(session), openers_(openers), logic_(session)
{
    setObjectName(u"TILKForm"_s);
    rights_ = logic_.create();
    setWindowTitle(logic_.caption());
    Companion* companion = session_.companion;
    auto card = [this, companion](auto call) {
        return [this, companion, call] {
            call(*companion);
            update();
        };
    };
    const bool hasCompanion = companion != nullptr;

    QMenu* work = menuBar()->addMenu(u"İşlemler"_s);
    QAction* sale = addCommand(work, u"Satış"_s, QKeySequence(u"Ctrl+S"_s), openers_.sale);
    QAction* purchase = addCommand(work, u"Alış"_s, QKeySequence(u"Ctrl+A"_s), openers_.purchase, rights_.alism);
    QAction* exchange = addCommand(work, u"Takas"_s, QKeySequence(u"Ctrl+T"_s), openers_.exchange, rights_.takas);
    addCommand(work, u"SSK Reçetesi"_s, QKeySequence(u"Ctrl+R"_s), openers_.sskSale);
    work->addSeparator();
    QAction* institutionInvoice = addCommand(work, u"Kurum Faturası"_s, {}, [this] {
        sibling(u"odeyen.exe"_s, u"Kurum Faturası Selvar"_s);
    });
    std::function<void()> sskInvoices;
    if (hasCompanion && openers_.issuedSskInvoices)
        sskInvoices = [this, companion] {
            const QString code = companion->BrKurumCreate(1);
            if (!code.isEmpty()) openers_.issuedSskInvoices(code);
            update();
        };
    addCommand(work, u"SSK Faturası"_s, QKeySequence(u"Ctrl+F"_s), sskInvoices);
    addCommand(work, u"Açık Ödemeler"_s, QKeySequence(u"Ctrl+O"_s),
               hasCompanion ? std::function<void()>([this] { logic_.openPayments(); }) : nullptr, rights_.acikode);
    std::function<void()> salesPrice;
    if (hasCompanion && openers_.salesPriceSetting)
        salesPrice = [this, companion] {
            const double purchaseNo = companion->EskiAlisCreate(1);
            if (purchaseNo > 0) openers_.salesPriceSetting(purchaseNo);
        };
    addCommand(work, u"Satış Fiyatı Oluşturma"_s, {}, salesPrice);
    work->addSeparator();
    QAction* quit = addCommand(work, u"Çı&kış"_s, {}, [this] { close(); });

    QMenu* cards = menuBar()->addMenu(u"Kartlar"_s);
    auto cardCommand = [&](const QString& caption, const QKeySequence& key, std::function<void(Companion&)> call) {
        addCommand(cards, caption, key, hasCompanion ? std::function<void()>(card(call)) : nullptr);
    };
    cardCommand(u"Cari Kartı"_s, QKeySequence(u"Ctrl+C"_s), [](Companion& c) { c.BrKurumCreate(0); });
    cardCommand(u"Doktor Kartı"_s, {}, [](Companion& c) { c.BrDoktorCreate(0); });
    cardCommand(u"Hasta Kartı"_s, QKeySequence(u"Ctrl+H"_s), [](Companion& c) { c.BrHastaCreate(0); });
    cardCommand(u"Ürün Kartı"_s, {}, [](Companion& c) { c.BrUrunCreate(0); });
    cardCommand(u"Endikasyon Kartı"_s, {}, [](Companion& c) { c.BrEndikCreate(0); });
    cardCommand(u"Firma Kartı"_s, {}, [](Companion& c) { c.BrFirmaCreate(0); });
    cardCommand(u"Jenerik Kartı"_s, {}, [](Companion& c) { c.BrJenCreate(0); });
    cardCommand(u"Ürün Grubu Kartı"_s, {}, [](Companion& c) { c.BrGrupCreate(0); });

    QMenu* prescriptions = menuBar()->addMenu(u"Reçeteler"_s);
    addCommand(prescriptions, u"Yeniden Değerlendirme"_s, {}, openers_.repricing);
    addCommand(prescriptions, u"Esk.Fyt.lı Rç.Değerlendirme"_s, {}, openers_.oldPriceRepricing);
    addCommand(prescriptions, u"Otomatik Yeniden Reç.Değerlendirme"_s, {}, openers_.automaticRepricing);
    prescriptions->addSeparator();
    addCommand(prescriptions, u"Reçete Tanım"_s, {}, hasCompanion ? std::function<void()>(card([](Companion& c) { c.TanimlaRecete(); })) : nullptr);
    addCommand(prescriptions, u"Kurum Listesi Tanım"_s, {}, hasCompanion ? std::function<void()>(card([](Companion& c) { c.ListeTanimGor(); })) : nullptr);

    QMenu* remind = menuBar()->addMenu(u"Hatırlat"_s);
    auto reminder = [this, hasCompanion](const QString& letter) -> std::function<void()> {
        if (!hasCompanion) return nullptr;
        return [this, letter] {
            logic_.remind(letter);
            update();
        };
    };
    addCommand(remind, u"Açık Vadeli Borçlular"_s, {}, reminder(u"B"_s), rights_.hatborc);
    addCommand(remind, u"Açık Vadeli Alacaklılar"_s, {}, reminder(u"A"_s), rights_.hatalac);
    addCommand(remind, u"İkisi de"_s, {}, reminder(u"İ"_s), rights_.hatikisi);

    QMenu* help = menuBar()->addMenu(u"Yardım"_s);
    QAction* helpTopic = addCommand(help, u"Yardım"_s, QKeySequence(u"F1"_s), [this] {
        if (session_.platform) session_.platform->showHelp(u"Selvar.hlp"_s, 1);
    });
    QAction* about = addCommand(help, u"Program Hakkında"_s, {}, [this] {
        TAboutBox box(this);
        box.exec();
    });

    addPrivateReportCommand();

    // The big-button panel.
    auto* central = new QWidget(this);
    auto* grid = new QGridLayout;
    addButton(u"&Satış"_s, sale);
    addButton(u"&Alış"_s, purchase);
    addButton(u"&Takas"_s, exchange);
    addButton(u"Krm.Liste, &Fatura"_s, institutionInvoice);
    addButton(u"&Listeler"_s, [this] { sibling(u"listgor.exe"_s, u"Liste"_s); });
    addButton(u"Sipari&ş"_s, [this] { sibling(u"sipyon.exe"_s, u"Sipariş Listesi Selvar"_s); });
    addButton(u"En&vanter"_s, [this] { sibling(u"envsay.exe"_s, u"ENVANTER Selvar"_s); }, rights_.envanter);
    addButton(u"Fiyat &Değiştir"_s, [this] { sibling(u"fiyguncel.exe"_s, u"Ürün Fiyatlarını  Değiştirme Selvar"_s); });
    addButton(u"Bark&od Tanım"_s, [this] { sibling(u"cizgikod.exe"_s, u"BARKOD TANIM SELVAR"_s); });
    addButton(u"&İstatistikler"_s, [this] { sibling(u"sayilar.exe"_s, u"istatistikler Selvar"_s); }, rights_.gizlikasa);
    addButton(u"Fiyat &Etiketi Bas"_s, [this] { sibling(u"rafyaz.exe"_s, u"Fiyat Etiketi Bas Selvar"_s); });
    addButton(u"&Barkod Etiketi Bas"_s, [this] { sibling(u"seritbas.exe"_s, u"Barkod Etiketi Selvar"_s); });
    addButton(u"Bakı&m Destek"_s, [this] {
        if (session_.platform)
            Siblings(*session_.platform, session_.prompter).activateOrStartPlain(u"onarim.exe"_s, u"SELVAR 8.0 BAKIM VE DESTEK"_s);
    });
    addButton(u"Fiyat Akta&r"_s, [this] {
        if (session_.platform) Siblings(*session_.platform, session_.prompter).startNew(u"tasiyici.exe"_s);
    });
    addButton(u"İ&nternet ve BBS"_s, [this] {
        if (session_.platform) Siblings(*session_.platform, session_.prompter).startDialUp();
    });
    auto* depotMenu = new QMenu(this);
    depotMenu->setObjectName(u"DepoMenu"_s);
    QAction* edak = depotMenu->addAction(u"EDAK"_s);
    connect(edak, &QAction::triggered, this, [this] {
        if (session_.platform)
            session_.platform->openWithDefaultProgram(session_.platform->programsDirectory() + u"/EDAK.HT"_s);
    });
    for (const QString& other : {u"ES"_s, u"AYEK"_s, u"SELÇUK"_s, u"HEDEF"_s}) depotMenu->addAction(other);
    const QString depotsCaption = u"De&po Bağlantıları"_s;
    addButton(depotsCaption, [this, depotMenu, depotsCaption] {
        const QPushButton* depots = buttons_.value(plain(depotsCaption));
        depotMenu->popup(depots->mapToGlobal(QPoint(depots->width(), 0)));
    });
    addButton(u"Hesap Makinesi"_s, [this] {
        if (session_.platform && !session_.platform->startCalculator())
            session_.prompter.warning(u"Hesap makinesi bulunamadı."_s);
    });
    addButton(u"&Yardım"_s, helpTopic);
    addButton(u"&Hakkında"_s, about);
    addButton(u"Çı&kış"_s, quit);
    for (int i = 0; i < panel_.size(); ++i) grid->addWidget(panel_[i], i / 4, i % 4);

    banner_ = new MarqueeBanner(central);
    auto* layout = new QVBoxLayout(central);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addWidget(banner_);
    setCentralWidget(central);
    resize(860, 560);
}

TILKForm::~TILKForm() = default;

void TILKForm::addPrivateReportCommand()
{
    // Hidden: its shortcut comes from the pharmacy settings.
    auto* secret = new QAction(u"Sifreli"_s, this);
    secret->setObjectName(u"Sifreli"_s);
    QKeySequence key = QKeySequence::fromString(logic_.privateShortcut(), QKeySequence::PortableText);
    secret->setShortcut(key.isEmpty() ? QKeySequence(u"Ctrl+B"_s) : key);
    secret->setShortcutContext(Qt::WindowShortcut);
    secret->setEnabled(rights_.gizlikasa && bool(openers_.privateReports));
    connect(secret, &QAction::triggered, this, [this] { guarded(openers_.privateReports); });
    addAction(secret);
    commands_.insert(u"Sifreli"_s, secret);
}

void TILKForm::guarded(const std::function<void()>& f) { runCommand(session_.prompter, f); }

void TILKForm::sibling(const QString& program, const QString& title)
{
    if (session_.platform) Siblings(*session_.platform, session_.prompter).activateOrStart(program, title);
}

QAction* TILKForm::addCommand(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                              std::function<void()> run, bool allowed)
{
    auto* a = menu->addAction(caption);
    a->setObjectName(plain(caption));
    if (!shortcut.isEmpty()) {
        a->setShortcut(shortcut);
        a->setShortcutContext(Qt::WindowShortcut);
    }
    // A command whose window is not part of this build stays disabled.
    a->setEnabled(allowed && bool(run));
    connect(a, &QAction::triggered, this, [this, run] { guarded(run); });
    commands_.insert(plain(caption), a);
    return a;
}

QPushButton* TILKForm::addButton(const QString& caption, QAction* action)
{
    auto* b = new QPushButton(caption);
    b->setObjectName(plain(caption));
    b->setMinimumHeight(46);
    b->setEnabled(action->isEnabled());
    connect(action, &QAction::changed, b, [b, action] { b->setEnabled(action->isEnabled()); });
    connect(b, &QPushButton::clicked, action, &QAction::trigger);
    buttons_.insert(plain(caption), b);
    panel_ << b;
    return b;
}

QPushButton* TILKForm::addButton(const QString& caption, std::function<void()> run, bool allowed)
{
    auto* b = new QPushButton(caption);
    b->setObjectName(plain(caption));
    b->setMinimumHeight(46);
    b->setEnabled(allowed);
    connect(b, &QPushButton::clicked, this, [this, run] { guarded(run); });
    buttons_.insert(plain(caption), b);
    panel_ << b;
    return b;
}

void TILKForm::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    if (banner_->lines().isEmpty()) {
        banner_->setLines({windowTitle(), u"SELVAR ECZANE OTOMASYONU 8.0"_s,
                           u"@Satış, reçete, fatura, alış ve stok tek programda."_s,
                           u"@Ctrl+S satış penceresini, F1 yardımı açar."_s});
        banner_->start();
    }
}

bool TILKForm::event(QEvent* e)
{
    const bool r = QMainWindow::event(e);
    if (e->type() == QEvent::WindowActivate && logic_.firstActivation()) guarded([this] {
            logic_.activated();
            update();
        });
    return r;
}

void TILKForm::closeEvent(QCloseEvent* e)
{
    guarded([this] { logic_.closing(); });
    banner_->stop();
    e->accept();
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(u"TAboutBox"_s);
    setWindowTitle(u"Program Hakkında"_s);
    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel(u"SELVAR 8 Eczane Otomasyonu"_s, this);
    QFont f = name->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 4);
    name->setFont(f);
    layout->addWidget(name);
    layout->addWidget(new QLabel(u"Sürüm 8.0"_s, this));
    layout->addWidget(new QLabel(u"Eczaneler için satış, reçete, fatura, alış, stok ve rapor programı."_s, this));
    layout->addWidget(new QLabel(u"Veriler ECZ veritabanında tutulur."_s, this));
    auto* ok = new QPushButton(u"Tamam"_s, this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

}  // namespace selvar
