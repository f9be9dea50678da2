#include "invoicing/ui/hazirfat_ssk_form.h"

#include "companion/companion.h"
#include "core/dates.h"
#include "core/format.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "platform/ui/command.h"
#include "prescriptions/ui/dokssk_dlg.h"
#include "print/print_service.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
const QStringList kColumns{u"Reç.Trh."_s, u"İşl.Trh."_s, u"Sicil No"_s, u"Adı"_s, u"Soyadı"_s, u"Durumu"_s,
                           u"Yakınlık"_s, u"Normal İlaçlarda"_s, u"İlaç Beraberi"_s, u"Özel Katılımlı"_s,
                           u"KDV"_s, u"Fatura No"_s, u"Fat.Trh."_s};
constexpr int kInvoiceColumns = 2;  // the last two, shown for an issued invoice

QString shortDate(const QVariant& v)
{
    const QDate d = v.toDate();
    return d.isValid() ? d.toString(u"dd/MM/yy"_s) : QString();
}

QTableWidget* makeGrid(const QStringList& columns, QWidget* parent)
{
    auto* g = new QTableWidget(0, int(columns.size()), parent);
    g->setHorizontalHeaderLabels(columns);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->verticalHeader()->hide();
    g->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return g;
}
}  // namespace

ThazirFatSSKForm::ThazirFatSSKForm(Session& session, const SskInvoiceLinks& links, QWidget* parent)
    : QDialog(parent), session_(session), links_(links), logic_(session, logicLinks())
{
    setObjectName(u"ThazirFatSSKForm"_s);
    setWindowTitle(u"SSK TİPİ FATURA DÜZENLEME"_s);
    auto* layout = new QVBoxLayout(this);
    heading_ = new QLabel(this);
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    layout->addWidget(heading_);

    auto* top = new QHBoxLayout;
    number_ = new QLineEdit(this);
    number_->setObjectName(u"FatNo"_s);
    number_->setInputMask(u"00000000;_"_s);
    date_ = new QLineEdit(this);
    date_->setObjectName(u"FatTarihi"_s);
    date_->setInputMask(u"90/90/9900;_"_s);
    auto* numberLabel = new QLabel(u"Fat. &No"_s, this);
    numberLabel->setBuddy(number_);
    auto* dateLabel = new QLabel(u"Fat. T&arihi"_s, this);
    dateLabel->setBuddy(date_);
    top->addWidget(numberLabel);
    top->addWidget(number_);
    top->addSpacing(12);
    top->addWidget(dateLabel);
    top->addWidget(date_);
    auto* calendar = new QPushButton(u"Takvim"_s, this);
    calendar->setAutoDefault(false);
    calendar->setFocusPolicy(Qt::NoFocus);
    connect(calendar, &QPushButton::clicked, this, [this] {
        guarded([this] {
            if (!session_.companion) return;
            const double chosen = session_.companion->DateAl1(toDateTimeReal(session_.clock.today()));
            if (chosen > 0) date_->setText(fromDateTimeReal(chosen).date().toString(u"dd/MM/yyyy"_s));
        });
    });
    top->addWidget(calendar);
    top->addStretch();
    layout->addLayout(top);

    prescriptions_ = makeGrid(kColumns, this);
    prescriptions_->setObjectName(u"Receteler"_s);
    prescriptions_->installEventFilter(this);
    layout->addWidget(prescriptions_, 3);
    connect(prescriptions_, &QTableWidget::currentCellChanged, this, [this] { showLines(); });

    lineBox_ = new QGroupBox(this);
    auto* lineLayout = new QVBoxLayout(lineBox_);
    lines_ = makeGrid({u"SIRA NO"_s, u"İLAÇ ADI"_s, u"FİYATI"_s, u"MİKTAR"_s, u"KDV"_s}, lineBox_);
    lines_->setObjectName(u"Icerik"_s);
    lines_->setFocusPolicy(Qt::NoFocus);
    lines_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    lineLayout->addWidget(lines_);
    layout->addWidget(lineBox_, 2);

    auto* totals = new QGridLayout;
    int c = 0;
    for (const QString& caption : {u"Hst.Kat.Payı"_s, u"Indirim"_s, u"Net Toplam"_s, u"Brüt Toplam"_s}) {
        totals->addWidget(new QLabel(caption, this), 0, c);
        auto* value = new QLabel(this);
        value->setFrameShape(QFrame::Panel);
        value->setFrameShadow(QFrame::Sunken);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(110);
        totals->addWidget(value, 1, c++);
        totals_.insert(caption, value);
    }
    layout->addLayout(totals);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addButton(u"&Fatura Ve Döküm"_s, [this] {
        logic_.invoiceAndPrint(number_->text(), dateBoxText());
        reload();
    }));
    buttons->addWidget(addButton(u"&Reç.Yeniden Değerlendir"_s, [this] {
        logic_.recheckPrices();
        reload();
    }));
    buttons->addWidget(addButton(u"SSK &Disketi Hazırla"_s, [this] { logic_.diskette(); }));
    buttons->addStretch();
    buttons->addWidget(addButton(u"Döküm Fontu Ayarı"_s, [this] {
        if (!session_.print) return;
        if (const std::optional<FontDef> f = session_.print->chooseFont(logic_.listFont(), FontChoice::FixedPitch)) {
            logic_.listFont() = *f;
            logic_.listFontChanged = true;
        }
    }));
    buttons->addWidget(new QLabel(u"Yazıcı Sol Marjı (cm)"_s, this));
    margin_ = new QSpinBox(this);
    margin_->setRange(0, 10);
    connect(margin_, &QSpinBox::valueChanged, this, [this](int v) {
        if (logic_.listMargin() == v) return;
        logic_.listMargin() = v;
        logic_.listFontChanged = true;
    });
    buttons->addWidget(margin_);
    auto* close = new QPushButton(u"&Kapat"_s, this);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(1000, 680);
}

