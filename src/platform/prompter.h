#pragma once
// How logic talks to the person at the counter: message boxes with the program's fixed
// texts, questions and beeps. The widgets use the Qt implementation; tests a scripted one.
#include <QString>

namespace selvar {

enum class MessageKind { Warning, Error, Information, Confirmation };
enum class Answer { Ok, Cancel, Yes, No };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, CancelOnly };

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual Answer message(MessageKind kind, const QString& text, Buttons buttons) = 0;
    virtual void beep() = 0;

    void warning(const QString& text) { message(MessageKind::Warning, text, Buttons::Ok); }
    void error(const QString& text) { message(MessageKind::Error, text, Buttons::Ok); }
    void information(const QString& text) { message(MessageKind::Information, text, Buttons::Ok); }
    Answer ask(const QString& text, Buttons buttons = Buttons::YesNo,
               MessageKind kind = MessageKind::Confirmation)
    {
        return message(kind, text, buttons);
    }
    bool confirmed(const QString& text) { return ask(text) == Answer::Yes; }
    // The error box of the retry rule: true when OK was pressed, false when it was
    // closed in another way.
    bool retryAfterError(const QString& text) { return message(MessageKind::Error, text, Buttons::Ok) == Answer::Ok; }
};

// Answers every question Yes and stays silent: for runs nobody watches (the demo data,
// the benchmarks).
class AgreeingPrompter final : public Prompter {
public:
    Answer message(MessageKind, const QString&, Buttons) override { return Answer::Yes; }
    void beep() override {}
};

}  // namespace selvar
