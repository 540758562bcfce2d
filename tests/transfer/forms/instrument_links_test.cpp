#include "link_forms_fixture.h"

#include "app/Plotdesk.h"
#include "app/appforms.h"
#include "platform/posix/folders.h"
#include "sim/adapters.h"
#include "transfer/core/instrument_libraries.h"
#include "transfer/core/link.h"
#include "transfer/core/serial_link.h"
#include "transfer/core/tcp_link.h"
#include "transfer/forms/instrument_links.h"
#include "transfer/forms/setdload.h"
#include "transfer/forms/setuload.h"
#include "transfer/forms/transfer_session.h"
#include "workspace/forms/wfmchild.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTimer>

#include <cstdlib>
#include <filesystem>

using namespace plotwell;
using namespace plotwell::transfer;
using namespace std::chrono_literals;

using namespace plotwell::transfer::formsrig;

TEST_F(LinkFormsTest, GpibLoadFailsWithTheBoxNamingTheFileForEachMissingName) {
    for (const std::string& name : sim::gpibStubNames()) {
        const std::string path = sim::gpibStubPath(name);
        ::setenv(kGpibLibraryVariable, path.c_str(), 1);
        ui.clear();
        EXPECT_FALSE(LoadGpibLibrary()) << name;
        EXPECT_FALSE(PWForm1->Transfers.GpibNeeded);
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.lastMessage(), "Unable to read from the GPIB\nDynamic Link Library \"" + path +
                                        "\"\nThe GPIB is not available");
        EXPECT_EQ(ui.count("beep"), 1);
        EXPECT_EQ(pwsim_stub_loaded(sim::kGpibStub), 0) << name;
    }
}

