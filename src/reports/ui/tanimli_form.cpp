#include "reports/ui/tanimli_form.h"

#include "platform/session.h"
#include "platform/ui/command.h"
#include "reports/ui/backprint.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
const QStringList kOrderCodes{u"D"_s, u"R"_s, u"A"_s, u"S"_s};
const QStringList kOrderCaptions{u"Reç.Kayıt Def.No Sırası"_s, u"Reçete Tarihi Sırası"_s, u"Veriliş Tarihi Sırası"_s,
                                 u"Seri No Sırası"_s};
}  // namespace

TQTanimRecForm::TQTanimRecForm(Session& session, const QString& titlePrefix, const QString& institution,
                               const QString& patientType, double saleNo, QWidget* parent)
    : QDialog(parent), session_(session), logic_(session, titlePrefix, institution, patientType, saleNo)
{
    setObjectName(u"TQTanimRecForm"_s);
    setWindowTitle(u"Reçete Arkası Dökümleri"_s);
    auto* layout = new QVBoxLayout(this);
    auto* menu = new QMenuBar(this);
    layout->setMenuBar(menu);

    auto command = [this](std::function<void()> run) {
        return [this, run] {
            readControls();
            runCommand(session_.prompter, run);
        };
    };
    const std::function<void()> preview = command([this] { logic_.preview(); });
    const std::function<void()> print = command([this] { logic_.print(); });
    const std::function<void()> define = command([this] { logic_.defineLayout(); });
    menu->addAction(u"REÇ.ÖNGÖRÜNÜM"_s, this, preview);
    menu->addAction(u"REÇ.YAZDIR"_s, this, print);
    menu->addAction(u"RECETE TANIMLA"_s, this, define);

    auto* headingRow = new QHBoxLayout;
    heading_ = new QLineEdit(logic_.heading(), this);
    heading_->setObjectName(u"Baslik"_s);
    headingRow->addWidget(heading_, 1);
    layout->addLayout(headingRow);

    auto* options = new QHBoxLayout;
    auto* pageBox = new QGroupBox(u"Sayfa"_s, this);
    auto* pageLayout = new QHBoxLayout(pageBox);
    orientation_ = new QButtonGroup(this);
    for (const auto& [id, caption] : {std::pair{0, u"Boyuna Yazdır"_s}, std::pair{1, u"Enine Yazdır"_s}}) {
        auto* r = new QRadioButton(caption, pageBox);
        orientation_->addButton(r, id);
        pageLayout->addWidget(r);
    }
    orientation_->button(0)->setChecked(true);
    options->addWidget(pageBox);
    frames_ = new QCheckBox(u"Çerçeveli Çıkış &Ver"_s, this);
    options->addWidget(frames_);
    auto* gapLabel = new QLabel(u"Reçeteler Arası Boşluk (mm)"_s, this);
    options->addWidget(gapLabel);
    gap_ = new QSpinBox(this);
    gap_->setRange(0, 200);
    gap_->setValue(logic_.gap);
    options->addWidget(gap_);
    layout->addLayout(options);
    auto* orderBox = new QGroupBox(u"Sıralama"_s, this);
    auto* orderLayout = new QHBoxLayout(orderBox);
    order_ = new QButtonGroup(this);
    for (int i = 0; i < kOrderCaptions.size(); ++i) {
        auto* r = new QRadioButton(kOrderCaptions[i], orderBox);
        order_->addButton(r, i);
        orderLayout->addWidget(r);
    }
    order_->button(0)->setChecked(true);
    layout->addWidget(orderBox);

    auto* buttons = new QHBoxLayout;
    auto addButton = [&](const QString& name, const QString& caption, std::function<void()> run) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, run);
        buttons_.insert(name, b);
        buttons->addWidget(b);
    };
    addButton(u"Onizleme"_s, u"&Reç. Öngörünüm"_s, preview);
    addButton(u"Yazdir"_s, u"Reç.yi &Yazdır"_s, print);
    addButton(u"Tanimla"_s, u"Reçete &Tanımla"_s, define);
    addButton(u"Baslik"_s, u"Başlık &Değiştir"_s, [this] { logic_.setHeading(heading_->text()); });
    addButton(u"Cikis"_s, u"Çı&kış"_s, [this] { accept(); });
    layout->addLayout(buttons);

    // One sheet: no order and no space between prescriptions.
    if (logic_.singleSheet()) {
        orderBox->hide();
        gapLabel->hide();
        gap_->hide();
    }
}

void TQTanimRecForm::readControls()
{
    logic_.landscape = orientation_->checkedId() == 1;
    logic_.frames = frames_->isChecked();
    logic_.gap = gap_->value();
    logic_.order = kOrderCodes.value(order_->checkedId(), u"D"_s);
}

void TanimliDokum(Session& session, const QString& titlePrefix, const QString& institution, const QString& patientType,
                  QWidget* parent)
{
    const double saleNo = session.PrintRequest.saleNo;
    std::unique_ptr<TQTanimRecForm> form;
    if (!runCommand(session.prompter, [&] {
            form = std::make_unique<TQTanimRecForm>(session, titlePrefix, institution, patientType, saleNo, parent);
        }))
        return;
    if (saleNo > 0) session.PrintRequest = BackPrintRequest{};
    form->exec();
}

}  // namespace selvar
