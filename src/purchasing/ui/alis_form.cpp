#include "purchasing/ui/alis_form.h"

#include "companion/companion.h"
#include "core/dates.h"
#include "core/format.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "platform/ui/command.h"
#include "purchasing/ui/alis_kayit.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
const QStringList kLineColumns{u"SN"_s,       u"Ürün Adı"_s,      u"Fiyatı"_s,        u"Adet"_s,          u"M.F."_s,
                               u"İsk.Tipi"_s, u"F.Isk"_s,         u"Net Tutar"_s,     u"Net_Birim_Fiyat"_s, u"KDV"_s,
                               u"kdvTutar"_s, u"EczKar"_s,        u"Mal.Fzl.Indr."_s, u"Müş.İskontosu"_s, u"Toplam KDV"_s,
                               u"MFKDV"_s,    u"MKDVVARMI"_s};
const QStringList kTotalRows{u"Alış Toplamı"_s,        u"KDV İndirimi Toplamı"_s, u"Eczane Karı Toplamı"_s,
                             u"Mal Fazlası İskontosu"_s, u"Ara Net Tutar"_s,        u"İskontolar Toplamı"_s,
                             u"Ara Toplam"_s,          u"TOPLAM KDV"_s,           u"Mal Fazlası KDV Toplamı"_s,
                             u"NET TOPLAM"_s};
// The stored field of each total row; empty for the two calculated rows.
const QStringList kTotalFields{u"BRUT"_s, u"KDVTENZIL"_s, u"INDIR1"_s, u"INDIR2"_s, QString(),
                               u"INDIR3"_s, QString(), u"KDVTOP"_s, u"MFKDV"_s, u"NET"_s};
const QString kNone = u"-------"_s;
const QStringList kDateFields{u"FATARIH"_s, u"IRSTARIH"_s, u"VADE"_s};

QString amount(double v) { return numberText(v, 2); }
}  // namespace

TAlisForm::TAlisForm(Session& session, QWidget* parent) : QDialog(parent), session_(session), logic_(session)
{
    setObjectName(u"TAlisForm"_s);
    setWindowTitle(u"Alış Faturası Kayıt"_s);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(createHeader());
    createTotalGrid();
    layout->addWidget(totals_);
    auto* noteRow = new QHBoxLayout;
    noteRow->addWidget(new QLabel(u"Fatura Açıklaması"_s, this));
    note_ = new QPlainTextEdit(this);
    note_->setObjectName(u"ACIKLAMA"_s);
    note_->setMaximumHeight(44);
    note_->setTabChangesFocus(true);
    connect(note_, &QPlainTextEdit::textChanged, this, [this] {
        if (!filling_) logic_.setField(u"ACIKLAMA"_s, note_->toPlainText().left(95));
    });
    noteRow->addWidget(note_, 1);
    layout->addLayout(noteRow);
    createLineGrid();
    layout->addWidget(lines_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addButton(u"Sakla"_s, u"&Sakla"_s, [this] { store(); }));
    buttons->addWidget(addButton(u"Vazgec"_s, u"&Vazgeç"_s, [this] { reject(); }));
    buttons->addWidget(addButton(u"Yardim"_s, u"&Yardım"_s, [this] {
        if (session_.platform) session_.platform->showHelp(u"Selvar.hlp"_s, 117);
    }));
    QPushButton* update = addButton(u"Guncelle"_s, u"Güncelle"_s, [this] {
        guarded([this] { logic_.refreshAsked(); });
        refresh();
    });
    update->setToolTip(u"Toplamlar Hesaplarını Güncelle"_s);
    buttons->addWidget(update);
    buttons->addStretch();
    layout->addLayout(buttons);
    // The order of the boxes as they are typed.
    QList<QWidget*> order{boxes_[u"KRMKOD"_s], boxes_[u"FATARIH"_s], boxes_[u"FATNO"_s], boxes_[u"IRSTARIH"_s],
                          boxes_[u"IRSALNO"_s], boxes_[u"VADE"_s], boxes_[u"INORAN1"_s], boxes_[u"INORAN3"_s],
                          totals_, note_, lines_, buttons_[u"Sakla"_s], buttons_[u"Vazgec"_s], buttons_[u"Yardim"_s],
                          update};
    for (int i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
    auto* f5 = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(f5, &QShortcut::activated, this, [this] {
        guarded([this] { logic_.chooseSupplier(); });
        refresh();
        boxes_[u"KRMKOD"_s]->setFocus();
    });
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, buttons_[u"Yardim"_s], &QPushButton::click);
    resize(1120, 720);
}

