#include "SettingsFileProbe.h"

#include "common/Cp932.h"
#include "common/DebugLog.h"
#include "common/TextFile.h"
#include "config/ConfigFile.h"
#include "platform/Prompter.h"
#include "platform/sim/SimClock.h"

namespace kesmaro {

namespace {

class YesPrompter : public Prompter {
public:
    PromptAnswer Ask(const Prompt& prompt) override
    {
        return prompt.buttons == PromptButtons::YesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
    }
};

QByteArray fileBytes(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += QByteArray::fromStdString(EncodeCp932(line.toStdString())) + "\r\n";
    return bytes + "\r\n";
}

} // namespace

std::string ProbeSettingsFile(const QByteArray& bytes)
{
    const SimClock clock{LocalDateTime{}, 0};
    // A log in a folder that does not exist: every line fails quietly, so that millions of
    // inputs leave nothing on disk.
    DebugLog log("/nonexistent/kesmaro-probe", clock);
    YesPrompter prompter;

    try {
        ConfigFileVersion(
            QString::fromStdString(TextLineReader::FromBytes(bytes.toStdString()).readLine()));
    } catch (const TrappedError&) {
    }

    for (const ConfigLayout layout : {ConfigLayout::V230, ConfigLayout::V220}) {
        Settings read;
        read.SearchWindowClass = kDefaultWindowClass;
        ConfigContext ctx{read, prompter, log, QStringLiteral("/nonexistent")};
        const ConfigReadResult r = ReadConfigBytes(ctx, bytes, layout);
        if (r != ConfigReadResult::Failed && r != ConfigReadResult::Done &&
            r != ConfigReadResult::Asked)
            return "unknown result " + std::to_string(static_cast<int>(r));
        if (r == ConfigReadResult::Failed)
            continue;

        const QStringList saved = ConfigFileLines(read);
        if (saved.size() != 65)
            return "saved " + std::to_string(saved.size()) + " lines";
        Settings again;
        // The class as the saved file holds it, so that reading it back asks nothing.
        again.SearchWindowClass =
            QString::fromStdString(DecodeCp932(EncodeCp932(read.SearchWindowClass.toStdString())));
        ConfigContext againCtx{again, prompter, log, QStringLiteral("/nonexistent")};
        const ConfigReadResult r2 = ReadConfigBytes(againCtx, fileBytes(saved), ConfigLayout::V230);
        if (r2 != ConfigReadResult::Done)
            return "saved file reads back with result " + std::to_string(static_cast<int>(r2));
        // Compared as bytes: a character without a code in the file's code page is saved as
        // '?' and reads back as that.
        const QStringList resaved = ConfigFileLines(again);
        for (qsizetype i = 0; i < saved.size(); ++i)
            if (EncodeCp932(resaved[i].toStdString()) != EncodeCp932(saved[i].toStdString()))
                return "line " + std::to_string(i + 1) + " changed from \"" +
                       saved[i].toStdString() + "\" to \"" + resaved[i].toStdString() + "\"";
    }
    return {};
}

} // namespace kesmaro
