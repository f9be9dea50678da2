#include "exchange/ui/takas_forms.h"

#include "exchange/ui/takas_list_forms.h"

#include "companion/companion.h"
#include "core/dates.h"
#include "core/format.h"
#include "core/turkish.h"
#include "data/database.h"
#include "data/sql.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "platform/ui/command.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

// ---------------------------------------------------------------- typing in a list

int NameTypeAhead::nearest(const QStringList& names, const QString& text) const
{
    const QString key = sortKey(text);
    for (int i = 0; i < names.size(); ++i)
        if (sortKey(names[i]) >= key) return i;
    return names.isEmpty() ? -1 : int(names.size()) - 1;
}

int NameTypeAhead::type(const QStringList& names, const QString& key)
{
    if (key.isEmpty() || !key.at(0).isPrint()) return -1;
    if (text_.size() >= max_) text_.clear();
    text_ += key;
    int row = nearest(names, text_);
    if (row < 0 || !startsWithNoCase(names[row], text_)) {
        text_.chop(key.size());  // no name goes on with this key
        row = text_.isEmpty() ? -1 : nearest(names, text_);
    }
    return row;
}

int NameTypeAhead::backspace(const QStringList& names)
{
    if (text_.isEmpty()) return -1;
    text_.chop(1);
    return text_.isEmpty() ? -1 : nearest(names, text_);
}

// Keys of a list with type-ahead: true when the key was taken.
bool typeAheadKey(QKeyEvent* k, NameTypeAhead& typed, const QStringList& names, const std::function<void(int)>& go,
                  QLabel* searched, int escapeRow)
{
    int row = -1;
    switch (k->key()) {
    case Qt::Key_Escape:
        if (typed.text().isEmpty()) return false;  // nothing typed: Escape leaves the window
        typed.clear();
        searched->setText(u"Aranan: "_s);
        if (escapeRow >= 0 && escapeRow < names.size()) go(escapeRow);
        return true;
    case Qt::Key_Backspace: row = typed.backspace(names); break;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
        typed.clear();
        searched->setText(u"Aranan: "_s);
        return false;
    default:
        if (k->text().isEmpty() || (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) || !k->text().at(0).isPrint())
            return false;
        row = typed.type(names, k->text());
    }
    if (row >= 0) go(row);
    searched->setText(u"Aranan: "_s + typed.text());
    return true;
}

QTableWidget* exchangeGrid(QWidget* parent)
{
    auto* grid = new QTableWidget(0, 6, parent);
    grid->setHorizontalHeaderLabels({u"Eczane Adı"_s, u"Tarih"_s, u"Ürün Adı"_s, u"Adet"_s, u"TUTAR"_s, u"Takas Tipi"_s});
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setTabKeyNavigation(false);  // Tab goes on to the buttons
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    return grid;
}

void addExchangeHelp(QWidget* window, Session& session)
{
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), window);
    QObject::connect(help, &QShortcut::activated, window, [&session] {
        if (session.platform) session.platform->showHelp(u"SELVAR.HLP"_s, 0);
    });
}

namespace {
// The "Aranan: " line and the choose / cancel buttons under a list with type-ahead.
QLabel* addSearchFooter(QDialog* d, QVBoxLayout* layout, const QString& choose, const QString& cancel)
{
    auto* searched = new QLabel(u"Aranan: "_s, d);
    layout->addWidget(searched);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(choose, d);
    ok->setDefault(true);
    auto* no = new QPushButton(cancel, d);
    no->setAutoDefault(false);
    QObject::connect(ok, &QPushButton::clicked, d, &QDialog::accept);
    QObject::connect(no, &QPushButton::clicked, d, &QDialog::reject);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(no);
    layout->addLayout(buttons);
    return searched;
}
}  // namespace

// ---------------------------------------------------------------- "Eczane Seç"

