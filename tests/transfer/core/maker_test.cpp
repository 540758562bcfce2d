#include "transfer/core/maker.h"

#include "common/numtext.h"
#include "platform/posix/sleeper.h"

#include "worker_rig.h"

#include <gtest/gtest.h>

using namespace plotwell;
using namespace plotwell::transfer;
using namespace plotwell::transfer::simrig;
using Kind = TickOutcome::Kind;

namespace {

TransferJob makerJob(Direction d, LinkKind kind, int model, const std::string& modelText,
                     std::string target) {
    TransferJob j;
    j.direction = d;
    j.makeIndex = makeQuorvex;
    j.modelIndex = model;
    j.model = modelText;
    j.typeIndex = kind == LinkKind::Gpib ? ifGpib0 : ifFirstSerial;
    j.target = std::move(target);
    j.stretchIndex = 1;
    return j;
}

// Every download and upload row with the text its model combo shows.
struct Row {
    int index;
    const char* model;
};
const Row kDownloadRows[] = {{5, "QV7351"},        {6, "QV6741"},       {7, "QV7351A"},  {8, "QV6741A"},
                             {9, "QV7352A"},       {10, "QV6742A"},     {12, "QVR5242"}, {13, "QVR5162"},
                             {14, "QVR6082/6162"}, {15, "QVR6242/6322"}};

std::string identityOf(const Row& r) {
    const std::string m = r.index == 11 ? "QVS5100" : r.index >= 14 ? "QVR6082" : r.model;
    return "QUORVEX, " + m + ",0,1.02";
}

// What the instrument read: the writes as the program made them over GPIB; over the
// pseudo-terminal one run of bytes, since the port may join them.
std::vector<std::string> sent(Rig& rig, const std::string& end) {
    if (rig.kind == LinkKind::Serial)
        return {serialBytes(rig, end)};
    return rig.inst.writes();
}
std::vector<std::string> expected(Rig& rig, std::vector<std::string> writes) {
    if (rig.kind != LinkKind::Serial)
        return writes;
    std::string all;
    for (const auto& w : writes)
        all += w;
    return {all};
}

// The code of a stored word as the model's row has the generator code it.
uint16_t codeOf(uint16_t w, uint16_t reference, int model) {
    const InstrumentModel& m = instrumentModel(makeQuorvex, model);
    return makerCode(w, makerScale(reference, float(m.codeRange)), m.signedCodes);
}

std::vector<uint16_t> codesOf(const std::vector<uint16_t>& words, uint16_t reference, int model) {
    std::vector<uint16_t> c;
    for (uint16_t w : words)
        c.push_back(codeOf(w, reference, model));
    return c;
}

class MakerLink : public ::testing::TestWithParam<LinkKind> {};

} // namespace

// ---- tables, names, coding --------------------------------------------------------------

TEST(MakerTables, NamesAndTheirRules) {
    EXPECT_EQ(makerInstrumentName("arb4", "sweep.test.wfm"), "sweep");
    EXPECT_EQ(makerInstrumentName("arb1", "LONGNAME1.wfm"), "LONGNAME");
    EXPECT_EQ(makerInstrumentName("user1", "sweep.wfm"), "user1");
    EXPECT_EQ(makerInstrumentName("VERYLONGSTORE", "x.wfm"), "VERYLONG");
    EXPECT_EQ(makerInstrumentName("pattern2", "bits.pat"), "pattern2");
    EXPECT_EQ(makerInstrumentName("pattern2", "bits.pat", true), "bits");
    EXPECT_TRUE(fitsCommand("RAMP_1"));
    for (const char* bad : {"a,b", "a;b", "a\nb", "a\tb"})
        EXPECT_FALSE(fitsCommand(bad)) << bad;
    EXPECT_EQ(safeInstrumentName("a/b\\c:d"), "a_b_c_d");
}

