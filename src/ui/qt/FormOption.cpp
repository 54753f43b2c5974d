#include "ui/qt/FormOption.h"

#include "app/GestureWindow.h"
#include "common/Numeric.h"
#include "config/ExtraSettings.h"
#include "measurement/StatusLine.h"
#include "platform/qt/Pictures.h"
#include "records/InputCheckBox.h"
#include "screenshots/ImageFiles.h"
#include "state/Program.h"
#include "ui/qt/AreaFinderDialog.h"
#include "ui/qt/Fonts.h"
#include "ui/qt/QtText.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <cmath>

namespace kesmaro {

using namespace Qt::StringLiterals;

namespace {

const QString kCaption = u"オプション"_s;
const std::array<QString, kOptionPageCount> kTabCaptions{u" 　基本設定　 "_s, u" 　拡張設定　 "_s,
                                                         u" 自動起動設定 "_s, u" 認識領域設定 "_s,
                                                         u" 双界画面設定 "_s};
const std::array<QString, kBeepButtonCount> kBeepCaptions{u"無"_s,   u"小"_s,   u"低短"_s,
                                                          u"高短"_s, u"低長"_s, u"高長"_s};
constexpr std::array<const char*, kSaveFormats.size()> kFormatNames{
    "optSaveFormatB", "optSaveFormatP", "optSaveFormatJ9", "optSaveFormatJ7"};
const std::array<QString, kSaveFormats.size()> kFormatCaptions{
    u"ＢＭＰ形式"_s, u"ＰＮＧ形式"_s, u"ＪＰＧ形式90"_s, u"ＪＰＧ形式70"_s};

// The designed window: the tab strip, its pages below the tabs, the buttons under it.
constexpr QSize kWindowSize(540, 392);
constexpr QRect kTabStrip(8, 8, 524, 320);
// A page covers the strip below its tabs.
constexpr QRect kPage(kTabStrip.left() + 1, kTabStrip.top() + 21, kTabStrip.width() - 3,
                      kTabStrip.height() - 29);
constexpr int kButtonsTop = 358;
constexpr QSize kButton(73, 25);
constexpr QSize kValue(56, 20);

QLabel* label(QWidget* parent, const QString& text, QRect where,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(where);
    l->setAlignment(align);
    return l;
}

QPushButton* button(QWidget* parent, const QString& caption, const char* name, QPoint at)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(QRect(at, kButton));
    return b;
}

QGroupBox* group(QWidget* parent, const QString& title, QRect where)
{
    auto* g = new QGroupBox(title, parent);
    g->setGeometry(where);
    return g;
}

QString indexed(const char* name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

} // namespace

FormOption::FormOption(Program& p) : QWidget(nullptr, Qt::Window), m_p(p), m_logic(p)
{
    setObjectName(u"FormOption"_s);
    setWindowTitle(kCaption);
    setFont(InterfaceFont());
    setFixedSize(kWindowSize);

    m_tabOption = new QTabBar(this);
    m_tabOption->setObjectName(u"tabOption"_s);
    for (const QString& caption : kTabCaptions)
        m_tabOption->addTab(caption);
    m_tabOption->setGeometry(kTabStrip.left(), kTabStrip.top(), kTabStrip.width(), 22);
    m_tabOption->setDrawBase(false);
    auto* strip = new QFrame(this);
    strip->setFrameShape(QFrame::StyledPanel);
    strip->setGeometry(kTabStrip.adjusted(0, 21, 0, 0));
    strip->lower();
    connect(m_tabOption, &QTabBar::currentChanged, this, [this](int index) {
        m_logic.tabOption_Click(index + 1);
        showPage();
    });

    for (int i = 0; i < kOptionPageCount; ++i) {
        auto* page = new QFrame(this);
        page->setObjectName(indexed("frmOption", i));
        page->setFrameShape(QFrame::NoFrame);
        page->setGeometry(kPage);
        m_frmOption[std::size_t(i)] = page;
    }
    buildGeneralPage(m_frmOption[0]);
    buildFurtherPage(m_frmOption[1]);
    buildStartUpPage(m_frmOption[2]);
    buildCapturePage(m_frmOption[3]);
    buildWindowPage(m_frmOption[4]);

    const auto add = [&](const QString& caption, const char* name, int left, auto handler) {
        connect(button(this, caption, name, QPoint(left, kButtonsTop)), &QPushButton::clicked, this,
                handler);
    };
    add(u"読 込"_s, "cmdLoad", 8, [this] {
        m_logic.cmdLoad_Click();
        showState();
    });
    add(u"初期化"_s, "cmdInit", 86, [this] {
        m_logic.cmdInit_Click();
        showState();
    });
    add(u"保 存"_s, "cmdSave", 164, [this] { m_logic.cmdSave_Click(); });
    add(u"戻 る"_s, "cmdEnd", kWindowSize.width() - 8 - kButton.width(),
        [this] { cmdEnd_Click(); });
    auto* lblSave = label(this, u"保存しないと次回起動時に設定が引継がれません。"_s,
                          QRect(8, kTabStrip.bottom() + 6, 524, 18));
    lblSave->setObjectName(u"lblSave"_s);

    m_logic.loadGestureWindow = [&p] { LoadGestureInput(p); };
    m_logic.unloadGestureWindow = [&p] { UnloadGestureInput(p); };

    confirmAreas = [this](const PixelBuffer& frame, const AreaProposal& proposal) {
        return AreaFinderDialog::confirm(this, frame, proposal);
    };
    chooseFolder = [this](const QString& title, const QString& start) {
        return QFileDialog::getExistingDirectory(this, title, start, QFileDialog::ShowDirsOnly);
    };
    chooseFile = [this](const QString& title, const QString& start, const QString& file) {
        // Programs here carry no extension, so every file is offered first.
        return QFileDialog::getOpenFileName(this, title,
                                            file.isEmpty() ? start : start + u'/' + file,
                                            u"All files (*);;アプリケーション (*.exe)"_s);
    };
}

FormOption::~FormOption() = default;

QLabel* FormOption::numberBox(QWidget* page, const char* name, QRect where)
{
    // A number shown in a sunken box; a click on it asks for a new one.
    auto* l = new QLabel(page);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(where);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setAutoFillBackground(true);
    l->setBackgroundRole(QPalette::Base);
    l->setMargin(2);
    l->setCursor(Qt::PointingHandCursor);
    l->installEventFilter(this);
    return l;
}

QLabel* FormOption::valueLabel(QWidget* page, const char* name, QRect where)
{
    const OptionValueLabel* info = FindOptionValueLabel(name);
    Q_ASSERT(info);
    QLabel* l = numberBox(page, name, where);
    m_values[std::size_t(info - OptionValueLabels().data())] = l;
    return l;
}

QCheckBox* FormOption::checkBox(QWidget* page, OptionCheck check, const QString& caption,
                                QRect where)
{
    auto* box = new QCheckBox(caption, page);
    box->setObjectName(QLatin1String(OptionChecks()[std::size_t(check)].name));
    box->setGeometry(where);
    connect(box, &QCheckBox::clicked, this, [this, check](bool on) {
        m_logic.Check_Click(check, on);
        showState();
    });
    m_checks[std::size_t(check)] = box;
    return box;
}

QLineEdit* FormOption::textBox(QWidget* page, const char* name, QRect where)
{
    auto* box = new QLineEdit(page);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(where);
    return box;
}

void FormOption::buildGeneralPage(QWidget* page)
{
    checkBox(page, OptionCheck::AutoStart, u"起動と同時にロギング開始"_s, QRect(12, 8, 300, 20));
    label(page, u"キャプチャ時に音をならす"_s, QRect(12, 36, 200, 18))
        ->setObjectName(u"lblBeepBeep"_s);
    for (int i = 0; i < kBeepButtonCount; ++i) {
        auto* option = new QRadioButton(kBeepCaptions[std::size_t(i)], page);
        option->setObjectName(indexed("optBeepBeep", i));
        option->setGeometry(24 + i * 62, 56, 60, 20);
        option->setAutoExclusive(false); // the state shows the one that is on
        connect(option, &QRadioButton::clicked, this, [this, i] {
            m_logic.optBeepBeep_Click(i);
            showState();
        });
        m_beep[std::size_t(i)] = option;
    }
    label(page, u"キャプチャ周期"_s, QRect(12, 90, 100, 20));
    valueLabel(page, "lblCaptureInterval", QRect(QPoint(116, 90), kValue));
    label(page, u"分"_s, QRect(176, 90, 30, 20));
    label(page, u"監視遅延時間"_s, QRect(12, 116, 100, 20));
    valueLabel(page, "lblStartDelay", QRect(QPoint(116, 116), kValue));
    label(page, u"秒"_s, QRect(176, 116, 30, 20));

    label(page, u"保存場所"_s, QRect(12, 152, 64, 22));
    m_txtSaveFolder = textBox(page, "txtSaveFolder", QRect(76, 152, 236, 22));
    m_txtSaveFolder->installEventFilter(this);
    auto* browse = button(page, u"参照"_s, "cmdSaveFolder", QPoint(316, 151));
    browse->resize(48, 24);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString folder = chooseFolder(Q(SaveFolderBrowserText()), Q(m_p.settings.SaveFolder));
        m_logic.cmdSaveFolder_Chosen(U8(folder));
        m_committedFolder = Q(m_logic.txtSaveFolder);
        showState();
    });
    label(page, u" ＋\\LOG\\"_s, QRect(366, 152, 70, 22));

    label(page, u"ファイル名"_s, QRect(12, 182, 64, 22));
    m_txtSaveFile = textBox(page, "txtSaveFile", QRect(76, 182, 150, 22));
    m_txtSaveFile->installEventFilter(this);
    m_lblSaveFile_u = label(page, {}, QRect(230, 182, 150, 22));
    m_lblSaveFile_u->setObjectName(u"lblSaveFile_u"_s);
    m_lblSaveCsv = label(page, {}, QRect(360, 182, 50, 22));
    m_lblSaveCsv->setObjectName(u"lblSaveCsv"_s);
    checkBox(page, OptionCheck::SaveDistance, u"一ヶ月ごとのファイルにする"_s,
             QRect(76, 212, 300, 20));
    checkBox(page, OptionCheck::SaveCsv, u"CSVファイルで保存する"_s, QRect(76, 236, 300, 20));
}

