#pragma once

#include "platform/NumberInput.h"

#include <optional>
#include <string_view>

namespace kesmaro {

// Asks for one number between two bounds given in either order. Nothing means the user
// cancelled or closed the dialog, so every number, 19999 included, is a real answer.
std::optional<double> InputCheckBox(NumberInput& input, std::string_view min, std::string_view max,
                                    double ini, std::string_view increment, std::string_view msg,
                                    std::string_view title);

} // namespace kesmaro
