#include "transfer/core/instrument_libraries.h"
#include "transfer/core/library_links.h"

#include "sim/adapters.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

using namespace plotwell;
using namespace plotwell::transfer;

TEST(InstrumentLibraries, StubsLoadOnceAndAreReleased) {
    const int gpibLoads = pwsim_stub_loads(sim::kGpibStub);
    const int usbLoads = pwsim_stub_loads(sim::kUsbStub);
    {
        InstrumentLibraries libs;
        ASSERT_TRUE(libs.loadGpib(sim::gpibStubPath()));
        ASSERT_TRUE(libs.loadUsb(sim::usbStubPath()));
        EXPECT_TRUE(libs.loadGpib(sim::gpibStubPath()));
        EXPECT_TRUE(libs.loadUsb(sim::usbStubPath()));
        EXPECT_EQ(pwsim_stub_loads(sim::kGpibStub), gpibLoads + 1);
        EXPECT_EQ(pwsim_stub_loads(sim::kUsbStub), usbLoads + 1);
        EXPECT_EQ(pwsim_stub_loaded(sim::kGpibStub), 1);
        EXPECT_NE(libs.usb().AWG_Version, nullptr);
        libs.freeGpib();
        EXPECT_FALSE(libs.gpibLoaded());
        EXPECT_EQ(pwsim_stub_loaded(sim::kGpibStub), 0);
    }
    // Going out of scope releases the other one.
    EXPECT_EQ(pwsim_stub_loaded(sim::kUsbStub), 0);
}

TEST(InstrumentLibraries, EveryMissingGpibNameFailsTheLoadAndLeavesNothingLoaded) {
    for (const std::string& name : sim::gpibStubNames()) {
        const std::string path = sim::gpibStubPath(name);
        InstrumentLibraries libs;
        EXPECT_FALSE(libs.loadGpib(path)) << name;
        EXPECT_FALSE(libs.gpibLoaded());
        EXPECT_EQ(libs.gpibFile(), path);
        EXPECT_EQ(pwsim_stub_loaded(sim::kGpibStub), 0) << name;
    }
}

TEST(InstrumentLibraries, EveryMissingRequiredUsbNameFailsButTheVersionCallIsOptional) {
    for (const std::string& name : sim::usbStubRequiredNames()) {
        InstrumentLibraries libs;
        EXPECT_FALSE(libs.loadUsb(sim::usbStubPath(name))) << name;
        EXPECT_EQ(pwsim_stub_loaded(sim::kUsbStub), 0) << name;
    }
    InstrumentLibraries libs;
    EXPECT_TRUE(libs.loadUsb(sim::usbStubPath("AWG_Version")));
    EXPECT_EQ(libs.usb().AWG_Version, nullptr);
}

TEST(InstrumentLibraries, MissingFileFailsWithItsName) {
    InstrumentLibraries libs;
    EXPECT_FALSE(libs.loadGpib("/nonexistent/libgpib.so.0"));
    EXPECT_EQ(gpibLoadFailureText(libs.gpibFile()),
              "Unable to read from the GPIB\nDynamic Link Library \"/nonexistent/libgpib.so.0\"\n"
              "The GPIB is not available");
    EXPECT_EQ(usbLoadFailureText("libawgusb.so"),
              "Unable to read from the USB\nDynamic Link Library \"libawgusb.so\"\nThe USB is not available");
}

TEST(InstrumentLibraries, StatusWordsAreReadThroughTheResolvedAddresses) {
    for (const char* variant : {"", "plain"}) {
        InstrumentLibraries libs;
        ASSERT_TRUE(libs.loadGpib(sim::gpibStubPath(variant))) << variant;
        // The addresses are the library's own data symbols.
        void* h = dlopen(sim::gpibStubPath(variant).c_str(), RTLD_NOW | RTLD_NOLOAD);
        ASSERT_NE(h, nullptr);
        const bool plain = *variant != 0;
        EXPECT_EQ(static_cast<void*>(libs.gpib().user_ibsta), dlsym(h, plain ? "ibsta" : "user_ibsta"));
        EXPECT_EQ(static_cast<void*>(libs.gpib().user_iberr), dlsym(h, plain ? "iberr" : "user_iberr"));
        EXPECT_EQ(static_cast<void*>(libs.gpib().user_ibcnt), dlsym(h, plain ? "ibcnt" : "user_ibcnt"));
        dlclose(h);

        sim::Instrument inst(sim::Family::ArbDef, "QUORVEX,QVA3460");
        sim::GpibAdapter bus(inst);
        auto link = GpibLink::open(libs.gpib(), 0, 5, kGpibT100s, LinkDeadlines{});
        ASSERT_TRUE(link);
        EXPECT_TRUE(link->write(std::string_view("*idn?\n")).ok());
        char buf[100];
        IoResult r = link->read(buf, sizeof buf);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r.count, 16u);
        EXPECT_EQ(*libs.gpib().user_ibcnt, 16);
        bus.failNext("ibrd", 6);
        r = link->read(buf, sizeof buf);
        EXPECT_EQ(r.status, IoStatus::Error);
        EXPECT_STREQ(r.function, "ibrd");
        EXPECT_EQ(r.code, 6);
        EXPECT_EQ(libs.gpibError(), 6);
        EXPECT_NE(*libs.gpib().user_ibsta & kGpibErr, 0);
        link->close();
        link->close();
        EXPECT_EQ(inst.controls(), (std::vector<std::string>{"ibdev 0,5,0,15,0,0", "ibonl 1,0"}));
        EXPECT_EQ(bus.calls("ibloc"), 0);
    }
}

