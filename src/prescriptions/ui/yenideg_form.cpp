#include "prescriptions/ui/yenideg_form.h"

#include "core/dates.h"
#include "core/format.h"
#include "data/database.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "platform/ui/command.h"
#include "prescriptions/ui/share_grid.h"
#include "print/canvas.h"
#include "print/print_service.h"
#include "print/report_fonts.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFrame>
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
#include <QTableWidget>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

// ---------------------------------------------------------------- TYeniDlg

TYeniDlg::TYeniDlg(Session& session, QWidget* parent) : QDialog(parent), session_(session)
{
    setObjectName(u"TYeniDlg"_s);
    setWindowTitle(u"Tarih Belirleme"_s);
    box_ = new QLineEdit(this);
    box_->setObjectName(u"Tarih"_s);
    box_->setInputMask(u"99.99.9999;_"_s);
    box_->setText(repricingStartText(session_.clock.today()));
    box_->setMaximumWidth(110);
    auto* row = new QHBoxLayout;
    auto* caption = new QLabel(u"Satış Tarihi"_s, this);
    caption->setBuddy(box_);
    row->addWidget(caption);
    row->addWidget(box_);
    row->addWidget(new QLabel(u"den İtibaren Reçeteleri Yeniden Değerlendir."_s, this));
    auto* ok = new QPushButton(u"Tamam"_s, this);
    ok->setObjectName(u"Tamam"_s);
    ok->setDefault(true);
    auto* cancel = new QPushButton(u"Vazgeç"_s, this);
    cancel->setObjectName(u"Vazgec"_s);
    connect(ok, &QPushButton::clicked, this, &TYeniDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    box_->setFocus();
    box_->selectAll();
}

void TYeniDlg::accept()
{
    const std::optional<QDate> d = repricingStart(box_->displayText());
    if (!d) {
        // Not a date: the box again.
        session_.prompter.beep();
        box_->setFocus();
        box_->setCursorPosition(0);
        return;
    }
    date_ = *d;
    QDialog::accept();
}

// ---------------------------------------------------------------- TYeniDegForm

namespace {
const QStringList kLineColumns{u"No"_s,        u"Ürün Adı"_s,        u"Mk"_s,        u"Stş.Trh"_s,
                               u"Stş.Fiyatı"_s, u"Gn.Ürün Fyt"_s,     u"G.Fyt.Trh"_s, u"Yeni  Sat.Fyt."_s,
                               u"Y.Fyt.Trh"_s,  u"Fark"_s,            u"Reç.Trh."_s};
QString amount(double v) { return numberText(v, 2); }
}  // namespace

TYeniDegForm::TYeniDegForm(Session& session, RepricingBackPrints prints, QWidget* parent)
    : QDialog(parent), session_(session), prints_(std::move(prints)), logic_(session)
{
    setObjectName(u"TYeniDegForm"_s);
    setWindowTitle(u"YENİDEN FİYAT DEĞERLENDİRME"_s);
    auto* head = new QHBoxLayout;
    for (const char* n : {"Satis", "Hasta", "Kurum", "Kural", "RecTarih"}) head->addWidget(addLabel(QString::fromLatin1(n)));
    head->addStretch();
    QLabel* notice = addLabel(u"Fatura"_s);
    notice->setStyleSheet(u"color: #a00000; font-weight: bold"_s);

    lines_ = new QTableWidget(0, int(kLineColumns.size()), this);
    lines_->setObjectName(u"Satirlar"_s);
    lines_->setHorizontalHeaderLabels(kLineColumns);
    lines_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lines_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lines_->setSelectionMode(QAbstractItemView::SingleSelection);
    lines_->verticalHeader()->hide();
    lines_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lines_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    lines_->installEventFilter(this);
    connect(lines_, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row < 0 || row == lastRow_) return;
        lastRow_ = row;
        showHistory();
        guarded([&] {
            if (logic_.proposalAfterPrescription(currentLine())) session_.prompter.beep();
        });
    });
    history_ = new QTableWidget(0, 2, this);
    history_->setObjectName(u"FiyatGecmisi"_s);
    history_->setHorizontalHeaderLabels({u"Tarih"_s, u"Fiyat"_s});
    history_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    history_->setSelectionBehavior(QAbstractItemView::SelectRows);
    history_->setSelectionMode(QAbstractItemView::SingleSelection);
    history_->verticalHeader()->hide();
    history_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    history_->setMaximumWidth(260);
    auto* middle = new QHBoxLayout;
    middle->addWidget(lines_, 1);
    middle->addWidget(history_);

    auto* choiceBox = new QGroupBox(u"Yeni Satış Fiyat Aktarma Seçimi"_s, this);
    auto* choiceLayout = new QVBoxLayout(choiceBox);
    cardChoice_ = new QRadioButton(u"&Güncel (Ürün) Fiyatı"_s, choiceBox);
    historyChoice_ = new QRadioButton(u"Sağ Listede İşaretli &Eski Fiyat"_s, choiceBox);
    choiceLayout->addWidget(cardChoice_);
    choiceLayout->addWidget(historyChoice_);
    connect(cardChoice_, &QRadioButton::clicked, this, [this] { choose(YeniDegLogic::Choice::CardPrice); });
    connect(historyChoice_, &QRadioButton::clicked, this, [this] { choose(YeniDegLogic::Choice::HistoryPrice); });
    connect(history_, &QTableWidget::cellActivated, this, [this] {
        if (historyChoice_->isChecked()) choose(YeniDegLogic::Choice::HistoryPrice);
    });

    shares_ = new QTableWidget(BucketCount + 1, 7, this);
    shares_->setObjectName(u"Hesap"_s);
    shares_->setHorizontalHeaderLabels(
        {u"Brüt T."_s, u"İndir. %"_s, u"İndir."_s, u"AraT."_s, u"H.K.P. %"_s, u"H.K.P."_s, u"NET T."_s});
    QStringList rows;
    for (int b = 0; b < BucketCount; ++b) rows << bucketTitle(Bucket(b));
    rows << u"REÇETE TOPLAMI"_s;
    shares_->setVerticalHeaderLabels(rows);
    shares_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    shares_->setFocusPolicy(Qt::NoFocus);
    shares_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    auto* lower = new QHBoxLayout;
    lower->addWidget(choiceBox);
    lower->addWidget(shares_, 1);

    // The back sheet's panel.
    printPanel_ = new QFrame(this);
    printPanel_->setObjectName(u"DokumPaneli"_s);
    printPanel_->setFrameShape(QFrame::StyledPanel);
    margin_ = new QSpinBox(printPanel_);
    margin_->setObjectName(u"Marjin"_s);
    margin_->setRange(0, 20);
    auto* panel = new QHBoxLayout(printPanel_);
    auto* marginCaption = new QLabel(u"Kaç cm. Soldan Başlasın"_s, printPanel_);
    marginCaption->setBuddy(margin_);
    panel->addWidget(marginCaption);
    panel->addWidget(margin_);
    panel->addWidget(addButton(u"YaziFontu"_s, u"&Yazı Fontu"_s, [this] {
        if (!session_.print) return;
        if (const std::optional<FontDef> f = session_.print->chooseFont(font_, FontChoice::Any)) {
            font_ = *f;
            fontChanged_ = true;
        }
    }));
    panel->addWidget(addButton(u"Tamam"_s, u"&Tamam"_s, [this] { printSheet(); }));
    panel->addWidget(addButton(u"PanelVazgec"_s, u"&Vazgeç"_s, [this] {
        printPanel_->hide();
        lines_->setFocus();
    }));
    panel->addWidget(addButton(u"TanimliDokum"_s, u"Tanım.Reç.D."_s, [this] { handToBackPrint(false); }));
    panel->addWidget(addButton(u"KaseliDokum"_s, u"Kaşeli Reç.D."_s, [this] { handToBackPrint(true); }));
    printPanel_->hide();
    int margin = 0;
    if (loadReportFont(session_.db, u"yenideg"_s, font_, margin)) margin_->setValue(std::max(0, margin));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addButton(u"Aktar"_s, u"&Yeni Sat.Fiyatını Aktar"_s, [this] { transfer(); }));
    buttons->addWidget(addButton(u"Sonraki"_s, u"&Sonraki "_s, [this] {
        guarded([this] { outcome_ = logic_.next(); });
        QDialog::accept();
    }));
    buttons->addWidget(addButton(u"Dur"_s, u"&Dur"_s, [this] { reject(); }));
    buttons->addWidget(addButton(u"RADkm"_s, u"&R.A.Dkm"_s, [this] {
        printPanel_->show();
        margin_->setFocus();
    }));
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(notice);
    layout->addLayout(middle, 1);
    layout->addLayout(lower);
    layout->addWidget(printPanel_);
    layout->addLayout(buttons);
    for (const auto& [key, target] : {std::pair{Qt::Key_F6, static_cast<QWidget*>(lines_)}, std::pair{Qt::Key_F5, static_cast<QWidget*>(history_)}}) {
        auto* s = new QShortcut(QKeySequence(key), this);
        connect(s, &QShortcut::activated, target, [target] { target->setFocus(); });
    }
    resize(1100, 680);
}

