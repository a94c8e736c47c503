#include "registry_settings.h"

#include <windows.h>

#include <optional>

namespace twain::win32 {
namespace {

class RegistryKey final : public SettingsStore {
public:
    RegistryKey() = default;
    explicit RegistryKey(HKEY key) : key_(key) {}
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() {
        if (key_ != nullptr) RegCloseKey(key_);
    }

    static RegistryKey Open(HKEY root, const std::string& name) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return RegistryKey();
        return RegistryKey(key);
    }
    static RegistryKey Create(HKEY root, const std::string& name) {
        HKEY key = nullptr;
        if (RegCreateKeyExA(root, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key,
                            nullptr) != ERROR_SUCCESS) {
            return RegistryKey();
        }
        return RegistryKey(key);
    }
    RegistryKey(RegistryKey&& other) noexcept : key_(other.key_) { other.key_ = nullptr; }

    bool IsOpen() const { return key_ != nullptr; }

    std::optional<std::int32_t> Read(std::string_view name) const override {
        if (key_ == nullptr) return std::nullopt;
        const std::string text(name);
        DWORD type = 0;
        DWORD value = 0;
        DWORD size = sizeof value;
        if (RegQueryValueExA(key_, text.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
                ERROR_SUCCESS ||
            type != REG_DWORD || size != sizeof value) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(value);
    }
    void Write(std::string_view name, std::int32_t value) override {
        if (key_ == nullptr) return;
        const std::string text(name);
        const auto dword = static_cast<DWORD>(value);
        RegSetValueExA(key_, text.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dword), sizeof dword);
    }

private:
    HKEY key_ = nullptr;
};

}  // namespace

TwainSettings ReadSettings(const std::string& keyName) {
    TwainSettings settings;
    RegistryKey user = RegistryKey::Open(HKEY_CURRENT_USER, keyName);
    if (user.IsOpen()) {
        LoadSettings(user, settings);
    } else {
        LoadSettings(RegistryKey::Open(HKEY_LOCAL_MACHINE, keyName), settings);
    }
    return settings;
}

bool WriteSettings(const std::string& keyName, const TwainSettings& settings) {
    RegistryKey user = RegistryKey::Create(HKEY_CURRENT_USER, keyName);
    if (!user.IsOpen()) return false;
    SaveSettings(settings, user);
    return true;
}

}  // namespace twain::win32
