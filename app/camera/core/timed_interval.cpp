#include "timed_interval.h"

#include <cmath>
#include <cwchar>
#include <string>

namespace {
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
}  // namespace

bool IsTimedIntervalAllowed(double seconds) {
    return std::isfinite(seconds) && seconds >= kMinTimedIntervalSeconds && seconds <= kMaxTimedIntervalSeconds;
}

std::optional<std::int32_t> TimedCaptureIntervalMs(float seconds) {
    if (!IsTimedIntervalAllowed(seconds)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<double>(seconds) * 1000.0);
}

TimedInterval ParseTimedInterval(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    if (text.empty()) {
        return {TimedIntervalStatus::empty, 0.0f};
    }
    const std::wstring copy(text);
    wchar_t* end = nullptr;
    const double value = std::wcstod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || !IsTimedIntervalAllowed(value)) {
        return {TimedIntervalStatus::invalid, 0.0f};
    }
    return {TimedIntervalStatus::ok, static_cast<float>(value)};
}
