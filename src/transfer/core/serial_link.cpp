#include "transfer/core/serial_link.h"

namespace plotwell::transfer {

IoResult SerialLink::write(const void* data, std::size_t n) {
    const long r = port_.write(data, n);
    if (r < 0)
        return {IoStatus::Error, 0};
    return {std::size_t(r) == n ? IoStatus::Ok : IoStatus::Short, std::size_t(r)};
}

IoResult SerialLink::read(void* data, std::size_t max) {
    const long r = port_.read(data, max);
    if (r < 0)
        return {IoStatus::Error, 0};
    return {IoStatus::Ok, std::size_t(r)};
}

IoResult SerialLink::checkConnected() {
    return {port_.hungUp() ? IoStatus::Error : IoStatus::Ok, 0};
}

IoResult SerialLink::readReply(std::string& reply, std::size_t) {
    return readLineBytewise(
        reply,
        [&](char& c) {
            const long r = port_.read(&c, 1);
            return r < 0 ? -1 : int(r);
        },
        true);
}

} // namespace plotwell::transfer
