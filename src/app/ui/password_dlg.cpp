#include "app/ui/password_dlg.h"

#include "platform/ui/command.h"

#include "app/password_logic.h"
#include "data/errors.h"
#include "platform/prompter.h"
#include "platform/session.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

TPassWordDlg::TPassWordDlg(Session& session, QWidget* parent)
    : QDialog(parent), logic_(std::make_unique<PasswordLogic>(session))
{
    setObjectName(u"TPassWordDlg"_s);
    setWindowTitle(u"ŞİFRE ONAY"_s);
    setModal(true);
    user_ = new QLineEdit(this);
    user_->setObjectName(u"UserName"_s);
    user_->setMaxLength(25);
    password_ = new QLineEdit(this);
    password_->setObjectName(u"Password"_s);
    password_->setEchoMode(QLineEdit::Password);
    password_->setMaxLength(25);
    auto* userLabel = new QLabel(u"Kullanıcı &Adı"_s, this);
    userLabel->setBuddy(user_);
    auto* passLabel = new QLabel(u"Şi&fre"_s, this);
    passLabel->setBuddy(password_);
    auto* form = new QFormLayout;
    form->addRow(userLabel, user_);
    form->addRow(passLabel, password_);
    ok_ = new QPushButton(u"Tamam"_s, this);
    ok_->setDefault(true);
    auto* cancel = new QPushButton(u"Vazgeç"_s, this);
    cancel->setAutoDefault(false);  // Enter anywhere is "Tamam"
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, &TPassWordDlg::okClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(320, sizeHint().height());
}

TPassWordDlg::~TPassWordDlg() = default;

bool TPassWordDlg::succeeded() const { return logic_->succeeded(); }

void TPassWordDlg::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!shown_) {
        shown_ = true;
        logic_->shown();
        user_->setFocus();
    }
}

void TPassWordDlg::keyPressEvent(QKeyEvent* e)
{
    // Enter anywhere in the dialog is "Tamam".
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        okClicked();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TPassWordDlg::okClicked()
{
    if (!shown_) {
        shown_ = true;
        logic_->shown();
    }
    if (logic_->tryLogin(user_->text(), password_->text())) {
        accept();
        return;
    }
    password_->setFocus();
    password_->selectAll();
}

void TPassWordDlg::done(int result)
{
    if (shown_) logic_->closed();
    shown_ = false;
    QDialog::done(result);
}

TIlkKullaniciDlg::TIlkKullaniciDlg(Session& session, QWidget* parent) : QDialog(parent), session_(session)
{
    setObjectName(u"TIlkKullaniciDlg"_s);
    setWindowTitle(u"İLK KULLANICI TANIMI"_s);
    auto* note = new QLabel(u"Bu veritabanında henüz kullanıcı yok. Bütün yetkileri olacak ilk kullanıcıyı tanımlayın."_s, this);
    note->setWordWrap(true);
    user_ = new QLineEdit(this);
    user_->setMaxLength(25);
    password_ = new QLineEdit(this);
    password_->setEchoMode(QLineEdit::Password);
    password_->setMaxLength(25);
    repeated_ = new QLineEdit(this);
    repeated_->setEchoMode(QLineEdit::Password);
    repeated_->setMaxLength(25);
    auto* form = new QFormLayout;
    form->addRow(u"Kullanıcı &Adı"_s, user_);
    form->addRow(u"Şi&fre"_s, password_);
    form->addRow(u"Şifre (&Tekrar)"_s, repeated_);
    auto* ok = new QPushButton(u"Tamam"_s, this);
    ok->setDefault(true);
    auto* cancel = new QPushButton(u"Vazgeç"_s, this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addLayout(form);
    layout->addLayout(buttons);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok, &QPushButton::clicked, this, [this] {
        QString problem;
        if (!runCommand(session_.prompter, [&] {
                problem = createFirstUser(session_, user_->text(), password_->text(), repeated_->text());
            })) {
            password_->setFocus();
            return;
        }
        if (problem.isEmpty()) {
            accept();
            return;
        }
        session_.prompter.warning(problem);
        password_->setFocus();
    });
}

}  // namespace selvar