TFormARATAK::TFormARATAK(Session& session, QWidget* parent) : QDialog(parent)
{
    setObjectName(u"TFormARATAK"_s);
    setWindowTitle(u"Eczane Seç"_s);
    auto* layout = new QVBoxLayout(this);
    auto* head = new QLabel(u"ECZANE ADI"_s, this);
    QFont bold = head->font();
    bold.setBold(true);
    head->setFont(bold);
    layout->addWidget(head);
    list_ = new QListWidget(this);
    list_->installEventFilter(this);
    layout->addWidget(list_, 1);
    searched_ = addSearchFooter(this, layout, u"&Seç"_s, u"&Vazgeç"_s);
    runCommand(session.prompter, [&] { names_ = TakasLogic(session).pharmacies(); });
    list_->addItems(names_);
    if (!names_.isEmpty()) list_->setCurrentRow(0);
    resize(360, 420);
    addExchangeHelp(this, session);
    list_->setFocus();
}

QString TFormARATAK::chosen() const { return list_->currentItem() ? list_->currentItem()->text() : QString(); }

bool TFormARATAK::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            accept();
            return true;
        }
        // Escape clears the search and goes back to the first name.
        if (typeAheadKey(k, typed_, names_, [this](int row) { list_->setCurrentRow(row); }, searched_, 0)) return true;
    }
    return QDialog::eventFilter(watched, event);
}

QString EczaneSec(Session& session, QWidget* parent)
{
    TFormARATAK picker(session, parent);
    return picker.exec() == QDialog::Accepted ? picker.chosen() : QString();
}

// ---------------------------------------------------------------- "Takas Arama"

TFormTARA::TFormTARA(Session& session, QWidget* parent) : QDialog(parent)
{
    setObjectName(u"TFormTARA"_s);
    setWindowTitle(u"Takas Arama"_s);
    auto* layout = new QVBoxLayout(this);
    grid_ = exchangeGrid(this);
    grid_->installEventFilter(this);
    layout->addWidget(grid_, 1);
    searched_ = addSearchFooter(this, layout, u"Seç"_s, u"Vazgeç"_s);
    struct Row {
        qint64 no;
        QString pharmacy, product, type;
        QDate date;
        int quantity;
        double amount;
    };
    QList<Row> rows;
    runCommand(session.prompter, [&] {
        Sql q(session.db, u"SELECT "_s + session.db.dialect().quote(u"NO"_s)
                              + u", ECZADI, TARIH, ILACAD, ADET, TUTAR, TIP FROM TAKAS"_s);
        q.exec();
        while (q.next())
            rows << Row{q.integer(0), q.text(1), q.text(3), q.text(6), q.date(2), int(q.integer(4)), q.number(5)};
    });
    // In the order of the index ECZADI;TARIH, names in Turkish order.
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        const QString ka = sortKey(a.pharmacy), kb = sortKey(b.pharmacy);
        return ka != kb ? ka < kb : a.date < b.date;
    });
    grid_->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const Row& x = rows[r];
        names_ << x.pharmacy;
        numbers_ << x.no;
        const QStringList cells{x.pharmacy, x.date.isValid() ? x.date.toString(u"dd/MM/yy"_s) : QString(), x.product,
                                QString::number(x.quantity), format(u"%m"_s, x.amount), exchangeTypeText(x.type, 1)};
        for (int c = 0; c < cells.size(); ++c) grid_->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    if (!rows.isEmpty()) grid_->setCurrentCell(0, 0);
    resize(760, 460);
    addExchangeHelp(this, session);
    grid_->setFocus();
}

qint64 TFormTARA::chosen() const
{
    const int r = grid_->currentRow();
    return r >= 0 && r < numbers_.size() ? numbers_[r] : 0;
}

bool TFormTARA::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grid_ && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            accept();
            return true;
        }
        if (typeAheadKey(k, typed_, names_, [this](int row) { grid_->setCurrentCell(row, 0); }, searched_)) return true;
    }
    return QDialog::eventFilter(watched, event);
}

qint64 TakasAra(Session& session, QWidget* parent)
{
    TFormTARA search(session, parent);
    return search.exec() == QDialog::Accepted ? search.chosen() : 0;
}

// ---------------------------------------------------------------- "Takas Kayıt"

namespace {
const QStringList kTypes{u"A"_s, u"U"_s, u"E"_s, u"V"_s};
}

