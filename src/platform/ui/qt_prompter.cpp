#include "platform/ui/qt_prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

Answer QtPrompter::message(MessageKind kind, const QString& text, Buttons buttons)
{
    QMessageBox box(QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow());
    switch (kind) {
    case MessageKind::Warning:
        box.setIcon(QMessageBox::Warning);
        box.setWindowTitle(u"Uyarı"_s);
        break;
    case MessageKind::Error:
        box.setIcon(QMessageBox::Critical);
        box.setWindowTitle(u"Hata"_s);
        break;
    case MessageKind::Information:
        box.setIcon(QMessageBox::Information);
        box.setWindowTitle(u"Bilgi"_s);
        break;
    case MessageKind::Confirmation:
        box.setIcon(QMessageBox::Question);
        box.setWindowTitle(u"Onay"_s);
        break;
    }
    box.setText(text);
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    switch (buttons) {
    case Buttons::Ok: ok = box.addButton(u"Tamam"_s, QMessageBox::AcceptRole); break;
    case Buttons::OkCancel:
        ok = box.addButton(u"Tamam"_s, QMessageBox::AcceptRole);
        cancel = box.addButton(u"Vazgeç"_s, QMessageBox::RejectRole);
        break;
    case Buttons::YesNo:
        yes = box.addButton(u"&Evet"_s, QMessageBox::YesRole);
        no = box.addButton(u"&Hayır"_s, QMessageBox::NoRole);
        break;
    case Buttons::YesNoCancel:
        yes = box.addButton(u"&Evet"_s, QMessageBox::YesRole);
        no = box.addButton(u"&Hayır"_s, QMessageBox::NoRole);
        cancel = box.addButton(u"Vazgeç"_s, QMessageBox::RejectRole);
        break;
    case Buttons::CancelOnly: cancel = box.addButton(u"Vazgeç"_s, QMessageBox::RejectRole); break;
    }
    box.setDefaultButton(ok ? ok : (yes ? yes : cancel));
    if (cancel) box.setEscapeButton(cancel);
    else if (no) box.setEscapeButton(no);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked && clicked == ok) return Answer::Ok;
    if (clicked && clicked == yes) return Answer::Yes;
    if (clicked && clicked == no) return Answer::No;
    return Answer::Cancel;
}

void QtPrompter::beep() { QApplication::beep(); }

}  // namespace selvar
