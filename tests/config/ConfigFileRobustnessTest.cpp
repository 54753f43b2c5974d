#include "ConfigFileFixture.h"
#include "SettingsFileProbe.h"

#include <random>

using namespace kesmaro;

namespace {

// Damages settings files the ways disks, editors and users do. Deterministic: one seed.
class Mutator {
public:
    QByteArray mutate(QByteArray file)
    {
        const int steps = pick(1, 3);
        for (int i = 0; i < steps; ++i)
            file = mutateOnce(file);
        return file;
    }

    // A line of `size` bytes of any kind: digits, CP932 text, lone lead bytes, commas.
    QByteArray line(int size)
    {
        static const QByteArray alphabets[] = {"0123456789", "\x8c\x8b\x97\x5e\x96\xbe\x8d\xd7",
                                               "\x81\x9f\xe0\xfc\x80\xa0\xfd\xff", ", ,\t "};
        const QByteArray& alphabet = alphabets[pick(0, 3)];
        QByteArray text(size, '\0');
        for (char& c : text)
            c = alphabet[pick(0, static_cast<int>(alphabet.size()) - 1)];
        return text;
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }

    QByteArray mutateOnce(const QByteArray& file)
    {
        // Values that trip number, flag and code-page parsing, separated by '|'.
        static const QList<QByteArray> values =
            QByteArray("|99999999999999999999999|-2147483649|2147483647|-0|+5|1e9|0x10|&H10|1.5|.5|"
                       "5.|True|FALSE|#TRUE#|\x81|\"a, b\"| , |,,,,|\xff\xfe|\x82\x60\x82\x61|"
                       "Ver.2.30|ver.2.30")
                .split('|');
        QList<QByteArray> lines = file.split('\n');
        const int n = static_cast<int>(lines.size());
        const int at = pick(0, n - 1);
        switch (pick(0, 9)) {
        case 0:
            return file.left(pick(0, static_cast<int>(file.size())));
        case 1:
            lines.removeAt(at);
            break;
        case 2:
            lines.insert(at, lines[at]);
            break;
        case 3: {
            QList<QByteArray> fields = lines[at].split(',');
            fields[pick(0, static_cast<int>(fields.size()) - 1)] =
                values[pick(0, static_cast<int>(values.size()) - 1)];
            lines[at] = fields.join(',');
            break;
        }
        case 4: {
            QByteArray flipped = file;
            for (int i = pick(1, 8); i > 0 && !flipped.isEmpty(); --i)
                flipped[pick(0, static_cast<int>(flipped.size()) - 1)] =
                    static_cast<char>(pick(0, 255));
            return flipped;
        }
        case 5: {
            const int where = pick(0, static_cast<int>(lines[at].size()));
            lines[at].insert(where, line(pick(1, 4)));
            break;
        }
        case 6:
            lines[at] = line(pick(0, 200));
            break;
        case 7: {
            static const QByteArray ends[] = {"\n", "\r", "\r\r\n", ""};
            return QByteArray(file).replace("\r\n", ends[pick(0, 3)]);
        }
        case 8:
            lines.swapItemsAt(at, pick(0, n - 1));
            break;
        default: {
            const int where = pick(0, static_cast<int>(lines[at].size()));
            lines[at].insert(where, pick(0, 1) ? " ," : ",");
            break;
        }
        }
        return lines.join('\n');
    }

    std::mt19937 m_rng{20261206};
};

class ConfigFileRobustnessTest : public ConfigFileFixture {
protected:
    std::vector<QByteArray> corpus()
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
    const std::vector<QByteArray> bases = corpus();
    std::vector<QByteArray> inputs = {QByteArray(), QByteArray("\r\n").repeated(1000),
                                      QByteArray("Ver.").repeated(1 << 18)};
    for (int line : {0, 9, 14, 27, 64}) {
        QList<QByteArray> lines = bases[0].split('\n');
        lines[line] = mutator.line(1 << 20);
        inputs.push_back(lines.join('\n'));
    }
    for (int i = 0; i < 4000; ++i)
        inputs.push_back(mutator.mutate(bases[static_cast<std::size_t>(i) % bases.size()]));

    int failures = 0;
    for (std::size_t i = 0; i < inputs.size() && failures < 5; ++i) {
        const std::string broken = ProbeSettingsFile(inputs[i].toStdString());
        if (!broken.empty()) {
            ++failures;
            ADD_FAILURE() << "input " << i << ": " << broken << "\n"
                          << inputs[i].left(2000).toPercentEncoding(" ,\r\n").toStdString();
        }
    }
}

// Start-up's read, whatever the file: afterwards the file on disk is one that reads back
// without failure or question to exactly what the record holds.
TEST_F(ConfigFileRobustnessTest, StartUpLeavesAReadableFileBehind)
{
    Mutator mutator;
    const std::vector<QByteArray> bases = corpus();
    for (int i = 0; i < 200; ++i) {
        const QByteArray input = mutator.mutate(bases[static_cast<std::size_t>(i) % bases.size()]);
        put(file(), input);
        reset();
        m_prompter.clearAsked();
        ConfigFile(m_ctx, ConfigMode::Read);

        Settings after;
        after.SearchWindowClass = DecodeCp932(EncodeCp932(m_settings.SearchWindowClass));
        ConfigContext ctx{after, m_prompter, log, folder()};
        ASSERT_EQ(ConfigFileReadV230(ctx, file()), ConfigReadResult::Done)
            << "input " << i << "\n"
            << input.toPercentEncoding(" ,\r\n").toStdString();
        ASSERT_EQ(encode(ConfigFileLines(after)), encode(ConfigFileLines(m_settings)))
            << "input " << i;
    }
}

} // namespace
