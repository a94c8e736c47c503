#pragma once
// The controller of the live video: measurement objects drawn over the
// running preview. It has no picture history folder of its own (sequence
// number -1) and names its pictures after the last snapshot.
#include <filesystem>

#include "image_controller.h"

class CLiveController : public CImageController {
public:
    CLiveController();

    // Deletes every object and the selection (the video was closed).
    void ClearAll();
    void SetSnapshotPath(const std::filesystem::path& path) { snapshotPath_ = path; }
    const std::filesystem::path& GetSnapshotPath() const { return snapshotPath_; }

private:
    std::filesystem::path snapshotPath_;
};
