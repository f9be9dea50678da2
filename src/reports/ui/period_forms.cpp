#include "reports/ui/period_forms.h"

#include "companion/companion.h"
#include "core/dates.h"
#include "core/format.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "platform/ui/command.h"
#include "print/canvas.h"
#include "print/print_service.h"
#include "print/report_fonts.h"
#include "reports/ui/report_date_box.h"
#include "reports/ui/reports.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

ReportDateBox::ReportDateBox(Session& session, QWidget* parent) : QLineEdit(parent), session_(session)
{
    setInputMask(u"99.99.9999;_"_s);
    setMaximumWidth(110);
}

void ReportDateBox::setDate(const QDate& d) { setText(d.isValid() ? dateText(d) : QString()); }

void ReportDateBox::focusOutEvent(QFocusEvent* e)
{
    // A text that is no date keeps the focus, with a beep.
    if (!dateBoxAcceptable(displayText())) {
        session_.prompter.beep();
        QMetaObject::invokeMethod(this, [this] { setFocus(); }, Qt::QueuedConnection);
    }
    QLineEdit::focusOutEvent(e);
}

void ReportDateBox::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    QMetaObject::invokeMethod(this, [this] { setCursorPosition(0); }, Qt::QueuedConnection);
}

namespace {
// A date box with its calendar button (the companion's calendar, opened at today).
QHBoxLayout* withCalendar(Session& session, QWidget* parent, ReportDateBox* box)
{
    auto* row = new QHBoxLayout;
    row->addWidget(box);
    auto* b = new QPushButton(u"..."_s, parent);
    b->setToolTip(u"Takvime Bak"_s);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoDefault(false);
    QObject::connect(b, &QPushButton::clicked, parent, [&session, box] {
        runCommand(session.prompter, [&] {
            if (!session.companion) return;
            const double chosen = session.companion->DateAl1(toDateTimeReal(session.clock.today()));
            if (chosen > 0) box->setDate(fromDateTimeReal(chosen).date());
        });
        box->setFocus();
    });
    row->addWidget(b);
    return row;
}
}  // namespace

// ---------------------------------------------------------------- the period

TTarihQueryDlg::TTarihQueryDlg(Session& session, const QDate& first, const QDate& last, const QString& prompt,
                               QWidget* parent)
    : QDialog(parent), session_(session)
{
    setObjectName(u"TTarihQueryDlg"_s);
    setWindowTitle(u"Tarih Aralığı Belirleyin"_s);
    first_ = new ReportDateBox(session, this);
    first_->setObjectName(u"Ilk"_s);
    first_->setDate(first);
    last_ = new ReportDateBox(session, this);
    last_->setObjectName(u"Son"_s);
    last_->setDate(last);
    auto* grid = new QGridLayout;
    grid->addLayout(withCalendar(session, this, first_), 0, 0);
    grid->addWidget(new QLabel(u"Tarihinden"_s, this), 0, 1);
    grid->addLayout(withCalendar(session, this, last_), 0, 2);
    grid->addWidget(new QLabel(u"Tarihine kadar"_s, this), 0, 3);
    auto* text = new QLabel(prompt, this);
    text->setObjectName(u"Aciklama"_s);
    text->setWordWrap(true);
    auto* ok = new QPushButton(u"&Tamam"_s, this);
    ok->setDefault(true);
    auto* cancel = new QPushButton(u"&Vazgeç"_s, this);
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TTarihQueryDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &TTarihQueryDlg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(text);
    layout->addLayout(buttons);
    first_->setFocus();
}

QLineEdit* TTarihQueryDlg::firstBox() const { return first_; }
QLineEdit* TTarihQueryDlg::lastBox() const { return last_; }

void TTarihQueryDlg::accept()
{
    const std::optional<DateRange> r = checkDateRange(session_, first_->displayText(), last_->displayText());
    range_ = r.value_or(DateRange{});
    if (r) QDialog::accept();  // otherwise the dialog stays open
}

void TTarihQueryDlg::reject()
{
    first_->clear();
    last_->clear();
    range_ = DateRange{};
    QDialog::reject();
}