void FormOption::buildFurtherPage(QWidget* page)
{
    checkBox(page, OptionCheck::Graph, u"グラフ表示"_s, QRect(12, 8, 110, 20));
    valueLabel(page, "lblGraphTimeScale", QRect(QPoint(128, 8), kValue));
    label(page, u"個 平均"_s, QRect(188, 8, 56, 20));
    valueLabel(page, "lblGraphAveNum", QRect(QPoint(246, 8), kValue));
    label(page, u"回"_s, QRect(306, 8, 30, 20));

    QGroupBox* formats = group(page, u"スクリーンショットのファイル形式"_s, QRect(8, 34, 500, 48));
    for (std::size_t i = 0; i < kSaveFormats.size(); ++i) {
        auto* option = new QRadioButton(kFormatCaptions[i], formats);
        option->setObjectName(QLatin1String(kFormatNames[i]));
        option->setGeometry(12 + int(i) * 122, 20, 118, 20);
        option->setAutoExclusive(false);
        connect(option, &QRadioButton::clicked, this, [this, i] {
            m_logic.optSaveFormat_Click(int(i));
            showState();
        });
        m_formats[i] = option;
    }

    checkBox(page, OptionCheck::Gesture, u"マウスボタンジェスチャ有効"_s, QRect(12, 90, 220, 20));
    label(page, u"入力待ち時間"_s, QRect(240, 90, 90, 20));
    valueLabel(page, "lblGestureTime", QRect(QPoint(330, 90), kValue));
    label(page, u"ｍ秒"_s, QRect(390, 90, 40, 20));
    const struct {
        int index;
        QString text;
        QString tip;
    } helps[] = {
        {0, u"L-R-L-L(R)：一時停止 ON(OFF)"_s,
         u" ひだり-みぎ-ひだり-ひだり：ON　　ひだり-みぎ-ひだり-みぎ：OFF "_s},
        {2, u"R-L-L-L(R) ：DoHL(自動撮影) ON(OFF)"_s,
         u" みぎ-ひだり-ひだり-ひだり：ON　　みぎ-ひだり-ひだり-みぎ：OFF "_s},
        {3, u"R-R-R-R   ：時給タイマリセット"_s, u" みぎ-みぎ-みぎ-みぎ：測定サイクルリセット "_s},
        {4, u"LRﾀﾞﾌﾞﾙｸﾘｯｸ：スクリーンショット撮影"_s, u" 同時押し-同時押し：撮影 "_s},
    };
    int top = 114;
    for (const auto& help : helps) {
        QLabel* l = label(page, help.text, QRect(32, top, 380, 16));
        l->setObjectName(indexed("lblGesture", help.index));
        l->setToolTip(help.tip);
        top += 17;
    }

    checkBox(page, OptionCheck::DoHLCheckExec, u"DEAD OR HAPPY LIVE (自動撮影) 有効"_s,
             QRect(12, 190, 300, 20));
    label(page, u"監視周期"_s, QRect(32, 214, 90, 20));
    valueLabel(page, "lblDoHLInterval", QRect(QPoint(124, 214), kValue));
    label(page, u"ｍ秒"_s, QRect(184, 214, 40, 20));
    label(page, u"ラグ回避時間"_s, QRect(232, 214, 90, 20));
    valueLabel(page, "lblLag", QRect(QPoint(330, 214), kValue));
    label(page, u"ｍ秒"_s, QRect(390, 214, 40, 20));
    checkBox(page, OptionCheck::Debug, u"デバッグモード(遅くなります)"_s, QRect(12, 250, 220, 20));
    // The status line's rolling rates, kept beside the settings file.
    label(page, u"直近の時給期間"_s, QRect(240, 250, 90, 20));
    m_lblRollingMinutes = numberBox(page, "lblRollingMinutes", QRect(QPoint(330, 250), kValue));
    label(page, u"分"_s, QRect(390, 250, 30, 20));
}