QLineEdit* TAlisForm::addBox(const QString& field, int maxLength)
{
    auto* e = new QLineEdit(this);
    e->setObjectName(field);
    if (maxLength > 0) e->setMaxLength(maxLength);
    e->installEventFilter(this);
    boxes_.insert(field, e);
    return e;
}

QLineEdit* TAlisForm::addDateBox(const QString& field)
{
    QLineEdit* e = addBox(field, 0);
    e->setInputMask(u"99/99/9999;_"_s);
    e->setMaximumWidth(110);
    return e;
}

QPushButton* TAlisForm::addButton(const QString& name, const QString& caption, std::function<void()> run)
{
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [run] { run(); });
    buttons_.insert(name, b);
    return b;
}

QLayout* TAlisForm::createHeader()
{
    auto* g = new QGridLayout;
    auto caption = [&](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    auto dateRow = [&](const QString& field) {
        auto* row = new QHBoxLayout;
        row->addWidget(addDateBox(field));
        QPushButton* b = addButton(u"Takvim"_s + field, u"..."_s, [this, field] { calendar(field); });
        b->setToolTip(u"Takvime Bak"_s);
        b->setFocusPolicy(Qt::NoFocus);
        row->addWidget(b);
        row->addStretch();
        return row;
    };
    QLineEdit* code = addBox(u"KRMKOD"_s, 11);
    g->addWidget(caption(u"&CARİ KODU"_s, code), 0, 0);
    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(code);
    QPushButton* choose = addButton(u"KurumSec"_s, u"Kurum Seç F5"_s, [this] {
        guarded([this] { logic_.chooseSupplier(); });
        refresh();
        boxes_[u"KRMKOD"_s]->setFocus();
    });
    choose->setToolTip(u"Kurum Seç F5"_s);
    choose->setFocusPolicy(Qt::NoFocus);
    codeRow->addWidget(choose);
    g->addLayout(codeRow, 0, 1);
    auto* supplierName = new QLabel(this);
    supplierName->setObjectName(u"KurumAdi"_s);
    g->addWidget(supplierName, 0, 2, 1, 2);
    g->addWidget(new QLabel(u"Fatura Tarihi"_s, this), 1, 0);
    g->addLayout(dateRow(u"FATARIH"_s), 1, 1);
    QLineEdit* invoiceNo = addBox(u"FATNO"_s, 15);
    g->addWidget(caption(u"Fatura &No"_s, invoiceNo), 1, 2);
    g->addWidget(invoiceNo, 1, 3);
    g->addWidget(new QLabel(u"İrsaliye Tarihi"_s, this), 2, 0);
    g->addLayout(dateRow(u"IRSTARIH"_s), 2, 1);
    QLineEdit* noteNo = addBox(u"IRSALNO"_s, 15);
    g->addWidget(caption(u"&İrsaliye No"_s, noteNo), 2, 2);
    g->addWidget(noteNo, 2, 3);
    g->addWidget(new QLabel(u"Vade Tarihi"_s, this), 3, 0);
    g->addLayout(dateRow(u"VADE"_s), 3, 1);
    QLineEdit* profit = addBox(u"INORAN1"_s, 0);
    g->addWidget(caption(u"Ecz.&Karı (%) :"_s, profit), 4, 0);
    g->addWidget(profit, 4, 1);
    QLineEdit* fixed = addBox(u"INORAN3"_s, 0);
    g->addWidget(caption(u"Sabit &Depo İskontosu (%) :"_s, fixed), 4, 2);
    g->addWidget(fixed, 4, 3);
    for (QLineEdit* rate : {profit, fixed}) {
        rate->setMaximumWidth(80);
        // Typing stops once the text has more than four characters.
        rate->setMaxLength(5);
    }
    return g;
}

void TAlisForm::createTotalGrid()
{
    totals_ = new QTableWidget(int(kTotalRows.size()), 4, this);
    totals_->setObjectName(u"Toplamlar"_s);
    totals_->setHorizontalHeaderLabels(
        {u"İskontolu Alışlar"_s, u"İskontosuz Alışlar"_s, u"Diğer(KDVsiz) Alışlar"_s, u"TOPLAMLAR"_s});
    totals_->setVerticalHeaderLabels(kTotalRows);
    totals_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    totals_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    totals_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                             | QAbstractItemView::EditKeyPressed);
    totals_->setMinimumHeight(totals_->verticalHeader()->length() + totals_->horizontalHeader()->height() + 6);
    connect(totals_, &QTableWidget::cellChanged, this, &TAlisForm::totalTyped);
}

