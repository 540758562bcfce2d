#pragma once
// A simulated instrument behind one of the program's real links, for the core transfer
// tests: the stub GPIB and USB libraries, a TCP server, or a pseudo-terminal.

#include "transfer/core/identity.h"
#include "transfer/core/library_links.h"
#include "transfer/core/serial_link.h"
#include "transfer/core/tcp_link.h"

#include "sim/adapters.h"

#include <gtest/gtest.h>

#include <memory>

namespace plotwell::transfer::simrig {

using namespace std::chrono_literals;

// Waits for replies that come: long, so that a loaded machine never misses one. Waits that
// end only at their deadline (silent or cut-off instruments) use the short ones, which keep
// the suite fast.
inline constexpr std::chrono::milliseconds kReplyWait = 5000ms;
inline constexpr std::chrono::milliseconds kSilenceWait = 300ms;

// The waits of a rig's link: reply waits as given, a long connect, no GPIB pause.
inline LinkDeadlines rigDeadlines(std::chrono::milliseconds replyWait) {
    LinkDeadlines d;
    d.usbReply = replyWait;
    d.tcpReplyByte = replyWait;
    d.tcpReply = replyWait;
    d.tcpData = replyWait;
    d.tcpConnect = 5000ms;
    d.gpibQueryPause = 0ms;
    return d;
}

inline platform::SerialTimeouts serialTimeouts(std::chrono::milliseconds wait) {
    return {0, 0, int(wait.count()), 0, 500};
}

struct Rig {
    Rig(LinkKind kind, const std::string& identity, sim::Family family = sim::Family::ArbDef)
        : kind(kind), inst(family, identity) {
        const LinkDeadlines waits = rigDeadlines(kReplyWait);
        switch (kind) {
        case LinkKind::Gpib:
            gpib = std::make_unique<sim::GpibAdapter>(inst);
            EXPECT_TRUE(libs.loadGpib(sim::gpibStubPath()));
            link = GpibLink::open(libs.gpib(), 0, 5, kGpibT100s, waits);
            break;
        case LinkKind::Usb: {
            usb = std::make_unique<sim::UsbAdapter>(inst);
            EXPECT_TRUE(libs.loadUsb(sim::usbStubPath()));
            int error = 0;
            link = UsbLink::open(libs, 5, error, waits);
            break;
        }
        case LinkKind::Tcp:
            tcp = std::make_unique<sim::TcpAdapter>(inst);
            link = TcpLink::connect("127.0.0.1", tcp->portText(), waits);
            break;
        case LinkKind::Serial: {
            pty = std::make_unique<sim::PtyAdapter>(inst);
            platform::SerialPort port;
            EXPECT_TRUE(port.open(pty->path()));
            port.setTimeouts(serialTimeouts(kReplyWait));
            link = std::make_unique<SerialLink>(std::move(port));
            break;
        }
        }
        EXPECT_TRUE(link);
    }
    ~Rig() {
        link.reset();
        tcp.reset();
        pty.reset();
    }
    // For a case in which the reply does not come, or stops short: its reads end at the
    // short deadline.
    void expectSilence() {
        link->setDeadlines(rigDeadlines(kSilenceWait));
        if (kind == LinkKind::Serial)
            static_cast<SerialLink&>(*link).port().setTimeouts(serialTimeouts(kSilenceWait));
    }
    IdentityCheck check(std::string expected, bool skip = false) {
        return checkIdentity(*link, expected, skip);
    }

    LinkKind kind;
    sim::Instrument inst;
    InstrumentLibraries libs;
    std::unique_ptr<sim::GpibAdapter> gpib;
    std::unique_ptr<sim::UsbAdapter> usb;
    std::unique_ptr<sim::TcpAdapter> tcp;
    std::unique_ptr<sim::PtyAdapter> pty;
    std::unique_ptr<Link> link;
};

} // namespace plotwell::transfer::simrig
