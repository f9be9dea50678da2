#include "platform/ui/qt_prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

Answer QtPrompter::message(MessageKind kind, const QString& text, Buttons buttons)
{
    QWidget* parent = parent_ ? parent_ : QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
    QMessageBox box(parent);
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
    struct Choice {
        QString caption;
        QMessageBox::ButtonRole role;
        Answer answer;
    };
    QList<Choice> choices;
    switch (buttons) {
    case Buttons::Ok: choices = {{u"Tamam"_s, QMessageBox::AcceptRole, Answer::Ok}}; break;
    case Buttons::OkCancel:
        choices = {{u"Tamam"_s, QMessageBox::AcceptRole, Answer::Ok}, {u"Vazgeç"_s, QMessageBox::RejectRole, Answer::Cancel}};
        break;
    case Buttons::YesNo:
        choices = {{u"&Evet"_s, QMessageBox::YesRole, Answer::Yes}, {u"&Hayır"_s, QMessageBox::NoRole, Answer::No}};
        break;
    case Buttons::YesNoCancel:
        choices = {{u"&Evet"_s, QMessageBox::YesRole, Answer::Yes},
                   {u"&Hayır"_s, QMessageBox::NoRole, Answer::No},
                   {u"Vazgeç"_s, QMessageBox::RejectRole, Answer::Cancel}};
        break;
    case Buttons::CancelOnly: choices = {{u"Vazgeç"_s, QMessageBox::RejectRole, Answer::Cancel}}; break;
    }
    QList<QAbstractButton*> made;
    for (const Choice& c : choices) made << box.addButton(c.caption, c.role);
    box.setDefaultButton(qobject_cast<QPushButton*>(made.first()));
    // Esc answers the last choice: Cancel, or No without a Cancel, or a lone button.
    box.setEscapeButton(made.last());
    box.exec();
    const int i = int(made.indexOf(box.clickedButton()));
    return i < 0 ? Answer::Cancel : choices[i].answer;
}

void QtPrompter::beep() { QApplication::beep(); }

}  // namespace selvar
