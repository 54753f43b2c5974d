#pragma once

// The recognition algorithm written plainly over texts, as the yardstick for the word-based
// reader: substring search for the first digit, then a character-by-character comparison at
// every scan step.

#include <QString>
#include <array>
#include <cstdint>

namespace reference {

struct Outcome {
    QString result;
    QString caption;
    QString trace;
};

inline Outcome Recognize(const QString& s, std::int32_t regionWidth, std::int32_t glyphWidth,
                         const std::array<QString, 11>& g, int category)
{
    Outcome out;
    const std::int64_t len = std::int64_t{glyphWidth} * 4;
    const auto valid = [&](int i) { return glyphWidth > 0 && g[i].size() == len; };

    std::int64_t p = -1;
    for (int i = 0; i <= 9; ++i) {
        if (!valid(i))
            continue;
        const std::int64_t q = s.indexOf(g[i]);
        if (q >= 0 && (p < 0 || q < p))
            p = q;
    }
    if (p < 0) {
        out.trace = QStringLiteral("category") + QString::number(category) +
                    QStringLiteral(" 数値が見つかりませんでした");
        out.caption = QStringLiteral("NotFind");
        return out;
    }

    QString r;
    int k = 0;
    bool closed = false;
    const std::int64_t limit = 4 * (std::int64_t{regionWidth} - glyphWidth) - 1;
    for (std::int64_t pos = p; pos <= limit && pos + len <= s.size(); pos += 4) {
        const QString window = s.mid(pos, len);
        int match = -1;
        for (int i = 0; i <= 10 && match < 0; ++i)
            if (valid(i) && window == g[i])
                match = i;
        if (match >= 0 && match <= 9) {
            r += QString::number(match);
            pos += len - 4;
            k = 0;
            out.trace += QStringLiteral(" 認識結果:") + QString::number(match);
        } else if (match == 10) {
            out.trace += QStringLiteral(" 認識結果:デリミタ");
            closed = true;
            break;
        } else {
            if (!r.isEmpty())
                k = k + 1;
            if (k > 32) {
                r += QStringLiteral("0");
                k = 0;
                out.trace += QStringLiteral(" 遮蔽物検出0付加 ") + r;
            }
        }
    }
    if (!closed) {
        out.trace += QStringLiteral(" デリミタ未検出 ") + r;
        r.clear();
    }
    if (r.isEmpty()) {
        out.caption = QStringLiteral("認識NG");
        return out;
    }
    QString stripped = r;
    while (stripped.size() > 1 && stripped.startsWith(u'0'))
        stripped.remove(0, 1);
    if (stripped.size() > 15) {
        out.caption = QStringLiteral("認識NG");
        return out;
    }
    out.result = stripped;
    out.caption = r;
    return out;
}

} // namespace reference
