#include "support/scripted_prompter.h"

namespace selvar::test {

Answer ScriptedPrompter::message(MessageKind kind, const QString& text, Buttons buttons)
{
    shown.push_back({kind, text, buttons});
    if (!answers_.isEmpty()) return answers_.takeFirst();
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::CancelOnly: return Answer::Cancel;
    default: return unansweredQuestion;
    }
}

QStringList ScriptedPrompter::texts() const
{
    QStringList r;
    for (const Shown& s : shown) r << s.text;
    return r;
}

}  // namespace selvar::test
