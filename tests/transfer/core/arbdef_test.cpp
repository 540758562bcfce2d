#include "transfer/core/arbdef.h"

#include "sim_rig.h"
#include "worker_rig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <thread>

using namespace plotwell;
using namespace plotwell::transfer;
using namespace plotwell::transfer::simrig;
using Kind = TickOutcome::Kind;

namespace {

TransferJob arbJob(Direction d, LinkKind kind, int make = 0, int model = 0,
                   const char* modelText = "QVA3460") {
    TransferJob j;
    j.direction = d;
    j.makeIndex = make;
    j.modelIndex = model;
    j.model = modelText;
    j.typeIndex = kind == LinkKind::Gpib ? ifGpib0 : kind == LinkKind::Usb ? ifUsb : ifFirstSerial;
    j.target = d == Direction::Download ? "" : "WAVE1";
    j.stretchIndex = 1;
    return j;
}

// A download whose Stretch is Yes, run to its end.
TickOutcome stretchedDownload(Rig& rig, LinkKind kind, std::size_t points) {
    FakeStatus status;
    TransferJob job = arbJob(Direction::Download, kind);
    job.stretchIndex = 0;
    auto w = makeArbDefDownload(job, *rig.link, status, window(2048, ramp(points, 40)));
    TickOutcome last;
    run(*w, last);
    return last;
}

const char* kIdentity = "QUORVEX,QVA3460,0,1.23";

} // namespace

// ---- coding and names -------------------------------------------------------------------

TEST(ArbDefCoding, CodesAndValuesInSinglePrecision) {
    struct Case {
        uint16_t reference, w, code;
        int32_t value;
    } cases[] = {
        {2048, 0, 0, -2048},        {2048, 4095, 4095, 2047}, {2048, 1234, 1234, 1234 - 2048},
        {32768, 65535, 4095, 2047}, {32768, 32768, 2048, 0},  {512, 1023, 4092, 2044},
        {512, 0, 0, -2048},         {1, 65535, 4095, 2047},   {1, 16, 1, -2047},
    };
    for (const Case& c : cases) {
        const float scale = arbDefScale(c.reference);
        EXPECT_EQ(arbDefCode(c.w, scale), c.code) << c.reference << " " << c.w;
        EXPECT_EQ(arbDefValue(c.w, workspace::SampleStream::midCodeOf(c.reference), scale), c.value)
            << c.reference << " " << c.w;
    }
    // R = 2000: the float product, truncated, for every stored word of the range.
    const float scale = 2048.0f / 2000.0f;
    for (int w = 0; w < 4000; ++w) {
        ASSERT_EQ(arbDefCode(uint16_t(w), arbDefScale(2000)), uint16_t(std::trunc(float(w) * scale))) << w;
        ASSERT_EQ(arbDefValue(uint16_t(w), 2000, arbDefScale(2000)),
                  int32_t(std::trunc(float(w - 2000) * scale)));
    }
}

TEST(ArbDefCoding, InstrumentNames) {
    EXPECT_EQ(arbDefInstrumentName("", "test.wave.wfm"), "test");
    EXPECT_EQ(arbDefInstrumentName("", "LongWaveformName.wfm"), "LongWave");
    EXPECT_EQ(arbDefInstrumentName("", "plain"), "plain");
    EXPECT_EQ(arbDefInstrumentName("arb1", "x.wfm"), "arb1");
    EXPECT_EQ(arbDefInstrumentName("ABCDEFGHIJ", "x.wfm"), "ABCDEFGH");
}

// ---- downloads on GPIB and USB ----------------------------------------------------------

class ArbDefBlock : public ::testing::TestWithParam<LinkKind> {
protected:
    std::string query() const { return GetParam() == LinkKind::Usb ? "\n*idn?\n" : "*idn?\n"; }
};

