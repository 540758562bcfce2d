#include "sim/adapters.h"

#include "transfer/core/instrument_abi.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace plotwell::sim {

using transfer::kGpibEnd;
using transfer::kGpibErr;

std::string gpibStubPath(const std::string& variant) {
    if (variant == "plain")
        return std::string(PWSIM_STUB_DIR) + "/libpwgpib_plain.so";
    return std::string(PWSIM_STUB_DIR) + "/libpwgpib" + (variant.empty() ? "" : "_no_" + variant) + ".so";
}

std::string usbStubPath(const std::string& variant) {
    return std::string(PWSIM_STUB_DIR) + "/libpwawgusb" + (variant.empty() ? "" : "_no_" + variant) + ".so";
}

const std::vector<std::string>& gpibStubNames() {
    static const std::vector<std::string> names = {"user_ibsta", "user_iberr", "user_ibcnt", "ibclr",
                                                   "ibdev",      "ibonl",      "ibrd",       "ibtmo",
                                                   "ibloc",      "ibwrt"};
    return names;
}

const std::vector<std::string>& usbStubRequiredNames() {
    static const std::vector<std::string> names = {"AWG_GetDevices", "AWG_Open", "AWG_Close",
                                                   "AWG_Write",      "AWG_InQ",  "AWG_Read"};
    return names;
}

namespace {
// GPIB time-out codes as durations (code 0 waits for ever).
std::chrono::microseconds gpibTimeout(int code) {
    static const long us[] = {0,       10,       30,       100,       300,       1000,
                              3000,    10000,    30000,    100000,    300000,    1000000,
                              3000000, 10000000, 30000000, 100000000, 300000000, 1000000000};
    if (code <= 0 || code > 17)
        return std::chrono::hours(24);
    return std::chrono::microseconds(us[code]);
}
constexpr int kCmpl = 0x100;
} // namespace

// ---- GPIB ------------------------------------------------------------------------------

GpibAdapter::GpibAdapter(Instrument& instrument, int board, int pad)
    : inst_(instrument), board_(board), pad_(pad) {
    pwsim_set_gpib(this);
}

GpibAdapter::~GpibAdapter() {
    if (pwsim_gpib() == this)
        pwsim_set_gpib(nullptr);
}

int GpibAdapter::calls(const std::string& name) const {
    const auto it = calls_.find(name);
    return it == calls_.end() ? 0 : it->second;
}

bool GpibAdapter::injected(const std::string& call, GpibCall& c) {
    ++calls_[call];
    const auto it = failures_.find(call);
    if (it == failures_.end())
        return false;
    c = {-1, kGpibErr | kCmpl, it->second, 0};
    failures_.erase(it);
    return true;
}

GpibCall GpibAdapter::ibdev(int board, int pad, int sad, int tmo, int eot, int eos) {
    inst_.control("ibdev " + std::to_string(board) + "," + std::to_string(pad) + "," + std::to_string(sad) +
                  "," + std::to_string(tmo) + "," + std::to_string(eot) + "," + std::to_string(eos));
    GpibCall c;
    if (injected("ibdev", c))
        return c;
    const int ud = nextUd_++;
    devices_[ud] = {board, pad, tmo};
    return {ud, kCmpl, 0, 0};
}

GpibCall GpibAdapter::ibwrt(int ud, const void* buffer, long count) {
    GpibCall c;
    if (injected("ibwrt", c))
        return c;
    const auto it = devices_.find(ud);
    if (it == devices_.end() || !it->second.online || count < 0)
        return {-1, kGpibErr | kCmpl, kEarg, 0};
    if (it->second.board != board_ || it->second.pad != pad_ || inst_.dropped())
        return {-1, kGpibErr | kCmpl, kEnol, 0};
    inst_.receive(std::string_view(static_cast<const char*>(buffer), std::size_t(count)));
    return {kCmpl, kCmpl, 0, int(count)};
}

GpibCall GpibAdapter::ibrd(int ud, void* buffer, long count) {
    GpibCall c;
    if (injected("ibrd", c))
        return c;
    const auto it = devices_.find(ud);
    if (it == devices_.end() || !it->second.online || count < 0)
        return {-1, kGpibErr | kCmpl, kEarg, 0};
    if (it->second.board != board_ || it->second.pad != pad_)
        return {-1, kGpibErr | kCmpl, kEnol, 0};
    if (inst_.ready() == 0) {
        // A reply due within the device's time-out is waited for; a later one is not.
        const auto due = inst_.nextDue();
        if (!due || *due - SimClock::now() > gpibTimeout(it->second.tmo))
            return {-1, kGpibErr | kCmpl, inst_.dropped() ? kEnol : kEabo, 0};
        std::this_thread::sleep_until(*due);
    }
    const std::string got = inst_.take(std::size_t(count));
    std::memcpy(buffer, got.data(), got.size());
    const bool end = inst_.ready() == 0 || (!got.empty() && got.back() == '\n');
    return {kCmpl | (end ? kGpibEnd : 0), kCmpl | (end ? kGpibEnd : 0), 0, int(got.size())};
}