void FormOption::buildStartUpPage(QWidget* page)
{
    const std::array<QString, 2> captions{u"自動起動アプリ１"_s, u"自動起動アプリ２"_s};
    for (int i = 0; i < 2; ++i) {
        const int top = 12 + i * 64;
        checkBox(page, i == 0 ? OptionCheck::StartUp0 : OptionCheck::StartUp1,
                 captions[std::size_t(i)], QRect(12, top, 200, 20));
        QLineEdit* box = textBox(page, nullptr, QRect(12, top + 24, 364, 22));
        box->setObjectName(indexed("txtStartUp", i));
        connect(box, &QLineEdit::textChanged, this, [this, i](const QString& text) {
            m_logic.txtStartUp_Change(i, U8(text));
            showState();
        });
        m_txtStartUp[std::size_t(i)] = box;
        auto* browse = button(page, u"参照"_s, "", QPoint(380, top + 23));
        browse->setObjectName(indexed("cmdStartUp", i));
        browse->resize(48, 24);
        connect(browse, &QPushButton::clicked, this, [this, i] {
            const QString start = Q(m_logic.cmdStartUp_StartPath(i));
            const QFileInfo info(start);
            const bool onFile = start != Q(m_p.programFolder) && info.isFile();
            const QString chosen =
                chooseFile(Q(StartUpDialogTitle(i)), onFile ? info.absolutePath() : start,
                           onFile ? info.fileName() : QString());
            m_logic.cmdStartUp_Chosen(i, U8(chosen));
            showState();
        });
    }
    label(page, u"アプリ２起動遅延時間"_s, QRect(12, 148, 140, 20));
    valueLabel(page, "lblStartUpDelay", QRect(QPoint(156, 148), kValue));
    label(page, u"秒"_s, QRect(216, 148, 30, 20));
}

