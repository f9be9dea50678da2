#include "exchange/ui/takas_list_forms.h"

#include "core/dates.h"
#include "core/format.h"
#include "core/turkish.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "platform/ui/command.h"
#include "print/page_setup.h"
#include "print/print_service.h"
#include "print/report_fonts.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <numeric>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
QPushButton* button(QWidget* parent, QLayout* layout, const QString& caption, std::function<void()> run)
{
    auto* b = new QPushButton(caption, parent);
    b->setAutoDefault(false);
    QObject::connect(b, &QPushButton::clicked, parent, std::move(run));
    layout->addWidget(b);
    return b;
}
}  // namespace

// ---------------------------------------------------------------- the query dialog

TSorTakasDlg::TSorTakasDlg(Session& session, QWidget* parent) : QDialog(parent), session_(session)
{
    setObjectName(u"TSorTakasDlg"_s);
    setWindowTitle(u"Takas Listesi Sorgusu"_s);
    auto* layout = new QVBoxLayout(this);
    auto* dates = new QHBoxLayout;
    from_ = new QLineEdit(this);
    to_ = new QLineEdit(this);
    for (QLineEdit* e : {from_, to_}) {
        e->setInputMask(u"99/99/9999;_"_s);
        e->installEventFilter(this);
    }
    dates->addWidget(new QLabel(u"Tarihinden"_s, this));
    dates->addWidget(from_);
    dates->addWidget(new QLabel(u"Tarihine kadar"_s, this));
    dates->addWidget(to_);
    layout->addLayout(dates);
    auto* names = new QHBoxLayout;
    pharmacy_ = new QLineEdit(this);
    pharmacy_->setMaxLength(24);
    names->addWidget(new QLabel(u"Eczane Adı"_s, this));
    names->addWidget(pharmacy_, 1);
    button(this, names, u"Eczane Seç"_s, [this] {
        const QString name = EczaneSec(session_, this);
        if (!name.isEmpty()) pharmacy_->setText(name);
    });
    layout->addLayout(names);
    auto* typeBox = new QGroupBox(u"Takas Tipi"_s, this);
    auto* typeLayout = new QHBoxLayout(typeBox);
    types_ = new QButtonGroup(this);
    int i = 0;
    for (const QString& text : {u"Aldığımız"_s, u"Verdiğimiz"_s, u"İkisi de"_s}) {
        auto* b = new QRadioButton(text, typeBox);
        types_->addButton(b, i++);
        typeLayout->addWidget(b);
    }
    types_->button(2)->setChecked(true);
    layout->addWidget(typeBox);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(u"Tamam"_s, this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(ok);
    button(this, buttons, u"Vazgeç"_s, [this] { reject(); });
    layout->addLayout(buttons);
}

bool TSorTakasDlg::eventFilter(QObject* watched, QEvent* event)
{
    // A date that is neither blank nor valid beeps and keeps the focus.
    if ((watched == from_ || watched == to_) && event->type() == QEvent::FocusOut) {
        auto* box = static_cast<QLineEdit*>(watched);
        const DateInput d = parseDateText(box->displayText().replace(u'_', u' ').replace(u'/', u'.'));
        if (d.state == DateInput::Invalid) {
            session_.prompter.beep();
            QMetaObject::invokeMethod(box, [box] { box->setFocus(); }, Qt::QueuedConnection);
        }
    }
    return QDialog::eventFilter(watched, event);
}

ExchangeQuery TSorTakasDlg::query() const
{
    ExchangeQuery q;
    auto typed = [](QLineEdit* e) {
        const QString t = e->displayText().replace(u'_', u' ');
        return maskedDateIsBlank(t) ? QString() : t.trimmed();
    };
    q.from = typed(from_);
    q.to = typed(to_);
    q.pharmacy = pharmacy_->text().trimmed();
    q.type = types_->checkedId();
    return q;
}

std::optional<ExchangeQuery> TakasSorgu(Session& session, QWidget* parent)
{
    TSorTakasDlg dialog(session, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.query();
}

// ---------------------------------------------------------------- the list

TTAKSORForm::TTAKSORForm(Session& session, const ExchangeQuery& query, QWidget* parent)
    : QDialog(parent), session_(session), logic_(session), query_(query)
{
    setObjectName(u"TTAKSORForm"_s);
    auto* layout = new QVBoxLayout(this);
    grid_ = exchangeGrid(this);
    grid_->installEventFilter(this);
    layout->addWidget(grid_, 1);
    searched_ = new QLabel(u"Aranan: "_s, this);
    layout->addWidget(searched_);
    auto* totals = new QHBoxLayout;
    const QStringList captions{u"Aldıklarımızın Tutarı"_s, u"Verdiklerimizin Tutarı"_s, u"Toplam"_s};
    for (int i = 0; i < 3; ++i) {
        totals->addWidget(new QLabel(captions[i], this));
        totals_[i] = new QLabel(this);
        totals_[i]->setFrameShape(QFrame::Panel);
        totals_[i]->setFrameShadow(QFrame::Sunken);
        totals->addWidget(totals_[i], 1);
    }
    layout->addLayout(totals);
    sortBox_ = new QGroupBox(u"Sıralama Kriteri"_s, this);
    auto* sortLayout = new QHBoxLayout(sortBox_);
    orders_ = new QButtonGroup(this);
    int i = 0;
    for (const QString& text : TakasLogic::orderChoices()) {
        auto* b = new QRadioButton(text, sortBox_);
        orders_->addButton(b, i++);
        sortLayout->addWidget(b);
    }
    orders_->button(1)->setChecked(true);
    button(this, sortLayout, u"&Tamam"_s, [this] {
        sortBy(orders_->checkedId());
        sortBox_->hide();
    });
    button(this, sortLayout, u"&Vazgeç"_s, [this] { sortBox_->hide(); });
    sortBox_->hide();
    layout->addWidget(sortBox_);
    auto* buttons = new QHBoxLayout;
    button(this, buttons, u"&Sırala "_s, [this] { sortBox_->show(); });
    buttons->addStretch();
    buttons->addWidget(new QLabel(u"Yazıcı Sol Marj (cm)"_s, this));
    margin_ = new QSpinBox(this);
    margin_->setRange(0, 10);
    buttons->addWidget(margin_);
    button(this, buttons, u"Yazı &Fontu"_s, [this] {
        if (!session_.print) return;
        if (const std::optional<FontDef> f = session_.print->chooseFont(font_, FontChoice::FixedPitch)) {
            font_ = *f;
            fontChanged_ = true;
        }
    });
    button(this, buttons, u"Yazıcı"_s, [this] { print(); });
    button(this, buttons, u"Kapat"_s, [this] { accept(); });
    layout->addLayout(buttons);

    font_ = FontDef(u"Courier New"_s, 9);
    runCommand(session_.prompter, [this] {
        loadReportFont(session_.db, u"taklis"_s, font_, marginCm_);
        list_ = logic_.query(query_);
    });
    margin_->setValue(marginCm_);
    connect(margin_, &QSpinBox::valueChanged, this, [this](int v) {
        marginCm_ = v;
        fontChanged_ = true;
    });
    fill();
    resize(900, 560);
}

TTAKSORForm::~TTAKSORForm()
{
    if (fontChanged_)
        runCommand(session_.prompter, [this] { saveReportFont(session_.db, u"taklis"_s, font_, marginCm_); });
}

void TTAKSORForm::fill()
{
    if (!list_) return;
    setWindowTitle(list_->caption);
    grid_->setRowCount(int(list_->rows.size()));
    for (int r = 0; r < list_->rows.size(); ++r) {
        const ExchangeListRow& x = list_->rows[r];
        const QStringList cells{x.pharmacy, x.date.isValid() ? x.date.toString(u"dd/MM/yy"_s) : QString(), x.product,
                                QString::number(x.quantity), format(u"%m"_s, x.amount), exchangeTypeText(x.type, 0)};
        for (int c = 0; c < cells.size(); ++c) grid_->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    QList<int> order(list_->rows.size());
    std::iota(order.begin(), order.end(), 0);
    QStringList keys;
    for (const ExchangeListRow& x : list_->rows) keys << sortKey(x.pharmacy);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a] < keys[b]; });
    sortedRows_ = order;
    sortedNames_.clear();
    for (int r : order) sortedNames_ << list_->rows[r].pharmacy;
    typed_.clear();
    searched_->setText(u"Aranan: "_s);
    if (!list_->rows.isEmpty()) grid_->setCurrentCell(0, 0);
    totals_[0]->setText(list_->totals.received());
    totals_[1]->setText(list_->totals.given());
    totals_[2]->setText(list_->totals.difference());
}