void TAlisForm::createLineGrid()
{
    lines_ = new QTableWidget(0, int(kLineColumns.size()), this);
    lines_->setObjectName(u"Satirlar"_s);
    lines_->setHorizontalHeaderLabels(kLineColumns);
    lines_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lines_->verticalHeader()->hide();
    lines_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lines_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
}

void TAlisForm::guarded(const std::function<void()>& f) { runCommand(session_.prompter, f); }

void TAlisForm::open(bool isNew, const QString& supplier, double purchaseNo)
{
    guarded([&] { logic_.open(isNew, supplier, purchaseNo); });
    setWindowTitle(logic_.caption());
    refresh();
    boxes_[isNew ? u"FATNO"_s : u"KRMKOD"_s]->setFocus();
}

void TAlisForm::refresh()
{
    filling_ = true;
    for (const char* f : {"KRMKOD", "FATNO", "IRSALNO"}) {
        const QString field = QString::fromLatin1(f);
        boxes_[field]->setText(logic_.text(field).trimmed());
    }
    for (const QString& f : kDateFields) {
        const QDate d = logic_.field(f).toDate();
        boxes_[f]->setText(d.isValid() ? d.toString(u"dd/MM/yyyy"_s) : QString());
    }
    boxes_[u"INORAN1"_s]->setText(formatMask(u"0.00"_s, logic_.number(u"INORAN1"_s)));
    boxes_[u"INORAN3"_s]->setText(formatMask(u"0.00"_s, logic_.number(u"INORAN3"_s)));
    for (QLineEdit* b : boxes_) b->setModified(false);
    if (note_->toPlainText() != logic_.text(u"ACIKLAMA"_s)) note_->setPlainText(logic_.text(u"ACIKLAMA"_s));
    // The totals: three category columns, then the stored ones.
    const auto& c = logic_.categories();
    const auto column = [](const PurchaseCategoryTotals& t, int row, int category) -> QString {
        switch (row) {
        case 0: return amount(t.brut);
        case 1: return category == 2 ? kNone : amount(t.vatDeduction);
        case 2: return category == 2 ? kNone : amount(t.profit);
        case 3: return amount(t.freeGoods);
        case 4: return amount(t.netBefore);
        case 5: return category == 1 ? kNone : amount(t.discount);
        case 6: return amount(t.subtotal);
        case 7: return amount(t.vat);
        case 8: return amount(t.freeGoodsVat);
        default: return amount(t.net);
        }
    };
    for (int r = 0; r < kTotalRows.size(); ++r) {
        for (int k = 0; k < 3; ++k) {
            auto* item = new QTableWidgetItem(column(c[size_t(k)], r, k));
            item->setFlags(Qt::ItemIsEnabled);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            totals_->setItem(r, k, item);
        }
        const QString field = kTotalFields[r];
        const double v = field.isEmpty() ? (r == 4 ? logic_.netBefore() : logic_.subtotal()) : logic_.number(field);
        auto* item = new QTableWidgetItem(amount(v));
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // Only the stored totals are typed: the white boxes.
        if (field.isEmpty()) item->setFlags(Qt::ItemIsEnabled);
        else item->setBackground(Qt::white);
        totals_->setItem(r, 3, item);
    }
    QList<PurchaseLineInput> inputs;
    QList<PurchaseLineValues> values;
    QStringList lineNames;
    QString supplierName;
    guarded([&] {
        inputs = logic_.inputs();
        values = logic_.lineValues();
        lineNames = logic_.lineNames();
        supplierName = logic_.supplierName();
    });
    lines_->setRowCount(int(inputs.size()));
    for (int i = 0; i < inputs.size() && i < values.size(); ++i) {
        const PurchaseLineInput& in = inputs[i];
        const PurchaseLineValues& v = values[i];
        const QStringList cells{QString::number(i + 1), lineNames.value(i), amount(in.price), QString::number(in.quantity),
                                QString::number(in.freeGoods), purchaseDiscountTypeLabel(in.type),
                                format(u"%g", in.lineDiscount), amount(v.net), amount(v.unitCost), format(u"%g", in.vat),
                                amount(v.vatDeduction), amount(v.profit), amount(v.freeGoods), amount(v.discount),
                                amount(v.vat), amount(v.freeGoodsVat), in.vatOnFreeGoods ? u"E"_s : u"H"_s};
        for (int col = 0; col < cells.size(); ++col) {
            auto* item = new QTableWidgetItem(cells[col]);
            if (col != 1 && col != 5) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            lines_->setItem(i, col, item);
        }
    }
    if (auto* name = findChild<QLabel*>(u"KurumAdi"_s)) name->setText(supplierName);
    filling_ = false;
}

