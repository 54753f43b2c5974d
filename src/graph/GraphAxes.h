#pragma once

#include "common/Currency.h"
#include "state/GraphPicture.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kesmaro {

class Trap;
class clsGraphBuffer;

inline constexpr std::string_view kExpAxisTitle = " % EXP";
inline constexpr std::string_view kMoneyAxisTitle = " k ｺｲﾝ";
inline constexpr std::array<std::string_view, 2> kTimeButtonTexts{"現在", "思ひ出"};

// The axis tops: the smallest ladder step above the value; 0 when the value is beyond the
// ladder (the curves of that rate are then not drawn).
std::int32_t ExpAxisTop(Currency value);
std::int32_t MoneyAxisTop(double value);
// "   #0.0#" cut to its last six characters.
std::string ExpAxisText(double value);
// "#,##0".
std::string MoneyAxisText(double value);

// The label phase: span title, axis tops and values, statement by statement.
void ComputeGraphLabels(GraphLabels& labels, const clsGraphBuffer& buffer,
                        std::int32_t captureInterval, std::int32_t timeScale, float zoom,
                        Trap& errors);

} // namespace kesmaro