void FormOption::buildCapturePage(QWidget* page)
{
    const std::array<QString, 3> titles{u"Lv認識領域"_s, u"EXP認識領域"_s, u"ｺｲﾝ認識領域"_s};
    const auto pair = [&](QWidget* box, int top, const QString& title, const char* x,
                          const char* y) {
        label(box, title, QRect(8, top, 40, 20));
        label(box, u"X"_s, QRect(50, top, 12, 20));
        valueLabel(box, x, QRect(QPoint(62, top), QSize(40, 20)));
        label(box, u"Y"_s, QRect(108, top, 12, 20));
        valueLabel(box, y, QRect(QPoint(120, top), QSize(40, 20)));
    };
    for (int i = 0; i < 3; ++i) {
        QGroupBox* box = group(page, titles[std::size_t(i)], QRect(6 + i * 172, 4, 168, 76));
        const QByteArray sx = indexed("lblCapture_sx", i).toLatin1();
        const QByteArray sy = indexed("lblCapture_sy", i).toLatin1();
        const QByteArray ex = indexed("lblCapture_ex", i).toLatin1();
        const QByteArray ey = indexed("lblCapture_ey", i).toLatin1();
        pair(box, 22, u"始点"_s, sx.constData(), sy.constData());
        pair(box, 48, u"サイズ"_s, ex.constData(), ey.constData());
    }
    for (int j = 1; j <= 2; ++j) {
        QGroupBox* box = group(page, u"拡張始点"_s, QRect(6 + (j - 1) * 172, 84, 168, 50));
        const QByteArray ax = indexed("lblCapture_ax", j).toLatin1();
        const QByteArray ay = indexed("lblCapture_ay", j).toLatin1();
        pair(box, 22, {}, ax.constData(), ay.constData());
    }
    label(page, u"pix"_s, QRect(350, 106, 30, 20));
    for (int i = 0; i < 5; ++i) {
        auto* picture = new QLabel(page);
        picture->setObjectName(indexed("picCapture", i));
        picture->setGeometry(8, 142 + i * 28, 302, 22);
        picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        picture->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        m_picCapture[std::size_t(i)] = picture;
    }
    QPushButton* test = button(page, u"テスト"_s, "cmdCapture", QPoint(380, 150));
    connect(test, &QPushButton::clicked, this, [this] {
        m_logic.cmdCapture_Click([this](int slot, const PixelBuffer& pixels) {
            if (slot >= 0 && slot < int(m_picCapture.size()))
                m_picCapture[std::size_t(slot)]->setPixmap(QPixmap::fromImage(ToQImage(pixels)));
        });
    });
    label(page, u"10秒後にキャプチャ"_s, QRect(360, 178, 112, 18), Qt::AlignCenter);
    QPushButton* colour = button(page, u"色選択"_s, "cmdCollar", QPoint(380, 226));
    connect(colour, &QPushButton::clicked, this, [this] {
        m_logic.cmdCollar_Click();
        showState();
    });
    QPushButton* detect = button(page, u"自動検出"_s, "cmdDetect", QPoint(380, 258));
    connect(detect, &QPushButton::clicked, this, [this] { cmdDetect_Click(); });
}

