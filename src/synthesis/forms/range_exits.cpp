#include "synthesis/forms/range_exits.h"

#include "platform/numeric_field.h"
#include "workspace/forms/opdialog.h"
#include "workspace/forms/wfmchild.h"

#include <optional>

namespace plotwell::synthesis {

namespace {
// The number that leaving `field` acts on, or nullopt when the rule lets the exit pass.
std::optional<int32_t> leftValue(platform::NumericField& field, ExitRule rule) {
    return rule == ExitRule::Always ? std::optional(field.intValue()) : field.takeEdit();
}
} // namespace

bool ReleaseStart(TOperationForm& dialog, platform::NumericField& start) {
    dialog.StartPoint = start.intValue();
    const int32_t capped = platform::startOnRelease(dialog.StartPoint, dialog.EndPoint);
    if (capped == dialog.StartPoint)
        return false;
    dialog.StartPoint = capped;
    start.show(capped);
    return true;
}

bool LeaveStart(TOperationForm& dialog, platform::NumericField& start, ExitRule rule, int32_t lastPoint) {
    const std::optional<int32_t> typed = leftValue(start, rule);
    if (!typed)
        return false;
    dialog.StartPoint = platform::startOnExit(*typed, lastPoint);
    start.show(dialog.StartPoint);
    if (dialog.Target)
        dialog.Target->Doc.SelectionStart = dialog.StartPoint;
    return true;
}

bool LeaveEnd(TOperationForm& dialog, platform::NumericField& end, ExitRule rule, int32_t lastPoint) {
    const std::optional<int32_t> typed = leftValue(end, rule);
    if (!typed)
        return false;
    dialog.EndPoint = platform::endOnExit(*typed, dialog.StartPoint, lastPoint);
    end.show(dialog.EndPoint);
    if (dialog.Target)
        dialog.Target->Doc.SelectionEnd = dialog.EndPoint;
    return true;
}

} // namespace plotwell::synthesis
