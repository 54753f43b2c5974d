#pragma once

#include "state/ProgramView.h"

#include <functional>
#include <memory>
#include <windows.h>

namespace kesmaro {

struct Program;
class FormMain;
class FormPopup;
class FormOption;

// The Windows program's view: the main window (and the popup), told of every change. It exists
// before the program (which needs a view) and builds the windows once attached.
class Win32View : public ProgramView {
public:
    Win32View();
    ~Win32View() override;
    Win32View(const Win32View&) = delete;
    Win32View& operator=(const Win32View&) = delete;

    void attach(Program& p);
    FormMain* main() const { return m_main.get(); }
    FormPopup* popup() const { return m_popup.get(); }
    // The options window once the menu has opened it, else null.
    FormOption* options() const { return m_options.get(); }
    // The modeless windows, for the message loop's IsDialogMessage; null when none is open.
    HWND modelessWindow() const;

    // Called once when the program has ended (the End command or the close box). Unset, the
    // end posts WM_QUIT to the thread.
    std::function<void()> onEnded;

    void changed(ViewPart part, int slot) override;
    void showMainWindow() override;
    void activateMainWindow() override;
    void busyCursor(bool on) override;
    void showWindow(SubWindow window) override;
    WindowFrame mainWindowFrame() const override;
    void setMainWindowFrame(const FrameChange& change) override;
    void refreshAll() override;
    void unloadWindows() override;
    void programEnded() override;

private:
    void windowClosed();

    std::unique_ptr<FormMain> m_main;
    std::unique_ptr<FormPopup> m_popup;
    std::unique_ptr<FormOption> m_options;
    Program* m_program = nullptr;
    bool m_ended = false;
};

} // namespace kesmaro
