#include "ui/win32/Win32View.h"

#include "state/Program.h"
#include "ui/win32/FormMain.h"
#include "ui/win32/FormOption.h"
#include "ui/win32/FormPopup.h"
#include "ui/win32/FormVersion.h"

#include <windows.h>

namespace kesmaro {

Win32View::Win32View() = default;

Win32View::~Win32View() = default;

void Win32View::attach(Program& p)
{
    m_program = &p;
    m_main = std::make_unique<FormMain>(p);
    m_popup = std::make_unique<FormPopup>(p);
    m_main->onClosed = [this] { windowClosed(); };
}

HWND Win32View::modelessWindow() const
{
    if (m_options && IsWindowVisible(m_options->hwnd()))
        return m_options->hwnd();
    return nullptr;
}

void Win32View::changed(ViewPart part, int slot)
{
    if (part == ViewPart::Popup) {
        if (m_popup)
            m_popup->showState();
        return;
    }
    if (!m_main)
        return;
    switch (part) {
    case ViewPart::Results:
        return m_main->showResults();
    case ViewPart::Log:
        return m_main->showLog();
    case ViewPart::Graph:
        return m_main->showGraph();
    case ViewPart::CaptureSlot:
        return m_main->showCaptureSlot(slot);
    case ViewPart::Picture:
        return m_main->showPicture(slot);
    case ViewPart::Menus:
        return m_main->showMenus();
    case ViewPart::Popup:
        return;
    }
}

void Win32View::showMainWindow()
{
    if (m_main)
        m_main->load();
}

void Win32View::activateMainWindow()
{
    if (!m_main)
        return;
    // Windows lets a process bring itself forward only while it owns the foreground; after a
    // screenshot of the game it does not, and the task bar button flashes instead.
    SetForegroundWindow(m_main->hwnd());
    BringWindowToTop(m_main->hwnd());
}

void Win32View::busyCursor(bool on)
{
    if (m_main)
        m_main->setBusy(on);
}

void Win32View::showWindow(SubWindow window)
{
    if (!m_program)
        return;
    switch (window) {
    case SubWindow::Options:
        // Modeless beside the main window; its click is logged by the command.
        if (!m_options)
            m_options = std::make_unique<FormOption>(*m_program);
        m_options->open();
        return;
    case SubWindow::Version:
        ShowVersionWindow(m_main ? m_main->hwnd() : nullptr, *m_program);
        return;
    }
}

WindowFrame Win32View::mainWindowFrame() const
{
    return m_main ? m_main->rulesFrame() : WindowFrame{};
}

void Win32View::setMainWindowFrame(const FrameChange& change)
{
    if (m_main)
        m_main->placeFrame(change);
}

void Win32View::refreshAll()
{
    if (m_main)
        m_main->refreshAll();
}

void Win32View::unloadWindows()
{
    // The program's own close of the other windows: the popup accepts it without a remark.
    if (m_popup)
        m_popup->close();
    if (m_options)
        ShowWindow(m_options->hwnd(), SW_HIDE);
}

void Win32View::programEnded()
{
    if (m_main && IsWindowVisible(m_main->hwnd()))
        m_main->close(); // the close sequence has run: the window only goes away
    else
        windowClosed();
}

void Win32View::windowClosed()
{
    if (m_ended)
        return;
    m_ended = true;
    unloadWindows();
    if (onEnded)
        onEnded();
    else
        PostQuitMessage(0);
}

} // namespace kesmaro