TEST(MakerTables, CodesWithBit15InvertedForTheSignedModels) {
    struct Case {
        uint16_t reference, w;
        int model;
        uint16_t code;
    } cases[] = {
        {32768, 0, 12, 0x8000},
        {32768, 65535, 13, 0x7FFF},
        {32768, 32768, 14, 0x0000},
        {2048, 4095, 5, 16380},
        {2048, 0, 5, 0},
        {8192, 16383, 10, 16383},
        {1, 32768, 5, 8192},
        {2048, 2048, 12, 0x0000},
        {32768, 0, 15, 0x8000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(codeOf(c.w, c.reference, c.model), c.code) << c.reference << " " << c.w;
}

// ---- downloads --------------------------------------------------------------------------

TEST_P(MakerLink, DownloadTranscriptForEveryModel) {
    const std::vector<uint16_t> words = {0, 1, 2048, 4000, 4095};
    for (const Row& r : kDownloadRows) {
        Rig rig(GetParam(), identityOf(r), sim::Family::Maker);
        FakeStatus status;
        TransferJob job = makerJob(Direction::Download, GetParam(), r.index, r.model, "arb2");
        job.interpolate = r.index % 2 == 0;
        auto w = makeMakerDownload(job, *rig.link, status, window(2048, words, "sweep.test.wfm"));
        TickOutcome last;
        ASSERT_EQ(run(*w, last), 3) << r.model;
        ASSERT_EQ(last.kind, Kind::Finished) << r.model;
        const std::string data = bigEndian(codesOf(words, 2048, r.index));
        const std::string def = std::string("arbdef arb2,sweep,") + (job.interpolate ? "ON" : "OFF") + "\n";
        if (GetParam() == LinkKind::Gpib)
            EXPECT_EQ(sent(rig, ""), expected(rig, {"*idn?\n", def, "arb2 #210", data})) << r.model;
        else
            EXPECT_EQ(sent(rig, "local\n"), expected(rig, {"*idn?\n", def, "arb2 #210", data, "local\n"}))
                << r.model;
        EXPECT_EQ(rig.inst.store("arb2")->bytes, data);
        EXPECT_EQ(w->instrumentName(), "sweep");
    }
}

TEST_P(MakerLink, StretchYesAsksTheStoreLength) {
    struct Case {
        long stored; // points the store holds before
        const char* header;
        std::size_t points;
    } cases[] = {{1000, "arb1 #42000", 1000}, {0, "arb1 #41024", 512}};
    for (const Case& c : cases) {
        Rig rig(GetParam(), "QUORVEX, QV7351,0,1", sim::Family::Maker);
        if (c.stored > 0)
            rig.inst.setStore("arb1", {std::string(std::size_t(2 * c.stored), '\0'), {}, "OLD", "OFF"});
        FakeStatus status;
        TransferJob job = makerJob(Direction::Download, GetParam(), 5, "QV7351", "arb1");
        job.stretchIndex = 0;
        auto w = makeMakerDownload(job, *rig.link, status, window(2048, ramp(512, 8), "s.wfm"));
        TickOutcome last;
        run(*w, last);
        ASSERT_EQ(last.kind, Kind::Finished);
        std::vector<std::string> msgs = rig.inst.messages();
        std::vector<std::string> want = {"*idn?", "arb1DEF?", "arbdef arb1,s,OFF", "BLOCK"};
        // Over GPIB the definition goes first.
        if (GetParam() == LinkKind::Gpib)
            std::swap(want[1], want[2]);
        if (GetParam() == LinkKind::Serial)
            want.push_back("local");
        for (int i = 0; i < 100 && msgs.size() < want.size(); ++i) {
            std::this_thread::sleep_for(10ms);
            msgs = rig.inst.messages();
        }
        std::string all;
        for (const auto& wr : rig.inst.writes())
            all += wr;
        EXPECT_NE(all.find(c.header), std::string::npos) << c.header;
        for (auto& m : msgs)
            if (m.starts_with("BLOCK "))
                m = "BLOCK";
        EXPECT_EQ(msgs, want) << c.stored;
        EXPECT_EQ(rig.inst.store("arb1")->bytes.size(), 2 * c.points);
        if (GetParam() == LinkKind::Gpib && c.stored == 0) {
            EXPECT_TRUE(rig.inst.controls().back().ends_with(",15")) << rig.inst.controls().back();
        }
    }
}

TEST_P(MakerLink, StretchNoCountsTheWholeStream) {
    struct Case {
        const char* store;
        std::size_t points;
        bool ok;
    } cases[] = {{"arb2", 70000, false}, {"arb1", 70000, true}, {"arb2", 65536, true}};
    for (const Case& c : cases) {
        Rig rig(GetParam(), "QUORVEX, QV7351,0,1", sim::Family::Maker);
        FakeStatus status;
        DownloadSource src = window(2048, std::vector<uint16_t>(c.points, 2048), "big.wfm");
        src.selectionEnd = 99;
        auto w = makeMakerDownload(makerJob(Direction::Download, GetParam(), 5, "QV7351", c.store), *rig.link,
                                   status, std::move(src));
        TickOutcome last;
        run(*w, last);
        EXPECT_EQ(last.kind, c.ok ? Kind::Finished : Kind::Failed) << c.store << " " << c.points;
    }
}

TEST_P(MakerLink, SlicesPerTickAndCancel) {
    Rig rig(GetParam(), "QUORVEX, QVR5242,0,1", sim::Family::Maker);
    FakeStatus status;
    auto w = makeMakerDownload(makerJob(Direction::Download, GetParam(), 12, "QVR5242", "arb1"), *rig.link,
                               status, window(32768, std::vector<uint16_t>(8001, 32768)));
    TickOutcome last;
    // Set-up, slices of 4000 (RS-232) or 1000 (GPIB) points, then the closing tick.
    EXPECT_EQ(run(*w, last), GetParam() == LinkKind::Serial ? 1 + 3 + 1 : 1 + 9 + 1);

    Rig again(GetParam(), "QUORVEX, QVR5242,0,1", sim::Family::Maker);
    auto c = makeMakerDownload(makerJob(Direction::Download, GetParam(), 12, "QVR5242", "arb1"), *again.link,
                               status, window(32768, std::vector<uint16_t>(8001, 32768)));
    ASSERT_EQ(c->tick().kind, Kind::Running);
    ASSERT_EQ(c->tick().kind, Kind::Running);
    status.cancel = true;
    EXPECT_EQ(run(*c, last), 2); // the cancelling tick, then the normal end
    EXPECT_EQ(last.kind, Kind::Finished);
    if (GetParam() == LinkKind::Gpib) {
        EXPECT_EQ(again.gpib->calls("ibclr"), 1);
        EXPECT_EQ(again.inst.writes().size(), 4u); // no "local" over GPIB
    } else {
        EXPECT_TRUE(serialBytes(again, "local\n").ends_with("local\n"));
    }
}

TEST_P(MakerLink, NamesThatWouldBreakACommandAreRefused) {
    for (const char* store : {"ar,b1", "arb1;*rst"}) {
        Rig rig(GetParam(), "QUORVEX, QV7351,0,1", sim::Family::Maker);
        FakeStatus status;
        auto w = makeMakerDownload(makerJob(Direction::Download, GetParam(), 5, "QV7351", store), *rig.link,
                                   status, window(2048, ramp(4)));
        const TickOutcome o = w->tick();
        EXPECT_EQ(o.kind, Kind::Failed);
        ASSERT_EQ(o.notices.size(), 1u);
        EXPECT_EQ(o.notices[0], common::cformat(kBadNameText, store));
    }
}

// ---- uploads ----------------------------------------------------------------------------

TEST_P(MakerLink, UploadTranscriptNameAndInversion) {
    const std::vector<uint16_t> wire = {0x0000, 0x8000, 0x7FFF, 0x1234, 0xFFFF};
    const Row rows[] = {{7, "QV7351A"}, {11, "QVS51xx"}, {13, "QVR5162"}, {14, "QVR6082/6162"}};
    for (const Row& r : rows) {
        Rig rig(GetParam(), identityOf(r), sim::Family::Maker);
        rig.inst.setStore("arb2", {bigEndian(wire), {}, "RAMP1", "OFF"});
        FakeStatus status;
        auto w = makeMakerUpload(makerJob(Direction::Upload, GetParam(), r.index, r.model, "arb2"), *rig.link,
                                 status);
        TickOutcome last;
        ASSERT_EQ(run(*w, last), 2) << r.model;
        ASSERT_EQ(last.kind, Kind::Finished) << r.model;
        std::vector<std::string> want = {"*idn?\n", "arb2DEF?\n", "arb2?\n"};
        if (GetParam() == LinkKind::Gpib)
            want.push_back("local\r\n");
        EXPECT_EQ(sent(rig, "arb2?\n"), expected(rig, want)) << r.model;
        EXPECT_EQ(w->instrumentName(), "RAMP1");
        const bool invert = r.index >= 11;
        std::vector<uint16_t> words = {uint16_t(invert ? 32768 : 8192)};
        for (uint16_t c : wire)
            words.push_back(invert ? uint16_t(c ^ 0x8000) : c);
        const workspace::SampleStream& got = *w->uploaded();
        EXPECT_EQ(got.reference(), words[0]) << r.model;
        EXPECT_EQ(std::vector<uint16_t>(got.codes().begin(), got.codes().end()),
                  std::vector<uint16_t>(words.begin() + 1, words.end()))
            << r.model;
        EXPECT_EQ(status.shown.at(0).first, std::string("Uploading from ") + r.model + "  arb2");
    }
}

TEST_P(MakerLink, UploadSlicesAndBadBlocks) {
    Rig rig(GetParam(), "QUORVEX, QV7351,0,1", sim::Family::Maker);
    rig.inst.setStore("arb1", {bigEndian(ramp(2001)), {}, "a/b:c", "OFF"});
    FakeStatus status;
    auto w = makeMakerUpload(makerJob(Direction::Upload, GetParam(), 5, "QV7351", "arb1"), *rig.link, status);
    TickOutcome last;
    // 1000 points a tick over RS-232, 100 over GPIB.
    EXPECT_EQ(run(*w, last), GetParam() == LinkKind::Serial ? 1 + 3 : 1 + 21);
    EXPECT_EQ(w->instrumentName(), "a_b_c");

    for (sim::BlockFault f :
         {sim::BlockFault::OddCount, sim::BlockFault::HugeCount, sim::BlockFault::ZeroDigits}) {
        Rig bad(GetParam(), "QUORVEX, QV7351,0,1", sim::Family::Maker);
        bad.inst.setStore("arb1", {bigEndian(ramp(10)), {}, "W", "OFF"});
        sim::Faults faults;
        faults.blockHeader = f;
        bad.inst.setFaults(faults);
        bad.expectSilence();
        auto u =
            makeMakerUpload(makerJob(Direction::Upload, GetParam(), 5, "QV7351", "arb1"), *bad.link, status);
        EXPECT_EQ(run(*u, last), 1);
        EXPECT_EQ(last.kind, Kind::Failed);
    }
    // An empty store announces no bytes: nothing to show.
    Rig empty(GetParam(), "QUORVEX, QV7351,0,1", sim::Family::Maker);
    empty.inst.setStore("arb1", {std::string(), {}, "W", "OFF"});
    auto u =
        makeMakerUpload(makerJob(Direction::Upload, GetParam(), 5, "QV7351", "arb1"), *empty.link, status);
    EXPECT_EQ(run(*u, last), 1);
    EXPECT_EQ(last.kind, Kind::Failed);
}

INSTANTIATE_TEST_SUITE_P(Links, MakerLink, ::testing::Values(LinkKind::Serial, LinkKind::Gpib),
                         [](const auto& info) { return info.param == LinkKind::Serial ? "Serial" : "Gpib"; });

// ---- the LAN transport ------------------------------------------------------------------

namespace {

// One list of what the worker did, in order: the size of each write over the link and each
// pause, which the clock takes without waiting.
struct Trace {
    std::vector<std::string> steps;
};

class TracingClock : public platform::Clock {
public:
    explicit TracingClock(Trace& t) : trace_(t) { platform::setClock(this); }
    ~TracingClock() override { platform::setClock(nullptr); }
    TimePoint now() const override { return std::chrono::steady_clock::now(); }
    void sleep(std::chrono::milliseconds ms) override {
        trace_.steps.push_back("pause " + std::to_string(ms.count()));
    }

private:
    Trace& trace_;
};

class TracingLink : public Link {
public:
    TracingLink(Link& inner, Trace& t) : Link(inner.deadlines()), inner_(inner), trace_(t) {}
    using Link::write;
    LinkKind kind() const override { return inner_.kind(); }
    bool isOpen() const override { return inner_.isOpen(); }
    IoResult write(const void* data, std::size_t n) override {
        trace_.steps.push_back("write " + std::to_string(n));
        return inner_.write(data, n);
    }
    IoResult read(void* data, std::size_t max) override { return inner_.read(data, max); }
    IoResult readReply(std::string& reply, std::size_t n) override { return inner_.readReply(reply, n); }
    void close() override { inner_.close(); }

private:
    Link& inner_;
    Trace& trace_;
};

// A LAN download in one tick against the simulator, its writes and pauses traced.
struct LanRun {
    LanRun(const std::string& identity, sim::Family family)
        : clock(trace), rig(LinkKind::Tcp, identity, family), link(*rig.link, trace) {}
    TickOutcome download(TransferJob job, DownloadSource source) {
        job.typeIndex = ifLan;
        return makeMakerDownload(job, link, status, std::move(source))->tick();
    }
    Trace trace;
    TracingClock clock;
    Rig rig;
    TracingLink link;
    FakeStatus status;
};

} // namespace

TEST(MakerLan, DownloadInChunksOf64000PointsWithTheirPauses) {
    LanRun lan("QUORVEX, QV7351,0,1", sim::Family::Maker);
    // The whole transfer in one tick.
    EXPECT_EQ(lan.download(makerJob(Direction::Download, LinkKind::Tcp, 5, "QV7351", "arb1"),
                           window(2048, std::vector<uint16_t>(130000, 2048), "w.wfm"))
                  .kind,
              Kind::Finished);
    EXPECT_EQ(lan.trace.steps, (std::vector<std::string>{
                                   "write 6", "write 18", "pause 10", "write 13", "pause 10", "pause 1000",
                                   "write 128000", "pause 500", "pause 1000", "write 128000", "pause 500",
                                   "pause 1000", "write 4000", "pause 500", "write 6"}));
    Rig& rig = lan.rig;
    EXPECT_EQ(lan.status.shown.at(0).second, false); // no Cancel over the LAN
    for (int i = 0; i < 200 && !(rig.inst.store("arb1") && rig.inst.store("arb1")->bytes.size() == 260000);
         ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(rig.inst.store("arb1")->bytes.size(), 260000u);
}

TEST(MakerLan, TooLargeWithStretchNoFailsAfterTheIdentityQuery) {
    Rig rig(LinkKind::Tcp, "QUORVEX, QV7351,0,1", sim::Family::Maker);
    FakeStatus status;
    auto w = makeMakerDownload(makerJob(Direction::Download, LinkKind::Tcp, 5, "QV7351", "arb1"), *rig.link,
                               status, window(2048, std::vector<uint16_t>(150000, 2048)));
    EXPECT_EQ(w->tick().kind, Kind::Failed);
    EXPECT_EQ(rig.inst.writes(), std::vector<std::string>{"*idn?\n"});
}

TEST(MakerLan, UploadReadsTheBlockWholeAndFailsOnASilentPeer) {
    // An upload takes any waveform the program holds, whatever the model's download limit
    // (8192 here): one point more is refused at the header.
    FakeStatus status;
    for (const int32_t points : {workspace::kMaxPoints, workspace::kMaxPoints + 1}) {
        Rig big(LinkKind::Tcp, "QUORVEX, QVR5162,0,1", sim::Family::Maker);
        big.inst.setStore("arb3", {bigEndian(ramp(std::size_t(points), 3)), {}, "BIG", "OFF"});
        auto w = makeMakerUpload(makerJob(Direction::Upload, LinkKind::Tcp, 13, "QVR5162", "arb3"), *big.link,
                                 status);
        const bool fits = points <= workspace::kMaxPoints;
        ASSERT_EQ(w->tick().kind, fits ? Kind::Finished : Kind::Failed) << points;
        if (fits) {
            EXPECT_EQ(w->uploaded()->code(std::size_t(points - 1)),
                      uint16_t(((points - 1) * 3) & 0xFFFF) ^ 0x8000);
        }
    }

    Rig ok(LinkKind::Tcp, "QUORVEX, QVR5162,0,1", sim::Family::Maker);
    ok.inst.setStore("arb3", {bigEndian(ramp(8192, 7)), {}, "R", "OFF"}); // all the model holds
    auto u =
        makeMakerUpload(makerJob(Direction::Upload, LinkKind::Tcp, 13, "QVR5162", "arb3"), *ok.link, status);
    EXPECT_EQ(u->tick().kind, Kind::Finished);
    EXPECT_EQ(u->uploaded()->count(), 8192);
    EXPECT_EQ(u->uploaded()->code(8191), uint16_t((8191 * 7) & 0xFFFF) ^ 0x8000);
    EXPECT_EQ(ok.inst.writes(), (std::vector<std::string>{"*idn?\n", "arb3DEF?\n", "arb3?\n"}));

    // The block header is awaited as a reply is, not with the data wait.
    Rig late(LinkKind::Tcp, "QUORVEX, QVR5162,0,1", sim::Family::Maker);
    late.inst.setStore("arb3", {bigEndian(ramp(10)), {}, "R", "OFF"});
    sim::Faults slow;
    slow.replyDelay = 2 * kSilenceWait;
    late.inst.setFaults(slow);
    LinkDeadlines waits = late.link->deadlines();
    waits.tcpData = kSilenceWait;
    late.link->setDeadlines(waits);
    auto l = makeMakerUpload(makerJob(Direction::Upload, LinkKind::Tcp, 13, "QVR5162", "arb3"), *late.link,
                             status);
    EXPECT_EQ(l->tick().kind, Kind::Finished);

    Rig cut(LinkKind::Tcp, "QUORVEX, QVR5162,0,1", sim::Family::Maker);
    cut.inst.setStore("arb3", {bigEndian(ramp(1000)), {}, "R", "OFF"});
    sim::Faults f;
    f.blockDataShort = 501;
    cut.inst.setFaults(f);
    cut.expectSilence();
    auto s =
        makeMakerUpload(makerJob(Direction::Upload, LinkKind::Tcp, 13, "QVR5162", "arb3"), *cut.link, status);
    EXPECT_EQ(s->tick().kind, Kind::Failed);
}

namespace {
// Waits until the instrument has hung up.
void waitForHangUp(const sim::Instrument& inst) {
    for (int i = 0; i < 500; ++i) {
        const auto c = inst.controls();
        if (std::find(c.begin(), c.end(), "drop") != c.end())
            return;
        std::this_thread::sleep_for(10ms);
    }
}
// The LAN pauses taken at once, but for the one after the data, which lasts until the
// instrument has hung up.
class HangUpClock : public platform::Clock {
public:
    explicit HangUpClock(const sim::Instrument& inst) : inst_(inst) { platform::setClock(this); }
    ~HangUpClock() override { platform::setClock(nullptr); }
    TimePoint now() const override { return std::chrono::steady_clock::now(); }
    void sleep(std::chrono::milliseconds ms) override {
        if (ms.count() == 500)
            waitForHangUp(inst_);
    }

private:
    const sim::Instrument& inst_;
};
} // namespace

// An instrument that hangs up half-way through the block has not taken the waveform: where
// the link can tell (a closed connection, a hung-up line), the download fails.
TEST(MakerDownloadEnd, AnInstrumentThatHangsUpFailsTheDownload) {
    for (LinkKind kind : {LinkKind::Tcp, LinkKind::Serial}) {
        Rig rig(kind, "QUORVEX, QV7351,0,1", sim::Family::Maker);
        sim::Faults f;
        f.dropAfterReceivedBytes = 35 + 500; // "*idn?\n", "arbdef arb2,w,OFF\n", "arb2 #41000", half the data
        rig.inst.setFaults(f);
        HangUpClock clock(rig.inst);
        FakeStatus status;
        auto w = makeMakerDownload(makerJob(Direction::Download, kind, 5, "QV7351", "arb2"), *rig.link,
                                   status, window(2048, ramp(500), "w.wfm"));
        if (kind == LinkKind::Serial) {
            // The definition, then the data; the closing tick comes after the hang-up.
            ASSERT_EQ(w->tick().kind, Kind::Running);
            ASSERT_EQ(w->tick().kind, Kind::Running);
            waitForHangUp(rig.inst);
        }
        EXPECT_EQ(w->tick().kind, Kind::Failed) << int(kind);
    }
}

TEST(MakerLan, ARefusedConnectionGivesNoLink) {
    sim::RefusingPort port;
    EXPECT_FALSE(TcpLink::connect("127.0.0.1", port.portText(), rigDeadlines(kReplyWait)));
}

// The pauses in real time: the transfer takes them and little more.
TEST(MakerLan, RealPausesHoldTheirLength) {
    Rig rig(LinkKind::Tcp, "QUORVEX, QV7351,0,1", sim::Family::Maker);
    FakeStatus status;
    auto w = makeMakerDownload(makerJob(Direction::Download, LinkKind::Tcp, 5, "QV7351", "arb2"), *rig.link,
                               status, window(2048, ramp(1000)));
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(w->tick().kind, Kind::Finished);
    const auto took = std::chrono::steady_clock::now() - t0;
    EXPECT_GE(took, 1520ms); // 10 + 10 + 1000 + 500
}

// ---- the pattern generator ----------------------------------------------------------------

TEST_P(MakerLink, PatternNoiseAndArbHeaders) {
    struct Case {
        const char* store;
        bool bits;
        int stretch;
        std::size_t points;
        std::vector<std::string> commands; // what comes before the data; "" when refused
    } cases[] = {
        {"pattern2", true, 0, 16, {"PTTNDEF pattern2,bits\n", "PTTN2 #232"}},
        {"pattern1", true, 1, 10000, {"PTTNDEF pattern1,bits\n", "PTTN1 #520000"}},
        {"noise", false, 0, 5000, {"noiseDEF?\n", "NSEARBDEF bits,OFF\n", "NSEARB #44096"}},
        {"noise", false, 1, 5000, {"NSEARBDEF bits,OFF\n", "NSEARB #44096"}}, // RS-232 refuses: see below
        {"arb3", false, 0, 100, {"arb3DEF?\n", "arbdef arb3,bits,OFF\n", "arb3 #3200"}},
        {"arb3", false, 0, 5000, {}},
        {"user1", false, 1, 10, {"arbdef user1,user1,OFF\n", "user1 #220"}},
    };
    for (const Case& c : cases) {
        Rig rig(GetParam(), "QUORVEX, QVS5100,0,1", sim::Family::Pattern);
        FakeStatus status;
        TransferJob job = makerJob(Direction::Download, GetParam(), 11, "QVS51xx", c.store);
        job.stretchIndex = c.stretch;
        DownloadSource src = window(32768, std::vector<uint16_t>(c.points, 0xFFFF), "bits.pat");
        src.bitPattern = c.bits;
        auto w = makeMakerDownload(job, *rig.link, status, std::move(src));
        TickOutcome last;
        run(*w, last);
        std::vector<std::string> commands = c.commands;
        // Noise over GPIB is sized by the instrument: no query; RS-232 counts the whole
        // stream with Stretch No, and 5000 points are too many.
        if (GetParam() == LinkKind::Gpib && std::string(c.store) == "noise" && c.stretch == 0)
            commands.erase(commands.begin());
        if (GetParam() == LinkKind::Serial && std::string(c.store) == "noise" && c.stretch == 1)
            commands.clear();
        if (commands.empty()) {
            EXPECT_EQ(last.kind, Kind::Failed) << c.store << " " << c.points;
            continue;
        }
        ASSERT_EQ(last.kind, Kind::Finished) << c.store << " " << c.points;
        const std::size_t sentPoints = std::string(c.store) == "noise" ? 2048 : c.points;
        std::vector<std::string> want = {"*idn?\n"};
        want.insert(want.end(), commands.begin(), commands.end());
        want.push_back(std::string(2 * sentPoints, '\0'));
        for (std::size_t i = 0; i < sentPoints; ++i)
            want.back()[2 * i] = '\x7F', want.back()[2 * i + 1] = '\xFF';
        if (GetParam() == LinkKind::Gpib) {
            // One write per 1000 points.
            std::string data = want.back();
            want.pop_back();
            for (std::size_t at = 0; at < data.size(); at += 2000)
                want.push_back(data.substr(at, 2000));
        } else {
            want.push_back("local\n");
        }
        EXPECT_EQ(sent(rig, "local\n"), expected(rig, want)) << c.store << " " << c.points;
    }
}

// With Stretch Yes the pattern generator is asked its store's length, but the selection
// goes at its own length whatever the answer; an empty store's 0 still lengthens the GPIB
// time-out.
TEST_P(MakerLink, PatternGeneratorKeepsItsLengthWhateverTheStoreAnswers) {
    struct Case {
        const char* reply;
        bool longTimeout;
    } cases[] = {
        {"W,OFF,-5\n", false}, {"W,OFF,1000\n", false}, {"W,OFF,99999999999\n", false}, {"W,OFF,0\n", true}};
    for (const Case& c : cases) {
        Rig rig(GetParam(), "QUORVEX, QVS5100,0,1", sim::Family::Pattern);
        sim::Faults f;
        f.defReply = c.reply;
        rig.inst.setFaults(f);
        FakeStatus status;
        TransferJob job = makerJob(Direction::Download, GetParam(), 11, "QVS51xx", "arb2");
        job.stretchIndex = 0;
        auto w = makeMakerDownload(job, *rig.link, status, window(32768, ramp(100), "w.wfm"));
        TickOutcome last;
        run(*w, last);
        EXPECT_EQ(last.kind, Kind::Finished) << c.reply;
        std::string all;
        for (const auto& wr : sent(rig, "local\n"))
            all += wr;
        EXPECT_NE(all.find("arb2 #3200"), std::string::npos) << c.reply;
        if (GetParam() == LinkKind::Gpib) {
            EXPECT_EQ(rig.gpib->calls("ibtmo"), c.longTimeout ? 1 : 0) << c.reply;
        }
    }
}

TEST(MakerTables, PatternCodesAlwaysInvertBit15) {
    // A waveform stored with R 2048: its mid word 2048 goes out as 0x00 0x00.
    EXPECT_EQ(codeOf(2048, 2048, 11), 0x0000);
    EXPECT_EQ(codeOf(0, 32768, 11), 0x8000);
}

TEST(MakerLan, PatternDownloadPauses) {
    LanRun lan("QUORVEX, QVS5100,0,1", sim::Family::Pattern);
    DownloadSource src = window(32768, std::vector<uint16_t>(8, 0), "p.pat");
    src.bitPattern = true;
    EXPECT_EQ(
        lan.download(makerJob(Direction::Download, LinkKind::Tcp, 11, "QVS51xx", "pattern3"), std::move(src))
            .kind,
        Kind::Finished);
    EXPECT_EQ(lan.trace.steps,
              (std::vector<std::string>{"write 6", "write 19", "pause 100", "write 10", "pause 100",
                                        "pause 3000", "write 16", "pause 500", "pause 100", "write 6"}));
}
