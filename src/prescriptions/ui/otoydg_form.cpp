#include "prescriptions/ui/otoydg_form.h"

#include "companion/companion.h"
#include "core/dates.h"
#include "core/format.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "platform/ui/command.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

// ---------------------------------------------------------------- the run

TOtoYDgForm::TOtoYDgForm(Session& session, QString institution, int option, QDate start, RepricingBackPrints prints,
                         QWidget* parent)
    : QDialog(parent), session_(session), institution_(std::move(institution)), option_(option), start_date_(start),
      prints_(std::move(prints))
{
    setObjectName(u"TOtoYDgForm"_s);
    setWindowTitle(u"Otomatik Reçete Yeniden Değerlendirme"_s);
    auto* what = new QLabel(dateText(start_date_) + u" reçete Tarinden itibaren "_s
                                + automaticRepricingText(option_, institution_),
                            this);
    what->setObjectName(u"Secenek"_s);
    QFont bold = what->font();
    bold.setBold(true);
    what->setFont(bold);
    start_ = new QPushButton(u"Otomatikman Yeniden Değerlendirmeyi &Başlat"_s, this);
    start_->setObjectName(u"Baslat"_s);
    start_->setAutoDefault(false);
    connect(start_, &QPushButton::clicked, this, &TOtoYDgForm::run);
    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(u"Rapor"_s);
    memo_->setReadOnly(true);
    sales_ = new QListWidget(this);
    sales_->setObjectName(u"SatisNolari"_s);
    sales_->setMaximumWidth(240);
    auto* listBox = new QVBoxLayout;
    listBox->addWidget(new QLabel(u"Değerlendirilen Reçetelerin Satış Noları"_s, this));
    listBox->addWidget(sales_, 1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(memo_, 1);
    middle->addLayout(listBox);
    auto* choice = new QGroupBox(u"Döküm &Seçeneği"_s, this);
    auto* choiceLayout = new QHBoxLayout(choice);
    stamped_ = new QRadioButton(u"Kaşeli Döküm"_s, choice);
    defined_ = new QRadioButton(u"Tanımlı Döküm"_s, choice);
    stamped_->setChecked(true);
    choiceLayout->addWidget(stamped_);
    choiceLayout->addWidget(defined_);
    print_ = new QPushButton(u"Listede Seçili Satış No'ya ait Reç.nin &Dökümünü Ver"_s, this);
    print_->setObjectName(u"Dokum"_s);
    print_->setAutoDefault(false);
    print_->setEnabled(false);
    connect(print_, &QPushButton::clicked, this, &TOtoYDgForm::print);
    auto* close = new QPushButton(u"&Tamam"_s, this);
    close->setObjectName(u"Tamam"_s);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(choice);
    bottom->addWidget(print_);
    bottom->addStretch();
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(what);
    layout->addWidget(start_);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);
    resize(820, 520);
}

void TOtoYDgForm::run()
{
    if (!start_->isEnabled()) return;
    start_->setEnabled(false);  // one run per window
    AutomaticRepricing r;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    runCommand(session_.prompter, [&] { r = runAutomaticRepricing(session_, option_, institution_, start_date_); });
    QApplication::restoreOverrideCursor();
    memo_->setPlainText(r.memo.join(u'\n'));
    for (double s : r.saleNumbers) sales_->addItem(format(u"%0.0f", s));
    if (sales_->count() > 0) {
        sales_->setCurrentRow(0);
        print_->setEnabled(true);
        sales_->setFocus();
    }
}

void TOtoYDgForm::print()
{
    QListWidgetItem* item = sales_->currentItem();
    if (!item) return;
    const auto& sheet = stamped_->isChecked() ? prints_.stamped : prints_.defined;
    if (!sheet) return;
    session_.PrintRequest.saleNo = item->text().toDouble();
    runCommand(session_.prompter, [&] { sheet(this); });
    session_.PrintRequest.saleNo = 0;
}

// ---------------------------------------------------------------- the query