HazirFatSskLogic::Links ThazirFatSSKForm::logicLinks()
{
    // Called only after the form is built: the windows it opens are its children.
    HazirFatSskLogic::Links l;
    l.choosePrintout = [this] { return SSKDokumSec(session_, this); };
    l.reevaluate = [this](double saleNo) { return FiyatDegerlendir(session_, saleNo, links_.prints, this); };
    l.diskette = [this](QChar group, const QString& code, double invoiceNo) {
        if (links_.diskette) links_.diskette(group, code, invoiceNo, this);
    };
    return l;
}

QPushButton* ThazirFatSSKForm::addButton(const QString& caption, std::function<void()> run)
{
    auto* b = new QPushButton(caption, this);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [this, run] { guarded(run); });
    buttons_.insert(QString(caption).remove(u'&'), b);
    return b;
}

void ThazirFatSSKForm::guarded(const std::function<void()>& f) { runCommand(session_.prompter, f); }

QString ThazirFatSSKForm::dateBoxText() const { return date_->displayText().replace(u'_', u' '); }

void ThazirFatSSKForm::open(const QString& code, double invoiceNo)
{
    heading_->setText(code + u" Kurumuna Ait Reçeteler"_s);
    guarded([&] {
        logic_.loadListFont();
        logic_.open(code, invoiceNo);
    });
    margin_->setValue(logic_.listMargin());
    logic_.listFontChanged = false;
    for (int i = 0; i < kInvoiceColumns; ++i) prescriptions_->setColumnHidden(int(kColumns.size()) - 1 - i, !logic_.issued());
    number_->setText(logic_.openingNumber());
    date_->setText(logic_.openingDate().isValid() ? logic_.openingDate().toString(u"dd/MM/yyyy"_s) : QString());
    reload();
    if (prescriptions_->rowCount() > 0) prescriptions_->setCurrentCell(0, 0);
    number_->setFocus();
    number_->setCursorPosition(0);
}

