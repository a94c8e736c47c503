// The KQSim_* test exports of the simulated-camera build (KQSim.h): plain C
// over the simulated cameras, so a client built with any compiler can drive
// them.

#include <algorithm>
#include <chrono>
#include <string>

#include "KQSim.h"
#include "simcam_library.h"

namespace {

using kq::simcam::Cameras;
using kq::simcam::SimStatus;

int Status(SimStatus status) {
    switch (status) {
    case SimStatus::ok: return KQSIM_OK;
    case SimStatus::badCamera: return KQSIM_BAD_ARGUMENT;
    case SimStatus::busy: return KQSIM_BUSY;
    case SimStatus::timedOut: return KQSIM_TIMED_OUT;
    }
    return KQSIM_BAD_ARGUMENT;
}

}  // namespace

extern "C" {

int KQAPI KQSim_LoadConfig(const wchar_t* path) {
    const std::filesystem::path file = path != nullptr ? std::filesystem::path(path) : kq::simcam::StartupConfigPath();
    auto cameras = kq::simcam::ReadSimulatedCameraFile(file);
    if (!cameras) {
        if (path != nullptr) return KQSIM_NO_FILE;
        cameras = kq::simcam::DefaultSimulatedCameras();
    }
    return Status(Cameras().Replace(std::move(*cameras)));
}

int KQAPI KQSim_Unplug(int camera) { return Status(Cameras().Unplug(camera)); }

int KQAPI KQSim_Replug(int camera) { return Status(Cameras().Replug(camera)); }

int KQAPI KQSim_SweepOnPlug(int on) {
    Cameras().SetSweepOnPlug(on != 0);
    return KQSIM_OK;
}

int KQAPI KQSim_FailNoticeRegistration(int fail) {
    kq::simcam::FailNoticeRegistration(fail != 0);
    return KQSIM_OK;
}

int KQAPI KQSim_FailOpen(int camera, int fail) { return Status(Cameras().FailOpen(camera, fail != 0)); }

int KQAPI KQSim_FailControl(unsigned int code, int times) {
    if (times < 0) return KQSIM_BAD_ARGUMENT;
    Cameras().FailControl(code, times);
    return KQSIM_OK;
}

int KQAPI KQSim_SetReadBudget(int camera, int frames) { return Status(Cameras().SetReadBudget(camera, frames)); }

int KQAPI KQSim_AllowFrames(int camera, int frames) { return Status(Cameras().AllowFrames(camera, frames)); }

int KQAPI KQSim_WaitForBlockedRead(int camera, int timeoutMs) {
    if (timeoutMs < 0) return KQSIM_BAD_ARGUMENT;
    return Status(Cameras().WaitForBlockedRead(camera, std::chrono::milliseconds(timeoutMs)));
}

int KQAPI KQSim_LastControlInput(unsigned int code, unsigned char* buffer, int bufferBytes, int* bytes) {
    if (bytes == nullptr || bufferBytes < 0 || (buffer == nullptr && bufferBytes > 0)) return KQSIM_BAD_ARGUMENT;
    const auto input = Cameras().LastControlInput(code);
    if (!input) return KQSIM_NO_RECORD;
    std::copy_n(input->begin(), std::min(input->size(), static_cast<std::size_t>(bufferBytes)), buffer);
    *bytes = static_cast<int>(input->size());
    return KQSIM_OK;
}

int KQAPI KQSim_OpenConnections(int* count) {
    if (count == nullptr) return KQSIM_BAD_ARGUMENT;
    *count = Cameras().OpenConnections();
    return KQSIM_OK;
}

}  // extern "C"
