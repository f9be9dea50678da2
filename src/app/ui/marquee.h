#pragma once
#include <QFont>
#include <QStringList>
#include <QWidget>

class QTimer;

namespace selvar {

// The scrolling banner at the bottom of the main window: its lines run from right to
// left one after the other; a line beginning with "@" is drawn in the second font.
class MarqueeBanner : public QWidget {
    Q_OBJECT
public:
    explicit MarqueeBanner(QWidget* parent = nullptr);
    void setLines(const QStringList& lines);
    QStringList lines() const { return lines_; }
    void start();
    void stop();
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    int lineWidth(const QString& line) const;
    QStringList lines_;
    QFont second_;
    QTimer* timer_;
    int offset_ = 0;
};

}  // namespace selvar
