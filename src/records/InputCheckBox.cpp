#include "records/InputCheckBox.h"

namespace kesmaro {

std::optional<double> InputCheckBox(NumberInput& input, const QString& min, const QString& max,
                                    double ini, const QString& increment, const QString& msg,
                                    const QString& title)
{
    return input.Ask(NumberRequest{min.toStdString(), max.toStdString(), ini,
                                   increment.toStdString(), msg.toStdString(),
                                   title.toStdString()});
}

} // namespace kesmaro
