#pragma once
// The one rule for the timed-capture interval, both for the text the user
// typed in the video toolbar's interval box and for the seconds a camera is
// asked to capture at. The camera runs a timer of interval x 1000 ms and
// saves a snapshot on every tick, so an interval too small floods the disk
// and one too large (or not a number) overflows the timer.
#include <cstdint>
#include <optional>
#include <string_view>

// Shortest interval: ten snapshots a second.
inline constexpr double kMinTimedIntervalSeconds = 0.1;
// Longest interval whose milliseconds still fit the timer's signed 32 bits.
inline constexpr double kMaxTimedIntervalSeconds = 2147483.0;

// Finite and within the limits above.
bool IsTimedIntervalAllowed(double seconds);

// The timer interval for `seconds`: trunc(seconds x 1000) ms, or none when
// the interval is not allowed.
std::optional<std::int32_t> TimedCaptureIntervalMs(float seconds);

enum class TimedIntervalStatus { ok, empty, invalid };

struct TimedInterval {
    TimedIntervalStatus status = TimedIntervalStatus::invalid;
    float seconds = 0.0f;
};

// A decimal number of seconds, surrounding blanks allowed; anything else
// after the number, a non-finite value or one outside the limits is invalid.
TimedInterval ParseTimedInterval(std::wstring_view text);
