#pragma once

#include "app/OptionWindow.h"
#include "recognition/AutoDetect.h"

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabBar;

namespace kesmaro {

struct Program;

// The options window: the widgets of OptionWindow's state. Every click and edit goes to the
// window's logic, and the widgets then show its state again. Modeless: the main window's
// timers run while it is open.
class FormOption : public QWidget {
public:
    explicit FormOption(Program& p);
    ~FormOption() override;

    // The menu's opening: the region pictures cleared, shown and brought to the front. The
    // window keeps its page and combo choices while hidden.
    void open();
    // What every activation does.
    void activated();

    OptionWindow& logic() { return m_logic; }

    // The platform dialogs, replaceable so that tests can answer them. Each returns the chosen
    // path, empty when nothing was chosen.
    std::function<QString(const QString& title, const QString& start)> chooseFolder;
    std::function<QString(const QString& title, const QString& start, const QString& file)>
        chooseFile;
    // The capture-area finder's question: the proposal shown, true to apply it.
    AreaConfirmation confirmAreas;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildGeneralPage(QWidget* page);
    void buildFurtherPage(QWidget* page);
    void buildStartUpPage(QWidget* page);
    void buildCapturePage(QWidget* page);
    void buildWindowPage(QWidget* page);
    QLabel* numberBox(QWidget* page, const char* name, QRect where);
    QLabel* valueLabel(QWidget* page, const char* name, QRect where);
    QCheckBox* checkBox(QWidget* page, OptionCheck check, const QString& caption, QRect where);
    QLineEdit* textBox(QWidget* page, const char* name, QRect where);
    void showState();
    void showPage();
    void commitSaveFolder();
    void commitSaveFile();
    void cmdEnd_Click();
    void cmdDetect_Click();
    void lblRollingMinutes_Click();

    Program& m_p;
    OptionWindow m_logic;
    QTabBar* m_tabOption = nullptr;
    std::array<QFrame*, kOptionPageCount> m_frmOption{};
    std::array<QLabel*, kOptionValueLabelCount> m_values{};
    std::array<QCheckBox*, kOptionCheckCount> m_checks{};
    std::array<QRadioButton*, kBeepButtonCount> m_beep{};
    std::array<QRadioButton*, kSaveFormats.size()> m_formats{};
    std::array<QLabel*, 5> m_picCapture{};
    QLabel* m_lblRollingMinutes = nullptr;
    QLineEdit* m_txtSaveFolder = nullptr;
    QLineEdit* m_txtSaveFile = nullptr;
    std::array<QLineEdit*, 2> m_txtStartUp{};
    QLabel* m_lblSaveCsv = nullptr;
    QLabel* m_lblSaveFile_u = nullptr;
    QComboBox* m_cmbStandardScreen = nullptr;
    QComboBox* m_cmbRelativePosition = nullptr;
    // What each text box last handed to the settings: a focus change without an edit (the
    // window losing the focus to its own message box) checks nothing twice.
    QString m_committedFolder;
    QString m_committedFile;
};

} // namespace kesmaro
