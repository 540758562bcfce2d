#include "sim_rig.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <poll.h>

using namespace plotwell;
using namespace plotwell::transfer;
using plotwell::common::BlockHeaderStatus;
using namespace std::chrono_literals;
using Outcome = IdentityCheck::Outcome;
using namespace plotwell::transfer::simrig;

// ---- the cut and the comparison --------------------------------------------------------

TEST(IdentityCompare, CutAndWildcards) {
    struct Case {
        const char* expected;
        const char* reply;
        bool pass;
    } cases[] = {
        {"QUORVEX,QVA347x", "QUORVEX,QVA3472", true},
        {"QUORVEX,QVA347x", "QUORVEX,QVA3472,0,2.0\n", true},
        {"QUORVEX,QVA347x", "QUORVEX,QVA347", true}, // the trailing 'x' is not compared
        {"QUORVEX,QVA347x", "QUORVEX,QVA3460", false},
        {"QUORVEX,QVA3460", "QUORVEX,QVA3460,0,1.23", true},
        {"QUORVEX,QVA3460", "QUORVEX,QVA346", false},
        {"QUORVEX,QVA3460", "", false},
        {"QUORVEX,QVA3460", "quorvex,qva3460", false},
        {"QUORVEX,QVA3460", "QUORVEY,QVA3460", false}, // a capital X is no wildcard
        {"TEKTRONIX,TDS 4xx", "TEKTRONIX,TDS 420A,0,CF:91.1CT", true},
        {"TEKTRONIX,TDS 7xx", "TEKTRONIX,TDS 784D", true},
        {"TEKTRONIX,TDS 4xx", "TEKTRONIX,TDS 520A", false},
        {"TEKTRONIX,TDS 220", "TEKTRONIX,TDS 220,0,CF:91.1CT", true},
        {"QUORVEX, QVR6", "QUORVEX, QVR6242/6322", true},
        {"FLUKE,29x", "FLUKE,294", true},
        {"WAVETEK,39", "WAVETEK,39A", true},
        {"abx,Q", "aby,Q", false}, // no wildcard before the model part
    };
    for (const Case& c : cases) {
        std::string expected = c.expected;
        const std::string cut = cutIdentity(c.reply, expected);
        EXPECT_EQ(CompareIdentity(cut, expected) == 0, c.pass) << c.expected << " / " << c.reply;
    }
}

TEST(IdentityCompare, TheCutChangesTheExpectedText) {
    std::string e = "QUORVEX,QVA347x";
    EXPECT_EQ(cutIdentity("QUORVEX,QVA3472,1", e), "QUORVEX,QVA347");
    EXPECT_EQ(e, "QUORVEX,QVA347");
    e = "QUORVEX,QVA3460";
    EXPECT_EQ(cutIdentity("QUORV", e), "QUORV");
    EXPECT_EQ(e, "QUORVEX,QVA3460");
    EXPECT_EQ(CompareIdentity("same", "same"), 0);
    EXPECT_NE(CompareIdentity("same", "Same"), 0);
}

// ---- the check on each link against simulated instruments ------------------------------

namespace {
class IdentityOnLink : public ::testing::TestWithParam<LinkKind> {
protected:
    // How the reply of this link is kept: with its line feed on GPIB and USB.
    std::string asRead(const std::string& line) const {
        return GetParam() == LinkKind::Tcp || GetParam() == LinkKind::Serial ? line : line + "\n";
    }
};

} // namespace

TEST_P(IdentityOnLink, PassSendsTheQueryOfTheLink) {
    Rig rig(GetParam(), "QUORVEX,QVA3460,0,1.23");
    const IdentityCheck c = rig.check("QUORVEX,QVA3460");
    EXPECT_EQ(c.outcome, Outcome::Pass);
    EXPECT_EQ(c.reply, asRead("QUORVEX,QVA3460,0,1.23"));
    const auto writes = rig.inst.writes();
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.front(), GetParam() == LinkKind::Usb ? "\n*idn?\n" : "*idn?\n");
}

// A serial line may still hold what an earlier transfer left unread; that is no reply.
TEST(IdentityOnSerial, InputLeftFromBeforeIsDropped) {
    Rig rig(LinkKind::Serial, "QUORVEX,QVA3460");
    ASSERT_TRUE(rig.link->write("CF?\n").ok()); // its answer is left unread
    pollfd p{static_cast<SerialLink&>(*rig.link).port().fd(), POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 5000), 1);
    EXPECT_EQ(rig.check("QUORVEX,QVA3460").outcome, Outcome::Pass);
}

