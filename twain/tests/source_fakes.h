#pragma once
// Stand-ins for the data source's platform in native tests and the fuzzer:
// memory handles as a table of blocks, and a host that records what the
// protocol core asked of it and serves a known picture.

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "handle_memory.h"
#include "source_host.h"
#include "transfer_geometry.h"

namespace twain::test {

// An application as the source sees it; Id 0 as the source manager here
// gives every application.
inline TW_IDENTITY ApplicationIdentity(const char* name, TW_UINT32 id = 0) {
    TW_IDENTITY identity{};
    identity.Id = id;
    identity.ProtocolMajor = 1;
    identity.ProtocolMinor = 8;
    identity.SupportedGroups = DG_CONTROL | DG_IMAGE;
    std::strncpy(identity.Manufacturer, "Test maker", sizeof identity.Manufacturer - 1);
    std::strncpy(identity.ProductFamily, "Tests", sizeof identity.ProductFamily - 1);
    std::strncpy(identity.ProductName, name, sizeof identity.ProductName - 1);
    return identity;
}

class TableMemory : public HandleMemory {
public:
    TW_HANDLE Allocate(std::size_t size) override {
        if (failAllocations) return nullptr;
        auto block = std::make_unique<std::vector<std::uint8_t>>(size);
        TW_HANDLE handle = block.get();
        blocks_[handle] = std::move(block);
        return handle;
    }
    std::span<std::uint8_t> Lock(TW_HANDLE handle) override {
        const auto at = blocks_.find(handle);
        if (at == blocks_.end()) return {};
        ++locks_[handle];
        return *at->second;
    }
    void Unlock(TW_HANDLE handle) override {
        if (locks_[handle] > 0) --locks_[handle];
    }
    void Free(TW_HANDLE handle) override {
        blocks_.erase(handle);
        locks_.erase(handle);
    }
    std::vector<std::uint8_t>* Block(TW_HANDLE handle) {
        const auto at = blocks_.find(handle);
        return at == blocks_.end() ? nullptr : at->second.get();
    }
    std::size_t Live() const { return blocks_.size(); }
    int LockCount(TW_HANDLE handle) { return locks_[handle]; }

    bool failAllocations = false;

private:
    std::map<TW_HANDLE, std::unique_ptr<std::vector<std::uint8_t>>> blocks_;
    std::map<TW_HANDLE, int> locks_;
};

// Pixel value of byte i of frame n: every frame differs from the last.
inline std::uint8_t FramePixel(int frame, std::size_t i) {
    return static_cast<std::uint8_t>((i * 7 + static_cast<std::size_t>(frame) * 13 + i / 251) & 0xFF);
}

class FakeHost : public SourceHost {
public:
    bool OpenDevice() override {
        calls.push_back("open");
        return openSucceeds;
    }
    void CloseDevice() override { calls.push_back("close"); }
    bool CreateSettingsDialog(TW_HANDLE, bool show) override {
        calls.push_back(show ? "dialog shown" : "dialog hidden");
        return dialogSucceeds;
    }
    void DestroySettingsDialog() override { calls.push_back("dialog destroyed"); }
    bool NotifyApplication(const TW_IDENTITY&, const TW_IDENTITY&, TW_UINT16 msg) override {
        notifications.push_back(msg);
        return true;
    }
    bool ProcessEvent(TW_MEMREF event) override { return event != nullptr && event == dialogEvent; }
    ImageShape DeviceShape() override { return shape; }
    bool GrabFrame(const ImageShape& s, std::span<std::uint8_t> pixels) override {
        if (!grabSucceeds || pixels.size() != ImageBytes(s)) return false;
        for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = FramePixel(framesGrabbed, i);
        lastFrame.assign(pixels.begin(), pixels.end());
        ++framesGrabbed;
        return true;
    }
    int FrameCount() override { return frameCount; }
    bool CanCreateFile(const std::string& path) override { return !path.empty() && path[0] != '?'; }
    bool WriteFile(const std::string& path, std::span<const std::uint8_t> header,
                   std::span<const std::uint8_t> body) override {
        if (!writeSucceeds) return false;
        std::vector<std::uint8_t> bytes(header.begin(), header.end());
        bytes.insert(bytes.end(), body.begin(), body.end());
        files[path] = std::move(bytes);
        return true;
    }

    bool openSucceeds = true;
    bool dialogSucceeds = true;
    bool grabSucceeds = true;
    bool writeSucceeds = true;
    int frameCount = 1;
    TW_MEMREF dialogEvent = nullptr;
    ImageShape shape{40, 6, 24};
    int framesGrabbed = 0;
    std::vector<std::uint8_t> lastFrame;
    std::vector<std::string> calls;
    std::vector<TW_UINT16> notifications;
    std::map<std::string, std::vector<std::uint8_t>> files;
};

}  // namespace twain::test
