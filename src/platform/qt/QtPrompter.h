#pragma once

#include "platform/Prompter.h"

class QWidget;

namespace kesmaro {

// Application-modal QMessageBox boxes. Needs a QApplication; the only widget code outside
// app/, kept in its own target so that nothing else links QtWidgets.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    PromptAnswer Ask(const Prompt& prompt) override;

private:
    QWidget* m_parent;
};

} // namespace kesmaro
