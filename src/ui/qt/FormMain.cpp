#include "ui/qt/FormMain.h"

#include "app/MainWindowEvents.h"
#include "app/MainWindowGeometry.h"
#include "app/MainWindowLogic.h"
#include "common/Utf8.h"
#include "measurement/StatusLine.h"
#include "platform/qt/Pictures.h"
#include "records/DebugItems.h"
#include "screenshots/ImageFiles.h"
#include "state/Program.h"
#include "ui/qt/Fonts.h"
#include "ui/qt/GraphFrame.h"
#include "ui/qt/QtGeometry.h"
#include "ui/qt/QtText.h"
#include "ui/qt/Widgets.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

namespace kesmaro {

using namespace Qt::StringLiterals;

namespace {

// The column header the runs write into txtLog, shown above it in the same face.
const QString kLogColumns =
    u" 月日 時刻    Lv    獲得Exp        獲得ｺｲﾝ   経過    Exp時給     ｺｲﾝ時給 "_s;

constexpr int kLeftColumnWidth = 465;
constexpr int kTxtLogLeft = 8;

constexpr std::array<std::string ResultLabels::*, 12> kResultFields{
    &ResultLabels::lblStartTime,  &ResultLabels::lblEndTime,  &ResultLabels::lblElapseTime,
    &ResultLabels::lblStartLv,    &ResultLabels::lblEndLv,    &ResultLabels::lblElapseLv,
    &ResultLabels::lblStartExp,   &ResultLabels::lblEndExp,   &ResultLabels::lblElapseExp,
    &ResultLabels::lblStartMoney, &ResultLabels::lblEndMoney, &ResultLabels::lblElapseMoney};
constexpr std::array<const char*, 12> kResultNames{
    "lblStartTime", "lblEndTime",    "lblElapseTime", "lblStartLv",
    "lblEndLv",     "lblElapseLv",   "lblStartExp",   "lblEndExp",
    "lblElapseExp", "lblStartMoney", "lblEndMoney",   "lblElapseMoney"};

// Colours are stored with the high bit marking a system colour index; others are 0x00BBGGRR.
std::optional<QColor> storedColour(std::uint32_t value)
{
    if (value & 0x80000000U)
        return std::nullopt;
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

// One pixel of an etched line: the shadow above, the highlight below.
QFrame* etchedLine(QWidget* parent, const char* name, QRect where, QPalette::ColorRole role)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setGeometry(where);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, palette.color(role));
    line->setPalette(palette);
    return line;
}

// The text box shows CR LF line ends as one break; the caret (in characters) moves with the
// text before it.
int displayPosition(std::string_view text, int position)
{
    const QString before = Q(Utf8Left(text, std::size_t(std::max(position, 0))));
    return int(before.size() - before.count(u"\r\n"_s));
}

} // namespace

FormMain::FormMain(Program& p) : m_program(p)
{
    setObjectName(u"FormMain"_s);
    setFont(InterfaceFont());
    m_inner = new QWidget(this);
    m_inner->setObjectName(u"FormMainInner"_s);
    m_inner->installEventFilter(this);
    setCentralWidget(m_inner);

    buildMenus();
    buildResultTable(m_inner);

    m_cmdTempStop = new QPushButton(u"一時停止"_s, m_inner);
    m_cmdTempStop->setObjectName(u"cmdTempStop"_s);
    m_cmdTempStop->setGeometry(8, 96, 73, 33);
    connect(m_cmdTempStop, &QPushButton::clicked, this,
            [this] { Execute(m_program, Command::TempStop); });

    buildCaptureRows(m_inner);

    auto* lblLog_t = PlacedLabel(m_inner, kLogColumns, "lblLog_t", QRect(11, 136, 438, 13));
    lblLog_t->setFont(LogFont());
    m_txtLog = new QPlainTextEdit(m_inner);
    m_txtLog->setObjectName(u"txtLog"_s);
    m_txtLog->setFont(LogFont());
    m_txtLog->setReadOnly(true);
    m_txtLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_txtLog->setGeometry(kTxtLogLeft, kTxtLogTop, kLeftColumnWidth, 197);
    // The header sits over the text's first column.
    m_txtLog->document()->setDocumentMargin(2);

    buildDebugFrame(m_inner);

    m_graph = new GraphFrame(m_program, m_inner);
    m_graph->setGeometry(kGraphFrameLeft, kGraphFrameTop, 385, 361);
    m_graph->hide();

    buildStatusLine();
    // The status line comes on top of the designed size.
    resize(ToQSize(kDesignedInnerSize) +
           QSize(0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height()));
}

