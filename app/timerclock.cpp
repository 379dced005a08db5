// The counters of the 250 ms timer.
#include "app/timerclock.h"

namespace tarmel {

namespace {
// Counts a pending countdown down; true on the tick it reaches 0.
bool RunsOut(int& countdown) {
    if (countdown == 0) return false;
    return --countdown == 0;
}
}  // namespace

TickServices TickCounters(TimerState& state) {
    TickServices services;
    if (++state.TickCount == 4) {
        state.TickCount = 0;
        services.secondPassed = true;
    }
    services.duplicateCheck = RunsOut(state.DuplicateCheckCountdown);
    services.search = RunsOut(state.SearchCountdown);
    if (state.BlinkOn) services.toggleShape = ++state.BlinkTicks % 3 == 1;
    return services;
}

bool AdvanceStartLatch(TimerState& state, int paramCount) {
    if (paramCount < 12) return false;
    return ++state.StartLatch == 1;
}

}  // namespace tarmel