TOtoYedgTrhForm::TOtoYedgTrhForm(Session& session, RepricingBackPrints prints, QWidget* parent)
    : QDialog(parent), session_(session), prints_(std::move(prints))
{
    setObjectName(u"TOtoYedgTrhForm"_s);
    setWindowTitle(u"Otomatik Y.Değerlendirme Sorgusu"_s);
    auto* optionsBox = new QGroupBox(u"Yeniden Değerlendirme Seçenekleri"_s, this);
    auto* optionsLayout = new QVBoxLayout(optionsBox);
    options_ = new QButtonGroup(this);
    const QStringList items{u"Tüm Kurumlar için Reçete Tarihine uygun Fiyatı ver"_s,
                            u"Seçili Kurum için Reçete Tarihine uygun Fiyatı ver"_s,
                            u"Tüm Kurumlar için Son Fiyatı ver"_s, u"Seçili Kurum için için Son Fiyatı ver"_s};
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], optionsBox);
        b->setChecked(i == 0);
        options_->addButton(b, i);
        optionsLayout->addWidget(b);
    }
    institution_ = new QLineEdit(this);
    institution_->setObjectName(u"Kurum"_s);
    institution_->setReadOnly(true);
    auto* choose = new QPushButton(u"Kurum Seç (F5)"_s, this);
    choose->setObjectName(u"KurumSec"_s);
    choose->setAutoDefault(false);
    connect(choose, &QPushButton::clicked, this, &TOtoYedgTrhForm::chooseInstitution);
    auto* f5 = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(f5, &QShortcut::activated, this, &TOtoYedgTrhForm::chooseInstitution);
    date_ = new QLineEdit(this);
    date_->setObjectName(u"Tarih"_s);
    date_->setInputMask(u"99.99.9999;_"_s);
    date_->setText(u"01.01.1996"_s);
    date_->setMaximumWidth(110);
    auto* form = new QHBoxLayout;
    form->addWidget(new QLabel(u"Kurum"_s, this));
    form->addWidget(institution_);
    form->addWidget(choose);
    form->addSpacing(20);
    form->addWidget(new QLabel(u"Reçete tarihi"_s, this));
    form->addWidget(date_);
    form->addStretch();
    auto* warning = new QLabel(u"Uyarı : Bu bölüm kurum kartındaki Y.Değ. seçeneğini göz önüe almadan yukarıda "
                               u"işaretlediğiniz Y.Değ. seçeneğini göz önüne alarak işlem yapar.İşleme başlamadan önce "
                               u"Reçete ile ilgili bölümleri kapatın."_s,
                               this);
    warning->setObjectName(u"Uyari"_s);
    warning->setWordWrap(true);
    warning->setStyleSheet(u"color: #a00000"_s);
    run_ = new QPushButton(u"Otomatikman Yeniden Değerlendir"_s, this);
    run_->setObjectName(u"Degerlendir"_s);
    run_->setDefault(true);
    connect(run_, &QPushButton::clicked, this, &TOtoYedgTrhForm::run);
    auto* close = new QPushButton(u"&Kapat"_s, this);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(run_);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(optionsBox);
    layout->addLayout(form);
    layout->addWidget(warning);
    layout->addLayout(buttons);
    resize(640, 340);
}

void TOtoYedgTrhForm::chooseInstitution()
{
    runCommand(session_.prompter, [this] {
        if (!session_.companion) return;
        const QString code = session_.companion->BrKurumCreate(1).trimmed();
        if (!code.isEmpty()) institution_->setText(code);
    });
}

void TOtoYedgTrhForm::run()
{
    const int option = options_->checkedId();
    const QString refusal = automaticRepricingRefusal(option, institution_->text());
    if (!refusal.isEmpty()) {
        session_.prompter.warning(refusal);
        return;
    }
    const std::optional<QDate> start = repricingStart(date_->displayText());
    if (!start) {
        session_.prompter.beep();
        date_->setFocus();
        return;
    }
    OtomatikDegerlendir(session_, institution_->text().trimmed(), option, *start, prints_, this);
}

bool OtomatikDegerlendir(Session& session, const QString& institution, int option, const QDate& start,
                         const RepricingBackPrints& prints, QWidget* parent)
{
    TOtoYDgForm form(session, institution, option, start, prints, parent);
    return form.exec() == QDialog::Accepted;
}

void OtomatikDegerlendirmeSorgusu(Session& session, const RepricingBackPrints& prints, QWidget* parent)
{
    TOtoYedgTrhForm form(session, prints, parent);
    form.exec();
}

}  // namespace selvar
