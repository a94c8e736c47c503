#include "simulated_bus.h"

#include <algorithm>

namespace kq::sim {
namespace {

// The four hexadecimal digits after key in an instance id ("VID_", "PID_").
std::optional<std::uint16_t> HexAfter(std::u16string_view id, std::u16string_view key) {
    const auto at = id.find(key);
    if (at == std::u16string_view::npos || at + key.size() + 4 > id.size()) return std::nullopt;
    std::uint16_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const char16_t c = id[at + key.size() + i];
        int digit = -1;
        if (c >= u'0' && c <= u'9') digit = c - u'0';
        if (c >= u'A' && c <= u'F') digit = c - u'A' + 10;
        if (digit < 0) return std::nullopt;
        v = static_cast<std::uint16_t>(v * 16 + digit);
    }
    return v;
}

SimulatedBus::BackendFactory DriverCoreCamera(std::u16string_view instanceId) {
    const std::uint16_t vendorId = HexAfter(instanceId, u"VID_").value_or(0);
    const std::uint16_t productId = HexAfter(instanceId, u"PID_").value_or(0);
    return [vendorId, productId] {
        auto device = std::make_unique<DriverCoreDevice>(vendorId, productId);
        // The YUV camera (type 15) sends 4:2:2 pairs, every other the Bayer picture.
        const bool yuv = vendorId == 0xF5A1 && (productId >> 8) == 15;
        device->Camera().SetPicture(yuv ? kqff::sim::Picture::Yuv : kqff::sim::Picture::Bayer);
        device->Camera().SetFramesOnRequest(true);
        device->StartVideo();
        return device;
    };
}

}  // namespace

class SimulatedBus::Connection : public CameraConnection {
public:
    Connection(SimulatedBus& bus, std::size_t camera, int generation)
        : bus_(bus), camera_(camera), generation_(generation) {}
    ~Connection() override { bus_.Closed(camera_, generation_); }

    std::optional<std::size_t> Control(std::uint32_t code, std::span<const std::uint8_t> in,
                                       std::span<std::uint8_t> out) override {
        return bus_.Control(camera_, generation_, code, in, out);
    }
    std::optional<std::size_t> ReadFrame(std::span<std::uint8_t> buffer) override {
        return bus_.Read(camera_, generation_, buffer);
    }
    void CancelRead() override { bus_.CancelRead(camera_); }

private:
    SimulatedBus& bus_;
    std::size_t camera_;
    int generation_;
};

std::size_t SimulatedBus::AddCamera(std::u16string instanceId, std::u16string friendlyName) {
    return AddCamera(std::move(instanceId), std::move(friendlyName), nullptr);
}

std::size_t SimulatedBus::AddCamera(std::u16string instanceId, std::u16string friendlyName,
                                    BackendFactory makeBackend) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    const std::size_t n = cameras_.size();
    if (!makeBackend) makeBackend = DriverCoreCamera(instanceId);
    CameraInterface iface{instanceId,
                          u"\\\\?\\sim#camera" + std::u16string(1, char16_t(u'0' + n % 10)) + u"#" + instanceId,
                          std::move(friendlyName)};
    Camera camera{std::move(iface), std::move(makeBackend), nullptr};
    camera.backend = camera.makeBackend();
    cameras_.push_back(std::move(camera));
    return n;
}

void SimulatedBus::Unplug(std::size_t camera) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    Camera& c = cameras_.at(camera);
    if (c.present) c.backend->OnUnplug();
    c.present = false;
    ++c.plugGeneration;
}

void SimulatedBus::Replug(std::size_t camera) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    Camera& c = cameras_.at(camera);
    c.present = true;
    c.backend = c.makeBackend();
}

CameraInterface SimulatedBus::InterfaceOf(std::size_t camera) const {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    return cameras_.at(camera).iface;
}

void SimulatedBus::FailListing(bool fail) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    failListing_ = fail;
}

void SimulatedBus::FailOpen(std::size_t camera, bool fail) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    cameras_.at(camera).failOpen = fail;
}

void SimulatedBus::FailControl(std::uint32_t code, int times) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    failingCodes_[code] = times;
}

void SimulatedBus::ShortReads(std::size_t camera, int reads) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    cameras_.at(camera).shortReads = reads;
}

void SimulatedBus::SetReadBudget(std::size_t camera, std::optional<int> frames) {
    std::lock_guard<std::mutex> hold(gateLock_);
    gates_[camera].budget = frames;
    gateChanged_.notify_all();
}

void SimulatedBus::AllowFrames(std::size_t camera, int frames) {
    std::lock_guard<std::mutex> hold(gateLock_);
    ReadGate& gate = gates_[camera];
    gate.budget = gate.budget.value_or(0) + frames;
    gateChanged_.notify_all();
}

