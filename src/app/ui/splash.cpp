#include "app/ui/splash.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

TResimForm::TResimForm(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(u"TResimForm"_s);
    setCursor(Qt::WaitCursor);
    auto* layout = new QVBoxLayout(this);
    auto* product = new QLabel(u"SELVAR 8 Eczane Otomasyonu"_s, this);
    QFont big = product->font();
    big.setPointSize(big.pointSize() + 8);
    big.setBold(true);
    product->setFont(big);
    product->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(u"Sürüm 8.0"_s, this);
    version->setAlignment(Qt::AlignCenter);
    auto* loading = new QLabel(u"Yükleniyor"_s, this);
    loading->setAlignment(Qt::AlignCenter);
    gauge_ = new QProgressBar(this);
    gauge_->setRange(0, 100);
    gauge_->setValue(0);
    layout->addWidget(product);
    layout->addWidget(version);
    layout->addSpacing(12);
    layout->addWidget(loading);
    layout->addWidget(gauge_);
    setStyleSheet(u"TResimForm { background: #fffbe6; border: 2px solid #806000; }"_s);
    resize(460, 220);
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

TResimForm::~TResimForm() = default;

int TResimForm::gauge() const { return gauge_->value(); }

void TResimForm::runGauge()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    repaint();
    auto pause = [this] {
        QElapsedTimer t;
        t.start();
        QApplication::processEvents();
        while (t.elapsed() < 12) {
        }
    };
    gauge_->setValue(0);
    for (const auto& [count, step] : {std::pair{4, 10}, std::pair{5, 4}, std::pair{10, 1}, std::pair{10, 3}}) {
        for (int i = 0; i < count; ++i) {
            gauge_->setValue(gauge_->value() + step);
            pause();
        }
        pause();
    }
    QApplication::restoreOverrideCursor();
}

}  // namespace selvar
