#include "reports/ui/private_forms.h"

#include "core/dates.h"
#include "core/format.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "platform/ui/command.h"
#include "print/canvas.h"
#include "print/print_service.h"
#include "print/report_fonts.h"
#include "reports/cash_reports.h"
#include "reports/ui/report_date_box.h"
#include "reports/ui/reports.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, std::function<void()> run)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    QObject::connect(b, &QPushButton::clicked, parent, [run] { run(); });
    return b;
}

QTableWidgetItem* right(const QString& text)
{
    auto* i = new QTableWidgetItem(text);
    i->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return i;
}

QString period(const QDate& start, const QDate& end) { return dateText(start) + u"-"_s + dateText(end); }
}  // namespace

// ---------------------------------------------------------------- the password

TOZELWordDlg1::TOZELWordDlg1(Session& session, QWidget* parent) : QDialog(parent), session_(session)
{
    setObjectName(u"TOZELWordDlg1"_s);
    setWindowTitle(u"ÖZEL ŞİFRE TASDİK"_s);
    box_ = new QLineEdit(this);
    box_->setObjectName(u"Sifre"_s);
    box_->setEchoMode(QLineEdit::Password);
    auto* ok = new QPushButton(u"Tamam"_s, this);
    ok->setDefault(true);
    auto* cancel = new QPushButton(u"Vazgeç"_s, this);
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TOZELWordDlg1::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(u"Özel Şifreyi Verin"_s, this));
    layout->addWidget(box_);
    layout->addLayout(buttons);
    box_->setFocus();
}

void TOZELWordDlg1::accept()
{
    bool match = false;
    runCommand(session_.prompter, [&] { match = privatePasswordMatches(session_.db, box_->text()); });
    if (match) {
        QDialog::accept();
        return;
    }
    session_.prompter.warning(WrongPrivatePasswordMessage);
    box_->selectAll();
    box_->setFocus();
}

// ---------------------------------------------------------------- "Özel Rapor"

