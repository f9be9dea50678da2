#include "invoicing/ui/kesfat_ssk_form.h"

#include "core/dates.h"
#include "core/format.h"
#include "platform/session.h"
#include "platform/ui/command.h"
#include "reports/ui/reports.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;


TKesFatSSKForm::TKesFatSSKForm(Session& session, const QString& code, const SskInvoiceLinks& links, QWidget* parent)
    : QDialog(parent), session_(session), links_(links), logic_(session, code, logicLinks())
{
    setObjectName(u"TKesFatSSKForm"_s);
    setWindowTitle(u"SSK TİPİ KURUM FATURALARI"_s);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    heading_ = new QLabel(code, this);
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    top->addWidget(heading_);
    top->addWidget(new QLabel(u"Kurumuna Kesilen Faturalar"_s, this));
    top->addStretch();
    layout->addLayout(top);
    grid_ = new QTableWidget(0, 4, this);
    grid_->setObjectName(u"Faturalar"_s);
    grid_->setHorizontalHeaderLabels({u"FATURA NO"_s, u"NET TUTAR"_s, u"FAT.TARİHİ"_s, u"Fat.Evrk.No"_s});
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    layout->addWidget(grid_, 1);
    auto* buttons = new QHBoxLayout;
    auto add = [&](const QString& caption, std::function<void()> run) {
        auto* b = new QPushButton(caption, this);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, run] {
            guarded(run);
            reload();
            grid_->setFocus();
        });
        buttons->addWidget(b);
        return b;
    };
    new_ = add(u"&Yeni Fatura "_s, [this] { logic_.newInvoice(); });
    correct_ = add(u"&Düzelt-Bak"_s, [this] {
        if (const double no = currentInvoice()) logic_.correct(no);
    });
    delete_ = add(u"Fatura &Sil"_s, [this] {
        if (const double no = currentInvoice()) logic_.remove(no);
    });
    auto* close = new QPushButton(u"&Kapat"_s, this);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(640, 420);
    reload();
}

KesFatSskLogic::Links TKesFatSSKForm::logicLinks()
{
    // Called only after the form is built: the windows it opens are its children.
    KesFatSskLogic::Links l;
    l.askRange = [this](const QDate& a, const QDate& b, const QString& prompt) -> std::optional<std::pair<QDate, QDate>> {
        const DateRange r = TarihAraligiAl(session_, a, b, prompt, this);
        if (!r.accepted) return std::nullopt;
        return std::pair{r.first, r.last};
    };
    l.openInvoice = [this](const QString& code, double invoiceNo) { HazirFatSSKAc(session_, code, invoiceNo, links_, this); };
    return l;
}

void TKesFatSSKForm::guarded(const std::function<void()>& f) { runCommand(session_.prompter, f); }

void TKesFatSSKForm::reload()
{
    const int row = std::max(0, grid_->currentRow());
    QList<IssuedSskInvoice> list;
    guarded([&] { list = logic_.invoices(); });
    grid_->setRowCount(int(list.size()));
    for (int r = 0; r < list.size(); ++r) {
        const IssuedSskInvoice& i = list[r];
        const QStringList cells{i.number, format(u"%m"_s, i.net),
                                i.date.isValid() ? i.date.toString(u"dd/MM/yyyy"_s) : QString(),
                                QString::number(i.invoiceNo, 'f', 0)};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setData(Qt::UserRole, i.invoiceNo);
            if (c == 1 || c == 3) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid_->setItem(r, c, item);
        }
    }
    if (!list.isEmpty()) grid_->setCurrentCell(std::min(row, int(list.size()) - 1), 0);
}

double TKesFatSSKForm::currentInvoice() const
{
    const int r = grid_->currentRow();
    if (r < 0 || !grid_->item(r, 0)) return 0;
    return grid_->item(r, 0)->data(Qt::UserRole).toDouble();
}

void KesFatSSKAc(Session& session, const QString& code, const SskInvoiceLinks& links, QWidget* parent)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TKesFatSSKForm form(session, code, links, parent);
    QApplication::restoreOverrideCursor();
    form.exec();
}

}  // namespace selvar
