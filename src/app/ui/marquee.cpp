#include "app/ui/marquee.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTimer>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

MarqueeBanner::MarqueeBanner(QWidget* parent) : QWidget(parent), timer_(new QTimer(this))
{
    setObjectName(u"Marquee"_s);
    second_ = font();
    second_.setItalic(true);
    second_.setBold(true);
    QFont f = font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 2);
    setFont(f);
    second_.setPointSize(f.pointSize());
    timer_->setInterval(30);
    connect(timer_, &QTimer::timeout, this, [this] {
        offset_ += 2;
        int total = width();
        for (const QString& l : lines_) total += lineWidth(l) + 60;
        if (offset_ > total) offset_ = 0;
        update();
    });
}

void MarqueeBanner::setLines(const QStringList& lines)
{
    lines_ = lines;
    offset_ = 0;
    update();
}

void MarqueeBanner::start() { timer_->start(); }
void MarqueeBanner::stop() { timer_->stop(); }

QSize MarqueeBanner::sizeHint() const { return {400, QFontMetrics(font()).height() + 10}; }

int MarqueeBanner::lineWidth(const QString& line) const
{
    return line.startsWith(u'@') ? QFontMetrics(second_).horizontalAdvance(line.mid(1))
                                 : QFontMetrics(font()).horizontalAdvance(line);
}

void MarqueeBanner::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0, 0, 96));
    int x = width() - offset_;
    const int baseline = (height() + QFontMetrics(font()).ascent() - QFontMetrics(font()).descent()) / 2;
    for (const QString& line : lines_) {
        const bool alt = line.startsWith(u'@');
        p.setFont(alt ? second_ : font());
        p.setPen(alt ? QColor(255, 220, 80) : QColor(255, 255, 255));
        const QString text = alt ? line.mid(1) : line;
        p.drawText(x, baseline, text);
        x += lineWidth(line) + 60;
    }
}

}  // namespace selvar
