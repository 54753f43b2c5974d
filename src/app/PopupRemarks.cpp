#include "app/PopupRemarks.h"

#include <array>
#include <utility>

namespace kesmaro {

namespace {

struct Frame {
    const char* text;
    int pauseMs;
};

// The face animations of attempts 25 to 55; 60 to 90 replay them faster.
const std::array<std::vector<Frame>, 7> kAnimations{{
    // peeking past a wall
    {{"|", 1000},
     {"|ω･`) ", 1000},
     {"|・`)   ", 1000},
     {"|)      ", 1000},
     {"|       ", 2000},
     {"|ω･`) ﾁﾗｯ", 1000}},
    // fading away
    {{"(´・ω・`)", 1000},
     {"(´・ω・` )", 1000},
     {"( ´・ω・)", 1000},
     {"(   ´・ω)", 1000},
     {"(      ´)", 1000},
     {"(        )", 2000},
     {"  ｽｰｯ…", 1000}},
    // dancing
    {{"ヽ(・∀・)ノ", 1000},
     {"ノ(・∀・)ヽ", 1000},
     {"ヽ(・∀・)ノ", 1000},
     {"ノ(・∀・)ヽ", 1000},
     {"＼(・∀・)／ ﾜｰｲ", 2000}},
    // writing
    {{"φ(・ω・ )", 1000}, {"φ(・ω・ )ｶｷ", 1000}, {"φ(・ω・ )ｶｷｶｷ", 1000}, {"φ(・ω・ )ｶｷｶｷ…", 2000}},
    // laughing
    {{"(´∀｀)", 1000}, {"(´∀｀)ｹﾗ", 1000}, {"(´∀｀)ｹﾗｹﾗ", 2000}},
    // pointing
    {{"(・∀・)", 1000}, {"(・∀・)σ", 1000}, {"(・∀・)σ ﾕﾋﾞ", 1000}, {"m9(・∀・) ", 2000}},
    // all at once
    {{"|ω･`)", 1000},
     {"(´・ω・`)", 1000},
     {"ヽ(・∀・)ノ", 1000},
     {"φ(・ω・ )", 1000},
     {"(´∀｀)ｹﾗｹﾗ", 1000},
     {"m9(・∀・)", 1000},
     {"(    )", 2000},
     {"(・ω・)ﾉｼ", 1000},
     {"      ", 1000}},
}};

std::vector<RemarkFrame> single(std::string text)
{
    return {RemarkFrame{std::move(text), kRemarkStandMs}};
}

// The frames of an animation; the last one stands for the usual second. The replays take half
// the pauses, the last of them a quarter for its one-second steps.
std::vector<RemarkFrame> animation(std::size_t index, bool fast)
{
    const std::vector<Frame>& frames = kAnimations[index];
    std::vector<RemarkFrame> out;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        int pause = frames[i].pauseMs;
        if (fast)
            pause = index == kAnimations.size() - 1 && pause == 1000 ? 250 : pause / 2;
        out.push_back({frames[i].text, i + 1 == frames.size() ? kRemarkStandMs : pause});
    }
    return out;
}

} // namespace

std::vector<RemarkFrame> PopupRemark(int counter, std::string_view windowClass)
{
    switch (counter) {
    case 1:
    case 8:
    case 9:
        return single("閉じないでください。");
    case 2:
    case 3:
        return single(std::string(windowClass) + "を起動すれば勝手に閉じますよ");
    case 4:
    case 5:
        return single("それともロギング終了しても閉じますけど");
    case 6:
    case 7:
        return single("いっそのことKesmaroを閉じるとか？");
    case 10:
    case 11:
        return single("ちょｗおまっｗｗしつけーってｗｗｗ");
    case 12:
    case 13:
        return single("いい加減にしろやｗ");
    case 14:
        return single("・・・");
    case 15:
        return single("あんまりしつこいようだと・・・");
    case 16:
        return single("あんたも大概しつこいね。");
    case 17:
        return single("ｳｿﾃﾞｽ");
    case 18:
        return single("その代わり・・・");
    case 19:
        return {{"ハードディスクフォーマット\r\n始めるよ！", 2000},
                {"Ｂドライブフォーマット開始・・・", 2000},
                {"え、Ｂドライブなんて無い？", 2000},
                {"(´・ω・`)", kRemarkStandMs}};
    case 20:
        return {{"ただの冗談だよっ", 2000}, {"安心汁！", kRemarkStandMs}};
    case 59:
        return single("ここからはさきほどの内容を早送りでお送りします");
    case 95:
    case 100:
    case 105:
        return single("暇ですか？");
    case 110:
        return single("ちょｗどんだけ暇ですかっ！？");
    default:
        break;
    }
    if (counter >= 25 && counter <= 55 && counter % 5 == 0)
        return animation(static_cast<std::size_t>((counter - 25) / 5), false);
    if (counter >= 60 && counter <= 90 && counter % 5 == 0)
        return animation(static_cast<std::size_t>((counter - 60) / 5), true);
    if (counter >= 200)
        return single(" っ 「キング・オブ・ひまじん」");
    if (counter >= 111)
        return single("まじでおしまい");
    return single("おしまい");
}

PopupPlacement CentrePopupLabel(PixelSize inner, PixelSize outer, PixelSize label)
{
    PopupPlacement placement;
    int top = (inner.height - label.height) / 2;
    if (top < 0) {
        placement.outerHeight = label.height + 2 * (outer.height - inner.height);
        top = 0;
    }
    int left = (inner.width - label.width) / 2;
    if (left < 0) {
        placement.outerWidth = label.width + 2 * (outer.width - inner.width);
        left = 0;
    }
    placement.label = PixelPoint{left, top};
    return placement;
}

} // namespace kesmaro
