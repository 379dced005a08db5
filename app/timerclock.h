// The counters of the 250 ms timer: seconds clock, the two deferred-action countdowns, the blink
// of the marker shape and the start latch. The window runs the services these decide.
#pragma once

namespace tarmel {

struct TimerState {
    int TickCount = 0;    // 0..3, four ticks make one second
    int DuplicateCheckCountdown = 0;  // ticks; 0 = nothing pending
    int SearchCountdown = 0;          // ticks; 0 = nothing pending
    bool BlinkOn = false;
    int BlinkTicks = 0;
    int StartLatch = 0;
};

// What one tick asks the window to do, in this order.
struct TickServices {
    bool secondPassed = false;    // the fourth tick: the idle-seconds clock of the server link
    bool duplicateCheck = false;  // the duplicate-client countdown ran out
    bool search = false;          // the search countdown ran out
    bool toggleShape = false;     // blink: show or hide the marker shape
};

// Steps 1 to 4 of a tick: the seconds clock (whose idle count the server link keeps, since
// every request resets it), both countdowns, the blink. A countdown set to n
// fires on the n-th tick after it was set; setting it again restarts the delay.
TickServices TickCounters(TimerState& state);

// Step 6 of a tick: the latch counts every tick once all twelve host parameters are set, and the
// start sequence runs when it has just become 1, so exactly once per window, even when ticks
// arrive while the start sequence waits for the server.
bool AdvanceStartLatch(TimerState& state, int paramCount);

}  // namespace tarmel