TEST_P(ArbDefBlock, BigEndianCodesForEveryReference) {
    struct Case {
        uint16_t reference;
        std::vector<uint16_t> words;
    } cases[] = {
        {2048, {0, 1, 2048, 4094, 4095}}, {32768, {0, 16, 32768, 65534, 65535}},
        {512, {0, 1, 512, 1022, 1023}},   {2000, {0, 1, 999, 2000, 3999}},
        {1, {0, 15, 16, 32768, 65535}},
    };
    for (const Case& c : cases) {
        Rig rig(GetParam(), kIdentity);
        FakeStatus status;
        const TransferJob job = arbJob(Direction::Download, GetParam());
        auto w = makeArbDefDownload(job, *rig.link, status, window(c.reference, c.words));
        TickOutcome last;
        run(*w, last);
        ASSERT_EQ(last.kind, Kind::Finished) << c.reference;
        std::vector<uint16_t> codes;
        for (uint16_t word : c.words)
            codes.push_back(arbDefCode(word, arbDefScale(c.reference)));
        EXPECT_EQ(rig.inst.writes(),
                  (std::vector<std::string>{query(), "ARBDEF wave1,5,#210", bigEndian(codes), "\nlocal\n"}))
            << c.reference;
        ASSERT_TRUE(rig.inst.store("wave1"));
        EXPECT_EQ(rig.inst.store("wave1")->bytes, bigEndian(codes));
        EXPECT_EQ(status.shown, (std::vector<std::pair<std::string, bool>>{
                                    {"Downloading wave1.wfm as wave1", GetParam() != LinkKind::Usb}}));
    }
    // The codes of the extremes, spelled out.
    EXPECT_EQ(arbDefCode(65535, arbDefScale(32768)), 4095);
    EXPECT_EQ(arbDefCode(1023, arbDefScale(512)), 4092);
}

TEST_P(ArbDefBlock, HeaderDigitsFollowTheByteCount) {
    for (std::size_t n : {std::size_t(5), std::size_t(512), std::size_t(1000)}) {
        Rig rig(GetParam(), kIdentity);
        FakeStatus status;
        auto w = makeArbDefDownload(arbJob(Direction::Download, GetParam()), *rig.link, status,
                                    window(2048, ramp(n)));
        TickOutcome last;
        run(*w, last);
        ASSERT_EQ(last.kind, Kind::Finished);
        const std::string header = n == 5 ? "#210" : n == 512 ? "#41024" : "#42000";
        EXPECT_EQ(rig.inst.writes().at(1), "ARBDEF wave1," + std::to_string(n) + "," + header);
        EXPECT_EQ(rig.inst.store("wave1")->bytes, bigEndian(ramp(n)));
    }
}

TEST_P(ArbDefBlock, StretchYesTakesTheInstrumentsLength) {
    // No such waveform yet (0): the selection goes at its own length.
    {
        Rig rig(GetParam(), kIdentity);
        ASSERT_EQ(stretchedDownload(rig, GetParam(), 10).kind, Kind::Finished);
        const auto writes = rig.inst.writes();
        EXPECT_EQ(writes.at(1), "ARBLEN? wave1\n");
        EXPECT_EQ(writes.at(2), "ARBDEF wave1,10,#220");
        if (GetParam() == LinkKind::Gpib) {
            const auto controls = rig.inst.controls();
            EXPECT_NE(std::find(controls.begin(), controls.end(), "ibtmo 1,15"), controls.end());
        }
    }
    // 4096 points there: the selection is stretched to them.
    Rig rig(GetParam(), kIdentity);
    sim::Store existing;
    existing.bytes = bigEndian(std::vector<uint16_t>(4096, 7));
    rig.inst.setStore("wave1", existing);
    ASSERT_EQ(stretchedDownload(rig, GetParam(), 100).kind, Kind::Finished);
    EXPECT_EQ(rig.inst.writes().at(2), "ARBDEF wave1,4096,#48192");
    EXPECT_EQ(rig.inst.store("wave1")->bytes.size(), 8192u);
}

TEST_P(ArbDefBlock, LengthsBeyondTheModelFail) {
    // Stretch No: the whole store counts (65,536 points for the QVA3460).
    for (const std::size_t points : {std::size_t(65536), std::size_t(65537)}) {
        Rig rig(GetParam(), kIdentity);
        FakeStatus status;
        DownloadSource big = window(2048, ramp(points));
        big.selectionEnd = 9;
        auto w =
            makeArbDefDownload(arbJob(Direction::Download, GetParam()), *rig.link, status, std::move(big));
        TickOutcome last;
        const int ticks = run(*w, last);
        EXPECT_EQ(last.kind, points == 65536 ? Kind::Finished : Kind::Failed) << points;
        if (points > 65536) {
            EXPECT_EQ(ticks, 1);
            EXPECT_TRUE(last.notices.empty());
        }
    }
    // Stretch Yes: an instrument that asks for more than the model holds is refused too.
    for (const std::size_t length : {std::size_t(65536), std::size_t(65537)}) {
        Rig rig(GetParam(), kIdentity);
        sim::Store existing;
        existing.values.assign(length, 0);
        rig.inst.setStore("wave1", existing);
        EXPECT_EQ(stretchedDownload(rig, GetParam(), 10).kind,
                  length == 65536 ? Kind::Finished : Kind::Failed)
            << length;
        if (length > 65536) {
            EXPECT_EQ(rig.inst.writes().size(), 2u) << "nothing is defined";
        }
    }
}

