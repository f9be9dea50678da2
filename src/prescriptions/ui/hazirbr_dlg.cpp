#include "prescriptions/ui/hazirbr_dlg.h"

#include "platform/ui/command.h"
#include "platform/ui/list_keys.h"

#include "data/errors.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/session.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

// The grid's rows as the logic lays them out; only the row being typed is editable.
class ValueListModel final : public QAbstractTableModel {
public:
    ValueListModel(HazirDegerLogic& logic, QObject* parent) : QAbstractTableModel(parent), logic_(logic) {}

    const QStringList& rows() const { return rows_; }
    void setRows(const QStringList& rows)
    {
        beginResetModel();
        rows_ = rows;
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(rows_.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 1; }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= rows_.size()) return {};
        if (role == Qt::DisplayRole || role == Qt::EditRole) return rows_[index.row()];
        return {};
    }

    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (o == Qt::Horizontal && section == 0 && role == Qt::DisplayRole) return u"Reç.B.Hazır Değerleri"_s;
        return QAbstractTableModel::headerData(section, o, role);
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags f = QAbstractTableModel::flags(index);
        if (index.isValid() && logic_.editing() != HazirDegerLogic::Editing::None && index.row() == logic_.currentRow())
            f |= Qt::ItemIsEditable;
        return f;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
        logic_.setEditText(value.toString());
        rows_[index.row()] = value.toString();
        Q_EMIT dataChanged(index, index);
        return true;
    }

private:
    HazirDegerLogic& logic_;
    QStringList rows_;
};

// The value editor of the grid: Enter stores (and in mode 1 picks), Esc gives up; the
// dialog answers them itself so that neither reaches the dialog's buttons.
class ValueDelegate final : public QStyledItemDelegate {
public:
    ValueDelegate(TfmhazirBr* dlg) : QStyledItemDelegate(dlg), dlg_(dlg) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* e = new QLineEdit(parent);
        e->setMaxLength(HazirDegerLogic::ValueWidth);
        e->setFrame(false);
        dlg_->editorCreated(e);
        return e;
    }

    void destroyEditor(QWidget* editor, const QModelIndex& index) const override
    {
        dlg_->editorReleased(editor);
        QStyledItemDelegate::destroyEditor(editor, index);
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::ShortcutOverride && dlg_->isButtonKey(static_cast<QKeyEvent*>(e))) {
            e->accept();  // answered as a key press below, before the editor is gone
            return true;
        }
        if (e->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(e);
            if (dlg_->isButtonKey(k)) {
                dlg_->editorKey(k);
                return true;
            }
            switch (k->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Escape: dlg_->editorKey(k); return true;
            default: break;
            }
        }
        return QStyledItemDelegate::eventFilter(o, e);
    }

private:
    TfmhazirBr* dlg_;
};