void TAlisForm::totalTyped(int row, int column)
{
    if (filling_ || column != 3 || kTotalFields.value(row).isEmpty()) return;
    double v = 0;
    if (!parseNumber(totals_->item(row, column)->text(), &v)) session_.prompter.beep();  // the old total stays
    else logic_.setField(kTotalFields[row], v);
    QMetaObject::invokeMethod(this, [this] { refresh(); }, Qt::QueuedConnection);
}

void TAlisForm::calendar(const QString& field)
{
    guarded([&] {
        if (!session_.companion) return;
        const double chosen = session_.companion->DateAl1(toDateTimeReal(session_.clock.today()));
        if (chosen > 0) logic_.setField(field, fromDateTimeReal(chosen).date());
    });
    refresh();
    boxes_[field]->setFocus();
}

void TAlisForm::dateLeft(const QString& field)
{
    QLineEdit* b = boxes_[field];
    const QString typed = b->displayText().replace(u'_', u' ').replace(u'/', u'.');
    QString digits = typed;
    digits.remove(u'.').remove(u' ');
    if (digits.isEmpty()) {
        logic_.setField(field, QVariant());
    } else {
        const DateInput d = parseDateText(typed);
        if (d.isValid()) logic_.setField(field, d.date);
        else session_.prompter.beep();  // the previous date stays
    }
}

void TAlisForm::takeBox(QLineEdit* b)
{
    if (filling_ || !b->isModified()) return;
    b->setModified(false);
    const QString field = b->objectName();
    guarded([&] {
        if (kDateFields.contains(field)) dateLeft(field);
        else if (field == u"KRMKOD"_s) {
            logic_.setField(field, b->text().trimmed());
            logic_.supplierLeft(b->text());
        } else if (field == u"INORAN1"_s) logic_.profitRateTyped(b->text());
        else if (field == u"INORAN3"_s) logic_.fixedDiscountTyped(b->text());
        else logic_.setField(field, b->text());
    });
    refresh();
}

bool TAlisForm::eventFilter(QObject* o, QEvent* e)
{
    auto* b = qobject_cast<QLineEdit*>(o);
    if (b && e->type() == QEvent::FocusOut) takeBox(b);
    // An empty date box is typed from its first digit, wherever the cursor was.
    if (b && e->type() == QEvent::FocusIn && kDateFields.contains(b->objectName()) && b->text().remove(u'/').trimmed().isEmpty())
        QMetaObject::invokeMethod(b, [b] { b->setCursorPosition(0); }, Qt::QueuedConnection);
    if (b && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            // Enter moves on as Tab does, after the box's text was taken.
            takeBox(b);
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

void TAlisForm::store()
{
    if (QWidget* w = focusWidget())
        if (auto* b = qobject_cast<QLineEdit*>(w)) takeBox(b);
    bool done = false;
    guarded([&] { done = logic_.store() == AlisLogic::StoreResult::Stored; });
    if (done) {
        accept();
        return;
    }
    refresh();
    if (!logic_.field(u"VADE"_s).toDate().isValid()) boxes_[u"VADE"_s]->setFocus();
}

double AlisFormAc(Session& session, bool isNew, const QString& supplier, double purchaseNo,
                  const std::function<void(double)>& recordLines, QWidget* parent)
{
    TAlisForm form(session, parent);
    form.logic().setLinesRecorder(recordLines);
    form.open(isNew, supplier, purchaseNo);
    form.exec();
    return form.logic().stored() ? form.logic().result() : 0;
}

}  // namespace selvar
