#pragma once

#include "platform/NumberInput.h"

#include <QString>
#include <optional>

namespace kesmaro {

// Asks for one number between two bounds given in either order. Nothing means the user
// cancelled or closed the dialog, so every number, 19999 included, is a real answer.
std::optional<double> InputCheckBox(NumberInput& input, const QString& min, const QString& max,
                                    double ini, const QString& increment, const QString& msg,
                                    const QString& title);

} // namespace kesmaro
