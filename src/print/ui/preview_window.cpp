#include "print/ui/preview_window.h"

#include "print/pdf_canvas.h"
#include "print/render.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <cmath>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

// One page as it lies on the desk: the whole sheet in white, the printout on its
// printable area.
class PreviewPage final : public QWidget {
public:
    explicit PreviewPage(const Document& doc, QWidget* parent) : QWidget(parent), doc_(doc)
    {
        setObjectName(u"pageView"_s);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void setPage(int index)
    {
        index_ = index;
        update();
    }
    void setScale(double pixelsPerMm)
    {
        scale_ = pixelsPerMm;
        const QSizeF mm = doc_.format.paperMm + QSizeF(2 * Shadow, 2 * Shadow);
        setFixedSize(int(std::ceil(mm.width() * scale_)) + 2 * Gap, int(std::ceil(mm.height() * scale_)) + 2 * Gap);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(0x80, 0x80, 0x80));
        const QSizeF paper = doc_.format.paperMm * scale_;
        const QRectF sheet(Gap, Gap, paper.width(), paper.height());
        p.fillRect(sheet.translated(Shadow * scale_, Shadow * scale_), QColor(0x40, 0x40, 0x40));
        p.fillRect(sheet, Qt::white);
        p.setPen(Qt::black);
        p.drawRect(sheet);
        p.setClipRect(sheet);
        p.translate(sheet.left() + doc_.format.marginsMm.left() * scale_,
                    sheet.top() + doc_.format.marginsMm.top() * scale_);
        const double s = scale_ * 25.4 / doc_.format.dpi;
        p.scale(s, s);
        renderPage(p, doc_, index_);
    }

private:
    static constexpr int Gap = 12;
    static constexpr double Shadow = 1.5;  // mm
    const Document& doc_;
    int index_ = 0;
    double scale_ = 1;
};

