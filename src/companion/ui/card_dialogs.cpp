#include "companion/ui/card_dialogs.h"

#include "core/format.h"
#include "core/turkish.h"
#include "data/database.h"
#include "data/schema.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace selvar::ortak {
using namespace Qt::Literals::StringLiterals;

namespace {

QString numberForEdit(const QVariant& v)
{
    if (v.isNull()) return {};
    return format(u"%g", v.toDouble());
}

int fieldWidth(const CardDef& cardDef, const QString& field)
{
    const FieldDef* f = tableDef(cardDef.table).field(field);
    return f && f->type == FieldType::Alpha ? f->width : 0;
}

}  // namespace

// ---------------------------------------------------------------- card form

CardEditDialog::CardEditDialog(CallContext& ctx, const CardDef& cardDef, const QVariant& oldKey, QWidget* parent)
    : QDialog(parent), ctx_(ctx), def_(cardDef), oldKey_(oldKey)
{
    setWindowTitle(cardDef.title + (oldKey.isNull() ? u" - Yeni Kart"_s : u" - Kart Düzeltme"_s));
    auto* outer = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    outer->addLayout(grid);

    QList<const CardField*> plain, memos, rates;
    for (const CardField& f : cardDef.fields) {
        if (f.section == u"rates"_s) rates << &f;
        else if (f.kind == FieldKind::Memo) memos << &f;
        else plain << &f;
    }
    const int half = int((plain.size() + 1) / 2);
    for (int i = 0; i < plain.size(); ++i) {
        const CardField& f = *plain[i];
        const int row = i < half ? i : i - half;
        const int col = i < half ? 0 : 2;
        auto* label = new QLabel(f.caption, this);
        QWidget* w = makeEditor(f);
        label->setBuddy(w);
        grid->addWidget(label, row, col);
        grid->addWidget(w, row, col + 1);
        editors_ << Editor{&f, w, label};
    }
    if (!rates.isEmpty()) {
        auto* box = new QGroupBox(u"Kurum İskontosu ve Hasta Katılım Payı Yüzdeleri"_s, this);
        auto* g = new QGridLayout(box);
        const auto& classes = rateClasses();
        const auto& categories = rateCategories();
        for (int c = 0; c < classes.size(); ++c) g->addWidget(new QLabel(classes[c].caption, box), 0, c + 1);
        for (int r = 0; r < categories.size(); ++r) {
            g->addWidget(new QLabel(categories[r].caption, box), r + 1, 0);
            for (int c = 0; c < classes.size(); ++c) {
                const CardField* f = cardDef.field(categories[r].part + classes[c].part);
                auto* e = new QLineEdit(box);
                e->setObjectName(f->field);
                e->setMaximumWidth(80);
                e->setAlignment(Qt::AlignRight);
                g->addWidget(e, r + 1, c + 1);
                editors_ << Editor{f, e, nullptr};
            }
        }
        outer->addWidget(box);
    }
    for (const CardField* f : memos) {
        auto* label = new QLabel(f->caption, this);
        QWidget* w = makeEditor(*f);
        label->setBuddy(w);
        outer->addWidget(label);
        outer->addWidget(w, 1);
        editors_ << Editor{f, w, label};
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* save = new QPushButton(u"&Kaydet (F2)"_s, this);
    save->setObjectName(u"save"_s);
    save->setDefault(true);
    save->setAutoDefault(false);
    auto* cancel = new QPushButton(u"&Vazgeç"_s, this);
    cancel->setAutoDefault(false);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    outer->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, [this] { this->save(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    load();
    if (Editor* k = editorOf(u"KURUM"_s); k && def_.kind == CardKind::Patient) {
        auto* combo = static_cast<QComboBox*>(k->widget);
        connect(combo, &QComboBox::currentIndexChanged, this, [this] { relabelHeaders(); });
        relabelHeaders();
    }
    for (const Editor& e : editors_)
        if (e.widget->isEnabled() && e.widget->focusPolicy() != Qt::NoFocus
            && !(qobject_cast<QLineEdit*>(e.widget) && static_cast<QLineEdit*>(e.widget)->isReadOnly())) {
            e.widget->setFocus();
            break;
        }
}

QWidget* CardEditDialog::makeEditor(const CardField& f)
{
    QWidget* w = nullptr;
    switch (f.kind) {
    case FieldKind::Text: {
        auto* e = new QLineEdit(this);
        const int width = fieldWidth(def_, f.field);
        if (width > 0) e->setMaxLength(width);
        e->setMinimumWidth(fontMetrics().averageCharWidth() * std::min(std::max(width, 10), 36));
        w = e;
        break;
    }
    case FieldKind::Integer:
    case FieldKind::Real:
    case FieldKind::Money: {
        auto* e = new QLineEdit(this);
        e->setAlignment(Qt::AlignRight);
        e->setMaximumWidth(140);
        w = e;
        break;
    }
    case FieldKind::Balance:
    case FieldKind::Shown: {
        auto* e = new QLineEdit(this);
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        e->setAlignment(Qt::AlignRight);
        e->setMaximumWidth(160);
        w = e;
        break;
    }
    case FieldKind::Date: w = new DateEdit(false, this); break;
    case FieldKind::MonthYear: w = new DateEdit(true, this); break;
    case FieldKind::Lookup: {
        auto* c = new QComboBox(this);
        c->addItem(u"(yok)"_s, QVariant());
        for (const auto& [key, name] : loadLookup(ctx_.db, f)) {
            const QString text = f.lookupTable == u"KRMLAR"_s ? key.toString() + u" - "_s + name : name;
            c->addItem(text, key);
        }
        w = c;
        break;
    }
    case FieldKind::Letter: {
        auto* c = new QComboBox(this);
        for (const Option& o : f.options)
            c->addItem(o.value.isEmpty() ? o.caption : o.value + u" - "_s + o.caption, o.value);
        w = c;
        break;
    }
    case FieldKind::Memo: {
        auto* e = new QPlainTextEdit(this);
        e->setTabChangesFocus(true);
        e->setMinimumHeight(90);
        w = e;
        break;
    }
    case FieldKind::Flag: w = new QCheckBox(this); break;
    }
    w->setObjectName(f.field);
    return w;
}

CardEditDialog::Editor* CardEditDialog::editorOf(const QString& field)
{
    for (Editor& e : editors_)
        if (e.field->field == field) return &e;
    return nullptr;
}

void CardEditDialog::setValue(const Editor& e, const QVariant& v)
{
    switch (e.field->kind) {
    case FieldKind::Text: static_cast<QLineEdit*>(e.widget)->setText(v.toString()); break;
    case FieldKind::Integer:
    case FieldKind::Real:
    case FieldKind::Money: static_cast<QLineEdit*>(e.widget)->setText(numberForEdit(v)); break;
    case FieldKind::Balance: static_cast<QLineEdit*>(e.widget)->setText(moneyText(v.toDouble())); break;
    case FieldKind::Shown:
        static_cast<QLineEdit*>(e.widget)->setText(v.isNull() ? QString() : QString::number(v.toLongLong()));
        break;
    case FieldKind::Date:
    case FieldKind::MonthYear: static_cast<DateEdit*>(e.widget)->setDate(v.toDate()); break;
    case FieldKind::Lookup: {
        auto* c = static_cast<QComboBox*>(e.widget);
        int i = v.isNull() ? 0 : c->findData(v);
        if (i < 0 && !v.isNull()) {
            // A key without a card is kept as it is.
            c->addItem(v.toString() + u" (kartı yok)"_s, v);
            i = c->count() - 1;
        }
        c->setCurrentIndex(i);
        break;
    }
    case FieldKind::Letter: {
        auto* c = static_cast<QComboBox*>(e.widget);
        const QString s = v.toString();
        int i = c->findData(s);
        if (i < 0 && !s.isEmpty()) {
            c->addItem(s, s);
            i = c->count() - 1;
        }
        c->setCurrentIndex(std::max(i, 0));
        break;
    }
    case FieldKind::Memo: static_cast<QPlainTextEdit*>(e.widget)->setPlainText(v.toString()); break;
    case FieldKind::Flag: static_cast<QCheckBox*>(e.widget)->setChecked(v.toString() == e.field->flagValue); break;
    }
}

bool CardEditDialog::readValue(const Editor& e, QVariant* v)
{
    const CardField& f = *e.field;
    switch (f.kind) {
    case FieldKind::Text: *v = static_cast<QLineEdit*>(e.widget)->text().trimmed(); return true;
    case FieldKind::Integer:
    case FieldKind::Real:
    case FieldKind::Money: {
        const QString t = static_cast<QLineEdit*>(e.widget)->text().trimmed();
        if (t.isEmpty()) {
            *v = QVariant();
            return true;
        }
        double d = 0;
        if (!parseNumber(t, &d)) {
            const QString what = f.caption.isEmpty() ? f.field : f.caption;
            ctx_.prompter.warning(what + u" alanına geçerli bir sayı yazın."_s);
            e.widget->setFocus();
            return false;
        }
        *v = f.kind == FieldKind::Integer ? QVariant(qlonglong(std::llround(d))) : QVariant(d);
        return true;
    }
    case FieldKind::Date:
    case FieldKind::MonthYear: {
        auto* d = static_cast<DateEdit*>(e.widget);
        if (!d->isValidOrBlank()) {
            ctx_.prompter.warning(f.caption + u" alanına geçerli bir tarih yazın."_s);
            d->setFocus();
            return false;
        }
        *v = d->date().isValid() ? QVariant(d->date()) : QVariant();
        return true;
    }
    case FieldKind::Lookup: *v = static_cast<QComboBox*>(e.widget)->currentData(); return true;
    case FieldKind::Letter: *v = static_cast<QComboBox*>(e.widget)->currentData(); return true;
    case FieldKind::Memo: *v = static_cast<QPlainTextEdit*>(e.widget)->toPlainText(); return true;
    case FieldKind::Flag:
        *v = static_cast<QCheckBox*>(e.widget)->isChecked() ? QVariant(f.flagValue) : QVariant();
        return true;
    case FieldKind::Balance:
    case FieldKind::Shown: return false;
    }
    return false;
}

void CardEditDialog::load()
{
    runCommand(ctx_.prompter, [&] {
        CardRules rules(ctx_.db, def_);
        if (oldKey_.isNull()) {
            for (const Editor& e : editors_) setValue(e, QVariant());
            if (def_.keyKind == KeyKind::AutoNumber || def_.keyKind == KeyKind::EnteredNumber)
                if (Editor* k = editorOf(def_.keyField)) setValue(*k, rules.nextNumber());
            if (Editor* c = editorOf(u"SINIF"_s)) setValue(*c, u"N"_s);
            return;
        }
        Table t(ctx_.db, def_.table);
        if (!t.findKey({oldKey_})) throw DbError(u"Kart bulunamadı; başka bir kullanıcı silmiş olabilir."_s);
        for (const Editor& e : editors_) setValue(e, t.value(e.field->field));
        const bool entered = def_.keyKind == KeyKind::EnteredText || def_.keyKind == KeyKind::EnteredNumber;
        if (entered && rules.keyInUse(oldKey_))
            if (Editor* k = editorOf(def_.keyField)) {
                // Other records point at this key; it stays as it is.
                auto* e = static_cast<QLineEdit*>(k->widget);
                e->setReadOnly(true);
                e->setFocusPolicy(Qt::NoFocus);
                k->label->setText(k->field->caption + u" (kullanımda)"_s);
            }
    });
}

void CardEditDialog::relabelHeaders()
{
    Editor* k = editorOf(u"KURUM"_s);
    if (!k) return;
    QStringList labels(6);
    runCommand(ctx_.prompter, [&] {
        labels = institutionLabels(ctx_.db, static_cast<QComboBox*>(k->widget)->currentData().toString());
    });
    for (int i = 0; i < 6; ++i)
        if (Editor* b = editorOf(u"BAS"_s + QString::number(i + 1)))
            b->label->setText(labels.value(i).isEmpty() ? b->field->caption : labels.value(i));
}

void CardEditDialog::save()
{
    QVariantMap values;
    for (const Editor& e : editors_) {
        if (!e.field->editable()) continue;
        if (e.field->field == def_.keyField) {
            const auto* line = qobject_cast<QLineEdit*>(e.widget);
            if (line && line->isReadOnly()) continue;
        }
        QVariant v;
        if (!readValue(e, &v)) return;
        values.insert(e.field->field, v);
    }
    bool done = false;
    runCommand(ctx_.prompter, [&] {
        CardRules rules(ctx_.db, def_);
        savedKey_ = rules.save(values, oldKey_, QDateTime::currentDateTime());
        savedName_ = values.value(def_.nameField).toString().trimmed();
        done = true;
    });
    if (done) accept();
}

void CardEditDialog::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_F2 && e->modifiers() == Qt::NoModifier) {
        save();
        return;
    }
    QDialog::keyPressEvent(e);
}

// ---------------------------------------------------------------- card list

namespace {

QList<ValueModel::Column> columnsOf(const CardDef& cardDef)
{
    QList<ValueModel::Column> r;
    for (const ListColumn& c : cardDef.columns) r << ValueModel::Column{c.caption, c.kind};
    return r;
}

}  // namespace

CardListDialog::CardListDialog(CallContext& ctx, const CardDef& cardDef, int mode, QWidget* parent)
    : QDialog(parent),
      ctx_(ctx),
      def_(cardDef),
      mode_(mode),
      cursor_(ctx.db, cardDef.table),
      search_(cardDef.nameField, cardSearchRules(std::max(fieldWidth(cardDef, cardDef.nameField), 1))),
      model_(columnsOf(cardDef))
{
    setWindowTitle(cardDef.title);
    cursor_.setIndex(cardDef.nameIndex);
    for (int i = 0; i < cardDef.columns.size(); ++i)
        if (cardDef.columns[i].field == cardDef.nameField) nameColumn_ = i;

    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(mode == 1 ? u"Aramak için yazın. Enter: Seç  Ins: Yeni  F2: Düzelt  Del: Sil  Esc: Vazgeç"_s
                                      : u"Aramak için yazın. Ins: Yeni  Enter/F2: Düzelt  Del: Sil  Esc: Çıkış"_s,
                            this);
    layout->addWidget(hint);
    searchLabel_ = new QLabel(this);
    searchLabel_->setObjectName(u"search"_s);
    searchLabel_->hide();
    layout->addWidget(searchLabel_);
    view_ = new QTableView(this);
    view_->setObjectName(u"list"_s);
    view_->setModel(&model_);
    layout->addWidget(view_, 1);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const QString& caption, const QString& name, auto&& slot) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    if (mode == 1) button(u"&Seç (Enter)"_s, u"choose"_s, [this] { choose(); });
    button(u"&Yeni (Ins)"_s, u"new"_s, [this] { newCard(); });
    button(u"&Düzelt (F2)"_s, u"edit"_s, [this] { editCard(); });
    button(u"S&il (Del)"_s, u"delete"_s, [this] { deleteCard(); });
    buttons->addStretch();
    button(mode == 1 ? u"&Vazgeç (Esc)"_s : u"Çı&kış (Esc)"_s, u"close"_s, [this] { reject(); });
    layout->addLayout(buttons);

    QList<int> widths;
    for (const ListColumn& c : cardDef.columns) widths << c.width;
    runCommand(ctx_.prompter, [&] { reload(); });
    setUpList(view_, widths);
    view_->installEventFilter(this);
    view_->setFocus();
    resize(std::min(980, 60 + [&] {
               int w = 0;
               for (int x : widths) w += x;
               return w;
           }()),
           520);
}

