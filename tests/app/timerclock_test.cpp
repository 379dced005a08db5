// The timer's counters: countdowns that fire once and restart, the seconds clock, the blink and
// the start latch.
#include "app/timerclock.h"

#include <gtest/gtest.h>

namespace {

using tarmel::AdvanceStartLatch;
using tarmel::TickCounters;
using tarmel::TimerState;

// Ticks (1-based) on which the search countdown fired.
std::vector<int> SearchFirings(TimerState& state, int ticks) {
    std::vector<int> fired;
    for (int i = 1; i <= ticks; ++i)
        if (TickCounters(state).search) fired.push_back(i);
    return fired;
}

TEST(TimerClock, CountdownFiresOnceAfterItsTicks) {
    for (int n : {1, 2, 5}) {
        SCOPED_TRACE(n);
        TimerState state;
        state.SearchCountdown = n;
        EXPECT_EQ(SearchFirings(state, 3 * n + 2), std::vector<int>{n});
        EXPECT_EQ(state.SearchCountdown, 0);
    }
}

TEST(TimerClock, SettingACountdownAgainRestartsTheDelay) {
    TimerState state;
    state.DuplicateCheckCountdown = 4;
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(TickCounters(state).duplicateCheck);
    state.DuplicateCheckCountdown = 4;  // typed again before it ran out
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(TickCounters(state).duplicateCheck);
    EXPECT_TRUE(TickCounters(state).duplicateCheck);
    EXPECT_FALSE(TickCounters(state).duplicateCheck);
}

TEST(TimerClock, BothCountdownsRunSideBySide) {
    TimerState state;
    state.SearchCountdown = 2;
    state.DuplicateCheckCountdown = 3;
    EXPECT_FALSE(TickCounters(state).search);
    const auto second = TickCounters(state);
    EXPECT_TRUE(second.search);
    EXPECT_FALSE(second.duplicateCheck);
    EXPECT_TRUE(TickCounters(state).duplicateCheck);
}

TEST(TimerClock, FourTicksMakeOneSecond) {
    TimerState state;
    std::vector<int> seconds;
    for (int i = 1; i <= 12; ++i)
        if (TickCounters(state).secondPassed) seconds.push_back(i);
    EXPECT_EQ(seconds, (std::vector<int>{4, 8, 12}));
    EXPECT_EQ(state.TickCount, 0);
}

TEST(TimerClock, BlinkTogglesEveryThirdTickWhileOn) {
    TimerState state;
    EXPECT_FALSE(TickCounters(state).toggleShape);
    state.BlinkOn = true;
    std::vector<int> toggles;
    for (int i = 1; i <= 7; ++i)
        if (TickCounters(state).toggleShape) toggles.push_back(i);
    EXPECT_EQ(toggles, (std::vector<int>{1, 4, 7}));
}

TEST(TimerClock, StartLatchOpensOnceAllTwelveParametersAreSet) {
    TimerState state;
    EXPECT_FALSE(AdvanceStartLatch(state, 11));
    EXPECT_EQ(state.StartLatch, 0);
    EXPECT_TRUE(AdvanceStartLatch(state, 12));
    // Later ticks, and a reload that brings ParamCount to 24, never open it again.
    EXPECT_FALSE(AdvanceStartLatch(state, 12));
    EXPECT_FALSE(AdvanceStartLatch(state, 24));
    EXPECT_EQ(state.StartLatch, 3);
}

}  // namespace