void ThazirFatSSKForm::reload()
{
    const int keep = std::max(0, prescriptions_->currentRow());
    guarded([&] { rows_ = logic_.prescriptions(); });
    QSignalBlocker block(prescriptions_);
    prescriptions_->setRowCount(int(rows_.size()));
    for (int r = 0; r < rows_.size(); ++r) {
        const QVariantMap& p = rows_[r];
        auto v = [&](const char* f) { return p.value(QString::fromLatin1(f)); };
        const QStringList cells{shortDate(v("RECTARIH")), shortDate(v("ALTARIH")), v("SICILNO").toString(),
                                v("RS_AD").toString(), v("RS_SOYAD").toString(), sskStatusText(v("DURUM_KOD").toString()),
                                sskRelationText(v("YAKINLIK_KOD").toString(), false), format(u"%m"_s, v("BRUTN").toDouble()),
                                format(u"%m"_s, v("BRUTI").toDouble()), format(u"%m"_s, v("BRUTO").toDouble()),
                                numberText(v("KDVA").toDouble() + v("KDVB").toDouble() + v("KDVC").toDouble(), 2),
                                v("FATURANO").toString(), shortDate(v("FATARIH"))};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c >= 7 && c <= 10) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            prescriptions_->setItem(r, c, item);
        }
    }
    if (!rows_.isEmpty()) prescriptions_->setCurrentCell(std::min(keep, int(rows_.size()) - 1), 0);
    showLines();
    showTotals();
}

void ThazirFatSSKForm::showLines()
{
    const int r = prescriptions_->currentRow();
    lines_->setRowCount(0);
    if (r < 0 || r >= rows_.size()) {
        lineBox_->setTitle(QString());
        return;
    }
    const QVariantMap& p = rows_[r];
    QList<SskSaleLine> items;
    QString caption;
    guarded([&] {
        items = logic_.saleLines(p.value(u"SATISNO"_s).toDouble());
        caption = logic_.patientCaption(p.value(u"HASTANO"_s).toLongLong());
    });
    lineBox_->setTitle(caption);
    lines_->setRowCount(int(items.size()));
    for (int i = 0; i < items.size(); ++i) {
        const SskSaleLine& l = items[i];
        const QStringList cells{QString::number(l.line), l.name, format(u"%m"_s, l.price),
                                QString::number(qint64(l.quantity)), u"%"_s + numberText(l.vat, 2)};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c != 1) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            lines_->setItem(i, c, item);
        }
    }
}

void ThazirFatSSKForm::showTotals()
{
    const bool shown = logic_.hasTotals();
    const SskTotals& t = logic_.totals();
    totals_[u"Hst.Kat.Payı"_s]->setText(shown ? format(u"%m"_s, t.shareSum()) : QString());
    totals_[u"Indirim"_s]->setText(shown ? format(u"%m"_s, t.discountSum()) : QString());
    totals_[u"Net Toplam"_s]->setText(shown ? format(u"%m"_s, t.net) : QString());
    totals_[u"Brüt Toplam"_s]->setText(shown ? format(u"%m"_s, t.gross[0]) : QString());
}

bool ThazirFatSSKForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == prescriptions_ && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        const int r = prescriptions_->currentRow();
        if (r >= 0 && r < rows_.size()) {
            guarded([&] { logic_.dropPrescription(rows_[r].value(u"ROWID"_s).toLongLong()); });
            reload();
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ThazirFatSSKForm::done(int r)
{
    guarded([this] { logic_.saveListFont(); });
    QDialog::done(r);
}

void HazirFatSSKAc(Session& session, const QString& code, double invoiceNo, const SskInvoiceLinks& links, QWidget* parent)
{
    ThazirFatSSKForm form(session, links, parent);
    form.open(code, invoiceNo);
    form.exec();
}

}  // namespace selvar
