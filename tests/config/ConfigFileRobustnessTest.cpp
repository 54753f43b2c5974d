#include "ConfigFileFixture.h"
#include "SettingsFileProbe.h"
#include "common/Text.h"

#include <cctype>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace kesmaro;

namespace {

using Bytes = std::string;

// Like Qt's split: n separators give n + 1 parts, also around an empty text.
std::vector<Bytes> split(std::string_view bytes, char separator)
{
    std::vector<Bytes> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = bytes.find(separator, from)) != std::string_view::npos;
         from = at + 1)
        parts.emplace_back(bytes.substr(from, at - from));
    parts.emplace_back(bytes.substr(from));
    return parts;
}

Bytes join(const std::vector<Bytes>& parts, char separator)
{
    Bytes joined;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i)
            joined += separator;
        joined += parts[i];
    }
    return joined;
}

Bytes repeated(std::string_view bytes, int times)
{
    Bytes out;
    for (int i = 0; i < times; ++i)
        out += bytes;
    return out;
}

// Printable in a failure message: every byte but letters, digits and " ,\r\n-._~" as %XX.
std::string percentEncoded(std::string_view bytes)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) || std::string_view(" ,\r\n-._~").find(c) != std::string_view::npos) {
            out += c;
        } else {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 15];
        }
    }
    return out;
}

// Damages settings files the ways disks, editors and users do. Deterministic: one seed.
class Mutator {
public:
    Bytes mutate(Bytes file)
    {
        const int steps = pick(1, 3);
        for (int i = 0; i < steps; ++i)
            file = mutateOnce(file);
        return file;
    }

    // A line of `size` bytes of any kind: digits, CP932 text, lone lead bytes, commas.
    Bytes line(int size)
    {
        static const std::string_view alphabets[] = {"0123456789",
                                                     "\x8c\x8b\x97\x5e\x96\xbe\x8d\xd7",
                                                     "\x81\x9f\xe0\xfc\x80\xa0\xfd\xff", ", ,\t "};
        const std::string_view alphabet = alphabets[pick(0, 3)];
        Bytes text(static_cast<std::size_t>(size), '\0');
        for (char& c : text)
            c = alphabet[static_cast<std::size_t>(pick(0, static_cast<int>(alphabet.size()) - 1))];
        return text;
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }

    Bytes mutateOnce(const Bytes& file)
    {
        // Values that trip number, flag and code-page parsing, separated by '|'.
        static const std::vector<Bytes> values =
            split("|99999999999999999999999|-2147483649|2147483647|-0|+5|1e9|0x10|&H10|1.5|.5|"
                  "5.|True|FALSE|#TRUE#|\x81|\"a, b\"| , |,,,,|\xff\xfe|\x82\x60\x82\x61|"
                  "Ver.2.30|ver.2.30",
                  '|');
        std::vector<Bytes> lines = split(file, '\n');
        const int n = static_cast<int>(lines.size());
        const int at = pick(0, n - 1);
        switch (pick(0, 9)) {
        case 0:
            return file.substr(0, static_cast<std::size_t>(pick(0, static_cast<int>(file.size()))));
        case 1:
            lines.erase(lines.begin() + at);
            break;
        case 2:
            lines.insert(lines.begin() + at, lines[static_cast<std::size_t>(at)]);
            break;
        case 3: {
            std::vector<Bytes> fields = split(lines[static_cast<std::size_t>(at)], ',');
            fields[static_cast<std::size_t>(pick(0, static_cast<int>(fields.size()) - 1))] =
                values[static_cast<std::size_t>(pick(0, static_cast<int>(values.size()) - 1))];
            lines[static_cast<std::size_t>(at)] = join(fields, ',');
            break;
        }
        case 4: {
            Bytes flipped = file;
            for (int i = pick(1, 8); i > 0 && !flipped.empty(); --i)
                flipped[static_cast<std::size_t>(pick(0, static_cast<int>(flipped.size()) - 1))] =
                    static_cast<char>(pick(0, 255));
            return flipped;
        }
        case 5: {
            Bytes& target = lines[static_cast<std::size_t>(at)];
            const int where = pick(0, static_cast<int>(target.size()));
            target.insert(static_cast<std::size_t>(where), line(pick(1, 4)));
            break;
        }
        case 6:
            lines[static_cast<std::size_t>(at)] = line(pick(0, 200));
            break;
        case 7: {
            static const std::string_view ends[] = {"\n", "\r", "\r\r\n", ""};
            return ReplaceAll(file, "\r\n", ends[pick(0, 3)]);
        }
        case 8:
            std::swap(lines[static_cast<std::size_t>(at)],
                      lines[static_cast<std::size_t>(pick(0, n - 1))]);
            break;
        default: {
            Bytes& target = lines[static_cast<std::size_t>(at)];
            const int where = pick(0, static_cast<int>(target.size()));
            target.insert(static_cast<std::size_t>(where), pick(0, 1) ? " ," : ",");
            break;
        }
        }
        return join(lines, '\n');
    }

