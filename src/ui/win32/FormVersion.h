#pragma once

// windows.h ahead of the core's headers, so that its macros (FindWindow, ...) rename a base
// class's functions and their overrides alike.
// clang-format off
#include <windows.h>
// clang-format on

#include "records/SupportLink.h"

namespace kesmaro {

struct Program;

// Shows the version window and returns when it is closed; the owner takes no input meanwhile.
void ShowVersionWindow(HWND owner, Program& program);

// The version window: the program's name and version and the support-site link. Created
// shown; ShowVersionWindow makes it modal.
class FormVersion {
public:
    FormVersion(Program& p, HWND owner);
    ~FormVersion();
    FormVersion(const FormVersion&) = delete;
    FormVersion& operator=(const FormVersion&) = delete;

    HWND hwnd() const { return m_hwnd; }
    // A control by its design name (lblName, lblVer, Label1, lblHomePage, cmdOK); null if none.
    HWND control(const char* name) const;
    bool closed() const { return m_hwnd == nullptr; }
    const SupportLink& link() const { return m_link; }
    // The pointer the link shows while the mouse is over it.
    HCURSOR linkCursor() const { return m_linkCursor; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void clickLink();

    Program& m_p;
    SupportLink m_link;
    HWND m_owner = nullptr;
    HWND m_hwnd = nullptr;
    HFONT m_font = nullptr;
    HFONT m_largeFont = nullptr;
    HCURSOR m_linkCursor = nullptr;
};

} // namespace kesmaro
