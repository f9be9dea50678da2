#include "sales/ui/zam_form.h"

#include "platform/ui/command.h"

#include "data/errors.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "sales/zam_logic.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

TZamForm::TZamForm(Session& session, qint64 productNo, double newPrice, QWidget* parent)
    : QDialog(parent), session_(session), logic_(std::make_unique<ZamLogic>(session, productNo, newPrice))
{
    setObjectName(u"TZamForm"_s);
    setWindowTitle(u"Zam Onay"_s);
    setModal(true);
    auto* question = new QLabel(ZamQuestion, this);
    question->setObjectName(u"Question"_s);
    question->setWordWrap(true);
    date_ = new QLineEdit(this);
    date_->setObjectName(u"OnayTarihi"_s);
    date_->setInputMask(u"09.09.0099;_"_s);  // day.month.year, as the original "!90/90/9900"
    date_->setText(logic_->initialDateText());
    auto* dateLabel = new QLabel(u"Onay Tarihi"_s, this);
    dateLabel->setBuddy(date_);
    yes_ = new QPushButton(u"&Evet"_s, this);
    yes_->setObjectName(u"Evet"_s);
    yes_->setDefault(true);
    no_ = new QPushButton(u"&Hayır"_s, this);
    no_->setObjectName(u"Hayir"_s);
    no_->setAutoDefault(false);

    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(dateLabel);
    dateRow->addWidget(date_);
    dateRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yes_);
    buttons->addWidget(no_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(question);
    layout->addLayout(dateRow);
    layout->addLayout(buttons);

    connect(yes_, &QPushButton::clicked, this, &TZamForm::yesClicked);
    connect(no_, &QPushButton::clicked, this, &QDialog::reject);
    resize(380, sizeHint().height());
}

TZamForm::~TZamForm() = default;

void TZamForm::yesClicked()
{
    const std::optional<QDate> confirmed = logic_->confirmationDate(date_->text());
    if (!confirmed) {
        date_->setFocus();
        return;
    }
    bool written = false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ran = runCommand(session_.prompter, [&] {
        struct Restore {
            ~Restore() { QApplication::restoreOverrideCursor(); }
        } restore;
        written = logic_->apply(*confirmed);
    });
    if (!ran) return;
    if (written) accept();
    else reject();
}

bool ZamOnay(Session& session, qint64 productNo, double newPrice, QWidget* parent)
{
    TZamForm form(session, productNo, newPrice, parent);
    return form.exec() == QDialog::Accepted;
}

}  // namespace selvar
