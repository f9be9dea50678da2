#include "prescriptions/ui/satis_ssk_form.h"

#include "core/format.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "platform/ui/command.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

// ---------------------------------------------------------------- the working list

SskLinesModel::SskLinesModel(SatisSskLogic& logic, QObject* parent) : QAbstractTableModel(parent), logic_(logic) {}

void SskLinesModel::reload()
{
    beginResetModel();
    lines_ = logic_.lines();
    endResetModel();
}

QVariant SskLinesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= lines_.size()) return {};
    const SskLine& l = lines_[index.row()];
    if (role == Qt::TextAlignmentRole)
        return index.column() == Given || index.column() == Prescribed ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                                                         : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::EditRole && index.column() == Price) return numberText(l.price, 2);
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    switch (index.column()) {
    case No: return l.no;
    case Given: return l.name;
    case Prescribed: return l.prescribedName;
    case Equivalence: return l.equivalence;
    case DailyUse: return l.dailyUse;
    case Dose: return l.dose;
    case Quantity: return l.quantity;
    case Price: return formatMask(u"#,##0"_s, l.price);
    }
    return {};
}

QVariant SskLinesModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, o, role);
    static const QStringList titles{u"No"_s,       u"Verilen Ürün Adı"_s, u"Reçetedeki İlaç Adı"_s, u"Eşd.Kod"_s,
                                    u"Gün.Kul."_s, u"Doz"_s,              u"Adet"_s,                u"Fiyatı"_s};
    return titles.value(section);
}

Qt::ItemFlags SskLinesModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() >= Equivalence) f |= Qt::ItemIsEditable;
    return f;
}

bool SskLinesModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || index.row() >= lines_.size()) return false;
    SskLine l = lines_[index.row()];
    const QString text = value.toString();
    double v = 0;
    switch (index.column()) {
    case Equivalence: l.equivalence = text.left(3); break;
    case DailyUse: l.dailyUse = text.left(1); break;
    case Dose: l.dose = text.left(3); break;
    case Quantity:
        if (!parseNumber(text, &v)) return false;
        l.quantity = int(v);
        break;
    case Price:
        if (!parseNumber(text, &v)) return false;
        l.price = v;
        break;
    default: return false;
    }
    const auto post = [&] { logic_.postLine(l); };
    if (prompter) runCommand(*prompter, post);
    else post();
    reload();
    if (onChanged) onChanged();
    return true;
}

// ---------------------------------------------------------------- the window

TSatisSSKForm::TSatisSSKForm(Session& session, SskSaleLinks links, TAraJenDlg* search, QWidget* parent)
    : CounterForm(session, search, parent), logic_(session, nullptr, std::move(links))
{
    setObjectName(u"TSatisSSKForm"_s);
    setWindowTitle(u"SSK REÇETELERİ İÇİN SATIŞ İŞLEMLERİ"_s);
    setWindowModality(Qt::ApplicationModal);
    createLists();
    createBoxes();
    createButtons();
    layOut();
    createShortcuts();
    resize(1100, 760);
}

TSatisSSKForm::~TSatisSSKForm() = default;

void TSatisSSKForm::createLists()
{
    createProductList();
    lineModel_ = new SskLinesModel(logic_, this);
    lineModel_->prompter = &session_.prompter;
    lineModel_->onChanged = refreshLater();  // the total follows every line
    lines_ = createLinesView(u"SskList"_s, lineModel_);
    lines_->horizontalHeader()->setSectionResizeMode(SskLinesModel::Given, QHeaderView::Stretch);
    lines_->horizontalHeader()->setSectionResizeMode(SskLinesModel::Prescribed, QHeaderView::Stretch);
}

void TSatisSSKForm::createBoxes()
{
    const QFont bold = createProductLabels();
    labels_[u"ReceteTipi"_s]->setAutoFillBackground(true);  // the prescription type's colour
    createOldLabels(bold);
    addLabel(u"Toplam"_s)->setFont(bold);
    dateBox_ = new QLineEdit(this);
    dateBox_->setObjectName(u"ReceteTarihi"_s);
    dateBox_->setInputMask(u"00.00.0000;_"_s);
    dateBox_->setMaximumWidth(110);
    connect(dateBox_, &QLineEdit::editingFinished, this, &TSatisSSKForm::takeDateBox);
}

void TSatisSSKForm::takeDateBox()
{
    logic_.setDateBox(dateBox_->displayText().replace(u'_', u' '));
    guarded([this] { logic_.dateBoxLeft(); });
    if (logic_.dateBox().remove(u'.').trimmed().isEmpty()) dateBox_->clear();
}

void TSatisSSKForm::leaveBox()
{
    // A shortcut does not leave the box, so its editingFinished would come too late.
    if (focusWidget() != dateBox_) return;
    takeDateBox();
    const QSignalBlocker quiet(dateBox_);  // taken once
    products_->setFocus();
}

