#include "grabbed_still.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "picture.h"

bool GrabbedStill::Arm(StillRequest request) {
    if (request.width <= 0 || request.height <= 0 || request.width > CPicture::kMaxSide ||
        request.height > CPicture::kMaxSide || request.imageType < 1 || request.imageType > 3) {
        return false;
    }
    if (state_.load(std::memory_order_acquire) != kIdle) {
        return false;
    }
    request_ = std::move(request);
    state_.store(kArmed, std::memory_order_release);
    return true;
}

void GrabbedStill::Withdraw() {
    int armed = kArmed;
    state_.compare_exchange_strong(armed, kIdle, std::memory_order_acq_rel);
}

StillOutcome GrabbedStill::OnFrame(std::span<const std::uint8_t> sample) {
    // Taken before the request is read, so that neither Withdraw nor Arm
    // can change it underneath.
    int armed = kArmed;
    if (!state_.compare_exchange_strong(armed, kWriting, std::memory_order_acq_rel)) {
        return {};
    }
    const std::size_t width = static_cast<std::size_t>(request_.width);
    const std::size_t height = static_cast<std::size_t>(request_.height);
    if (sample.size() < width * height * 3) {
        state_.store(kArmed, std::memory_order_release);
        return {StillOutcome::tooShort, {}, false};
    }
    StillOutcome outcome{StillOutcome::failed, request_.path, request_.notify};
    CPicture picture;
    if (picture.Create(request_.width, request_.height, 24, request_.imageType)) {
        // Both are bottom-up DIB rows; the copy stops at the shorter of the two.
        const std::size_t pictureBytes = picture.GetStride() * height;
        std::memcpy(picture.GetBits(0), sample.data(), std::min(pictureBytes, sample.size()));
        picture.SetJpegQuality(100);
        if (picture.Save(std::filesystem::path(request_.path), request_.imageType)) {
            outcome.kind = StillOutcome::saved;
        }
    }
    state_.store(kIdle, std::memory_order_release);
    return outcome;
}