TEST_P(IdentityOnLink, WildcardsLongAndShortReplies) {
    struct Case {
        const char* identity;
        const char* expected;
        Outcome outcome;
    } cases[] = {
        {"TEKTRONIX,TDS 420A,0,CF:91.1CT", "TEKTRONIX,TDS 4xx", Outcome::Pass},
        {"QUORVEX,QVA3472", "QUORVEX,QVA347x", Outcome::Pass},
        {"QUORVEX,QVA3460,0,1.23,and,a,long,tail", "QUORVEX,QVA3460", Outcome::Pass},
        {"QUORVEX,QVA34", "QUORVEX,QVA3460", Outcome::Mismatch},
    };
    for (const Case& k : cases) {
        Rig rig(GetParam(), k.identity);
        EXPECT_EQ(rig.check(k.expected).outcome, k.outcome) << k.identity;
    }
}

TEST_P(IdentityOnLink, MismatchKeepsTheReplyAsRead) {
    Rig rig(GetParam(), "FLUKE,271");
    const IdentityCheck c = rig.check("QUORVEX,QVA347x");
    EXPECT_EQ(c.outcome, Outcome::Mismatch);
    EXPECT_EQ(c.reply, asRead("FLUKE,271"));
    EXPECT_EQ(c.expected, "QUORVEX,QVA347x");
    EXPECT_EQ(identityMismatchText(c.reply, c.expected), "The instrument reports itself as\n" +
                                                             asRead("FLUKE,271") +
                                                             "\nbut the expected type is\nQUORVEX,QVA347x");
}

TEST_P(IdentityOnLink, SkipStillAsksAndReads) {
    {
        Rig rig(GetParam(), "SOMETHING,ELSE");
        EXPECT_EQ(rig.check("QUORVEX,QVA3460", true).outcome, Outcome::Skipped);
        EXPECT_EQ(rig.inst.messages().back(), "*idn?");
    }
    Rig rig(GetParam(), "QUORVEX,QVA3460");
    sim::Faults f;
    f.silent = true;
    rig.inst.setFaults(f);
    rig.expectSilence();
    // A silent instrument still fails, except on the LAN, whose reply simply ends.
    const IdentityCheck c = rig.check("QUORVEX,QVA3460", true);
    EXPECT_EQ(c.outcome, GetParam() == LinkKind::Tcp ? Outcome::Skipped : Outcome::ReadFailed);
}

TEST_P(IdentityOnLink, EveryFaultEndsInAFailureWithoutHanging) {
    struct Case {
        const char* name;
        sim::Faults faults;
    };
    std::vector<Case> cases;
    sim::Faults f;
    f.silent = true;
    cases.push_back({"silent", f});
    f = {};
    f.replyDelay = std::chrono::hours(1);
    cases.push_back({"late", f});
    f = {};
    f.overlongReply = true;
    cases.push_back({"overlong", f});
    f = {};
    f.wrongIdentity = "QUORVEX,QVA3420x";
    cases.push_back({"wrong", f});
    f = {};
    f.dropAfterReplyBytes = 4;
    cases.push_back({"dropped midway", f});
    f = {};
    f.dropAfterReplyBytes = 0;
    cases.push_back({"dropped at once", f});

    for (const Case& k : cases) {
        Rig rig(GetParam(), "QUORVEX,QVA3460");
        rig.inst.setFaults(k.faults);
        if (k.faults.silent || k.faults.replyDelay > 0ms || k.faults.dropAfterReplyBytes >= 0)
            rig.expectSilence();
        const IdentityCheck c = rig.check("QUORVEX,QVA3460");
        EXPECT_TRUE(c.failed()) << k.name;
        const std::string name = k.name;
        switch (GetParam()) {
        case LinkKind::Gpib:
            if (name == "overlong") {
                // One read of 100 bytes: the instrument's babble is what it reports.
                EXPECT_EQ(c.outcome, Outcome::Mismatch);
                EXPECT_EQ(c.reply, std::string(100, 'A'));
            } else if (name == "wrong" || name == "dropped midway") {
                EXPECT_EQ(c.outcome, Outcome::Mismatch) << k.name;
            } else {
                EXPECT_EQ(c.outcome, Outcome::ReadFailed) << k.name;
                EXPECT_STREQ(c.io.function, "ibrd");
                EXPECT_EQ(c.io.code, name.rfind("dropped", 0) == 0 ? sim::kEnol : sim::kEabo) << k.name;
            }
            break;
        case LinkKind::Usb:
            if (name == "wrong") {
                EXPECT_EQ(c.outcome, Outcome::Mismatch);
            } else {
                EXPECT_EQ(c.outcome, Outcome::ReadFailed) << k.name;
                if (name == "overlong") {
                    EXPECT_EQ(c.io.status, IoStatus::Overflow);
                } else if (name.rfind("dropped", 0) == 0) {
                    EXPECT_STREQ(c.io.function, "AWG_Read");
                    EXPECT_EQ(c.io.code, -5);
                } else {
                    EXPECT_EQ(c.io.status, IoStatus::Timeout) << k.name;
                }
            }
            break;
        case LinkKind::Tcp:
            if (name == "overlong") {
                EXPECT_EQ(c.outcome, Outcome::ReadFailed);
                EXPECT_EQ(c.io.status, IoStatus::Overflow);
            } else {
                // The reply ends with what has come; what has come does not match.
                EXPECT_EQ(c.outcome, Outcome::Mismatch) << k.name;
            }
            break;
        case LinkKind::Serial:
            if (name == "wrong") {
                EXPECT_EQ(c.outcome, Outcome::Mismatch);
            } else {
                EXPECT_EQ(c.outcome, Outcome::ReadFailed) << k.name;
                // A hung-up line ends the read at once or at its time-out, by the port's reading.
                if (name == "overlong") {
                    EXPECT_EQ(c.io.status, IoStatus::Overflow);
                } else if (name.rfind("dropped", 0) != 0) {
                    EXPECT_EQ(c.io.status, IoStatus::Timeout) << k.name;
                }
            }
            break;
        }
    }
}

