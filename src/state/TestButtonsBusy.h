#pragma once

namespace kesmaro {

struct Program;

// The capture and recognition test buttons are off while either test runs, on again after.
// Kept with the state, so that recognition and the capture cycle can hold it without reaching
// up to the menus' commands.
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
