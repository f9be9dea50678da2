#include "purchasing/ui/sip_aktar_form.h"

#include "core/dates.h"
#include "core/format.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "platform/ui/command.h"
#include "purchasing/alis_calc.h"
#include "purchasing/ui/alis_kayit.h"
#include "purchasing/ui/choice_popup.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

OrderRowsModel::OrderRowsModel(SipAktarLogic& logic, QObject* parent) : QAbstractTableModel(parent), logic_(logic) {}

void OrderRowsModel::reload()
{
    QList<OrderRow> fresh = logic_.rows();
    // The same rows with new values keep the grid's current cell.
    if (fresh.size() == rows_.size() && !fresh.isEmpty()) {
        rows_ = std::move(fresh);
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
        return;
    }
    beginResetModel();
    rows_ = std::move(fresh);
    endResetModel();
}

int OrderRowsModel::rowOf(qint64 rowId) const
{
    for (int i = 0; i < rows_.size(); ++i)
        if (rows_[i].rowId == rowId) return i;
    return -1;
}

QVariant OrderRowsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_.size()) return {};
    const OrderRow& o = rows_[index.row()];
    const int c = index.column();
    if (role == Qt::TextAlignmentRole)
        return c == Name || c == Type || c == FreeGoodsVat || c == Transfer ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                                                            : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::EditRole) {
        switch (c) {
        case OrderDate: return o.orderDate.isValid() ? o.orderDate.toString(u"dd/MM/yyyy"_s) : QString();
        case Ordered: return o.ordered;
        case FreeGoods: return o.freeGoods;
        case LineDiscount: return numberText(o.lineDiscount, 1);
        default: break;
        }
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    switch (c) {
    case Name: return o.name;
    case Price: return formatMask(u"#,##0.##"_s, o.price);
    case PriceDate: return dateText(o.priceDate);
    case OrderDate: return dateText(o.orderDate);
    case Ordered: return o.ordered;
    case Amount: return formatMask(u"#,##0.##"_s, o.amount);
    case Vat: return format(u"%g", o.vat);
    case Stock: return o.stock;
    case FreeGoods: return o.freeGoods;
    case Type: return purchaseDiscountTypeLabel(o.discountType);
    case LineDiscount: return o.lineDiscount == 0 ? QVariant() : QVariant(format(u"%g", o.lineDiscount));
    case FreeGoodsVat: return o.freeGoodsVat;
    case Transfer: return o.transfer;
    }
    return {};
}

QVariant OrderRowsModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, o, role);
    static const QStringList titles{u"Ürün Adı"_s, u"Fiyatı"_s, u"Fyt.Trh."_s, u"Sip.Trh."_s, u"Sipariş"_s,
                                    u"Tutarı"_s,   u"KDV"_s,    u"Eldeki"_s,   u"M.F."_s,     u"İs.Tip"_s,
                                    u"%F.İs"_s,    u"Mkdv"_s,   u"Aktar"_s};
    return titles.value(section);
}

Qt::ItemFlags OrderRowsModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    const int c = index.column();
    if (c == OrderDate || c == Ordered || c == FreeGoods || c == LineDiscount) f |= Qt::ItemIsEditable;
    return f;
}

void OrderRowsModel::post(const OrderRow& row)
{
    const auto edit = [&] { logic_.postRow(row); };
    if (prompter) runCommand(*prompter, edit);
    else edit();
    reload();
}

bool OrderRowsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || index.row() >= rows_.size()) return false;
    OrderRow o = rows_[index.row()];
    const QString typed = value.toString().trimmed();
    if (index.column() == OrderDate) {
        const DateInput d = parseDateText(QString(typed).replace(u'/', u'.'));
        if (typed.isEmpty()) o.orderDate = {};
        else if (d.isValid()) o.orderDate = d.date;
        else return false;
    } else {
        double v = 0;
        if (!typed.isEmpty() && !parseNumber(typed, &v)) return false;
        if (index.column() == Ordered) o.ordered = qint64(v);
        else if (index.column() == FreeGoods) o.freeGoods = int(v);
        else if (index.column() == LineDiscount) {
            if (v < 0 || v > 99.9) return false;
            o.lineDiscount = v;
        } else return false;
    }
    post(o);
    return true;
}

namespace {
// Shows "ESC Değişiklik İptali" while a cell is being edited.
class EditingDelegate : public QStyledItemDelegate {
public:
    EditingDelegate(QLabel* label, QObject* parent) : QStyledItemDelegate(parent), label_(label) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        label_->show();
        QWidget* e = QStyledItemDelegate::createEditor(parent, option, index);
        QObject::connect(e, &QObject::destroyed, label_, [l = label_] { l->hide(); });
        return e;
    }

private:
    QLabel* label_;
};
}  // namespace