TEST_P(IdentityOnLink, FailedQueryWrite) {
    if (GetParam() == LinkKind::Tcp || GetParam() == LinkKind::Serial)
        GTEST_SKIP() << "a stream write fails only once the peer is gone";
    Rig rig(GetParam(), "QUORVEX,QVA3460");
    if (rig.gpib)
        rig.gpib->failNext("ibwrt", sim::kEnol);
    else {
        sim::Faults f;
        f.shortWrites = true;
        rig.inst.setFaults(f);
    }
    const IdentityCheck c = rig.check("QUORVEX,QVA3460");
    EXPECT_EQ(c.outcome, Outcome::WriteFailed);
    EXPECT_STREQ(c.io.function, GetParam() == LinkKind::Gpib ? "ibwrt" : "AWG_Write");
    EXPECT_EQ(c.io.code, GetParam() == LinkKind::Gpib ? sim::kEnol : -7);
}

INSTANTIATE_TEST_SUITE_P(Links, IdentityOnLink,
                         ::testing::Values(LinkKind::Serial, LinkKind::Gpib, LinkKind::Usb, LinkKind::Tcp),
                         [](const auto& info) {
                             switch (info.param) {
                             case LinkKind::Gpib:
                                 return "Gpib";
                             case LinkKind::Usb:
                                 return "Usb";
                             case LinkKind::Tcp:
                                 return "Tcp";
                             default:
                                 return "Serial";
                             }
                         });

TEST(TcpLinkConnect, RefusedPortAndBadPortTextGiveNoLink) {
    const LinkDeadlines waits = rigDeadlines(kReplyWait);
    sim::RefusingPort refusing;
    EXPECT_FALSE(TcpLink::connect("127.0.0.1", refusing.portText(), waits));
    for (const char* bad : {"", "0", "65536", "92x1", "-5"})
        EXPECT_FALSE(TcpLink::connect("127.0.0.1", bad, waits)) << bad;
    EXPECT_FALSE(TcpLink::connect("", "9221", waits));
}

