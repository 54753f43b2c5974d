#pragma once

namespace kesmaro {

struct Program;

// The two commands of the menu bar: "開始" enabled while idle, "ロギング" (disabled) and "停止"
// enabled during a run.
void SetRunMenus(Program& p, bool running);

} // namespace kesmaro