void FormMain::buildStatusLine()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(u"staStatusLine"_s);
    bar->setSizeGripEnabled(false);
    constexpr std::array<const char*, 3> names{"lblStatusNextLv", "lblStatusRolling",
                                               "lblStatusHealth"};
    for (std::size_t i = 0; i < m_status.size(); ++i) {
        m_status[i] = new QLabel(bar);
        m_status[i]->setObjectName(QLatin1String(names[i]));
        // The health reason takes what is left, the others keep their text whole.
        bar->addWidget(m_status[i], i == 2 ? 1 : 0);
    }
    // A fixed height, so that the window can be sized for it before it is first laid out.
    bar->setFont(font());
    showStatus();
    bar->ensurePolished();
    for (QLabel* field : m_status)
        field->ensurePolished();
    bar->setFixedHeight(bar->sizeHint().height());
    // How long a failure has lasted moves on between captures.
    m_statusTimer = new QTimer(this);
    m_statusTimer->setInterval(15000);
    connect(m_statusTimer, &QTimer::timeout, this, [this] { showStatus(); });
    m_statusTimer->start();
}

int FormMain::statusLineHeight() const
{
    const QStatusBar* bar = findChild<QStatusBar*>();
    return bar && !bar->isHidden() ? bar->height() : 0;
}

QRect FormMain::rulesFrame() const
{
    return frameGeometry().adjusted(0, 0, 0, -statusLineHeight());
}

void FormMain::showStatus()
{
    // The closing sequence writes the last debug lines itself.
    if (m_program.flags.ProgramClosing)
        return;
    const StatusTexts texts = ComputeStatusLine(m_program);
    m_status[0]->setText(Q(texts.nextLevel));
    m_status[1]->setText(Q(texts.rolling));
    m_status[2]->setText(Q(texts.health));
    const QString logged = Q(texts.logText());
    // Logged from the window's showing on, once the start has opened the debug log.
    if (isVisible() && logged != m_statusLogged) {
        m_statusLogged = logged;
        m_program.log.WriteDebugLog(logged.toStdString());
    }
}

FormMain::~FormMain() = default;

QAction* FormMain::addCommand(QMenu* menu, const QString& caption, const char* name,
                              Command command)
{
    QAction* action = menu ? menu->addAction(caption) : menuBar()->addAction(caption);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, [this, command] {
        Execute(m_program, command);
        refreshConfigMarks();
    });
    return action;
}

void FormMain::buildMenus()
{
    QMenuBar* bar = menuBar();
    const auto menu = [&](const QString& caption, const char* name) {
        QMenu* m = bar->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        m->setFont(InterfaceFont());
        return m;
    };
    QMenu* file = menu(u"ファイル"_s, "menuFile");
    addCommand(file, u"パターン保存"_s, "menuPatternSave", Command::PatternSave);
    addCommand(file, u"終了"_s, "menuEnd", Command::End);

    QMenu* config = menu(u"設定"_s, "menuConfig");
    addCommand(config, u"オプション..."_s, "menuOption", Command::Option);
    m_menuGesture = addCommand(config, u"マウスジェスチャ"_s, "menuGesture", Command::Gesture);
    m_menuDebugMode = addCommand(config, u"デバッグモード"_s, "menuDebugMode", Command::DebugMode);
    m_menuGesture->setCheckable(true);
    m_menuDebugMode->setCheckable(true);
    // The marks follow the flags, which the options window changes too.
    connect(config, &QMenu::aboutToShow, this, [this] { refreshConfigMarks(); });

    m_menuRun = addCommand(nullptr, u"開始"_s, "menuRun", Command::Run);
    m_menuStop = addCommand(nullptr, u"停止"_s, "menuStop", Command::Stop);

    QMenu* tools = menu(u"ツール"_s, "menuTools");
    addCommand(tools, u"らんだまーオンリーONE"_s, "menuRandomOne", Command::RandomOne);
    addCommand(tools, u"らんだまーステキなサムシング"_s, "menuRandomSome", Command::RandomSome);
    addCommand(tools, u"プリントスクリーン"_s, "menuPrtScr", Command::PrtScr);

    QMenu* help = menu(u"ヘルプ"_s, "menuHelp");
    addCommand(help, u"クイックリファレンス"_s, "menuQuick", Command::QuickReference);
    addCommand(help, u"使用方法"_s, "menuHowToUse", Command::HowToUse);
    addCommand(help, u"よんで！"_s, "menuReadMe", Command::ReadMe);
    addCommand(help, u"実行環境調査"_s, "menuOperatingInfo", Command::OperatingInfo);
    addCommand(help, u"バージョン情報..."_s, "menuVersion", Command::Version);
}