    std::mt19937 m_rng{20261206};
};

class ConfigFileRobustnessTest : public ConfigFileFixture {
protected:
    std::vector<Bytes> corpus()
    {
        Settings commas = defaults();
        commas.SaveFolder = folder() + "/a,b";
        commas.StartUpPath = {",x", "C:\\Tools\\y,z.exe"};
        commas.SearchWindowClass = "Game,Window";
        return {sample("default-fullscreen-yellow.ini"), sample("v220.ini"),
                encode(ConfigFileLines(commas))};
    }
};

TEST_F(ConfigFileRobustnessTest, MutatedFilesNeverBreakTheReaders)
{
    Mutator mutator;
    const std::vector<Bytes> bases = corpus();
    std::vector<Bytes> inputs = {Bytes(), repeated("\r\n", 1000), repeated("Ver.", 1 << 18)};
    for (int line : {0, 9, 14, 27, 64}) {
        std::vector<Bytes> lines = split(bases[0], '\n');
        lines[static_cast<std::size_t>(line)] = mutator.line(1 << 20);
        inputs.push_back(join(lines, '\n'));
    }
    for (int i = 0; i < 4000; ++i)
        inputs.push_back(mutator.mutate(bases[static_cast<std::size_t>(i) % bases.size()]));

    int failures = 0;
    for (std::size_t i = 0; i < inputs.size() && failures < 5; ++i) {
        const std::string broken = ProbeSettingsFile(inputs[i]);
        if (!broken.empty()) {
            ++failures;
            ADD_FAILURE() << "input " << i << ": " << broken << "\n"
                          << percentEncoded(std::string_view(inputs[i]).substr(0, 2000));
        }
    }
}

// Start-up's read, whatever the file: afterwards the file on disk is one that reads back
// without failure or question to exactly what the record holds.
TEST_F(ConfigFileRobustnessTest, StartUpLeavesAReadableFileBehind)
{
    Mutator mutator;
    const std::vector<Bytes> bases = corpus();
    for (int i = 0; i < 200; ++i) {
        const Bytes input = mutator.mutate(bases[static_cast<std::size_t>(i) % bases.size()]);
        put(file(), input);
        reset();
        m_prompter.clearAsked();
        ConfigFile(m_ctx, ConfigMode::Read);

        Settings after;
        after.SearchWindowClass = DecodeCp932(EncodeCp932(m_settings.SearchWindowClass));
        ConfigContext ctx{after, m_prompter, log, folder()};
        ASSERT_EQ(ConfigFileReadV230(ctx, file()), ConfigReadResult::Done) << "input " << i << "\n"
                                                                           << percentEncoded(input);
        ASSERT_EQ(encode(ConfigFileLines(after)), encode(ConfigFileLines(m_settings)))
            << "input " << i;
    }
}

} // namespace
