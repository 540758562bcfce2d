#include "transfer/core/scope.h"

#include "sim_rig.h"
#include "worker_rig.h"

#include <gtest/gtest.h>

using namespace plotwell;
using namespace plotwell::transfer;
using namespace plotwell::transfer::simrig;
using Kind = TickOutcome::Kind;

namespace {

const char* kModels[] = {"TDS210", "TDS220", "TDS310", "TDS320", "TDS340", "TDS350",
                         "TDS360", "TDS380", "TDS4xx", "TDS5xx", "TDS6xx", "TDS7xx"};

TransferJob scopeJob(Direction d, LinkKind kind, int model, const char* target, int recordLength = 0) {
    TransferJob j;
    j.direction = d;
    j.makeIndex = makeTektronix;
    j.modelIndex = model;
    j.model = kModels[model];
    j.typeIndex = kind == LinkKind::Gpib ? ifGpib0 : ifFirstSerial;
    j.target = target;
    j.stretchIndex = 0;
    j.recordLength = recordLength ? recordLength : downloadState(makeTektronix, model).scopeRecordLength;
    return j;
}

std::string expectedOf(int model) {
    return expectedIdentity(scopeJob(Direction::Download, LinkKind::Gpib, model, "REF1"), LinkKind::Gpib);
}

std::string identityOf(int model) {
    return expectedOf(model) + ",0,CF:91.1CT FV:v1.00";
}

std::string bytesOf(std::size_t n, char first, char middle, char last) {
    std::string b(n, middle);
    b.front() = first;
    b.back() = last;
    return b;
}

class ScopeLinks : public ::testing::TestWithParam<LinkKind> {};

} // namespace

TEST(ScopeCoding, BytesPerModelRow) {
    struct Case {
        int model;
        uint16_t reference, w;
        int byte;
    } cases[] = {
        {0, 2048, 4095, 255}, {0, 2048, 0, 0},      {1, 2048, 2048, 128},  {1, 1, 65535, 255},
        {2, 2048, 0, 20},     {2, 2048, 2048, 137}, {2, 2048, 4095, 254},  {7, 512, 1023, 254},
        {8, 2048, 4095, 255}, {8, 2048, 0, 20},     {11, 2048, 2048, 148}, {0, 2048, 9000, 255},
    };
    for (const Case& c : cases)
        EXPECT_EQ(scopeByte(c.w, c.reference, instrumentModel(makeTektronix, c.model)), c.byte)
            << c.model << " " << c.w;
}

// The commands and the block of each model group: TDS210 (2500 points), TDS310 (1000),
// TDS4xx and TDS7xx, the first and the last that allocate (the size dialog's 5000 and 500,
// after "allocate").
TEST_P(ScopeLinks, DownloadCommandsAndCurvePerModel) {
    const bool serial = GetParam() == LinkKind::Serial;
    struct Case {
        int model;
        int recordLength;
        std::vector<std::string> commands;
        char first, middle, last;
    } cases[] = {
        {0, 0, {}, 0, char(128), char(255)},
        {2, 0, {}, 20, char(137), char(254)},
        {8, 5000, {"allocate:waveform:REF2 5000\r\n"}, 20, char(148), char(255)},
        {11, 500, {"allocate:waveform:REF1 500\r\n"}, 20, char(148), char(255)},
    };
    for (const Case& c : cases) {
        const int n =
            c.recordLength ? c.recordLength : downloadState(makeTektronix, c.model).scopeRecordLength;
        Rig rig(GetParam(), identityOf(c.model), sim::Family::Scope);
        FakeStatus status;
        // A window of the record length: its first, middle and last rows.
        std::vector<uint16_t> codes(std::size_t(n), 2048);
        codes.front() = 0;
        codes.back() = 4095;
        const char* dest = c.model == 8 ? "REF2" : c.model == 0 ? "REFA" : "REF1";
        auto w = makeScopeDownload(scopeJob(Direction::Download, GetParam(), c.model, dest, c.recordLength),
                                   *rig.link, status, window(2048, codes, "pulse.wfm"));
        TickOutcome last;
        const int ticks = run(*w, last);
        ASSERT_EQ(last.kind, Kind::Finished) << c.model;
        EXPECT_EQ(ticks, 1 + (serial ? (n + 19) / 20 : (n + 999) / 1000) + 1) << c.model;
        EXPECT_EQ(status.shown, (std::vector<std::pair<std::string, bool>>{
                                    {std::string("Downloading pulse.wfm to ") + dest, true}}));

        std::string expected = "*idn?\n";
        for (const std::string& command : c.commands)
            expected += command;
        expected +=
            std::string(serial ? "header off;" : "") + "data:dest " + dest + ";encdg srp;width 1;start 1\r\n";
        expected += "curve #" + std::to_string(std::to_string(n).size()) + std::to_string(n);
        const std::string data = bytesOf(std::size_t(n), c.first, c.middle, c.last);
        EXPECT_EQ(serialBytes(rig, data + "\r\n"), expected + data + "\r\n") << c.model;
        if (!serial) { // a thousand points a write
            EXPECT_EQ(rig.inst.writes().size(), 2 + c.commands.size() + 1 + std::size_t(n + 999) / 1000 + 1);
        }
        ASSERT_TRUE(rig.inst.store(dest)) << c.model;
        EXPECT_EQ(rig.inst.store(dest)->bytes, data) << c.model;
    }
}