GpibCall GpibAdapter::ibonl(int ud, int v) {
    inst_.control("ibonl " + std::to_string(ud) + "," + std::to_string(v));
    ++calls_["ibonl"];
    const auto it = devices_.find(ud);
    if (it == devices_.end())
        return {-1, kGpibErr, kEarg, 0};
    it->second.online = v != 0;
    return {kCmpl, kCmpl, 0, 0};
}

GpibCall GpibAdapter::ibclr(int ud) {
    inst_.control("ibclr " + std::to_string(ud));
    ++calls_["ibclr"];
    return {kCmpl, kCmpl, 0, 0};
}

GpibCall GpibAdapter::ibtmo(int ud, int tmo) {
    inst_.control("ibtmo " + std::to_string(ud) + "," + std::to_string(tmo));
    ++calls_["ibtmo"];
    const auto it = devices_.find(ud);
    if (it == devices_.end())
        return {-1, kGpibErr, kEarg, 0};
    it->second.tmo = tmo;
    return {kCmpl, kCmpl, 0, 0};
}

GpibCall GpibAdapter::ibloc(int ud) {
    inst_.control("ibloc " + std::to_string(ud));
    ++calls_["ibloc"];
    return {kCmpl, kCmpl, 0, 0};
}

// ---- USB -------------------------------------------------------------------------------

UsbAdapter::UsbAdapter(Instrument& instrument, int address) : inst_(instrument), address_(address) {
    pwsim_set_usb(this);
}

UsbAdapter::~UsbAdapter() {
    if (pwsim_usb() == this)
        pwsim_set_usb(nullptr);
}

int UsbAdapter::calls(const std::string& name) const {
    const auto it = calls_.find(name);
    return it == calls_.end() ? 0 : it->second;
}

int UsbAdapter::open(int address, int flags, int* error) {
    ++calls_["AWG_Open"];
    inst_.control("AWG_Open " + std::to_string(address) + "," + std::to_string(flags));
    int e = openError_;
    if (e == 0 && address != address_)
        e = -3; // no device at that address
    if (error)
        *error = e;
    if (e != 0)
        return 0;
    int h = nextHandle_;
    if (reuseHandles_) {
        h = 1;
        while (handles_.count(h) && handles_[h])
            ++h;
    } else {
        ++nextHandle_;
    }
    handles_[h] = true;
    return h;
}

int UsbAdapter::close(int handle) {
    ++calls_["AWG_Close"];
    inst_.control("AWG_Close " + std::to_string(handle));
    auto it = handles_.find(handle);
    if (it == handles_.end() || !it->second) {
        ++repeatedCloses_;
        return -1;
    }
    it->second = false;
    return 0;
}

int UsbAdapter::write(int handle, const void* buffer, int count) {
    ++calls_["AWG_Write"];
    const auto it = handles_.find(handle);
    if (it == handles_.end() || !it->second || count < 0)
        return -6;
    if (inst_.dropped())
        return 0;
    const int taken = inst_.faults().shortWrites && count > 0 ? count - 1 : count;
    inst_.receive(std::string_view(static_cast<const char*>(buffer), std::size_t(taken)));
    return taken;
}

int UsbAdapter::read(int handle, void* buffer, int max) {
    ++calls_["AWG_Read"];
    const auto it = handles_.find(handle);
    if (it == handles_.end() || !it->second || max < 0)
        return -4;
    const std::string got = inst_.take(std::size_t(max));
    if (got.empty())
        return inst_.dropped() ? -5 : 0;
    std::memcpy(buffer, got.data(), got.size());
    return int(got.size());
}

int UsbAdapter::inQ(int) {
    ++calls_["AWG_InQ"];
    return int(inst_.ready());
}

int UsbAdapter::getDevices(int, int) {
    ++calls_["AWG_GetDevices"];
    return 1;
}

int UsbAdapter::version(int, int) {
    ++calls_["AWG_Version"];
    return 0x0100;
}

} // namespace plotwell::sim
