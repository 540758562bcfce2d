#include "transfer/core/session.h"

#include "sim/adapters.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

using namespace plotwell;
using namespace plotwell::transfer;
using Kind = LinkError::Kind;

namespace {

class NoStatus : public TransferStatus {
public:
    void showStatus(const std::string&, bool) override {}
    bool cancelled() const override { return false; }
};

TransferJob jobOn(int typeIndex, Direction direction = Direction::Download) {
    TransferJob j;
    j.direction = direction;
    j.typeIndex = typeIndex;
    j.type = "/nonexistent/tty";
    j.address = "5";
    j.ipAddress = "127.0.0.1";
    j.makeIndex = makeQuorvex;
    j.modelIndex = 3; // QVA3420x: ARBDEF, with USB
    j.model = "QVA3420x";
    return j;
}

} // namespace

// Each way an open fails comes back as the one report the forms show, and leaves no
// transfer running.
TEST(TransferSession, AFailedOpenIsOneReport) {
    sim::Instrument inst(sim::Family::ArbDef, "QUORVEX,QVA3420x");
    sim::GpibAdapter bus(inst);
    sim::UsbAdapter usb(inst, 5);
    sim::RefusingPort refusing;
    struct Case {
        const char* name;
        int typeIndex;
        LibraryFiles files;
        std::function<void()> arrange;
        Kind kind;
        std::string text;
        bool beep;
    };
    LibraryFiles missing;
    missing.gpib = "/nonexistent/libgpib.so.0";
    const LibraryFiles stubs{sim::gpibStubPath(), sim::usbStubPath()};
    const Case cases[] = {
        {"library", ifGpib0, missing, [] {}, Kind::Library,
         "Unable to read from the GPIB\nDynamic Link Library \"/nonexistent/libgpib.so.0\"\nThe GPIB is not "
         "available",
         true},
        {"ibdev", ifGpib0, stubs, [&] { bus.failNext("ibdev", sim::kEarg); }, Kind::Driver,
         "GPIB error!\nFunction: ibdev\niberr = 4\n", true},
        {"AWG_Open", ifUsb, stubs, [&] { usb.setOpenError(-2); }, Kind::Driver,
         "USB error!\nFunction: AWG_Open\nusberr = -2: No devices found\n", true},
        {"port", ifFirstSerial, stubs, [] {}, Kind::Port,
         "Unable to gain access to /nonexistent/tty.\nIt may be in use by another application", true},
        {"lan", ifLan, stubs, [] {}, Kind::Connect,
         "Unable to connect to device.\n\nCheck IP Address and TCP Port settings.", false},
    };
    for (const Case& c : cases) {
        TransferSession session;
        c.arrange();
        TransferJob job = jobOn(c.typeIndex);
        job.tcpPort = refusing.portText();
        const LinkError e = session.openLink(job, c.files);
        EXPECT_EQ(e.kind, c.kind) << c.name;
        EXPECT_EQ(e.text, c.text) << c.name;
        EXPECT_EQ(e.beep, c.beep) << c.name;
        EXPECT_TRUE(e.systemText.empty()) << c.name;
        EXPECT_FALSE(session.link) << c.name;
        EXPECT_FALSE(session.busy()) << c.name;
    }
}

// The link is opened by the transfer's own session, which loads the driver on the way;
// the worker then starts once, on that link.
TEST(TransferSession, OpensItsOwnLinkThenStartsTheWorkerOnIt) {
    sim::Instrument inst(sim::Family::ArbDef, "QUORVEX,QVA3420x");
    sim::GpibAdapter bus(inst, 1, 7);
    TransferSession session;
    NoStatus status;
    TransferJob job = jobOn(ifGpib1, Direction::Upload);
    job.address = "7";
    EXPECT_FALSE(session.start(job, stArbDataUpload, {}, status, this));
    ASSERT_FALSE(session.openLink(job, {sim::gpibStubPath(), sim::usbStubPath()}));
    EXPECT_TRUE(session.GpibNeeded);
    EXPECT_FALSE(session.UsbNeeded);
    EXPECT_EQ(inst.controls(), std::vector<std::string>{"ibdev 1,7,0,13,0,0"});
    // A family without a worker on this link starts nothing.
    EXPECT_FALSE(session.start(job, stIdle, {}, status, this));
    EXPECT_FALSE(session.busy());
    ASSERT_TRUE(session.start(job, stArbDataUpload, {}, status, this));
    EXPECT_EQ(session.owner(), this);
    EXPECT_EQ(session.job()->address, "7");
    session.freeLibraries();
    EXPECT_FALSE(session.busy());
    EXPECT_EQ(pwsim_stub_loaded(sim::kGpibStub), 0);
}

// An RS-232 download waits for each write as long as its model needs to store a waveform.
TEST(TransferSession, ASerialDownloadWaitsForWritesAsItsModelNeeds) {
    sim::Instrument inst(sim::Family::ArbDef, "QUORVEX,QVA347x");
    sim::PtyAdapter pty(inst);
    for (auto [model, name, wait] : {std::tuple{2, "QVA347x", 40000}, {3, "QVA3420x", 5000}}) {
        TransferSession session;
        TransferJob job = jobOn(ifFirstSerial);
        job.type = pty.path();
        job.modelIndex = model;
        job.model = name;
        ASSERT_FALSE(session.openLink(job, {})) << name;
        EXPECT_EQ(session.serial.DownloadTimeouts.writeTotalConstant, wait) << name;
        session.closeLink();
    }
}
