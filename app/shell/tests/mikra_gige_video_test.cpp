// Mikra.exe from a folder of its own beside the stand-in build of KQGEu.dll,
// with the adapter service stand-in serving its process: the device tree
// lists the simulated GigE cameras of both adapters by model, the first of
// them is the view's camera, its live video shows in the view with the
// crosshair line of Config.ini where it is computed, a snapshot is saved and
// announced to the main frame, and a recording is written. The files are
// left in MIKRA_GIGE_VIDEO_FILES for the readers of the check that follows.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "adapter_service_fixture.h"
#include "live_video_checks.h"
#include "live_video_session.h"
#include "mikra_program_test.h"
#include "resource.h"
#include "video_layout.h"

namespace {

using namespace live_video;

// The first simulated camera, "Gige-CMOSDorisk", a 752 x 480 mono camera:
// the view's camera at start.
constexpr int kSensorWidth = 752;
constexpr int kSensorHeight = 480;
constexpr COLORREF kLineColour = RGB(0, 255, 0);

// The tree control of another process. Its messages carry pointers that
// process follows, so the item record and the text live in a block of its
// memory and are read back from there.
class RemoteTree {
public:
    RemoteTree(HWND tree, DWORD processId)
        : tree_(tree),
          process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId)) {
        if (process_) {
            block_ = VirtualAllocEx(process_.Get(), nullptr, kBlockBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        }
    }
    ~RemoteTree() {
        if (block_) VirtualFreeEx(process_.Get(), block_, 0, MEM_RELEASE);
    }
    RemoteTree(const RemoteTree&) = delete;
    RemoteTree& operator=(const RemoteTree&) = delete;

    bool Usable() const { return block_ != nullptr; }

    HTREEITEM Next(UINT relation, HTREEITEM item) const {
        return reinterpret_cast<HTREEITEM>(
            SendMessageW(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    }
    std::vector<HTREEITEM> Children(HTREEITEM parent) const {
        std::vector<HTREEITEM> items;
        for (HTREEITEM item = Next(parent ? TVGN_CHILD : TVGN_ROOT, parent); item; item = Next(TVGN_NEXT, item)) {
            items.push_back(item);
        }
        return items;
    }
    std::wstring Text(HTREEITEM item) const {
        auto* remoteText = static_cast<wchar_t*>(block_) + kTextOffset / sizeof(wchar_t);
        TVITEMW query{};
        query.mask = TVIF_TEXT | TVIF_HANDLE;
        query.hItem = item;
        query.pszText = remoteText;
        query.cchTextMax = kTextChars;
        if (!Write(&query, sizeof(query)) || !SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(block_))) {
            return {};
        }
        std::wstring text(kTextChars, L'\0');
        SIZE_T read = 0;
        if (!ReadProcessMemory(process_.Get(), remoteText, text.data(), kTextChars * sizeof(wchar_t), &read)) {
            return {};
        }
        text.resize(text.find(L'\0'));
        return text;
    }

private:
    static constexpr SIZE_T kBlockBytes = 4096;
    static constexpr SIZE_T kTextOffset = 512;
    static constexpr int kTextChars = 256;

    bool Write(const void* data, SIZE_T bytes) const {
        SIZE_T written = 0;
        return WriteProcessMemory(process_.Get(), block_, data, bytes, &written) && written == bytes;
    }

    HWND tree_;
    UniqueKernelHandle process_;
    void* block_ = nullptr;
};

std::wstring ClassName(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

// The tree controls of the frame.
std::vector<HWND> TreesOf(HWND frame) {
    std::vector<HWND> trees;
    EnumChildWindows(
        frame,
        [](HWND hwnd, LPARAM lParam) {
            if (ClassName(hwnd) == WC_TREEVIEWW) reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&trees));
    return trees;
}

// A family root of the device tree with the devices listed under it.
struct ListedFamily {
    HWND tree = nullptr;
    HTREEITEM root = nullptr;
    std::vector<std::wstring> names;
    std::vector<HTREEITEM> items;
};

// The root whose devices include `device`, in any tree of the frame.
ListedFamily FamilyListing(HWND frame, DWORD processId, const std::wstring& device) {
    for (HWND tree : TreesOf(frame)) {
        const RemoteTree remote(tree, processId);
        if (!remote.Usable()) continue;
        for (HTREEITEM root : remote.Children(nullptr)) {
            ListedFamily family;
            family.tree = tree;
            family.root = root;
            for (HTREEITEM item : remote.Children(root)) {
                family.items.push_back(item);
                family.names.push_back(remote.Text(item));
            }
            if (std::find(family.names.begin(), family.names.end(), device) != family.names.end()) return family;
        }
    }
    return {};
}

class MikraGigEVideoTest : public MikraProgramTest {
protected:
    void SetUp() override {
        const fs::path bin = ProgramFolder();
        UseFreshProgram(L"vz_mikra_gige");
        fs::copy_file(bin / L"gige_standin" / L"KQGEu.dll", folder_ / L"KQGEu.dll");
        fs::create_directories(folder_ / L"Photos");
        fs::create_directories(folder_ / L"Video Capture");
        // A centred green crosshair pair; snapshots as BMP; the mono model's
        // 24-bit grey pictures, which take the line's colour and record.
        WriteText(folder_ / L"Config.ini",
                  "[GIGE]\r\nImgType=1\r\n[GIGE_CMOS_M]\r\nColorMode=1\r\n[CROSSLINE]\r\nTotal=1\r\n[CROSSLINEINFO_0]"
                  "\r\nIndex=1\r\nIsDraw=1\r\n"
                  "IsCenter=1\r\nR=0\r\nG=255\r\nB=0\r\n");
    }

};

TEST_F(MikraGigEVideoTest, TheTreeListsTheSimulatedCamerasAndTheFirstShowsRecordsAndSnaps) {
    // The library asks the service for its adapters as the program starts.
    ASSERT_TRUE(mikra_.StartSuspended());
    kqge::fixture::Service service = kqge::fixture::StartService(mikra_.GetId(), 2, 2);
    mikra_.Resume();
    EXPECT_EQ(service.ExitCode(), 0u) << "the service was not asked for the adapters";
    HWND frame = mikra_.WaitForMainFrame();
    ASSERT_NE(frame, nullptr) << "no main frame";

    // Every simulated camera of a known model, both adapters in order; the
    // one of no known model is not listed.
    ListedFamily gige;
    ASSERT_TRUE(WaitFor(
        [&] {
            gige = FamilyListing(frame, mikra_.GetId(), L"1. KQGE_CMOS_Dorisk");
            return gige.tree != nullptr;
        },
        20000))
        << "the device tree lists no GigE camera";
    const wchar_t* const models[] = {L"KQGE_CMOS_Dorisk", L"KQGE_CMOS_Navelo", L"KQGE_Sabrel",      L"KQGE_Parsun",
                                     L"KQGE_Wendik",      L"KQGE_Dwinel",      L"KQGE_Ragnot",      L"KQGE_Lunvik",
                                     L"KQGE_Ostrel",      L"KQGE_CMOS_Alvino", L"KQGE_CMOS_Ebrant", L"KQGE_CMOS_Ulmora",
                                     L"KQGE_CMOS_Jorvel", L"KQGE_Hobrin",      L"KQGE_Ivrose"};
    std::vector<std::wstring> expected;
    for (const wchar_t* model : models) expected.push_back(std::to_wstring(expected.size() + 1) + L". " + model);
    EXPECT_EQ(gige.names, expected);

    EXPECT_FALSE(RunLiveVideoSession(mikra_, frame, folder_, {kSensorWidth, kSensorHeight, kLineColour},
                                     fs::path(MIKRA_GIGE_VIDEO_FILES).make_preferred())
                     .empty());
}

}  // namespace