void CardListDialog::reload(const QVariant& selectKey)
{
    std::vector<CardRow> rows = loadCardList(ctx_.db, def_);
    std::vector<ValueModel::Row> mrows;
    mrows.reserve(rows.size());
    keys_.clear();
    rowOfId_.clear();
    int select = -1;
    for (CardRow& r : rows) {
        if (!selectKey.isNull() && CardRules::keyText(r.key) == CardRules::keyText(selectKey)) select = int(keys_.size());
        rowOfId_.insert(r.rowId, int(keys_.size()));
        keys_.push_back(r.key);
        mrows.push_back({r.rowId, std::move(r.values)});
    }
    model_.setRows(std::move(mrows));
    cursor_.setIndex(def_.nameIndex);
    search_.clear();
    showSearch();
    selectRow(view_, select >= 0 ? select : 0);
}

void CardListDialog::showSearch()
{
    searchLabel_->setText(u"Aranan: "_s + search_.text());
    searchLabel_->setVisible(!search_.text().isEmpty());
}

void CardListDialog::followCursor()
{
    if (!cursor_.hasRow()) return;
    const auto it = rowOfId_.constFind(cursor_.rowId());
    if (it != rowOfId_.constEnd()) selectRow(view_, *it);
}

QVariant CardListDialog::currentKey() const
{
    const int r = currentRow(view_);
    return r >= 0 && r < int(keys_.size()) ? keys_[size_t(r)] : QVariant();
}

