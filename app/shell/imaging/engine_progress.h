#pragma once
// A fusion or stitching engine's progress as the busy dialog asks it.
#include "wait_progress_dlg.h"

template <typename Engine>
class CEngineProgress final : public IEngineProgress {
public:
    explicit CEngineProgress(const Engine& engine) : engine_(engine) {}
    int getResultStation() override { return 0; }
    int getCurrentNum() override { return 0; }
    int getObjCounts() override { return 0; }
    int IsProgressing() override { return engine_.IsProgressing(); }
    int getProgressStep() override { return engine_.getProgressStep(); }

private:
    const Engine& engine_;
};
