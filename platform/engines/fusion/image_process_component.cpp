#include "image_process_component.h"

#include "focus_stack.h"

CImageProcessComponent::~CImageProcessComponent() { Wait(); }

void CImageProcessComponent::Wait() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

int CImageProcessComponent::addFilePath(const std::filesystem::path& path) {
    Wait();
    if (!started_) {
        paths_.push_back(path);
    }
    return static_cast<int>(paths_.size());
}

int CImageProcessComponent::startProgressing() {
    Wait();
    if (started_ || paths_.size() < 2 || paths_.size() > static_cast<std::size_t>(FocusStack::kMaxInputs)) {
        return 0;
    }
    std::vector<BgrImage> inputs(paths_.size());
    for (std::size_t i = 0; i < paths_.size(); ++i) {
        if (!LoadBgrImage(paths_[i], inputs[i]) || !inputs[i].SameSize(inputs[0])) {
            return 0;
        }
    }
    started_ = true;
    inputs_ = std::move(inputs);
    step_.store(0, std::memory_order_relaxed);
    running_.store(true, std::memory_order_release);
    worker_ = std::thread([this] { Fuse(); });
    return 1;
}

void CImageProcessComponent::Fuse() {
    const int width = inputs_[0].width;
    const int height = inputs_[0].height;
    FocusStack stack;
    stack.Reset(width, height);
    std::vector<BgrView> views(inputs_.begin(), inputs_.end());
    const int steps = static_cast<int>(views.size()) + 1;
    for (std::size_t i = 0; i < views.size(); ++i) {
        stack.Add(views[i]);
        step_.store(static_cast<int>((i + 1) * 100 / static_cast<std::size_t>(steps)), std::memory_order_relaxed);
    }
    BgrImage fused;
    fused.Resize(width, height);
    if (stack.Compose(views, fused.pixels)) {
        result_ = std::move(fused);
    }
    inputs_.clear();
    step_.store(100, std::memory_order_relaxed);
    running_.store(false, std::memory_order_release);
}

std::span<const std::uint8_t> CImageProcessComponent::getDstImage(int& width, int& height) {
    Wait();
    width = result_.width;
    height = result_.height;
    return result_.pixels;
}
