#include "records/ResultDisplay.h"

#include "common/Format.h"
#include "common/Numeric.h"
#include "common/Trap.h"
#include "config/CommonQt.h"
#include "state/Program.h"

#include <QDate>
#include <QRegularExpression>
#include <cmath>
#include <optional>

namespace kesmaro {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kNoMoney = QStringLiteral("------");

// A number as a label shows it: plain decimal, no grouping, no padding.
QString plainNumber(double value)
{
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    return QString::number(value, 'g', 15);
}

QString plainNumber(Currency value)
{
    return QString::fromStdString(value.toString());
}

double number(const QString& labelText)
{
    return Val(labelText);
}

QString expLabel(Currency readExp)
{
    return ExpText(ExpPercent(readExp));
}

QString reportColumn(const ColumnValue& value, int width)
{
    return QString::fromStdString(FormatColumn(value, width, 1, 0, false));
}

// Minutes since an epoch of a "yyyy/M/d H:m:s" text; the seconds are dropped.
std::int64_t wholeMinutes(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^\s*(\d{1,4})/(\d{1,2})/(\d{1,2})(?:\s+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?\s*$)"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        Raise(ErrTypeMismatch);
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const int hour = m.captured(4).isEmpty() ? 0 : m.captured(4).toInt();
    const int minute = m.captured(5).isEmpty() ? 0 : m.captured(5).toInt();
    const int second = m.captured(6).isEmpty() ? 0 : m.captured(6).toInt();
    if (!date.isValid() || hour > 23 || minute > 59 || second > 59)
        Raise(ErrTypeMismatch);
    return date.toJulianDay() * 1440 + hour * 60 + minute;
}

void clear(Program& p)
{
    ResultLabels& r = p.results;
    for (QString* label : {&r.lblStartTime, &r.lblEndTime, &r.lblElapseTime, &r.lblStartLv,
                           &r.lblEndLv, &r.lblElapseLv, &r.lblStartExp, &r.lblEndExp,
                           &r.lblElapseExp, &r.lblStartMoney, &r.lblEndMoney, &r.lblElapseMoney})
        label->clear();
    for (int i = 0; i < 3; ++i)
        r.lblCapture[static_cast<std::size_t>(i)].clear();
    MeasurementState& m = p.measurement;
    m.MoneyPair[0] = Currency::FromInteger(-1);
    m.MoneyPair[1] = Currency::FromInteger(-1);
    m.ReadMoney = Currency::FromInteger(-1);
    p.view.changed(ViewPart::Results);
}

void takeStart(Program& p)
{
    ResultLabels& r = p.results;
    MeasurementState& m = p.measurement;
    Trap run(TrapPolicy::Silent);
    run([&] { r.lblStartTime = QString::fromStdString(NowStampText(p.services.clock)); });
    run([&] { r.lblStartLv = QString::number(m.ReadLv); });
    run([&] { r.lblStartExp = expLabel(m.ReadExp); });
    run([&] { r.lblEndTime = r.lblStartTime; });
    run([&] { r.lblEndLv = QString::number(m.ReadLv); });
    run([&] { r.lblEndExp = r.lblStartExp; });
    run([&] { r.lblElapseTime.clear(); });
    run([&] { r.lblElapseLv = QStringLiteral("0"); });
    run([&] { r.lblElapseExp = ExpText(0.0); });
    run([&] {
        if (m.MoneyPair[1] >= Currency{}) {
            m.MoneyPair[0] = m.MoneyPair[1];
            r.lblStartMoney = plainNumber(m.MoneyPair[0]);
            r.lblEndMoney = plainNumber(m.MoneyPair[1]);
            r.lblElapseMoney = QStringLiteral("0");
        } else {
            r.lblStartMoney = kNoMoney;
            r.lblEndMoney.clear();
            r.lblElapseMoney.clear();
        }
    });
    run([&] { m.ReadMoney = Currency::FromInteger(-1); });
    p.view.changed(ViewPart::Results);
}

void update(Program& p)
{
    ResultLabels& r = p.results;
    MeasurementState& m = p.measurement;
    if (r.lblStartTime.isEmpty()) {
        takeStart(p);
        return;
    }
    Trap run(p.log, "DisplayResult");
    run([&] { r.lblEndTime = QString::fromStdString(NowStampText(p.services.clock)); });
    run([&] { r.lblElapseTime = ElapsedText(r.lblEndTime, r.lblStartTime); });
    run([&] { r.lblEndLv = QString::number(m.ReadLv); });
    run([&] { r.lblEndExp = expLabel(m.ReadExp); });
    run([&] { r.lblElapseLv = plainNumber(number(r.lblEndLv) - number(r.lblStartLv)); });
    run([&] {
        Currency gain = Currency::FromDouble(number(r.lblElapseLv) * 100 + number(r.lblEndExp) -
                                             number(r.lblStartExp));
        if (gain > Currency::FromInteger(100))
            gain = Currency::FromInteger(ToLong(gain.toDouble()) % 100);
        r.lblElapseExp = ExpText(gain.toDouble());
    });
    run([&] {
        if (m.ReadMoney < Currency{})
            return;
        if (m.MoneyPair[0] >= Currency{}) {
            // Read before the end label moves on: the gain shown trails the end by one update.
            r.lblElapseMoney = plainNumber(number(r.lblEndMoney) - number(r.lblStartMoney));
        } else {
            r.lblStartMoney = plainNumber(m.ReadMoney);
            m.MoneyPair[0] = m.ReadMoney;
            r.lblElapseMoney = QStringLiteral("0");
        }
        r.lblEndMoney = plainNumber(m.ReadMoney);
        m.ReadMoney = Currency::FromInteger(-1);
    });
    p.view.changed(ViewPart::Results);
    run.report();
    if (p.flags.DebugMode)
        p.log.WriteDebugLog("Useally Measure Data Display Complete ");
}

void closingReport(Program& p)
{
    if (p.LogStartStamp.isEmpty()) {
        p.view.changed(ViewPart::Results);
        return;
    }
    ResultLabels& r = p.results;
    Trap run(TrapPolicy::Silent);
    QString report;
    run([&] {
        // Without any coin reading in the run the pair holds its "none" marker, not coins.
        if (p.measurement.MoneyPair[1] >= Currency{})
            r.lblEndMoney = plainNumber(p.measurement.MoneyPair[1]);
    });
    run([&] {
        report += QStringLiteral(" 経過: ") + r.lblStartTime + QStringLiteral("  ～  ") +
                  r.lblEndTime + QStringLiteral("  ＝  ") + r.lblElapseTime + kCrLf;
    });
    auto row = [&](const QString& title, const QString& lv, const QString& exp,
                   const QString& money) {
        return title + reportColumn(number(lv), 5) + QStringLiteral("   Exp:") +
               reportColumn(exp.toStdString(), 11) + QStringLiteral("  ｺｲﾝ:") +
               reportColumn(number(money), 17) + kCrLf;
    };
    run([&] {
        report +=
            row(QStringLiteral("    開始  Lv:"), r.lblStartLv, r.lblStartExp, r.lblStartMoney);
    });
    if (number(r.lblEndLv) >= 0 || number(r.lblEndExp) >= 0) {
        run([&] {
            report += row(QStringLiteral("    終了  Lv:"), r.lblEndLv, r.lblEndExp, r.lblEndMoney);
        });
        run([&] {
            report += row(QStringLiteral("    増加  Lv:"), r.lblElapseLv, r.lblElapseExp,
                          r.lblElapseMoney);
        });
    }
    run([&] { p.txtLog.AppendToTextBox(report + kCrLf + kCrLf); });
    p.log.WriteDebugLog("Measure Result Data Display Complete ");
    p.view.changed(ViewPart::Results);
}

} // namespace

QString ExpText(const ColumnValue& percent)
{
    return QString::fromStdString(FormatNumber(percent, 2, false)) + QStringLiteral(" ％");
}

QString ElapsedText(const QString& end, const QString& start)
{
    const std::int64_t m = wholeMinutes(end) - wholeMinutes(start);
    const std::int64_t days = m / 1440;
    const std::int64_t rest = m % 1440;
    return QString::number(days) + QStringLiteral("日 ") + QString::number(rest / 60) +
           QStringLiteral("時 ") + QString::number(rest % 60) + QStringLiteral("分間");
}

void DisplayResult(Program& p, DisplayMode mode)
{
    switch (mode) {
    case DisplayMode::Clear:
        return clear(p);
    case DisplayMode::TakeStart:
        return takeStart(p);
    case DisplayMode::ClosingReport:
        return closingReport(p);
    case DisplayMode::Update:
        return update(p);
    }
}

} // namespace kesmaro
