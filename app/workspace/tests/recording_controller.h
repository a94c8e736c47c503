#pragma once
// A controller that records the kind of each history step it pushes, then
// pushes it as any controller does.
#include <vector>

#include "image_controller.h"

namespace controller_testing {

class RecordingController : public CImageController {
public:
    using CImageController::CImageController;
    void PushHistory(int kind) override {
        kinds.push_back(kind);
        CImageController::PushHistory(kind);
    }
    std::vector<int> kinds;
};

}  // namespace controller_testing
