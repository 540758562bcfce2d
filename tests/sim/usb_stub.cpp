// A replacement USB generator driver for tests: the six required calls and the version
// call under their plain names, each handed to the simulated instrument registered with
// the hub. Variants leave out one name (STUB_OMIT_<name>).

#include "sim/hub.h"

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {
__attribute__((constructor)) void loadedHere() {
    pwsim_stub_event(plotwell::sim::kUsbStub, +1);
}
__attribute__((destructor)) void unloadedHere() {
    pwsim_stub_event(plotwell::sim::kUsbStub, -1);
}
} // namespace

#ifndef STUB_OMIT_AWG_Version
EXPORT int AWG_Version(int a, int b) {
    auto* u = pwsim_usb();
    return u ? u->version(a, b) : 0;
}
#endif
#ifndef STUB_OMIT_AWG_GetDevices
EXPORT int AWG_GetDevices(int a, int b) {
    auto* u = pwsim_usb();
    return u ? u->getDevices(a, b) : 0;
}
#endif
#ifndef STUB_OMIT_AWG_Open
EXPORT int AWG_Open(int address, int flags, int* error) {
    auto* u = pwsim_usb();
    if (!u) {
        if (error)
            *error = -2; // no devices found
        return 0;
    }
    return u->open(address, flags, error);
}
#endif
#ifndef STUB_OMIT_AWG_Close
EXPORT int AWG_Close(int handle) {
    auto* u = pwsim_usb();
    return u ? u->close(handle) : 0;
}
#endif
#ifndef STUB_OMIT_AWG_Write
EXPORT int AWG_Write(int handle, const void* buffer, int count) {
    auto* u = pwsim_usb();
    return u ? u->write(handle, buffer, count) : -6;
}
#endif
#ifndef STUB_OMIT_AWG_InQ
EXPORT int AWG_InQ(int handle) {
    auto* u = pwsim_usb();
    return u ? u->inQ(handle) : 0;
}
#endif
#ifndef STUB_OMIT_AWG_Read
EXPORT int AWG_Read(int handle, void* buffer, int max) {
    auto* u = pwsim_usb();
    return u ? u->read(handle, buffer, max) : -5;
}
#endif
