// The one rule for the timed-capture interval: the text typed in the video
// toolbar and the seconds a camera is asked to capture at.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "timed_interval.h"

namespace {

struct IntervalCase {
    const wchar_t* text;
    TimedIntervalStatus status;
    float seconds;
};

TEST(ParseTimedInterval, AcceptsOnlyFiniteSecondsWithinTheTimersRange) {
    const IntervalCase cases[] = {
        {L"", TimedIntervalStatus::empty, 0},
        {L"   ", TimedIntervalStatus::empty, 0},
        {L"2.5", TimedIntervalStatus::ok, 2.5f},
        {L" 4 ", TimedIntervalStatus::ok, 4.0f},
        {L"0.1", TimedIntervalStatus::ok, 0.1f},
        {L"2147483", TimedIntervalStatus::ok, 2147483.0f},
        {L"0", TimedIntervalStatus::invalid, 0},
        {L"-1", TimedIntervalStatus::invalid, 0},
        {L"0.0001", TimedIntervalStatus::invalid, 0},  // would flood the disk
        {L"0.09", TimedIntervalStatus::invalid, 0},
        {L"1e12", TimedIntervalStatus::invalid, 0},  // milliseconds overflow the timer
        {L"2147484", TimedIntervalStatus::invalid, 0},
        {L"nan", TimedIntervalStatus::invalid, 0},
        {L"inf", TimedIntervalStatus::invalid, 0},
        {L"abc", TimedIntervalStatus::invalid, 0},
        {L"2s", TimedIntervalStatus::invalid, 0},
        {L"1,5", TimedIntervalStatus::invalid, 0},
    };
    for (const IntervalCase& c : cases) {
        const TimedInterval parsed = ParseTimedInterval(c.text);
        EXPECT_EQ(parsed.status, c.status) << std::wstring(c.text).size() << " chars";
        if (c.status == TimedIntervalStatus::ok) {
            EXPECT_FLOAT_EQ(parsed.seconds, c.seconds);
        }
    }
}

TEST(TimedCaptureIntervalMs, RefusesIntervalsTheTimerCannotRun) {
    struct Case {
        float seconds;
        std::optional<std::int32_t> ms;
    };
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {2.5f, 2500},
        {0.1f, 100},
        {1.0f, 1000},
        {2147483.0f, 2147483000},
        {0.0f, std::nullopt},
        {-0.0f, std::nullopt},
        {-2.5f, std::nullopt},
        {0.05f, std::nullopt},
        {2147484.0f, std::nullopt},  // milliseconds overflow the timer
        {1e30f, std::nullopt},
        {inf, std::nullopt},
        {-inf, std::nullopt},
        {std::nanf(""), std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(TimedCaptureIntervalMs(c.seconds), c.ms) << c.seconds;
}

// The toolbar's text and the camera agree on every interval the text accepts.
TEST(TimedCaptureIntervalMs, AcceptsEveryIntervalTheToolbarAccepts) {
    for (const wchar_t* text : {L"0.1", L"0.3", L"2147483", L"2147482.9", L"1.0000001"}) {
        const TimedInterval parsed = ParseTimedInterval(text);
        ASSERT_EQ(parsed.status, TimedIntervalStatus::ok);
        EXPECT_TRUE(TimedCaptureIntervalMs(parsed.seconds).has_value()) << parsed.seconds;
    }
}

}  // namespace