bool TTAKSORForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grid_ && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (typeAheadKey(k, typed_, sortedNames_, [this](int i) { grid_->setCurrentCell(sortedRows_[i], 0); }, searched_))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TTAKSORForm::sortBy(int choice)
{
    const QStringList clauses = TakasLogic::orderClauses();
    if (choice < 0 || choice >= clauses.size()) return;
    runCommand(session_.prompter, [&] { list_ = logic_.query(query_, clauses[choice]); });
    fill();
}

void TTAKSORForm::print()
{
    if (!list_ || !session_.print) return;
    runCommand(session_.prompter, [this] {
        std::unique_ptr<Canvas> canvas = session_.print->beginJob(u"TAKAS LİSTESİ"_s, PageSetup(), true);
        if (!canvas) return;
        canvas->setFont(font_);
        logic_.drawList(*canvas, *list_, marginCm_);
        canvas->endDocument();
    });
}

void TakasListesiAc(Session& session, QWidget* parent)
{
    const std::optional<ExchangeQuery> q = TakasSorgu(session, parent);
    if (!q) return;
    TTAKSORForm list(session, *q, parent);
    if (list.hasRows()) list.exec();
}

// ---------------------------------------------------------------- the price update

TFormTakGun::TFormTakGun(Session& session, QWidget* parent) : QDialog(parent), session_(session), logic_(session)
{
    setObjectName(u"TFormTakGun"_s);
    setWindowTitle(u"Takas Fiyatlarının Güncellenmesi"_s);
    auto* layout = new QVBoxLayout(this);
    grid_ = new QTableWidget(0, 8, this);
    grid_->setHorizontalHeaderLabels({u"T.NO"_s, u"Eczane Adı"_s, u"İlaç Adı"_s, u"Takas Fiyatı"_s, u"Güncel Fiyatı"_s, u"Mik"_s,
                                      u"FARK"_s, u"Yeni Tutar"_s});
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setTabKeyNavigation(false);  // Tab goes on to the buttons
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(grid_, 1);
    auto* buttons = new QHBoxLayout;
    button(this, buttons, u"Tümünü Güncelle"_s, [this] { updateAll(); });
    button(this, buttons, u"İşaretliyi Güncelle"_s, [this] { updateCurrent(); });
    buttons->addStretch();
    button(this, buttons, u"Kapat"_s, [this] { accept(); });
    layout->addLayout(buttons);
    fill();
    resize(900, 480);
    addExchangeHelp(this, session_);
}

