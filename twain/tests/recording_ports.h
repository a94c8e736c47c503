#pragma once
// Camera and host ports that record every call as one line of text, so a
// test states the whole effect of a parameter change in order.

#include <cstdio>
#include <string>
#include <vector>

#include "device_ports.h"

namespace twain::test {

inline std::string Describe(const kq::CapInfo& r) {
    char text[128];
    std::snprintf(text, sizeof text, "cap %ux%u at %u,%u exp %u gain %u ctl 0x%02x", r.width, r.height, r.columnStart,
                  r.rowStart, r.exposure, r.gain[0], r.control);
    return text;
}

inline std::string Describe(const ViewPlacement& p) {
    char text[96];
    std::snprintf(text, sizeof text, "start view %s %d,%d %dx%d", p.ownWindow ? "own" : "child", p.x, p.y, p.width,
                  p.height);
    return text;
}

struct Calls {
    std::vector<std::string> lines;
    void Add(std::string line) { lines.push_back(std::move(line)); }
    template <class First, class... Rest>
    void Add(const char* format, First first, Rest... rest) {
        char text[128];
        std::snprintf(text, sizeof text, format, first, rest...);
        lines.emplace_back(text);
    }
};

class RecordingCamera final : public CameraPort {
public:
    explicit RecordingCamera(Calls& calls) : calls_(calls) {}
    void SetCapInfo(const kq::CapInfo& record) override {
        last = record;
        calls_.Add(Describe(record));
    }
    void SetWhiteBalanceGain(GainChannel channel, std::int32_t gain) override {
        calls_.Add("gain %c %d", "RGB"[static_cast<int>(channel)], gain);
    }
    void SetContrast(std::int32_t value) override { calls_.Add("contrast %d", value); }
    void SetColorMode(std::int32_t mode) override { calls_.Add("colour %d", mode); }
    void SetFlip(std::int32_t flip) override { calls_.Add("flip %d", flip); }
    void SetHdr(std::int32_t on) override { calls_.Add("hdr %d", on); }
    void SetColorAdjust(std::int32_t value) override { calls_.Add("colour adjust %d", value); }
    void SetGamma(std::int32_t index) override { calls_.Add("gamma %d", index); }
    void SetVideoSize(std::int32_t width, std::int32_t height) override {
        calls_.Add("video size %dx%d", width, height);
    }
    void SetScrollOffset(std::int32_t x, std::int32_t y) override { calls_.Add("scroll offset %d,%d", x, y); }
    void StartView(const ViewPlacement& placement) override { calls_.Add(Describe(placement)); }
    void StopView() override { calls_.Add("stop view"); }
    void RunWhiteBalanceOnce() override { calls_.Add("awb once"); }
    void StopWhiteBalance() override { calls_.Add("awb off"); }
    void RunExposureOnce() override { calls_.Add("ae once"); }
    void StopExposure() override { calls_.Add("ae off"); }

    kq::CapInfo last;

private:
    Calls& calls_;
};

class RecordingHost final : public HostPort {
public:
    explicit RecordingHost(Calls& calls) : calls_(calls) {}
    void Report(std::uint32_t id, std::int32_t value) override {
        calls_.Add("report %u: %d | %d << 16", id, value & 0xFFFF, static_cast<std::int32_t>(value) >> 16);
    }
    void ResetScrollBars(const ScrollBarLayout& l) override {
        calls_.Add("bars %s %d %d%s", l.enabled ? "on" : "off", l.horizontalRange, l.verticalRange,
                   l.paintBlack ? " black" : "");
    }
    void FocusPreview() override { calls_.Add("focus"); }
    void ShowError(const char* text) override { calls_.Add(std::string("error ") + text); }
    void StartExposureTimer(std::int32_t periodMs) override { calls_.Add("timer %d ms", periodMs); }
    void StopExposureTimer() override { calls_.Add("timer off"); }
    void TraceHeightChange() override { calls_.Add("trace"); }

private:
    Calls& calls_;
};

}  // namespace twain::test