DateRange TarihAraligiAl(Session& session, const QDate& first, const QDate& last, const QString& prompt, QWidget* parent)
{
    TTarihQueryDlg d(session, first, last, prompt, parent);
    d.exec();
    return d.range();
}

// ---------------------------------------------------------------- the monthly report

TAylarForm::TAylarForm(Session& session, qint64 productNo, QWidget* parent)
    : QDialog(parent), session_(session), logic_(session, productNo)
{
    setObjectName(u"TAylarForm"_s);
    setWindowTitle(u"Aylık Rapor"_s);
    product_ = new QLabel(this);
    product_->setObjectName(u"Urun"_s);
    QFont bold = product_->font();
    bold.setBold(true);
    product_->setFont(bold);
    grid_ = new QTableWidget(14, 2, this);
    grid_->setObjectName(u"Aylar"_s);
    grid_->setHorizontalHeaderLabels({u"GİREN "_s, u"ÇIKAN "_s});
    grid_->setCornerButtonEnabled(false);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    auto* corner = new QLabel(u"AYLAR "_s, grid_);
    corner->setAlignment(Qt::AlignCenter);
    months_ = new QComboBox(this);
    months_->setObjectName(u"Ay"_s);
    months_->addItems(monthListNames());
    months_->setCurrentIndex(logic_.firstMonth() - 1);
    connect(months_, &QComboBox::currentIndexChanged, this, [this](int i) {
        logic_.setFirstMonth(i + 1);
        refresh();
    });
    auto* previous = new QPushButton(u"Önceki Yıl"_s, this);
    auto* next = new QPushButton(u"Sonraki Yıl"_s, this);
    auto* close = new QPushButton(u"KA&PAT"_s, this);
    for (QPushButton* b : {previous, next, close}) b->setAutoDefault(false);
    const auto move = [this](int by) {
        if (by < 0) logic_.previousYear();
        else logic_.nextYear();
        refresh();
    };
    connect(previous, &QPushButton::clicked, this, [move] { move(-1); });
    connect(next, &QPushButton::clicked, this, [move] { move(1); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    for (const auto& [key, by] : {std::pair{Qt::Key_PageUp, -1}, std::pair{Qt::Key_PageDown, 1}}) {
        auto* s = new QShortcut(QKeySequence(key), this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, [move, by] { move(by); });
    }
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] {
        if (session_.platform) session_.platform->showHelp(u"Selvar.hlp"_s, 519);
    });
    auto* side = new QVBoxLayout;
    side->addWidget(months_);
    side->addWidget(previous);
    side->addWidget(next);
    side->addStretch();
    side->addWidget(close);
    auto* row = new QHBoxLayout;
    row->addWidget(grid_, 1);
    row->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(product_);
    layout->addLayout(row);
    resize(520, 520);
    refresh();
}

void TAylarForm::refresh()
{
    QList<MonthRow> rows;
    QString name;
    runCommand(session_.prompter, [&] {
        rows = logic_.rows();
        name = logic_.productName();
    });
    product_->setText(name);
    QStringList labels;
    for (int r = 0; r < rows.size(); ++r) {
        labels << rows[r].label;
        for (int c = 0; c < 2; ++c) {
            auto* item = new QTableWidgetItem(QString::number(c == 0 ? rows[r].in : rows[r].out, 'f', 0));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid_->setItem(r, c, item);
        }
    }
    grid_->setVerticalHeaderLabels(labels);
    if (months_->currentIndex() != logic_.firstMonth() - 1) {
        const QSignalBlocker quiet(months_);
        months_->setCurrentIndex(logic_.firstMonth() - 1);
    }
}

void AylikRaporAc(Session& session, qint64 productNo, QWidget* parent)
{
    TAylarForm form(session, productNo, parent);
    form.exec();
}

// ---------------------------------------------------------------- the operation log

