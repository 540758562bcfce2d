#pragma once
// The Start and End fields of a dialog that acts on a range of a window's points: what a key
// release and leaving a field do with the dialog's StartPoint and EndPoint. Whether a field's
// exit may act at all, and what the window shows after it, are the dialog's own.

#include <cstdint>

class TOperationForm;

namespace plotwell::platform {
class NumericField;
}

namespace plotwell::synthesis {

// Whether leaving a field acts every time or only after the user changed it.
enum class ExitRule { Always, WhenModified };

// A key released in the Start field: the typed start is kept, pulled down to the end when it
// lies beyond it. True when it was pulled down; the field then shows the end.
bool ReleaseStart(TOperationForm& dialog, platform::NumericField& start);

// Leaving the Start field: the start is brought within the points up to `lastPoint`, kept,
// shown, and made the target window's selection start. False, with nothing done, when the
// rule wants a change that the user did not make.
bool LeaveStart(TOperationForm& dialog, platform::NumericField& start, ExitRule rule, int32_t lastPoint);
// The same for the End field; the end is also kept at or past the start.
bool LeaveEnd(TOperationForm& dialog, platform::NumericField& end, ExitRule rule, int32_t lastPoint);

} // namespace plotwell::synthesis