void FormOption::lblRollingMinutes_Click()
{
    const std::optional<double> answer =
        InputCheckBox(m_p.services.numberInput, std::to_string(kRollingMinutesMin),
                      std::to_string(kRollingMinutesMax), m_p.extra.RollingMinutes, "10",
                      RollingMinutesPrompt(), "設定値入力");
    if (answer && std::isfinite(*answer) &&
        !SetRollingMinutes(m_p, std::llround(RoundHalfEven(*answer))))
        m_p.services.prompter.Ask(
            Prompt{u"設定ファイル書き込み"_s.toStdString(),
                   u"KesmaroExtra.ini に保存できませんでした。"_s.toStdString(), PromptButtons::Ok,
                   PromptIcon::None});
    showState();
}

void FormOption::cmdDetect_Click()
{
    // The detection tells of a missing game or numbers itself.
    AutoDetectCaptureAreas(m_p, confirmAreas);
    m_logic.Refresh();
    showState();
}

void FormOption::buildWindowPage(QWidget* page)
{
    checkBox(page, OptionCheck::WindowMemory, u"ウィンドウ位置を記憶する"_s, QRect(12, 8, 300, 20));
    QGroupBox* position = group(page, u"起動時ウィンドウ位置"_s, QRect(8, 32, 250, 80));
    const auto pair = [&](QWidget* box, int top, const QString& title, const char* x,
                          const char* y) {
        label(box, title, QRect(10, top, 40, 20));
        label(box, u"X"_s, QRect(54, top, 12, 20));
        valueLabel(box, x, QRect(QPoint(66, top), kValue));
        label(box, u"Y"_s, QRect(128, top, 12, 20));
        valueLabel(box, y, QRect(QPoint(140, top), kValue));
        label(box, u"pix"_s, QRect(200, top, 30, 20));
    };
    pair(position, 22, u"始点"_s, "lblWindowPosition_sx", "lblWindowPosition_sy");
    pair(position, 50, u"サイズ"_s, "lblWindowPosition_ex", "lblWindowPosition_ey");
    connect(button(page, u"反 映"_s, "cmdResize", QPoint(270, 44)), &QPushButton::clicked, this,
            [this] { m_logic.cmdResize_Click(); });
    connect(button(page, u"忘 却"_s, "cmdResetPosition", QPoint(270, 78)), &QPushButton::clicked,
            this, [this] {
                m_logic.cmdResetPosition_Click();
                showState();
            });

    checkBox(page, OptionCheck::DualDisplay, u"デュアルディスプレイに対応する"_s,
             QRect(12, 124, 300, 20));
    QGroupBox* offset = group(page, u"認識領域オフセット"_s, QRect(8, 148, 250, 52));
    label(offset, u"X"_s, QRect(54, 22, 12, 20));
    valueLabel(offset, "lblDisplayOffset_x", QRect(QPoint(66, 22), kValue));
    label(offset, u"Y"_s, QRect(128, 22, 12, 20));
    valueLabel(offset, "lblDisplayOffset_y", QRect(QPoint(140, 22), kValue));
    label(offset, u"pix"_s, QRect(200, 22, 30, 20));

    m_cmbStandardScreen = new QComboBox(page);
    m_cmbStandardScreen->setObjectName(u"cmbStandardScreen"_s);
    m_cmbStandardScreen->setGeometry(12, 212, 196, 24);
    m_cmbStandardScreen->setFont(LogFont()); // the sizes' texts are laid out in columns
    m_cmbRelativePosition = new QComboBox(page);
    m_cmbRelativePosition->setObjectName(u"cmbRelativePosition"_s);
    m_cmbRelativePosition->setGeometry(214, 212, 120, 24);
    for (QComboBox* combo : {m_cmbStandardScreen, m_cmbRelativePosition})
        connect(combo, &QComboBox::activated, this, [this] {
            m_logic.cmb_Click(m_cmbStandardScreen->currentIndex(),
                              m_cmbRelativePosition->currentIndex());
            showState();
        });
}

