#include "platform/posix/sleeper.h"

#include <thread>

namespace plotwell::platform {

namespace {
class RealClock : public Clock {
public:
    TimePoint now() const override { return std::chrono::steady_clock::now(); }
    void sleep(std::chrono::milliseconds ms) override { std::this_thread::sleep_for(ms); }
};
Clock* current = nullptr;
} // namespace

Clock& clock() {
    static RealClock real;
    return current ? *current : real;
}

void setClock(Clock* c) {
    current = c;
}

} // namespace plotwell::platform
