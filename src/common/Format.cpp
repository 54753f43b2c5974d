#include "common/Format.h"

#include "common/Cp932.h"
#include "common/TrappedError.h"

#include <cmath>

namespace kesmaro {

namespace {

// An exact decimal: sign, integer digits (no leading zeros, possibly empty) and fraction digits.
struct Decimal {
    bool negative = false;
    QString whole;
    QString fraction;
};

void trim(Decimal& d)
{
    qsizetype lead = 0;
    while (lead < d.whole.size() && d.whole[lead] == QLatin1Char('0'))
        ++lead;
    d.whole.remove(0, lead);
    while (d.fraction.endsWith(QLatin1Char('0')))
        d.fraction.chop(1);
}

Decimal fromText(const QString& plain)
{
    Decimal d;
    QString text = plain;
    if (text.startsWith(QLatin1Char('-'))) {
        d.negative = true;
        text.remove(0, 1);
    }
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    d.whole = dot < 0 ? text : text.left(dot);
    d.fraction = dot < 0 ? QString() : text.mid(dot + 1);
    trim(d);
    return d;
}

// Doubles are taken at 15 significant digits, as the classic runtime formats them, so 2.345
// rounds to 2.35 although its binary value lies a little below.
Decimal fromDouble(double value)
{
    if (!std::isfinite(value) || value == 0.0)
        return {};
    const QString sci = QString::number(value, 'e', 14); // "-d.dddddddddddddde+XX"
    Decimal d;
    QString mantissa = sci.left(sci.indexOf(QLatin1Char('e')));
    const int exponent = sci.mid(sci.indexOf(QLatin1Char('e')) + 1).toInt();
    if (mantissa.startsWith(QLatin1Char('-'))) {
        d.negative = true;
        mantissa.remove(0, 1);
    }
    const QString digits = mantissa.remove(QLatin1Char('.'));
    // digits[0] has place value 10^exponent.
    const int point = exponent + 1; // number of digits before the decimal point
    if (point <= 0) {
        d.fraction = QString(-point, QLatin1Char('0')) + digits;
    } else if (point >= digits.size()) {
        d.whole = digits + QString(point - digits.size(), QLatin1Char('0'));
    } else {
        d.whole = digits.left(point);
        d.fraction = digits.mid(point);
    }
    trim(d);
    return d;
}

Decimal toDecimal(const ColumnValue& value)
{
    return std::visit(
        [](const auto& v) -> Decimal {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, bool>)
                return v ? fromText(QStringLiteral("-1")) : Decimal{};
            else if constexpr (std::is_same_v<T, QString>)
                return fromDouble(Val(v));
            else if constexpr (std::is_same_v<T, std::int64_t>)
                return fromText(QString::number(v));
            else if constexpr (std::is_same_v<T, double>)
                return fromDouble(v);
            else
                return fromText(v.toString());
        },
        value.value());
}

// Rounds half away from zero to `decimals` places (decimals >= 0).
Decimal rounded(Decimal d, int decimals)
{
    if (d.fraction.size() <= decimals) {
        d.fraction += QString(decimals - d.fraction.size(), QLatin1Char('0'));
        return d;
    }
    const bool up = d.fraction[decimals] >= QLatin1Char('5');
    QString digits = d.whole + d.fraction.left(decimals);
    if (up) {
        qsizetype i = digits.size() - 1;
        for (; i >= 0; --i) {
            if (digits[i] == QLatin1Char('9')) {
                digits[i] = QLatin1Char('0');
            } else {
                digits[i] = QChar(digits[i].unicode() + 1);
                break;
            }
        }
        if (i < 0)
            digits.prepend(QLatin1Char('1'));
    }
    d.whole = digits.left(digits.size() - decimals);
    d.fraction = digits.right(decimals);
    qsizetype lead = 0;
    while (lead < d.whole.size() && d.whole[lead] == QLatin1Char('0'))
        ++lead;
    d.whole.remove(0, lead);
    return d;
}

bool isZero(const Decimal& d)
{
    for (QChar c : d.whole + d.fraction)
        if (c != QLatin1Char('0'))
            return false;
    return true;
}

QString grouped(const QString& digits)
{
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += QLatin1Char(',');
        out += digits[i];
    }
    return out;
}

// The patterns "0.00", "#,##0.00", "#" and "#,###": `leadingZero` says whether an integer part
// of zero shows as "0" (patterns ending in "0" before the point) or as nothing ("#").
QString formatDecimal(const Decimal& value, int decimals, bool withGroups, bool leadingZero)
{
    const Decimal r = rounded(value, decimals < 0 ? 0 : decimals);
    QString whole = r.whole;
    if (whole.isEmpty() && leadingZero)
        whole = QStringLiteral("0");
    QString text = withGroups ? grouped(whole) : whole;
    if (decimals > 0)
        text += QLatin1Char('.') + r.fraction;
    if (r.negative && !isZero(r))
        text.prepend(QLatin1Char('-'));
    return text;
}

