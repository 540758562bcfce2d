#pragma once
// The meeting point of the stub driver libraries and the simulated instruments. It is a
// small shared library of its own, so the stubs (opened with dlopen by the program under
// test) and the test process reach the same backends.

#define PWSIM_API extern "C" __attribute__((visibility("default")))

namespace plotwell::sim {

// What one GPIB call leaves behind: its result and the three status words.
struct GpibCall {
    int result = 0;
    int ibsta = 0;
    int iberr = 0;
    int ibcnt = 0;
};

class GpibBackend {
public:
    virtual ~GpibBackend() = default;
    virtual GpibCall ibdev(int board, int pad, int sad, int tmo, int eot, int eos) = 0;
    virtual GpibCall ibwrt(int ud, const void* buffer, long count) = 0;
    virtual GpibCall ibrd(int ud, void* buffer, long count) = 0;
    virtual GpibCall ibonl(int ud, int v) = 0;
    virtual GpibCall ibclr(int ud) = 0;
    virtual GpibCall ibtmo(int ud, int tmo) = 0;
    virtual GpibCall ibloc(int ud) = 0;
};

class UsbBackend {
public:
    virtual ~UsbBackend() = default;
    virtual int open(int address, int flags, int* error) = 0;
    virtual int close(int handle) = 0;
    virtual int write(int handle, const void* buffer, int count) = 0;
    virtual int read(int handle, void* buffer, int max) = 0;
    virtual int inQ(int handle) = 0;
    virtual int getDevices(int a, int b) = 0;
    virtual int version(int a, int b) = 0;
};

enum StubLibrary { kGpibStub = 0, kUsbStub = 1 };

} // namespace plotwell::sim

PWSIM_API void pwsim_set_gpib(plotwell::sim::GpibBackend* backend);
PWSIM_API plotwell::sim::GpibBackend* pwsim_gpib();
PWSIM_API void pwsim_set_usb(plotwell::sim::UsbBackend* backend);
PWSIM_API plotwell::sim::UsbBackend* pwsim_usb();
// The stubs report being mapped (+1) and unmapped (-1).
PWSIM_API void pwsim_stub_event(int library, int delta);
// Stub instances in memory now, and loads since the process started.
PWSIM_API int pwsim_stub_loaded(int library);
PWSIM_API int pwsim_stub_loads(int library);
