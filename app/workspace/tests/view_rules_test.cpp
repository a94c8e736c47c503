// The view's platform-free rules: the timed-capture interval and the
// background picture's place.
#include <gtest/gtest.h>

#include <string>

#include "background_placement.h"
#include "timed_interval.h"
#include "video_zoom.h"

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

TEST(PlaceBackgroundPicture, CentresAndShrinksButNeverEnlarges) {
    struct Case {
        int cw, ch, pw, ph;
        BackgroundPlacement expected;
    };
    const Case cases[] = {
        {400, 300, 100, 50, {150, 125, 100, 50}},  // smaller: kept at its size
        {400, 300, 800, 300, {0, 75, 400, 150}},   // too wide: half size
        {400, 300, 200, 600, {150, 0, 100, 300}},  // too tall: half size
        {100, 100, 300, 300, {0, 0, 100, 100}},   {0, 0, 10, 10, {0, 0, 0, 0}}, {400, 300, 0, 10, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const BackgroundPlacement p = PlaceBackgroundPicture(c.cw, c.ch, c.pw, c.ph);
        EXPECT_EQ(p.x, c.expected.x);
        EXPECT_EQ(p.y, c.expected.y);
        EXPECT_EQ(p.width, c.expected.width);
        EXPECT_EQ(p.height, c.expected.height);
    }
}

TEST(VideoZoom, IsTheDisplayedWidthOverTheVideoWidthWhenBothAreKnown) {
    EXPECT_FLOAT_EQ(VideoZoom(1280, 640).value(), 2.0f);
    EXPECT_FLOAT_EQ(VideoZoom(320, 640).value(), 0.5f);
    // No frame width yet, or nothing displayed: no zoom to divide by.
    for (const auto& [displayed, video] : {std::pair{640, 0}, std::pair{640, -4}, std::pair{0, 640}}) {
        EXPECT_FALSE(VideoZoom(displayed, video).has_value()) << displayed << " / " << video;
    }
}

}  // namespace
