#pragma once
// The instrument connection as the forms drive it: the start-up steps that list the serial
// ports, restore the stored interfaces and load the libraries they need, and the boxes
// that report a library, a port or a link that failed.

#include "transfer/core/session.h"
#include "transfer/core/transfer_settings.h"

// The program's instrument connection. The frame holds it for the program's life and
// installs it here when it is built; null before and after.
extern plotwell::transfer::TransferSession* TransferConnection;

// Start-up: appends the serial ports there are to both Type lists.
void ListComPorts();
// Start-up: looks the stored interfaces up in the Type lists (a text that is gone puts its
// side on GPIB0), checks a chosen serial port and decides which libraries are needed.
void RestoreInterfaces(plotwell::transfer::TransferSettings& s);
// Loads a library unless it is loaded, from the file the environment names; false after
// the box that names the file tried.
bool LoadGpibLibrary();
bool LoadUsbLibrary();
// The library files a load tries now.
plotwell::transfer::LibraryFiles LibraryFilesNow();
// Shows a failure the connection reported (nothing for none).
void ShowLinkError(const plotwell::transfer::LinkError& error);
