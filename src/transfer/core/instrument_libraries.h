#pragma once
// The GPIB and USB libraries loaded at run time, with their entry points.

namespace plotwell::transfer {

class InstrumentLibraries {
public:
    virtual ~InstrumentLibraries() = default;
};

} // namespace plotwell::transfer