QPushButton* TYeniDegForm::addButton(const QString& name, const QString& caption, std::function<void()> run)
{
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [run] { run(); });
    buttons_.insert(name, b);
    return b;
}

QLabel* TYeniDegForm::addLabel(const QString& name)
{
    auto* l = new QLabel(this);
    l->setObjectName(name);
    labels_.insert(name, l);
    return l;
}

void TYeniDegForm::guarded(const std::function<void()>& f) { runCommand(session_.prompter, f); }

bool TYeniDegForm::open(double saleNo)
{
    bool found = false;
    guarded([&] { found = logic_.open(saleNo); });
    if (!found) return false;
    refresh();
    lines_->setFocus();
    if (lines_->rowCount() > 0) lines_->setCurrentCell(0, 0);
    return true;
}

int TYeniDegForm::currentLine() const
{
    const int row = lines_->currentRow();
    if (row < 0 || !lines_->item(row, 0)) return 0;
    return lines_->item(row, 0)->text().toInt();
}

void TYeniDegForm::refresh()
{
    const QVariantMap& rec = logic_.prescription();
    labels_[u"Satis"_s]->setText(u"Satış No : "_s + format(u"%0.0f", logic_.saleNo()));
    labels_[u"Kurum"_s]->setText(logic_.institution().found ? logic_.institution().name : QString());
    labels_[u"Kural"_s]->setText(logic_.institutionRule());
    labels_[u"RecTarih"_s]->setText(u"Reçete Tarihi : "_s + dateText(logic_.prescriptionDate()));
    labels_[u"Hasta"_s]->setText(u"Hasta No : "_s + rec.value(u"HASTANO"_s).toString());
    labels_[u"Fatura"_s]->setText(logic_.invoiceNotice());
    (logic_.choice() == YeniDegLogic::Choice::CardPrice ? cardChoice_ : historyChoice_)->setChecked(true);
    const int row = lines_->currentRow();
    QList<RepricingLine> items;
    guarded([&] { items = logic_.lines(); });
    lines_->setRowCount(int(items.size()));
    const QString rx = dateText(logic_.prescriptionDate());
    for (int r = 0; r < items.size(); ++r) {
        const RepricingLine& l = items[r];
        const QStringList cells{QString::number(l.no), l.productName, QString::number(l.quantity),
                                dateText(l.saleTime.date()), amount(l.soldPrice), amount(l.cardPrice),
                                dateText(l.cardDate), amount(l.newPrice), dateText(l.newDate.date()),
                                amount(l.difference), rx};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c != 1) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            lines_->setItem(r, c, item);
        }
    }
    if (row >= 0 && row < lines_->rowCount()) lines_->setCurrentCell(row, 0);
    fillShareGrid(shares_, logic_.shares(),
                  {BucketCount, logic_.shownDiscountRates(), logic_.shownShareRates(), logic_.institution().found,
                   rec.value(u"HASTAKATPAY"_s).toDouble(), rec.value(u"NET"_s).toDouble()});
    showHistory();
}

