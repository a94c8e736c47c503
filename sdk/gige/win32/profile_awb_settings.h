#pragma once
// KQGE.ini through the platform's wide profile functions, beside the GigE
// library's own module.

#include <filesystem>

#include "awb_settings.h"

namespace kqge {

class ProfileAwbSettingsFile final : public AwbSettingsFile {
public:
    explicit ProfileAwbSettingsFile(std::filesystem::path path) : path_(std::move(path)) {}

    // "KQGE.ini" in the folder of the module this code is linked into.
    static std::filesystem::path BesideThisModule();

    const std::filesystem::path& path() const { return path_; }
    bool Exists() const override;
    AwbGains Read(std::u16string_view section) const override;
    bool Write(std::u16string_view section, const AwbGains& gains) override;

private:
    std::filesystem::path path_;
};

}  // namespace kqge
