#pragma once

// The desktop windows over a program on simulated seams: default settings, a scripted game
// window and the main window loaded as start-up loads it.

#include "QtProgramHarness.h"
#include "app/MainWindowLogic.h"
#include "records/Popup.h"
#include "ui/qt/DesktopView.h"
#include "ui/qt/FormMain.h"
#include "ui/qt/FormOption.h"
#include "ui/qt/FormPopup.h"

#include <QAction>
#include <QApplication>

// Built before the program, which keeps a reference to it.
struct DesktopViewHolder {
    kesmaro::DesktopView m_view;
};

class FormsHarness : private DesktopViewHolder, public kesmaro::test::QtProgramHarness {
public:
    FormsHarness()
        : QtProgramHarness(
              {.start = kesmaro::test::At(2024, 5, 1, 10), .defaults = true, .view = &m_view})
    {
        p.settings.StartDelay = 0;
        p.settings.AutoStart = false;
        m_view.attach(p);
        m_view.onEnded = [this] { ++m_ended; };
    }

    void load()
    {
        kesmaro::FormMain_Load(p);
        settle();
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    kesmaro::FormMain& main() { return *m_view.main(); }
    template <class T = QWidget> T* widget(const QString& name)
    {
        T* w = main().findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QAction* action(const QString& name) { return widget<QAction>(name); }

    using DesktopViewHolder::m_view;
    int m_ended = 0;
};

class FormsTest : public ::testing::Test, public FormsHarness {};
