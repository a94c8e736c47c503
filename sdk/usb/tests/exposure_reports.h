#pragma once
// The values an automatic exposure or white-balance callback reports, in
// order; tests wait for them with a bounded wait.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "core/callbacks.h"

namespace kq::test {

struct ExposureReports {
    std::mutex lock;
    std::condition_variable came;
    std::vector<int> values;
    std::vector<int> seconds;  // the callback's second value
    static void KQ_STDCALL On(std::int32_t v1, std::int32_t v2, void* context) {
        auto* self = static_cast<ExposureReports*>(context);
        std::lock_guard<std::mutex> hold(self->lock);
        self->values.push_back(v1);
        self->seconds.push_back(v2);
        self->came.notify_all();
    }
};

}  // namespace kq::test