TEST_P(ArbDefBlock, CardQueryOfTheQva3420x) {
    // The download weighs the free space against the waveform; the upload, which asks
    // on USB only, stops for a missing card alone.
    struct Case {
        Direction direction;
        const char* reply;
        Kind kind;
        const char* notice;
        std::size_t points = 10;
    } cases[] = {
        {Direction::Download, "-1", Kind::Failed, kNoCardInInstrumentText},
        {Direction::Download, "0", Kind::Failed, kCardFullText},
        {Direction::Download, "-2", Kind::Failed, kCardFullText},
        {Direction::Download, "none", Kind::Failed, kCardFullText},
        {Direction::Download, " 3 MB", Kind::Finished, nullptr},
        // 1,000,000 bytes (the reference word and 499,999 points) fill 1 MB exactly.
        {Direction::Download, "1", Kind::Finished, nullptr, 499999},
        {Direction::Download, "1", Kind::Failed, kCardFullText, 500000},
        {Direction::Upload, "-1", Kind::Failed, kNoCardInInstrumentText},
        {Direction::Upload, "-2", Kind::Finished, nullptr},
        {Direction::Upload, "0", Kind::Finished, nullptr},
        {Direction::Upload, "none", Kind::Finished, nullptr},
    };
    for (const Case& c : cases) {
        Rig rig(GetParam(), "QUORVEX,QVA3420B");
        rig.inst.setCardReply(c.reply);
        sim::Store s;
        s.bytes = bigEndian(ramp(10));
        rig.inst.setStore("WAVE1", s);
        FakeStatus status;
        const TransferJob job = arbJob(c.direction, GetParam(), 0, 3, "QVA3420x");
        auto w = c.direction == Direction::Download
                     ? makeArbDefDownload(job, *rig.link, status, window(2048, ramp(c.points)))
                     : makeArbDataUpload(job, *rig.link, status);
        TickOutcome last;
        run(*w, last);
        const bool asked = c.direction == Direction::Download || GetParam() == LinkKind::Usb;
        EXPECT_EQ(last.kind, asked ? c.kind : Kind::Finished) << c.reply;
        EXPECT_EQ(rig.inst.writes().at(1) == "CF?\n", asked) << c.reply;
        EXPECT_EQ(last.notices,
                  asked && c.notice ? std::vector<std::string>{c.notice} : std::vector<std::string>{})
            << c.reply;
    }
    // The Wavetek 195, row 3 of its make, is not asked.
    Rig rig(GetParam(), "WAVETEK,195");
    FakeStatus status;
    auto w = makeArbDefDownload(arbJob(Direction::Download, GetParam(), 3, 3, "195"), *rig.link, status,
                                window(2048, ramp(10)));
    TickOutcome last;
    run(*w, last);
    EXPECT_EQ(last.kind, Kind::Finished);
    EXPECT_EQ(rig.inst.writes().at(1), "ARBDEF wave1,10,#220");
}

INSTANTIATE_TEST_SUITE_P(Links, ArbDefBlock, ::testing::Values(LinkKind::Gpib, LinkKind::Usb),
                         [](const auto& info) { return info.param == LinkKind::Gpib ? "Gpib" : "Usb"; });

TEST(ArbDefGpib, CancelClearsTheDeviceThenCloses) {
    Rig rig(LinkKind::Gpib, kIdentity);
    FakeStatus status;
    auto w = makeArbDefDownload(arbJob(Direction::Download, LinkKind::Gpib), *rig.link, status,
                                window(2048, ramp(5000)));
    EXPECT_EQ(w->tick().kind, Kind::Running); // identity and definition
    EXPECT_EQ(w->tick().kind, Kind::Running); // 1000 points
    status.cancel = true;
    EXPECT_EQ(w->tick().kind, Kind::Running); // the device is cleared
    EXPECT_EQ(w->tick().kind, Kind::Finished);
    const auto writes = rig.inst.writes();
    ASSERT_EQ(writes.size(), 4u);
    EXPECT_EQ(writes[2].size(), 2000u);
    EXPECT_EQ(writes[3], "\nlocal\n");
    const auto controls = rig.inst.controls();
    EXPECT_EQ(controls.back(), "ibclr 1");
}

