#pragma once

#include <optional>
#include <string>

namespace kesmaro {

// One question of the bounded numeric input dialog. The bounds and the step are texts as the
// callers pass them; the dialog reads them with its own number rule.
struct NumberRequest {
    std::string min; // UTF-8
    std::string max; // UTF-8; the bounds may come in either order
    double initial = 0;
    std::string step;    // UTF-8
    std::string message; // UTF-8 guide text, lines separated by CR LF
    std::string title;   // UTF-8 caption; empty = the dialog's own
};

// The modal numeric input dialog. Returns the confirmed number, or nothing when the user
// cancelled or closed the dialog; the call returns only when the dialog has ended.
class NumberInput {
public:
    virtual ~NumberInput() = default;
    virtual std::optional<double> Ask(const NumberRequest& request) = 0;
};

} // namespace kesmaro