TSipAktarForm::TSipAktarForm(Session& session, ProductValuesDialog* values, QWidget* parent)
    : QDialog(parent), session_(session), logic_(session, values)
{
    setObjectName(u"TSipAktarForm"_s);
    setWindowTitle(u"SİPARİŞ LİSTESİNİ    ALIŞ LİSTESİNE   AKTARMA"_s);
    model_ = new OrderRowsModel(logic_, this);
    model_->prompter = &session_.prompter;
    grid_ = new QTableView(this);
    grid_->setObjectName(u"SiparisListesi"_s);
    grid_->setModel(model_);
    grid_->verticalHeader()->hide();
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid_->horizontalHeader()->setSectionResizeMode(OrderRowsModel::Name, QHeaderView::Stretch);
    grid_->installEventFilter(this);
    editing_ = new QLabel(u"ESC Değişiklik İptali"_s, this);
    editing_->setObjectName(u"DegisiklikIptali"_s);
    editing_->setStyleSheet(u"color: #a00000; font-weight: bold"_s);
    editing_->hide();
    grid_->setItemDelegate(new EditingDelegate(editing_, this));
    search_ = new QLabel(this);
    search_->setObjectName(u"Aranan"_s);
    auto* top = new QHBoxLayout;
    top->addWidget(search_, 1);
    top->addWidget(editing_);
    auto* buttons = new QHBoxLayout;
    auto button = [&](const QString& name, const QString& caption, std::function<void()> run) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [run] { run(); });
        buttons->addWidget(b);
        return b;
    };
    button(u"Degistir"_s, u"Fiyat / Sipariş Miktarı Değiştir"_s, [this] { changeThroughDialog(); });
    button(u"Sil"_s, u"Alışa Aktarılmayanlar Dışındakileri Sil"_s, [this] { deleteTransferred(); });
    buttons->addStretch();
    button(u"Aktar"_s, u"&Aktar"_s, [this] { accept(); });
    button(u"Vazgec"_s, u"&Vazgeç"_s, [this] { reject(); });
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] {
        if (session_.platform) session_.platform->showHelp(u"Selvar.hlp"_s, 116);
    });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);
    guarded([this] { model_->reload(); });
    if (model_->rowCount() > 0) grid_->setCurrentIndex(model_->index(0, OrderRowsModel::Name));
    resize(1100, 560);
}

TSipAktarForm::~TSipAktarForm() = default;

void TSipAktarForm::guarded(const std::function<void()>& f) { runCommand(session_.prompter, f); }

void TSipAktarForm::showSearch()
{
    search_->setText(logic_.searchText().isEmpty() ? QString() : u"Aranan: "_s + logic_.searchText());
}

void TSipAktarForm::changeThroughDialog()
{
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid() || current.row() >= model_->rows().size()) return;
    const qint64 rowId = model_->rows()[current.row()].rowId;
    guarded([&] { logic_.changeThroughDialog(rowId); });
    guarded([this] { model_->reload(); });
    const int row = model_->rowOf(rowId);
    if (row >= 0) grid_->setCurrentIndex(model_->index(row, current.column()));
    grid_->setFocus();
}

void TSipAktarForm::deleteTransferred()
{
    guarded([this] { logic_.deleteTransferred(); });
    guarded([this] { model_->reload(); });
    if (model_->rowCount() > 0) grid_->setCurrentIndex(model_->index(0, OrderRowsModel::Name));
}

bool TSipAktarForm::gridKey(QKeyEvent* k)
{
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid() || current.row() >= model_->rows().size()) return false;
    OrderRow row = model_->rows()[current.row()];
    const int column = current.column();
    const QString text = k->text();
    const bool typing = !text.isEmpty() && text[0].isPrint();
    if (k->key() == Qt::Key_Insert) return true;  // no new rows here
    if (column == OrderRowsModel::Type && typing) {
        const int chosen = chooseDiscountType(this, grid_, current, row.discountType);
        if (chosen >= 0) {
            row.discountType = QString::number(chosen);
            model_->post(row);
        }
        grid_->setCurrentIndex(model_->index(current.row(), OrderRowsModel::LineDiscount));
        return true;
    }
    if (column == OrderRowsModel::FreeGoodsVat && typing) {
        const QString chosen = chooseFreeGoodsVat(this, grid_, current, row.freeGoodsVat);
        if (!chosen.isEmpty()) {
            row.freeGoodsVat = chosen;
            model_->post(row);
        }
        grid_->setCurrentIndex(model_->index(current.row(), OrderRowsModel::FreeGoodsVat));
        return true;
    }
    if (column == OrderRowsModel::Transfer) {
        if (k->key() == Qt::Key_Backspace) {
            row.transfer.clear();
        } else if (typing) {
            row.transfer = SipAktarLogic::transferMark(text);
        } else {
            return false;
        }
        model_->post(row);
        grid_->setCurrentIndex(model_->index(current.row(), column));
        return true;
    }
    // Type-ahead on the name while the column is not typed into.
    const bool readOnly = !(model_->flags(current) & Qt::ItemIsEditable);
    switch (k->key()) {
    case Qt::Key_Escape:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        // Esc with nothing searched leaves the dialog as "Vazgeç" does.
        const bool searched = !logic_.searchText().isEmpty();
        logic_.clearSearch();
        showSearch();
        return k->key() == Qt::Key_Escape && searched;
    }
    default: break;
    }
    if (readOnly && typing) {
        qint64 found = 0;
        guarded([&] { found = logic_.typeSearch(text); });
        const int r = model_->rowOf(found);
        if (r >= 0) grid_->setCurrentIndex(model_->index(r, column));
        showSearch();
        return true;
    }
    return false;
}

bool TSipAktarForm::eventFilter(QObject* o, QEvent* e)
{
    if (o == grid_ && e->type() == QEvent::KeyPress) return gridKey(static_cast<QKeyEvent*>(e));
    return QDialog::eventFilter(o, e);
}

bool SiparisAktarAc(Session& session, ProductValuesDialog* values, QWidget* parent)
{
    TSipAktarForm form(session, values, parent);
    return form.exec() == QDialog::Accepted;
}

}  // namespace selvar
