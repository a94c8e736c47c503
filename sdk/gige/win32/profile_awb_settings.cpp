#include "profile_awb_settings.h"

#include <windows.h>

#include <memory>
#include <string>

#include "win32/host_program_folder.h"

namespace kqge {
namespace {

struct SearchCloser {
    void operator()(HANDLE search) const { FindClose(search); }
};
struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueSearch = std::unique_ptr<void, SearchCloser>;
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

HANDLE NullIfInvalid(HANDLE handle) { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::int32_t ReadKey(const std::wstring& section, const char16_t* key, const std::filesystem::path& path) {
    return static_cast<std::int32_t>(GetPrivateProfileIntW(section.c_str(), Wide(key).c_str(), 1, path.c_str()));
}

bool WriteKey(const std::wstring& section, const char16_t* key, std::int32_t value, const std::filesystem::path& path) {
    return WritePrivateProfileStringW(section.c_str(), Wide(key).c_str(), std::to_wstring(value).c_str(),
                                      path.c_str()) != FALSE;
}

}  // namespace

std::filesystem::path ProfileAwbSettingsFile::BesideThisModule() {
    static const int anchor = 0;
    return kq::FolderOfModuleContaining(&anchor) / Wide(kAwbSettingsFileName);
}

bool ProfileAwbSettingsFile::Exists() const {
    WIN32_FIND_DATAW found;
    const UniqueSearch search(NullIfInvalid(FindFirstFileW(path_.c_str(), &found)));
    return search && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

AwbGains ProfileAwbSettingsFile::Read(std::u16string_view section) const {
    const std::wstring name = Wide(section);
    return {ReadKey(name, kRedGainKey, path_), ReadKey(name, kGreenGainKey, path_), ReadKey(name, kBlueGainKey, path_)};
}

bool ProfileAwbSettingsFile::Write(std::u16string_view section, const AwbGains& gains) {
    if (!Exists()) {
        const UniqueHandle created(NullIfInvalid(
            CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)));
        if (!created) return false;
    }
    const std::wstring name = Wide(section);
    return WriteKey(name, kRedGainKey, gains.red, path_) && WriteKey(name, kGreenGainKey, gains.green, path_) &&
           WriteKey(name, kBlueGainKey, gains.blue, path_);
}

}  // namespace kqge
