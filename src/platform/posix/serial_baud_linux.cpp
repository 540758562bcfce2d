#include "platform/posix/serial_baud_linux.h"

// Only the kernel's own definitions here: <termios.h> must not be included in this file.
#include <asm/ioctls.h>
#include <asm/termbits.h>

extern "C" int ioctl(int fd, unsigned long request, ...) noexcept;

namespace plotwell::platform::detail {

bool customBaudRatesSupported(int baud) {
#if defined(BOTHER) && defined(TCSETS2)
    return baud > 0 && baud <= 4000000;
#else
    (void)baud;
    return false;
#endif
}

int setCustomBaudRate(int fd, int baud) {
#if defined(BOTHER) && defined(TCSETS2)
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return -1;
    t.c_cflag &= ~tcflag_t(CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = speed_t(baud);
    t.c_ospeed = speed_t(baud);
    return ioctl(fd, TCSETS2, &t);
#else
    (void)fd;
    (void)baud;
    return -1;
#endif
}

int customBaudRate(int fd) {
#if defined(TCGETS2)
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return -1;
    return int(t.c_ospeed);
#else
    (void)fd;
    return -1;
#endif
}

} // namespace plotwell::platform::detail