TEST_F(LinkFormsTest, UsbLoadNeedsAllButTheVersionCall) {
    for (const std::string& name : sim::usbStubRequiredNames()) {
        const std::string path = sim::usbStubPath(name);
        ::setenv(kUsbLibraryVariable, path.c_str(), 1);
        ui.clear();
        EXPECT_FALSE(LoadUsbLibrary()) << name;
        EXPECT_FALSE(PWForm1->Transfers.UsbNeeded);
        EXPECT_EQ(ui.messages(),
                  std::vector<std::string>{"Unable to read from the USB\nDynamic Link Library \"" + path +
                                           "\"\nThe USB is not available"});
        EXPECT_EQ(pwsim_stub_loaded(sim::kUsbStub), 0) << name;
    }
    ::setenv(kUsbLibraryVariable, sim::usbStubPath("AWG_Version").c_str(), 1);
    ui.clear();
    EXPECT_TRUE(LoadUsbLibrary());
    EXPECT_TRUE(PWForm1->Transfers.UsbNeeded);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(LinkFormsTest, LibrariesLoadOnceAndAreReleasedAtExit) {
    const int gpibLoads = pwsim_stub_loads(sim::kGpibStub);
    const int usbLoads = pwsim_stub_loads(sim::kUsbStub);
    EXPECT_TRUE(LoadGpibLibrary());
    EXPECT_TRUE(LoadGpibLibrary());
    EXPECT_TRUE(LoadUsbLibrary());
    EXPECT_TRUE(LoadUsbLibrary());
    EXPECT_TRUE(PWForm1->Transfers.GpibNeeded && PWForm1->Transfers.UsbNeeded);
    EXPECT_EQ(pwsim_stub_loads(sim::kGpibStub), gpibLoads + 1);
    EXPECT_EQ(pwsim_stub_loads(sim::kUsbStub), usbLoads + 1);
    EXPECT_EQ(pwsim_stub_loaded(sim::kGpibStub), 1);
    PWForm1->FormClose();
    EXPECT_EQ(pwsim_stub_loaded(sim::kGpibStub), 0);
    EXPECT_EQ(pwsim_stub_loaded(sim::kUsbStub), 0);
    EXPECT_TRUE(ui.messages().empty());
}

// The interfaces stored in the project decide what start-up loads: a GPIB interface the
// GPIB library, USB with an instrument that has it the USB library; each once, and both
// are let go when the program ends.
TEST_F(LinkFormsTest, StartUpLoadsWhatTheStoredInterfacesNeedAndExitFreesIt) {
    QApplication::setQuitOnLastWindowClosed(false);
    auto restart = [this] {
        PWForm1->Exit1Click(); // writes the project
        processEvents();
        DestroyApplicationForms();
        processEvents();
        ui.clear();
        CreateApplicationForms();
        PWForm1->show();
        PWForm1->FormActivate();
        processEvents();
    };
    auto& s = PWForm1->TransferSettings;
    s.dlType = "GPIB1";
    s.dlTypeIndex = ifGpib1;
    s.ulType = "USB";
    s.ulTypeIndex = ifUsb;
    s.ulModelIndex = 3; // QVA3420x has USB
    s.ulModel = "QVA3420x";
    const int gpibLoads = pwsim_stub_loads(sim::kGpibStub);
    const int usbLoads = pwsim_stub_loads(sim::kUsbStub);

    restart();
    EXPECT_TRUE(ui.messages().empty()) << ui.lastMessage();
    EXPECT_TRUE(PWForm1->Transfers.GpibNeeded);
    EXPECT_TRUE(PWForm1->Transfers.UsbNeeded);
    EXPECT_EQ(pwsim_stub_loads(sim::kGpibStub), gpibLoads + 1);
    EXPECT_EQ(pwsim_stub_loads(sim::kUsbStub), usbLoads + 1);
    EXPECT_EQ(pwsim_stub_loaded(sim::kGpibStub), 1);
    EXPECT_EQ(pwsim_stub_loaded(sim::kUsbStub), 1);
    // A GPIB transfer then uses the library start-up loaded.
    sim::Instrument inst(sim::Family::ArbDef, "QUORVEX,QVA3460");
    sim::GpibAdapter bus(inst, 1, 5);
    EXPECT_TRUE(openLink(*newWindow(), ifGpib1, "5"));
    EXPECT_EQ(pwsim_stub_loads(sim::kGpibStub), gpibLoads + 1);

    // A USB library that lacks a call is reported at start-up, which goes on.
    const std::string broken = sim::usbStubPath("AWG_Read");
    ::setenv(kUsbLibraryVariable, broken.c_str(), 1);
    restart();
    EXPECT_EQ(pwsim_stub_loaded(sim::kGpibStub), 1); // the earlier run let its copy go
    EXPECT_EQ(pwsim_stub_loaded(sim::kUsbStub), 0);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Unable to read from the USB\nDynamic Link Library \"" +
                                                      broken + "\"\nThe USB is not available"});
    EXPECT_TRUE(PWForm1->Transfers.GpibNeeded);
    EXPECT_FALSE(PWForm1->Transfers.UsbNeeded);
    EXPECT_EQ(PWForm1->DownloadInfo->text().toStdString(), "   Download to:   Quorvex QV7351A via GPIB1");

    PWForm1->Exit1Click();
    processEvents();
    EXPECT_EQ(pwsim_stub_loaded(sim::kGpibStub), 0);
    EXPECT_EQ(pwsim_stub_loaded(sim::kUsbStub), 0);

    // The next test in this process starts on a fresh machine again.
    std::error_code ec;
    std::filesystem::remove_all(platform::configDir(), ec);
    std::filesystem::remove_all(platform::documentsDir(), ec);
}

TEST_F(LinkFormsTest, OpeningFailuresAreReportedByTheDrivers) {
    sim::Instrument inst(sim::Family::ArbDef, "QUORVEX,QVA3420x");
    sim::GpibAdapter bus(inst);
    sim::UsbAdapter usb(inst, 5);
    TWFMform* w = newWindow();
    bus.failNext("ibdev", sim::kEarg);
    EXPECT_FALSE(openLink(*w, ifGpib0, "5"));
    usb.setOpenError(-2);
    EXPECT_FALSE(openLink(*w, ifUsb, "5"));
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{"GPIB error!\nFunction: ibdev\niberr = 4\n",
                                        "USB error!\nFunction: AWG_Open\nusberr = -2: No devices found\n"}));
    EXPECT_FALSE(PWForm1->Transfers.link);
    EXPECT_EQ(usb.calls("AWG_Close"), 0);
}