TEST(ArbDefUsb, WholeBlockInOneWrite) {
    Rig rig(LinkKind::Usb, kIdentity);
    FakeStatus status;
    auto w = makeArbDefDownload(arbJob(Direction::Download, LinkKind::Usb, 0, 3, "QVA3420x"), *rig.link,
                                status, window(2048, ramp(600000, 1)));
    rig.inst.setIdentity("QUORVEX,QVA3420x");
    TickOutcome last;
    EXPECT_EQ(run(*w, last), 4); // definition, 524,288 points, the rest, closing
    EXPECT_EQ(last.kind, Kind::Finished);
    const auto writes = rig.inst.writes();
    ASSERT_EQ(writes.size(), 6u);
    EXPECT_EQ(writes[3].size(), 1048576u);
    EXPECT_EQ(writes[4].size(), 2u * (600000 - 524288));
}

// ---- RS-232 ---------------------------------------------------------------------------

TEST(ArbDefSerial, CsvValuesWithTheLastBeforeLocal) {
    Rig rig(LinkKind::Serial, kIdentity);
    FakeStatus status;
    auto w = makeArbDefDownload(arbJob(Direction::Download, LinkKind::Serial), *rig.link, status,
                                window(2048, {0, 1, 2048, 4095, 100}));
    TickOutcome last;
    run(*w, last);
    ASSERT_EQ(last.kind, Kind::Finished);
    EXPECT_EQ(serialBytes(rig, "LOCAL\n"), "*idn?\nARBDEFCSV wave1,5,-2048,-2047,0,2047,-1948\nLOCAL\n");
    EXPECT_EQ(rig.inst.store("wave1")->values, (std::vector<long>{-2048, -2047, 0, 2047, -1948}));
    EXPECT_EQ(status.shown.at(0), std::make_pair(std::string("Downloading wave1.wfm as wave1"), true));
}

TEST(ArbDefSerial, CancelSendsOneMoreValueWithLocal) {
    Rig rig(LinkKind::Serial, kIdentity);
    FakeStatus status;
    auto w = makeArbDefDownload(arbJob(Direction::Download, LinkKind::Serial), *rig.link, status,
                                window(2048, ramp(50)));
    EXPECT_EQ(w->tick().kind, Kind::Running);
    EXPECT_EQ(w->tick().kind, Kind::Running); // values 0..19
    status.cancel = true;
    EXPECT_EQ(w->tick().kind, Kind::Running);
    EXPECT_EQ(w->tick().kind, Kind::Finished);
    const std::string sent = serialBytes(rig, "LOCAL\n");
    EXPECT_TRUE(sent.ends_with(",-2029,-2028\nLOCAL\n")) << sent;
    EXPECT_EQ(std::count(sent.begin(), sent.end(), ','), 2 + 20);
}

// ---- uploads --------------------------------------------------------------------------

class ArbDataUploadOn : public ::testing::TestWithParam<LinkKind> {};

