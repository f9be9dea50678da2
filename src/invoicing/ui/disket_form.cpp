#include "invoicing/ui/disket_form.h"

#include "invoicing/ui/ssk_invoice.h"
#include "platform/session.h"
#include "platform/ui/command.h"

#include <QApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

TDisketForm::TDisketForm(Session& session, QChar group, const QString& code, double invoiceNo, QWidget* parent)
    : QDialog(parent), session_(session), logic_(session), group_(group), code_(code), invoiceNo_(invoiceNo)
{
    setObjectName(u"TDisketForm"_s);
    setWindowTitle(u"DİSKET HAZIRLAMA"_s);
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(u"LÜTFEN SÜRÜCÜNÜZE DİSKET TAKIN VE SÜRÜCÜ BELİRLEYİN"_s, this);
    QFont bold = prompt->font();
    bold.setBold(true);
    prompt->setFont(bold);
    layout->addWidget(prompt);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(u"&Sürücü Seçimi"_s, this);
    target_ = new QLineEdit(DisketLogic::defaultTarget(), this);
    target_->setObjectName(u"Hedef"_s);
    target_->setMinimumWidth(320);
    label->setBuddy(target_);
    auto* choose = new QPushButton(u"..."_s, this);
    choose->setAutoDefault(false);
    choose->setFocusPolicy(Qt::NoFocus);
    connect(choose, &QPushButton::clicked, this, [this] {
        const QString dir = QFileDialog::getExistingDirectory(this, u"Sürücü Seçimi"_s, target_->text());
        if (!dir.isEmpty()) target_->setText(dir);
    });
    row->addWidget(label);
    row->addWidget(target_, 1);
    row->addWidget(choose);
    layout->addLayout(row);
    notice_ = new QLabel(u"Kopyalma İşlemi Tamamlandı."_s, this);
    notice_->setObjectName(u"Tamamlandi"_s);
    notice_->setFont(bold);
    notice_->hide();
    layout->addWidget(notice_);
    auto* buttons = new QHBoxLayout;
    copy_ = new QPushButton(u"&Kopyala"_s, this);
    copy_->setDefault(true);
    connect(copy_, &QPushButton::clicked, this, [this] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        runCommand(session_.prompter, [this] {
            DisketLogic::rememberTarget(target_->text().trimmed());
            logic_.copy(target_->text().trimmed());
        });
        QApplication::restoreOverrideCursor();
        notice_->setVisible(logic_.complete());
    });
    auto* close = new QPushButton(u"K&apat"_s, this);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch();
    buttons->addWidget(copy_);
    buttons->addWidget(close);
    layout->addLayout(buttons);
}

void TDisketForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The tables are built anew, and the copy marks cleared, at every showing.
    notice_->hide();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    runCommand(session_.prompter, [this] { built_ = logic_.build(group_, code_, invoiceNo_); });
    QApplication::restoreOverrideCursor();
    copy_->setEnabled(built_);
    target_->setFocus();
}

void DisketAc(Session& session, QChar group, const QString& code, double invoiceNo, QWidget* parent)
{
    TDisketForm form(session, group, code, invoiceNo, parent);
    form.exec();
}

}  // namespace selvar
