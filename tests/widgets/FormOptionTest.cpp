#include "FormsFixture.h"
#include "SimGameFrames.h"
#include "config/ConfigFile.h"
#include "config/Defaults.h"
#include "config/ExtraSettings.h"
#include "graph/GraphDisplay.h"
#include "platform/Scheduler.h"
#include "tools/simgame/GameFrame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

using namespace kesmaro;
using namespace Qt::StringLiterals;

namespace {

class FormOptionTest : public FormsTest {
protected:
    FormOption& open()
    {
        if (!m_view.main()->isVisible())
            load();
        Execute(p, Command::Option);
        settle();
        return *m_view.options();
    }
    template <class T = QWidget> T* option(const QString& name)
    {
        T* w = m_view.options()->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    void clickLabel(const QString& name)
    {
        QLabel* l = option<QLabel>(name);
        const QPoint at = l->rect().center();
        QMouseEvent release(QEvent::MouseButtonRelease, at, l->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(l, &release);
    }
    void type(const QString& box, const QString& text)
    {
        auto* edit = option<QLineEdit>(box);
        edit->setText(text);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(edit, &out);
    }
    QStringList messages() const
    {
        QStringList texts;
        for (const SimPrompter::Asked& a : sim.prompter.asked())
            texts << QString::fromStdString(a.prompt.text);
        return texts;
    }
    int frame(int WindowFrame::*field) const { return m_view.mainWindowFrame().*field; }
};

QString Utf8(const std::string& text)
{
    return QString::fromStdString(text);
}

TEST_F(FormOptionTest, EveryValueLabelAsksWithinItsOwnBoundsAndStoresTheRoundedAnswer)
{
    FormOption& window = open();
    for (const OptionValueLabel& row : OptionValueLabels()) {
        const QString name = QLatin1String(row.name);
        SCOPED_TRACE(name.toStdString());
        std::int32_t& setting = row.setting(p.settings);
        const std::int32_t before = setting;

        clickLabel(name); // nothing queued: the dialog is cancelled
        ASSERT_FALSE(sim.numberInput.asked().empty());
        const NumberRequest& asked = sim.numberInput.asked().back();
        EXPECT_EQ(Utf8(asked.message), QString::fromUtf8(row.prompt));
        EXPECT_EQ(Utf8(asked.title), u"設定値入力"_s);
        EXPECT_EQ(Utf8(asked.min), QString::number(row.min));
        EXPECT_EQ(Utf8(asked.max), QString::number(row.max));
        EXPECT_EQ(Utf8(asked.step), QString::number(row.step));
        EXPECT_EQ(asked.initial, before);
        EXPECT_EQ(setting, before) << "a cancel changed the setting";

        // A value the dialog confirmed, shown in the label once the window is active again.
        const std::int32_t wanted = row.max - (row.max - row.min) / 3;
        sim.numberInput.queue(double(wanted));
        clickLabel(name);
        EXPECT_EQ(setting, wanted);
        window.activated();
        EXPECT_EQ(option<QLabel>(name)->text(), QString::number(wanted));
    }
    // The capture areas admit every default, window mode's money X included.
    EXPECT_GE(FindOptionValueLabel("lblCapture_sx(2)")->max, 849);
}

TEST_F(FormOptionTest, ConfirmedHalvesRoundToTheEvenNeighbour)
{
    open();
    const struct {
        double answer;
        std::int32_t stored;
    } rows[] = {{7.5, 8}, {6.5, 6}, {6.4, 6}, {19999, 20}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.answer);
        sim.numberInput.queue(row.answer);
        clickLabel(u"lblGraphAveNum"_s);
        // 19999 is a number like any other: no stand-in for a cancel, kept within the bounds.
        EXPECT_EQ(p.settings.GraphAveNum, row.stored);
    }
}

TEST_F(FormOptionTest, TabsShowOnePageEach)
{
    FormOption& window = open();
    auto* tabs = option<QTabBar>(u"tabOption"_s);
    ASSERT_EQ(tabs->count(), kOptionPageCount);
    EXPECT_EQ(tabs->tabText(0), u" 　基本設定　 "_s);
    EXPECT_EQ(tabs->tabText(4), u" 双界画面設定 "_s);
    for (int tab = kOptionPageCount - 1; tab >= 0; --tab) {
        tabs->setCurrentIndex(tab);
        EXPECT_EQ(window.logic().page, tab);
        for (int page = 0; page < kOptionPageCount; ++page)
            EXPECT_EQ(option(u"frmOption(%1)"_s.arg(page))->isVisibleTo(&window), page == tab)
                << "tab " << tab << " page " << page;
    }
    // Hidden by 戻 る or by the close control, the window keeps its page.
    tabs->setCurrentIndex(3);
    option<QPushButton>(u"cmdEnd"_s)->click();
    open();
    EXPECT_EQ(window.logic().page, 3);
    window.close();
    open();
    EXPECT_EQ(window.logic().page, 3);
}

TEST_F(FormOptionTest, TheScreenCombosSetTheDisplayOffsets)
{
    p.ScreenSizes = BuildScreenSizeList(); // as start-up builds them
    open();
    auto* screen = option<QComboBox>(u"cmbStandardScreen"_s);
    auto* position = option<QComboBox>(u"cmbRelativePosition"_s);
    ASSERT_EQ(screen->currentIndex(), screen->count() - 1);
    EXPECT_EQ(screen->currentText(), u"サブ画面サイズ"_s);
    EXPECT_EQ(position->currentText(), u"サブ画面位置"_s);
    const int fhd = screen->findText(u"1920×1080  FHD      "_s);
    ASSERT_GE(fhd, 0);
    const struct {
        int screen;
        const char16_t* position;
        std::int32_t x;
        std::int32_t y;
    } rows[] = {
        {fhd, u"　←", 1920, 0},
        {fhd, u"　↑", 0, 1080},
        {fhd, u"　→", 0, 0},
        {fhd, u"　↓", 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(QString::fromUtf16(row.position).toStdString());
        p.settings.DisplayOffsetX = p.settings.DisplayOffsetY = 77;
        screen->setCurrentIndex(row.screen);
        position->setCurrentIndex(position->findText(QString::fromUtf16(row.position)));
        Q_EMIT position->activated(position->currentIndex());
        EXPECT_EQ(p.settings.DisplayOffsetX, row.x);
        EXPECT_EQ(p.settings.DisplayOffsetY, row.y);
        EXPECT_EQ(option<QLabel>(u"lblDisplayOffset_x"_s)->text(), QString::number(row.x));
    }
    // Either caption entry chosen: nothing happens.
    p.settings.DisplayOffsetX = p.settings.DisplayOffsetY = 77;
    screen->setCurrentIndex(screen->count() - 1);
    Q_EMIT screen->activated(screen->currentIndex());
    screen->setCurrentIndex(fhd);
    position->setCurrentIndex(0);
    Q_EMIT position->activated(0);
    EXPECT_EQ(p.settings.DisplayOffsetX, 77);
    EXPECT_EQ(p.settings.DisplayOffsetY, 77);
}

TEST_F(FormOptionTest, BoxesThatRefuseLeaveTheirSettingOffWithTheirMessage)
{
    open();
    {
        SCOPED_TRACE("the second screen cannot be switched on");
        option<QCheckBox>(u"chkDualDisplay"_s)->click();
        EXPECT_FALSE(p.settings.DualDisplay);
        EXPECT_FALSE(option<QCheckBox>(u"chkDualDisplay"_s)->isChecked());
        EXPECT_EQ(messages().value(0), u"このゲームでは変更する必要はありません。"_s);
        EXPECT_EQ(Utf8(sim.prompter.asked().at(0).prompt.title), u"エラー"_s);
    }
    sim.prompter.clearAsked();
    {
        SCOPED_TRACE("a companion application without a path");
        p.settings.StartUpPath[0].clear();
        option<QCheckBox>(u"chkStartUp(0)"_s)->click();
        EXPECT_FALSE(p.settings.StartUp[0]);
        EXPECT_FALSE(option<QCheckBox>(u"chkStartUp(0)"_s)->isChecked());
        EXPECT_EQ(messages(), QStringList{u"アプリケーションが見つかりません"_s});
        EXPECT_EQ(Utf8(sim.prompter.asked().at(0).prompt.title), u"ファイルパスエラー"_s);
    }
    sim.prompter.clearAsked();
    {
        SCOPED_TRACE("an existing application, then its file gone from the path box");
        const QString app = dir.filePath(u"companion"_s);
        QFile(app).open(QIODevice::WriteOnly);
        option<QLineEdit>(u"txtStartUp(1)"_s)->setText(app);
        option<QCheckBox>(u"chkStartUp(1)"_s)->click();
        EXPECT_TRUE(p.settings.StartUp[1]);
        EXPECT_EQ(p.settings.StartUpPath[1], app.toStdString());
        option<QLineEdit>(u"txtStartUp(1)"_s)->setText(app + u"x"_s);
        EXPECT_FALSE(p.settings.StartUp[1]);
        EXPECT_TRUE(p.settings.StartUpPath[1].empty());
        EXPECT_FALSE(option<QCheckBox>(u"chkStartUp(1)"_s)->isChecked());
        EXPECT_TRUE(messages().isEmpty());
    }
}

TEST_F(FormOptionTest, WindowMemoryStoresTheMainWindowsFrame)
{
    p.settings.GraphEnabled = true;
    open();
    m_view.setMainWindowFrame(FrameChange{{}, {}, 800, 600});
    settle();
    ASSERT_EQ(frame(&WindowFrame::width), 800);
    ASSERT_EQ(frame(&WindowFrame::height), 600);
    auto* box = option<QCheckBox>(u"chkWindowMemory"_s);
    box->click();
    const CaptureRect stored = p.settings.WindowPosition;
    EXPECT_EQ(stored, (CaptureRect{frame(&WindowFrame::left), frame(&WindowFrame::top), 800, 600}));
    box->click();
    EXPECT_EQ(p.settings.WindowPosition, (CaptureRect{0, 0, 0, 0}));

    // cmdResize puts the window back where a remembered frame says.
    p.settings.WindowPosition = CaptureRect{40, 50, 760, 420};
    option<QPushButton>(u"cmdResize"_s)->click();
    settle();
    EXPECT_EQ(frame(&WindowFrame::left), 40);
    EXPECT_EQ(frame(&WindowFrame::top), 50);
    EXPECT_EQ(frame(&WindowFrame::width), 760);
    EXPECT_EQ(frame(&WindowFrame::height), 420);
    option<QPushButton>(u"cmdResetPosition"_s)->click();
    EXPECT_EQ(p.settings.WindowPosition, (CaptureRect{0, 0, 0, 0}));
    EXPECT_EQ(option<QLabel>(u"lblWindowPosition_ex"_s)->text(), u"0"_s);
}

TEST_F(FormOptionTest, TheGraphBoxWidensAndNarrowsTheMainWindow)
{
    p.settings.GraphEnabled = false;
    open();
    option<QCheckBox>(u"chkGraph"_s)->click();
    settle();
    EXPECT_TRUE(p.settings.GraphEnabled);
    EXPECT_TRUE(p.graph.GraphData.has_value());
    EXPECT_EQ(frame(&WindowFrame::width), 12000 / 15);
    option<QCheckBox>(u"chkGraph"_s)->click();
    settle();
    EXPECT_FALSE(p.graph.GraphData.has_value());
    // Asked for 9000 twips; the resize rules then give the width without the graph.
    EXPECT_EQ(frame(&WindowFrame::width), 488);
    const QStringList lines = logLines();
    EXPECT_EQ(lines.count(u"Change GraphDisplay ON ･･･ End "_s), 1);
    EXPECT_EQ(lines.count(u"Change GraphDisplay OFF ･･･ End "_s), 1);
}

// Whatever changes GraphEnabled, the graph buffer follows it: a graph turned on by 読 込 or
// 初期化 gets samples, one turned off keeps none.
TEST_F(FormOptionTest, LoadAndInitKeepTheGraphBufferInStepWithTheSetting)
{
    open();
    ASSERT_TRUE(p.graph.GraphData.has_value());
    option<QCheckBox>(u"chkGraph"_s)->click();
    option<QPushButton>(u"cmdSave"_s)->click(); // a settings file with the graph off
    option<QCheckBox>(u"chkGraph"_s)->click();
    ASSERT_TRUE(p.graph.GraphData.has_value());

    option<QPushButton>(u"cmdLoad"_s)->click();
    EXPECT_FALSE(p.settings.GraphEnabled);
    EXPECT_FALSE(p.graph.GraphData.has_value()) << "loaded off, the buffer goes";
    EXPECT_FALSE(option<QCheckBox>(u"chkGraph"_s)->isChecked());

    option<QPushButton>(u"cmdInit"_s)->click(); // every question answered Yes / OK
    EXPECT_TRUE(p.settings.GraphEnabled);
    ASSERT_TRUE(p.graph.GraphData.has_value()) << "reset on, a buffer is there for samples";
    EXPECT_EQ(frame(&WindowFrame::width), 12000 / 15);
    AddGraphSample(p, Currency::FromInteger(5), Currency::FromInteger(1000));
    EXPECT_NE(p.graph.GraphData->Value(0).Time, 0.0);
}

TEST_F(FormOptionTest, TheFolderBoxChecksOnlyNamesOfThreeOrMore)
{
    open();
    type(u"txtSaveFolder"_s, u"ab"_s);
    EXPECT_EQ(p.settings.SaveFolder, "ab");
    EXPECT_TRUE(messages().isEmpty());
    // Characters are counted, not bytes: two kanji are six bytes yet still too short to check.
    type(u"txtSaveFolder"_s, u"記録"_s);
    EXPECT_EQ(p.settings.SaveFolder, "記録");
    EXPECT_TRUE(messages().isEmpty());

    type(u"txtSaveFolder"_s, dir.filePath(u"missing"_s));
    EXPECT_EQ(messages(), QStringList{u"フォルダ名が不正です。"_s});
    EXPECT_EQ(Utf8(sim.prompter.asked().at(0).prompt.title), u"アクセスエラー"_s);
    EXPECT_EQ(p.settings.SaveFolder, p.programFolder);
    // The box keeps what was typed until the window shows its settings again; a second focus
    // change without an edit asks nothing again.
    EXPECT_EQ(option<QLineEdit>(u"txtSaveFolder"_s)->text(), dir.filePath(u"missing"_s));
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(option<QLineEdit>(u"txtSaveFolder"_s), &out);
    EXPECT_EQ(messages().size(), 1);
    m_view.options()->activated();
    EXPECT_EQ(option<QLineEdit>(u"txtSaveFolder"_s)->text(),
              QString::fromStdString(p.programFolder));

    type(u"txtSaveFolder"_s, dir.path());
    EXPECT_EQ(p.settings.SaveFolder, dir.path().toStdString());
    type(u"txtSaveFile"_s, u"記録"_s);
    EXPECT_EQ(p.settings.SaveFile, u"記録"_s);

    // The browser's choice, when it exists; nothing chosen changes nothing.
    m_view.options()->chooseFolder = [&](const QString& title, const QString&) {
        EXPECT_EQ(title, SaveFolderBrowserText());
        return dir.filePath(u"log"_s);
    };
    QDir(dir.path()).mkpath(u"log"_s);
    option<QPushButton>(u"cmdSaveFolder"_s)->click();
    EXPECT_EQ(p.settings.SaveFolder, dir.filePath(u"log"_s));
    EXPECT_EQ(option<QLineEdit>(u"txtSaveFolder"_s)->text(), dir.filePath(u"log"_s));
    m_view.options()->chooseFolder = [](const QString&, const QString&) { return QString(); };
    option<QPushButton>(u"cmdSaveFolder"_s)->click();
    EXPECT_EQ(p.settings.SaveFolder, dir.filePath(u"log"_s));
}

TEST_F(FormOptionTest, TheRecordFileLabelsFollowTheirBoxes)
{
    p.settings.SaveCsv = false;
    p.settings.MonthlyAppend = true;
    open();
    EXPECT_EQ(option<QLabel>(u"lblSaveCsv"_s)->text(), u".TXT"_s);
    EXPECT_EQ(option<QLabel>(u"lblSaveFile_u"_s)->text(), u"＋ ［開始年月］月"_s);
    option<QCheckBox>(u"chkSaveCsv"_s)->click();
    EXPECT_TRUE(p.settings.SaveCsv);
    EXPECT_EQ(option<QLabel>(u"lblSaveCsv"_s)->text(), u".CSV"_s);
    option<QCheckBox>(u"chkSaveCsv"_s)->click();
    EXPECT_EQ(option<QLabel>(u"lblSaveCsv"_s)->text(), u".TXT"_s);
    option<QCheckBox>(u"chkSaveDistance"_s)->click();
    EXPECT_FALSE(p.settings.MonthlyAppend);
    EXPECT_EQ(option<QLabel>(u"lblSaveFile_u"_s)->text(), u"＋ ［開始年月日時分］"_s);
}

TEST_F(FormOptionTest, OptionButtonsWriteTheirSettingAtOnce)
{
    open();
    option<QRadioButton>(u"optBeepBeep(3)"_s)->click();
    EXPECT_EQ(p.settings.BeepMode, 3);
    EXPECT_FALSE(option<QRadioButton>(u"optBeepBeep(0)"_s)->isChecked());
    EXPECT_TRUE(option<QRadioButton>(u"optBeepBeep(3)"_s)->isChecked());
    EXPECT_FALSE(sim.beeper.sounds.empty()) << "the chosen sound is played";
    const struct {
        const char* name;
        const char16_t* format;
    } rows[] = {{"optSaveFormatB", u".bmp"},
                {"optSaveFormatJ9", u".jpg90"},
                {"optSaveFormatJ7", u".jpg70"},
                {"optSaveFormatP", u".png"}};
    for (const auto& row : rows) {
        option<QRadioButton>(QLatin1String(row.name))->click();
        EXPECT_EQ(p.settings.SaveFormat, QString::fromUtf16(row.format));
        int on = 0;
        for (const auto& other : rows)
            on += option<QRadioButton>(QLatin1String(other.name))->isChecked() ? 1 : 0;
        EXPECT_EQ(on, 1);
    }
}

TEST_F(FormOptionTest, InitAfterYesAsksTheStartQuestionsAndShowsTheDefaults)
{
    open();
    sim.numberInput.queue(250);
    clickLabel(u"lblGraphTimeScale"_s);
    sim.numberInput.queue(31);
    clickLabel(u"lblCaptureInterval"_s);
    ASSERT_EQ(p.settings.CaptureInterval, 31);

    sim.prompter.queue(PromptAnswer::No);
    option<QPushButton>(u"cmdInit"_s)->click();
    EXPECT_EQ(p.settings.CaptureInterval, 31) << "No keeps everything";
    EXPECT_EQ(messages(), QStringList{u"設定を初期化してもよろしいですか？"_s});

    sim.prompter.clearAsked();
    option<QPushButton>(u"cmdInit"_s)->click(); // every question answered Yes / OK
    EXPECT_GT(messages().size(), 2) << "the screen-mode and colour questions follow";
    Settings defaults;
    ApplyDefaults(defaults, p.programFolder);
    EXPECT_EQ(p.settings.CaptureInterval, defaults.CaptureInterval);
    EXPECT_EQ(option<QLabel>(u"lblCaptureInterval"_s)->text(),
              QString::number(defaults.CaptureInterval));
    EXPECT_EQ(option<QLabel>(u"lblGraphTimeScale"_s)->text(),
              QString::number(defaults.GraphTimeScale));
    EXPECT_EQ(logLines().count(u"Initializing ConfigFile ･･･ End "_s), 1);
}

TEST_F(FormOptionTest, SaveWritesWhatLoadReadsBack)
{
    open();
    sim.numberInput.queue(17);
    clickLabel(u"lblCapture_sx(1)"_s);
    option<QCheckBox>(u"chkSaveCsv"_s)->click();
    type(u"txtSaveFile"_s, u"記録"_s);
    const Settings saved = p.settings;
    option<QPushButton>(u"cmdSave"_s)->click();
    ASSERT_TRUE(QFile::exists(dir.filePath(u"KM2DConfig.ini"_s)));

    sim.numberInput.queue(400);
    clickLabel(u"lblCapture_sx(1)"_s);
    option<QCheckBox>(u"chkSaveCsv"_s)->click();
    type(u"txtSaveFile"_s, u"別"_s);
    option<QPushButton>(u"cmdLoad"_s)->click();
    EXPECT_EQ(p.settings.CaptureArea[1], saved.CaptureArea[1]);
    EXPECT_EQ(p.settings.SaveCsv, saved.SaveCsv);
    EXPECT_EQ(p.settings.SaveFile, saved.SaveFile);
    EXPECT_EQ(option<QLabel>(u"lblCapture_sx(1)"_s)->text(), u"17"_s);
    EXPECT_EQ(option<QLineEdit>(u"txtSaveFile"_s)->text(), u"記録"_s);
    const QStringList lines = logLines();
    EXPECT_TRUE(lines.contains(u"Saving ConfigFile ･･･ End "_s));
    EXPECT_TRUE(lines.contains(u"Loading ConfigFile ･･･ End "_s));
}

TEST_F(FormOptionTest, EndAndTheCloseControlHandTheWatchSettingsToItsTimer)
{
    for (const bool byClose : {false, true}) {
        SCOPED_TRACE(byClose ? "close control" : "cmdEnd");
        FormsHarness h;
        h.p.settings.DoHLCheckExec = false;
        h.load();
        Execute(h.p, Command::Option);
        FormOption& window = *h.m_view.options();
        Timer* watch = h.p.timers.timDoHLInterval.get();
        ASSERT_NE(watch, nullptr);
        h.sim.numberInput.queue(300);
        QLabel* interval = window.findChild<QLabel*>(u"lblDoHLInterval"_s);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(interval, &release);
        window.findChild<QCheckBox*>(u"chkDoHLCheckExec"_s)->click();
        ASSERT_TRUE(h.p.settings.DoHLCheckExec);
        // A name typed but not yet left is taken on the way out.
        window.findChild<QLineEdit*>(u"txtSaveFile"_s)->setText(u"記録"_s);
        EXPECT_NE(watch->interval(), 300);

        if (byClose)
            window.close();
        else
            window.findChild<QPushButton*>(u"cmdEnd"_s)->click();
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(watch->interval(), 300);
        EXPECT_TRUE(watch->isEnabled());
        EXPECT_EQ(h.p.settings.SaveFile, u"記録"_s);
        EXPECT_FALSE(QFile::exists(h.dir.filePath(u"KM2DConfig.ini"_s))) << "nothing is written";
    }
}

TEST_F(FormOptionTest, TheGestureBoxLoadsAndUnloadsTheGestureInput)
{
    p.settings.GestureEnabled = false;
    open();
    option<QCheckBox>(u"chkGesture"_s)->click();
    EXPECT_TRUE(p.settings.GestureEnabled);
    EXPECT_TRUE(sim.mouseButtons.listening());
    option<QCheckBox>(u"chkGesture"_s)->click();
    EXPECT_FALSE(p.settings.GestureEnabled);
    EXPECT_FALSE(sim.mouseButtons.listening());
    const QStringList lines = logLines();
    EXPECT_EQ(lines.count(u"Mouse Events Acquire ･･･ Successfull "_s), 1);
    EXPECT_EQ(lines.count(u"Change MouseGesture ON ･･･ End "_s), 1);
    EXPECT_EQ(lines.count(u"DirectX UnLoding ･･･ End "_s), 1);
    EXPECT_EQ(lines.count(u"Change MouseGesture OFF ･･･ End "_s), 1);
}

TEST_F(FormOptionTest, CapturesGoOnWhileTheWindowIsOpenAndUseItsChanges)
{
    show(u"35"_s, u"12.34"_s, u"1000"_s);
    p.settings.CaptureInterval = 5;
    open();
    sim.numberInput.queue(1);
    clickLabel(u"lblCaptureInterval"_s);
    action(u"menuRun"_s)->trigger();
    at(30);
    ASSERT_EQ(p.measurement.ReadLv, 35);
    show(u"35"_s, u"14.34"_s, u"1100"_s);
    at(30 + 61);
    EXPECT_TRUE(m_view.options()->isVisible());
    EXPECT_TRUE(widget<QPlainTextEdit>(u"txtLog"_s)
                    ->toPlainText()
                    .contains(u"10:01   35    2.00 ％            100"_s))
        << "a capture a minute later, the window still open"
        << widget<QPlainTextEdit>(u"txtLog"_s)->toPlainText().toStdString();
}

TEST_F(FormOptionTest, TheMenuClearsTheRegionPictures)
{
    FormOption& window = open();
    auto* picture = option<QLabel>(u"picCapture(2)"_s);
    picture->setPixmap(QPixmap(10, 10));
    window.hide();
    open();
    EXPECT_TRUE(picture->pixmap().isNull());
}

} // namespace

namespace {

TEST_F(FormOptionTest, AutomaticDetectionAppliesTheFoundAreasOnlyWhenConfirmed)
{
    FormOption& window = open();
    closeGame();
    int asked = 0;
    window.confirmAreas = [&](const PixelBuffer&, const AreaProposal&) { return ++asked > 1; };
    option<QPushButton>(u"cmdDetect"_s)->click();
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(messages(), QStringList{u"ゲームウィンドウが見つかりません。"_s});

    GameFrameSpec scene = test::FrameSpec(64, 77.77, 31337);
    scene.at = {FramePoint{40, 40}, FramePoint{400, 600}, FramePoint{700, 300}};
    LoadDefaultGlyphTables(p.settings, scene.colour);
    SetDefaultCaptureAreas(p.settings, ScreenMode::FullScreen);
    const WindowId game = windows.addWindow("Gamebryo Application", RenderGameFrame(scene));
    windows.setForeground(game);
    const std::int32_t before = p.settings.CaptureArea[0].Y;
    option<QPushButton>(u"cmdDetect"_s)->click(); // declined
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(p.settings.CaptureArea[0].Y, before);
    option<QPushButton>(u"cmdDetect"_s)->click();
    EXPECT_EQ(p.settings.CaptureArea[0].Y, 40);
    EXPECT_EQ(option<QLabel>(u"lblCapture_sy(0)"_s)->text(), u"40"_s);
    EXPECT_EQ(option<QLabel>(u"lblCapture_sy(1)"_s)->text(), u"600"_s);
    EXPECT_FALSE(QFile::exists(dir.filePath(u"KM2DConfig.ini"_s))) << "saving is the user's";
}

} // namespace

namespace {

TEST_F(FormOptionTest, TheRollingWindowIsAskedWithinItsBoundsAndKeptBesideTheSettings)
{
    open();
    clickLabel(u"lblRollingMinutes"_s); // cancelled
    ASSERT_EQ(sim.numberInput.asked().size(), 1u);
    const NumberRequest& asked = sim.numberInput.asked().back();
    EXPECT_EQ(Utf8(asked.min), u"10"_s);
    EXPECT_EQ(Utf8(asked.max), u"240"_s);
    EXPECT_EQ(asked.initial, 60);
    EXPECT_EQ(p.extra.RollingMinutes, 60);

    sim.numberInput.queue(90);
    clickLabel(u"lblRollingMinutes"_s);
    EXPECT_EQ(p.extra.RollingMinutes, 90);
    EXPECT_EQ(option<QLabel>(u"lblRollingMinutes"_s)->text(), u"90"_s);
    EXPECT_EQ(LoadExtraSettings(p.programFolder).RollingMinutes, 90);
    EXPECT_FALSE(QFile::exists(dir.filePath(u"KM2DConfig.ini"_s)));
}

} // namespace
