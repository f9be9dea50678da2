#include "reports/ui/kaseli_form.h"

#include "platform/session.h"
#include "platform/ui/command.h"
#include "reports/ui/backprint.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {

const QList<std::pair<QString, QString>> kChecks{
    {u"RECKAYAZ"_s, u"Reç.Kayıt Def. &No Yazılsın"_s},      {u"VIZEYAZ"_s, u"Vize &Trh. Yazılsın"_s},
    {u"PRTOKOL"_s, u"&Protokol No Yazılsın"_s},            {u"SIRANO"_s, u"Reçetelere Sıra No &Verilsin"_s},
    {u"DOKUMTOP"_s, u"&Döküm Sonu Toplamı Yazılsın"_s},    {u"ITHALYAZ"_s, u"İthal ve Y&erli İlaçı ayır,2 dök.ver"_s},
    {u"CERCEVE"_s, u"İlaç ve Hesapları &Çerçeveli Bas"_s}, {u"HERECAYRI"_s, u"&Her Reçeteyi Ayrı Sayfaya Bas"_s}};
const QStringList kOrderCodes{u"D"_s, u"R"_s, u"A"_s, u"S"_s};
const QStringList kOrderCaptions{u"Reç.Kayıt Def.No Sırası"_s, u"Reçete Tarihi Sırası"_s, u"Veriliş Tarihi Sırası"_s,
                                 u"Seri No Sırası"_s};
const QStringList kCategoryCaptions{u"İlaçlar"_s, u"İlaç Beraberi"_s, u"Özel Katılım"_s, u"İthal"_s, u"Raporlu İthal"_s};

QButtonGroup* choiceGroup(QWidget* parent, QBoxLayout* layout, const QStringList& captions)
{
    auto* g = new QButtonGroup(parent);
    for (int i = 0; i < captions.size(); ++i) {
        auto* r = new QRadioButton(captions[i], parent);
        g->addButton(r, i);
        layout->addWidget(r);
    }
    return g;
}

QSpinBox* spin(QWidget* parent, int from, int to)
{
    auto* s = new QSpinBox(parent);
    s->setRange(from, to);
    return s;
}

}  // namespace

TQRMDForm::TQRMDForm(Session& session, const QString& institution, const QString& patientType, double saleNo,
                     QWidget* parent)
    : QDialog(parent), session_(session), logic_(session, institution, patientType, saleNo)
{
    setObjectName(u"TQRMDForm"_s);
    setWindowTitle(u"Kaşeli Reçete Arkası Dökümü"_s);
    auto* layout = new QVBoxLayout(this);
    auto* checks = new QGridLayout;
    for (int i = 0; i < kChecks.size(); ++i) {
        auto* c = new QCheckBox(kChecks[i].second, this);
        c->setObjectName(kChecks[i].first);
        checks_.insert(kChecks[i].first, c);
        checks->addWidget(c, i / 2, i % 2);
    }
    layout->addLayout(checks);

    auto* orderBox = new QGroupBox(u"Sıralama"_s, this);
    order_ = choiceGroup(orderBox, new QHBoxLayout(orderBox), kOrderCaptions);
    layout->addWidget(orderBox);
    auto* directions = new QHBoxLayout;
    auto* pageBox = new QGroupBox(u"Sayfa"_s, this);
    orientation_ = choiceGroup(pageBox, new QHBoxLayout(pageBox), {u"Dikey"_s, u"Yatay"_s});
    directions->addWidget(pageBox);
    auto* numberBox = new QGroupBox(u"Numara Başlığı"_s, this);
    registerCaption_ = choiceGroup(numberBox, new QHBoxLayout(numberBox), {u"Ecz.Protokol No"_s, u"Reç.Kayıt Def.No"_s});
    directions->addWidget(numberBox);
    layout->addLayout(directions);

    auto* numbers = new QGridLayout;
    columns_ = spin(this, 1, 6);
    margin_ = spin(this, 0, 100);
    gap_ = spin(this, 0, 200);
    paperHeight_ = spin(this, 0, 9999);
    paperWidth_ = spin(this, 0, 9999);
    paper_ = new QComboBox(this);
    paper_->setObjectName(u"SAYFA_TIPI"_s);
    for (const PaperChoice& p : logic_.papers()) paper_->addItem(p.name, p.number);
    const QList<std::pair<QString, QWidget*>> rows{
        {u"Yan Yana Reçete"_s, columns_}, {u"Sol Marjin (mm)"_s, margin_},       {u"Reçeteler Arası Boşluk (mm)"_s, gap_},
        {u"Kağıt"_s, paper_},             {u"Kağıt Boyu (0,1 mm)"_s, paperHeight_}, {u"Kağıt Eni (0,1 mm)"_s, paperWidth_}};
    for (int i = 0; i < rows.size(); ++i) {
        numbers->addWidget(new QLabel(rows[i].first, this), i, 0);
        numbers->addWidget(rows[i].second, i, 1);
    }
    for (int b = 0; b < 5; ++b) {
        suffixes_[size_t(b)] = new QLineEdit(this);
        suffixes_[size_t(b)]->setMaxLength(10);
        numbers->addWidget(new QLabel(kCategoryCaptions[b] + u" yazısı"_s, this), b, 2);
        numbers->addWidget(suffixes_[size_t(b)], b, 3);
    }
    layout->addLayout(numbers);

    auto* buttons = new QHBoxLayout;
    auto addButton = [&](const QString& name, const QString& caption, std::function<void()> run) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, run] {
            readControls();
            runCommand(session_.prompter, run);
        });
        buttons_.insert(name, b);
        buttons->addWidget(b);
    };
    addButton(u"Yazdir"_s, u"&Yazdır"_s, [this] { logic_.print(); });
    addButton(u"Onizleme"_s, u"R.Öni&zleme"_s, [this] { logic_.preview(); });
    addButton(u"Font"_s, u"Yazıcı &Fontu"_s, [this] { logic_.chooseFont(); });
    addButton(u"Cikis"_s, u"Çı&kış"_s, [this] { accept(); });
    layout->addLayout(buttons);

    // One sheet: what orders, numbers, sums and spaces many prescriptions does not apply.
    if (logic_.singleSheet()) {
        for (const char* f : {"SIRANO", "DOKUMTOP"}) checks_[QString::fromLatin1(f)]->hide();
        orderBox->hide();
        columns_->hide();
        gap_->hide();
        numbers->itemAtPosition(0, 0)->widget()->hide();
        numbers->itemAtPosition(2, 0)->widget()->hide();
    }
    showOptions();
}

