#pragma once
// Registers the DirectShow test fixtures (bin/../camera_fixtures) in the
// test prefix for the life of the object: the test source under each given
// name in the video input category, or the file-writer stand-in (or the
// platform's own writer) as the file writer's class (the platform's own
// put back afterwards).
#include <windows.h>
#include <dshow.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fixture_ids.h"

namespace dshow_fixtures {

inline std::wstring FixtureLibrary() {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    return (std::filesystem::path(exe).parent_path().parent_path() / L"camera_fixtures" / L"dshow_test_filters.dll")
        .wstring();
}

inline bool SetText(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    return RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

inline bool SetSourceSwitch(const wchar_t* name, DWORD value) {
    return RegSetKeyValueW(HKEY_LOCAL_MACHINE, kTestSourceSettingsKey, name, REG_DWORD, &value, sizeof(value)) ==
           ERROR_SUCCESS;
}

class TestSources {
public:
    explicit TestSources(std::vector<std::wstring> names) : names_(std::move(names)) {
        const std::wstring library = FixtureLibrary();
        ok_ = std::filesystem::exists(library);
        for (const wchar_t* key : {kTestSourceClassKey, kTestSourcePageClassKey}) {
            const std::wstring server = std::wstring(key) + L"\\InprocServer32";
            ok_ = ok_ && SetText(server, nullptr, library) && SetText(server, L"ThreadingModel", L"Both");
        }
        // The first candidate property set answers unless a test chooses another.
        ok_ = ok_ && SetSourceSwitch(L"NoDroppedFrames", 0) && SetSourceSwitch(L"ShortSamples", 0) && SetSourceSwitch(L"Flood", 0) &&
              SetSourceSwitch(L"PropertySet", 1);
        // Written as the filter mapper writes them; the mapper itself cannot
        // take the longest names the tests use.
        for (std::size_t i = 0; ok_ && i < names_.size(); ++i) {
            const std::wstring key = InstanceKey(i);
            const BYTE filterData[16] = {2, 0, 0, 0, 0, 0, 0x20, 0};  // version 2, merit "do not use", no pins
            ok_ = SetText(key, L"CLSID", L"{20A2C6CB-81A4-4EA7-B74C-387AA8235672}") &&
                  SetText(key, L"FriendlyName", names_[i]) &&
                  RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"FilterData", REG_BINARY, filterData,
                                  sizeof(filterData)) == ERROR_SUCCESS;
        }
    }
    ~TestSources() {
        for (std::size_t i = 0; i < names_.size(); ++i) {
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, InstanceKey(i).c_str());
        }
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTestSourceClassKey);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTestSourcePageClassKey);
    }
    TestSources(const TestSources&) = delete;
    TestSources& operator=(const TestSources&) = delete;

    bool Registered() const { return ok_; }

private:
    static std::wstring InstanceKey(std::size_t i) {
        const std::wstring number = (i < 10 ? L"0" : L"") + std::to_wstring(i);
        return std::wstring(L"Software\\Classes\\CLSID\\{860BB310-5D01-11D0-BD3B-00A0C911CE86}\\Instance\\Vizcam test ") +
               number;
    }

    std::vector<std::wstring> names_;
    bool ok_ = false;
};

// The library that serves the platform's AVI mux, which also holds its file
// writer; empty when the mux is not registered.
inline std::wstring PlatformCaptureLibrary() {
    wchar_t buffer[MAX_PATH] = {};
    DWORD bytes = sizeof(buffer);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, (std::wstring(kAviMuxClassKey) + L"\\InprocServer32").c_str(), nullptr,
                     RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS) {
        return {};
    }
    return buffer;
}

// The file writer's class served by `library` for the life of the object;
// the platform's own writer afterwards, even when a test process that ended
// early left the stand-in in place.
class FileWriterServer {
public:
    explicit FileWriterServer(const std::wstring& library)
        : ok_(std::filesystem::exists(library) && SetText(Key(), nullptr, library)) {}
    ~FileWriterServer() {
        const std::wstring platform = PlatformCaptureLibrary();
        if (!platform.empty()) SetText(Key(), nullptr, platform);
    }
    FileWriterServer(const FileWriterServer&) = delete;
    FileWriterServer& operator=(const FileWriterServer&) = delete;

    bool Registered() const { return ok_; }

private:
    static std::wstring Key() { return std::wstring(kFileWriterClassKey) + L"\\InprocServer32"; }

    bool ok_;
};

// The stand-in in place of the platform's file writer.
class FileWriterStandIn : public FileWriterServer {
public:
    FileWriterStandIn() : FileWriterServer(FixtureLibrary()) {}
};

// The platform's own file writer, whatever an earlier test left registered.
class PlatformFileWriter : public FileWriterServer {
public:
    PlatformFileWriter() : FileWriterServer(PlatformCaptureLibrary()) {}
};

}  // namespace dshow_fixtures
