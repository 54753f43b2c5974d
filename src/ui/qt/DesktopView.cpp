#include "ui/qt/DesktopView.h"

#include "ui/qt/FormMain.h"
#include "ui/qt/FormOption.h"
#include "ui/qt/FormPopup.h"
#include "ui/qt/FormVersion.h"

#include <QApplication>
#include <QCursor>

namespace kesmaro {

DesktopView::DesktopView() = default;

DesktopView::~DesktopView()
{
    while (m_busy > 0) {
        QApplication::restoreOverrideCursor();
        --m_busy;
    }
}

void DesktopView::attach(Program& p)
{
    m_program = &p;
    m_main = std::make_unique<FormMain>(p);
    m_popup = std::make_unique<FormPopup>(p);
    m_main->onClosed = [this] { windowClosed(); };
}

void DesktopView::changed(ViewPart part, int slot)
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

void DesktopView::showMainWindow()
{
    if (m_main)
        m_main->load();
}

void DesktopView::activateMainWindow()
{
    if (!m_main)
        return;
    m_main->raise();
    m_main->activateWindow();
}

void DesktopView::busyCursor(bool on)
{
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++m_busy;
    } else if (m_busy > 0) {
        QApplication::restoreOverrideCursor();
        --m_busy;
    }
}

void DesktopView::showWindow(SubWindow window)
{
    if (!m_program)
        return;
    switch (window) {
    case SubWindow::Options:
        if (!m_options)
            m_options = std::make_unique<FormOption>(*m_program);
        m_options->open();
        return;
    case SubWindow::Version: {
        // Loaded for each showing, modal over the main window.
        FormVersion version(*m_program, m_main.get());
        version.exec();
        return;
    }
    }
}

WindowFrame DesktopView::mainWindowFrame() const
{
    if (!m_main)
        return {};
    const QRect outer = m_main->rulesFrame();
    return {outer.left(), outer.top(), outer.width(), outer.height()};
}

void DesktopView::setMainWindowFrame(const FrameChange& change)
{
    if (m_main)
        m_main->placeFrame(change);
}

void DesktopView::refreshAll()
{
    if (m_main)
        m_main->refreshAll();
}

void DesktopView::programEnded()
{
    if (m_main && m_main->isVisible())
        m_main->close(); // the close sequence has run: the window only goes away
    else
        windowClosed();
}

void DesktopView::unloadWindows()
{
    // The program's own close: accepted without a remark.
    if (m_popup)
        m_popup->close();
    if (m_options)
        m_options->hide();
}

void DesktopView::windowClosed()
{
    if (m_ended)
        return;
    m_ended = true;
    unloadWindows();
    if (onEnded)
        onEnded();
}

} // namespace kesmaro