void TYeniDegForm::showHistory()
{
    const int row = lines_->currentRow();
    shownHistory_.clear();
    QList<RepricingLine> items;
    guarded([&] { items = logic_.lines(); });
    if (row >= 0 && row < items.size()) guarded([&] { shownHistory_ = logic_.history(items[row].productNo); });
    history_->setRowCount(int(shownHistory_.size()));
    for (int r = 0; r < shownHistory_.size(); ++r) {
        history_->setItem(r, 0, new QTableWidgetItem(dateTimeText(shownHistory_[r].date)));
        auto* price = new QTableWidgetItem(amount(shownHistory_[r].price));
        price->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        history_->setItem(r, 1, price);
    }
    if (!shownHistory_.isEmpty()) history_->setCurrentCell(int(shownHistory_.size()) - 1, 0);
}

void TYeniDegForm::choose(YeniDegLogic::Choice c)
{
    const int line = currentLine();
    logic_.setChoice(c);
    if (line > 0) {
        guarded([&] {
            if (c == YeniDegLogic::Choice::CardPrice) {
                logic_.proposeCardPrice(line);
            } else {
                const int h = history_->currentRow();
                if (h >= 0 && h < shownHistory_.size()) logic_.proposeHistoryPrice(line, shownHistory_[h]);
            }
        });
    }
    refresh();
}

