#include "transfer/core/numbered_store.h"

#include "sim_rig.h"
#include "worker_rig.h"

#include <gtest/gtest.h>

using namespace plotwell;
using namespace plotwell::transfer;
using namespace plotwell::transfer::simrig;
using Kind = TickOutcome::Kind;

namespace {

const char* kIdentity = "QUORVEX,QV3030,0,2.01";

TransferJob storeJob(Direction d, LinkKind kind, const char* target) {
    TransferJob j;
    j.direction = d;
    j.makeIndex = makeQuorvex;
    j.modelIndex = 1;
    j.model = "QV3030/A";
    j.typeIndex = kind == LinkKind::Gpib ? ifGpib0 : ifFirstSerial;
    j.target = target;
    return j;
}

// 1024 words whose values are -512 .. 511 with the reference 2048.
std::vector<uint16_t> fullRange() {
    std::vector<uint16_t> v(kStorePoints);
    for (int i = 0; i < kStorePoints; ++i)
        v[std::size_t(i)] = uint16_t(4 * i);
    return v;
}

std::vector<long> valueRange() {
    std::vector<long> v;
    for (long i = -512; i < 512; ++i)
        v.push_back(i);
    return v;
}

class StoreLinks : public ::testing::TestWithParam<LinkKind> {};

} // namespace

TEST(StoreCoding, TenBitValuesAndWords) {
    struct Case {
        uint16_t reference, w;
        int32_t value;
    } cases[] = {
        {2048, 0, -512},     {2048, 4095, 511}, {2048, 2048, 0}, {2048, 2047, 0},
        {2048, 2043, -1},    {512, 1023, 511},  {1, 65535, 511}, {1, 0, -512},
        {32768, 65535, 511}, {2048, 8000, 511}, // beyond the reference's range: clipped
    };
    for (const Case& c : cases)
        EXPECT_EQ(storeValue(c.w, c.reference), c.value) << c.reference << " " << c.w;
    const std::pair<long, uint16_t> words[] = {{-512, 0}, {511, 1023}, {0, 512}, {600, 1023}, {-900, 0}};
    for (const auto& [value, word] : words)
        EXPECT_EQ(storeWord(value), word) << value;
}

TEST_P(StoreLinks, DownloadSendsSetarbValuesAndTheSaveLine) {
    Rig rig(GetParam(), kIdentity, sim::Family::NumberedStore);
    FakeStatus status;
    auto w = makeStoreDownload(storeJob(Direction::Download, GetParam(), "3"), *rig.link, status,
                               window(2048, fullRange(), "ramp.wfm"));
    TickOutcome last;
    // RS-232: 51 slices of 20 and one of 3; GPIB one slice of 1000 and one of 23.
    EXPECT_EQ(run(*w, last), GetParam() == LinkKind::Serial ? 1 + 52 + 1 : 1 + 2 + 1);
    ASSERT_EQ(last.kind, Kind::Finished);
    EXPECT_EQ(w->instrumentName(), "ramp");
    EXPECT_EQ(status.shown,
              (std::vector<std::pair<std::string, bool>>{{"Downloading ramp.wfm as 3:ramp", true}}));

    std::string expected = "*idn?\nSETARB ";
    for (long v : valueRange())
        expected += std::to_string(v) + (v < 511 ? "," : "");
    expected += "\nARBSAV 3,ramp\n";
    EXPECT_EQ(serialBytes(rig, "ARBSAV 3,ramp\n"), expected);
    // Every value is a write of its own; the last one travels with the save command.
    if (GetParam() == LinkKind::Gpib) {
        const auto writes = rig.inst.writes();
        ASSERT_EQ(writes.size(), 1u + 1 + 1023 + 1);
        EXPECT_EQ(writes[2], "-512,");
        EXPECT_EQ(writes.back(), "511\nARBSAV 3,ramp\n");
    }
    ASSERT_TRUE(rig.inst.store("3"));
    EXPECT_EQ(rig.inst.store("3")->values, valueRange());
    EXPECT_EQ(rig.inst.store("3")->name, "ramp");
}

TEST_P(StoreLinks, AnySelectionBecomes1024Values) {
    for (std::size_t n : {std::size_t(100), std::size_t(5000)}) {
        Rig rig(GetParam(), kIdentity, sim::Family::NumberedStore);
        FakeStatus status;
        auto w = makeStoreDownload(storeJob(Direction::Download, GetParam(), "1"), *rig.link, status,
                                   window(2048, std::vector<uint16_t>(n, 3072), "ramp.wfm"));
        TickOutcome last;
        run(*w, last);
        ASSERT_EQ(last.kind, Kind::Finished);
        serialBytes(rig, "ARBSAV 1,ramp\n");
        ASSERT_TRUE(rig.inst.store("1")) << n;
        EXPECT_EQ(rig.inst.store("1")->values, std::vector<long>(kStorePoints, 256)) << n;
    }
}

