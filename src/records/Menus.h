#pragma once

namespace kesmaro {

struct Program;

// The two commands of the menu bar: "開始" enabled while idle, "ロギング" (disabled) and "停止"
// enabled during a run.
void SetRunMenus(Program& p, bool running);

// The capture and recognition test buttons are off while either test runs, on again after.
class TestButtonsBusy {
public:
    explicit TestButtonsBusy(Program& p);
    ~TestButtonsBusy();
    TestButtonsBusy(const TestButtonsBusy&) = delete;
    TestButtonsBusy& operator=(const TestButtonsBusy&) = delete;

private:
    Program& m_program;
};

} // namespace kesmaro