TEST(InstrumentLibraries, UsbHandleIsClosedOnce) {
    InstrumentLibraries libs;
    ASSERT_TRUE(libs.loadUsb(sim::usbStubPath()));
    sim::Instrument inst(sim::Family::ArbDef, "QUORVEX,QVA3420x");
    sim::UsbAdapter usb(inst, 7);
    int error = 0;
    EXPECT_FALSE(UsbLink::open(libs, 5, error, LinkDeadlines{}));
    EXPECT_EQ(error, -3);
    auto link = UsbLink::open(libs, 7, error, LinkDeadlines{});
    ASSERT_TRUE(link);
    EXPECT_EQ(inst.controls().back(), "AWG_Open 7,2097152");
    // The error report closes the device, then the transfer's ending closes it again.
    libs.closeUsb(link->handle());
    link->close();
    link.reset();
    EXPECT_EQ(usb.calls("AWG_Close"), 1);
    EXPECT_EQ(usb.repeatedCloses(), 0);
    EXPECT_EQ(usb.calls("AWG_Version") + usb.calls("AWG_GetDevices") + usb.calls("AWG_InQ"), 0);
}

TEST(InstrumentLibraries, ALinkLetsGoOfAHandleTheDriverGaveToTheNextDevice) {
    InstrumentLibraries libs;
    ASSERT_TRUE(libs.loadUsb(sim::usbStubPath()));
    sim::Instrument inst(sim::Family::ArbDef, "QUORVEX,QVA3420x");
    sim::UsbAdapter usb(inst, 7);
    usb.reuseHandles(true);
    int error = 0;
    auto old = UsbLink::open(libs, 7, error, LinkDeadlines{});
    ASSERT_TRUE(old);
    libs.closeUsb(old->handle()); // the error report
    auto now = UsbLink::open(libs, 7, error, LinkDeadlines{});
    ASSERT_TRUE(now);
    ASSERT_EQ(now->handle(), old->handle());
    EXPECT_FALSE(old->isOpen());
    std::string reply;
    EXPECT_FALSE(old->readReply(reply, 100).ok());
    EXPECT_FALSE(old->write(std::string_view("*idn?\n")).ok());
    old.reset(); // closes nothing of the new device
    EXPECT_TRUE(now->isOpen());
    EXPECT_EQ(usb.calls("AWG_Close"), 1);
    EXPECT_EQ(inst.writes().size(), 0u);
    now.reset();
    EXPECT_EQ(usb.calls("AWG_Close"), 2);
    EXPECT_EQ(usb.repeatedCloses(), 0);
}

TEST(LibraryTexts, ErrorReports) {
    EXPECT_EQ(gpibErrorText("ibwrt", 2), "GPIB error!\nFunction: ibwrt\niberr = 2\n");
    EXPECT_EQ(usbErrorText("AWG_Write", -7), "USB error!\nFunction: AWG_Write\nusberr = -7: Write error\n");
    EXPECT_EQ(usbErrorText("AWG_Read", -42), "USB error!\nFunction: AWG_Read\nusberr = -42: \n");
    const char* table[] = {"Invalid address",
                           "No devices found",
                           "No device found at specified address",
                           "Cannot open device for read",
                           "Read error",
                           "Cannot open device for write",
                           "Write error",
                           "Invalid AWGUSB.DLL file",
                           "Out of system resources"};
    for (int i = 0; i < 9; ++i)
        EXPECT_STREQ(UsbErrorCode(-1 - i), table[i]);
    EXPECT_STREQ(UsbErrorCode(0), "");
    EXPECT_STREQ(UsbErrorCode(-10), "");
    EXPECT_STREQ(UsbErrorCode(1), "");
}
