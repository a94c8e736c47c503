#include "gige_library.h"

#include <limits>

#include "result_codes.h"

namespace kqge {

GigELibrary::GigELibrary(AdapterService& service, DriverPortSource& ports, CameraFactory& factory,
                         std::chrono::milliseconds ackTimeout)
    : service_(service), ports_(ports), ackTimeout_(ackTimeout), host_(registry_, factory) {}

GigELibrary::~GigELibrary() { (void)UnInitialize(); }

std::int32_t GigELibrary::Initialize() {
    std::lock_guard guard(lock_);
    if (adapters_) return result::kOk;
    const AdapterReply reply = service_.RequestAdapters();
    if (reply.status != result::kOk) return reply.status;
    auto adapters = std::make_unique<CNICManager>(CNICManager::kDriverDeviceName, ports_, &host_, ackTimeout_);
    const std::int32_t built = adapters->Init(reply.adapters);
    if (built != result::kOk) {
        registry_.Clear();
        return built;
    }
    firstIndex_ = registry_.FirstIndex();
    adapters_ = std::move(adapters);
    return result::kOk;
}

std::int32_t GigELibrary::UnInitialize() {
    std::lock_guard guard(lock_);
    registry_.Clear();
    adapters_.reset();
    return result::kOk;
}

bool GigELibrary::Initialized() const {
    std::lock_guard guard(lock_);
    return adapters_ != nullptr;
}

IGigECamera* GigELibrary::FindCamera(std::int32_t index) const {
    if (index < 0) return nullptr;
    const std::int64_t key = std::int64_t{firstIndex_} + index;
    if (key > std::numeric_limits<std::int32_t>::max()) return nullptr;
    return registry_.FindByIndex(static_cast<std::int32_t>(key));
}

std::int32_t GigELibrary::GetCameraCount(std::int32_t* count) const {
    std::lock_guard guard(lock_);
    if (!adapters_) return result::kNotInitialized;
    if (count == nullptr) return result::kNullOutput;
    *count = registry_.GetCount();
    return result::kOk;
}

}  // namespace kqge
