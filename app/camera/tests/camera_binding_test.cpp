// The camera-library loaders as the program runs them: a probe program is
// copied into a fresh folder with library doubles under the families' file
// names, run there, and its report and the doubles' call log are read back.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "test_program_folder.h"
#include "library_double_fixture.h"
#include "unique_handle.h"

namespace {

namespace fs = std::filesystem;

// Built with the tests only, beside (not inside) the product folder.
fs::path FixtureFolder() { return TestProgramFolder().parent_path() / L"camera_fixtures"; }
// The scripted library double as each family's library.
fs::path CcdDouble() { return FixtureFolder() / L"sdk_double_ccd.dll"; }
fs::path CcdDoubleWithoutHdr() { return FixtureFolder() / L"sdk_double_ccd_without_hdr.dll"; }
fs::path CmosDouble() { return FixtureFolder() / L"sdk_double_cmos.dll"; }
fs::path GigEDouble() { return FixtureFolder() / L"sdk_double_gige.dll"; }
fs::path UvcDouble() { return FixtureFolder() / L"sdk_double_uvc.dll"; }
fs::path SimulatedCmos() { return SimulatedCmosPath(); }

struct FamilyDouble {
    fs::path library;
    const wchar_t* fileName;
};
std::vector<FamilyDouble> FamilyDoubles() {
    return {{CcdDouble(), L"KQCCDu.dll"},
            {CmosDouble(), L"KQCMOSu.dll"},
            {GigEDouble(), L"KQGEu.dll"},
            {UvcDouble(), L"KQUVCu.dll"}};
}

std::vector<std::string> LinesOf(const std::vector<std::string>& lines, const std::string& prefix) {
    std::vector<std::string> found;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(found),
                 [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
    return found;
}

class CameraBindingTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_root = fs::temp_directory_path() / (L"vz_binding_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                                              std::wstring(info->name(), info->name() + std::strlen(info->name())));
        m_program = m_root / L"program";
        m_current = m_root / L"current";
        fs::remove_all(m_root);
        fs::create_directories(m_program);
        fs::create_directories(m_current);
        fs::copy_file(FixtureFolder() / L"camera_binding_probe.exe", m_program / L"camera_binding_probe.exe");
        // The camera layer links Xuprop by import.
        fs::copy_file(TestProgramFolder() / L"Xuprop.dll", m_program / L"Xuprop.dll");
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }

    void Place(const fs::path& library, const fs::path& folder, const wchar_t* fileName) {
        fs::create_directories(folder);
        fs::copy_file(library, folder / fileName, fs::copy_options::overwrite_existing);
    }

    // Runs the probe in its folder with the current folder elsewhere; false
    // when it did not end with 0 within 30 s.
    bool RunProbe(const std::wstring& arguments = L"") {
        std::wstring commandLine = L"\"" + (m_program / L"camera_binding_probe.exe").wstring() + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            m_current.wstring().c_str(), &startup, &process)) {
            return false;
        }
        UniqueKernelHandle processHandle(process.hProcess);
        UniqueKernelHandle threadHandle(process.hThread);
        if (WaitForSingleObject(processHandle.Get(), 30000) != WAIT_OBJECT_0) {
            TerminateProcess(processHandle.Get(), 1);
            return false;
        }
        DWORD exitCode = 1;
        GetExitCodeProcess(processHandle.Get(), &exitCode);
        m_report = ReadLogLines(m_program / L"binding_report.txt");
        m_log = ReadLogLines(m_program / L"sdk_calls.log");
        return exitCode == 0;
    }

    std::string Family(const char* fileName) const {
        const auto lines = LinesOf(m_report, std::string(fileName) + " ");
        return lines.size() == 1 ? lines.front() : "<" + std::to_string(lines.size()) + " lines>";
    }
    std::string Report(const char* prefix) const {
        const auto lines = LinesOf(m_report, prefix);
        return lines.size() == 1 ? lines.front() : "<" + std::to_string(lines.size()) + " lines>";
    }

    fs::path m_root;
    fs::path m_program;  // the probe's own folder
    fs::path m_current;  // its current folder
    std::vector<std::string> m_report;
    std::vector<std::string> m_log;
};

TEST_F(CameraBindingTest, WithoutLibrariesOnlyDirectShowIsOfferedAndNoEntryIsCalled) {
    ASSERT_TRUE(RunProbe());
    EXPECT_EQ(Family("KQCCDu.dll").substr(0, 29), "KQCCDu.dll loaded 0 bound 0 u");
    EXPECT_EQ(Family("KQCMOSu.dll").substr(0, 30), "KQCMOSu.dll loaded 0 bound 0 u");
    EXPECT_EQ(Family("KQGEu.dll").substr(0, 28), "KQGEu.dll loaded 0 bound 0 u");
    EXPECT_EQ(Family("KQUVCu.dll").substr(0, 29), "KQUVCu.dll loaded 0 bound 0 u");
    EXPECT_EQ(Report("offered"), "offered 1");
    // Unbound entries are not called; the call answers a failure.
    EXPECT_EQ(Report("calls"), "calls Initialize -1 SetHDR -1");
}

