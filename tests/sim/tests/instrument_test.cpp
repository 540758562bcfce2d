#include "sim/adapters.h"
#include "sim/instrument.h"

#include <gtest/gtest.h>

#include "platform/posix/serial_port.h"

#include <arpa/inet.h>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace plotwell::sim;
using namespace std::chrono_literals;

TEST(SimInstrument, AnswersIdentityAndRecordsTheTranscript) {
    Instrument inst(Family::ArbDef, "QUORVEX,QVA3460,0,1.23");
    inst.receive("\n*idn?\n");
    EXPECT_EQ(inst.take(1000), "QUORVEX,QVA3460,0,1.23\n");
    EXPECT_EQ(inst.writes(), std::vector<std::string>{"\n*idn?\n"});
    EXPECT_EQ(inst.messages(), (std::vector<std::string>{"", "*idn?"}));
}

TEST(SimInstrument, ArbDefStoresBlocksAndCsvAndAnswersUploads) {
    Instrument inst(Family::ArbDef, "QUORVEX,QVA3460");
    inst.receive("ARBDEF WAVE1,2,#14");
    inst.receive(wordsToBytes({0x0123, 0x0FFF}));
    inst.receive("\nlocal\n");
    ASSERT_TRUE(inst.store("WAVE1"));
    EXPECT_EQ(bytesToWords(inst.store("WAVE1")->bytes), (std::vector<uint16_t>{0x0123, 0x0FFF}));
    inst.receive("ARBLEN? WAVE1\n");
    EXPECT_EQ(inst.take(100), "2\n");
    inst.receive("arbdata? WAVE1\r\n");
    EXPECT_EQ(inst.take(100), "#14" + wordsToBytes({0x0123, 0x0FFF}) + "\n");
    inst.receive("arbdatacsv? WAVE1\r\n");
    EXPECT_EQ(inst.take(100), "-1757,2047\n");
    inst.receive("ARBDEFCSV W2,2,-2048,5\nLOCAL\n");
    EXPECT_EQ(inst.store("W2")->values, (std::vector<long>{-2048, 5}));
    inst.receive("CF?\n");
    EXPECT_EQ(inst.take(100), "100\n");
}

TEST(SimInstrument, ArbDefBlockWithWrongCountIsFlagged) {
    Instrument inst(Family::ArbDef, "X");
    inst.receive("ARBDEF WAVE1,3,#14abcd\n");
    const auto m = inst.messages();
    ASSERT_GE(m.size(), 2u);
    EXPECT_EQ(m[1], "MALFORMED count 4 for 3 points");
}

TEST(SimInstrument, UploadBlockFaults) {
    const std::string data = wordsToBytes({1, 2, 3});
    struct Case {
        BlockFault fault;
        long shortAfter;
        std::string expected;
    } cases[] = {
        {BlockFault::ZeroDigits, -1, "#0" + data + "\n"},
        {BlockFault::NonDigits, -1, "#4ab12" + data + "\n"},
        {BlockFault::HugeCount, -1, "#9999999999" + data + "\n"},
        {BlockFault::OddCount, -1, "#15" + data.substr(0, 5) + "\n"},
        {BlockFault::None, 3, "#16" + data.substr(0, 3)},
    };
    for (const Case& c : cases) {
        Instrument inst(Family::Maker, "QUORVEX, QV7351A");
        inst.setStore("arb1", {data, {}, "RAMP1", "ON"});
        Faults f;
        f.blockHeader = c.fault;
        f.blockDataShort = c.shortAfter;
        inst.setFaults(f);
        inst.receive("arb1?\n");
        EXPECT_EQ(inst.take(1000), c.expected);
    }
}

TEST(SimInstrument, MakerAndScopeFamilies) {
    Instrument maker(Family::Maker, "QUORVEX, QV7351A");
    maker.receive("arbdef arb1,RAMP1,ON\n");
    maker.receive("arb1 #14" + wordsToBytes({0x3FFC, 0}));
    maker.receive("arb1DEF?\n");
    EXPECT_EQ(maker.take(100), "RAMP1,ON,2\n");
    maker.receive("arb2DEF?\n");
    EXPECT_EQ(maker.take(100), "arb2,OFF,0\n");

    Instrument scope(Family::Scope, "TEKTRONIX,TDS 220,0,CF:91.1CT");
    scope.receive("header off;data:dest REFB;encdg srp;width 1;start 1\r\ncurve #13abc\r\n");
    EXPECT_EQ(scope.store("REFB")->bytes, "abc");
    scope.setStore("CH1", {"0123456789", {}, "", ""});
    scope.receive("header off;data:source CH1;encdg srp;width 1;start 1;stop 4\r\ncurve?\r\n");
    EXPECT_EQ(scope.take(100), "#140123\n");
    scope.receive("header off;data:source CH1;encdg srp;width 1;data snap\r\ncurve?\r\n");
    EXPECT_EQ(scope.take(100), "#2100123456789\n");
}

