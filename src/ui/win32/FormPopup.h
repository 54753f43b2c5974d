#pragma once

// windows.h ahead of the core's headers, so that its macros (FindWindow, ...) rename a base
// class's functions and their overrides alike.
// clang-format off
#include <windows.h>
// clang-format on

#include <string>

namespace kesmaro {

struct Program;

// The message window the capture cycle shows while the game is missing: topmost, hidden rather
// than destroyed between uses. The user's closes are refused with a remark; the program's own
// closes are accepted.
class FormPopup {
public:
    explicit FormPopup(Program& p);
    ~FormPopup();
    FormPopup(const FormPopup&) = delete;
    FormPopup& operator=(const FormPopup&) = delete;

    // Shown or hidden as PopupState and PopupShown say.
    void showState();
    // A close by the user (the close box): refused with the next remark unless the program is
    // closing, in which case the window closes. Returns true when it closed.
    bool userClose();
    // The program's own close: always accepted (the window hides).
    void close();

    HWND hwnd() const { return m_hwnd; }
    int closeAttempts() const { return m_closeAttempts; }
    // The message shown now (UTF-8, line breaks as CR LF).
    std::string text() const;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void setMessage(const std::string& text);
    void setOuterSize(int width, int height);
    void setFontSize(int points);

    Program& m_program;
    HWND m_hwnd = nullptr;
    HWND m_lblPopUpMsg = nullptr;
    HFONT m_font = nullptr;
    int m_closeAttempts = 0;
    bool m_accepting = false;
};

} // namespace kesmaro