TFormTakas::TFormTakas(Session& session, QWidget* parent) : QDialog(parent), session_(session), logic_(session)
{
    setObjectName(u"TFormTakas"_s);
    setWindowTitle(u"Takas Kayıt"_s);
    auto* layout = new QVBoxLayout(this);
    auto* g = new QGridLayout;
    number_ = new QLabel(this);
    g->addWidget(new QLabel(u"Takas No :"_s, this), 0, 0);
    g->addWidget(number_, 0, 1);
    auto box = [&](const QString& name, const QString& caption, int row) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setReadOnly(true);
        auto* l = new QLabel(caption, this);
        l->setBuddy(e);
        g->addWidget(l, row, 0);
        g->addWidget(e, row, 1);
        boxes_.insert(name, e);
        return e;
    };
    box(u"ECZADI"_s, u"Eczane Adı"_s, 1)->setMaxLength(24);
    box(u"ILACAD"_s, u"Ürün Adı"_s, 2)->setMaxLength(36);
    price_ = new QLabel(this);
    stock_ = new QLabel(this);
    g->addWidget(new QLabel(u"BİRİM FİYATI"_s, this), 3, 0);
    g->addWidget(price_, 3, 1);
    g->addWidget(new QLabel(u"Stok"_s, this), 4, 0);
    g->addWidget(stock_, 4, 1);
    QLineEdit* quantity = box(u"ADET"_s, u"Adet"_s, 5);
    connect(quantity, &QLineEdit::editingFinished, this, [this] { quantityLeft(); });
    box(u"TUTAR"_s, u"Tutar"_s, 6);
    box(u"TARIH"_s, u"Tarih"_s, 7)->setInputMask(u"90/90/9900;_"_s);
    layout->addLayout(g);

    auto* typeBox = new QGroupBox(u"Takas Tipi"_s, this);
    auto* typeLayout = new QVBoxLayout(typeBox);
    types_ = new QButtonGroup(this);
    const QStringList typeTexts{u"Ürün &Aldım"_s, u"Ürün &Verdim"_s, u"Ürün Aldım(Stoğa &Ekle)"_s, u"Ürün Verdim(Stoktan &Düş)"_s};
    for (int i = 0; i < typeTexts.size(); ++i) {
        auto* b = new QRadioButton(typeTexts[i], typeBox);
        types_->addButton(b, i);
        typeLayout->addWidget(b);
    }
    auto* stateBox = new QGroupBox(u"Son Durum"_s, this);
    auto* stateLayout = new QHBoxLayout(stateBox);
    states_ = new QButtonGroup(this);
    for (const auto& [i, text] : {std::pair{0, u"Açık"_s}, std::pair{1, u"Kapatıldı"_s}}) {
        auto* b = new QRadioButton(text, stateBox);
        states_->addButton(b, i);
        stateLayout->addWidget(b);
    }
    auto* choices = new QHBoxLayout;
    choices->addWidget(typeBox);
    choices->addWidget(stateBox);
    layout->addLayout(choices);

    auto* buttons = new QHBoxLayout;
    auto add = [&](const QString& caption, std::function<void()> run) {
        auto* b = new QPushButton(caption, this);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, run] { guarded(run); });
        buttons->addWidget(b);
        return b;
    };
    add(u"|<"_s, [this] { moveTo(0); });
    add(u"<"_s, [this] { moveTo(index_ - 1); });
    add(u">"_s, [this] { moveTo(index_ + 1); });
    add(u">|"_s, [this] { moveTo(int(rows_.size()) - 1); });
    add(u"Kayıt &Sakla"_s, [this] { saveRow(); });
    add(u"Ürün Seç"_s, [this] { chooseProduct(); });
    add(u"Eczane Seç"_s, [this] { choosePharmacy(); });
    add(u"Arama"_s, [this] { search(); });
    add(u"Sorgu"_s, [this] { queryList(); });
    add(u"Güncelleme"_s, [this] { priceUpdate(); });
    auto* close = new QPushButton(u"Kapat"_s, this);
    close->setAutoDefault(false);
    close->setFocusPolicy(Qt::NoFocus);
    connect(close, &QPushButton::clicked, this, [this] {
        if (editing_ && !leaveEdit()) return;
        hide();
    });
    buttons->addWidget(close);
    layout->addLayout(buttons);

    auto key = [this](const QKeySequence& k, std::function<void()> run) {
        auto* s = new QShortcut(k, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, [this, run] { guarded(run); });
    };
    key(QKeySequence(Qt::Key_Insert), [this] { insertRow(); });
    key(QKeySequence(Qt::Key_F2), [this] { editRow(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Delete), [this] { deleteRow(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Home), [this] { moveTo(0); });
    key(QKeySequence(Qt::Key_PageUp), [this] { moveTo(index_ - 1); });
    key(QKeySequence(Qt::Key_PageDown), [this] { moveTo(index_ + 1); });
    key(QKeySequence(Qt::CTRL | Qt::Key_End), [this] { moveTo(int(rows_.size()) - 1); });
    key(QKeySequence(Qt::Key_F5), [this] { chooseProduct(); });
    key(QKeySequence(Qt::Key_F6), [this] { choosePharmacy(); });
    key(QKeySequence(Qt::Key_F3), [this] { search(); });
    key(QKeySequence(Qt::Key_F4), [this] { queryList(); });
    key(QKeySequence(Qt::Key_F9), [this] { priceUpdate(); });
    resize(560, 520);
}

void TFormTakas::guarded(const std::function<void()>& f) { runCommand(session_.prompter, f); }

QLineEdit* TFormTakas::box(const QString& name) const { return boxes_.value(name); }

qint64 TFormTakas::currentNo() const { return index_ >= 0 && index_ < rows_.size() ? rows_[index_] : 0; }

void TFormTakas::load()
{
    rows_.clear();
    Sql q(session_.db, u"SELECT "_s + session_.db.dialect().quote(u"NO"_s) + u" FROM TAKAS ORDER BY "_s
                           + session_.db.dialect().quote(u"NO"_s));
    q.exec();
    while (q.next()) rows_ << q.integer(0);
}

void TFormTakas::Giris()
{
    guarded([this] {
        load();
        editing_ = false;
        moveTo(int(rows_.size()) - 1);
    });
    QDialog::show();
    raise();
    activateWindow();
}

void TFormTakas::show(const Exchange& e)
{
    current_ = e;
    number_->setText(e.no ? QString::number(e.no) : QString());
    boxes_[u"ECZADI"_s]->setText(e.pharmacy);
    boxes_[u"ILACAD"_s]->setText(e.product);
    boxes_[u"ADET"_s]->setText(e.quantity ? QString::number(*e.quantity) : QString());
    boxes_[u"TUTAR"_s]->setText(e.amount ? numberText(*e.amount, 0) : QString());
    boxes_[u"TARIH"_s]->setText(e.date.isValid() ? e.date.toString(u"dd/MM/yyyy"_s) : QString());
    const int type = int(kTypes.indexOf(e.type));
    if (type >= 0) types_->button(type)->setChecked(true);
    states_->button(e.state == u"K"_s ? 1 : 0)->setChecked(true);
    for (QLineEdit* b : boxes_) b->setReadOnly(!editing_);
    for (QAbstractButton* b : types_->buttons()) b->setEnabled(editing_);
    for (QAbstractButton* b : states_->buttons()) b->setEnabled(editing_);
    showProduct();
}

void TFormTakas::showProduct()
{
    const ExchangeProduct p = logic_.productByName(boxes_[u"ILACAD"_s]->text());
    price_->setText(p.found() ? format(u"%m"_s, p.price) : QString());
    stock_->setText(p.found() ? QString::number(p.stock, 'f', 0) : QString());
}

Exchange TFormTakas::fromBoxes() const
{
    Exchange e = current_;
    e.pharmacy = boxes_[u"ECZADI"_s]->text();
    e.product = boxes_[u"ILACAD"_s]->text();
    double n = 0;
    e.quantity.reset();
    e.amount.reset();
    if (parseNumber(boxes_[u"ADET"_s]->text(), &n) && !boxes_[u"ADET"_s]->text().trimmed().isEmpty()) e.quantity = int(n);
    if (parseNumber(boxes_[u"TUTAR"_s]->text(), &n) && !boxes_[u"TUTAR"_s]->text().trimmed().isEmpty()) e.amount = n;
    const DateInput d = parseDateText(boxes_[u"TARIH"_s]->text().replace(u'/', u'.'));
    e.date = d.isValid() ? d.date : QDate();
    e.type = kTypes.value(types_->checkedId(), u"A"_s);
    e.state = states_->checkedId() == 1 ? u"K"_s : u"A"_s;
    return e;
}

void TFormTakas::moveTo(int index)
{
    // Leaving a row being edited stores it as "Kayıt Sakla" does, or stays.
    if (editing_ && !leaveEdit()) return;
    if (rows_.isEmpty()) {
        index_ = -1;
        show(Exchange{});
        return;
    }
    index_ = std::clamp(index, 0, int(rows_.size()) - 1);
    if (const std::optional<Exchange> e = logic_.read(rows_[index_])) show(*e);
}

void TFormTakas::insertRow()
{
    if (editing_ && !leaveEdit()) return;
    Exchange e;
    e.type = u"A"_s;
    e.date = session_.clock.today();
    editing_ = true;
    show(e);
    boxes_[u"ECZADI"_s]->setFocus();
}

void TFormTakas::editRow()
{
    if (editing_ || currentNo() == 0) return;
    editing_ = true;
    show(current_);
    // The quantity is what is changed most: typed over, not appended to.
    boxes_[u"ADET"_s]->setFocus();
    boxes_[u"ADET"_s]->selectAll();
}

void TFormTakas::cancelEdit()
{
    if (!editing_) return;
    editing_ = false;
    moveTo(index_);
}

bool TFormTakas::leaveEdit() { return saveRow(); }

bool TFormTakas::saveRow()
{
    if (!editing_) return true;
    Exchange e = fromBoxes();
    bool stored = false;
    guarded([&] { stored = logic_.store(e); });
    if (!stored) return false;
    editing_ = false;
    load();
    index_ = int(rows_.indexOf(e.no));
    moveTo(index_);
    return true;
}

void TFormTakas::deleteRow()
{
    if (editing_) cancelEdit();
    const qint64 no = currentNo();
    if (no == 0 || !session_.prompter.confirmed(u"Silinsin mi?"_s)) return;
    logic_.remove(no);
    load();
    moveTo(std::min(index_, int(rows_.size()) - 1));
}

void TFormTakas::chooseProduct()
{
    if (!session_.companion) return;
    const QString name = session_.companion->BrUrunCreate(1);
    if (name.isEmpty()) return;
    if (!editing_) {
        if (rows_.isEmpty()) insertRow();
        else editRow();
    }
    boxes_[u"ILACAD"_s]->setText(name);
    boxes_[u"ADET"_s]->setText(u"1"_s);
    showProduct();
    boxes_[u"ADET"_s]->setFocus();
    boxes_[u"ADET"_s]->selectAll();
}

void TFormTakas::choosePharmacy()
{
    const QString name = EczaneSec(session_, this);
    if (name.isEmpty()) return;
    if (!editing_) {
        if (rows_.isEmpty()) insertRow();
        else editRow();
    }
    boxes_[u"ECZADI"_s]->setText(name);
}

void TFormTakas::quantityLeft()
{
    if (!editing_) return;
    const ExchangeProduct p = logic_.productByName(boxes_[u"ILACAD"_s]->text());
    double n = 0;
    if (p.price > 0 && parseNumber(boxes_[u"ADET"_s]->text(), &n)) boxes_[u"TUTAR"_s]->setText(numberText(n * p.price, 0));
}

void TFormTakas::search()
{
    if (editing_ && !leaveEdit()) return;
    const qint64 no = TakasAra(session_, this);
    if (no == 0) return;
    load();
    moveTo(int(rows_.indexOf(no)));
}

void TFormTakas::queryList()
{
    if (editing_ && !leaveEdit()) return;
    TakasListesiAc(session_, this);
}

void TFormTakas::priceUpdate()
{
    // A pending edit is stored first; the amounts shown are read again afterwards.
    if (editing_ && !leaveEdit()) return;
    TakasGuncelle(session_, this);
    moveTo(index_);
}

void TFormTakas::reject()
{
    // Esc cancels an edit first; without one it closes.
    if (editing_) {
        cancelEdit();
        return;
    }
    QDialog::reject();
}

void TFormTakas::closeEvent(QCloseEvent* event)
{
    // The title bar's close stores a row being edited, or the window stays with the warning.
    if (editing_ && !leaveEdit()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace selvar
