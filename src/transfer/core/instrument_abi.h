#pragma once
// The calling interface of the two instrument driver libraries, shared by the program
// and by any replacement library (the test stubs implement exactly these signatures).
// x86-64 Linux has one calling convention, so the Windows standard-call names reduce
// to the plain names below.

extern "C" {

// GPIB (NI-488.2 style). Status, error and count words are data symbols of the library.
using GpibIbclr = int (*)(int ud);
using GpibIbdev = int (*)(int board, int pad, int sad, int tmo, int eot, int eos);
using GpibIbonl = int (*)(int ud, int v);
using GpibIbrd = int (*)(int ud, void* buffer, long count);
using GpibIbtmo = int (*)(int ud, int tmo);
using GpibIbloc = int (*)(int ud);
using GpibIbwrt = int (*)(int ud, const void* buffer, long count);

// USB generator driver.
using UsbAwgVersion = int (*)(int a, int b);
using UsbAwgGetDevices = int (*)(int a, int b);
using UsbAwgOpen = int (*)(int address, int flags, int* error);
using UsbAwgClose = int (*)(int handle);
using UsbAwgWrite = int (*)(int handle, const void* buffer, int count);
using UsbAwgInQ = int (*)(int handle);
using UsbAwgRead = int (*)(int handle, void* buffer, int max);
}

namespace plotwell::transfer {

// Bits of the GPIB status word.
inline constexpr int kGpibErr = 0x8000;
inline constexpr int kGpibEnd = 0x2000;
// Time-out codes of ibdev/ibtmo used by the transfers.
inline constexpr int kGpibT10s = 13;
inline constexpr int kGpibT100s = 15;
// Flags passed to AWG_Open.
inline constexpr int kUsbOpenFlags = 0x200000;

} // namespace plotwell::transfer
