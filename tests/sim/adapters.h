#pragma once
// The four ways a simulated instrument sits behind the program's real links: the stub
// GPIB and USB driver libraries (registered with the hub, called in the test's own
// thread), a TCP server on 127.0.0.1 and a pseudo-terminal pair (each with a thread).
//
//   sim::Instrument inst(sim::Family::ArbDef, "QUORVEX,QVA3460,0,1.23");
//   setenv("PLOTWELL_GPIB_LIBRARY", sim::gpibStubPath().c_str(), 1); // read by the frame;
//                                           // core tests pass the path to loadGpib()
//   sim::GpibAdapter bus(inst);             // board 0, primary address 5
//   ... run the program's GPIB transfer ...
//   EXPECT_EQ(inst.messages(), ...);        // parsed commands, blocks, value runs
//   EXPECT_EQ(inst.controls(), ...);        // "ibdev 0,5,0,15,0,0", "ibonl 1,0", ...
//
// USB: setenv("PLOTWELL_USB_LIBRARY", sim::usbStubPath()) and sim::UsbAdapter usb(inst, 5).
// LAN: sim::TcpAdapter server(inst); connect to 127.0.0.1:server.portText().
// RS-232: sim::PtyAdapter pty(inst) sets PLOTWELL_SERIAL_PORTS to its slave's path; the
// program lists and opens it like any port. Faults: inst.setFaults({...}).

#include "sim/hub.h"
#include "sim/instrument.h"

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace plotwell::sim {

// Stub library files built beside the tests. `variant` is "" for the full library, or
// the name a variant leaves out ("ibrd", "user_ibsta", "AWG_Version" ...), or "plain"
// for the GPIB library that uses the Linux names of its status words.
std::string gpibStubPath(const std::string& variant = "");
std::string usbStubPath(const std::string& variant = "");
// The names a GPIB and a USB variant can leave out (the USB list holds the required
// ones only).
const std::vector<std::string>& gpibStubNames();
const std::vector<std::string>& usbStubRequiredNames();

// GPIB error codes the stub sets.
inline constexpr int kEnol = 2; // no listener: the device is gone
inline constexpr int kEarg = 4; // a bad unit descriptor
inline constexpr int kEabo = 6; // the read timed out

class GpibAdapter : public GpibBackend {
public:
    explicit GpibAdapter(Instrument& instrument, int board = 0, int pad = 5);
    ~GpibAdapter() override;

    GpibCall ibdev(int board, int pad, int sad, int tmo, int eot, int eos) override;
    GpibCall ibwrt(int ud, const void* buffer, long count) override;
    GpibCall ibrd(int ud, void* buffer, long count) override;
    GpibCall ibonl(int ud, int v) override;
    GpibCall ibclr(int ud) override;
    GpibCall ibtmo(int ud, int tmo) override;
    GpibCall ibloc(int ud) override;

    // The next call of this name ("ibwrt", "ibrd", "ibdev") fails with ERR and `iberr`.
    void failNext(const std::string& call, int iberr) { failures_[call] = iberr; }
    int calls(const std::string& name) const;

private:
    struct Device {
        int board, pad, tmo;
        bool online = true;
    };
    bool injected(const std::string& call, GpibCall& c);
    Instrument& inst_;
    int board_, pad_;
    int nextUd_ = 1;
    std::map<int, Device> devices_;
    std::map<std::string, int> failures_;
    std::map<std::string, int> calls_;
};

class UsbAdapter : public UsbBackend {
public:
    explicit UsbAdapter(Instrument& instrument, int address = 5);
    ~UsbAdapter() override;

    int open(int address, int flags, int* error) override;
    int close(int handle) override;
    int write(int handle, const void* buffer, int count) override;
    int read(int handle, void* buffer, int max) override;
    int inQ(int handle) override;
    int getDevices(int a, int b) override;
    int version(int a, int b) override;

    // AWG_Open answers this error code (0: opens).
    void setOpenError(int code) { openError_ = code; }
    // AWG_Open hands out the lowest handle not open, as drivers that number their
    // devices do (a closed handle comes back on the next open).
    void reuseHandles(bool on) { reuseHandles_ = on; }
    int calls(const std::string& name) const;
    // Closes of a handle that was already closed.
    int repeatedCloses() const { return repeatedCloses_; }

private:
    Instrument& inst_;
    int address_;
    int openError_ = 0;
    int nextHandle_ = 100;
    bool reuseHandles_ = false;
    std::map<int, bool> handles_; // handle -> open
    std::map<std::string, int> calls_;
    int repeatedCloses_ = 0;
};

// A TCP server on 127.0.0.1 with an ephemeral port; one connection at a time.
class TcpAdapter {
public:
    explicit TcpAdapter(Instrument& instrument);
    ~TcpAdapter();
    int port() const { return port_; }
    std::string portText() const { return std::to_string(port_); }
    int connections() const { return connections_; }

private:
    void run();
    Instrument& inst_;
    int listen_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::thread thread_;
};

// A port on 127.0.0.1 that refuses connections: bound, so no one else gets it, but not
// listening.
class RefusingPort {
public:
    RefusingPort();
    ~RefusingPort();
    std::string portText() const { return std::to_string(port_); }

private:
    int fd_ = -1;
    int port_ = 0;
};

// A pseudo-terminal pair: the program opens the slave as its serial port; the
// instrument sits on the master. The slave's path is offered through
// PLOTWELL_SERIAL_PORTS while the adapter lives.
class PtyAdapter {
public:
    explicit PtyAdapter(Instrument& instrument);
    ~PtyAdapter();
    const std::string& path() const { return path_; }
    // The slave kept open here, for reading back the line settings the program chose.
    int slave() const { return slave_; }

private:
    void run();
    Instrument& inst_;
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace plotwell::sim