void FormMain::buildResultTable(QWidget* inner)
{
    auto* frame = new QGroupBox(u"測定状況"_s, inner);
    frame->setObjectName(u"Frame1"_s);
    frame->setGeometry(8, 4, kLeftColumnWidth, 85);

    // Columns: the row titles, then time, level, Exp and money values.
    struct Column {
        int left;
        int width;
        const char* title;
        const char* name;
    };
    const std::array<Column, 4> columns{{{56, 132, "時 刻", "lblTime_t"},
                                         {195, 50, "Lv", "lblLv_t"},
                                         {269, 72, "Exp", "lblExp_t"},
                                         {350, 100, "ｺｲﾝ", "lblMoney_t"}}};
    const std::array<int, 3> rows{32, 48, 68};
    const std::array<const char*, 3> rowTitles{"開始：", "最終：", "増加："};
    const std::array<const char*, 3> rowNames{"lblStart_t", "lblEnd_t", "lblElapse_t"};

    for (const Column& c : columns)
        PlacedLabel(frame, QString::fromUtf8(c.title), c.name, QRect(c.left, 14, c.width, 14),
                    Qt::AlignCenter);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        PlacedLabel(frame, QString::fromUtf8(rowTitles[r]), rowNames[r],
                    QRect(16, rows[r], 40, 16));
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const std::size_t i = c * 3 + r;
            const Qt::Alignment align =
                c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter;
            m_results[i] =
                PlacedLabel(frame, QString(), kResultNames[i],
                            QRect(columns[c].left, rows[r], columns[c].width, 16), align);
        }
    }
    const int lineWidth = kLeftColumnWidth - 16;
    etchedLine(frame, "Line1", QRect(8, 29, lineWidth, 1), QPalette::Dark);
    etchedLine(frame, "Line2", QRect(8, 30, lineWidth, 1), QPalette::Light);
    etchedLine(frame, "Line3", QRect(8, 65, lineWidth, 1), QPalette::Dark);
    etchedLine(frame, "Line4", QRect(8, 66, lineWidth, 1), QPalette::Light);
}

void FormMain::buildCaptureRows(QWidget* inner)
{
    struct Row {
        int left;
        int titleWidth;
        const char* title;
    };
    const std::array<Row, 3> rows{
        {{96, 48, "Lv読込→"}, {184, 54, "Exp読込→"}, {304, 56, "ｺｲﾝ読込→"}}};
    const std::array<int, 3> valueWidths{36, 64, 104};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        PlacedLabel(inner, QString::fromUtf8(rows[i].title), "lblCapture_t",
                    QRect(rows[i].left, 96, rows[i].titleWidth, 16));
        m_lblCapture[i] =
            PlacedLabel(inner, QString(), nullptr,
                        QRect(rows[i].left + rows[i].titleWidth, 96, valueWidths[i], 16));
        m_lblCapture[i]->setObjectName(QStringLiteral("lblCapture(%1)").arg(i));
    }
    // The region pictures: the level, Exp and coin areas under their rows, the Exp area's
    // second position beside the first, the other coin area under the first.
    const std::array<QRect, 5> pictures{QRect(96, 112, 84, 22), QRect(184, 112, 50, 22),
                                        QRect(304, 112, 161, 10), QRect(236, 112, 50, 22),
                                        QRect(304, 123, 161, 10)};
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        m_picCapture[i] = new QLabel(inner);
        m_picCapture[i]->setObjectName(QStringLiteral("picCapture(%1)").arg(i));
        m_picCapture[i]->setGeometry(pictures[i]);
        m_picCapture[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
}

