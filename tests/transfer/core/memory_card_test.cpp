#include "transfer/core/memory_card.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace plotwell;
using namespace plotwell::transfer;
namespace fs = std::filesystem;

namespace {

// A temporary folder standing for the card's mount point, with the instruments' directories.
struct Card {
    Card() {
        root = fs::temp_directory_path() /
               ("pwcard-" + std::to_string(::getpid()) + "-" + std::to_string(next++));
        for (const char* d : {"WAVES.ARB", "ARB/WAVES", "QVS51XX/PATTERNS", "QVS51XX/WAVES", "QVR5XX2/WAVES",
                              "QVR6XX2/WAVES"})
            fs::create_directories(root / d);
    }
    ~Card() { fs::remove_all(root); }
    std::string file(const std::string& relative) const {
        std::ifstream in(root / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void put(const std::string& relative, const std::string& bytes) const {
        std::ofstream(root / relative, std::ios::binary) << bytes;
    }
    fs::path root;
    static inline int next = 0;
};

std::string littleEndian(const std::vector<uint16_t>& words) {
    std::string b;
    for (uint16_t w : words) {
        b.push_back(char(w & 0xFF));
        b.push_back(char(w >> 8));
    }
    return b;
}

TransferJob cardJob(Direction d, int model, const std::string& drive, const std::string& target = "") {
    TransferJob j;
    j.direction = d;
    j.makeIndex = makeQuorvex;
    j.modelIndex = model;
    j.typeIndex = ifCard;
    j.drive = drive;
    j.target = target;
    j.model = "QV7351";
    return j;
}

DownloadSource source(uint16_t reference, std::vector<uint16_t> codes, const std::string& fileName) {
    DownloadSource s;
    s.samples.assign(reference, codes);
    s.selectionEnd = int32_t(codes.size()) - 1;
    s.fileName = fileName;
    return s;
}

} // namespace

TEST(MemoryCard, PathsHeadersAndCodesOfEveryFamily) {
    struct Case {
        int row;
        bool bitPattern;
        uint16_t reference;
        std::vector<uint16_t> words;
        const char* file;
        std::vector<uint16_t> expected; // header, then codes
    } cases[] = {
        {3, false, 2048, {0, 1, 4095}, "WAVES.ARB/WAVE1.WFM", {2048, 0, 1, 4095}},
        {5, false, 2048, {0, 1, 4095}, "ARB/WAVES/WAVE1.WFM", {8192, 0, 4, 16380}},
        {10, false, 8192, {0, 8192, 16383}, "ARB/WAVES/WAVE1.WFM", {8192, 0, 8192, 16383}},
        {11, true, 32768, {0, 1, 65535}, "QVS51XX/PATTERNS/WAVE1.PTN", {32768, 0x8000, 0x8001, 0x7FFF}},
        {11, false, 2048, {0, 2048}, "QVS51XX/WAVES/WAVE1.WFM", {32768, 0x8000, 0x0000}},
        {12, false, 32768, {0, 32768, 65535}, "QVR5XX2/WAVES/WAVE1.WFM", {32768, 0x8000, 0x0000, 0x7FFF}},
        {13, false, 1, {1234}, "QVR5XX2/WAVES/WAVE1.WFM", {32768, 1234 ^ 0x8000}},
        {14, false, 32768, {0, 65535}, "QVR6XX2/WAVES/WAVE1.WFM", {32768, 0x8000, 0x7FFF}},
        {15, false, 512, {0, 1023}, "QVR6XX2/WAVES/WAVE1.WFM", {32768, 0x8000, 65472 ^ 0x8000}},
    };
    for (const Case& c : cases) {
        Card card;
        const DownloadSource s = source(c.reference, c.words, "wave1.wfm");
        const CardOutcome r =
            downloadToCard(cardJob(Direction::Download, c.row, card.root.string()), s, c.bitPattern);
        ASSERT_TRUE(r.ok) << c.row << " " << r.error;
        EXPECT_EQ(r.path, (card.root / c.file).string());
        EXPECT_EQ(card.file(c.file), littleEndian(c.expected)) << c.row;
    }
}

TEST(MemoryCard, NamesFromTheDestinationOrTheFileName) {
    struct Case {
        const char *destination, *fileName, *name;
    } cases[] = {
        {"", "wave1.wfm", "WAVE1"},
        {"", "my wave.wfm", "MY"},
        {"", "LongWaveformName.wfm", "LONGWAVE"},
        {"arb.x", "ignored.wfm", "ARB"},
        {"Sweep_2-b", "x", "SWEEP_2-"},
        {"", "plain", "PLAIN"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cardInstrumentName(c.destination, c.fileName), c.name);
    for (const char* bad : {"", "A/B", "..", "A B", "A\\B", "Ä"})
        EXPECT_FALSE(validCardName(bad)) << bad;
    EXPECT_TRUE(validCardName("WAVE_1-A"));
}

TEST(MemoryCard, OnlyTheSelectionIsWrittenAndTheWindowKeepsItsSamples) {
    Card card;
    DownloadSource s = source(2048, {10, 20, 30, 40, 50}, "part.wfm");
    s.selectionStart = 1;
    s.selectionEnd = 3;
    const workspace::SampleStream before = s.samples;
    ASSERT_TRUE(downloadToCard(cardJob(Direction::Download, 5, card.root.string()), s, false).ok);
    EXPECT_EQ(card.file("ARB/WAVES/PART.WFM"), littleEndian({8192, 80, 120, 160}));
    EXPECT_EQ(s.samples, before);
}

TEST(MemoryCard, RefusalsWithTheirTexts) {
    Card card;
    const std::string drive = card.root.string();
    struct Case {
        TransferJob job;
        DownloadSource source;
        std::string text;
    } cases[] = {
        {cardJob(Direction::Download, 5, drive), source(2048, std::vector<uint16_t>(1048577, 0), "big.wfm"),
         kCardTooLongText},
        {cardJob(Direction::Download, 5, drive), source(2048, {}, "empty.wfm"), kCardNoPointText},
        {cardJob(Direction::Download, 5, drive, "a/b"), source(2048, {1}, "x.wfm"), cardBadNameText("A/B")},
        {cardJob(Direction::Download, 5, drive), source(2048, {1}, " lead.wfm"), cardBadNameText("")},
        {cardJob(Direction::Download, 5, drive + "/missing"), source(2048, {1}, "x.wfm"),
         kCardWriteFailedText},
    };
    for (const Case& c : cases) {
        const CardOutcome r = downloadToCard(c.job, c.source, false);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, c.text);
    }
    EXPECT_EQ(std::string(kCardWriteFailedText), "Unable to download waveform data to\nmemory card");
    // The longest waveform is written.
    EXPECT_TRUE(downloadToCard(cardJob(Direction::Download, 5, drive),
                               source(8192, std::vector<uint16_t>(1048576, 0), "longest.wfm"), false)
                    .ok);
}

TEST(MemoryCard, UploadReadsTheFileOfItsOwnRowByTheNameAsTyped) {
    Card card;
    const std::string drive = card.root.string();
    card.put("ARB/WAVES/wave1.WFM", littleEndian({8192, 0, 100, 16383}));
    card.put("ARB/WAVES/WAVE1.WFM", littleEndian({8192, 9}));
    card.put("WAVES.ARB/wave1.WFM", littleEndian({2048, 7, 8}));
    card.put("ARB/WAVES/LongWave.WFM", littleEndian({8192, 5}));
    card.put("ARB/WAVES/ARB.WFM", littleEndian({8192, 6}));
    std::vector<uint16_t> longest(1048577, 5); // the reference word and the most points
    longest[0] = 8192;
    card.put("ARB/WAVES/LONGEST.WFM", littleEndian(longest));
    struct Case {
        int row;
        const char* source;
        std::string name;
        std::vector<uint16_t> words; // the reference word, then the samples
        std::string error;
    } cases[] = {
        {5, "wave1", "wave1", {8192, 0, 100, 16383}, ""},
        {5, "WAVE1", "WAVE1", {8192, 9}, ""},
        {3, "wave1", "wave1", {2048, 7, 8}, ""},
        {5, "LongWaveformName", "LongWave", {8192, 5}, ""},
        {5, "LONGEST", "LONGEST", longest, ""},
        {5, "arb.x", "arb.x", {}, cardBadNameText("arb.x")},
        {5, "../ARB", "../ARB", {}, cardBadNameText("../ARB")},
    };
    for (const Case& c : cases) {
        const CardOutcome r = uploadFromCard(cardJob(Direction::Upload, c.row, drive, c.source));
        EXPECT_EQ(r.ok, c.error.empty()) << c.source;
        EXPECT_EQ(r.error, c.error) << c.source;
        EXPECT_EQ(r.name, c.name);
        std::vector<uint16_t> words;
        if (r.ok) {
            words.push_back(r.samples.reference());
            words.insert(words.end(), r.samples.codes().begin(), r.samples.codes().end());
        }
        EXPECT_EQ(words, c.words) << c.source;
    }
    EXPECT_EQ(cardUploadCaption("QV7351", "wave1"), "QV7351 Mem Card wave1 (Not Stored)");
}

TEST(MemoryCard, UploadRefusesFilesThatAreNoWaveform) {
    Card card;
    const std::string drive = card.root.string();
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"SHORT", littleEndian({2048})},
        {"ODD", littleEndian({2048, 1}) + "x"},
        {"ZERO", littleEndian({0, 1, 2})},
        {"HUGE", littleEndian(std::vector<uint16_t>(1048578, 2048))},
    };
    for (const Case& c : cases) {
        card.put(std::string("ARB/WAVES/") + c.name + ".WFM", c.bytes);
        const CardOutcome r = uploadFromCard(cardJob(Direction::Upload, 5, drive, c.name));
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_EQ(r.error, "Unable to read from\n" +
                               (card.root / "ARB/WAVES" / (std::string(c.name) + ".WFM")).string());
        EXPECT_TRUE(r.samples.empty());
    }
    const CardOutcome missing = uploadFromCard(cardJob(Direction::Upload, 5, drive, "NONE"));
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, cardReadFailedText(missing.path));
}