TIsletimForm::TIsletimForm(Session& session, const QDate& first, const QDate& last, QWidget* parent)
    : QDialog(parent), session_(session), logic_(session, first, last)
{
    setObjectName(u"TIsletimForm"_s);
    setWindowTitle(logic_.caption());
    grid_ = new QTableWidget(0, 7, this);
    grid_->setObjectName(u"Isletim"_s);
    grid_->setHorizontalHeaderLabels({u"TARİH"_s, u"AÇIKLAMA"_s, u"İŞLETİM TİPİ"_s, u"FİYATI"_s, u"MİKTAR"_s,
                                      u"TUTAR"_s, u"İŞLETİM NO"_s});
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    filter_ = new QComboBox(this);
    filter_->setObjectName(u"Filtre"_s);
    filter_->addItems(IsletimLogic::filterItems());
    connect(filter_, &QComboBox::currentIndexChanged, this, [this](int i) {
        logic_.setFilter(i);
        refresh();
    });

    contentsPanel_ = new QFrame(this);
    contentsPanel_->setObjectName(u"IcerikPaneli"_s);
    contentsPanel_->setFrameShape(QFrame::StyledPanel);
    contentsGrid_ = new QTableWidget(0, 0, contentsPanel_);
    contentsGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    contentsGrid_->verticalHeader()->hide();
    contentsGrid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* contentsLayout = new QVBoxLayout(contentsPanel_);
    contentsLayout->addWidget(contentsGrid_);
    contentsLayout->addWidget(addButton(contentsPanel_, u"IcerikTamam"_s, u"&Tamam"_s, [this] {
        contentsPanel_->hide();
        grid_->setFocus();
    }));
    contentsPanel_->hide();

    deletePanel_ = new QFrame(this);
    deletePanel_->setObjectName(u"SilPaneli"_s);
    deletePanel_->setFrameShape(QFrame::StyledPanel);
    deleteFirst_ = new ReportDateBox(session, deletePanel_);
    deleteLast_ = new ReportDateBox(session, deletePanel_);
    auto* deleteLayout = new QHBoxLayout(deletePanel_);
    deleteLayout->addWidget(new QLabel(u"Silinecek Tarih Aralığı"_s, deletePanel_));
    deleteLayout->addWidget(deleteFirst_);
    deleteLayout->addWidget(deleteLast_);
    deleteLayout->addWidget(addButton(deletePanel_, u"SilTamam"_s, u"&Tamam"_s, [this] { confirmDelete(); }));
    deleteLayout->addWidget(addButton(deletePanel_, u"SilVazgec"_s, u"&Vazgeç"_s, [this] {
        button(u"SilTamam"_s)->setDefault(false);
        deletePanel_->hide();
        grid_->setFocus();
    }));
    deletePanel_->hide();

    margin_ = new QSpinBox(this);
    margin_->setObjectName(u"Marj"_s);
    margin_->setRange(0, 20);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(new QLabel(u"SADECE AŞAĞIDA İŞARETLİ OLANI GÖSTER"_s, this));
    filterRow->addWidget(filter_);
    filterRow->addStretch();
    auto* buttons = new QHBoxLayout;
    QPushButton* contents = addButton(this, u"Icerik"_s, u"İçeri&k"_s, [this] { showContents(); });
    buttons->addWidget(contents);
    buttons->addWidget(addButton(this, u"Sil"_s, u"&Sil"_s, [this] {
        contentsPanel_->hide();  // one panel at a time: both have their "&Tamam"
        deleteFirst_->clear();
        deleteLast_->clear();
        deletePanel_->show();
        // Enter in the date boxes confirms ("Kapa&t" shares its Alt key with "&Tamam").
        button(u"SilTamam"_s)->setDefault(true);
        deleteFirst_->setFocus();
    }));
    buttons->addWidget(addButton(this, u"Yazici"_s, u"&Yazıcı"_s, [this] { print(); }));
    buttons->addWidget(addButton(this, u"Font"_s, u"Yazı &Fontu"_s, [this] {
        if (!session_.print) return;
        if (const std::optional<FontDef> f = session_.print->chooseFont(font_, FontChoice::Any)) {
            font_ = *f;
            fontChanged_ = true;
        }
    }));
    buttons->addWidget(new QLabel(u"Yazıcı Sol Marj (cm)"_s, this));
    buttons->addWidget(margin_);
    buttons->addStretch();
    buttons->addWidget(addButton(this, u"Kapat"_s, u"Kapa&t"_s, [this] { accept(); }));
    connect(grid_, &QTableWidget::currentCellChanged, this, [this, contents](int row) {
        contents->setEnabled(row >= 0 && row < rows_.size() && IsletimLogic::hasContents(rows_[row]));
    });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(grid_, 1);
    layout->addWidget(contentsPanel_);
    layout->addWidget(deletePanel_);
    layout->addLayout(buttons);
    int margin = 0;
    if (loadReportFont(session_.db, u"isletim"_s, font_, margin) && margin > 0) margin_->setValue(margin);
    resize(1000, 600);
    refresh();
}