TEST_F(LinkFormsTest, GpibMismatchShowsTheFailureThenTheReplyWithItsLineFeed) {
    sim::Instrument inst(sim::Family::ArbDef, "FLUKE,271");
    sim::GpibAdapter bus(inst, 1, 7);
    PWForm1->TransferSettings.dlType = "GPIB1";
    TWFMform* w = newWindow();
    ASSERT_TRUE(openLink(*w, ifGpib1, "7"));
    std::string expected = "QUORVEX,QVA3460";
    EXPECT_TRUE(TTransferSession(*w).CheckIdentityGpib(*PWForm1->Transfers.link, expected, true));
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{kDownloadError + "GPIB1",
                                        "The instrument reports itself as\nFLUKE,271\n\nbut the "
                                        "expected type is\nQUORVEX,QVA3460"}));
    EXPECT_EQ(ui.count("beep"), 2);
    // The failure routine took the device off line.
    EXPECT_FALSE(PWForm1->Transfers.link->isOpen());
    EXPECT_EQ(inst.controls(), (std::vector<std::string>{"ibdev 1,7,0,15,0,0", "ibonl 1,0"}));
}

TEST_F(LinkFormsTest, GpibSilenceGivesTheFailureThenTheLibraryReport) {
    sim::Instrument inst(sim::Family::ArbDef, "QUORVEX,QVA3460");
    inst.setFaults(silentFaults());
    sim::GpibAdapter bus(inst);
    PWForm1->TransferSettings.ulType = "GPIB";
    TWFMform* w = newWindow();
    ASSERT_TRUE(openLink(*w, ifGpib0, "5", false));
    std::string expected = "QUORVEX,QVA3460";
    EXPECT_TRUE(TTransferSession(*w).CheckIdentityGpib(*PWForm1->Transfers.link, expected, false));
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{kUploadError + "GPIB", "GPIB error!\nFunction: ibrd\niberr = 6\n"}));
    EXPECT_EQ(w->Caption(), "Untitled");
}

TEST_F(LinkFormsTest, UsbShortWriteClosesTheDeviceOnce) {
    sim::Instrument inst(sim::Family::ArbDef, "QUORVEX,QVA3420x");
    inst.setFaults(shortWriteFaults());
    sim::UsbAdapter usb(inst);
    PWForm1->TransferSettings.dlType = "USB";
    TWFMform* w = newWindow();
    ASSERT_TRUE(openLink(*w, ifUsb, "5"));
    std::string expected = "QUORVEX,QVA3420x";
    EXPECT_TRUE(TTransferSession(*w).CheckIdentityUsb(*PWForm1->Transfers.link, expected, true));
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{kDownloadError + "USB",
                                        "USB error!\nFunction: AWG_Write\nusberr = -7: Write error\n"}));
    EXPECT_EQ(usb.calls("AWG_Close"), 1);
    EXPECT_EQ(usb.repeatedCloses(), 0);
}

// A driver may hand out a closed handle again: the link that held it before must not
// close the device that now has it.
TEST_F(LinkFormsTest, AReusedUsbHandleStaysWithItsNewLink) {
    sim::Instrument inst(sim::Family::ArbDef, "QUORVEX,QVA3420x");
    sim::UsbAdapter usb(inst);
    usb.reuseHandles(true);
    TWFMform* w = newWindow();
    ASSERT_TRUE(openLink(*w, ifUsb, "5"));
    const int first = PWForm1->Transfers.UsbDevice;
    // The report closes the device.
    ShowLinkError(PWForm1->Transfers.driverFailure(LinkKind::Usb, {IoStatus::Error, 0, "AWG_Read", -5}));
    ASSERT_EQ(usb.calls("AWG_Close"), 1);

    ASSERT_TRUE(openLink(*w, ifUsb, "5")); // the next transfer
    ASSERT_EQ(PWForm1->Transfers.UsbDevice, first);
    EXPECT_TRUE(PWForm1->Transfers.link->isOpen());
    EXPECT_EQ(usb.calls("AWG_Close"), 1);
    std::string expected = "QUORVEX,QVA3420x";
    EXPECT_FALSE(TTransferSession(*w).CheckIdentityUsb(*PWForm1->Transfers.link, expected, true));
    EXPECT_EQ(ui.messages(),
              std::vector<std::string>{"USB error!\nFunction: AWG_Read\nusberr = -5: Read error\n"});
    PWForm1->Transfers.closeLink();
    EXPECT_EQ(usb.calls("AWG_Close"), 2);
    EXPECT_EQ(usb.repeatedCloses(), 0);
}

