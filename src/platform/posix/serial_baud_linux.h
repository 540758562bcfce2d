#pragma once
// Speeds without a termios constant (14400, 56000, 128000, ...), set through the Linux
// custom-rate interface. Kept apart because its kernel header clashes with <termios.h>.

namespace plotwell::platform::detail {

// True when the kernel interface can take `baud` as a custom rate.
bool customBaudRatesSupported(int baud);
// Sets both directions of `fd` to `baud`; 0, or -1 with errno.
int setCustomBaudRate(int fd, int baud);
// The output speed of `fd`, or -1.
int customBaudRate(int fd);

} // namespace plotwell::platform::detail