TEST_P(ArbDataUploadOn, DecodesIntoSamplesWithReference2048) {
    Rig rig(GetParam(), kIdentity);
    const std::vector<uint16_t> words = {0, 1, 2048, 4095, 300, 17};
    sim::Store s;
    s.bytes = bigEndian(words);
    rig.inst.setStore("WAVE1", s);
    FakeStatus status;
    auto w = makeArbDataUpload(arbJob(Direction::Upload, GetParam()), *rig.link, status);
    TickOutcome last;
    run(*w, last);
    ASSERT_EQ(last.kind, Kind::Finished);
    workspace::SampleStream expected;
    expected.assign(2048, words);
    EXPECT_EQ(*w->uploaded(), expected);
    const std::string data = GetParam() == LinkKind::Serial ? "arbdatacsv? WAVE1\r" : "arbdata? WAVE1\r";
    // USB sends its query and its closing after a line feed of their own.
    const std::vector<std::string> expect =
        GetParam() == LinkKind::Usb
            ? std::vector<std::string>{"", "*idn?", "arblen? WAVE1\r", data, "", "local"}
            : std::vector<std::string>{"*idn?", "arblen? WAVE1\r", data, "local\r"};
    std::vector<std::string> m;
    for (int i = 0; i < 500 && (m = rig.inst.messages()).size() < expect.size(); ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(m, expect);
    EXPECT_EQ(status.shown.at(0),
              std::make_pair(std::string("Uploading from QVA3460  WAVE1"), GetParam() != LinkKind::Usb));
}

TEST_P(ArbDataUploadOn, NoSuchWaveformFails) {
    Rig rig(GetParam(), kIdentity);
    FakeStatus status;
    auto w = makeArbDataUpload(arbJob(Direction::Upload, GetParam()), *rig.link, status);
    TickOutcome last;
    EXPECT_EQ(run(*w, last), 1);
    EXPECT_EQ(last.kind, Kind::Failed);
}

INSTANTIATE_TEST_SUITE_P(Links, ArbDataUploadOn,
                         ::testing::Values(LinkKind::Serial, LinkKind::Gpib, LinkKind::Usb),
                         [](const auto& info) {
                             return info.param == LinkKind::Gpib  ? "Gpib"
                                    : info.param == LinkKind::Usb ? "Usb"
                                                                  : "Serial";
                         });

TEST(ArbDataUploadUsb, AMebipointWaveformTakesTwoReads) {
    Rig rig(LinkKind::Usb, kIdentity);
    sim::Store s;
    const std::vector<uint16_t> words = ramp(1048576, 3);
    s.bytes = bigEndian(words);
    rig.inst.setStore("WAVE1", s);
    FakeStatus status;
    auto w = makeArbDataUpload(arbJob(Direction::Upload, LinkKind::Usb), *rig.link, status);
    TickOutcome last;
    EXPECT_GE(run(*w, last), 3);
    ASSERT_EQ(last.kind, Kind::Finished);
    ASSERT_EQ(w->uploaded()->count(), 1048576);
    EXPECT_TRUE(std::equal(words.begin(), words.end(), w->uploaded()->codes().begin()));
}

// ---- fault switches ---------------------------------------------------------------------

TEST(ArbDefFaults, EverySwitchEndsInAFailure) {
    struct Case {
        const char* name;
        LinkKind kind;
        Direction direction;
        sim::Faults faults;
        bool identity; // fails in the identity check
    };
    auto f = [](auto set) {
        sim::Faults x;
        set(x);
        return x;
    };
    const Case cases[] = {
        {"silent gpib", LinkKind::Gpib, Direction::Download, f([](auto& x) { x.silent = true; }), true},
        {"silent usb", LinkKind::Usb, Direction::Upload, f([](auto& x) { x.silent = true; }), true},
        {"silent serial", LinkKind::Serial, Direction::Download, f([](auto& x) { x.silent = true; }), true},
        {"late serial", LinkKind::Serial, Direction::Upload, f([](auto& x) { x.replyDelay = 2000ms; }), true},
        {"overlong usb", LinkKind::Usb, Direction::Download, f([](auto& x) { x.overlongReply = true; }),
         true},
        {"overlong serial", LinkKind::Serial, Direction::Upload, f([](auto& x) { x.overlongReply = true; }),
         true},
        {"wrong identity", LinkKind::Gpib, Direction::Upload,
         f([](auto& x) { x.wrongIdentity = "FLUKE,271"; }), true},
        {"#0", LinkKind::Gpib, Direction::Upload,
         f([](auto& x) { x.blockHeader = sim::BlockFault::ZeroDigits; }), false},
        {"#4ab12", LinkKind::Usb, Direction::Upload,
         f([](auto& x) { x.blockHeader = sim::BlockFault::NonDigits; }), false},
        {"huge count", LinkKind::Gpib, Direction::Upload,
         f([](auto& x) { x.blockHeader = sim::BlockFault::HugeCount; }), false},
        {"odd count", LinkKind::Usb, Direction::Upload,
         f([](auto& x) { x.blockHeader = sim::BlockFault::OddCount; }), false},
        {"data stop short gpib", LinkKind::Gpib, Direction::Upload, f([](auto& x) { x.blockDataShort = 5; }),
         false},
        {"data stop short usb", LinkKind::Usb, Direction::Upload, f([](auto& x) { x.blockDataShort = 5; }),
         false},
        {"short usb writes", LinkKind::Usb, Direction::Download, f([](auto& x) { x.shortWrites = true; }),
         true},
    };
    for (const Case& c : cases) {
        Rig rig(c.kind, kIdentity);
        sim::Store s;
        s.bytes = bigEndian(ramp(20));
        rig.inst.setStore("WAVE1", s);
        rig.inst.setFaults(c.faults);
        rig.expectSilence();
        FakeStatus status;
        const TransferJob job = arbJob(c.direction, c.kind);
        auto w = c.direction == Direction::Download
                     ? makeArbDefDownload(job, *rig.link, status, window(2048, ramp(20)))
                     : makeArbDataUpload(job, *rig.link, status);
        TickOutcome last;
        const auto begin = std::chrono::steady_clock::now();
        run(*w, last, 100);
        EXPECT_EQ(last.kind, Kind::Failed) << c.name;
        EXPECT_EQ(last.identity.has_value(), c.identity) << c.name;
        EXPECT_LT(std::chrono::steady_clock::now() - begin, 5s) << c.name;
    }
}

// A link that plays back what it is given: reply lines, and bytes whose reads end
// wherever `pieces` say (for USB, inside a word).
class ScriptedLink : public Link {
public:
    explicit ScriptedLink(LinkKind kind = LinkKind::Usb) : kind_(kind) {}
    LinkKind kind() const override { return kind_; }
    bool isOpen() const override { return true; }
    using Link::write;
    IoResult write(const void* data, std::size_t n) override {
        writes.emplace_back(static_cast<const char*>(data), n);
        return {IoStatus::Ok, n};
    }
    IoResult read(void* data, std::size_t max) override {
        std::size_t n = std::min({max, pending.size(), pieces.empty() ? max : pieces.front()});
        if (!pieces.empty())
            pieces.erase(pieces.begin());
        std::copy_n(pending.data(), n, static_cast<char*>(data));
        pending.erase(0, n);
        return {n ? IoStatus::Ok : IoStatus::Timeout, n};
    }
    IoResult readReply(std::string& reply, std::size_t) override {
        reply = replies.front();
        replies.erase(replies.begin());
        return {IoStatus::Ok, reply.size()};
    }
    void close() override {}

    std::vector<std::string> replies;
    std::string pending;
    std::vector<std::size_t> pieces;
    std::vector<std::string> writes;

private:
    LinkKind kind_;
};

TEST(ArbDataUploadUsb, AReadEndingInsideAWordCarriesItsByteOver) {
    ScriptedLink link;
    link.replies = {"QUORVEX,QVA3460\n", "3\n"};
    link.pending = "#16" + bigEndian({0x0102, 0x0304, 0x0506}) + "\n";
    link.pieces = {2, 1, 3, 3, 1};
    FakeStatus status;
    auto w = makeArbDataUpload(arbJob(Direction::Upload, LinkKind::Usb), link, status);
    TickOutcome last;
    EXPECT_EQ(run(*w, last), 3);
    ASSERT_EQ(last.kind, Kind::Finished);
    EXPECT_EQ(std::vector<uint16_t>(w->uploaded()->codes().begin(), w->uploaded()->codes().end()),
              (std::vector<uint16_t>{0x0102, 0x0304, 0x0506}));
    EXPECT_EQ(link.writes.back(), "\nlocal\n");
}

TEST(ArbDataUploadSerial, EachValueIsReadForItsIntegerAndClampedToTheCodes) {
    const std::string longest = std::string(kMaxReply - 2, ' ') + "13";
    struct Case {
        std::string text;
        std::optional<uint16_t> word; // nullopt: the upload fails
    } cases[] = {
        {"13", 2061},          {" 13", 2061},
        {"\t+13", 2061},       {"-0000000013", 2035},
        {"13 V", 2061},        {"13\r", 2061},
        {"-2048", 0},          {"2047", 4095},
        {"2048", 4095},        {"-2049", 0},
        {"99999999999", 4095}, {"-99999999999", 0},
        {longest, 2061},       {" " + longest, std::nullopt},
        {"", std::nullopt},    {" ", std::nullopt},
        {"x13", std::nullopt}, {"-", std::nullopt},
    };
    for (const Case& c : cases) {
        ScriptedLink link(LinkKind::Serial);
        link.replies = {"QUORVEX,QVA3460\n", "1\n"};
        link.pending = c.text + "\n";
        FakeStatus status;
        auto w = makeArbDataUpload(arbJob(Direction::Upload, LinkKind::Serial), link, status);
        TickOutcome last;
        run(*w, last, 10);
        ASSERT_EQ(last.kind, c.word ? Kind::Finished : Kind::Failed) << c.text;
        if (c.word) {
            EXPECT_EQ(std::vector<uint16_t>(w->uploaded()->codes().begin(), w->uploaded()->codes().end()),
                      std::vector<uint16_t>{*c.word})
                << c.text;
            EXPECT_EQ(w->uploaded()->reference(), 2048);
        }
    }
}