TEST(SimInstrument, NumberedStoreKeepsValuesUntilSaved) {
    Instrument inst(Family::NumberedStore, "QUORVEX,QV3030/A");
    inst.receive("SETARB ");
    inst.receive("1,");
    inst.receive("-2,");
    inst.receive("3\nARBSAV 3,ramp\n");
    EXPECT_EQ(inst.store("3")->values, (std::vector<long>{1, -2, 3}));
    EXPECT_EQ(inst.store("3")->name, "ramp");
    inst.receive("arbrcl 3;arb?\r\n");
    EXPECT_EQ(inst.take(100), "ARBDATA1,-2,3\n");
}

TEST(SimInstrument, ReplyFaults) {
    Instrument inst(Family::ArbDef, "QUORVEX,QVA3460");
    Faults f;
    f.silent = true;
    inst.setFaults(f);
    inst.receive("*idn?\n");
    EXPECT_EQ(inst.ready(), 0u);

    f = {};
    f.overlongReply = true;
    inst.setFaults(f);
    inst.receive("*idn?\n");
    EXPECT_EQ(inst.take(1000), std::string(300, 'A'));

    f = {};
    f.wrongIdentity = "FLUKE,271";
    inst.setFaults(f);
    inst.receive("*idn?\n");
    EXPECT_EQ(inst.take(1000), "FLUKE,271\n");

    // A late reply is held back until it is due. The check that nothing comes early uses
    // a delay no scheduling hiccup can reach; the one that it comes waits for its due time.
    {
        Instrument late(Family::ArbDef, "QUORVEX,QVA3460");
        f = {};
        f.replyDelay = std::chrono::hours(1);
        late.setFaults(f);
        late.receive("*idn?\n");
        EXPECT_EQ(late.take(1000), "");
        EXPECT_EQ(late.ready(), 0u);
    }
    f = {};
    f.replyDelay = 50ms;
    inst.setFaults(f);
    const auto sent = SimClock::now();
    inst.receive("*idn?\n");
    const auto due = inst.nextDue();
    ASSERT_TRUE(due);
    EXPECT_GE(*due - sent, 50ms);
    std::this_thread::sleep_until(*due);
    EXPECT_EQ(inst.take(1000), "QUORVEX,QVA3460\n");

    // A trickled reply: each byte is due one interval after the one before.
    {
        Instrument slow(Family::ArbDef, "QV");
        f = {};
        f.byteInterval = std::chrono::hours(1);
        slow.setFaults(f);
        const auto asked = SimClock::now();
        slow.receive("*idn?\n");
        EXPECT_EQ(slow.take(1000), "Q");
        const auto next = slow.nextDue();
        ASSERT_TRUE(next);
        EXPECT_GE(*next - asked, std::chrono::hours(1));
        EXPECT_EQ(slow.take(1000), "");
    }

    // The drop counts reply bytes from the first one on.
    Instrument fresh(Family::ArbDef, "QUORVEX,QVA3460");
    f = {};
    f.dropAfterReplyBytes = 4;
    fresh.setFaults(f);
    fresh.receive("*idn?\n");
    EXPECT_FALSE(fresh.dropped());
    EXPECT_EQ(fresh.take(1000), "QUOR");
    EXPECT_TRUE(fresh.dropped());
}

TEST(SimStubs, EveryVariantIsBuilt) {
    EXPECT_TRUE(std::filesystem::exists(gpibStubPath()));
    EXPECT_TRUE(std::filesystem::exists(usbStubPath()));
    EXPECT_TRUE(std::filesystem::exists(gpibStubPath("plain")));
    for (const auto& n : gpibStubNames())
        EXPECT_TRUE(std::filesystem::exists(gpibStubPath(n))) << n;
    for (const auto& n : usbStubRequiredNames())
        EXPECT_TRUE(std::filesystem::exists(usbStubPath(n))) << n;
    EXPECT_TRUE(std::filesystem::exists(usbStubPath("AWG_Version")));
}

TEST(SimAdapters, PseudoTerminalIsOfferedAsTheSerialPortList) {
    Instrument inst(Family::ArbDef, "QUORVEX,QVA3460");
    {
        PtyAdapter pty(inst);
        EXPECT_EQ(plotwell::platform::listSerialPorts(), std::vector<std::string>{pty.path()});
    }
    EXPECT_EQ(std::getenv("PLOTWELL_SERIAL_PORTS"), nullptr);
}