void FormOption::open()
{
    for (QLabel* picture : m_picCapture)
        picture->clear();
    m_logic.Refresh();
    showState();
    show();
    raise();
    activateWindow();
}

void FormOption::activated()
{
    m_logic.Refresh();
    showState();
}

void FormOption::showPage()
{
    m_tabOption->setCurrentIndex(m_logic.page);
    for (int i = 0; i < kOptionPageCount; ++i)
        m_frmOption[std::size_t(i)]->setVisible(i == m_logic.page);
}

void FormOption::showState()
{
    showPage();
    for (std::size_t i = 0; i < m_values.size(); ++i)
        if (m_values[i])
            m_values[i]->setText(Q(m_logic.valueTexts[i]));
    for (std::size_t i = 0; i < m_checks.size(); ++i)
        m_checks[i]->setChecked(m_logic.checked[i]);
    for (int i = 0; i < kBeepButtonCount; ++i)
        m_beep[std::size_t(i)]->setChecked(i == m_logic.beepButton);
    for (int i = 0; i < int(m_formats.size()); ++i)
        m_formats[std::size_t(i)]->setChecked(i == m_logic.formatButton);
    const auto showText = [](QLineEdit* box, const std::string& utf8) {
        const QString text = Q(utf8);
        if (box->text() == text)
            return; // keeps the caret of a box being typed in
        const QSignalBlocker quiet(box);
        box->setText(text);
    };
    showText(m_txtSaveFolder, m_logic.txtSaveFolder);
    showText(m_txtSaveFile, m_logic.txtSaveFile);
    m_committedFolder = Q(m_logic.txtSaveFolder);
    m_committedFile = Q(m_logic.txtSaveFile);
    for (std::size_t i = 0; i < 2; ++i)
        showText(m_txtStartUp[i], m_logic.txtStartUp[i]);
    m_lblRollingMinutes->setText(QString::number(m_p.extra.RollingMinutes));
    m_lblSaveCsv->setText(Q(m_logic.lblSaveCsv));
    m_lblSaveFile_u->setText(Q(m_logic.lblSaveFile_u));
    const auto showCombo = [](QComboBox* combo, const std::vector<std::string>& texts,
                              int current) {
        const QSignalBlocker quiet(combo);
        QStringList items;
        for (const std::string& text : texts)
            items << Q(text);
        QStringList shown;
        for (int i = 0; i < combo->count(); ++i)
            shown << combo->itemText(i);
        if (shown != items) {
            combo->clear();
            combo->addItems(items);
        }
        combo->setCurrentIndex(current);
    };
    showCombo(m_cmbStandardScreen, m_logic.cmbStandardScreenItems, m_logic.cmbStandardScreen);
    showCombo(m_cmbRelativePosition, m_logic.cmbRelativePositionItems, m_logic.cmbRelativePosition);
}

