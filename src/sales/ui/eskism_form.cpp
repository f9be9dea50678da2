#include "sales/ui/eskism_form.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPropertyAnimation>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
const char16_t* kEntries[] = {u"Satışlar", u"Reçeteler", u"Faturalar", u"Geri Dön"};
const char16_t kResults[] = {u'S', u'R', u'F', u'0'};
}  // namespace

TEskiSMForm::TEskiSMForm(QWidget* parent) : QDialog(parent, Qt::Popup | Qt::FramelessWindowHint)
{
    setObjectName(u"TEskiSMForm"_s);
    setWindowTitle(u"EskiMenuForm"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    for (const char16_t* e : kEntries) {
        auto* l = new QLabel(QString::fromUtf16(e), this);
        l->setMinimumSize(180, 34);
        l->setAlignment(Qt::AlignCenter);
        l->setAutoFillBackground(true);
        l->setMouseTracking(true);
        l->installEventFilter(this);
        entries_ << l;
        layout->addWidget(l);
    }
    setMouseTracking(true);
}

QChar TEskiSMForm::choose()
{
    result_ = u'0';
    exec();
    return result_;
}

void TEskiSMForm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    highlight(0);
    // The lower entries slide into place one after the other.
    for (int i = 1; i < entries_.size(); ++i) {
        auto* a = new QPropertyAnimation(entries_[i], "pos", entries_[i]);
        const QPoint end = entries_[i]->pos();
        a->setStartValue(entries_[0]->pos());
        a->setEndValue(end);
        a->setDuration(60 * i);
        a->start(QAbstractAnimation::DeleteWhenStopped);
    }
}

void TEskiSMForm::highlight(int i)
{
    current_ = (i + int(entries_.size())) % int(entries_.size());
    for (int k = 0; k < entries_.size(); ++k) {
        QPalette p = entries_[k]->palette();
        p.setColor(QPalette::Window, k == current_ ? QColor(0, 0, 128) : QColor(192, 192, 192));
        p.setColor(QPalette::WindowText, k == current_ ? Qt::white : Qt::black);
        entries_[k]->setPalette(p);
    }
}

void TEskiSMForm::pick(int i)
{
    result_ = QChar(kResults[i]);
    accept();
}

void TEskiSMForm::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Up: highlight(current_ - 1); return;
    case Qt::Key_Down: highlight(current_ + 1); return;
    case Qt::Key_Return:
    case Qt::Key_Enter: pick(current_); return;
    case Qt::Key_Escape: pick(3); return;
    case Qt::Key_S: pick(0); return;
    case Qt::Key_R: pick(1); return;
    case Qt::Key_F: pick(2); return;
    case Qt::Key_G: pick(3); return;
    default: QDialog::keyPressEvent(e);
    }
}

void TEskiSMForm::mousePressEvent(QMouseEvent* e)
{
    QApplication::beep();  // a click beside the entries
    QDialog::mousePressEvent(e);
}

bool TEskiSMForm::eventFilter(QObject* o, QEvent* e)
{
    const int i = int(entries_.indexOf(static_cast<QLabel*>(o)));
    if (i >= 0) {
        if (e->type() == QEvent::Enter || e->type() == QEvent::MouseMove) highlight(i);
        if (e->type() == QEvent::MouseButtonPress) {
            pick(i);
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

}  // namespace selvar
