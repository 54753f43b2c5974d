#include "SettingsFileProbe.h"

#include "common/Cp932.h"
#include "common/DebugLog.h"
#include "common/TextFile.h"
#include "config/ConfigFile.h"
#include "platform/Prompter.h"
#include "platform/sim/SimClock.h"

#include <vector>

namespace kesmaro {

namespace {

class YesPrompter : public Prompter {
public:
    PromptAnswer Ask(const Prompt& prompt) override
    {
        return prompt.buttons == PromptButtons::YesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
    }
};

std::string fileBytes(const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines)
        bytes += EncodeCp932(line) + "\r\n";
    return bytes + "\r\n";
}

} // namespace

std::string ProbeSettingsFile(std::string_view bytes)
{
    const SimClock clock{LocalDateTime{}, 0};
    // A log in a folder that does not exist: every line fails quietly, so that millions of
    // inputs leave nothing on disk.
    DebugLog log("/nonexistent/kesmaro-probe", clock);
    YesPrompter prompter;

    try {
        ConfigFileVersion(TextLineReader::FromBytes(bytes).readLine());
    } catch (const TrappedError&) {
    }

    for (const ConfigLayout layout : {ConfigLayout::V230, ConfigLayout::V220}) {
        Settings read;
        read.SearchWindowClass = kDefaultWindowClass;
        ConfigContext ctx{read, prompter, log, "/nonexistent"};
        const ConfigReadResult r = ReadConfigBytes(ctx, bytes, layout);
        if (r != ConfigReadResult::Failed && r != ConfigReadResult::Done &&
            r != ConfigReadResult::Asked)
            return "unknown result " + std::to_string(static_cast<int>(r));
        if (r == ConfigReadResult::Failed)
            continue;

        const std::vector<std::string> saved = ConfigFileLines(read);
        if (saved.size() != 65)
            return "saved " + std::to_string(saved.size()) + " lines";
        Settings again;
        // The class as the saved file holds it, so that reading it back asks nothing.
        again.SearchWindowClass = DecodeCp932(EncodeCp932(read.SearchWindowClass));
        ConfigContext againCtx{again, prompter, log, "/nonexistent"};
        const ConfigReadResult r2 = ReadConfigBytes(againCtx, fileBytes(saved), ConfigLayout::V230);
        if (r2 != ConfigReadResult::Done)
            return "saved file reads back with result " + std::to_string(static_cast<int>(r2));
        // Compared as bytes: a character without a code in the file's code page is saved as
        // '?' and reads back as that.
        const std::vector<std::string> resaved = ConfigFileLines(again);
        for (std::size_t i = 0; i < saved.size(); ++i)
            if (EncodeCp932(resaved[i]) != EncodeCp932(saved[i]))
                return "line " + std::to_string(i + 1) + " changed from \"" + saved[i] +
                       "\" to \"" + resaved[i] + "\"";
    }
    return {};
}

} // namespace kesmaro