void FormOption::commitSaveFolder()
{
    const QString text = m_txtSaveFolder->text();
    if (text == m_committedFolder)
        return;
    m_committedFolder = text;
    m_logic.txtSaveFolder_LostFocus(U8(text));
}

void FormOption::commitSaveFile()
{
    const QString text = m_txtSaveFile->text();
    if (text == m_committedFile)
        return;
    m_committedFile = text;
    m_logic.txtSaveFile_LostFocus(U8(text));
}

void FormOption::cmdEnd_Click()
{
    // The focus leaves a text box for the button first.
    commitSaveFolder();
    commitSaveFile();
    hide();
    m_logic.cmdEnd_Click();
}

bool FormOption::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        activated();
    return QWidget::event(event);
}

void FormOption::closeEvent(QCloseEvent* event)
{
    // The close control leaves as 戻 る does: a watch switched on here must not stay off in
    // its timer. Nothing is written either way.
    if (!m_p.flags.ProgramClosing)
        cmdEnd_Click();
    event->accept();
}

bool FormOption::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        if (watched == m_txtSaveFolder)
            commitSaveFolder();
        else if (watched == m_txtSaveFile)
            commitSaveFile();
    } else if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == m_lblRollingMinutes && mouse->button() == Qt::LeftButton) {
            lblRollingMinutes_Click();
            return true;
        }
        const auto it = std::find(m_values.begin(), m_values.end(), watched);
        if (it != m_values.end() && mouse->button() == Qt::LeftButton) {
            m_logic.ValueLabel_Click(OptionValueLabels()[std::size_t(it - m_values.begin())]);
            showState();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kesmaro