TEST(SimAdapters, TranscriptTimeStampsAreInOrder) {
    Instrument inst(Family::ArbDef, "QUORVEX,QVA3460");
    inst.control("ibdev 0,5,0,15,0,0");
    inst.receive("*idn?\n");
    const auto t = inst.transcript();
    ASSERT_EQ(t.size(), 4u); // control, write, message, reply
    EXPECT_EQ(t[0].kind, Event::Kind::Control);
    EXPECT_EQ(t[1].kind, Event::Kind::Write);
    EXPECT_EQ(t[2].kind, Event::Kind::Message);
    EXPECT_EQ(t[3].kind, Event::Kind::Reply);
    for (std::size_t i = 1; i < t.size(); ++i)
        EXPECT_LE(t[i - 1].at, t[i].at);
}

TEST(SimInstrument, PatternGeneratorStores) {
    Instrument inst(Family::Pattern, "QUORVEX, QVS5102");
    const std::string pattern(32, '\x7f');
    inst.receive("PTTNDEF pattern2,bits\n");
    inst.receive("PTTN2 #232");
    inst.receive(pattern);
    inst.receive("NSEARBDEF hiss,ON\n");
    inst.receive("NSEARB #14" + wordsToBytes({0x8000, 0x7FFF}));
    inst.receive("arbdef arb3,sweep,OFF\n");
    inst.receive("arb3 #12" + wordsToBytes({0x1234}));
    inst.receive("local\n");
    EXPECT_EQ(inst.store("PTTN2")->bytes, pattern);
    EXPECT_EQ(inst.store("PTTN2")->name, "bits");
    EXPECT_EQ(bytesToWords(inst.store("NSEARB")->bytes), (std::vector<uint16_t>{0x8000, 0x7FFF}));
    EXPECT_EQ(inst.store("NSEARB")->name, "hiss");
    EXPECT_EQ(inst.store("arb3")->name, "sweep");
    EXPECT_EQ(inst.store("arb3")->option, "OFF");
    inst.receive("arb3DEF?\n");
    EXPECT_EQ(inst.take(100), "sweep,OFF,1\n");
    const auto m = inst.messages();
    EXPECT_EQ(m, (std::vector<std::string>{"PTTNDEF pattern2,bits", "BLOCK PTTN2  32", "NSEARBDEF hiss,ON",
                                           "BLOCK NSEARB  4", "arbdef arb3,sweep,OFF", "BLOCK arb3  2",
                                           "local", "arb3DEF?"}));
}

// A large reply that the program never reads fills the line; stopping the adapter must
// not wait for room that never comes.
TEST(SimAdapters, AdaptersStopWhileALargeReplyGoesUnread) {
    constexpr std::size_t kReply = 16 << 20;
    enum class Kind { Pty, Tcp };
    for (Kind kind : {Kind::Pty, Kind::Tcp}) {
        // Left alive on a hang, since the adapter's thread would still use it.
        auto* inst = new Instrument(Family::ArbDef, "QUORVEX,QVA3460");
        inst->setStore("WAVE1", Store{std::string(kReply, 'x'), {}, "WAVE1", ""});
        std::unique_ptr<PtyAdapter> pty;
        std::unique_ptr<TcpAdapter> tcp;
        int peer = -1;
        const std::string query = "arbdata? WAVE1\r\n";
        if (kind == Kind::Pty) {
            pty = std::make_unique<PtyAdapter>(*inst);
            ASSERT_EQ(::write(pty->slave(), query.data(), query.size()), ssize_t(query.size()));
        } else {
            tcp = std::make_unique<TcpAdapter>(*inst);
            peer = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            // A small receive buffer keeps the loopback from taking megabytes in.
            const int small = 4096;
            ::setsockopt(peer, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
            sockaddr_in a{};
            a.sin_family = AF_INET;
            a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            a.sin_port = htons(uint16_t(tcp->port()));
            ASSERT_EQ(::connect(peer, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
            ASSERT_EQ(::send(peer, query.data(), query.size(), MSG_NOSIGNAL), ssize_t(query.size()));
        }
        // Until the reply is queued and the adapter has begun to send it.
        while (inst->ready() == 0 || inst->ready() >= kReply)
            std::this_thread::sleep_for(1ms);

        auto stopped = std::make_shared<std::promise<void>>();
        auto done = stopped->get_future();
        std::thread stopper([pty = std::move(pty), tcp = std::move(tcp), stopped]() mutable {
            pty.reset();
            tcp.reset();
            stopped->set_value();
        });
        // Generous: a stop takes milliseconds; only a hang runs into this bound.
        const bool returned = done.wait_for(30s) == std::future_status::ready;
        EXPECT_TRUE(returned) << (kind == Kind::Pty ? "pty" : "tcp") << " adapter still blocked";
        if (returned) {
            stopper.join();
            delete inst;
        } else {
            stopper.detach();
        }
        if (peer >= 0)
            ::close(peer);
    }
}
