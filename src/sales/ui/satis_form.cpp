#include "sales/ui/satis_form.h"

#include "platform/ui/command.h"

#include "core/format.h"
#include "data/codes.h"
#include "data/database.h"
#include "data/errors.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "sales/ui/eskism_form.h"

#include <QAction>
#include <QButtonGroup>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

// ---------------------------------------------------------------- sale lines

SaleLinesModel::SaleLinesModel(SatisLogic& logic, QObject* parent) : QAbstractTableModel(parent), logic_(logic) {}

void SaleLinesModel::reload()
{
    beginResetModel();
    lines_ = logic_.lines();
    endResetModel();
}

QVariant SaleLinesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= lines_.size()) return {};
    const SaleLine& l = lines_[index.row()];
    if (role == Qt::TextAlignmentRole)
        return index.column() == Name || index.column() == Type ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                                                : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::EditRole) {
        if (index.column() == Quantity) return l.quantity;
        if (index.column() == Price) return numberText(l.price, 2);
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    switch (index.column()) {
    case No: return l.no;
    case Name: return l.name;
    case Quantity: return l.quantity;
    case Price: return formatMask(u"#,##0"_s, l.price);
    case Type: return prescriptionTypeText(l.prescriptionType);
    case Amount: return formatMask(u"#,##0"_s, l.price * l.quantity);
    }
    return {};
}

QVariant SaleLinesModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, o, role);
    static const QStringList titles{u"S.No"_s, u"Ürün Adı"_s, u"Miktar"_s, u"Fiyatı"_s, u"Reçete Tipi"_s, u"Tutarı"_s};
    return titles.value(section);
}

Qt::ItemFlags SaleLinesModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == Quantity || index.column() == Price) f |= Qt::ItemIsEditable;
    return f;
}

bool SaleLinesModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || index.row() >= lines_.size()) return false;
    SaleLine l = lines_[index.row()];
    double v = 0;
    if (!parseNumber(value.toString(), &v)) return false;
    if (index.column() == Quantity) l.quantity = int(v);
    else if (index.column() == Price) l.price = v;
    else return false;
    const auto edit = [&] { logic_.editLine(l.no, l.quantity, l.price, l.prescriptionType); };
    if (prompter) runCommand(*prompter, edit);
    else edit();
    reload();
    if (onChanged) onChanged();
    return true;
}

// ---------------------------------------------------------------- the window

TSatisForm::TSatisForm(Session& session, SaleWindowLinks links, TAraJenDlg* search, QWidget* parent)
    : CounterForm(session, search, parent), logic_(session, nullptr, [&] {
          if (!links.chooseOldRecordKind)
              links.chooseOldRecordKind = [this] {
                  TEskiSMForm chooser(this);
                  return chooser.choose();
              };
          return links;
      }())
{
    setObjectName(u"TSatisForm"_s);
    setWindowTitle(u"SATIŞ İŞLEMLERİ"_s);
    createLists();
    createBoxes();
    createButtons();
    layOut();
    createShortcuts();
    resize(1100, 760);
}

TSatisForm::~TSatisForm() = default;

void TSatisForm::createLists()
{
    createProductList();
    lineModel_ = new SaleLinesModel(logic_, this);
    lineModel_->prompter = &session_.prompter;
    lineModel_->onChanged = refreshLater();  // the total and the paid amount follow every line
    lines_ = createLinesView(u"SaleList"_s, lineModel_);
    lines_->horizontalHeader()->setSectionResizeMode(SaleLinesModel::Name, QHeaderView::Stretch);
}

void TSatisForm::createBoxes()
{
    const QFont bold = createProductLabels();
    leaflet_ = new QPlainTextEdit(this);
    leaflet_->setObjectName(u"Prospektus"_s);
    leaflet_->installEventFilter(this);
    leaflet_->setMaximumHeight(90);
    createOldLabels(bold);
    addLabel(u"Toplam"_s)->setFont(bold);
    discountBox_ = new QLineEdit(this);
    discountBox_->setObjectName(u"Iskonto"_s);
    paidBox_ = new QLineEdit(this);
    paidBox_->setObjectName(u"Odenen"_s);
    dateBox_ = new QLineEdit(this);
    dateBox_->setObjectName(u"EskiFiyatTarihi"_s);
    dateBox_->setInputMask(u"00.00.0000;_"_s);  // digits optional, so leaving a half-typed date is seen
    dateBox_->setMaximumWidth(110);
    connect(discountBox_, &QLineEdit::editingFinished, this, &TSatisForm::takeDiscount);
    connect(paidBox_, &QLineEdit::editingFinished, this, &TSatisForm::takePaid);
    connect(dateBox_, &QLineEdit::editingFinished, this, &TSatisForm::takeDateBox);
}

