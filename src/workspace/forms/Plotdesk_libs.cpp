#include "workspace/forms/Plotdesk.h"

#include "transfer/core/instrument_libraries.h"

bool TPWForm1::LoadGpibLibrary() { return false; }
bool TPWForm1::LoadUsbLibrary() { return false; }
void TPWForm1::FreeLibraries() { Libraries.reset(); }