TEST_F(LinkFormsTest, UsbMismatchAndSkipOption) {
    sim::Instrument inst(sim::Family::ArbDef, "FLUKE,294");
    sim::UsbAdapter usb(inst);
    TWFMform* w = newWindow();

    setSkip(true, true);
    ASSERT_TRUE(openLink(*w, ifUsb, "5"));
    std::string expected = "QUORVEX,QVA3420x";
    EXPECT_FALSE(TTransferSession(*w).CheckIdentityUsb(*PWForm1->Transfers.link, expected, true));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(inst.writes(), std::vector<std::string>{"\n*idn?\n"});

    setSkip(true, false);
    PWForm1->TransferSettings.dlType = "USB";
    expected = "QUORVEX,QVA3420x";
    EXPECT_TRUE(TTransferSession(*w).CheckIdentityUsb(*PWForm1->Transfers.link, expected, true));
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{kDownloadError + "USB",
                                        "The instrument reports itself as\nFLUKE,294\n\nbut the "
                                        "expected type is\nQUORVEX,QVA3420x"}));
    EXPECT_EQ(expected, "QUORVEX,QVA3420"); // the caller's text is cut
}

TEST_F(LinkFormsTest, UsbSilenceFailsAtItsDeadline) {
    sim::Instrument inst(sim::Family::ArbDef, "QUORVEX,QVA3420x");
    inst.setFaults(silentFaults());
    sim::UsbAdapter usb(inst);
    setSkip(false, true);
    PWForm1->TransferSettings.ulType = "USB";
    TWFMform* w = newWindow();
    ASSERT_TRUE(openLink(*w, ifUsb, "5"));
    std::string expected = "QUORVEX,QVA3420x";
    EXPECT_TRUE(TTransferSession(*w).CheckIdentityUsb(*PWForm1->Transfers.link, expected, false));
    EXPECT_EQ(ui.messages(), std::vector<std::string>{kUploadError + "USB"});
    EXPECT_EQ(usb.calls("AWG_Close"), 1);
}

TEST_F(LinkFormsTest, SerialMismatchShowsTheReplyWithoutItsLineFeed) {
    sim::Instrument inst(sim::Family::Scope, "TEKTRONIX,TDS 210,0,CF:91.1CT");
    sim::PtyAdapter pty(inst);
    platform::SerialPort port;
    ASSERT_TRUE(port.open(pty.path()));
    port.setTimeouts({0, 0, 5000, 0, 500}); // the reply comes, with its line feed
    PWForm1->Transfers.link = std::make_unique<SerialLink>(std::move(port));
    PWForm1->TransferSettings.dlType = pty.path();
    TWFMform* w = newWindow();
    std::string expected = "TEKTRONIX,TDS 220";
    EXPECT_TRUE(TTransferSession(*w).CheckIdentitySerial(*PWForm1->Transfers.link, expected, true));
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{kDownloadError + pty.path(),
                                        "The instrument reports itself as\nTEKTRONIX,TDS 210,0,"
                                        "CF:91.1CT\nbut the expected type is\nTEKTRONIX,TDS 220"}));
    EXPECT_FALSE(PWForm1->Transfers.link->isOpen());
}

TEST_F(LinkFormsTest, SerialSilenceFailsEvenWhenSkipped) {
    sim::Instrument inst(sim::Family::ArbDef, "QUORVEX,QVA3460");
    inst.setFaults(silentFaults());
    sim::PtyAdapter pty(inst);
    platform::SerialPort port;
    ASSERT_TRUE(port.open(pty.path()));
    port.setTimeouts({0, 0, 100, 0, 500});
    PWForm1->Transfers.link = std::make_unique<SerialLink>(std::move(port));
    PWForm1->TransferSettings.dlType = pty.path();
    setSkip(true, true);
    TWFMform* w = newWindow();
    std::string expected = "QUORVEX,QVA3460";
    EXPECT_TRUE(TTransferSession(*w).CheckIdentitySerial(*PWForm1->Transfers.link, expected, true));
    EXPECT_EQ(ui.messages(), std::vector<std::string>{kDownloadError + pty.path()});
}