TEST_F(CameraBindingTest, SimulatedUsbCmosLibraryAloneBindsAllItsNames) {
    Place(SimulatedCmos(), m_program, L"KQCMOSu.dll");
    ASSERT_TRUE(RunProbe());
    EXPECT_EQ(Family("KQCMOSu.dll"), "KQCMOSu.dll loaded 1 bound 73 unbound");
    EXPECT_EQ(Family("KQCCDu.dll").substr(0, 29), "KQCCDu.dll loaded 0 bound 0 u");
    EXPECT_EQ(Family("KQGEu.dll").substr(0, 28), "KQGEu.dll loaded 0 bound 0 u");
    EXPECT_EQ(Family("KQUVCu.dll").substr(0, 29), "KQUVCu.dll loaded 0 bound 0 u");
    EXPECT_EQ(Report("offered"), "offered 1 2");
}

TEST_F(CameraBindingTest, EveryFamilyBindsItsWholeTableAndExitFreesEachOnceInReverseOrder) {
    for (const FamilyDouble& family : FamilyDoubles()) {
        Place(family.library, m_program, family.fileName);
    }
    ASSERT_TRUE(RunProbe());
    EXPECT_EQ(Family("KQCCDu.dll"), "KQCCDu.dll loaded 1 bound 64 unbound");
    EXPECT_EQ(Family("KQCMOSu.dll"), "KQCMOSu.dll loaded 1 bound 73 unbound");
    EXPECT_EQ(Family("KQGEu.dll"), "KQGEu.dll loaded 1 bound 73 unbound");
    EXPECT_EQ(Family("KQUVCu.dll"), "KQUVCu.dll loaded 1 bound 22 unbound");
    EXPECT_EQ(Report("offered"), "offered 1 2 3 4 5");
    EXPECT_EQ(Report("calls"), "calls Initialize 0 SetHDR 0");

    // Loaded in order CCD, USB CMOS, GigE, UVC; the CCD entries reach the
    // CCD library with their arguments; freed once each, UVC first, none
    // left to process exit.
    const std::vector<std::string> expected = {"KQCCDu.dll load",
                                               "KQCMOSu.dll load",
                                               "KQGEu.dll load",
                                               "KQUVCu.dll load",
                                               "KQCCDu.dll KQ_Initialize KQ_DEMO 1",
                                               "KQCCDu.dll KQ_SetHDR h1 1",
                                               "KQCCDu.dll KQ_Uninitialize h1",
                                               "KQUVCu.dll free",
                                               "KQGEu.dll free",
                                               "KQCMOSu.dll free",
                                               "KQCCDu.dll free"};
    EXPECT_EQ(m_log, expected);
}

TEST_F(CameraBindingTest, ALibraryLackingANameLoadsWithOnlyThatEntryUnbound) {
    Place(CcdDoubleWithoutHdr(), m_program, L"KQCCDu.dll");
    ASSERT_TRUE(RunProbe());
    EXPECT_EQ(Family("KQCCDu.dll"), "KQCCDu.dll loaded 1 bound 63 unbound KQ_SetHDR");
    EXPECT_EQ(Report("offered"), "offered 1 3");
    EXPECT_EQ(Report("calls"), "calls Initialize 0 SetHDR -1");
    const std::vector<std::string> expected = {"KQCCDu.dll load", "KQCCDu.dll KQ_Initialize KQ_DEMO 1",
                                               "KQCCDu.dll KQ_Uninitialize h1", "KQCCDu.dll free"};
    EXPECT_EQ(m_log, expected);
}

TEST_F(CameraBindingTest, ASecondLoadForAFamilyKeepsTheFirst) {
    Place(CcdDouble(), m_program, L"KQCCDu.dll");
    Place(CcdDoubleWithoutHdr(), m_program / L"second", L"KQCCDu.dll");
    ASSERT_TRUE(RunProbe(L"second"));
    EXPECT_EQ(Report("second"), "second load 0 keeps 1");
    // The second library was never loaded, and the first is freed once, at exit.
    EXPECT_FALSE(fs::exists(m_program / L"second" / L"sdk_calls.log"));
    EXPECT_EQ(LinesOf(m_log, "KQCCDu.dll free").size(), 1u);
    ASSERT_FALSE(m_log.empty());
    EXPECT_EQ(m_log.back(), "KQCCDu.dll free");
}

TEST_F(CameraBindingTest, LibrariesOnlyInTheCurrentFolderAreNotLoaded) {
    for (const FamilyDouble& family : FamilyDoubles()) {
        Place(family.library, m_current, family.fileName);
    }
    ASSERT_TRUE(RunProbe());
    EXPECT_EQ(Report("offered"), "offered 1");
    EXPECT_EQ(Report("calls"), "calls Initialize -1 SetHDR -1");
    EXPECT_FALSE(fs::exists(m_current / L"sdk_calls.log"));
}

}  // namespace
