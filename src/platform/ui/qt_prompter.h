#pragma once
#include "platform/prompter.h"

class QWidget;

namespace selvar {

// Message boxes with Turkish captions and buttons.
class QtPrompter final : public Prompter {
public:
    // Without a parent the boxes belong to the active modal window, else the active one.
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    Answer message(MessageKind kind, const QString& text, Buttons buttons) override;
    void beep() override;

private:
    QWidget* parent_;
};

}  // namespace selvar
