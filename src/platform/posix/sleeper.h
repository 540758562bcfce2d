#pragma once
// The time seam: pauses and deadlines go through Clock, which tests replace.

#include <chrono>

namespace plotwell::platform {

class Clock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    virtual ~Clock() = default;
    virtual TimePoint now() const = 0;
    virtual void sleep(std::chrono::milliseconds ms) = 0;
};

// The clock in use; the real steady clock unless a test installed another.
Clock& clock();
void setClock(Clock* c);

inline void sleepMs(long ms) {
    clock().sleep(std::chrono::milliseconds(ms));
}

} // namespace plotwell::platform