void TSatisForm::takeDiscount()
{
    double v = 0;
    parseNumber(discountBox_->text(), &v);
    command([&] { logic_.discountLeft(v); });
}

void TSatisForm::takePaid()
{
    double v = 0;
    if (!parseNumber(paidBox_->text(), &v)) v = logic_.paid();
    command([&] { logic_.paidLeft(v); });
}

void TSatisForm::takeDateBox()
{
    logic_.setDateBox(dateBox_->displayText().replace(u'_', u' '));
    logic_.dateBoxLeft();
    if (logic_.dateBox().trimmed().isEmpty() || logic_.dateBox().remove(u'.').trimmed().isEmpty()) dateBox_->clear();
}

void TSatisForm::leaveBox()
{
    // A shortcut does not leave the box, so its editingFinished would come too late:
    // the discount typed before F7 would miss the sale it was typed for.
    QWidget* w = focusWidget();
    if (w == discountBox_) takeDiscount();
    else if (w == paidBox_) takePaid();
    else if (w == dateBox_) takeDateBox();
    else return;
    // Its editingFinished on the way out would read back the text the refresh wrote.
    const QSignalBlocker quiet(w);
    products_->setFocus();
}

void TSatisForm::createButtons()
{
    addButton(u"EskiSatislar"_s, u"Eski Satışlar"_s, [this] { logic_.eskiSatislar(); });
    addButton(u"Perakende"_s, u"Perakende Kayıt"_s, [this] { logic_.perakendeKayit(); });
    addButton(u"Recete"_s, u"Reçete Kayıt"_s, [this] { logic_.receteKayit(); });
    addButton(u"Fatura"_s, u"Fatura Kayıt"_s, [this] { logic_.faturaKayit(); });
    addButton(u"Veresiye"_s, u"Prk.Veresiye Kayıt"_s, [this] { logic_.veresiyeKayit(); })
        ->setToolTip(u"Veresiye kaydından sonra F7 ile perakende kaydı yapın."_s);
    addButton(u"Iptal"_s, u"Satış Listesi İptali"_s, [this] { logic_.satisListesiIptali(); });
    createProductButtons();
    addButton(u"Hesap"_s, u"Hesap Makinesi"_s, [this] {
        if (session_.platform && !session_.platform->startCalculator())
            session_.prompter.warning(u"Hesap makinesi bulunamadı."_s);
    });
    addButton(u"ListeYaz"_s, u"Satıs Listesini Yaz"_s, [this] { logic_.writeSaleList(); });
}

void TSatisForm::layOut()
{
    // Products and the current product on top, the sale below.
    auto* totals = new QHBoxLayout;
    totals->addWidget(new QLabel(u"Toplam :"_s, this));
    totals->addWidget(labels_[u"Toplam"_s]);
    totals->addSpacing(20);
    totals->addWidget(new QLabel(u"İskonto :"_s, this));
    totals->addWidget(discountBox_);
    totals->addWidget(new QLabel(u"Ödenen :"_s, this));
    totals->addWidget(paidBox_);
    totals->addStretch();
    auto* commands = new QHBoxLayout;
    for (const char* b : {"EskiSatislar", "Perakende", "Recete", "Fatura", "Veresiye", "Iptal"})
        commands->addWidget(buttons_[QString::fromLatin1(b)]);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(productRow(leaflet_, {u"Hesap"_s, u"ListeYaz"_s}), 3);
    layout->addLayout(oldRow(u"Eski Fyt.lı Reç.Trh."_s, dateBox_));
    layout->addWidget(lines_, 2);
    layout->addLayout(totals);
    layout->addLayout(commands);
}

void TSatisForm::createShortcuts()
{
    addKey(Qt::Key_F1, [this] {
        if (session_.platform) session_.platform->showHelp(u"Selvar.hlp"_s, 2);
    });
    addKey(Qt::Key_F3, [this] {
        if (buttons_[u"EskiSatislar"_s]->isEnabled()) logic_.eskiSatislar();
    });
    addKey(Qt::Key_F4, [this] { dateBox_->setFocus(); });
    addKey(Qt::Key_F7, [this] { logic_.perakendeKayit(); });
    addKey(Qt::Key_F8, [this] { logic_.receteKayit(); });
    addKey(Qt::Key_F9, [this] { logic_.faturaKayit(); });
    addKey(Qt::Key_F10, [this] { logic_.veresiyeKayit(); });
    addLinesKey(lines_, SaleLinesModel::No);
}

