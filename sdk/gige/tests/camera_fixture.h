// One adapter with one simulated camera behind the loopback driver stand-in,
// its cameras made by the camera factory and registered, and helpers that
// read the camera's packet log as register commands.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>
#include <utility>
#include <vector>

#include "be_bytes.h"
#include "camera_factory.h"
#include "gige_camera_base.h"
#include "camera_manager.h"
#include "channel_fixture.h"
#include "cnic.h"
#include "discovery_records.h"
#include "gvcp_packet.h"
#include "loopback_driver.h"
#include "registry_host.h"
#include "simulated_camera.h"

namespace kqge::fixture {

// KQGE.ini is absent: every camera keeps its neutral gains.
class NoSettingsFile final : public AwbSettingsFile {
public:
    bool Exists() const override { return false; }
    AwbGains Read(std::u16string_view) const override { return {}; }
    bool Write(std::u16string_view, const AwbGains&) override { return false; }
};

// One register command as the camera received it.
struct Command {
    std::uint16_t code = 0;                                      // 0x80 READREG, 0x82 WRITEREG, 0x86 WRITEMEM
    std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs;  // READREG: (address, 0)

    bool operator==(const Command&) const = default;
};

inline Command Wr(std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs) { return {0x82, std::move(pairs)}; }
inline Command Wr(std::uint32_t address, std::uint32_t value) { return {0x82, {{address, value}}}; }
inline Command Rd(std::uint32_t address) { return {0x80, {{address, 0}}}; }

inline void PrintTo(const Command& c, std::ostream* os) {
    *os << (c.code == 0x80 ? "READ" : c.code == 0x82 ? "WRITE" : "MEM") << std::hex;
    for (const auto& [a, v] : c.pairs) *os << " 0x" << a << "=0x" << v;
}

inline std::vector<Command> Commands(const std::vector<std::vector<std::uint8_t>>& log) {
    std::vector<Command> out;
    for (const auto& packet : log) {
        const auto decoded = standin::DecodeCommandPacket(packet);
        if (!decoded) continue;
        Command c{decoded->command, {}};
        const auto body = decoded->body;
        if (c.code == 0x80) {
            for (std::size_t at = 0; at + 4 <= body.size(); at += 4) c.pairs.emplace_back(vz::GetBE32(body, at), 0);
        } else if (c.code == 0x82) {
            for (std::size_t at = 0; at + 8 <= body.size(); at += 8) {
                c.pairs.emplace_back(vz::GetBE32(body, at), vz::GetBE32(body, at + 4));
            }
        }
        out.push_back(std::move(c));
    }
    return out;
}

struct OneCamera {
    explicit OneCamera(std::string_view modelName)
        : driver(link.DriverSide(), standin::DiscoveryListFor(std::vector<std::string_view>{modelName})) {
        camera.StreamTo(driver);
        camera.SetRowTime(std::chrono::nanoseconds::zero());  // frames as fast as the tests send them
        EXPECT_EQ(nic.Open(), 0);
    }
    ~OneCamera() { registry.Clear(); }

    GigECameraBase& Camera() { return dynamic_cast<GigECameraBase&>(*registry.FindByIndex(0)); }
    // The commands the camera received since the last call.
    std::vector<Command> NewCommands() {
        const auto log = camera.PacketLog();
        std::vector<std::vector<std::uint8_t>> fresh(log.begin() + static_cast<std::ptrdiff_t>(seen), log.end());
        seen = log.size();
        return Commands(fresh);
    }

    standin::InProcessLink link;
    standin::SimulatedCamera camera{link.CameraSide()};
    standin::LoopbackDriver driver;
    NoSettingsFile settings;
    CCameraManager registry;
    GigECameraFactory factory{settings};
    RegistryHost host{registry, factory};
    AdapterRecord adapter = Adapter();
    CNIC nic{&driver, &adapter, &host, kTestAckTimeout};
    std::size_t seen = 0;
};

// Frames handed to a callback, waited for without sleeping.
struct FrameLog {
    struct Frame {
        FrameInfo info;
        std::vector<std::uint8_t> pixels;
    };

    static void KQ_STDCALL Take(std::uint8_t* pixels, FrameInfo* info, void* user) {
        auto& self = *static_cast<FrameLog*>(user);
        const std::size_t bytes = static_cast<std::size_t>(info->width) * static_cast<std::size_t>(info->height) *
                                  static_cast<std::size_t>(info->bitsPerPixel / 8);
        {
            std::lock_guard guard(self.lock);
            self.frames.push_back({*info, std::vector<std::uint8_t>(pixels, pixels + bytes)});
            if (self.change) self.change(pixels, *info);
        }
        self.arrived.notify_all();
    }

    bool WaitFor(std::size_t count) {
        std::unique_lock guard(lock);
        return arrived.wait_for(guard, std::chrono::seconds(10), [&] { return frames.size() >= count; });
    }

    std::mutex lock;
    std::condition_variable arrived;
    std::vector<Frame> frames;
    std::function<void(std::uint8_t*, const FrameInfo&)> change;
};

}  // namespace kqge::fixture
