#pragma once
// The image fusion engine (`CImageProcessComponent`): pictures of one scene
// at different focus planes, given by path, fused into one picture in which
// every pixel comes from the picture sharpest around it (FocusStack).
//
// startProgressing reads the pictures and then fuses on a worker thread;
// IsProgressing and getProgressStep answer at any time, every other call
// first waits for the worker, and destruction joins it. One engine serves
// one fusion: paths added after a start are refused.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <span>
#include <thread>
#include <vector>

#include "bgr_image.h"

class CImageProcessComponent {
public:
    CImageProcessComponent() = default;
    CImageProcessComponent(const CImageProcessComponent&) = delete;
    CImageProcessComponent& operator=(const CImageProcessComponent&) = delete;
    ~CImageProcessComponent();

    // Adds a picture to fuse; returns the number of paths held (the path is
    // not added once the engine has started).
    int addFilePath(const std::filesystem::path& path);
    // Reads every picture and starts fusing. 0 (nothing started) with fewer
    // than two pictures, one that cannot be read, pictures of differing
    // sizes, or when the engine has started before.
    int startProgressing();
    // Non-zero while the worker fuses.
    int IsProgressing() const { return running_.load(std::memory_order_acquire) ? 1 : 0; }
    // Percent done, 0 to 100.
    int getProgressStep() const { return step_.load(std::memory_order_relaxed); }
    // The fused picture: width x height x 3 bytes, BGR, rows top-down and
    // packed, owned by the engine; empty (and a size of 0 x 0) when there is
    // no result.
    std::span<const std::uint8_t> getDstImage(int& width, int& height);

private:
    void Wait();
    void Fuse();

    std::vector<std::filesystem::path> paths_;
    std::vector<BgrImage> inputs_;
    BgrImage result_;
    bool started_ = false;
    std::thread worker_;
    std::atomic<bool> running_{false};
    std::atomic<int> step_{0};
};
