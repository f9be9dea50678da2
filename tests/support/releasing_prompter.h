#pragma once
// A prompter for the retry rule: when the error box comes up it lets the other
// workstation finish (runs `release` once) and presses OK; questions are answered No.
#include "platform/prompter.h"

#include <QStringList>
#include <functional>

namespace selvar::test {

class ReleasingPrompter final : public Prompter {
public:
    Answer message(MessageKind kind, const QString& text, Buttons) override
    {
        texts << text;
        if (kind == MessageKind::Confirmation) return Answer::No;
        if (release) {
            release();
            release = nullptr;
        }
        return Answer::Ok;
    }
    void beep() override {}
    QStringList texts;
    std::function<void()> release;
};

}  // namespace selvar::test
