#include "companion/ui/ledger_dialogs.h"

#include "core/dates.h"
#include "core/format.h"
#include "core/turkish.h"
#include "data/operations.h"

#include <QDateTime>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace selvar::ortak {
using namespace Qt::Literals::StringLiterals;

// ---------------------------------------------------------------- credit entry

CreditEntryDialog::CreditEntryDialog(CallContext& ctx, const CreditEntryRequest& request, QWidget* parent)
    : QDialog(parent), ctx_(ctx), request_(request)
{
    setWindowTitle(u"VERESİYE KAYDI"_s);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    form->addRow(u"Tutar :"_s, new QLabel(moneyText(request.amount), this));
    form->addRow(u"Tarih :"_s, new QLabel(dateText(request.date), this));

    auto* accountRow = new QHBoxLayout;
    account_ = new QLineEdit(request.accountKey, this);
    account_->setObjectName(u"account"_s);
    account_->setMaxLength(11);
    account_->setPlaceholderText(u"Kurum kodu veya hasta no"_s);
    accountRow->addWidget(account_);
    auto* institution = new QPushButton(u"Kurum Seç (F5)"_s, this);
    auto* patient = new QPushButton(u"Hasta Seç (F6)"_s, this);
    for (QPushButton* b : {institution, patient}) {
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        accountRow->addWidget(b);
    }
    form->addRow(u"Cari Kodu :"_s, accountRow);
    accountName_ = new QLabel(this);
    accountName_->setObjectName(u"accountName"_s);
    form->addRow(u"Cari Hesap Adı :"_s, accountName_);

    description_ = new QLineEdit(request.description, this);
    description_->setObjectName(u"description"_s);
    description_->setMaxLength(36);
    form->addRow(u"Açıklama :"_s, description_);
    due_ = new DateEdit(false, this);
    due_->setObjectName(u"due"_s);
    due_->setDate(request.dueDate.isValid() ? request.dueDate : request.date);
    form->addRow(u"Vade Tarihi :"_s, due_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* save = new QPushButton(u"&Kaydet"_s, this);
    save->setObjectName(u"save"_s);
    save->setDefault(true);
    auto* cancel = new QPushButton(u"&Vazgeç"_s, this);
    cancel->setAutoDefault(false);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(institution, &QPushButton::clicked, this, [this] { chooseInstitution(); });
    connect(patient, &QPushButton::clicked, this, [this] { choosePatient(); });
    connect(account_, &QLineEdit::textChanged, this, [this] { showAccount(); });
    connect(save, &QPushButton::clicked, this, [this] { this->save(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    showAccount();
    account_->setFocus();
}

void CreditEntryDialog::showAccount()
{
    const QString code = account_->text().trimmed();
    QString name;
    runCommand(ctx_.prompter, [&] {
        Ledger ledger(ctx_.db, QDateTime::currentDateTime(), ctx_.user.name);
        name = ledger.accountName(code);
    });
    if (code.isEmpty()) accountName_->setText(u"(Kurum veya hasta seçin)"_s);
    else accountName_->setText(name.isEmpty() ? u"Kartı yok"_s : name);
}

void CreditEntryDialog::chooseInstitution()
{
    QVariant key;
    runCommand(ctx_.prompter, [&] { key = runCardList(ctx_, CardKind::Institution, 1); });
    if (!key.isNull()) account_->setText(key.toString());
    account_->setFocus();
}

void CreditEntryDialog::choosePatient()
{
    QVariant key;
    runCommand(ctx_.prompter, [&] { key = runCardList(ctx_, CardKind::Patient, 1); });
    if (!key.isNull()) account_->setText(QString::number(key.toLongLong()));
    account_->setFocus();
}

void CreditEntryDialog::save()
{
    const QString code = account_->text().trimmed();
    bool exists = false;
    runCommand(ctx_.prompter, [&] {
        exists = Ledger(ctx_.db, QDateTime::currentDateTime(), ctx_.user.name).accountExists(code);
    });
    if (!exists) {
        ctx_.prompter.warning(code.isEmpty() ? u"Veresiye kaydı için bir kurum veya hasta seçin."_s
                                             : code + u" Cari Adının Kartlarda Kaydı Yok."_s);
        account_->setFocus();
        return;
    }
    if (!due_->isValidOrBlank()) {
        ctx_.prompter.warning(u"Vade tarihi geçerli değil."_s);
        due_->setFocus();
        return;
    }
    request_.accountKey = code;
    request_.description = description_->text().trimmed();
    request_.dueDate = due_->date().isValid() ? due_->date() : request_.date;
    accept();
}

void CreditEntryDialog::keyPressEvent(QKeyEvent* e)
{
    if (e->modifiers() == Qt::NoModifier && e->key() == Qt::Key_F5) {
        chooseInstitution();
        return;
    }
    if (e->modifiers() == Qt::NoModifier && e->key() == Qt::Key_F6) {
        choosePatient();
        return;
    }
    QDialog::keyPressEvent(e);
}

// ---------------------------------------------------------------- open movements

namespace {

QString listTitle(int kind)
{
    switch (kind) {
    case MovementWindow::Creditors: return u"AÇIK VADELİ ALACAKLILAR"_s;
    case MovementWindow::Debtors: return u"AÇIK VADELİ BORÇLULAR"_s;
    default: return u"AÇIK VADELİ BORÇLULAR VE ALACAKLILAR"_s;
    }
}

QString windowText(const MovementWindow& w)
{
    if (!w.from.isValid() && !w.to.isValid()) return u"Bütün açık hareketler"_s;
    const QString from = w.from.isValid() ? dateText(w.from) : u"..."_s;
    const QString to = w.to.isValid() ? dateText(w.to) : u"..."_s;
    return u"Vade tarihi "_s + from + u" - "_s + to + u" arasındaki açık hareketler"_s;
}

}  // namespace

MovementListDialog::MovementListDialog(CallContext& ctx, const MovementWindow& window, QWidget* parent)
    : QDialog(parent),
      ctx_(ctx),
      window_(window),
      model_({{u"HRK.NO"_s, FieldKind::Integer},
              {u"CARİ HESAP ADI"_s, FieldKind::Text},
              {u"AÇIKLAMA"_s, FieldKind::Text},
              {u"TÜRÜ"_s, FieldKind::Text},
              {u"TARİH"_s, FieldKind::Date},
              {u"VADE"_s, FieldKind::Date},
              {u"BORÇ"_s, FieldKind::Money},
              {u"ALACAK"_s, FieldKind::Money},
              {u"DURUM"_s, FieldKind::Text}})
{
    setWindowTitle(listTitle(window.kind));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(windowText(window), this));
    searchLabel_ = new QLabel(this);
    searchLabel_->hide();
    layout->addWidget(searchLabel_);
    view_ = new QTableView(this);
    view_->setObjectName(u"list"_s);
    view_->setModel(&model_);
    layout->addWidget(view_, 1);
    totals_ = new QLabel(this);
    totals_->setObjectName(u"totals"_s);
    layout->addWidget(totals_);

    auto* buttons = new QHBoxLayout;
    auto* settle = new QPushButton(u"Hareketi Kapat / &Aç (F9)"_s, this);
    auto* due = new QPushButton(u"&Vade Değiştir (F4)"_s, this);
    auto* close = new QPushButton(u"Çı&kış (Esc)"_s, this);
    for (QPushButton* b : {settle, due, close}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
    }
    buttons->addWidget(settle);
    buttons->addWidget(due);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(settle, &QPushButton::clicked, this, [this] { toggleSettled(); });
    connect(due, &QPushButton::clicked, this, [this] { changeDueDate(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    runCommand(ctx_.prompter, [&] { reload(); });
    setUpList(view_, {60, 200, 220, 110, 80, 80, 90, 90, 80});
    view_->installEventFilter(this);
    view_->setFocus();
    resize(1080, 520);
}

void MovementListDialog::reload()
{
    Ledger ledger(ctx_.db, QDateTime::currentDateTime(), ctx_.user.name);
    rows_ = ledger.openMovements(window_, ctx_.user.institutionMovements, ctx_.user.patientMovements);
    names_.clear();
    QHash<QString, QString> cache;
    std::vector<ValueModel::Row> rows;
    for (const Movement& m : rows_) {
        auto it = cache.find(m.account);
        if (it == cache.end()) {
            QString name = ledger.accountName(m.account);
            if (name.isEmpty()) name = m.account.isEmpty() ? u"(cari yok)"_s : m.account;
            it = cache.insert(m.account, name);
        }
        names_.push_back(*it);
        rows.push_back({m.number, {}});
    }
    model_.setRows(std::move(rows));
    for (int i = 0; i < int(rows_.size()); ++i) showRow(i);
    showTotals();
}

void MovementListDialog::showRow(int i)
{
    const Movement& m = rows_[size_t(i)];
    model_.setRow(i, {m.number,
                      {m.number, names_[size_t(i)], m.info, Ledger::kindText(m.kind), m.date, m.due,
                       m.debit != 0 ? QVariant(m.debit) : QVariant(), m.credit != 0 ? QVariant(m.credit) : QVariant(),
                       Ledger::stateText(m)}});
}

void MovementListDialog::showTotals()
{
    double debit = 0, credit = 0;
    for (const Movement& m : rows_)
        if (m.state < 1) {
            debit += m.debit;
            credit += m.credit;
        }
    totals_->setText(u"Açık Borç Toplamı : "_s + moneyText(debit) + u"     Açık Alacak Toplamı : "_s + moneyText(credit)
                     + u"     Hareket Sayısı : "_s + QString::number(rows_.size()));
}

void MovementListDialog::toggleSettled()
{
    const int r = currentRow(view_);
    if (r < 0) return;
    Movement& m = rows_[size_t(r)];
    const bool settle = m.state < 1;
    if (!ctx_.prompter.confirmed(settle ? u"Bu hareket kapatılsın mı?"_s : u"Bu hareket yeniden açılsın mı?"_s)) return;
    runCommand(ctx_.prompter, [&] {
        Ledger(ctx_.db, QDateTime::currentDateTime(), ctx_.user.name).setSettled(m.number, settle);
        m.state = settle ? 1 : 0;
        showRow(r);
        showTotals();
    });
    view_->setFocus();
}

void MovementListDialog::changeDueDate()
{
    const int r = currentRow(view_);
    if (r < 0) return;
    Movement& m = rows_[size_t(r)];
    const auto d = pickDate(this, m.due.isValid() ? m.due : m.date);
    if (!d) return;
    runCommand(ctx_.prompter, [&] {
        Ledger(ctx_.db, QDateTime::currentDateTime(), ctx_.user.name).setDueDate(m.number, *d);
        m.due = *d;
        showRow(r);
    });
    view_->setFocus();
}

bool MovementListDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != view_ || event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    auto* k = static_cast<QKeyEvent*>(event);
    switch (k->key()) {
    case Qt::Key_F9: toggleSettled(); return true;
    case Qt::Key_F4: changeDueDate(); return true;
    case Qt::Key_Escape:
        if (!search_.isEmpty()) {
            search_.clear();
            searchLabel_->hide();
        } else {
            reject();
        }
        return true;
    case Qt::Key_Backspace:
        search_.chop(1);
        searchLabel_->setText(u"Aranan: "_s + search_);
        searchLabel_->setVisible(!search_.isEmpty());
        return true;
    default: break;
    }
    if (isListMoveKey(k)) {
        search_.clear();
        searchLabel_->hide();
        return false;
    }
    if (isSearchKey(k)) {
        // The list runs by due date; typing goes to the first movement of that account.
        const QString wanted = search_ + k->text();
        for (size_t i = 0; i < names_.size(); ++i)
            if (startsWithNoCase(names_[i], wanted)) {
                search_ = wanted;
                selectRow(view_, int(i));
                break;
            }
        if (search_ != wanted) ctx_.prompter.beep();
        searchLabel_->setText(u"Aranan: "_s + search_);
        searchLabel_->setVisible(!search_.isEmpty());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace selvar::ortak