void TYeniDegForm::transfer()
{
    const int line = currentLine();
    if (line <= 0) return;
    guarded([&] { logic_.transfer(line); });
    refresh();
    lines_->setFocus();
}

void TYeniDegForm::printSheet()
{
    if (!session_.print) return;
    std::unique_ptr<Canvas> canvas = session_.print->beginJob(u"Reçete Arkası"_s, PageSetup(), true);
    if (canvas) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        canvas->setFont(font_);
        guarded([&] { logic_.drawBackPrint(*canvas, margin_->value()); });
        canvas->endDocument();
        QApplication::restoreOverrideCursor();
    }
    if (fontChanged_) guarded([this] { saveReportFont(session_.db, u"yenideg"_s, font_, margin_->value()); });
    fontChanged_ = false;
    printPanel_->hide();
    lines_->setFocus();
}

void TYeniDegForm::handToBackPrint(bool stamped)
{
    const auto& print = stamped ? prints_.stamped : prints_.defined;
    if (!print) return;
    session_.PrintRequest.saleNo = logic_.saleNo();
    guarded([&] { print(this); });
    session_.PrintRequest.saleNo = 0;
}

bool TYeniDegForm::eventFilter(QObject* o, QEvent* e)
{
    if (o == lines_ && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Delete) return true;  // lines are not deleted here
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            transfer();
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

void TYeniDegForm::reject()
{
    outcome_ = logic_.stop();
    QDialog::reject();
}

// ---------------------------------------------------------------- opening

QString FiyatDegerlendir(Session& session, double saleNo, const RepricingBackPrints& prints, QWidget* parent)
{
    TYeniDegForm form(session, prints, parent);
    if (!form.open(saleNo)) return u"Devam"_s;  // no prescription for the sale: the run goes on
    form.exec();
    return form.outcome() == YeniDegLogic::Result::Continue ? u"Devam"_s : u"Dur"_s;
}

void YenidenDegerlendir(Session& session, bool oldPrices, const RepricingBackPrints& prints, QWidget* parent)
{
    TYeniDlg ask(session, parent);
    if (ask.exec() != QDialog::Accepted) return;
    QList<double> lines;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    runCommand(session.prompter, [&] {
        lines = oldPrices ? salesAtTooNewPrices(session.db, ask.date()) : salesAtStalePrices(session.db, ask.date());
    });
    QApplication::restoreOverrideCursor();
    for (int i = 0; i < lines.size(); ++i) session.prompter.beep();  // one for each line found
    repriceSales(lines, [&](double sale) { return FiyatDegerlendir(session, sale, prints, parent) == u"Devam"_s; });
}

}  // namespace selvar
