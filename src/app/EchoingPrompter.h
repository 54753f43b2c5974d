#pragma once

#include "platform/Prompter.h"

#include <ostream>

namespace kesmaro {

// Shows every box through another prompter and, until echo is turned off, also writes its title
// and text to a stream. A start that ends before the main window appears (a second instance, a
// program folder in the temporary folder) or waits on a box nobody sees (a display without a
// desktop) then still says why where it was started.
class EchoingPrompter : public Prompter {
public:
    EchoingPrompter(Prompter& shown, std::ostream& echo) : m_shown(shown), m_echo(echo) {}

    void setEchoing(bool on) { m_echoing = on; }
    PromptAnswer Ask(const Prompt& prompt) override;

private:
    Prompter& m_shown;
    std::ostream& m_echo;
    bool m_echoing = true;
};

// The echo of one box: "kesmaro: message box “TITLE”:", then each line of the text indented.
std::string EchoText(const Prompt& prompt);

} // namespace kesmaro