void TSatisForm::Giris()
{
    guarded([this] {
        logic_.Giris();
        openProductList();
        applyRights();
    });
    showOnTop();
}

void TSatisForm::applyRights()
{
    buttons_[u"EskiSatislar"_s]->setEnabled(logic_.oldSalesAllowed() || logic_.correcting());
    buttons_[u"UrunKarti"_s]->setEnabled(logic_.productCardAllowed());
}

void TSatisForm::showProductInfo()
{
    CounterForm::showProductInfo();
    leaflet_->setPlainText(logic_.leaflet());
}

void TSatisForm::refresh()
{
    showSearchState();
    lineModel_->reload();
    labels_[u"Toplam"_s]->setText(moneyText(logic_.total()));
    discountBox_->setText(numberText(logic_.discount(), 1));
    paidBox_->setText(numberText(logic_.paid(), 1));
    if (logic_.dateBox().isEmpty()) dateBox_->clear();
    const SaleCaptions c = logic_.captions();
    buttons_[u"EskiSatislar"_s]->setText(c.oldSales);
    buttons_[u"Perakende"_s]->setText(c.retail);
    buttons_[u"Recete"_s]->setText(c.prescription);
    buttons_[u"Fatura"_s]->setText(c.invoice);
    showOldLabels(c.oldLabelsShown, c.oldDateLabel, c.oldNumberLabel);
    applyRights();
}

double TSatisForm::recountTotal()
{
    logic_.recomputeTotal();
    return logic_.total();
}

void TSatisForm::closing()
{
    logic_.closing();
    lineModel_->reload();
}

void TSatisForm::pickPrescriptionType(int row)
{
    if (row < 0 || row >= lineModel_->lines().size()) return;
    const SaleLine line = lineModel_->lines()[row];
    QDialog picker(this, Qt::Popup);
    picker.setObjectName(u"ReceteTipiSecimi"_s);
    auto* grid = new QGridLayout(&picker);
    auto* group = new QButtonGroup(&picker);
    const QStringList codes = prescriptionTypeCodes();
    for (int i = 0; i < codes.size(); ++i) {
        auto* b = new QRadioButton(prescriptionTypeCaption(codes[i]), &picker);
        b->setChecked(codes[i] == line.prescriptionType);
        group->addButton(b, i);
        grid->addWidget(b, i % 6, i / 6);
    }
    const QRect cell = lines_->visualRect(lineModel_->index(row, SaleLinesModel::Type));
    picker.move(lines_->viewport()->mapToGlobal(cell.bottomLeft()));
    picker.exec();  // Enter, Esc or a click outside leaves it
    const int chosen = group->checkedId();
    if (chosen >= 0 && codes[chosen] != line.prescriptionType)
        command([&] { logic_.editLine(line.no, line.quantity, line.price, codes[chosen]); });
    lines_->setFocus();
    lines_->setCurrentIndex(lineModel_->index(row, SaleLinesModel::Type));
}

bool TSatisForm::lineKey(QKeyEvent* k)
{
    const QModelIndex current = lines_->currentIndex();
    if (k->key() == Qt::Key_Delete && (k->modifiers() & Qt::ControlModifier)) {
        if (current.isValid() && current.row() < lineModel_->lines().size()) {
            const int no = lineModel_->lines()[current.row()].no;
            command([&] { logic_.removeLine(no); });
        }
        return true;
    }
    if (current.isValid() && current.column() == SaleLinesModel::Type && !k->text().isEmpty()) {
        pickPrescriptionType(current.row());
        return true;
    }
    // The number and name columns are calculated: the cursor goes on to the quantity.
    if (current.isValid() && (current.column() == SaleLinesModel::No || current.column() == SaleLinesModel::Name)
        && !k->text().isEmpty() && k->text()[0].isPrint()) {
        lines_->setCurrentIndex(lineModel_->index(current.row(), SaleLinesModel::Quantity));
    }
    return false;
}

bool TSatisForm::eventFilter(QObject* o, QEvent* e)
{
    if (o == lines_ && e->type() == QEvent::KeyPress) return lineKey(static_cast<QKeyEvent*>(e));
    if (o == leaflet_ && e->type() == QEvent::FocusOut) guarded([this] { logic_.saveLeaflet(leaflet_->toPlainText()); });
    return CounterForm::eventFilter(o, e);
}

}  // namespace selvar