TOzelVeGizliForm::TOzelVeGizliForm(Session& session, QWidget* parent) : QDialog(parent), session_(session)
{
    setObjectName(u"TOzelVeGizliForm"_s);
    setWindowTitle(u"Özel Rapor"_s);
    start_ = new ReportDateBox(session, this);
    start_->setObjectName(u"Baslangic"_s);
    end_ = new ReportDateBox(session, this);
    end_->setObjectName(u"Bitis"_s);
    start_->setDate(session.clock.today());
    end_->setDate(session.clock.today());
    auto* dates = new QGroupBox(u"Tarih Aralığı"_s, this);
    auto* dateRow = new QHBoxLayout(dates);
    dateRow->addWidget(start_);
    dateRow->addWidget(end_);
    dateRow->addStretch();
    QWidget* parentWindow = this;
    buttons_ << makeButton(this, u"Kasa"_s, u"Kasa &Raporu"_s, [this, parentWindow] {
        open([&](const QDate& a, const QDate& b) {
            TGizliForm f(session_, a, b, parentWindow);
            f.exec();
        });
    });
    buttons_ << makeButton(this, u"Satislar"_s, u"&Satışlar"_s, [this, parentWindow] {
        open([&](const QDate& a, const QDate& b) {
            TGizListForm f(session_, a, b, false, parentWindow);
            if (f.hasRows()) f.exec();
        });
    });
    buttons_ << makeButton(this, u"Alislar"_s, u"&Alışlar"_s, [this, parentWindow] {
        open([&](const QDate& a, const QDate& b) {
            TGizListForm f(session_, a, b, true, parentWindow);
            if (f.hasRows()) f.exec();
        });
    });
    buttons_ << makeButton(this, u"Isletim"_s, u"&Program İşletimi"_s, [this, parentWindow] {
        open([&](const QDate& a, const QDate& b) { IsletimAc(session_, a, b, parentWindow); });
    });
    buttons_ << makeButton(this, u"Karlilik"_s, u"&Karlılık"_s, [this, parentWindow] {
        open([&](const QDate& a, const QDate& b) {
            TQRGizKarForm f(session_, a, b, parentWindow);
            f.exec();
        });
    });
    buttons_ << makeButton(this, u"Kapat"_s, u"Kapa&t"_s, [this] { reject(); });
    auto* grid = new QGridLayout;
    for (int i = 0; i < buttons_.size(); ++i) grid->addWidget(buttons_[i], i / 3, i % 3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(dates);
    layout->addLayout(grid);
    start_->setFocus();
}

QLineEdit* TOzelVeGizliForm::startBox() const { return start_; }
QLineEdit* TOzelVeGizliForm::endBox() const { return end_; }

QPushButton* TOzelVeGizliForm::button(const QString& name) const
{
    for (QPushButton* b : buttons_)
        if (b->objectName() == name) return b;
    return nullptr;
}

std::optional<std::pair<QDate, QDate>> TOzelVeGizliForm::period()
{
    // A blank or reversed period is refused before any report reads it.
    const std::optional<DateRange> r = checkDateRange(session_, start_->displayText(), end_->displayText());
    if (!r) return std::nullopt;
    return std::pair{r->first, r->last};
}

void TOzelVeGizliForm::open(const std::function<void(const QDate&, const QDate&)>& report)
{
    const auto p = period();
    if (!p) return;
    runCommand(session_.prompter, [&] { report(p->first, p->second); });
}

void TOzelVeGizliForm::done(int result)
{
    runCommand(session_.prompter, [this] { logPrivateReportViewed(session_); });
    QDialog::done(result);
}

// ---------------------------------------------------------------- the cash report

TGizliForm::TGizliForm(Session& session, const QDate& start, const QDate& end, QWidget* parent)
    : QDialog(parent), session_(session), start_(start), end_(end)
{
    setObjectName(u"TGizliForm"_s);
    setWindowTitle(period(start, end) + u" Arası Kasa Raporu"_s);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    runCommand(session_.prompter, [this] { summary_ = cashSummary(session_.db, start_, end_); });
    QApplication::restoreOverrideCursor();
    const CashSummary& s = summary_;
    auto* grid = new QGridLayout;
    int row = 0;
    const auto line = [&](const QString& name, const QString& caption, const QString& value) {
        grid->addWidget(new QLabel(caption, this), row, 0);
        auto* v = new QLabel(value, this);
        v->setObjectName(name);
        v->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(v, row++, 1);
    };
    line(u"AlisKdv"_s, u"Alışların K.D.V. Toplamı :"_s, wholeAmount(s.purchaseVat));
    line(u"AlisKdvsiz"_s, u"Alışların K.D.V.siz Toplamı :"_s, wholeAmount(s.purchaseNet));
    line(u"SatisKdv"_s, u"Satışların K.D.V. Toplamı :"_s, wholeAmount(s.salesVat));
    line(u"SatisKdvsiz"_s, u"Satışların K.D.V.siz Toplamı :"_s, wholeAmount(s.salesNet));
    line(u"Perakende"_s, u"Perakende Satışlar :"_s, countedAmount(s.retail, s.retailSales, u" Adet Sat.)"_s));
    line(u"Fatura"_s, u"Şahıs Faturaları :"_s, countedAmount(s.privateInvoices, s.invoices, u" Adet Fat.)"_s));
    line(u"Recete"_s, u"Perakende Reçeteler :"_s, countedAmount(s.plainPrescriptions, s.plainCount, u" Adet Reç.)"_s));
    line(u"KrmRecete"_s, u"Fat.Kesilmemiş Krm.Reç. :"_s,
         countedAmount(s.uninvoiced, s.uninvoicedCount, u" Adet Krm.Rç.)"_s));
    line(u"Hkp"_s, u"Hasta Katılım Payı :"_s, wholeAmount(s.patientShares));
    line(u"Iskonto"_s, u"Satış İskontosu Toplamı :"_s, wholeAmount(s.discounts));
    line(u"NakitKasa"_s, u"Nakit Kasa Toplamı :"_s, wholeAmount(s.cashRegister));
    line(u"GenelKasa"_s, u"Genel Kasa Toplamı :"_s, wholeAmount(s.general));

    movements_ = new QTableWidget(int(s.groups.size()), 5, this);
    movements_->setObjectName(u"Hareketler"_s);
    movements_->setHorizontalHeaderLabels({u"Kasa Cari Hesap Borç Toplamı"_s, u"Kasa Cari Hesap Alacak Toplamı"_s,
                                           u"TÜRÜ"_s, u"Son Durum"_s, u"Adet"_s});
    movements_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    movements_->verticalHeader()->hide();
    movements_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    for (int r = 0; r < s.groups.size(); ++r) {
        const MovementGroup& g = s.groups[r];
        movements_->setItem(r, 0, right(wholeAmount(g.credit)));
        movements_->setItem(r, 1, right(wholeAmount(g.debit)));
        movements_->setItem(r, 2, new QTableWidgetItem(g.kind));
        movements_->setItem(r, 3, new QTableWidgetItem(g.state));
        movements_->setItem(r, 4, right(QString::number(g.count)));
    }
    totals_ = new QTableWidget(1, 3, this);
    totals_->setObjectName(u"Toplamlar"_s);
    totals_->setHorizontalHeaderLabels({u"Kasa Cari Hesap Borç Toplamı"_s, u"Kasa Cari Hesap Alacak Toplamı"_s, u"KALAN"_s});
    totals_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    totals_->verticalHeader()->hide();
    totals_->setMaximumHeight(60);
    totals_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    totals_->setItem(0, 0, right(wholeAmount(s.totalCredit)));
    totals_->setItem(0, 1, right(wholeAmount(s.totalDebit)));
    totals_->setItem(0, 2, right(wholeAmount(s.remaining())));

    auto* note = new QLabel(
        u"Nakit kasa: perakende satışlar, şahıs faturaları, kurumsuz reçeteler ve hasta katılım payları toplamından "
        u"veresiye satışlar, nakit hareketleri ve satış iskontoları düşülerek bulunur. Genel kasa: nakit kasaya cari "
        u"hesapların kapatılmış ve açık bakiyeleri ile faturası kesilmemiş kurum reçeteleri eklenerek bulunur."_s,
        this);
    note->setWordWrap(true);
    auto* warning = new QLabel(u"Uyarı: Ayrıntılı rapor için günlük, haftalık ya da aylık aralıklar seçin; bir yıllık "
                               u"ayrıntılı rapor uzun sürer."_s,
                               this);
    warning->setWordWrap(true);
    warning->setStyleSheet(u"color: #a00000"_s);
    detail_ = makeButton(this, u"Ayrintili"_s, u"Ayrıntılı Kasa Raporu  ve Dökümü"_s, [this] {
        TKasaBForm f(session_, start_, end_, this);
        f.exec();
    });
    detail_->setAutoDefault(true);
    detail_->setDefault(true);
    auto* movementsPrint = makeButton(this, u"TureGore"_s, u"Türüne Göre Cari Hesap Dökümü"_s, [this] {
        if (!session_.print) return;
        auto r = movementReport(summary_, period(start_, end_) + u" KASA CARİ HESAP TOPLAMI"_s);
        runCommand(session_.prompter, [&] { session_.print->preview(*r); });
    });
    auto* calculator = makeButton(this, u"Hesap"_s, u"Hesap Makinesi"_s, [this] {
        if (session_.platform && !session_.platform->startCalculator())
            session_.prompter.warning(u"Hesap makinesi bulunamadı."_s);
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(detail_);
    buttons->addWidget(movementsPrint);
    buttons->addWidget(calculator);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(new QLabel(u"TÜRÜNE VE SON DURUMUNA GÖRE CARİ HESAP ALACAKLAR VE BORÇLAR"_s, this));
    layout->addWidget(movements_, 1);
    layout->addWidget(totals_);
    layout->addWidget(note);
    layout->addWidget(warning);
    layout->addLayout(buttons);
    resize(820, 720);
    detail_->setFocus();
}

QLabel* TGizliForm::value(const QString& name) const { return findChild<QLabel*>(name); }

// ---------------------------------------------------------------- the day-by-day table

TKasaBForm::TKasaBForm(Session& session, const QDate& start, const QDate& end, QWidget* parent)
    : QDialog(parent), session_(session)
{
    setObjectName(u"TKasaBForm"_s);
    setWindowTitle(period(start, end) + u" Arası Kasa Raporu"_s);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    runCommand(session_.prompter, [&] { rows_ = buildKasaTable(session_.db, start, end); });
    QApplication::restoreOverrideCursor();
    const QStringList headings{u"Tarih"_s,       u"Prk.Satışlar"_s, u"Prk.Reç.Sat."_s, u"Şhs.Fat."_s,       u"Hst.Kat.Pay."_s,
                               u"Veresiye S."_s, u"Nakit Tah."_s,   u"Nakit Öde."_s,   u"Nakit Kasa Top"_s, u"İskonto"_s};
    grid_ = new QTableWidget(int(rows_.size()), int(headings.size()), this);
    grid_->setObjectName(u"Kasa"_s);
    grid_->setHorizontalHeaderLabels(headings);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    for (int r = 0; r < rows_.size(); ++r) {
        const KasaRow& k = rows_[r];
        grid_->setItem(r, 0, new QTableWidgetItem(k.day));
        int c = 1;
        for (double v : {k.retail, k.plainPrescriptions, k.privateInvoices, k.patientShares, k.creditSales, k.cashIn,
                         k.cashOut, k.total, k.discounts})
            grid_->setItem(r, c++, right(formatMask(u"#,#"_s, v)));
    }
    margin_ = new QSpinBox(this);
    margin_->setObjectName(u"Marjin"_s);
    margin_->setRange(0, 100);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(u"Yazıcı Sol Marjin (mm)"_s, this));
    row->addWidget(margin_);
    row->addWidget(makeButton(this, u"Onizleme"_s, u"Kasa &Raporu Ön İzleme"_s, [this] { preview(); }));
    row->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(row);
    resize(1000, 560);
}

void TKasaBForm::preview()
{
    if (!session_.print) return;
    auto r = kasaReport(rows_, windowTitle(), margin_->text().isEmpty() ? std::nullopt : std::optional<int>(margin_->value()));
    runCommand(session_.prompter, [&] { session_.print->preview(*r); });
}

// ---------------------------------------------------------------- the two lists

TGizListForm::TGizListForm(Session& session, const QDate& start, const QDate& end, bool purchases, QWidget* parent)
    : QDialog(parent), session_(session), purchases_(purchases)
{
    setObjectName(purchases ? u"TGizAlForm"_s : u"TGizSatForm"_s);
    setWindowTitle(period(start, end) + (purchases ? u" ARASI ALIŞ LİSTESİ"_s : u" ARASI SATIŞ LİSTESİ"_s));
    runCommand(session_.prompter, [&] {
        rows_ = purchases ? purchaseList(session_.db, start, end, &sum_) : salesList(session_.db, start, end, &sum_);
    });
    if (rows_.isEmpty()) session_.prompter.information(purchases ? NoPurchasesMessage : NoSalesMessage);
    QStringList headings{purchases ? u"Alış Tarihi"_s : u"Satış Tarihi"_s, u"Ürün Adı"_s, u"Fiyatı"_s, u"Miktar"_s,
                         u"TUTAR"_s};
    if (!purchases) headings << u"Satış Tipi"_s;
    grid_ = new QTableWidget(int(rows_.size()), int(headings.size()), this);
    grid_->setObjectName(u"Liste"_s);
    grid_->setHorizontalHeaderLabels(headings);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    for (int r = 0; r < rows_.size(); ++r) {
        const ListRow& l = rows_[r];
        grid_->setItem(r, 0, new QTableWidgetItem(l.when.toString(u"dd.MM.yyyy hh:mm"_s)));
        grid_->setItem(r, 1, new QTableWidgetItem(l.productName));
        grid_->setItem(r, 2, right(numberText(l.price, 2)));
        grid_->setItem(r, 3, right(QString::number(l.quantity)));
        grid_->setItem(r, 4, right(numberText(l.amount, 2)));
        if (!purchases) grid_->setItem(r, 5, new QTableWidgetItem(saleKindText(l.kind)));
    }
    total_ = new QLabel(wholeAmount(sum_), this);
    total_->setObjectName(u"Toplam"_s);
    margin_ = new QSpinBox(this);
    margin_->setObjectName(u"Marj"_s);
    margin_->setRange(0, 20);
    int margin = 0;
    const QString key = purchases ? u"gizlial"_s : u"gizlisat"_s;
    if (loadReportFont(session_.db, key, font_, margin) && margin > 0) margin_->setValue(margin);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(u"Toplam :"_s, this));
    row->addWidget(total_);
    row->addStretch();
    row->addWidget(new QLabel(u"Yazıcı Sol Marjı (cm)"_s, this));
    row->addWidget(margin_);
    row->addWidget(makeButton(this, u"Font"_s, u"Yazı &Fontu"_s, [this] {
        if (!session_.print) return;
        if (const std::optional<FontDef> f = session_.print->chooseFont(font_, FontChoice::FixedPitch)) {
            font_ = *f;
            fontChanged_ = true;
        }
    }));
    row->addWidget(makeButton(this, u"Yazici"_s, u"&Yazıcı"_s, [this] { print(); }));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(row);
    resize(900, 560);
}

TGizListForm::~TGizListForm()
{
    if (!fontChanged_) return;
    const QString key = purchases_ ? u"gizlial"_s : u"gizlisat"_s;
    runCommand(session_.prompter, [&] { saveReportFont(session_.db, key, font_, margin_->value()); });
}

void TGizListForm::print()
{
    if (!session_.print) return;
    std::unique_ptr<Canvas> canvas =
        session_.print->beginJob(purchases_ ? u"ALIŞLAR LİSTESİ"_s : u"SATIŞLAR LİSTESİ"_s, PageSetup(), true);
    if (!canvas) return;
    canvas->setFont(font_);
    runCommand(session_.prompter, [&] {
        drawList(*canvas, windowTitle(), rows_, sum_, margin_->value(), purchases_, session_.clock.today());
    });
    canvas->endDocument();
}

// ---------------------------------------------------------------- profit

TQRGizKarForm::TQRGizKarForm(Session& session, const QDate& start, const QDate& end, QWidget* parent)
    : QDialog(parent), session_(session), start_(start), end_(end)
{
    setObjectName(u"TQRGizKarForm"_s);
    setWindowTitle(dateText(start) + u"-"_s + dateText(end) + u" Arası Karlılık Raporu"_s);
    auto* box = new QGroupBox(u"Satış Tipi"_s, this);
    auto* boxLayout = new QVBoxLayout(box);
    for (const QString& c : profitKindCaptions()) {
        auto* r = new QRadioButton(c, box);
        kinds_ << r;
        boxLayout->addWidget(r);
    }
    kinds_.first()->setChecked(true);
    auto* go = makeButton(this, u"Onizleme"_s, u"&Ön İzleme/Yazdır"_s, [this] { preview(); });
    go->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(u"Alışı Girilmiş Ürünlerin İlgili Olduğu Tarihin En Yüksek Giriş Fiyatına Göre "
                                 u"Karlılık Değerlendirmesi"_s,
                                 this));
    layout->addWidget(box);
    layout->addWidget(go);
}

void TQRGizKarForm::setKind(int kind)
{
    if (kind >= 0 && kind < kinds_.size()) kinds_[kind]->setChecked(true);
}

void TQRGizKarForm::preview()
{
    if (!session_.print) return;
    int kind = 0;
    for (int i = 0; i < kinds_.size(); ++i)
        if (kinds_[i]->isChecked()) kind = i;
    runCommand(session_.prompter, [&] {
        auto r = profitReport(profitRows(session_.db, start_, end_, kind), start_, end_, profitKindCaptions()[kind]);
        session_.print->preview(*r);
    });
}

// ---------------------------------------------------------------- opening

void OzelRaporAc(Session& session, QWidget* parent)
{
    TOZELWordDlg1 password(session, parent);
    if (password.exec() != QDialog::Accepted) return;
    TOzelVeGizliForm form(session, parent);
    form.exec();
}

}  // namespace selvar