PreviewWindow::PreviewWindow(PrintService& printing, const QString& title, const PageSetup& setup, DrawFunction draw,
                             QWidget* parent)
    : QDialog(parent), printing_(printing), title_(title), setup_(setup), draw_(std::move(draw))
{
    setWindowTitle(u"Ön görünüm"_s);
    setObjectName(u"PreviewWindow"_s);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);

    RecordingCanvas canvas(PageFormat::forSetup(setup_, 600, PdfCanvas::BorderMm), Metrics::Fonts);
    if (setup_.font) canvas.setFont(*setup_.font);
    canvas.beginDocument(title_);
    if (draw_) draw_(canvas);
    canvas.endDocument();
    document_ = canvas.document();

    auto* bar = new QHBoxLayout;
    first_ = button(u"İlk"_s, "firstPage", u"İlk sayfa (Home)"_s);
    prev_ = button(u"Önceki"_s, "previousPage", u"Önceki sayfa (PgUp)"_s);
    next_ = button(u"Sonraki"_s, "nextPage", u"Sonraki sayfa (PgDn)"_s);
    last_ = button(u"Son"_s, "lastPage", u"Son sayfa (End)"_s);
    pageLabel_ = new QLabel(this);
    pageLabel_->setObjectName(u"pageLabel"_s);
    pageLabel_->setMinimumWidth(110);
    pageLabel_->setAlignment(Qt::AlignCenter);
    QPushButton* out = button(u"Uzaklaştır"_s, "zoomOut", u"Küçült (-)"_s);
    QPushButton* in = button(u"Yakınlaştır"_s, "zoomIn", u"Büyüt (+)"_s);
    zoomLabel_ = new QLabel(this);
    zoomLabel_->setObjectName(u"zoomLabel"_s);
    zoomLabel_->setMinimumWidth(50);
    zoomLabel_->setAlignment(Qt::AlignCenter);
    QPushButton* width = button(u"Sayfa Genişliği"_s, "fitWidth", u"Sayfayı pencere genişliğine sığdır"_s);
    QPushButton* whole = button(u"Tam Sayfa"_s, "fitPage", u"Sayfanın tamamını göster"_s);
    QPushButton* print = button(u"&Yazdır"_s, "print", u"Yazıcıya gönder"_s);
    QPushButton* close = button(u"&Kapat"_s, "close", u"Ön görünümü kapat (Esc)"_s);

    for (QWidget* w : std::initializer_list<QWidget*>{first_, prev_, pageLabel_, next_, last_}) bar->addWidget(w);
    bar->addSpacing(16);
    for (QWidget* w : std::initializer_list<QWidget*>{out, zoomLabel_, in, width, whole}) bar->addWidget(w);
    bar->addStretch();
    bar->addWidget(print);
    bar->addWidget(close);

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(u"pageScroll"_s);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setFocusPolicy(Qt::NoFocus);
    view_ = new PreviewPage(document_, scroll_);
    scroll_->setWidget(view_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(bar);
    layout->addWidget(scroll_, 1);

    connect(first_, &QPushButton::clicked, this, [this] { showPage(0); });
    connect(prev_, &QPushButton::clicked, this, [this] { showPage(page_ - 1); });
    connect(next_, &QPushButton::clicked, this, [this] { showPage(page_ + 1); });
    connect(last_, &QPushButton::clicked, this, [this] { showPage(pageCount() - 1); });
    connect(in, &QPushButton::clicked, this, [this] { setZoom(zoom_ * 1.25); });
    connect(out, &QPushButton::clicked, this, [this] { setZoom(zoom_ / 1.25); });
    connect(width, &QPushButton::clicked, this, [this] { fitWidth(); });
    connect(whole, &QPushButton::clicked, this, [this] { fitPage(); });
    connect(print, &QPushButton::clicked, this, [this] { printDocument(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QSize avail = screen->availableSize();
        resize(std::max(640, avail.width() * 3 / 4), std::max(480, avail.height() * 9 / 10));
    } else {
        resize(900, 700);
    }
    applyZoom(1.0, Fit::Width);
    showPage(0);
}

PreviewWindow::~PreviewWindow() = default;

QPushButton* PreviewWindow::button(const QString& text, const char* name, const QString& tip)
{
    auto* b = new QPushButton(text, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

void PreviewWindow::showPage(int index)
{
    if (pageCount() == 0) return;
    page_ = std::clamp(index, 0, pageCount() - 1);
    view_->setPage(page_);
    scroll_->verticalScrollBar()->setValue(0);
    updateControls();
}

void PreviewWindow::setZoom(double zoom) { applyZoom(zoom, Fit::None); }

void PreviewWindow::fitWidth() { applyZoom(zoom_, Fit::Width); }

void PreviewWindow::fitPage() { applyZoom(zoom_, Fit::Page); }

void PreviewWindow::applyZoom(double zoom, Fit fit)
{
    fit_ = fit;
    const double screenPxPerMm = logicalDpiX() / 25.4;
    const QSizeF paper = document_.format.paperMm + QSizeF(4, 4);
    const QSize room = scroll_->viewport()->size() - QSize(28, 28);
    if (fit == Fit::Width && paper.width() > 0) zoom = room.width() / (paper.width() * screenPxPerMm);
    if (fit == Fit::Page && paper.width() > 0 && paper.height() > 0)
        zoom = std::min(room.width() / (paper.width() * screenPxPerMm), room.height() / (paper.height() * screenPxPerMm));
    zoom_ = std::clamp(zoom, 0.1, 8.0);
    view_->setScale(zoom_ * screenPxPerMm);
    updateControls();
}

void PreviewWindow::refit()
{
    if (fit_ != Fit::None) applyZoom(zoom_, fit_);
}

void PreviewWindow::updateControls()
{
    pageLabel_->setText(u"Sayfa %1 / %2"_s.arg(pageCount() ? page_ + 1 : 0).arg(pageCount()));
    zoomLabel_->setText(u"%"_s + QString::number(std::lround(zoom_ * 100)));
    first_->setEnabled(page_ > 0);
    prev_->setEnabled(page_ > 0);
    next_->setEnabled(page_ + 1 < pageCount());
    last_->setEnabled(page_ + 1 < pageCount());
}

bool PreviewWindow::printDocument() { return printing_.print(title_, setup_, draw_, true); }

void PreviewWindow::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_PageDown: showPage(page_ + 1); return;
    case Qt::Key_PageUp: showPage(page_ - 1); return;
    case Qt::Key_Home: showPage(0); return;
    case Qt::Key_End: showPage(pageCount() - 1); return;
    case Qt::Key_Plus: setZoom(zoom_ * 1.25); return;
    case Qt::Key_Minus: setZoom(zoom_ / 1.25); return;
    default: QDialog::keyPressEvent(e);
    }
}

void PreviewWindow::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    refit();
}

void PreviewWindow::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    refit();
}

}  // namespace selvar
