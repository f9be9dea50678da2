#pragma once
// A prompter for tests: answers are queued in advance, every message is recorded.
#include "platform/prompter.h"

#include <QList>
#include <QStringList>

namespace selvar::test {

class ScriptedPrompter final : public Prompter {
public:
    struct Shown {
        MessageKind kind;
        QString text;
        Buttons buttons;
    };

    Answer message(MessageKind kind, const QString& text, Buttons buttons) override;
    void beep() override { ++beeps; }

    void answer(Answer a) { answers_ << a; }
    void answers(std::initializer_list<Answer> list) { answers_ << QList<Answer>(list); }
    QStringList texts() const;
    bool saw(const QString& text) const { return texts().contains(text); }
    void clear()
    {
        shown.clear();
        beeps = 0;
    }
    int pending() const { return int(answers_.size()); }

    QList<Shown> shown;
    int beeps = 0;
    // Used when no answer is queued: OK for plain boxes, this for questions.
    Answer unansweredQuestion = Answer::Cancel;

private:
    QList<Answer> answers_;
};

}  // namespace selvar::test
