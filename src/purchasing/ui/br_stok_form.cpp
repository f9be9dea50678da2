#include "purchasing/ui/br_stok_form.h"

#include "core/format.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "platform/ui/command.h"
#include "print/print_service.h"
#include "purchasing/ui/alis_kayit.h"
#include "reports/ui/reports.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

TBrStokForm::TBrStokForm(Session& session, qint64 productNo, const QString& productName, QWidget* parent)
    : QDialog(parent), session_(session), logic_(session, productNo, productName)
{
    setObjectName(u"TBrStokForm"_s);
    setWindowTitle(u"ÜRÜN GİRİŞ ÇIKIŞ HAREKETLERİ"_s);
    auto* layout = new QVBoxLayout(this);
    title_ = new QLabel(logic_.title(), this);
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    layout->addWidget(title_);

    model_ = new StockHistoryModel(logic_, this);
    grid_ = new QTableView(this);
    grid_->setObjectName(u"Hareketler"_s);
    grid_->setModel(model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid_->installEventFilter(this);
    layout->addWidget(grid_, 1);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { explainCurrent(); });

    explanation_ = new QLabel(this);
    explanation_->setObjectName(u"KimeAit"_s);
    explanation_->setFrameShape(QFrame::Panel);
    explanation_->setFrameShadow(QFrame::Sunken);
    explanation_->setMinimumHeight(explanation_->fontMetrics().height() + 8);
    layout->addWidget(explanation_);

    auto* totals = new QGridLayout;
    int c = 0;
    for (const QString& caption : {u"Giriş Tutarı"_s, u"Çıkış Tutarı"_s, u"Giriş Miktarı"_s, u"Çıkış Miktarı"_s, u"Fark"_s,
                                   u"Hareket Dışı Miktar :"_s}) {
        totals->addWidget(new QLabel(caption, this), 0, c);
        auto* value = new QLabel(this);
        value->setFrameShape(QFrame::Panel);
        value->setFrameShadow(QFrame::Sunken);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(100);
        totals->addWidget(value, 1, c++);
        totals_ << std::pair{caption, value};
    }
    layout->addLayout(totals);

    auto* buttons = new QHBoxLayout;
    auto add = [&](const QString& caption, std::function<void()> run) {
        auto* b = new QPushButton(caption, this);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, run] {
            guarded(run);
            grid_->setFocus();
        });
        buttons->addWidget(b);
        buttons_ << b;
        return b;
    };
    add(u"&Tarih Aralığı "_s, [this] {
        const QDate today = session_.clock.today();
        const DateRange r = TarihAraligiAl(session_, today, today, u"Olan İlaç Satışlarını ve Alışlarını Göster"_s, this);
        if (!r.accepted) return;
        logic_.showRange(r.first, r.last);
        model_->reload();
        if (model_->rowCount() > 0) grid_->setCurrentIndex(model_->index(0, 0));
        explainCurrent();
    });
    add(u"&Aylık Rapor"_s, [this] { AylikRaporAc(session_, logic_.productNo(), this); });
    add(u"&Yazdır"_s, [this] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        logic_.print(windowTitle());
        QApplication::restoreOverrideCursor();
    });
    add(u"&Fontu"_s, [this] {
        if (!session_.print) return;
        if (const std::optional<FontDef> f = session_.print->chooseFont(logic_.font, FontChoice::Any)) {
            logic_.font = *f;
            logic_.fontChanged = true;
        }
    });
    buttons->addWidget(new QLabel(u"Yazıcı Sol Marj (cm)"_s, this));
    margin_ = new QSpinBox(this);
    margin_->setRange(0, 10);
    buttons->addWidget(margin_);
    buttons->addStretch();
    auto* ok = new QPushButton(u"OK"_s, this);
    ok->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(ok);
    buttons_ << ok;
    layout->addLayout(buttons);
    resize(820, 560);

    guarded([this] {
        logic_.loadFont();
        model_->reload();
    });
    margin_->setValue(logic_.margin);
    logic_.fontChanged = false;
    connect(margin_, &QSpinBox::valueChanged, this, [this](int v) {
        logic_.margin = v;
        logic_.fontChanged = true;
    });
    if (model_->rowCount() > 0) grid_->setCurrentIndex(model_->index(0, 0));
    explainCurrent();
    showTotals();
    grid_->setFocus();
}

void TBrStokForm::guarded(const std::function<void()>& f) { runCommand(session_.prompter, f); }

QLabel* TBrStokForm::total(const QString& caption) const
{
    for (const auto& [c, l] : totals_)
        if (c == caption) return l;
    return nullptr;
}

QPushButton* TBrStokForm::button(const QString& caption) const
{
    for (QPushButton* b : buttons_)
        if (b->text().remove(u'&') == caption) return b;
    return nullptr;
}

void TBrStokForm::explainCurrent()
{
    const Movement* m = model_->at(grid_->currentIndex().row());
    QString text;
    if (m) guarded([&] { text = logic_.explain(*m); });
    explanation_->setText(text);
}

void TBrStokForm::showTotals()
{
    StockTotals t;
    guarded([&] { t = logic_.totals(); });
    const QList<QString> values{t.any ? format(u"%m"_s, t.inValue) : QString(), t.any ? format(u"%m"_s, t.outValue) : QString(),
                                t.any ? format(u"%n"_s, t.inQuantity).section(u',', 0, 0) : QString(),
                                t.any ? format(u"%n"_s, t.outQuantity).section(u',', 0, 0) : QString(),
                                t.any ? format(u"%m"_s, t.difference()) : QString(),
                                t.offMovement ? QString::number(*t.offMovement, 'f', 0) : QString()};
    for (int i = 0; i < totals_.size(); ++i) totals_[i].second->setText(values[i]);
}

bool TBrStokForm::eventFilter(QObject* watched, QEvent* event)
{
    // Up and Down explain the movement they arrive at, also at either end of the list.
    if (watched == grid_ && event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) explainCurrent();
    }
    return QDialog::eventFilter(watched, event);
}

void TBrStokForm::done(int r)
{
    guarded([this] { logic_.saveFont(); });
    QDialog::done(r);
}

bool BrStokAc(Session& session, qint64 productNo, const QString& productName, QWidget* parent)
{
    TBrStokForm form(session, productNo, productName, parent);
    return form.exec() == QDialog::Accepted;
}

}  // namespace selvar
