#include "transfer/core/library_links.h"

#include "platform/posix/sleeper.h"

#include <algorithm>
#include <climits>

namespace plotwell::transfer {

// ---- GPIB ------------------------------------------------------------------------------

std::unique_ptr<GpibLink> GpibLink::open(const GpibEntryPoints& entry, int board, int pad, int tmo,
                                         const LinkDeadlines& deadlines) {
    if (!entry.ibdev)
        return nullptr;
    const int ud = entry.ibdev(board, pad, 0, tmo, 0, 0);
    if (ud < 0)
        return nullptr;
    return std::make_unique<GpibLink>(entry, ud, deadlines);
}

IoResult GpibLink::write(const void* data, std::size_t n) {
    if (!open_)
        return {IoStatus::Error, 0, "ibwrt", 0};
    e_.ibwrt(ud_, data, long(n));
    if (failed())
        return {IoStatus::Error, 0, "ibwrt", *e_.user_iberr};
    const std::size_t count = std::size_t(std::clamp<long>(*e_.user_ibcnt, 0, long(n)));
    return {count == n ? IoStatus::Ok : IoStatus::Short, count};
}

IoResult GpibLink::read(void* data, std::size_t max) {
    if (!open_)
        return {IoStatus::Error, 0, "ibrd", 0};
    e_.ibrd(ud_, data, long(max));
    if (failed())
        return {IoStatus::Error, 0, "ibrd", *e_.user_iberr};
    // A driver that claims more than was asked for is not believed.
    return {IoStatus::Ok, std::size_t(std::clamp<long>(*e_.user_ibcnt, 0, long(max)))};
}

IoResult GpibLink::readReply(std::string& reply, std::size_t gpibCount) {
    reply.assign(std::min(gpibCount, kMaxReply), '\0');
    IoResult r = read(reply.data(), reply.size());
    reply.resize(r.count);
    return r;
}

void GpibLink::close() {
    if (!open_)
        return;
    open_ = false;
    e_.ibonl(ud_, 0);
}

void GpibLink::clear() {
    if (open_)
        e_.ibclr(ud_);
}

void GpibLink::setTimeout(int code) {
    if (open_)
        e_.ibtmo(ud_, code);
}

// ---- USB -------------------------------------------------------------------------------

std::unique_ptr<UsbLink> UsbLink::open(InstrumentLibraries& libs, int address, int& error,
                                       const LinkDeadlines& deadlines) {
    const int handle = libs.openUsb(address, error);
    if (error != 0)
        return nullptr;
    return std::make_unique<UsbLink>(libs, handle, deadlines);
}

IoResult UsbLink::write(const void* data, std::size_t n) {
    if (!isOpen() || n > std::size_t(INT_MAX))
        return {IoStatus::Error, 0, "AWG_Write", -7};
    const int r = libs_.usb().AWG_Write(handle_, data, int(n));
    if (r != int(n))
        return {IoStatus::Error, std::size_t(std::max(r, 0)), "AWG_Write", -7};
    return {IoStatus::Ok, n};
}

IoResult UsbLink::read(void* data, std::size_t max) {
    if (!isOpen())
        return {IoStatus::Error, 0, "AWG_Read", -5};
    const int ask = int(std::min<std::size_t>(max, INT_MAX));
    // The driver answers 0 while nothing is waiting; poll until the deadline.
    auto& clock = platform::clock();
    const auto deadline = clock.now() + deadlines().usbReply;
    for (;;) {
        const int r = libs_.usb().AWG_Read(handle_, data, ask);
        if (r < 0)
            return {IoStatus::Error, 0, "AWG_Read", r};
        if (r > 0)
            return {IoStatus::Ok, std::size_t(std::min(r, ask))};
        if (clock.now() >= deadline)
            return {IoStatus::Timeout, 0};
        clock.sleep(std::chrono::milliseconds(1));
    }
}

IoResult UsbLink::readReply(std::string& reply, std::size_t) {
    // Reads of up to 100 bytes are appended until the last byte is a line feed; the
    // deadline covers the whole reply.
    constexpr std::size_t kChunk = 100;
    reply.clear();
    if (!isOpen())
        return {IoStatus::Error, 0, "AWG_Read", -5};
    auto& clock = platform::clock();
    const auto deadline = clock.now() + deadlines().usbReply;
    char buf[kChunk];
    while (reply.empty() || reply.back() != '\n') {
        if (reply.size() >= kMaxReply)
            return {IoStatus::Overflow, reply.size()};
        const int ask = int(std::min(kChunk, kMaxReply - reply.size()));
        const int r = libs_.usb().AWG_Read(handle_, buf, ask);
        if (r < 0)
            return {IoStatus::Error, reply.size(), "AWG_Read", r};
        if (r > 0) {
            reply.append(buf, std::size_t(std::min(r, ask)));
            continue;
        }
        if (clock.now() >= deadline)
            return {IoStatus::Timeout, reply.size()};
        clock.sleep(std::chrono::milliseconds(1));
    }
    return {IoStatus::Ok, reply.size()};
}

} // namespace plotwell::transfer
