#include "app/PopupRemarks.h"

#include <array>

namespace kesmaro {

using namespace Qt::StringLiterals;

namespace {

struct Frame {
    const char16_t* text;
    int pauseMs;
};

// The face animations of attempts 25 to 55; 60 to 90 replay them faster.
const std::array<std::vector<Frame>, 7> kAnimations{{
    // peeking past a wall
    {{u"|", 1000},
     {u"|ω･`) ", 1000},
     {u"|・`)   ", 1000},
     {u"|)      ", 1000},
     {u"|       ", 2000},
     {u"|ω･`) ﾁﾗｯ", 1000}},
    // fading away
    {{u"(´・ω・`)", 1000},
     {u"(´・ω・` )", 1000},
     {u"( ´・ω・)", 1000},
     {u"(   ´・ω)", 1000},
     {u"(      ´)", 1000},
     {u"(        )", 2000},
     {u"  ｽｰｯ…", 1000}},
    // dancing
    {{u"ヽ(・∀・)ノ", 1000},
     {u"ノ(・∀・)ヽ", 1000},
     {u"ヽ(・∀・)ノ", 1000},
     {u"ノ(・∀・)ヽ", 1000},
     {u"＼(・∀・)／ ﾜｰｲ", 2000}},
    // writing
    {{u"φ(・ω・ )", 1000},
     {u"φ(・ω・ )ｶｷ", 1000},
     {u"φ(・ω・ )ｶｷｶｷ", 1000},
     {u"φ(・ω・ )ｶｷｶｷ…", 2000}},
    // laughing
    {{u"(´∀｀)", 1000}, {u"(´∀｀)ｹﾗ", 1000}, {u"(´∀｀)ｹﾗｹﾗ", 2000}},
    // pointing
    {{u"(・∀・)", 1000}, {u"(・∀・)σ", 1000}, {u"(・∀・)σ ﾕﾋﾞ", 1000}, {u"m9(・∀・) ", 2000}},
    // all at once
    {{u"|ω･`)", 1000},
     {u"(´・ω・`)", 1000},
     {u"ヽ(・∀・)ノ", 1000},
     {u"φ(・ω・ )", 1000},
     {u"(´∀｀)ｹﾗｹﾗ", 1000},
     {u"m9(・∀・)", 1000},
     {u"(    )", 2000},
     {u"(・ω・)ﾉｼ", 1000},
     {u"      ", 1000}},
}};

std::vector<RemarkFrame> single(const QString& text)
{
    return {RemarkFrame{text, kRemarkStandMs}};
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
        out.push_back(
            {QString::fromUtf16(frames[i].text), i + 1 == frames.size() ? kRemarkStandMs : pause});
    }
    return out;
}

} // namespace

std::vector<RemarkFrame> PopupRemark(int counter, const QString& windowClass)
{
    switch (counter) {
    case 1:
    case 8:
    case 9:
        return single(u"閉じないでください。"_s);
    case 2:
    case 3:
        return single(windowClass + u"を起動すれば勝手に閉じますよ"_s);
    case 4:
    case 5:
        return single(u"それともロギング終了しても閉じますけど"_s);
    case 6:
    case 7:
        return single(u"いっそのことKesmaroを閉じるとか？"_s);
    case 10:
    case 11:
        return single(u"ちょｗおまっｗｗしつけーってｗｗｗ"_s);
    case 12:
    case 13:
        return single(u"いい加減にしろやｗ"_s);
    case 14:
        return single(u"・・・"_s);
    case 15:
        return single(u"あんまりしつこいようだと・・・"_s);
    case 16:
        return single(u"あんたも大概しつこいね。"_s);
    case 17:
        return single(u"ｳｿﾃﾞｽ"_s);
    case 18:
        return single(u"その代わり・・・"_s);
    case 19:
        return {{u"ハードディスクフォーマット\r\n始めるよ！"_s, 2000},
                {u"Ｂドライブフォーマット開始・・・"_s, 2000},
                {u"え、Ｂドライブなんて無い？"_s, 2000},
                {u"(´・ω・`)"_s, kRemarkStandMs}};
    case 20:
        return {{u"ただの冗談だよっ"_s, 2000}, {u"安心汁！"_s, kRemarkStandMs}};
    case 59:
        return single(u"ここからはさきほどの内容を早送りでお送りします"_s);
    case 95:
    case 100:
    case 105:
        return single(u"暇ですか？"_s);
    case 110:
        return single(u"ちょｗどんだけ暇ですかっ！？"_s);
    default:
        break;
    }
    if (counter >= 25 && counter <= 55 && counter % 5 == 0)
        return animation(static_cast<std::size_t>((counter - 25) / 5), false);
    if (counter >= 60 && counter <= 90 && counter % 5 == 0)
        return animation(static_cast<std::size_t>((counter - 60) / 5), true);
    if (counter >= 200)
        return single(u" っ 「キング・オブ・ひまじん」"_s);
    if (counter >= 111)
        return single(u"まじでおしまい"_s);
    return single(u"おしまい"_s);
}

PopupPlacement CentrePopupLabel(QSize inner, QSize outer, QSize label)
{
    PopupPlacement placement;
    int top = (inner.height() - label.height()) / 2;
    if (top < 0) {
        placement.outerHeight = label.height() + 2 * (outer.height() - inner.height());
        top = 0;
    }
    int left = (inner.width() - label.width()) / 2;
    if (left < 0) {
        placement.outerWidth = label.width() + 2 * (outer.width() - inner.width());
        left = 0;
    }
    placement.label = QPoint(left, top);
    return placement;
}

} // namespace kesmaro
