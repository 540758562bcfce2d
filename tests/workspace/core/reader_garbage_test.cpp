// Every reader takes any bytes without crashing and leaves a consistent result.

#include "workspace/core/datalogger.h"
#include "workspace/core/history_file.h"
#include "workspace/core/wave_files.h"

#include <gtest/gtest.h>

#include <random>

using namespace plotwell::workspace;

namespace {

// Bytes drawn mostly from the characters the formats give meaning to, so the readers get
// past their first checks.
std::string garbage(std::mt19937& rng) {
    static const std::string pieces[] = {
        "0",  "1", "9",    "-",     "+",   ",",        ".",         "e",        "\t",          "\r\n",
        "\n", " ", "#",    "#4",    "#9",  ":WFMPRE:", "BYT_NR 1;", "BYT_N 2;", "BYT_OR LSB;", "NR_PT 5;",
        "\"", ";", "2048", "-2048", "1.0", "nan",      "\x80",      "\0"};
    std::string s;
    const int n = std::uniform_int_distribution<int>(0, 60)(rng);
    for (int i = 0; i < n; ++i) {
        if (rng() % 4 == 0)
            s.push_back(char(rng()));
        else
            s += pieces[rng() % std::size(pieces)];
    }
    return s;
}

} // namespace

TEST(ReaderGarbage, NoReaderCrashesAndResultsStayConsistent) {
    std::mt19937 rng(99);
    for (int trial = 0; trial < 3000; ++trial) {
        const std::string in = garbage(rng);
        for (int type : {1, 2, 3, 4, 5, 7, 9, 13}) {
            SampleStream s;
            const bool ok = ReadWaveFile(WaveFileType(type), in, s);
            if (ok && (type == 1 || type == 13)) {
                EXPECT_TRUE(s.hasPoints());
            }
            if (!s.empty()) {
                const uint16_t r = s.reference();
                EXPECT_TRUE(r == 1 || (r >= 2 && r <= 32768)) << type;
            }
            if (type == 9) {
                EXPECT_LE(s.count(), int(kMaxPoints));
            }
        }
        std::vector<LoggerChannel> channels;
        for (bool dac : {false, true}) {
            (dac ? ReadZeloDac : ReadZeloDta)(in, channels);
            for (const auto& ch : channels) {
                EXPECT_GE(ch.codes.size(), 2u);
                for (uint16_t c : ch.codes)
                    EXPECT_LE(c, dac ? 3999 : 4095);
            }
        }
        for (const auto& e : ReadHistoryFile(in))
            EXPECT_FALSE(e.levelMode.empty());
    }
}