void TFormTakGun::fill()
{
    runCommand(session_.prompter, [this] { rows_ = logic_.priceUpdates(); });
    grid_->setRowCount(int(rows_.size()));
    for (int r = 0; r < rows_.size(); ++r) {
        const PriceUpdateRow& x = rows_[r];
        const QStringList cells{QString::number(x.no), x.pharmacy, x.product, format(u"%m"_s, x.unitAmount),
                                format(u"%m"_s, x.price), QString::number(x.quantity), format(u"%m"_s, x.difference),
                                format(u"%m"_s, x.newAmount)};
        for (int c = 0; c < cells.size(); ++c) grid_->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    if (!rows_.isEmpty()) grid_->setCurrentCell(0, 0);
}

void TFormTakGun::updateAll()
{
    if (!session_.prompter.confirmed(u"Tüm Liste Güncellensin mi?"_s)) return;
    runCommand(session_.prompter, [this] { logic_.updateAll(); });
    accept();
}

void TFormTakGun::updateCurrent()
{
    const int r = grid_->currentRow();
    if (r < 0 || r >= rows_.size()) return;
    if (!session_.prompter.confirmed(u"İşaretli Kayıt Güncellensin mi?"_s)) return;
    runCommand(session_.prompter, [&] { logic_.updateOne(rows_[r].no, rows_[r].newAmount); });
    fill();
}

void TakasGuncelle(Session& session, QWidget* parent)
{
    TFormTakGun window(session, parent);
    if (!window.hasRows()) {
        session.prompter.information(u"Güncellencek kayıt yok."_s);
        return;
    }
    window.exec();
}

}  // namespace selvar
