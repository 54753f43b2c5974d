#include "recognition/AutoDetect.h"

#include "recognition/Recognition.h"
#include "state/Program.h"

#include <algorithm>
#include <string_view>

namespace kesmaro {

namespace {

constexpr const char* kTitle = "自動検出";

std::string line(const char* name, const FoundNumber& number)
{
    const std::string label = name;
    switch (number.status) {
    case FindStatus::Found:
        return label + ' ' + std::to_string(number.area.x) + ' ' + std::to_string(number.area.y) +
               ' ' + std::to_string(number.area.width) + ' ' + std::to_string(number.area.height);
    case FindStatus::Ambiguous:
        return label + " ambiguous";
    case FindStatus::NotFound:
        break;
    }
    return label + " not found";
}

std::string joinedLines(const AreaProposal& proposal)
{
    std::string text;
    for (const std::string& l : ProposalLines(proposal))
        text += (text.empty() ? "" : "\r\n") + l;
    return text;
}

void tell(Program& p, const std::string& text)
{
    p.services.prompter.Ask(Prompt{kTitle, text, PromptButtons::Ok, PromptIcon::Exclamation});
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

std::vector<std::string> ProposalLines(const AreaProposal& proposal, bool* complete)
{
    std::vector<std::string> lines{line("level", proposal.level), line("exp", proposal.exp),
                                   line("coins", proposal.coins)};
    if (proposal.coins2.status == FindStatus::Found)
        lines.push_back(line("coins2", proposal.coins2));
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
    const WindowId window = windows.FindWindow(p.settings.SearchWindowClass);
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
    const std::string text = "次のキャプチャ領域を設定しますか？\r\n" + joinedLines(proposal);
    return p.services.prompter.Ask(Prompt{kTitle, text, PromptButtons::OkCancel,
                                          PromptIcon::Question}) == PromptAnswer::Ok;
}

AutoDetectOutcome AutoDetectCaptureAreas(Program& p, const AreaConfirmation& confirm)
{
    p.log.WriteDebugLog("Click : Capture Area Detect ");
    const auto done = [&p](AutoDetectOutcome outcome, std::string_view how) {
        p.log.WriteDebugLog("Detecting CaptureArea ･･･ " + std::string(how));
        return outcome;
    };
    const PixelBuffer frame = GrabGameFrame(p);
    if (frame.isEmpty()) {
        tell(p, "ゲームウィンドウが見つかりません。");
        return done(AutoDetectOutcome::NoWindow, "Window Not Find ");
    }
    const AreaProposal proposal = FindCaptureAreas(frame, FinderFontsOf(p.settings));
    const bool any = proposal.level.status == FindStatus::Found ||
                     proposal.exp.status == FindStatus::Found ||
                     proposal.coins.status == FindStatus::Found;
    if (!any) {
        tell(p, "数値が見つかりませんでした。\r\n" + joinedLines(proposal));
        return done(AutoDetectOutcome::NothingFound, "Number Not Find ");
    }
    if (!confirm(frame, proposal))
        return done(AutoDetectOutcome::Declined, "Cancel ");
    ApplyCaptureAreas(p.settings, proposal);
    return done(AutoDetectOutcome::Applied, "End ");
}

} // namespace kesmaro
