#include "sim/hub.h"

#include <atomic>

namespace {
std::atomic<plotwell::sim::GpibBackend*> gpib{nullptr};
std::atomic<plotwell::sim::UsbBackend*> usb{nullptr};
std::atomic<int> loaded[2];
std::atomic<int> loads[2];
} // namespace

void pwsim_set_gpib(plotwell::sim::GpibBackend* backend) {
    gpib = backend;
}
plotwell::sim::GpibBackend* pwsim_gpib() {
    return gpib;
}
void pwsim_set_usb(plotwell::sim::UsbBackend* backend) {
    usb = backend;
}
plotwell::sim::UsbBackend* pwsim_usb() {
    return usb;
}

void pwsim_stub_event(int library, int delta) {
    if (library < 0 || library > 1)
        return;
    loaded[library] += delta;
    if (delta > 0)
        ++loads[library];
}
int pwsim_stub_loaded(int library) {
    return library == 0 || library == 1 ? loaded[library].load() : 0;
}
int pwsim_stub_loads(int library) {
    return library == 0 || library == 1 ? loads[library].load() : 0;
}
