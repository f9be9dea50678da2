#pragma once
#include "platform/prompter.h"

class QWidget;

namespace selvar {

// Message boxes with Turkish captions and buttons.
class QtPrompter final : public Prompter {
public:
    Answer message(MessageKind kind, const QString& text, Buttons buttons) override;
    void beep() override;
};

}  // namespace selvar