// Downloads go to stores 1 to 5, uploads come from 1 to 21; a number beyond them fails
// after the identity query, an upload's with the store-number message.
TEST_P(StoreLinks, StoreNumbersAreCheckedAfterTheIdentityQuery) {
    struct Case {
        Direction direction;
        std::string store;
        bool accepted;
    } cases[] = {
        {Direction::Download, "5", true},  {Direction::Download, "6", false},
        {Direction::Download, "0", false}, {Direction::Upload, "1", true},
        {Direction::Upload, "21", true},   {Direction::Upload, "22", false},
        {Direction::Upload, "0", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.store);
        Rig rig(GetParam(), kIdentity, sim::Family::NumberedStore);
        FakeStatus status;
        const TransferJob job = storeJob(c.direction, GetParam(), c.store.c_str());
        auto w = c.direction == Direction::Download
                     ? makeStoreDownload(job, *rig.link, status, window(2048, fullRange(), "ramp.wfm"))
                     : makeStoreUpload(job, *rig.link, status);
        const TickOutcome o = w->tick();
        EXPECT_EQ(o.kind, c.accepted ? Kind::Running : Kind::Failed);
        EXPECT_TRUE(o.notices.empty());
        const std::vector<std::string> illegal{"Illegal QV3030 arb store number: " + c.store +
                                               "\nMust be between 1 and 21"};
        const bool message = c.direction == Direction::Upload && !c.accepted;
        EXPECT_EQ(o.followUps, message ? illegal : std::vector<std::string>{});
        if (!c.accepted) {
            EXPECT_EQ(rig.inst.writes(), std::vector<std::string>{"*idn?\n"});
        }
    }
}

TEST_P(StoreLinks, NamesThatWouldBreakTheSaveLineAreRefused) {
    for (const char* file : {"a,b.wfm", "x;y.wfm"}) {
        Rig rig(GetParam(), kIdentity, sim::Family::NumberedStore);
        FakeStatus status;
        auto w = makeStoreDownload(storeJob(Direction::Download, GetParam(), "2"), *rig.link, status,
                                   window(2048, fullRange(), file));
        const TickOutcome o = w->tick();
        EXPECT_EQ(o.kind, Kind::Failed);
        ASSERT_EQ(o.notices.size(), 1u) << file;
        EXPECT_NE(o.notices[0].find("must not contain ',' or ';'"), std::string::npos);
        EXPECT_EQ(rig.inst.writes(), std::vector<std::string>{"*idn?\n"}) << file;
    }
}

TEST_P(StoreLinks, UploadDropsTheHeadAndStoresValuesAboveTheMiddle) {
    Rig rig(GetParam(), kIdentity, sim::Family::NumberedStore);
    sim::Store store;
    store.values = valueRange();
    store.values[1] = 600; // beyond the 10 bits: clamped
    store.values[2] = -900;
    rig.inst.setStore("4", store);
    FakeStatus status;
    auto w = makeStoreUpload(storeJob(Direction::Upload, GetParam(), "4"), *rig.link, status);
    TickOutcome last;
    EXPECT_EQ(run(*w, last), 1 + 103); // ten values a tick
    ASSERT_EQ(last.kind, Kind::Finished);
    EXPECT_EQ(rig.inst.writes(), (std::vector<std::string>{"*idn?\n", "arbrcl 4;arb?\r\n"}));
    EXPECT_EQ(status.shown,
              (std::vector<std::pair<std::string, bool>>{{"Uploading from QV3030/A  4", true}}));
    const workspace::SampleStream* s = w->uploaded();
    ASSERT_TRUE(s);
    EXPECT_EQ(s->reference(), 512);
    ASSERT_EQ(s->count(), kStorePoints);
    std::vector<uint16_t> expected(kStorePoints);
    for (int i = 0; i < kStorePoints; ++i)
        expected[std::size_t(i)] = uint16_t(i);
    expected[1] = 1023;
    expected[2] = 0;
    EXPECT_TRUE(std::equal(s->codes().begin(), s->codes().end(), expected.begin()));
}

// Eight characters are the longest value text read; a ninth fails the upload.
TEST_P(StoreLinks, OverlongValueTextFails) {
    for (const long value : {12345678L, 123456789L}) {
        Rig rig(GetParam(), kIdentity, sim::Family::NumberedStore);
        sim::Store store;
        store.values = valueRange();
        store.values[1] = value;
        rig.inst.setStore("5", store);
        FakeStatus status;
        auto w = makeStoreUpload(storeJob(Direction::Upload, GetParam(), "5"), *rig.link, status);
        TickOutcome last;
        run(*w, last);
        ASSERT_EQ(last.kind, value == 12345678L ? Kind::Finished : Kind::Failed) << value;
        if (last.kind == Kind::Finished) {
            EXPECT_EQ(w->uploaded()->codes()[1], 1023);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Links, StoreLinks, ::testing::Values(LinkKind::Serial, LinkKind::Gpib),
                         [](const auto& info) { return info.param == LinkKind::Serial ? "Serial" : "Gpib"; });

// A cancel still saves: the next word goes out with ARBSAV. GPIB clears the device first.
TEST(StoreCancel, TheSaveLineStillFollows) {
    Rig rig(LinkKind::Gpib, kIdentity, sim::Family::NumberedStore);
    FakeStatus status;
    auto w = makeStoreDownload(storeJob(Direction::Download, LinkKind::Gpib, "2"), *rig.link, status,
                               window(2048, fullRange(), "ramp.wfm"));
    EXPECT_EQ(w->tick().kind, Kind::Running);
    status.cancel = true;
    TickOutcome last;
    EXPECT_EQ(run(*w, last), 2); // the cancel, then the save
    EXPECT_EQ(last.kind, Kind::Finished);
    EXPECT_EQ(rig.inst.writes(), (std::vector<std::string>{"*idn?\n", "SETARB ", "-512\nARBSAV 2,ramp\n"}));
    EXPECT_EQ(rig.inst.controls().back(), "ibclr 1");
}
