#include "recognition/AutoDetect.h"

#include "recognition/Recognition.h"
#include "state/Program.h"

#include <algorithm>

namespace kesmaro {

namespace {

const QString kTitle = QStringLiteral("自動検出");

QString line(const char* name, const FoundNumber& number)
{
    const QString label = QLatin1String(name);
    switch (number.status) {
    case FindStatus::Found:
        return QStringLiteral("%1 %2 %3 %4 %5")
            .arg(label)
            .arg(number.area.x)
            .arg(number.area.y)
            .arg(number.area.width)
            .arg(number.area.height);
    case FindStatus::Ambiguous:
        return label + QStringLiteral(" ambiguous");
    case FindStatus::NotFound:
        break;
    }
    return label + QStringLiteral(" not found");
}

void tell(Program& p, const QString& text)
{
    p.services.prompter.Ask(Prompt{kTitle.toStdString(), text.toStdString(), PromptButtons::Ok,
                                   PromptIcon::Exclamation});
}

} // namespace

FinderFonts FinderFontsOf(const Settings& settings)
{
    return {GlyphFontOf(settings, CategoryLevel),
            {GlyphFontOf(settings, CategoryExp)},
            GlyphFontOf(settings, CategoryMoney)};
}

FinderFonts DefaultFinderFonts(std::optional<InterfaceColour> colour)
{
    FinderFonts fonts;
    const auto colours =
        colour ? std::vector<InterfaceColour>{*colour}
               : std::vector<InterfaceColour>{InterfaceColour::Yellow, InterfaceColour::Red,
                                              InterfaceColour::Blue, InterfaceColour::White};
    for (const InterfaceColour c : colours) {
        Settings s;
        LoadDefaultGlyphTables(s, c);
        if (fonts.exp.empty()) {
            fonts.level = GlyphFontOf(s, CategoryLevel);
            fonts.money = GlyphFontOf(s, CategoryMoney);
        }
        fonts.exp.push_back(GlyphFontOf(s, CategoryExp));
    }
    return fonts;
}

QStringList ProposalLines(const AreaProposal& proposal, bool* complete)
{
    QStringList lines{line("level", proposal.level), line("exp", proposal.exp),
                      line("coins", proposal.coins)};
    if (proposal.coins2.status == FindStatus::Found)
        lines << line("coins2", proposal.coins2);
    if (complete)
        *complete = proposal.level.status == FindStatus::Found &&
                    proposal.exp.status == FindStatus::Found &&
                    proposal.coins.status == FindStatus::Found;
    return lines;
}

void ApplyCaptureAreas(Settings& settings, const AreaProposal& proposal)
{
    const auto set = [&](std::size_t area, const FoundNumber& number) {
        if (number.status != FindStatus::Found)
            return;
        settings.CaptureArea[area] = {number.area.x, number.area.y, number.area.width,
                                      number.area.height};
    };
    set(AreaLevel, proposal.level);
    set(AreaExp, proposal.exp);
    set(AreaMoney, proposal.coins);
    set(AreaMoneySecond, proposal.coins2);
    // The settings file keeps one size for each pair.
    CaptureRect& extra = settings.CaptureArea[AreaExpExtra];
    extra.Width = settings.CaptureArea[AreaExp].Width;
    extra.Height = settings.CaptureArea[AreaExp].Height;
    CaptureRect& second = settings.CaptureArea[AreaMoneySecond];
    second.Width = settings.CaptureArea[AreaMoney].Width;
    second.Height = settings.CaptureArea[AreaMoney].Height;
}

PixelBuffer GrabGameFrame(Program& p)
{
    GameWindows& windows = p.services.windows;
    const WindowId window = windows.FindWindow(p.settings.SearchWindowClass.toStdString());
    if (window == kNoWindow)
        return {};
    // The frame's size bounds the client area; what lies beyond the client grabs black.
    const Rect outer = windows.WindowRect(window);
    const int width = std::clamp(outer.width, 0, kMaxRegionSide);
    const int height = std::clamp(outer.height, 0, kMaxRegionSide);
    if (std::int64_t{width} * height > kMaxPicturePixels)
        return {};
    return windows.GrabClientRegion(window, {0, 0, width, height});
}

bool ConfirmByPrompt(Program& p, const AreaProposal& proposal)
{
    const QString text = QStringLiteral("次のキャプチャ領域を設定しますか？\r\n") +
                         ProposalLines(proposal).join(QStringLiteral("\r\n"));
    return p.services.prompter.Ask(Prompt{kTitle.toStdString(), text.toStdString(),
                                          PromptButtons::OkCancel, PromptIcon::Question}) ==
           PromptAnswer::Ok;
}

AutoDetectOutcome AutoDetectCaptureAreas(Program& p, const AreaConfirmation& confirm)
{
    p.log.WriteDebugLog("Click : Capture Area Detect ");
    const auto done = [&p](AutoDetectOutcome outcome, const QString& how) {
        p.log.WriteDebugLog((QStringLiteral("Detecting CaptureArea ･･･ ") + how).toStdString());
        return outcome;
    };
    const PixelBuffer frame = GrabGameFrame(p);
    if (frame.isEmpty()) {
        tell(p, QStringLiteral("ゲームウィンドウが見つかりません。"));
        return done(AutoDetectOutcome::NoWindow, QStringLiteral("Window Not Find "));
    }
    const AreaProposal proposal = FindCaptureAreas(frame, FinderFontsOf(p.settings));
    const bool any = proposal.level.status == FindStatus::Found ||
                     proposal.exp.status == FindStatus::Found ||
                     proposal.coins.status == FindStatus::Found;
    if (!any) {
        tell(p, QStringLiteral("数値が見つかりませんでした。\r\n") +
                    ProposalLines(proposal).join(QStringLiteral("\r\n")));
        return done(AutoDetectOutcome::NothingFound, QStringLiteral("Number Not Find "));
    }
    if (!confirm(frame, proposal))
        return done(AutoDetectOutcome::Declined, QStringLiteral("Cancel "));
    ApplyCaptureAreas(p.settings, proposal);
    return done(AutoDetectOutcome::Applied, QStringLiteral("End "));
}

} // namespace kesmaro
