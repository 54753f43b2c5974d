#include "records/InputCheckBox.h"

#include <string>

namespace kesmaro {

std::optional<double> InputCheckBox(NumberInput& input, std::string_view min, std::string_view max,
                                    double ini, std::string_view increment, std::string_view msg,
                                    std::string_view title)
{
    return input.Ask(NumberRequest{std::string(min), std::string(max), ini, std::string(increment),
                                   std::string(msg), std::string(title)});
}

} // namespace kesmaro