void FormMain::buildDebugFrame(QWidget* inner)
{
    m_frmDebug = new QFrame(inner);
    m_frmDebug->setObjectName(u"frmDebug"_s);
    m_frmDebug->setFrameShape(QFrame::StyledPanel);
    m_frmDebug->setGeometry(8, 352, kLeftColumnWidth, kFrmDebugHeight);
    m_cmdCapture = new QPushButton(u"キャプチャ"_s, m_frmDebug);
    m_cmdCapture->setObjectName(u"cmdCapture"_s);
    m_cmdCapture->setGeometry(248, 4, 73, 25);
    m_cmdRecognize = new QPushButton(u"認 識"_s, m_frmDebug);
    m_cmdRecognize->setObjectName(u"cmdRecognize"_s);
    m_cmdRecognize->setGeometry(320, 4, 73, 25);
    m_lblElapse = PlacedLabel(m_frmDebug, QString(), "lblElapse", QRect(392, 4, 70, 25),
                              Qt::AlignRight | Qt::AlignVCenter);
    connect(m_cmdCapture, &QPushButton::clicked, this,
            [this] { Execute(m_program, Command::Capture); });
    connect(m_cmdRecognize, &QPushButton::clicked, this,
            [this] { Execute(m_program, Command::Recognize); });
    m_frmDebug->hide();
}

void FormMain::load()
{
    setWindowTitle(Q(kProgramTitle));
    if (!m_program.flags.DebugMode) {
        for (QLabel* picture : m_picCapture)
            picture->hide();
    }
    QScreen* primary = QGuiApplication::primaryScreen();
    const QSize designedSize = size();
    QRect designed(QPoint(0, 0), designedSize);
    std::vector<PixelRect> screens;
    if (primary) {
        designed.moveCenter(primary->availableGeometry().center());
        for (QScreen* screen : QGuiApplication::screens())
            screens.push_back(ToPixelRect(screen->geometry()));
    }
    const CaptureRect& saved = m_program.settings.WindowPosition;
    const PixelRect placed = LoadGeometry(saved, ToPixelRect(designed), screens);
    move(placed.left, placed.top);
    if (saved.Width != 0 && saved.Height != 0) {
        m_pendingOuter = QSize(placed.width, placed.height);
        applyOuterSize(placed.width, placed.height);
    }
    show();
}

void FormMain::applyOuterSize(std::optional<int> width, std::optional<int> height)
{
    // Qt sizes the window without the window manager's frame; the rules size it with.
    const QSize frame = frameGeometry().size() - geometry().size();
    QSize client = size();
    if (width)
        client.setWidth(*width - frame.width());
    if (height)
        client.setHeight(*height - frame.height() + statusLineHeight());
    if (client != size())
        resize(client);
}

void FormMain::placeFrame(const FrameChange& change)
{
    if (change.left || change.top) {
        const QRect outer = rulesFrame();
        move(change.left.value_or(outer.left()), change.top.value_or(outer.top()));
    }
    if (change.width || change.height)
        applyOuterSize(change.width, change.height);
}

void FormMain::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    // The frame's size is known once the window manager has framed the window.
    if (m_pendingOuter && frameGeometry().size() != geometry().size()) {
        const QSize outer = *m_pendingOuter;
        m_pendingOuter.reset();
        applyOuterSize(outer.width(), outer.height());
    }
}

