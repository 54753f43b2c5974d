#pragma once

#include "common/Currency.h"
#include "state/GraphPicture.h"

#include <QString>
#include <array>
#include <cstdint>

namespace kesmaro {

class Trap;
class clsGraphBuffer;

inline const QString kExpAxisTitle = QStringLiteral(" % EXP");
inline const QString kMoneyAxisTitle = QStringLiteral(" k ｺｲﾝ");
inline const std::array<QString, 2> kTimeButtonTexts{QStringLiteral("現在"),
                                                     QStringLiteral("思ひ出")};

// The axis tops: the smallest ladder step above the value; 0 when the value is beyond the
// ladder (the curves of that rate are then not drawn).
std::int32_t ExpAxisTop(Currency value);
std::int32_t MoneyAxisTop(double value);
// "   #0.0#" cut to its last six characters.
QString ExpAxisText(double value);
// "#,##0".
QString MoneyAxisText(double value);

// The label phase: span title, axis tops and values, statement by statement.
void ComputeGraphLabels(GraphLabels& labels, const clsGraphBuffer& buffer,
                        std::int32_t captureInterval, std::int32_t timeScale, float zoom,
                        Trap& errors);

} // namespace kesmaro
