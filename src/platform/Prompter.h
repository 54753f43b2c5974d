#pragma once

#include <string>

namespace kesmaro {

enum class PromptButtons { Ok, OkCancel, YesNo };
enum class PromptIcon { None, Information, Exclamation, Critical, Question };
enum class PromptAnswer { Ok, Cancel, Yes, No };

struct Prompt {
    std::string title; // UTF-8
    std::string text;  // UTF-8, lines separated by CR LF as the program writes them
    PromptButtons buttons = PromptButtons::Ok;
    PromptIcon icon = PromptIcon::None;
};

// Modal message boxes. The call returns the button the user pressed; an OK-only box always
// answers Ok, and closing a box by other means counts as its last button (Cancel, No).
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual PromptAnswer Ask(const Prompt& prompt) = 0;
};

} // namespace kesmaro
