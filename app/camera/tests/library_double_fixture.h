#pragma once
// A camera family's library as the program loads it, played by the scripted
// library double: the double is copied under the family's file name into a
// fresh folder, bound by full path through the family's loader, scripted,
// and its call log and delivered frames read back. The folder also holds
// the test's Config.ini and Params folder, and a host window stands for the
// view. The family's camera is made over it with that Config.ini, folders
// in the test folder and no snapshot announced.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "camera_device.h"
#include "sdk_double_hooks.h"
#include "unique_temp_dir.h"

// The lines of a text file, without their line ends.
inline std::vector<std::string> ReadLogLines(const std::filesystem::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

template <typename Binding, typename Camera>
class LibraryDoubleFixture : public ::testing::Test {
protected:
    Camera& Open(int number) {
        m_camera = std::make_unique<Camera>(m_host, number, ConfigPath());
        m_camera->SetShotFolder(Shots());
        m_camera->SetVideoFolder(Videos());
        m_camera->SetOpenAfterSave(0);
        m_camera->SetMessageShower([this](UINT textId) { m_told.push_back(textId); });
        return *m_camera;
    }
    std::vector<std::wstring> Labels() const {
        std::vector<std::wstring> labels;
        for (const CameraResolution& r : m_camera->GetResolutionList()) {
            labels.push_back(r.label);
        }
        return labels;
    }

    // doubleFile: the double's build in the fixture folder, e.g. L"sdk_double_ccd.dll".
    void LoadDouble(const wchar_t* doubleFile, const std::string& script) {
        m_folder = testing_support::UniqueTempPath(std::string("vz_family_") +
                                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder / L"shots");
        std::filesystem::create_directories(m_folder / L"videos");
        std::filesystem::copy_file(FixtureFolder() / doubleFile, m_folder / Binding::kFileName);
        std::ofstream(m_folder / L"sdk_script.txt", std::ios::binary) << script;
        m_binding = std::make_unique<Binding>((m_folder / Binding::kFileName).wstring());
        ASSERT_TRUE(m_binding->IsLoaded());
        m_module = GetModuleHandleW((m_folder / Binding::kFileName).c_str());
        ASSERT_NE(m_module, nullptr);

        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VizcamFamilyTestHost";
        RegisterClassW(&wc);
        m_host = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1023, 767, nullptr, nullptr, wc.hInstance,
                                 nullptr);
        ASSERT_NE(m_host, nullptr);
    }

    // The camera goes before the library is freed.
    void TearDown() override {
        m_camera.reset();
        m_binding.reset();
        if (m_host) {
            DestroyWindow(m_host);
            m_host = nullptr;
        }
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    std::wstring ConfigPath() const { return (m_folder / L"Config.ini").wstring(); }
    std::wstring Shots() const { return (m_folder / L"shots").wstring() + L"\\"; }
    std::wstring Videos() const { return (m_folder / L"videos").wstring() + L"\\"; }

    void WriteConfig(const wchar_t* section, const wchar_t* key, int value) {
        WritePrivateProfileStringW(section, key, std::to_wstring(value).c_str(), ConfigPath().c_str());
    }
    int ReadConfig(const wchar_t* section, const wchar_t* key, int missing = -12345) {
        return static_cast<int>(GetPrivateProfileIntW(section, key, missing, ConfigPath().c_str()));
    }

    // The double's log, each line without the library's file name.
    std::vector<std::string> Log() const {
        std::vector<std::string> lines = ReadLogLines(m_folder / L"sdk_calls.log");
        const std::size_t cut = std::filesystem::path(Binding::kFileName).string().size() + 1;
        for (std::string& line : lines) {
            line = line.substr(std::min(cut, line.size()));
        }
        return lines;
    }
    // Log lines from position `from` on.
    std::vector<std::string> LogFrom(std::size_t from) const {
        const auto lines = Log();
        return {lines.begin() + static_cast<std::ptrdiff_t>(std::min(from, lines.size())), lines.end()};
    }
    std::size_t LogMark() const { return Log().size(); }
    static bool Contains(const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    static std::size_t CountStarting(const std::vector<std::string>& lines, const std::string& prefix) {
        return static_cast<std::size_t>(std::count_if(
            lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(prefix, 0) == 0; }));
    }

    template <typename Hook>
    Hook DoubleHook(const char* name) const {
        return reinterpret_cast<Hook>(reinterpret_cast<void*>(GetProcAddress(m_module, name)));
    }
    int WaitFrames(int total) const { return DoubleHook<SdkDoubleWaitFrames>("SdkDouble_WaitFrames")(total, kWaitMs); }
    int DeliverFrames(int count) const { return DoubleHook<SdkDoubleDeliverFrames>("SdkDouble_DeliverFrames")(count); }

    struct Frame {
        int width = 0, height = 0, bits = 0;
        std::vector<unsigned char> bytes;
        const unsigned char* Pixel(int x, int row) const {
            return bytes.data() + (static_cast<std::size_t>(row) * width + x) * static_cast<std::size_t>(bits / 8);
        }
    };
    Frame LastFrame() const {
        Frame frame;
        frame.bytes.resize(64u << 20);
        const int size = DoubleHook<SdkDoubleCopyLastFrame>("SdkDouble_CopyLastFrame")(
            frame.bytes.data(), static_cast<int>(frame.bytes.size()), &frame.width, &frame.height, &frame.bits);
        frame.bytes.resize(static_cast<std::size_t>(size));
        return frame;
    }

    // The double answers frame waits within this; a wait that runs out fails the test.
    static constexpr int kWaitMs = 10000;

    std::filesystem::path m_folder;
    std::unique_ptr<Binding> m_binding;
    std::unique_ptr<Camera> m_camera;
    // The messages the camera told, by text id.
    std::vector<UINT> m_told;
    HMODULE m_module = nullptr;
    HWND m_host = nullptr;

private:
    static std::filesystem::path FixtureFolder() {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        return std::filesystem::path(path).parent_path().parent_path() / L"camera_fixtures";
    }
};