TfmhazirBr::TfmhazirBr(Session& session, int mode, QWidget* parent)
    : QDialog(parent), session_(session), logic_(session.db, session.prompter, mode)
{
    setObjectName(u"TfmhazirBr"_s);
    setWindowTitle(u"REÇETE BAŞLIKLARI İÇİN HAZIR DEĞERLER"_s);

    model_ = new ValueListModel(logic_, this);
    delegate_ = new ValueDelegate(this);
    grid_ = new QTableView(this);
    grid_->setObjectName(u"Grid"_s);
    grid_->setModel(model_);
    grid_->setItemDelegate(delegate_);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setTabKeyNavigation(false);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->installEventFilter(this);

    auto makeButton = [this](const QString& name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        buttons_.insert(name, b);
        return b;
    };
    QPushButton* add = makeButton(u"YeniKayit"_s, u"Yeni Kayıt"_s);
    QPushButton* change = makeButton(u"Degistir"_s, u"&Değiştir"_s);
    QPushButton* remove = makeButton(u"KayitSil"_s, u"Kayıt Sil"_s);
    QPushButton* pick = makeButton(u"Sec"_s, u"&Seç"_s);
    QPushButton* close = makeButton(u"Kapat"_s, u"Kapat"_s);
    QPushButton* help = makeButton(u"Yardim"_s, u"Yardım"_s);
    pick->setVisible(logic_.canPick());
    pick->setDefault(logic_.canPick());

    struct Nav {
        const char* name;
        const char* tip;
        QStyle::StandardPixmap icon;
        void (HazirDegerLogic::*move)();
    };
    const Nav navs[] = {
        {"Ilk", "İlk Kayıt", QStyle::SP_MediaSkipBackward, &HazirDegerLogic::first},
        {"Onceki", "Önceki Kayıt", QStyle::SP_MediaSeekBackward, &HazirDegerLogic::prior},
        {"Sonraki", "Sonraki Kayıt", QStyle::SP_MediaSeekForward, &HazirDegerLogic::next},
        {"Son", "Son Kayıt", QStyle::SP_MediaSkipForward, &HazirDegerLogic::last},
        {"Yenile", "Yenile", QStyle::SP_BrowserReload, &HazirDegerLogic::refresh},
    };
    auto* navigator = new QHBoxLayout;
    navigator->setSpacing(0);
    for (const Nav& n : navs) {
        QPushButton* b = makeButton(QString::fromLatin1(n.name), QString());
        b->setIcon(style()->standardIcon(n.icon));
        b->setToolTip(QString::fromUtf8(n.tip));
        b->setAutoDefault(false);
        const auto move = n.move;
        connect(b, &QPushButton::clicked, this, [this, move] {
            command([&] {
                logic_.clearSearch();
                (logic_.*move)();
            });
        });
        navigator->addWidget(b);
    }
    navigator->addStretch(1);

    search_ = new QLabel(this);
    search_->setObjectName(u"Aranan"_s);
    search_->setMinimumWidth(160);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(u"Aranan:"_s, this));
    searchRow->addWidget(search_, 1);

    auto* side = new QVBoxLayout;
    for (QPushButton* b : {add, change, remove, pick, close, help}) side->addWidget(b);
    side->addStretch(1);
    auto* body = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addLayout(navigator);
    left->addWidget(grid_, 1);
    left->addLayout(searchRow);
    body->addLayout(left, 1);
    body->addLayout(side);
    setLayout(body);
    resize(420, 380);

    connect(add, &QPushButton::clicked, this, [this] { startEditing(true); });
    connect(change, &QPushButton::clicked, this, [this] { startEditing(false); });
    connect(remove, &QPushButton::clicked, this, [this] { command([this] { logic_.deleteValue(); }); });
    connect(pick, &QPushButton::clicked, this, [this] { pickCurrent(); });
    connect(close, &QPushButton::clicked, this, &TfmhazirBr::reject);
    connect(help, &QPushButton::clicked, this, [this] {
        if (session_.platform) session_.platform->showHelp(u"Selvar.hlp"_s, 0);
    });
    connect(grid_, &QTableView::doubleClicked, this, [this] {
        if (logic_.canPick()) pickCurrent();
        else startEditing(false);
    });
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        if (syncing_ || !current.isValid()) return;
        const qint64 id = logic_.rowIdAt(current.row());
        if (logic_.editing() == HazirDegerLogic::Editing::None) {
            command([&] { logic_.moveTo(id); });
            return;
        }
        // The view is closing the editor right now; store and move once it is done.
        QTimer::singleShot(0, this, [this, id] { command([&] { logic_.moveTo(id); }); });
    });
}

TfmhazirBr::~TfmhazirBr() = default;

void TfmhazirBr::guarded(const std::function<void()>& f) { runCommand(session_.prompter, f); }

template <typename F>
void TfmhazirBr::command(F&& f)
{
    takeEditor();
    ++commands_;
    guarded(f);
    guarded([this] { sync(); });
}

QString TfmhazirBr::choose()
{
    bool opened = false;
    guarded([&] {
        logic_.open();
        opened = true;
    });
    if (!opened) return {};
    sync();
    grid_->setFocus();
    exec();
    return result_;
}

void TfmhazirBr::sync()
{
    syncing_ = true;
    const QStringList rows = logic_.rows();
    if (rows != model_->rows()) {
        takeEditor();
        model_->setRows(rows);
    }
    const int row = logic_.currentRow();
    const QModelIndex index = row >= 0 ? model_->index(row, 0) : QModelIndex();
    if (grid_->currentIndex() != index) grid_->setCurrentIndex(index);
    if (index.isValid()) grid_->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    search_->setText(logic_.searchText());
    syncing_ = false;
    if (logic_.editing() != HazirDegerLogic::Editing::None && !editor_ && index.isValid()) grid_->edit(index);
}

void TfmhazirBr::startEditing(bool newValue)
{
    command([&] {
        if (newValue) logic_.newValue();
        else if (logic_.editing() == HazirDegerLogic::Editing::None) logic_.changeValue();
    });
}