void TSatisSSKForm::createButtons()
{
    addButton(u"EskiReceteler"_s, u"Eski Reçeteler"_s, [this] { logic_.eskiReceteler(); });
    addButton(u"Kayit"_s, u"SSK Reçete Kayıt"_s, [this] { logic_.sskReceteKayit(); });
    addButton(u"EsdegerYaz"_s, u"Eşdeğerini Yazdır"_s, [this] { writeEquivalent(); });
    addButton(u"EsdegerSil"_s, u"Eşdeğerini Sil"_s, [this] {
        if (const int no = currentLineNo()) logic_.clearEquivalent(no);
    });
    addButton(u"Iptal"_s, u"Satış Listesi İptali"_s, [this] { logic_.satisListesiIptali(); });
    createProductButtons();
}

void TSatisSSKForm::layOut()
{
    auto* totals = new QHBoxLayout;
    totals->addWidget(new QLabel(u"Toplam :"_s, this));
    totals->addWidget(labels_[u"Toplam"_s]);
    totals->addStretch();
    for (const char* b : {"EsdegerYaz", "EsdegerSil"}) totals->addWidget(buttons_[QString::fromLatin1(b)]);
    auto* commands = new QHBoxLayout;
    for (const char* b : {"EskiReceteler", "Kayit", "Iptal"}) commands->addWidget(buttons_[QString::fromLatin1(b)]);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(productRow(nullptr, {}), 3);
    layout->addLayout(oldRow(u"Reç.Tarihi (F4)"_s, dateBox_));
    layout->addWidget(lines_, 2);
    layout->addLayout(totals);
    layout->addLayout(commands);
}

void TSatisSSKForm::createShortcuts()
{
    addKey(Qt::Key_F3, [this] {
        if (buttons_[u"EskiReceteler"_s]->isEnabled()) logic_.eskiReceteler();
    });
    addKey(Qt::Key_F4, [this] { dateBox_->setFocus(); });
    addKey(Qt::Key_F8, [this] { logic_.sskReceteKayit(); });
    addLinesKey(lines_, SskLinesModel::Quantity);
}

void TSatisSSKForm::Giris()
{
    guarded([this] {
        logic_.Giris();
        openProductList();
    });
    showOnTop();
}

void TSatisSSKForm::applyRights()
{
    buttons_[u"EskiReceteler"_s]->setEnabled(logic_.oldSalesAllowed() || logic_.correcting());
    buttons_[u"UrunKarti"_s]->setEnabled(logic_.productCardAllowed());
}

void TSatisSSKForm::refresh()
{
    showSearchState();
    lineModel_->reload();
    labels_[u"Toplam"_s]->setText(moneyText(logic_.total()));
    if (logic_.dateBox().isEmpty()) dateBox_->clear();
    const SskCaptions c = logic_.captions();
    buttons_[u"EskiReceteler"_s]->setText(c.oldPrescriptions);
    buttons_[u"Kayit"_s]->setText(c.record);
    showOldLabels(c.oldLabelsShown, c.oldDateLabel, c.oldNumberLabel);
    applyRights();
}

double TSatisSSKForm::recountTotal()
{
    logic_.recomputeTotal();
    return logic_.total();
}

void TSatisSSKForm::closing()
{
    logic_.closing();
    lineModel_->reload();
}

int TSatisSSKForm::currentLineNo() const
{
    const QModelIndex i = lines_->currentIndex();
    return i.isValid() && i.row() < lineModel_->lines().size() ? lineModel_->lines()[i.row()].no : 0;
}

void TSatisSSKForm::writeEquivalent()
{
    const int no = currentLineNo();
    if (no == 0) return;
    const int row = lines_->currentIndex().row();
    logic_.markEquivalent(no);
    // The equivalence code is typed next; leaving its box posts the line. Opened once the
    // command has shown the new state, whose reload would close the editor.
    QTimer::singleShot(0, this, [this, row] {
        const QModelIndex code = lineModel_->index(row, SskLinesModel::Equivalence);
        lines_->setFocus();
        lines_->setCurrentIndex(code);
        lines_->edit(code);
    });
}

bool TSatisSSKForm::lineKey(QKeyEvent* k)
{
    if (k->key() == Qt::Key_Delete && (k->modifiers() & Qt::ControlModifier)) {
        if (const int no = currentLineNo()) command([&] { logic_.removeLine(no); });
        return true;
    }
    // The number and the names are not typed: the cursor goes on to the quantity.
    const QModelIndex current = lines_->currentIndex();
    if (current.isValid() && current.column() < SskLinesModel::Equivalence && !k->text().isEmpty() && k->text()[0].isPrint())
        lines_->setCurrentIndex(lineModel_->index(current.row(), SskLinesModel::Quantity));
    return false;
}

bool TSatisSSKForm::eventFilter(QObject* o, QEvent* e)
{
    if (o == lines_ && e->type() == QEvent::KeyPress) return lineKey(static_cast<QKeyEvent*>(e));
    return CounterForm::eventFilter(o, e);
}

}  // namespace selvar