bool CardListDialog::mayChange()
{
    if (def_.kind == CardKind::Product && !ctx_.user.productCards) {
        ctx_.prompter.warning(u"Ürün kartlarında değişiklik yapma yetkiniz yok."_s);
        return false;
    }
    return true;
}

void CardListDialog::newCard()
{
    if (!mayChange()) return;
    CardEditDialog form(ctx_, def_, QVariant(), this);
    if (form.exec() == QDialog::Accepted) runCommand(ctx_.prompter, [&] { reload(form.savedKey()); });
    view_->setFocus();
}

void CardListDialog::editCard()
{
    const QVariant key = currentKey();
    if (key.isNull() || !mayChange()) return;
    CardEditDialog form(ctx_, def_, key, this);
    if (form.exec() == QDialog::Accepted) runCommand(ctx_.prompter, [&] { reload(form.savedKey()); });
    view_->setFocus();
}

void CardListDialog::deleteCard()
{
    const QVariant key = currentKey();
    if (key.isNull() || !mayChange()) return;
    if (!ctx_.prompter.confirmed(u"Silinsin mi?"_s)) return;
    runCommand(ctx_.prompter, [&] {
        CardRules rules(ctx_.db, def_);
        const QString refusal = rules.remove(key);
        if (!refusal.isEmpty()) {
            ctx_.prompter.warning(refusal);
            return;
        }
        const int row = currentRow(view_);
        reload();
        selectRow(view_, std::min(row, model_.count() - 1));
    });
    view_->setFocus();
}