void TfmhazirBr::pickCurrent()
{
    takeEditor();
    ++commands_;
    std::optional<QString> value;
    guarded([&] { value = logic_.pick(); });
    if (value) {
        result_ = *value;
        QDialog::accept();
        return;
    }
    guarded([this] { sync(); });
}

void TfmhazirBr::reject()
{
    // What was typed is kept, as leaving the row would keep it; the heading stays as it was.
    takeEditor();
    ++commands_;
    guarded([this] { logic_.settle(); });
    result_.clear();
    QDialog::reject();
}

void TfmhazirBr::takeEditor()
{
    if (!editor_) return;
    QLineEdit* e = editor_;
    editor_ = nullptr;
    logic_.setEditText(e->text());
    Q_EMIT delegate_->closeEditor(e, QAbstractItemDelegate::NoHint);
}

void TfmhazirBr::editorCreated(QLineEdit* editor) { editor_ = editor; }

void TfmhazirBr::editorReleased(QWidget* editor)
{
    // Closed by the view itself (focus moved away, Tab, another row), after it handed
    // the text over; store once the view is done with it.
    if (!editor_ || editor != editor_) return;
    editor_ = nullptr;
    const int at = commands_;
    QTimer::singleShot(0, this, [this, at] {
        if (at == commands_) command([this] { logic_.post(); });  // else a command settled it
    });
}

bool TfmhazirBr::isButtonKey(const QKeyEvent* k) const
{
    if ((k->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != Qt::AltModifier) return false;
    return k->key() == Qt::Key_D || (k->key() == Qt::Key_S && logic_.canPick());
}

void TfmhazirBr::editorKey(QKeyEvent* k)
{
    if (isButtonKey(k)) {
        // Alt+D while typing: the value is editable already.
        if (k->key() == Qt::Key_S) pickCurrent();
        return;
    }
    if (k->key() == Qt::Key_Escape) {
        if (editor_) {
            QLineEdit* e = editor_;
            editor_ = nullptr;
            Q_EMIT delegate_->closeEditor(e, QAbstractItemDelegate::RevertModelCache);
        }
        command([this] { logic_.cancelEdit(); });
        return;
    }
    if (logic_.canPick()) pickCurrent();
    else command([this] { logic_.post(); });
}

bool TfmhazirBr::gridKey(QKeyEvent* k)
{
    const Qt::KeyboardModifiers mods = k->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    switch (k->key()) {
    case Qt::Key_Insert:
        if (mods) break;
        startEditing(true);
        return true;
    case Qt::Key_F2: startEditing(false); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (logic_.canPick()) pickCurrent();
        return true;
    case Qt::Key_Backspace: command([this] { logic_.searchBackspace(); }); return true;
    case Qt::Key_Escape: command([this] { logic_.clearSearch(); }); return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        logic_.clearSearch();
        search_->clear();
        return false;  // the grid moves itself
    case Qt::Key_D:
        if (mods == Qt::AltModifier) {
            startEditing(false);
            return true;
        }
        break;
    case Qt::Key_S:
        if (mods == Qt::AltModifier) {
            if (logic_.canPick()) pickCurrent();
            return true;
        }
        break;
    default: break;
    }
    if (isListMoveKey(k)) {
        logic_.clearSearch();
        search_->clear();
        return false;  // the grid moves itself
    }
    // Plain letters search, D and S included: the buttons answer only with Alt.
    if (isSearchKey(k)) {
        command([&] { logic_.typeSearchChar(k->text()[0]); });
        return true;
    }
    return false;
}

bool TfmhazirBr::eventFilter(QObject* o, QEvent* e)
{
    if (o == grid_) {
        switch (e->type()) {
        case QEvent::ShortcutOverride:
            // The buttons' Alt letters are answered by gridKey, synchronously.
            if (isButtonKey(static_cast<QKeyEvent*>(e))) {
                e->accept();
                return true;
            }
            break;
        case QEvent::KeyPress: return gridKey(static_cast<QKeyEvent*>(e));
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            logic_.clearSearch();
            search_->clear();
            break;
        default: break;
        }
    }
    return QDialog::eventFilter(o, e);
}

QString HazirDegerSec(Session& session, int mode, QWidget* parent)
{
    TfmhazirBr dlg(session, mode, parent);
    return dlg.choose();
}

}  // namespace selvar