void TQRMDForm::showOptions()
{
    const StampedOptions& o = logic_.options();
    const QList<std::pair<QString, bool>> flags{{u"RECKAYAZ"_s, o.registerNo}, {u"VIZEYAZ"_s, o.visa},
                                                {u"PRTOKOL"_s, o.protocol},    {u"SIRANO"_s, o.runningNo},
                                                {u"DOKUMTOP"_s, o.closingTotals}, {u"ITHALYAZ"_s, o.twoListings},
                                                {u"CERCEVE"_s, o.frames},      {u"HERECAYRI"_s, o.pagePerPrescription}};
    for (const auto& [field, on] : flags) checks_[field]->setChecked(on);
    order_->button(std::max<int>(0, int(kOrderCodes.indexOf(o.order))))->setChecked(true);
    orientation_->button(o.orientation == u"Y"_s ? 1 : 0)->setChecked(true);
    registerCaption_->button(o.registerCaption == u"E"_s ? 0 : 1)->setChecked(true);
    columns_->setValue(o.columns);
    margin_->setValue(o.margin);
    gap_->setValue(o.gap);
    paperHeight_->setValue(o.paperHeight);
    paperWidth_->setValue(o.paperWidth);
    const int paper = paper_->findData(o.paper);
    if (paper >= 0) paper_->setCurrentIndex(paper);
    for (size_t b = 0; b < suffixes_.size(); ++b) suffixes_[b]->setText(o.suffixes[b]);
}

void TQRMDForm::readControls()
{
    StampedOptions& o = logic_.options();
    o.registerNo = checks_[u"RECKAYAZ"_s]->isChecked();
    o.visa = checks_[u"VIZEYAZ"_s]->isChecked();
    o.protocol = checks_[u"PRTOKOL"_s]->isChecked();
    o.runningNo = checks_[u"SIRANO"_s]->isChecked();
    o.closingTotals = checks_[u"DOKUMTOP"_s]->isChecked();
    o.twoListings = checks_[u"ITHALYAZ"_s]->isChecked();
    o.frames = checks_[u"CERCEVE"_s]->isChecked();
    o.pagePerPrescription = checks_[u"HERECAYRI"_s]->isChecked();
    o.order = kOrderCodes.value(order_->checkedId(), u"D"_s);
    o.orientation = orientation_->checkedId() == 1 ? u"Y"_s : u"D"_s;
    o.registerCaption = registerCaption_->checkedId() == 0 ? u"E"_s : u"R"_s;
    o.columns = columns_->value();
    o.margin = margin_->value();
    o.gap = gap_->value();
    o.paperHeight = paperHeight_->value();
    o.paperWidth = paperWidth_->value();
    if (paper_->currentIndex() >= 0) o.paper = paper_->currentData().toString();
    for (size_t b = 0; b < suffixes_.size(); ++b) o.suffixes[b] = suffixes_[b]->text();
}

void TQRMDForm::done(int result)
{
    readControls();
    runCommand(session_.prompter, [this] { logic_.closing(); });
    QDialog::done(result);
}

void KaseliDokum(Session& session, const QString& institution, const QString& patientType, QWidget* parent)
{
    const double saleNo = session.PrintRequest.saleNo;
    std::unique_ptr<TQRMDForm> form;
    if (!runCommand(session.prompter,
                    [&] { form = std::make_unique<TQRMDForm>(session, institution, patientType, saleNo, parent); }))
        return;
    if (saleNo > 0) session.PrintRequest = BackPrintRequest{};
    form->exec();
}

}  // namespace selvar