TEST_F(LinkFormsTest, LanChecksFollowTheSameRules) {
    sim::Instrument inst(sim::Family::Maker, "QUORVEX, QVR6082/6162");
    sim::TcpAdapter server(inst);
    TWFMform* w = newWindow();
    {
        auto link = TcpLink::connect("127.0.0.1", server.portText(), PWForm1->Transfers.deadlines);
        ASSERT_TRUE(link);
        std::string expected = "QUORVEX, QVR6";
        EXPECT_FALSE(TTransferSession(*w).CheckIdentityLan(*link, expected, true));
    }
    PWForm1->TransferSettings.dlType = "LAN";
    inst.setIdentity("QUORVEX, QV7351A");
    auto link = TcpLink::connect("127.0.0.1", server.portText(), PWForm1->Transfers.deadlines);
    ASSERT_TRUE(link);
    std::string expected = "QUORVEX, QVR6";
    EXPECT_TRUE(TTransferSession(*w).CheckIdentityLan(*link, expected, true));
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{kDownloadError + "LAN",
                                        "The instrument reports itself as\nQUORVEX, QV7351A\nbut the "
                                        "expected type is\nQUORVEX, QVR6"}));
}

// An instrument that trickles its identity, each byte inside the wait for it, fails at
// the whole reply's deadline through the direction's failure routine.
TEST_F(LinkFormsTest, ATrickledLanReplyFailsAtItsDeadline) {
    sim::Instrument inst(sim::Family::Maker, "QUORVEX, QV7351A");
    sim::Faults f;
    f.byteInterval = 20ms;
    inst.setFaults(f);
    sim::TcpAdapter server(inst);
    TWFMform* w = newWindow();
    auto& s = PWForm1->TransferSettings;
    s.dlType = "LAN";
    s.dlIPAddress = "127.0.0.1";
    s.dlTCPPort = server.portText();
    PWForm1->Transfers.deadlines.tcpReply = 150ms; // 17 bytes at 20 ms cannot all come within it
    TTransferSession session(*w);
    ASSERT_TRUE(session.OpenLink(downloadJob(s, false, false)));
    std::string expected = "QUORVEX, QV7351A";
    EXPECT_TRUE(session.CheckIdentityLan(*PWForm1->Transfers.link, expected, true));
    EXPECT_EQ(ui.messages(), std::vector<std::string>{kDownloadError + "LAN"});
}

TEST_F(LinkFormsTest, LanConnectUsesTheRecordAndReportsARefusal) {
    sim::Instrument inst(sim::Family::Maker, "QUORVEX, QV7351A");
    TWFMform* w = newWindow();
    auto& s = PWForm1->TransferSettings;
    sim::RefusingPort refusing;
    s.dlIPAddress = "127.0.0.1";
    s.dlTCPPort = refusing.portText();
    w->ioTimer->start();
    EXPECT_FALSE(TTransferSession(*w).OpenLink(downloadJob(s, false, false)));
    EXPECT_FALSE(w->ioTimer->isActive());
    ASSERT_EQ(ui.events().size(), 1u);
    EXPECT_EQ(ui.events()[0].text, "Unable to connect to device.\n\nCheck IP Address and TCP Port settings.");
    EXPECT_EQ(ui.events()[0].icon, platform::Icon::Error);

    sim::TcpAdapter server(inst);
    s.ulIPAddress = "127.0.0.1";
    s.ulTCPPort = server.portText();
    ASSERT_TRUE(TTransferSession(*w).OpenLink(uploadJob(s, false)));
    std::string expected = "QUORVEX, QV7351A";
    EXPECT_FALSE(TTransferSession(*w).CheckIdentityLan(*PWForm1->Transfers.link, expected, false));
    EXPECT_EQ(ui.events().size(), 1u);
}