bool SimulatedBus::WaitForBlockedRead(std::size_t camera, std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> hold(gateLock_);
    // A reader woken by frames just allowed still counts as blocked until it
    // runs again: only a read that has no frame left to take is waiting.
    return gateChanged_.wait_for(hold, limit, [&] {
        const ReadGate& gate = gates_[camera];
        return gate.blocked > 0 && gate.budget.value_or(0) == 0;
    });
}

int SimulatedBus::CancelledReads(std::size_t camera) const {
    std::lock_guard<std::mutex> hold(gateLock_);
    const auto gate = gates_.find(camera);
    return gate == gates_.end() ? 0 : gate->second.cancelled;
}

bool SimulatedBus::WaitForReadBudget(std::size_t camera) {
    std::unique_lock<std::mutex> hold(gateLock_);
    ReadGate& gate = gates_[camera];
    if (!gate.budget) return true;
    const int ticket = gate.cancelTicket;
    ++gate.blocked;
    gateChanged_.notify_all();
    gateChanged_.wait(hold, [&] { return !gate.budget || *gate.budget > 0 || gate.cancelTicket != ticket; });
    --gate.blocked;
    if (!gate.budget) return true;
    if (*gate.budget > 0) {
        --*gate.budget;
        return true;
    }
    ++gate.cancelled;
    return false;
}

void SimulatedBus::CancelRead(std::size_t camera) {
    std::lock_guard<std::mutex> hold(gateLock_);
    ++gates_[camera].cancelTicket;
    gateChanged_.notify_all();
}

std::vector<ControlRecord> SimulatedBus::Log() const {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    return log_;
}

std::vector<ControlRecord> SimulatedBus::LogOf(std::uint32_t code) const {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    std::vector<ControlRecord> out;
    std::copy_if(log_.begin(), log_.end(), std::back_inserter(out),
                 [&](const ControlRecord& r) { return r.code == code; });
    return out;
}

void SimulatedBus::ClearLog() {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    log_.clear();
}

int SimulatedBus::Listings() const {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    return listings_;
}

int SimulatedBus::OpenConnections() const {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    return openConnections_;
}

DriverCoreDevice& SimulatedBus::Device(std::size_t camera) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    return dynamic_cast<DriverCoreDevice&>(*cameras_.at(camera).backend);
}

std::optional<std::vector<CameraInterface>> SimulatedBus::ListInterfaces() {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    ++listings_;
    if (failListing_) return std::nullopt;
    std::vector<CameraInterface> present;
    for (const Camera& c : cameras_) {
        if (c.present) present.push_back(c.iface);
    }
    return present;
}

std::unique_ptr<CameraConnection> SimulatedBus::Open(const CameraInterface& camera) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    for (std::size_t i = 0; i < cameras_.size(); ++i) {
        Camera& c = cameras_[i];
        if (c.iface.path != camera.path) continue;
        if (!c.present || c.failOpen) return nullptr;
        c.backend->OnCreate();
        ++openConnections_;
        return std::make_unique<Connection>(*this, i, c.plugGeneration);
    }
    return nullptr;
}

void SimulatedBus::Closed(std::size_t camera, int generation) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    Camera& c = cameras_.at(camera);
    if (c.present && c.plugGeneration == generation) c.backend->OnClose();
    --openConnections_;
}

std::optional<std::size_t> SimulatedBus::Control(std::size_t camera, int generation, std::uint32_t code,
                                                 std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    Camera& c = cameras_.at(camera);
    ControlRecord record{camera, code, {in.begin(), in.end()}, {}, false};
    std::optional<std::size_t> result;
    auto failing = failingCodes_.find(code);
    if (failing != failingCodes_.end() && failing->second > 0) {
        --failing->second;
    } else if (c.present && c.plugGeneration == generation) {
        result = c.backend->Control(code, in, out);
    }
    if (result) {
        record.succeeded = true;
        record.output.assign(out.begin(), out.begin() + std::min(*result, out.size()));
    }
    log_.push_back(std::move(record));
    return result;
}

std::optional<std::size_t> SimulatedBus::Read(std::size_t camera, int generation, std::span<std::uint8_t> buffer) {
    // Wait outside the bus lock: the stopping thread needs it meanwhile.
    if (!WaitForReadBudget(camera)) return std::nullopt;
    std::shared_ptr<CameraBackend> backend;
    {
        std::lock_guard<std::recursive_mutex> hold(lock_);
        Camera& c = cameras_.at(camera);
        if (!c.present || c.plugGeneration != generation) return std::nullopt;
        if (c.shortReads > 0) {
            --c.shortReads;
            return 0;
        }
        backend = c.backend;
    }
    // The driver serves a frame read beside the other requests: it waits
    // for a frame while stops, formats and removal go on.
    return backend->Read(buffer);
}

}  // namespace kq::sim
