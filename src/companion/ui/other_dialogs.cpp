#include "companion/ui/other_dialogs.h"

#include "companion/institution_lists.h"
#include "core/dates.h"
#include "core/format.h"
#include "core/turkish.h"
#include "data/database.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

namespace selvar::ortak {
using namespace Qt::Literals::StringLiterals;

// ---------------------------------------------------------------- old records

OldRecordDialog::OldRecordDialog(CallContext& ctx, OldRecordKind kind, QWidget* parent)
    : QDialog(parent),
      ctx_(ctx),
      model_({{u"TARİH"_s, FieldKind::Date},
              {kind == OldRecordKind::Purchases ? u"ALIŞ NO"_s : u"SATIŞ NO"_s, FieldKind::Integer},
              {u"TUTAR"_s, FieldKind::Money},
              {kind == OldRecordKind::Purchases ? u"SATICI"_s : u"ALICI"_s, FieldKind::Text},
              {kind == OldRecordKind::Purchases          ? u"FATURA NO"_s
               : kind == OldRecordKind::PrescriptionSales ? u"REÇ.KAYIT NO"_s
                                                          : u"FATURA NO"_s,
               FieldKind::Text}})
{
    setWindowTitle(oldRecordTitle(kind));
    auto* layout = new QVBoxLayout(this);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(u"Tarih veya No ile Ara :"_s, this));
    search_ = new QLineEdit(this);
    search_->setObjectName(u"search"_s);
    search_->setMaxLength(10);
    searchRow->addWidget(search_);
    searchRow->addStretch();
    layout->addLayout(searchRow);
    view_ = new QTableView(this);
    view_->setObjectName(u"list"_s);
    view_->setModel(&model_);
    view_->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(view_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* choose = new QPushButton(u"&Seç (Enter)"_s, this);
    auto* cancel = new QPushButton(u"&Vazgeç (Esc)"_s, this);
    for (QPushButton* b : {choose, cancel}) {
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(choose, &QPushButton::clicked, this, [this] { this->choose(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(search_, &QLineEdit::textEdited, this, [this] { find(); });
    connect(view_, &QTableView::doubleClicked, this, [this] { this->choose(); });

    runCommand(ctx_.prompter, [&] {
        records_ = loadOldRecords(ctx_.db, kind);
        std::vector<ValueModel::Row> rows;
        rows.reserve(records_.size());
        for (const OldRecord& r : records_)
            rows.push_back({r.number, {r.when, r.number, r.total, r.party, r.document}});
        model_.setRows(std::move(rows));
    });
    setUpList(view_, {130, 80, 100, 260, 110});
    search_->installEventFilter(this);
    search_->setFocus();
    resize(760, 520);
}

void OldRecordDialog::find()
{
    const int i = findOldRecord(records_, search_->text());
    if (i >= 0) selectRow(view_, i);
}

void OldRecordDialog::choose()
{
    const int r = currentRow(view_);
    if (r < 0) return;
    chosen_ = records_[size_t(r)].number;
    accept();
}

bool OldRecordDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != search_ || event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    auto* k = static_cast<QKeyEvent*>(event);
    switch (k->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: choose(); return true;
    case Qt::Key_Escape: reject(); return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        // The list moves while the search box keeps the keys.
        const int page = std::max(1, view_->viewport()->height() / std::max(1, view_->rowHeight(0)) - 1);
        int r = std::max(0, currentRow(view_));
        if (k->key() == Qt::Key_Up) --r;
        else if (k->key() == Qt::Key_Down) ++r;
        else if (k->key() == Qt::Key_PageUp) r -= page;
        else r += page;
        selectRow(view_, std::clamp(r, 0, std::max(0, model_.count() - 1)));
        return true;
    }
    default: return QDialog::eventFilter(watched, event);
    }
}

// ---------------------------------------------------------------- defined back-print layout

namespace {

const QList<Option>& styleLetters()
{
    static const QList<Option> r{{u"R"_s, u"Normal"_s},           {u"B"_s, u"Kalın"_s},
                                 {u"I"_s, u"İtalik"_s},           {u"C"_s, u"Kalın İtalik"_s},
                                 {u"U"_s, u"Altı Çizili"_s},      {u"E"_s, u"Kalın Altı Çizili"_s},
                                 {u"L"_s, u"İtalik Altı Çizili"_s}, {u"3"_s, u"Kalın İtalik Altı Çizili"_s}};
    return r;
}

const QList<Option>& wordings()
{
    static const QList<Option> r{{QString(), u"\"... ödedim.\" (alındı satırı yok)"_s},
                                 {u"E"_s, u"\"... ÖDEYEREK,\" ve alındı satırı"_s},
                                 {u"H"_s, u"\"... ÖDEDİM.\" (alındı satırı yok)"_s},
                                 {u"K"_s, u"\"... ÖDEDİM.\" ve \"... ADET İLAÇ ALDIM.\""_s}};
    return r;
}

void fillOptions(QComboBox* c, const QList<Option>& options)
{
    for (const Option& o : options) c->addItem(o.value.isEmpty() ? o.caption : o.value + u" - "_s + o.caption, o.value);
}

void selectData(QComboBox* c, const QString& value)
{
    int i = c->findData(value);
    if (i < 0 && !value.isEmpty()) {
        c->addItem(value, value);
        i = c->count() - 1;
    }
    c->setCurrentIndex(std::max(i, 0));
}

QComboBox* dataCombo(QWidget* parent, const QList<DataField>& fields)
{
    auto* c = new QComboBox(parent);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->addItem(QString());
    for (const DataField& f : fields) c->addItem(f.first + u" - "_s + f.second, f.first);
    c->setMinimumWidth(260);
    return c;
}

// The data field named in a combo: a listed field, or what was typed.
QString dataOf(const QComboBox* c)
{
    const QString text = c->currentText().trimmed();
    const int i = c->findText(text);
    if (i >= 0 && !c->itemData(i).toString().isEmpty()) return c->itemData(i).toString();
    return text.section(u" - "_s, 0, 0).trimmed().left(21);
}

void showData(QComboBox* c, const QString& data)
{
    const int i = c->findData(data);
    if (i >= 0) c->setCurrentIndex(i);
    else c->setEditText(data);
}

}  // namespace

BackPrintLayoutDialog::BackPrintLayoutDialog(CallContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setWindowTitle(u"REÇETE ARKASI DÖKÜM TANIMI"_s);
    auto* layout = new QVBoxLayout(this);

    auto* top = new QFormLayout;
    institution_ = new QComboBox(this);
    institution_->setObjectName(u"institution"_s);
    patientType_ = new QComboBox(this);
    patientType_->setObjectName(u"patientType"_s);
    fillOptions(patientType_, patientClasses());
    runCommand(ctx_.prompter, [&] {
        CardField f;
        f.lookupTable = u"KRMLAR"_s;
        f.lookupKey = u"KOD"_s;
        f.lookupName = u"AD"_s;
        f.lookupIndex = u"KRMAD"_s;
        for (const auto& [key, name] : loadLookup(ctx_.db, f)) institution_->addItem(key.toString() + u" - "_s + name, key);
    });
    top->addRow(u"Kurum :"_s, institution_);
    top->addRow(u"Hasta Tipi :"_s, patientType_);
    layout->addLayout(top);

    auto* fontBox = new QGroupBox(u"Yazı Tipi ve Kenar Boşluğu"_s, this);
    auto* fontRow = new QHBoxLayout(fontBox);
    font_ = new QFontComboBox(fontBox);
    size_ = new QSpinBox(fontBox);
    size_->setRange(4, 48);
    style_ = new QComboBox(fontBox);
    fillOptions(style_, styleLetters());
    color_ = new QLineEdit(fontBox);
    color_->setMaximumWidth(90);
    auto* pickColor = new QPushButton(u"&Renk..."_s, fontBox);
    pickColor->setAutoDefault(false);
    margin_ = new QSpinBox(fontBox);
    margin_->setRange(0, 100);
    margin_->setSuffix(u" mm"_s);
    fontRow->addWidget(font_);
    fontRow->addWidget(new QLabel(u"Boyut"_s, fontBox));
    fontRow->addWidget(size_);
    fontRow->addWidget(style_);
    fontRow->addWidget(new QLabel(u"Renk"_s, fontBox));
    fontRow->addWidget(color_);
    fontRow->addWidget(pickColor);
    fontRow->addWidget(new QLabel(u"Kenar"_s, fontBox));
    fontRow->addWidget(margin_);
    layout->addWidget(fontBox);

    auto lines = [&](const QString& title, auto& target, const QList<DataField>& choices, const QString& prefix) {
        auto* box = new QGroupBox(title, this);
        auto* g = new QGridLayout(box);
        g->addWidget(new QLabel(u"Basılacak Alan"_s, box), 0, 1);
        g->addWidget(new QLabel(u"Başlık"_s, box), 0, 2);
        g->addWidget(new QLabel(u"Genişlik"_s, box), 0, 3);
        for (size_t i = 0; i < target.size(); ++i) {
            Line& l = target[i];
            g->addWidget(new QLabel(QString::number(i + 1) + u'.', box), int(i) + 1, 0);
            l.data = dataCombo(box, choices);
            l.caption = new QLineEdit(box);
            l.caption->setMaxLength(35);
            l.width = new QSpinBox(box);
            const QString n = QString::number(i + 1);
            l.data->setObjectName(prefix + u"DATA"_s + n);
            l.caption->setObjectName(prefix + u"CAPTION"_s + n);
            l.width->setObjectName(prefix + u"GENIS"_s + n);
            l.width->setRange(0, 300);
            l.width->setSuffix(u" mm"_s);
            g->addWidget(l.data, int(i) + 1, 1);
            g->addWidget(l.caption, int(i) + 1, 2);
            g->addWidget(l.width, int(i) + 1, 3);
            // A field chosen from the list brings its meaning as the caption.
            QObject::connect(l.data, &QComboBox::activated, box, [l] {
                if (l.caption->text().isEmpty()) l.caption->setText(dataFieldMeaning(dataOf(l.data)));
            });
        }
        return box;
    };
    auto* both = new QHBoxLayout;
    both->addWidget(lines(u"Reçete Alanları"_s, fields_, prescriptionDataFields(), QString()));
    both->addWidget(lines(u"Ürün Sütunları"_s, columns_, productDataFields(), u"B_"_s));
    layout->addLayout(both);

    auto* bottom = new QFormLayout;
    wording_ = new QComboBox(this);
    fillOptions(wording_, wordings());
    productLines_ = new QCheckBox(u"Ürün satırları basılsın"_s, this);
    bottom->addRow(u"Kapanış Satırları :"_s, wording_);
    bottom->addRow(QString(), productLines_);
    layout->addLayout(bottom);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* save = new QPushButton(u"&Kaydet (F2)"_s, this);
    save->setObjectName(u"save"_s);
    auto* remove = new QPushButton(u"&Sil"_s, this);
    auto* close = new QPushButton(u"Çı&kış"_s, this);
    for (QPushButton* b : {save, remove, close}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    save->setShortcut(QKeySequence(Qt::Key_F2));
    layout->addLayout(buttons);

    connect(save, &QPushButton::clicked, this, [this] { this->save(); });
    connect(remove, &QPushButton::clicked, this, [this] { this->remove(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(pickColor, &QPushButton::clicked, this, [this] {
        const QColor c = QColorDialog::getColor(QColor::fromRgb(QRgb(color_->text().toUInt())), this);
        if (c.isValid()) color_->setText(QString::number(c.rgb() & 0xFFFFFF));
    });
    connect(institution_, &QComboBox::activated, this, [this] { loadSelected(); });
    connect(patientType_, &QComboBox::activated, this, [this] { loadSelected(); });
    loadSelected();
    resize(1100, 640);
}

BackPrintLayout BackPrintLayoutDialog::current() const
{
    BackPrintLayout l;
    l.institution = institution_->currentData().toString();
    l.patientType = patientType_->currentData().toString();
    l.fontName = font_->currentFont().family().left(35);
    l.fontSize = size_->value();
    l.style = style_->currentData().toString();
    l.color = color_->text().trimmed().toLongLong();
    l.margin = margin_->value();
    auto read = [](const auto& lines, auto& out) {
        for (size_t i = 0; i < lines.size(); ++i) {
            out[i].data = dataOf(lines[i].data);
            out[i].chosen = dataFieldMeaning(out[i].data).left(25);
            if (out[i].chosen.isEmpty()) out[i].chosen = out[i].data;
            out[i].caption = lines[i].caption->text();
            out[i].width = lines[i].width->value();
        }
    };
    read(fields_, l.fields);
    read(columns_, l.columns);
    l.totalWording = wording_->currentData().toString();
    l.productLines = productLines_->isChecked();
    return l;
}

void BackPrintLayoutDialog::show(const BackPrintLayout& l)
{
    if (!l.fontName.isEmpty()) font_->setCurrentFont(QFont(l.fontName));
    size_->setValue(l.fontSize);
    selectData(style_, l.style);
    color_->setText(QString::number(l.color));
    margin_->setValue(l.margin);
    auto write = [](auto& lines, const auto& in) {
        for (size_t i = 0; i < lines.size(); ++i) {
            showData(lines[i].data, in[i].data);
            lines[i].caption->setText(in[i].caption);
            lines[i].width->setValue(in[i].width);
        }
    };
    write(fields_, l.fields);
    write(columns_, l.columns);
    selectData(wording_, l.totalWording);
    productLines_->setChecked(l.productLines);
    // What is shown, read back the way saving would, tells later whether anything changed.
    shown_ = current();
}

void BackPrintLayoutDialog::loadSelected()
{
    if (shownInstitution_ >= 0 && !confirmLeave()) {
        institution_->setCurrentIndex(shownInstitution_);
        patientType_->setCurrentIndex(shownType_);
        return;
    }
    runCommand(ctx_.prompter, [&] {
        BackPrintLayout l;
        if (const auto found = loadLayout(ctx_.db, institution_->currentData().toString(),
                                          patientType_->currentData().toString()))
            l = *found;
        else l.fontName = font_->currentFont().family();
        show(l);
    });
    shownInstitution_ = institution_->currentIndex();
    shownType_ = patientType_->currentIndex();
}

bool BackPrintLayoutDialog::confirmLeave()
{
    BackPrintLayout now = current();
    BackPrintLayout before = shown_;
    now.institution = before.institution;
    now.patientType = before.patientType;
    if (now == before) return true;
    const Answer a = ctx_.prompter.ask(u"Yapılan değişiklikler kaydedilsin mi?"_s, Buttons::YesNoCancel);
    if (a == Answer::Cancel) return false;
    if (a == Answer::Yes) {
        now.institution = institution_->itemData(shownInstitution_).toString();
        now.patientType = patientType_->itemData(shownType_).toString();
        bool ok = false;
        runCommand(ctx_.prompter, [&] {
            saveLayout(ctx_.db, now);
            ok = true;
        });
        return ok;
    }
    return true;
}

void BackPrintLayoutDialog::reject()
{
    if (confirmLeave()) QDialog::reject();
}

void BackPrintLayoutDialog::save()
{
    if (institution_->currentIndex() < 0) {
        ctx_.prompter.warning(u"Önce kurum kartı tanımlayın."_s);
        return;
    }
    runCommand(ctx_.prompter, [&] {
        saveLayout(ctx_.db, current());
        shown_ = current();
        ctx_.prompter.information(u"Reçete arkası tanımı kaydedildi."_s);
    });
}

void BackPrintLayoutDialog::remove()
{
    if (institution_->currentIndex() < 0) return;
    if (!ctx_.prompter.confirmed(u"Bu kurum ve hasta tipinin reçete arkası tanımı silinsin mi?"_s)) return;
    runCommand(ctx_.prompter, [&] {
        deleteLayout(ctx_.db, institution_->currentData().toString(), patientType_->currentData().toString());
        BackPrintLayout empty;
        empty.fontName = font_->currentFont().family();
        show(empty);
    });
}

// ---------------------------------------------------------------- institution lists

namespace {

class GridView final : public QTableView {
public:
    using QTableView::QTableView;
    bool isEditing() const { return state() == EditingState; }
};

class InstitutionListModel final : public QAbstractTableModel {
public:
    InstitutionListModel(CallContext& ctx) : ctx_(ctx) {}

    void load()
    {
        beginResetModel();
        rows_ = loadInstitutionLists(ctx_.db);
        endResetModel();
    }
    int rowOfId(qint64 id) const
    {
        for (size_t i = 0; i < rows_.size(); ++i)
            if (rows_[i].rowId == id) return int(i);
        return -1;
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(rows_.size()); }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(institutionListCaptions().size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid()) return {};
        const InstitutionListRow& r = rows_[size_t(index.row())];
        if (role == Qt::DisplayRole || role == Qt::EditRole) {
            if (index.column() == 0) return r.code;
            if (index.column() == 1) return r.name;
            return r.values.value(index.column() - 2);
        }
        return {};
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (o == Qt::Horizontal && role == Qt::DisplayRole) return institutionListCaptions().value(section);
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags f = QAbstractTableModel::flags(index);
        if (index.column() >= 2) f |= Qt::ItemIsEditable;
        return f;
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (role != Qt::EditRole || index.column() < 2) return false;
        InstitutionListRow& r = rows_[size_t(index.row())];
        QString refusal;
        runCommand(ctx_.prompter, [&] {
            refusal = setInstitutionListValue(ctx_.db, r.code, index.column() - 2, value.toString());
            if (!refusal.isEmpty()) return;
            // Read back what was stored (case and width as the card keeps them).
            for (const InstitutionListRow& fresh : loadInstitutionLists(ctx_.db))
                if (fresh.rowId == r.rowId) r = fresh;
        });
        if (!refusal.isEmpty()) {
            ctx_.prompter.warning(refusal);
            return false;
        }
        Q_EMIT dataChanged(index.siblingAtColumn(0), index.siblingAtColumn(columnCount() - 1));
        return true;
    }

private:
    CallContext& ctx_;
    std::vector<InstitutionListRow> rows_;
};

}  // namespace

InstitutionListDialog::InstitutionListDialog(CallContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx)
{
    setWindowTitle(u"KURUM LİSTESİ TANIMLARI"_s);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        u"Kurumların reçete ve liste başlıkları, fatura yuvarlaması ve hesap şekli. "
        u"Değiştirmek için Enter veya F2; kurum adı yazarak arayın; Esc: Çıkış."_s,
        this));
    searchLabel_ = new QLabel(this);
    searchLabel_->setObjectName(u"search"_s);
    searchLabel_->hide();
    layout->addWidget(searchLabel_);
    auto* model = new InstitutionListModel(ctx_);
    view_ = new GridView(this);
    view_->setObjectName(u"list"_s);
    // The model lives as long as the view that shows it.
    model->setParent(view_);
    view_->setModel(model);
    runCommand(ctx_.prompter, [&] { model->load(); });
    setUpList(view_, {80, 240, 110, 110, 110, 110, 110, 110, 120, 150, 140});
    view_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::DoubleClicked);
    view_->setSelectionBehavior(QAbstractItemView::SelectItems);
    if (model->rowCount() > 0) view_->setCurrentIndex(model->index(0, 2));
    view_->installEventFilter(this);
    layout->addWidget(view_, 1);
    auto* close = new QPushButton(u"Çı&kış"_s, this);
    close->setAutoDefault(false);
    close->setFocusPolicy(Qt::NoFocus);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(close);
    layout->addLayout(row);
    view_->setFocus();
    resize(1200, 520);
}

void InstitutionListDialog::showSearch()
{
    searchLabel_->setText(u"Aranan: "_s + search_);
    searchLabel_->setVisible(!search_.isEmpty());
}

bool InstitutionListDialog::eventFilter(QObject* watched, QEvent* event)
{
    // While a cell is edited its keys belong to the editor (an Enter it passes on too).
    if (watched != view_ || event->type() != QEvent::KeyPress || static_cast<GridView*>(view_)->isEditing())
        return QDialog::eventFilter(watched, event);
    auto* k = static_cast<QKeyEvent*>(event);
    auto* model = static_cast<InstitutionListModel*>(view_->model());
    switch (k->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (view_->currentIndex().column() >= 2) view_->edit(view_->currentIndex());
        return true;
    case Qt::Key_Escape:
        if (!search_.isEmpty()) {
            search_.clear();
            showSearch();
        } else {
            reject();
        }
        return true;
    default: break;
    }
    if (isSearchKey(k)) {
        runCommand(ctx_.prompter, [&] {
            // Searching is by institution name, in the order the list is shown.
            Table cursor(ctx_.db, u"KRMLAR"_s);
            cursor.setIndex(u"KRMAD"_s);
            TypeAhead search(u"AD"_s, cardSearchRules(36));
            for (const QChar c : search_) search.type(cursor, QString(c));
            if (!search.type(cursor, k->text())) ctx_.prompter.beep();
            search_ = search.text();
            const int r = cursor.hasRow() ? model->rowOfId(cursor.rowId()) : -1;
            if (r >= 0) view_->setCurrentIndex(model->index(r, std::max(2, view_->currentIndex().column())));
        });
        showSearch();
        return true;
    }
    if (k->key() != Qt::Key_Left && k->key() != Qt::Key_Right && !search_.isEmpty()) {
        search_.clear();
        showSearch();
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace selvar::ortak
