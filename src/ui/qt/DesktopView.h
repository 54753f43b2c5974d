#pragma once

#include "state/ProgramView.h"

#include <functional>
#include <memory>

namespace kesmaro {

struct Program;
class FormMain;
class FormOption;
class FormPopup;

// The desktop's view of the program: the main window and the popup, told of every change.
// It exists before the program (which needs a view) and builds the windows once attached.
class DesktopView : public ProgramView {
public:
    DesktopView();
    ~DesktopView() override;

    void attach(Program& p);
    FormMain* main() const { return m_main.get(); }
    FormPopup* popup() const { return m_popup.get(); }
    // Built at its first opening.
    FormOption* options() const { return m_options.get(); }

    // Called once when the program has ended (the End command or the close box).
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
    int m_busy = 0;
    bool m_ended = false;
};

} // namespace kesmaro