QString rawText(const ColumnValue& value)
{
    return std::visit(
        [](const auto& v) -> QString {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, bool>)
                return v ? QStringLiteral("True") : QStringLiteral("False");
            else if constexpr (std::is_same_v<T, QString>)
                return v;
            else if constexpr (std::is_same_v<T, std::int64_t>)
                return QString::number(v);
            else if constexpr (std::is_same_v<T, double>)
                return QString::number(v, 'g', 15);
            else
                return v.toString();
        },
        value.value());
}

} // namespace

QString FormatNumber(const ColumnValue& value, int decimals, bool grouped)
{
    return formatDecimal(toDecimal(value), decimals, grouped, true);
}

QString FormatColumn(const ColumnValue& value, int width, int margin, int decimals, bool plain)
{
    const QString raw = rawText(value);
    QString first;
    if (std::holds_alternative<bool>(value.value()) ||
        std::holds_alternative<QString>(value.value())) {
        first = raw;
    } else {
        const Decimal d = toDecimal(value);
        if (decimals > 0)
            first = formatDecimal(d, decimals, !plain, true);
        else if (isZero(d))
            first = QStringLiteral("0");
        else
            first = formatDecimal(d, 0, !plain, false);
    }

    const int extra = ByteWidth(raw) - static_cast<int>(raw.size());
    const int inner = extra > 0 ? width - margin - extra : width - margin;
    if (inner - 1 < 0)
        Raise(ErrInvalidArgument);
    const QString second = first.rightJustified(inner - 1, QLatin1Char(' ')) + QLatin1Char(' ');
    const int over = ByteWidth(second) - (width - margin);
    int lead = over != 0 ? margin - over : margin;
    if (lead < 1)
        lead = 1;
    return QString(lead, QLatin1Char(' ')) + second;
}

QString FormatThousands(const ColumnValue& value, const QString& unit)
{
    const QString digits = formatDecimal(toDecimal(value), 0, true, false);
    return unit.isEmpty() ? digits : digits + QLatin1Char(' ') + unit;
}

QString FormatThousands(const QString& unit)
{
    return FormatThousands(ColumnValue(0), unit);
}

double Val(const QString& text)
{
    // Blanks, tabs and line feeds are skipped anywhere in the number, as `Val` does.
    QString compact;
    for (QChar c : text)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n') &&
            c != QLatin1Char('\r'))
            compact += c;
    qsizetype i = 0;
    const qsizetype n = compact.size();
    auto digitsAt = [&](qsizetype& pos) {
        const qsizetype from = pos;
        while (pos < n && compact[pos].isDigit() && compact[pos].unicode() < 128)
            ++pos;
        return pos > from;
    };
    if (i < n && (compact[i] == QLatin1Char('+') || compact[i] == QLatin1Char('-')))
        ++i;
    bool any = digitsAt(i);
    if (i < n && compact[i] == QLatin1Char('.')) {
        ++i;
        any = digitsAt(i) || any;
    }
    if (!any)
        return 0.0;
    if (i < n && (compact[i] == QLatin1Char('e') || compact[i] == QLatin1Char('E') ||
                  compact[i] == QLatin1Char('d') || compact[i] == QLatin1Char('D'))) {
        qsizetype j = i + 1;
        if (j < n && (compact[j] == QLatin1Char('+') || compact[j] == QLatin1Char('-')))
            ++j;
        if (digitsAt(j)) {
            QString number = compact.left(j);
            number[i] = QLatin1Char('e');
            return number.toDouble();
        }
    }
    return compact.left(i).toDouble();
}

int CountOccurrences(const QString& text, const QString& separator)
{
    if (separator.isEmpty())
        return 0;
    int count = 0;
    for (qsizetype pos = text.indexOf(separator); pos >= 0;
         pos = text.indexOf(separator, pos + separator.size()))
        ++count;
    return count;
}

int FindNthOccurrence(const QString& text, const QString& separator, int n)
{
    if (n < 1 || separator.isEmpty())
        return 0;
    int count = 0;
    for (qsizetype pos = text.indexOf(separator); pos >= 0;
         pos = text.indexOf(separator, pos + separator.size()))
        if (++count == n)
            return static_cast<int>(pos) + 1;
    return 0;
}

} // namespace kesmaro