void CardListDialog::choose()
{
    const int r = currentRow(view_);
    if (r < 0) return;
    chosenKey_ = keys_[size_t(r)];
    chosenName_ = model_.row(r).values.value(nameColumn_).toString();
    accept();
}

bool CardListDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != view_ || event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    auto* k = static_cast<QKeyEvent*>(event);
    switch (k->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (mode_ == 1) choose();
        else editCard();
        return true;
    case Qt::Key_Insert: newCard(); return true;
    case Qt::Key_F2: editCard(); return true;
    case Qt::Key_Delete: deleteCard(); return true;
    case Qt::Key_Escape:
        if (!search_.text().isEmpty()) {
            search_.clear();
            showSearch();
        } else {
            reject();
        }
        return true;
    case Qt::Key_Backspace:
        runCommand(ctx_.prompter, [&] {
            search_.backspace(cursor_);
            followCursor();
        });
        showSearch();
        return true;
    default: break;
    }
    if (isListMoveKey(k)) {
        search_.clear();
        showSearch();
        return false;
    }
    if (isSearchKey(k)) {
        runCommand(ctx_.prompter, [&] {
            if (!search_.type(cursor_, k->text())) ctx_.prompter.beep();
            followCursor();
        });
        showSearch();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------- entry helpers

QVariant runCardList(CallContext& ctx, CardKind kind, int mode, QString* name)
{
    CardListDialog dialog(ctx, cardDef(kind), mode);
    const bool chosen = dialog.exec() == QDialog::Accepted && mode == 1;
    if (name) *name = chosen ? dialog.chosenName() : QString();
    return chosen ? dialog.chosenKey() : QVariant();
}

QString editProduct(CallContext& ctx, const QString& productName, int mode)
{
    if (!ctx.user.productCards) {
        ctx.prompter.warning(u"Ürün kartlarında değişiklik yapma yetkiniz yok."_s);
        return {};
    }
    QVariant key;
    if (mode == 0) {
        Table t(ctx.db, u"URUN"_s);
        t.setIndex(u"ILACADI"_s);
        if (!t.findKey({productName.trimmed()})) {
            ctx.prompter.warning(u"\""_s + productName.trimmed() + u"\" Adlı Ürün Kartı Bulunamadı."_s);
            return {};
        }
        key = t.value(u"ILACNO"_s);
    }
    CardEditDialog form(ctx, cardDef(CardKind::Product), key);
    if (form.exec() != QDialog::Accepted) return {};
    return form.savedName();
}

}  // namespace selvar::ortak