bool FormMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_inner) {
        if (event->type() == QEvent::Paint) {
            // The etched line under the menu bar: shadow on row 0, highlight on row 1. The
            // inner area has no painting of its own, so the children are drawn over it.
            QPainter painter(m_inner);
            const int width = m_inner->width();
            painter.fillRect(QRect(0, 0, width, 1), m_inner->palette().color(QPalette::Dark));
            painter.fillRect(QRect(0, 1, width, 1), m_inner->palette().color(QPalette::Light));
        } else if (event->type() == QEvent::Resize) {
            innerResized();
        } else if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            // A click on the background only: the widgets on it take their own clicks.
            if (mouse->button() == Qt::LeftButton && !m_inner->childAt(mouse->position().toPoint()))
                Execute(m_program, Command::WindowRefresh);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void FormMain::innerResized()
{
    if (m_program.flags.ProgramClosing)
        return;
    const std::optional<ResizeRules> rules = Form_Resize(m_program, ToPixelSize(m_inner->size()),
                                                         ToPixelRect(rulesFrame()), isMinimized());
    if (!rules)
        return;
    if (rules->graphVisible)
        m_graph->setGeometry(
            QRect(QPoint(kGraphFrameLeft, kGraphFrameTop), ToQSize(rules->graphFrame)));
    m_graph->setVisible(rules->graphVisible);
    if (rules->outerWidth || rules->outerHeight)
        applyOuterSize(rules->outerWidth, rules->outerHeight);
}

QSize FormMain::graphFrameSize() const
{
    return m_graph->size();
}

void FormMain::showResults()
{
    const ResultLabels& r = m_program.results;
    for (std::size_t i = 0; i < m_results.size(); ++i)
        m_results[i]->setText(Q(r.*kResultFields[i]));
    showStatus();
    for (std::size_t i = 0; i < m_lblCapture.size(); ++i)
        showCaptureSlot(int(i));
    m_lblElapse->setText(Q(r.lblElapse));
}

void FormMain::showLog()
{
    const std::string& text = m_program.txtLog.text();
    QString shown = Q(text);
    shown.replace(u"\r\n"_s, u"\n"_s);
    m_txtLog->setPlainText(shown);
    QTextCursor cursor = m_txtLog->textCursor();
    cursor.setPosition(displayPosition(text, m_program.txtLog.caretPosition()));
    m_txtLog->setTextCursor(cursor);
    m_txtLog->ensureCursorVisible();
    m_txtLog->horizontalScrollBar()->setValue(0);
    showStatus();
}

void FormMain::showGraph()
{
    m_graph->update();
}

void FormMain::showCaptureSlot(int slot)
{
    if (slot < 0 || slot >= int(m_lblCapture.size()))
        return;
    m_lblCapture[std::size_t(slot)]->setText(Q(m_program.results.lblCapture[std::size_t(slot)]));
    // The recognizer shows its progress while it works, inside one event.
    m_lblCapture[std::size_t(slot)]->repaint();
}

void FormMain::showPicture(int slot)
{
    if (slot < 0 || slot >= int(m_picCapture.size()))
        return;
    const PixelBuffer& pixels = m_program.picCapture[std::size_t(slot)];
    QLabel* picture = m_picCapture[std::size_t(slot)];
    if (pixels.width <= 0 || pixels.height <= 0)
        picture->clear();
    else
        picture->setPixmap(QPixmap::fromImage(ToQImage(pixels)));
}

void FormMain::showMenus()
{
    const MenuState& m = m_program.menus;
    m_menuRun->setEnabled(m.menuRunEnabled);
    m_menuRun->setText(Q(m.menuRunCaption));
    m_menuStop->setEnabled(m.menuStopEnabled);
    QPalette palette = m_cmdTempStop->parentWidget()->palette();
    if (const std::optional<QColor> colour = storedColour(m.cmdTempStopBackColor))
        palette.setColor(QPalette::Button, *colour);
    m_cmdTempStop->setPalette(palette);
    m_cmdCapture->setEnabled(m.cmdCaptureEnabled);
    m_cmdRecognize->setEnabled(m.cmdRecognizeEnabled);

    const DebugItemLayout debug = DebugItemGeometry(m.frmDebugVisible, m.innerHeight);
    m_frmDebug->setVisible(debug.debugItemsVisible);
    for (QLabel* picture : m_picCapture)
        picture->setVisible(debug.debugItemsVisible);
    if (debug.frmDebugTop)
        m_frmDebug->move(m_frmDebug->x(), *debug.frmDebugTop);
    m_txtLog->setGeometry(kTxtLogLeft, kTxtLogTop, kLeftColumnWidth, debug.txtLogHeight);
}

void FormMain::refreshConfigMarks()
{
    m_menuDebugMode->setChecked(m_program.flags.DebugMode);
    m_menuGesture->setChecked(m_program.settings.GestureEnabled);
}

void FormMain::refreshAll()
{
    centralWidget()->findChild<QGroupBox*>(u"Frame1"_s)->repaint();
    m_graph->repaint();
    repaint();
}

void FormMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() &&
        !m_program.flags.ProgramClosing)
        Form_Activate(m_program, ToPixelSize(m_graph->size()));
}

void FormMain::closeEvent(QCloseEvent* event)
{
    // Never cancelled: the close box, the End command and the system all end the program.
    if (!m_program.flags.ProgramClosing) {
        FormMain_QueryUnload(m_program);
        FormMain_Unload(m_program);
    }
    event->accept();
    if (onClosed)
        onClosed();
}

} // namespace kesmaro
