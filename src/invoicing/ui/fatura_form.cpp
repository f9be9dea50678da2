#include "invoicing/ui/fatura_form.h"

#include "companion/companion.h"
#include "core/dates.h"
#include "core/format.h"
#include "invoicing/ui/fatura_kayit.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "platform/ui/command.h"

#include <QCheckBox>
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

namespace {
const QStringList kColumns{u"Sıra"_s,  u"Ürün Adı"_s,   u"Miktar"_s,    u"Fiyatı"_s,    u"Tutar"_s,
                           u"KDV İndr."_s, u"İskonto"_s, u"Ara Toplam"_s, u"ToplamKDV"_s, u"NetTutar"_s};
const QStringList kTextFields{u"KRMKOD"_s, u"KRMAD"_s, u"ADR1"_s, u"ADR2"_s, u"ADR3"_s,
                              u"VERGIDAIRE"_s, u"VERGINO"_s, u"FATURANO"_s};
}  // namespace

TFaturaForm1::TFaturaForm1(Session& session, QWidget* parent) : QDialog(parent), session_(session), logic_(session)
{
    setObjectName(u"TFaturaForm1"_s);
    setWindowTitle(u"Fatura Kayıt"_s);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(createBuyer());
    grid_ = new QTableWidget(0, int(kColumns.size()), this);
    grid_->setObjectName(u"Satirlar"_s);
    grid_->setHorizontalHeaderLabels(kColumns);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);  // the product's name
    layout->addWidget(grid_, 1);
    layout->addLayout(createTotals());
    layout->addLayout(createButtons());
    auto key = [this](Qt::Key k, std::function<void()> run) {
        auto* s = new QShortcut(QKeySequence(k), this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, [this, run] {
            guarded(run);
            refresh();
        });
    };
    key(Qt::Key_F5, [this] {
        if (logic_.chooseInstitution()) boxes_[u"INORAN2"_s]->setFocus();
    });
    key(Qt::Key_F6, [this] {
        if (logic_.choosePatient()) boxes_[u"INORAN2"_s]->setFocus();
    });
    resize(980, 640);
}

QLineEdit* TFaturaForm1::addBox(const QString& field, int maxLength)
{
    auto* e = new QLineEdit(this);
    e->setObjectName(field);
    if (maxLength > 0) e->setMaxLength(maxLength);
    boxes_.insert(field, e);
    if (kTextFields.contains(field))
        connect(e, &QLineEdit::textEdited, this, [this, field](const QString& t) {
            if (!filling_) logic_.setField(field, t);
        });
    return e;
}

QPushButton* TFaturaForm1::addButton(const QString& name, const QString& caption, std::function<void()> run)
{
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [run] { run(); });
    buttons_.insert(name, b);
    return b;
}

QLayout* TFaturaForm1::createBuyer()
{
    auto* g = new QGridLayout;
    auto row = [&](int r, const QString& caption, QWidget* w, int col = 0) {
        g->addWidget(new QLabel(caption, this), r, col);
        g->addWidget(w, r, col + 1);
    };
    QLineEdit* code = addBox(u"KRMKOD"_s, 11);
    code->setReadOnly(true);
    code->setFocusPolicy(Qt::NoFocus);
    row(0, u"Kodu"_s, code);
    g->addWidget(new QLabel(u"Kurum Seç F5 Tuşu"_s, this), 0, 2);
    g->addWidget(new QLabel(u"Hasta Seç F6 Tuşu"_s, this), 0, 3);
    row(1, u"Adı"_s, addBox(u"KRMAD"_s, 36));
    row(2, u"Adres"_s, addBox(u"ADR1"_s, 31));
    row(3, QString(), addBox(u"ADR2"_s, 31));
    row(4, QString(), addBox(u"ADR3"_s, 31));
    row(1, u"Vergi Dairesi"_s, addBox(u"VERGIDAIRE"_s, 17), 2);
    row(2, u"Vergi No"_s, addBox(u"VERGINO"_s, 14), 2);
    row(3, u"Fatura No"_s, addBox(u"FATURANO"_s, 15), 2);
    QLineEdit* day = addBox(u"FATARIH"_s, 0);
    day->setInputMask(u"90/90/9900;_"_s);
    connect(day, &QLineEdit::textEdited, this, [this, day] {
        const DateInput d = parseDateText(day->text().replace(u'/', u'.'));
        if (!filling_ && d.isValid()) logic_.setField(u"FATARIH"_s, d.date);
    });
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(day);
    dateRow->addWidget(addButton(u"Takvim"_s, u"Takvime Bakın"_s, [this] {
        guarded([this] {
            if (!session_.companion) return;
            const double chosen = session_.companion->DateAl1(toDateTimeReal(session_.clock.today()));
            if (chosen > 0) logic_.setField(u"FATARIH"_s, fromDateTimeReal(chosen).date());
        });
        refresh();
    }));
    g->addWidget(new QLabel(u"Fatura Tarihi"_s, this), 4, 2);
    g->addLayout(dateRow, 4, 3);
    return g;
}