TEST_P(ScopeLinks, StretchNoSendsTheSelectionAtItsOwnLength) {
    Rig rig(GetParam(), identityOf(1), sim::Family::Scope);
    FakeStatus status;
    TransferJob job = scopeJob(Direction::Download, GetParam(), 1, "REFB");
    job.stretchIndex = 1;
    auto w =
        makeScopeDownload(job, *rig.link, status, window(2048, {0, 1024, 2048, 3072, 4095}, "pulse.wfm"));
    TickOutcome last;
    run(*w, last);
    ASSERT_EQ(last.kind, Kind::Finished);
    EXPECT_NE(serialBytes(rig, "\xFF\r\n").find("start 1\r\ncurve #15"), std::string::npos);
    EXPECT_EQ(rig.inst.store("REFB")->bytes, std::string("\x00\x40\x80\xC0\xFF", 5));
}

// "stop N" for the models with a fixed record, "data snap" for the larger ones, whose
// point count comes from the block header.
TEST_P(ScopeLinks, UploadSourceFormsAndTheBlock) {
    struct Case {
        int model;
        std::size_t stored, received;
        std::string source;
    } cases[] = {
        {1, 3000, 2500, "header off;data:source CH1;encdg srp;width 1;start 1;stop 2500\r\n"},
        {3, 1000, 1000, "header off;data:source CH2;encdg srp;width 1;start 1;stop 1000\r\n"},
        {8, 15000, 15000, "header off;data:source CH1;encdg srp;width 1;data snap\r\n"},
    };
    for (const Case& c : cases) {
        Rig rig(GetParam(), identityOf(c.model), sim::Family::Scope);
        const char* source = c.model == 3 ? "CH2" : "CH1";
        sim::Store store;
        store.bytes = bytesOf(c.stored, 0, char(128), char(255));
        rig.inst.setStore(source, store);
        FakeStatus status;
        auto w = makeScopeUpload(scopeJob(Direction::Upload, GetParam(), c.model, source), *rig.link, status);
        TickOutcome last;
        EXPECT_EQ(run(*w, last), 1 + int((c.received + 99) / 100)) << c.model;
        ASSERT_EQ(last.kind, Kind::Finished) << c.model;
        EXPECT_EQ(serialBytes(rig, "curve?\r\n"), "*idn?\n" + c.source + "curve?\r\n") << c.model;
        EXPECT_EQ(status.shown,
                  (std::vector<std::pair<std::string, bool>>{
                      {std::string("Uploading from ") + kModels[c.model] + "  " + source, true}}));
        const workspace::SampleStream* s = w->uploaded();
        EXPECT_EQ(s->reference(), 128);
        ASSERT_EQ(s->count(), int32_t(c.received)) << c.model;
        EXPECT_EQ(s->codes()[0], 0);
        EXPECT_EQ(s->codes()[1], 128);
        EXPECT_EQ(s->codes()[c.received - 1], c.received == c.stored ? 255 : 128);
    }
}

TEST_P(ScopeLinks, TheCurvesLineFeedIsReadSoTheNextIdentityPasses) {
    Rig rig(GetParam(), identityOf(0), sim::Family::Scope);
    sim::Store store;
    store.bytes = bytesOf(2500, 1, 2, 3);
    rig.inst.setStore("CH1", store);
    FakeStatus status;
    auto w = makeScopeUpload(scopeJob(Direction::Upload, GetParam(), 0, "CH1"), *rig.link, status);
    TickOutcome last;
    run(*w, last);
    ASSERT_EQ(last.kind, Kind::Finished);
    EXPECT_EQ(rig.inst.ready(), 0u);
    EXPECT_EQ(rig.check(expectedOf(0)).outcome, IdentityCheck::Outcome::Pass);
}

TEST_P(ScopeLinks, BadOrEmptyBlocksFailTheUpload) {
    for (const sim::BlockFault fault : {sim::BlockFault::None, sim::BlockFault::ZeroDigits,
                                        sim::BlockFault::NonDigits, sim::BlockFault::HugeCount}) {
        Rig rig(GetParam(), identityOf(8), sim::Family::Scope);
        sim::Faults f;
        f.blockHeader = fault;
        rig.inst.setFaults(f);
        sim::Store store;
        store.bytes = fault == sim::BlockFault::None ? std::string() : std::string(10, 'x');
        rig.inst.setStore("CH1", store);
        rig.expectSilence();
        FakeStatus status;
        auto w = makeScopeUpload(scopeJob(Direction::Upload, GetParam(), 8, "CH1"), *rig.link, status);
        TickOutcome last;
        EXPECT_EQ(run(*w, last), 1) << int(fault);
        EXPECT_EQ(last.kind, Kind::Failed) << int(fault);
    }
}

INSTANTIATE_TEST_SUITE_P(Links, ScopeLinks, ::testing::Values(LinkKind::Serial, LinkKind::Gpib),
                         [](const auto& info) { return info.param == LinkKind::Serial ? "Serial" : "Gpib"; });

TEST(ScopeCancel, ClearsTheDeviceThenCloses) {
    Rig rig(LinkKind::Gpib, identityOf(2), sim::Family::Scope);
    FakeStatus status;
    auto w = makeScopeDownload(scopeJob(Direction::Download, LinkKind::Gpib, 2, "REF2"), *rig.link, status,
                               window(2048, std::vector<uint16_t>(1000, 0), "pulse.wfm"));
    EXPECT_EQ(w->tick().kind, Kind::Running);
    status.cancel = true;
    TickOutcome last;
    EXPECT_EQ(run(*w, last), 2);
    EXPECT_EQ(last.kind, Kind::Finished);
    EXPECT_EQ(rig.inst.writes().back(), "\r\n");
    EXPECT_EQ(rig.inst.writes().size(), 4u); // query, destination, curve header, closing
    EXPECT_EQ(rig.inst.controls().back(), "ibclr 1");
}
