#include "purchasing/ui/sat_fiy_form.h"

#include "core/dates.h"
#include "core/format.h"
#include "platform/platform.h"
#include "platform/session.h"
#include "platform/ui/command.h"
#include "purchasing/ui/alis_kayit.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
const QStringList kColumns{u"SN"_s,          u"Ürün Adı"_s,      u"Alış Fiyatı"_s, u"KDV"_s,
                           u"İsk.T."_s,      u"Satış Fiyatı"_s,  u"Fyt.Trh."_s,    u"Yeni Sat.Fiy."_s,
                           u"Yen.F.Trh"_s,   u"Tm.sız.Y.St.Fiy."_s};
constexpr int kCalculated = 7;  // the first of the three columns shown by "Göster"
}  // namespace

TSatFiyForm::TSatFiyForm(Session& session, QWidget* parent) : QDialog(parent), session_(session), logic_(session)
{
    setObjectName(u"TSatFiyForm"_s);
    setWindowTitle(u"Diğer İskonto Tipli Ürünlere Satış Fiyatı Belirleme"_s);
    heading_ = new QLabel(this);
    heading_->setObjectName(u"Baslik"_s);
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    grid_ = new QTableWidget(0, int(kColumns.size()), this);
    grid_->setObjectName(u"Fiyatlar"_s);
    grid_->setHorizontalHeaderLabels(kColumns);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    for (int c = kCalculated; c < kColumns.size(); ++c) grid_->setColumnHidden(c, true);

    percent_ = new QLineEdit(this);
    percent_->setObjectName(u"Yuzde"_s);
    percent_->setInputMask(u"09,99;_"_s);
    percent_->setText(logic_.percentText);
    percent_->setMaximumWidth(70);
    step_ = new QLineEdit(this);
    step_->setObjectName(u"Katsayi"_s);
    step_->setInputMask(u"999999;_"_s);
    step_->setText(logic_.stepText.trimmed());
    step_->setMaximumWidth(90);
    auto* percentRow = new QHBoxLayout;
    percentRow->addWidget(new QLabel(u"Listedeki Ürünlerin Satış Fiyatı Alış Fiyatının Yüzde"_s, this));
    percentRow->addWidget(percent_);
    percentRow->addWidget(new QLabel(u"kadar olsun."_s, this));
    percentRow->addStretch();
    auto* stepRow = new QHBoxLayout;
    stepRow->addWidget(new QLabel(u"Oluşan Yeni Satış Fiyatı"_s, this));
    stepRow->addWidget(step_);
    stepRow->addWidget(new QLabel(u"Sayısının Katlarına Tamlansın."_s, this));
    stepRow->addStretch();

    show_ = new QPushButton(u"Yeni Yüzdeye Göre Değişecek Olan Fiyatları Göster"_s, this);
    show_->setObjectName(u"Goster"_s);
    show_->setAutoDefault(false);
    connect(show_, &QPushButton::clicked, this, &TSatFiyForm::showPrices);
    auto* options = new QGroupBox(this);
    auto* optionsLayout = new QVBoxLayout(options);
    higher_ = new QRadioButton(u"Yeni Fiyat Eskisinden Fazla Olanları Aktar"_s, options);
    higher_->setObjectName(u"FazlaOlanlar"_s);
    higher_->setChecked(true);
    all_ = new QRadioButton(u"Tümünü Aktar"_s, options);
    all_->setObjectName(u"Tumu"_s);
    optionsLayout->addWidget(higher_);
    optionsLayout->addWidget(all_);
    transfer_ = new QPushButton(u"Yeni Yüzdeye Göre Değişen Fiyatları Aktar ve Sakla "_s, this);
    transfer_->setObjectName(u"Aktar"_s);
    transfer_->setAutoDefault(false);
    transfer_->hide();
    connect(transfer_, &QPushButton::clicked, this, &TSatFiyForm::transfer);
    auto* close = new QPushButton(u"&Kapat"_s, this);
    close->setObjectName(u"Kapat"_s);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] {
        if (session_.platform) session_.platform->showHelp(u"Selvar.hlp"_s, 880);
    });

    auto* commands = new QHBoxLayout;
    commands->addWidget(show_);
    commands->addWidget(options);
    commands->addWidget(transfer_);
    commands->addStretch();
    commands->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(grid_, 1);
    layout->addLayout(percentRow);
    layout->addLayout(stepRow);
    layout->addLayout(commands);
    resize(1000, 560);
}

void TSatFiyForm::guarded(const std::function<void()>& f) { runCommand(session_.prompter, f); }

bool TSatFiyForm::open(double purchaseNo)
{
    bool found = false;
    guarded([&] { found = logic_.open(purchaseNo); });
    if (!found) return false;
    heading_->setText(logic_.heading());
    fill();
    percent_->setFocus();
    percent_->setCursorPosition(0);
    return true;
}

void TSatFiyForm::fill()
{
    const QList<SalesPriceLine>& lines = logic_.lines();
    grid_->setRowCount(int(lines.size()));
    for (int r = 0; r < lines.size(); ++r) {
        const SalesPriceLine& l = lines[r];
        QStringList cells{QString::number(l.no), l.name, numberText(l.purchasePrice, 2), format(u"%g", l.vat),
                          salesPriceTypeLabel(l.type), numberText(l.salePrice, 2), dateText(l.priceDate)};
        if (logic_.shown())
            cells << numberText(l.newPrice, 2) << dateText(l.newDate) << numberText(l.unrounded, 2);
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c != 1 && c != 4) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid_->setItem(r, c, item);
        }
    }
}

void TSatFiyForm::showPrices()
{
    logic_.percentText = percent_->displayText().replace(u'_', u' ');
    logic_.stepText = step_->displayText().replace(u'_', u' ');
    bool shown = false;
    guarded([&] { shown = logic_.show(); });
    if (!shown) return;
    for (int c = kCalculated; c < kColumns.size(); ++c) grid_->setColumnHidden(c, false);
    fill();
    transfer_->show();
    transfer_->setFocus();
}

void TSatFiyForm::transfer()
{
    logic_.transferAll = all_->isChecked();
    guarded([this] { logic_.transfer(); });
    accept();  // after the question, whatever the answer
}

void SatFiyAc(Session& session, double purchaseNo, QWidget* parent)
{
    TSatFiyForm form(session, parent);
    if (!form.open(purchaseNo)) return;
    form.exec();
}

}  // namespace selvar
