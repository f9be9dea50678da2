#include "prescriptions/ui/dokssk_dlg.h"

#include "prescriptions/dokssk_logic.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
QGroupBox* radioGroup(QWidget* parent, const QString& title, const QStringList& items, QButtonGroup** group)
{
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    *group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], box);
        (*group)->addButton(b, i);
        layout->addWidget(b);
    }
    (*group)->button(0)->setChecked(true);
    return box;
}
}  // namespace

TDokSSKDlg::TDokSSKDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(u"TDokSSKDlg"_s);
    setWindowTitle(u"SSK Döküm Seçimi"_s);
    QGroupBox* group = radioGroup(this, u"Grubu"_s, sskGroupCaptions(), &groups_);
    QGroupBox* printout = radioGroup(this, u"Alınacak Döküm"_s, sskPrintoutCaptions(), &printouts_);
    QGroupBox* order = radioGroup(this, u"Dökümün Sıralanma Kriteri"_s, sskOrderCaptions(), &orders_);
    ok_ = new QPushButton(u"OK"_s, this);
    ok_->setDefault(true);
    cancel_ = new QPushButton(u"Vazgeç"_s, this);
    cancel_->setAutoDefault(false);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* right = new QVBoxLayout;
    right->addWidget(printout);
    right->addWidget(order);
    right->addStretch(1);
    auto* choices = new QHBoxLayout;
    choices->addWidget(group);
    choices->addLayout(right);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addLayout(buttons);
}

QString TDokSSKDlg::choice() const
{
    return sskPrintChoice(groups_->checkedId(), printouts_->checkedId(), orders_->checkedId());
}

QString SSKDokumSec(Session&, QWidget* parent)
{
    TDokSSKDlg dlg(parent);
    if (dlg.exec() != QDialog::Accepted) return {};
    return dlg.choice();
}

}  // namespace selvar