// Each byte of a reply line has its own wait, and the whole line a deadline of its own:
// an instrument that trickles its reply just inside the byte wait fails at the line's
// deadline instead of holding the window for minutes.
TEST(TcpLinkReply, ATrickledReplyFailsAtTheWholeReplyDeadline) {
    struct Case {
        std::chrono::milliseconds whole;
        Outcome outcome;
    } cases[] = {
        {5000ms, Outcome::Pass},      // 16 bytes at 20 ms come well within it
        {150ms, Outcome::ReadFailed}, // they cannot all come within it
    };
    for (const Case& k : cases) {
        sim::Instrument inst(sim::Family::Maker, "QUORVEX,QVA3460");
        sim::Faults f;
        f.byteInterval = 20ms;
        inst.setFaults(f);
        sim::TcpAdapter server(inst);
        LinkDeadlines waits = rigDeadlines(kReplyWait);
        waits.tcpReply = k.whole;
        auto link = TcpLink::connect("127.0.0.1", server.portText(), waits);
        ASSERT_TRUE(link);
        std::string expected = "QUORVEX,QVA3460";
        const IdentityCheck c = checkIdentity(*link, expected, false);
        EXPECT_EQ(c.outcome, k.outcome) << k.whole.count();
        if (k.outcome == Outcome::ReadFailed) {
            EXPECT_EQ(c.io.status, IoStatus::Timeout);
            EXPECT_LT(c.reply.size(), expected.size());
        }
    }
}

TEST(TcpLinkWrite, WriteToAClosedPeerFailsWithoutSignal) {
    sim::Instrument inst(sim::Family::Maker, "QUORVEX, QV7351A");
    auto server = std::make_unique<sim::TcpAdapter>(inst);
    auto link = TcpLink::connect("127.0.0.1", server->portText(), rigDeadlines(kReplyWait));
    ASSERT_TRUE(link);
    server.reset(); // the instrument goes away
    const std::string big(1 << 20, 'x');
    IoResult r;
    for (int i = 0; i < 8 && r.ok(); ++i)
        r = link->write(big.data(), big.size());
    EXPECT_FALSE(r.ok()); // and no SIGPIPE ended the test
}

// ---- upload blocks through each link, with the block fault switches ---------------------

TEST_P(IdentityOnLink, UploadBlocksAndTheirFaults) {
    const std::string data = sim::wordsToBytes({0x3FFC, 0x0000, 0x1234});
    struct Case {
        const char* name;
        sim::BlockFault header;
        long shortAfter;
        long dropAfter;
        BlockHeaderStatus status; // of the header
        bool dataOk;
    } cases[] = {
        {"good", sim::BlockFault::None, -1, -1, BlockHeaderStatus::Ok, true},
        {"#0", sim::BlockFault::ZeroDigits, -1, -1, BlockHeaderStatus::BadDigits, false},
        {"non-digits", sim::BlockFault::NonDigits, -1, -1, BlockHeaderStatus::BadDigits, false},
        {"huge", sim::BlockFault::HugeCount, -1, -1, BlockHeaderStatus::TooLarge, false},
        {"odd", sim::BlockFault::OddCount, -1, -1, BlockHeaderStatus::NotWhole, false},
        {"short data", sim::BlockFault::None, 3, -1, BlockHeaderStatus::Ok, false},
        {"dropped", sim::BlockFault::None, -1, 7, BlockHeaderStatus::Ok, false},
    };
    for (const Case& k : cases) {
        Rig rig(GetParam(), "QUORVEX, QV7351A", sim::Family::Maker);
        rig.inst.setStore("arb1", {data, {}, "RAMP1", "ON"});
        sim::Faults f;
        f.blockHeader = k.header;
        f.blockDataShort = k.shortAfter;
        f.dropAfterReplyBytes = k.dropAfter;
        rig.inst.setFaults(f);
        if (k.dropAfter >= 0)
            rig.expectSilence(); // a cut line may keep even the header
        ASSERT_TRUE(rig.link->write(std::string_view("arb1?\n")).ok());
        const BlockRead b = readBlockHeader(*rig.link, 2 * 131072, 2);
        if (k.shortAfter >= 0)
            rig.expectSilence(); // the header comes, the rest of the data does not
        if (k.status != BlockHeaderStatus::Ok) {
            EXPECT_TRUE(b.io.ok()) << k.name;
            EXPECT_EQ(b.header.status, k.status) << k.name;
            continue;
        }
        if (!k.dataOk && !b.ok())
            continue; // a hung-up serial line loses what it had not delivered, header included
        ASSERT_TRUE(b.ok()) << k.name;
        EXPECT_EQ(b.header.count, data.size());
        std::string got(b.header.count, '\0');
        const IoResult r = readExact(*rig.link, got.data(), got.size());
        EXPECT_EQ(r.ok(), k.dataOk) << k.name;
        if (k.dataOk) {
            EXPECT_EQ(got, data);
        }
    }
}