QLayout* TFaturaForm1::createTotals()
{
    auto* g = new QGridLayout;
    int r = 0;
    for (const auto& [field, caption] : QList<std::pair<QString, QString>>{{u"BRUT"_s, u"TOPLAM"_s},
                                                                          {u"TENZIL1"_s, u"KDV İNDİRİMİ"_s},
                                                                          {u"AraTop"_s, u"ARA TOPLAM"_s},
                                                                          {u"TOPKDV"_s, u"TOPLAM KDV"_s},
                                                                          {u"NET"_s, u"NET TOPLAM"_s}}) {
        auto* value = new QLabel(this);
        value->setObjectName(field);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        totals_.insert(field, value);
        g->addWidget(new QLabel(caption, this), r, 2);
        g->addWidget(value, r++, 3);
    }
    QLineEdit* percent = addBox(u"INORAN2"_s, 10);
    QLineEdit* amount = addBox(u"TENZIL2"_s, 16);
    auto* percentCaption = new QLabel(u"İNDİRİM (%)"_s, this);
    percentCaption->setBuddy(percent);
    g->addWidget(percentCaption, 0, 0);
    g->addWidget(percent, 0, 1);
    g->addWidget(new QLabel(u"İNDİRİM (TL)"_s, this), 1, 0);
    g->addWidget(amount, 1, 1);
    connect(percent, &QLineEdit::editingFinished, this, [this, percent] {
        if (filling_ || !percent->isModified()) return;
        guarded([&] { logic_.discountPercentLeft(percent->text()); });
        refresh();
    });
    connect(amount, &QLineEdit::editingFinished, this, [this, amount] {
        if (filling_ || !amount->isModified()) return;
        guarded([&] { logic_.discountAmountLeft(amount->text()); });
        refresh();
    });
    printed_ = new QCheckBox(u"Fatura kesildi"_s, this);
    printed_->setObjectName(u"KES"_s);
    connect(printed_, &QCheckBox::toggled, this, [this](bool on) {
        if (!filling_) logic_.setField(u"KES"_s, on);
    });
    g->addWidget(printed_, 2, 0, 1, 2);
    rounding_ = new QSpinBox(this);
    rounding_->setObjectName(u"Hane"_s);
    rounding_->setRange(0, 5);
    rounding_->setValue(2);
    connect(rounding_, &QSpinBox::valueChanged, this, [this](int n) { logic_.setRoundDigits(n); });
    auto* roundingCaption = new QLabel(u"Faturada Sondan Yuvarlanacak &Hane Sayısı"_s, this);
    roundingCaption->setBuddy(rounding_);
    g->addWidget(roundingCaption, 3, 0);
    g->addWidget(rounding_, 3, 1);
    return g;
}

