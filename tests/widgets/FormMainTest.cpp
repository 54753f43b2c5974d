#include "FormsFixture.h"
#include "app/Command.h"
#include "app/MainWindowGeometry.h"
#include "common/Cp932.h"
#include "graph/GraphDisplay.h"
#include "measurement/CaptureCycle.h"
#include "records/LoggingRun.h"
#include "records/Popup.h"
#include "ui/qt/Fonts.h"
#include "ui/qt/FormOption.h"
#include "ui/qt/FormPopup.h"
#include "ui/qt/GraphPainter.h"
#include "ui/qt/QtGeometry.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

using namespace kesmaro;
using namespace Qt::StringLiterals;

namespace {

class FormMainTest : public FormsTest {
protected:
    void resizeInner(QSize inner)
    {
        const QSize menu = main().size() - main().centralWidget()->size();
        main().resize(inner + menu);
        settle();
    }
    QSize inner() { return main().centralWidget()->size(); }
    void click(QWidget* target, QPoint at)
    {
        QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
    }
};

TEST_F(FormMainTest, LoadPlacesTheWindowForEveryWindowPositionCase)
{
    const struct {
        const char* name;
        CaptureRect saved;
        std::optional<int> left; // nullopt: the designed position's
        std::optional<int> top;
        std::optional<QSize> size; // nullopt: the designed size
    } rows[] = {
        // The rules are the geometry's own; these rows show the window follows them.
        {"all zero", {0, 0, 0, 0}, {}, {}, {}},
        {"whole rectangle", {20, 30, 760, 420}, 20, 30, QSize(760, 420)},
        {"off every screen", {-5000, 9000, 760, 420}, {}, {}, QSize(760, 420)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FormsHarness fresh;
        fresh.p.settings.GraphEnabled = true;
        fresh.p.settings.WindowPosition = row.saved;
        fresh.load();
        FormMain& w = *fresh.m_view.main();
        // The whole window is centred; the rules count it without the status line.
        const QSize statusLine(0, w.frameGeometry().height() - w.rulesFrame().height());
        QRect designed(QPoint(0, 0), ToQSize(kDesignedInnerSize) +
                                         (w.frameGeometry().size() - w.centralWidget()->size()));
        designed.moveCenter(QGuiApplication::primaryScreen()->availableGeometry().center());
        QRect expected(designed.topLeft(), row.size.value_or(designed.size() - statusLine));
        if (row.left)
            expected.moveLeft(*row.left);
        if (row.top)
            expected.moveTop(*row.top);
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(w.windowTitle(), QString::fromStdString(kProgramTitle));
        EXPECT_EQ(w.rulesFrame().size(), expected.size());
        // The offscreen platform's pretend frame may shift the window by its width.
        EXPECT_LE((w.frameGeometry().topLeft() - expected.topLeft()).manhattanLength(), 8);
    }
}

TEST_F(FormMainTest, ResizeRulesCorrectTheOuterSizeWithAndWithoutTheGraph)
{
    const struct {
        bool graph;
        QSize inner;
        std::optional<int> outerWidth; // nullopt: the inner width stays
        std::optional<int> outerHeight;
    } rows[] = {
        {true, {500, 200}, 710, 346},
        {false, {900, 400}, 488, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row.graph << " " << row.inner.width() << "x" << row.inner.height());
        FormsHarness fresh;
        fresh.p.settings.GraphEnabled = row.graph;
        fresh.p.settings.WindowMemory = true;
        fresh.load();
        FormMain& w = *fresh.m_view.main();
        const QSize menu = w.size() - w.centralWidget()->size();
        w.resize(row.inner + menu);
        settle();
        const QSize outer = w.rulesFrame().size();
        const QSize inner = w.centralWidget()->size();
        EXPECT_EQ(row.outerWidth ? outer.width() : inner.width(),
                  row.outerWidth.value_or(row.inner.width()));
        EXPECT_EQ(row.outerHeight ? outer.height() : inner.height(),
                  row.outerHeight.value_or(row.inner.height()));
        auto* graph = w.findChild<QWidget*>(u"frmGraph"_s);
        EXPECT_EQ(graph->isVisible(), row.graph);
        if (row.graph) {
            // The frame follows the corrected size the rules worked on.
            EXPECT_EQ(graph->geometry(), QRect(480, 2, std::max(inner.width(), 710) - 492,
                                               std::max(inner.height(), 300) - 6));
        }
        const CaptureRect remembered = fresh.p.settings.WindowPosition;
        EXPECT_EQ(QSize(remembered.Width, remembered.Height), outer);
        EXPECT_EQ(fresh.logLines().last(), u"Resaizing Form ･･･ End "_s);
        EXPECT_EQ(w.findChild<QWidget*>(u"txtLog"_s)->geometry().bottom() + 1, inner.height() - 8);
    }
}

TEST_F(FormMainTest, MinimisingChangesNothingAndWritesNothing)
{
    p.settings.WindowMemory = true;
    load();
    const QStringList before = logLines();
    const CaptureRect position = p.settings.WindowPosition;
    main().showMinimized();
    settle();
    main().resize(300, 200);
    settle();
    EXPECT_EQ(logLines(), before);
    EXPECT_EQ(p.settings.WindowPosition, position);
}

TEST_F(FormMainTest, MenusAndTheSuspendButtonFollowRunSuspendAndStop)
{
    load();
    QAction* run = action(u"menuRun"_s);
    QAction* stop = action(u"menuStop"_s);
    auto* tempStop = widget<QPushButton>(u"cmdTempStop"_s);
    const QColor face = tempStop->palette().color(QPalette::Button);
    const auto expect = [&](bool runOn, const QString& caption, bool stopOn, bool red) {
        EXPECT_EQ(run->isEnabled(), runOn);
        EXPECT_EQ(run->text(), caption);
        EXPECT_EQ(stop->isEnabled(), stopOn);
        EXPECT_EQ(tempStop->palette().color(QPalette::Button), red ? QColor(255, 0, 0) : face);
    };
    {
        SCOPED_TRACE("idle");
        expect(true, u"開始"_s, false, false);
    }
    run->trigger();
    {
        SCOPED_TRACE("running");
        expect(false, u"ロギング"_s, true, false);
    }
    tempStop->click();
    {
        SCOPED_TRACE("suspended");
        expect(false, u"ロギング"_s, true, true);
    }
    stop->trigger();
    {
        SCOPED_TRACE("stopped");
        expect(true, u"開始"_s, false, false);
    }
    const QStringList lines = logLines();
    EXPECT_TRUE(lines.contains(u"Click : Run "_s));
    EXPECT_TRUE(lines.contains(u"Suspend Mode On "_s));
    EXPECT_TRUE(lines.contains(u"Click : Stop "_s));
}

TEST_F(FormMainTest, ConfigMarksShowTheFlagsWhenTheMenuOpens)
{
    load();
    QAction* debug = action(u"menuDebugMode"_s);
    QAction* gesture = action(u"menuGesture"_s);
    auto* config = widget<QMenu>(u"menuConfig"_s);
    // Changed elsewhere (the options window): the marks follow only when the menu opens.
    p.flags.DebugMode = true;
    p.settings.GestureEnabled = true;
    Q_EMIT config->aboutToShow();
    EXPECT_TRUE(debug->isChecked());
    EXPECT_TRUE(gesture->isChecked());

    debug->trigger();
    EXPECT_FALSE(p.flags.DebugMode);
    EXPECT_FALSE(debug->isChecked());
    EXPECT_FALSE(widget(u"frmDebug"_s)->isVisible());
    debug->trigger();
    EXPECT_TRUE(widget(u"frmDebug"_s)->isVisible());
    EXPECT_TRUE(widget(u"picCapture(0)"_s)->isVisible());
    EXPECT_EQ(logLines().last(), u"Change DebugMode ON･･･ End "_s);
}

TEST_F(FormMainTest, ClosingDuringARunReportsIntoTheLogAndEndsWithoutAsking)
{
    load();
    show(u"35"_s, u"12.34"_s, u"1000"_s);
    action(u"menuRun"_s)->trigger();
    at(30);
    ASSERT_EQ(p.measurement.ReadLv, 35);
    const qsizetype before = logLines().size();
    main().close();
    settle();
    EXPECT_FALSE(main().isVisible());
    EXPECT_EQ(m_ended, 1);
    EXPECT_TRUE(sim.prompter.asked().empty());
    const QString shown = widget<QPlainTextEdit>(u"txtLog"_s)->toPlainText();
    EXPECT_TRUE(shown.contains(u"    開始  Lv:  35    Exp:  12.34 ％"_s)) << shown.toStdString();
    const QStringList added = logLines().mid(before);
    const QStringList order{u"Closing Program ･･･ "_s, u"Measure Result Data Display Complete "_s,
                            u"End of the Program "_s};
    qsizetype from = 0;
    for (const QString& line : order) {
        const qsizetype at = added.indexOf(line, from);
        EXPECT_GE(at, from) << line.toStdString() << " in " << added.join('|').toStdString();
        from = at + 1;
    }
}

// The other windows are gone before the last lines and the final wait, not after them.
TEST_F(FormMainTest, ClosingUnloadsTheOtherWindowsBeforeTheProgramsLastLines)
{
    load();
    Execute(p, Command::Option);
    ShowPopup(p.popup, p.flags, m_view, "待機中", "", 9);
    settle();
    ASSERT_TRUE(m_view.options()->isVisible());
    ASSERT_TRUE(m_view.popup()->isVisible());
    bool shownDuringTheWait = true;
    QStringList linesAtTheWait;
    sim.scheduler.at(sim.clock.elapsedMs() + 100, [&] {
        shownDuringTheWait = m_view.options()->isVisible() || m_view.popup()->isVisible();
        linesAtTheWait = logLines();
    });
    main().close();
    settle();
    EXPECT_FALSE(shownDuringTheWait);
    ASSERT_FALSE(linesAtTheWait.isEmpty());
    EXPECT_TRUE(linesAtTheWait.contains(u"End of the Program "_s));
}

TEST_F(FormMainTest, AnEtchedLineRunsUnderTheMenuBar)
{
    load();
    QWidget* inner = main().centralWidget();
    const QImage picture = inner->grab().toImage();
    const QColor shadow = inner->palette().color(QPalette::Dark);
    const QColor highlight = inner->palette().color(QPalette::Light);
    ASSERT_NE(shadow, highlight);
    for (const int x : {0, inner->width() / 2, inner->width() - 1}) {
        SCOPED_TRACE(x);
        EXPECT_EQ(picture.pixel(x, 0), shadow.rgb());
        EXPECT_EQ(picture.pixel(x, 1), highlight.rgb());
    }
}

TEST_F(FormMainTest, GraphLabelClicksZoomAndScrollTheView)
{
    p.settings.GraphEnabled = true;
    load();
    show(u"35"_s, u"12.34"_s, u"1000"_s);
    action(u"menuRun"_s)->trigger();
    at(30);
    auto* graph = widget(u"frmGraph"_s);
    const GraphLayout& layout = GraphPictureOf(p).layout;
    const auto centre = [](const TwipsRect& r) { return ToQRect(r.toPixels()).center(); };
    const std::int32_t step = p.settings.GraphTimeScale / 4;
    const struct {
        const char* name;
        QPoint at;
        float zoom;
        std::int32_t offset;
    } rows[] = {
        {"top Exp value", centre(layout.lblGraph_El[0]), 1.1F, 0},
        {"lower Exp value", centre(layout.lblGraph_El[2]), 1.1F, 0},
        {"past", centre(layout.lblGraph_Tl[1]), 1.1F, step},
        {"present", centre(layout.lblGraph_Tl[0]), 1.1F, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        click(graph, row.at);
        EXPECT_FLOAT_EQ(p.graph.GraphZoom, row.zoom);
        EXPECT_EQ(p.graph.GraphOffset, row.offset);
    }
    EXPECT_EQ(logLines().last(), u"Click : Graph New View "_s);
}

} // namespace

namespace {

// txtLog's columns line up only when every character takes as many 6-pixel cells as it has
// CP932 bytes; a missing face or a fallback font breaks that.
TEST(LogFontTest, EveryCharacterTakesOneCellPerCp932Byte)
{
    const QFontMetrics metrics(LogFont());
    EXPECT_EQ(QFontInfo(LogFont()).family(), u"Noto Sans Mono CJK JP"_s);
    for (const QString& text :
         {u" 月日 時刻    Lv    獲得Exp        獲得ｺｲﾝ   経過    Exp時給     ｺｲﾝ時給 "_s,
          u"05/01 12:06   35    3.00 ％          3,000    6.0   30.00 ％        30.0 "_s,
          u" 経過: 2024/05/01 12:00:20  ～  2024/05/01 12:42:19  ＝  0日 0時 42分間"_s,
          u"Closing ･･･ キャラクタチェンジ検出"_s}) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(metrics.horizontalAdvance(text), 6 * ByteWidth(text.toStdString()));
    }
}

} // namespace

TEST_F(FormMainTest, TheStatusLineSitsBelowTheDesignedLayoutAndLogsOnlyChanges)
{
    show(u"35"_s, u"10.00"_s, u"1000"_s);
    load();
    FormMain& w = main();
    auto* bar = widget(u"staStatusLine"_s);
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    // The designed inner area is whole above the bar, and the rules' frame leaves the bar out.
    EXPECT_EQ(inner(), ToQSize(kDesignedInnerSize));
    EXPECT_EQ(bar->geometry().top(), w.centralWidget()->geometry().bottom() + 1);
    EXPECT_EQ(w.frameGeometry().height() - w.rulesFrame().height(), bar->height());
    EXPECT_EQ(widget<QLabel>(u"lblStatusNextLv"_s)->text(), u"次のLvまで ―（直近60分 ―）"_s);

    LoggingControl(p, LoggingMode::Start);
    CaptureImage(p);
    sim.scheduler.runUntil(sim.clock.elapsedMs() + 30 * 60 * 1000);
    show(u"35"_s, u"20.00"_s, u"2000"_s);
    CaptureImage(p);
    w.showStatus();
    EXPECT_EQ(widget<QLabel>(u"lblStatusNextLv"_s)->text(),
              u"次のLvまで 約4時間（直近60分 約4時間）"_s);
    EXPECT_EQ(widget<QLabel>(u"lblStatusRolling"_s)->text(),
              u"直近60分  Exp 20.00%/h  ｺｲﾝ 2000/h"_s);
    EXPECT_TRUE(widget<QLabel>(u"lblStatusHealth"_s)->text().isEmpty());

    show(u"35"_s, QString(), u"2000"_s);
    CaptureImage(p);
    w.showStatus();
    EXPECT_EQ(widget<QLabel>(u"lblStatusHealth"_s)->text(),
              u"Exp読取失敗: 範囲に文字色なし（1分未満継続）"_s);
    const QString line = u"StatusLine : 次のLvまで 約4時間（直近60分 約4時間） | "
                         u"直近60分  Exp 20.00%/h  ｺｲﾝ 2000/h | Exp読取失敗: 範囲に文字色なし"_s;
    EXPECT_EQ(logLines().count(line), 1);
    w.showStatus();
    EXPECT_EQ(logLines().count(line), 1);

    // The resize rules still work on the inner area alone.
    resizeInner(QSize(488, 250));
    EXPECT_EQ(w.rulesFrame().height(), kMinOuterHeight);
}