TIsletimForm::~TIsletimForm()
{
    if (fontChanged_) guarded([this] { saveReportFont(session_.db, u"isletim"_s, font_, margin_->value()); });
}

QPushButton* TIsletimForm::addButton(QWidget* parent, const QString& name, const QString& caption, std::function<void()> run)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [run] { run(); });
    buttons_ << b;
    return b;
}

QPushButton* TIsletimForm::button(const QString& name) const
{
    for (QPushButton* b : buttons_)
        if (b->objectName() == name) return b;
    return nullptr;
}

QLineEdit* TIsletimForm::deleteFirst() const { return deleteFirst_; }
QLineEdit* TIsletimForm::deleteLast() const { return deleteLast_; }

void TIsletimForm::guarded(const std::function<void()>& f) { runCommand(session_.prompter, f); }

void TIsletimForm::refresh()
{
    guarded([this] { rows_ = logic_.rows(); });
    grid_->setRowCount(int(rows_.size()));
    for (int r = 0; r < rows_.size(); ++r) {
        const LogRow& l = rows_[r];
        const QStringList cells{l.when.toString(u"dd/MM/yy (hh:mm)"_s), l.description, l.type, numberText(l.price, 2),
                                QString::number(l.quantity), numberText(l.amount, 2), IsletimLogic::numberText(l)};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c >= 3 && c <= 5) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid_->setItem(r, c, item);
        }
    }
    if (!rows_.isEmpty()) grid_->setCurrentCell(0, 0);
    else if (QPushButton* b = button(u"Icerik"_s)) b->setEnabled(false);
}

void TIsletimForm::showContents()
{
    const int row = grid_->currentRow();
    if (row < 0 || row >= rows_.size() || !IsletimLogic::hasContents(rows_[row])) return;
    LogContents c;
    guarded([&] { c = logic_.contents(rows_[row]); });
    contentsGrid_->clear();
    contentsGrid_->setColumnCount(int(c.headings.size()));
    contentsGrid_->setHorizontalHeaderLabels(c.headings);
    contentsGrid_->setRowCount(int(c.rows.size()));
    for (int r = 0; r < c.rows.size(); ++r)
        for (int col = 0; col < c.rows[r].size(); ++col) contentsGrid_->setItem(r, col, new QTableWidgetItem(c.rows[r][col]));
    deletePanel_->hide();  // one panel at a time: both have their "&Tamam"
    contentsPanel_->show();
    contentsGrid_->setFocus();
}

void TIsletimForm::confirmDelete()
{
    bool deleted = false;
    guarded([&] { deleted = logic_.deletePeriod(deleteFirst_->displayText(), deleteLast_->displayText()); });
    if (!deleted) return;
    refresh();
    button(u"SilTamam"_s)->setDefault(false);
    deletePanel_->hide();
    grid_->setFocus();
}

void TIsletimForm::print()
{
    if (!session_.print) return;
    std::unique_ptr<Canvas> canvas = session_.print->beginJob(logic_.caption(), PageSetup(), true);
    if (!canvas) return;
    canvas->setFont(font_);
    guarded([&] { logic_.drawListing(*canvas, margin_->value()); });
    canvas->endDocument();
}

void IsletimAc(Session& session, const QDate& first, const QDate& last, QWidget* parent)
{
    TIsletimForm form(session, first, last, parent);
    form.exec();
}

}  // namespace selvar
