#pragma once

#include "app/Command.h"
#include "state/ProgramView.h"

#include <QMainWindow>
#include <QSize>
#include <array>
#include <functional>
#include <optional>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace kesmaro {

struct Program;
class GraphFrame;

// The main window: a view of the program state. Each notification reads the state back; every
// menu item and button runs its command through Execute.
class FormMain : public QMainWindow {
public:
    explicit FormMain(Program& p);
    ~FormMain() override;

    // The window's steps of loading: caption, debug pictures, position, shown.
    void load();

    void showResults();
    void showLog();
    void showGraph();
    void showCaptureSlot(int slot);
    void showPicture(int slot);
    void showMenus();
    void refreshAll();

    // Moves or resizes the window by its outer frame.
    void placeFrame(const FrameChange& change);

    // The outer frame as the resize rules and the remembered position count it: without the
    // status line below the designed layout.
    QRect rulesFrame() const;

    // The status line from the program state; its texts go to the debug log when they change.
    void showStatus();

    // The graph frame's size as the resize rules last set it.
    QSize graphFrameSize() const;

    // Called once the window has closed and the close sequence has run.
    std::function<void()> onClosed;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildResultTable(QWidget* inner);
    void buildCaptureRows(QWidget* inner);
    void buildDebugFrame(QWidget* inner);
    QAction* addCommand(QMenu* menu, const QString& caption, const char* name, Command command);
    void innerResized();
    void applyOuterSize(std::optional<int> width, std::optional<int> height);
    void refreshConfigMarks();
    void buildStatusLine();
    int statusLineHeight() const;

    Program& m_program;
    QWidget* m_inner = nullptr;
    GraphFrame* m_graph = nullptr;
    QPlainTextEdit* m_txtLog = nullptr;
    QFrame* m_frmDebug = nullptr;
    QPushButton* m_cmdTempStop = nullptr;
    QPushButton* m_cmdCapture = nullptr;
    QPushButton* m_cmdRecognize = nullptr;
    QLabel* m_lblElapse = nullptr;
    std::array<QLabel*, 12> m_results{};
    std::array<QLabel*, 3> m_lblCapture{}; // the level, Exp and coin rows
    std::array<QLabel*, 5> m_picCapture{};
    QAction* m_menuRun = nullptr;
    QAction* m_menuStop = nullptr;
    QAction* m_menuGesture = nullptr;
    QAction* m_menuDebugMode = nullptr;
    std::array<QLabel*, 3> m_status{}; // next level, rolling rates, capture health
    QTimer* m_statusTimer = nullptr;
    QString m_statusLogged;
    // The outer size a load asked for, applied again once the window manager's frame is known.
    std::optional<QSize> m_pendingOuter;
};

} // namespace kesmaro