QLayout* TFaturaForm1::createButtons()
{
    auto* row = new QHBoxLayout;
    row->addWidget(addButton(u"Sakla"_s, u"&Sakla"_s, [this] { store(); }));
    row->addWidget(addButton(u"Kes"_s, u"Fatura &Kes"_s, [this] { printInvoice(); }));
    row->addWidget(addButton(u"Veresiye"_s, u"&Veresiye Kayıt"_s, [this] {
        takeDiscountBoxes();
        guarded([this] { logic_.creditEntry(); });
        refresh();
    }));
    row->addStretch();
    row->addWidget(addButton(u"Vazgec"_s, u"V&azgeç"_s, [this] { reject(); }));
    return row;
}

void TFaturaForm1::guarded(const std::function<void()>& f) { runCommand(session_.prompter, f); }

void TFaturaForm1::takeDiscountBoxes()
{
    for (const char* name : {"INORAN2", "TENZIL2"}) {
        QLineEdit* b = boxes_[QString::fromLatin1(name)];
        if (!b->isModified()) continue;
        b->setModified(false);
        guarded([&] {
            if (b == boxes_[u"INORAN2"_s]) logic_.discountPercentLeft(b->text());
            else logic_.discountAmountLeft(b->text());
        });
    }
}

void TFaturaForm1::open(int mode, double saleNo, double invoiceNo)
{
    guarded([&] { logic_.open(mode, saleNo, invoiceNo); });
    refresh();
    boxes_[u"FATURANO"_s]->setFocus();
}

void TFaturaForm1::refresh()
{
    filling_ = true;
    for (const QString& f : kTextFields) boxes_[f]->setText(logic_.text(f));
    const QDate day = logic_.field(u"FATARIH"_s).toDate();
    boxes_[u"FATARIH"_s]->setText(day.isValid() ? day.toString(u"dd/MM/yyyy"_s) : QString());
    boxes_[u"INORAN2"_s]->setText(formatMask(u"0.00"_s, logic_.number(u"INORAN2"_s)));
    boxes_[u"TENZIL2"_s]->setText(numberText(logic_.number(u"TENZIL2"_s), 2));
    for (const char* f : {"INORAN2", "TENZIL2"}) boxes_[QString::fromLatin1(f)]->setModified(false);
    for (auto it = totals_.begin(); it != totals_.end(); ++it)
        it.value()->setText(moneyText(it.key() == u"AraTop"_s ? logic_.subtotal() : logic_.number(it.key())));
    printed_->setChecked(logic_.field(u"KES"_s).toBool());
    QList<InvoiceLine> items;
    guarded([&] { items = logic_.lines(); });
    grid_->setRowCount(int(items.size()));
    for (int r = 0; r < items.size(); ++r) {
        const InvoiceLine& l = items[r];
        const QStringList cells{QString::number(l.no), l.name, QString::number(l.quantity), numberText(l.price, 2),
                                numberText(l.amount, 2), numberText(l.vatIn, 2), numberText(l.discount, 2),
                                numberText(l.subtotal, 2), numberText(l.vatAfter, 2), numberText(l.net, 2)};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c != 1) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid_->setItem(r, c, item);
        }
    }
    filling_ = false;
}

void TFaturaForm1::store()
{
    takeDiscountBoxes();
    bool done = false;
    guarded([&] { done = logic_.store() == FaturaLogic::StoreResult::Stored; });
    if (done) accept();
    else refresh();
}

void TFaturaForm1::printInvoice()
{
    takeDiscountBoxes();
    guarded([this] { logic_.print(); });
    refresh();
}

void TFaturaForm1::reject()
{
    guarded([this] { logic_.closing(); });
    QDialog::reject();
}

double FaturaKayitAc(Session& session, int mode, double saleNo, double invoiceNo,
                     const std::function<void(double)>& recordLines, QWidget* parent)
{
    TFaturaForm1 form(session, parent);
    form.logic().setLinesRecorder(recordLines);
    form.open(mode, saleNo, invoiceNo);
    form.exec();
    return form.logic().stored() ? form.logic().result() : 0;
}

}  // namespace selvar
