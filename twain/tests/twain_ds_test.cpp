// KQCMos_TW.ds driven as any TWAIN application drives it: through Wine's
// source manager twain_32.dll, which looks for c:\windows\twain_64\sane.ds.
// The data source is installed there under that name with the simulated
// device library beside it; each test opens and closes the source itself.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ds_resource.h"
#include "fix32.h"
#include "twain_application.h"
#include "twain_protocol.h"
#include "unique_temp_dir.h"

namespace twain {
namespace {

using test::TwainApplication;

const char* const kFamily = "Vizcam_TWAIN";

// Replaces what is there (std::filesystem's copy takes every file here for
// the same one).
void CopyOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    ASSERT_TRUE(CopyFileW(from.c_str(), to.c_str(), FALSE)) << from << " " << GetLastError();
}

std::filesystem::path FilesFolder() { return std::filesystem::path(TWAIN_DS_FILES).make_preferred(); }

// Puts the data source where the manager looks, once per process.
void InstallDataSource() {
    static bool installed = false;
    if (installed) return;
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::filesystem::path folder = std::filesystem::path(windows) / L"twain_64";
    std::filesystem::create_directories(folder);
    CopyOver(std::filesystem::path(TWAIN_DS_PATH).make_preferred(), folder / L"sane.ds");
    CopyOver(std::filesystem::path(TWAIN_DS_DEVICE_PATH).make_preferred(), folder / L"KQCMos_TW.DLL");
    // One colour camera with four capture sizes.
    std::ofstream(folder / L"KQSimCam.ini", std::ios::binary | std::ios::trunc)
        << "[Cameras]\nCount=1\n[Camera1]\nType=1\n";
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides", 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
        const wchar_t value[] = L"native";
        RegSetValueExW(key, L"sane.ds", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof value);
        RegCloseKey(key);
    }
    std::filesystem::create_directories(FilesFolder());
    installed = true;
}

// A picture as the application received it: top-down rows, RGB or grey,
// without padding.
struct Picture {
    int width = 0;
    int height = 0;
    int bits = 0;
    std::vector<std::uint8_t> pixels;
    int Channels() const { return bits == 8 ? 1 : 3; }
    const std::uint8_t* At(int x, int y) const {
        return &pixels[(static_cast<std::size_t>(y) * width + x) * Channels()];
    }
};

std::uint32_t Read32(const std::uint8_t* at) {
    std::uint32_t v = 0;
    std::memcpy(&v, at, 4);
    return v;
}

// From a DIB (header, palette, bottom-up BGR or grey rows).
Picture FromDib(const std::uint8_t* dib, std::size_t size) {
    Picture p;
    if (size < 40) return p;
    p.width = static_cast<int>(Read32(dib + 4));
    p.height = static_cast<int>(Read32(dib + 8));
    p.bits = dib[14];
    const std::size_t colours = Read32(dib + 32);
    const std::size_t rowBytes = ((static_cast<std::size_t>(p.width) * p.bits + 31) / 32) * 4;
    const std::size_t offset = 40 + colours * 4;
    if (p.width <= 0 || p.height <= 0 || offset + rowBytes * p.height > size) return Picture{};
    for (int y = 0; y < p.height; ++y) {
        const std::uint8_t* row = dib + offset + rowBytes * (p.height - 1 - y);
        for (int x = 0; x < p.width; ++x) {
            if (p.bits == 8) {
                p.pixels.push_back(row[x]);
            } else {
                p.pixels.push_back(row[3 * x + 2]);
                p.pixels.push_back(row[3 * x + 1]);
                p.pixels.push_back(row[3 * x]);
            }
        }
    }
    return p;
}

Picture FromDibHandle(TW_HANDLE handle) {
    const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(handle));
    if (bytes == nullptr) return {};
    Picture p = FromDib(bytes, GlobalSize(handle));
    GlobalUnlock(handle);
    return p;
}

// The bar colours of the simulated card along a row in the upper part, as
// letters: white, yellow, cyan, green, magenta, red, blue, black.
std::string BarRuns(const Picture& p, int y) {
    std::string runs;
    char run = '?';
    int length = 0;
    for (int x = 0; x < p.width; ++x) {
        const std::uint8_t* px = p.At(x, y);
        char c = '?';
        if (p.bits == 8) {
            c = static_cast<char>('a' + px[0] / 32);  // luminance bands
        } else {
            const bool r = px[0] > 150, g = px[1] > 150, b = px[2] > 150;
            const bool r0 = px[0] < 100, g0 = px[1] < 100, b0 = px[2] < 100;
            if (r && g && b)
                c = 'W';
            else if (r && g && b0)
                c = 'Y';
            else if (r0 && g && b)
                c = 'C';
            else if (r0 && g && b0)
                c = 'G';
            else if (r && g0 && b)
                c = 'M';
            else if (r && g0 && b0)
                c = 'R';
            else if (r0 && g0 && b)
                c = 'B';
            else if (r0 && g0 && b0)
                c = 'K';
        }
        if (c == run) {
            ++length;
            continue;
        }
        // Runs of a few pixels are the edges between bars.
        if (run != '?' && length >= 8 && (runs.empty() || runs.back() != run)) runs.push_back(run);
        run = c;
        length = 1;
    }
    if (run != '?' && length >= 8 && (runs.empty() || runs.back() != run)) runs.push_back(run);
    return runs;
}

// The bars in the card's order, read left to right, red before blue: the
// channels are in the stated order and the picture is upright.
void ExpectColourCard(const Picture& p) {
    ASSERT_GT(p.width, 0);
    const std::string runs = BarRuns(p, p.height / 4);
    const std::string cycle = "WYCGMRBKWYCGMRBK";
    std::string trimmed = runs;
    if (trimmed.size() > 1 && trimmed.front() == trimmed.back()) trimmed.pop_back();
    EXPECT_GE(trimmed.size(), 7u) << runs;
    EXPECT_NE(cycle.find(trimmed), std::string::npos) << runs;
    // The lowest quarter is the grey ramp: grey, and bright and dark both.
    const int y = p.height - 1 - p.height / 16;
    int darkest = 255;
    int brightest = 0;
    int coloured = 0;  // only where the ramp wraps from white to black
    for (int x = 0; x < p.width; ++x) {
        const std::uint8_t* px = p.At(x, y);
        darkest = std::min<int>(darkest, px[0]);
        brightest = std::max<int>(brightest, px[0]);
        if (p.bits == 24 && (std::abs(px[0] - px[2]) > 40 || std::abs(px[0] - px[1]) > 40)) ++coloured;
    }
    EXPECT_LE(coloured, 4);
    EXPECT_LT(darkest, 40);
    EXPECT_GT(brightest, 200);
}

// Grey pictures: the bars' luminance falls from white to black.
void ExpectGreyCard(const Picture& p) {
    ASSERT_EQ(p.bits, 8);
    std::vector<int> levels;
    const int y = p.height / 4;
    int runStart = 0;
    for (int x = 1; x <= p.width; ++x) {
        if (x == p.width || std::abs(p.At(x, y)[0] - p.At(x - 1, y)[0]) > 12) {
            if (x - runStart > 20) levels.push_back(p.At(runStart + (x - runStart) / 2, y)[0]);
            runStart = x;
        }
    }
    ASSERT_GE(levels.size(), 6u);
    int descents = 0;
    for (std::size_t i = 1; i < levels.size(); ++i) descents += levels[i] < levels[i - 1] ? 1 : 0;
    // One rise where the card wraps from black to white.
    EXPECT_GE(descents, static_cast<int>(levels.size()) - 2);
}

void WriteReference(const Picture& p, const std::wstring& name) {
    std::ofstream out(FilesFolder() / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(p.pixels.data()), static_cast<std::streamsize>(p.pixels.size()));
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

HWND g_found = nullptr;

// The settings dialog among this thread's windows: it has the capture
// button and the sensitivity list.
HWND SettingsDialog() {
    g_found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            if (GetDlgItem(window, IDC_SENSITIVITY) != nullptr && GetDlgItem(window, IDOK) != nullptr) {
                g_found = window;
                return FALSE;
            }
            return TRUE;
        },
        0);
    return g_found;
}

void Click(HWND dialog, int control) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, control)));
}

void Choose(HWND dialog, int combo, int index) {
    SendDlgItemMessageW(dialog, combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(combo, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, combo)));
}

void Type(HWND dialog, int edit, const wchar_t* text) {
    SetDlgItemTextW(dialog, edit, text);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(edit, EN_KILLFOCUS),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, edit)));
}

class DataSource : public ::testing::Test {
protected:
    void SetUp() override {
        InstallDataSource();
        // Each test starts from the device's default settings.
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\KQTarvo_CMOS_TW");
        app_ = std::make_unique<TwainApplication>();
        ASSERT_TRUE(app_->Ready());
        ASSERT_TRUE(app_->FindSource(kFamily));
    }
    void TearDown() override {
        app_.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\KQTarvo_CMOS_TW");
    }
    TwainApplication& App() { return *app_; }
    void Open() { ASSERT_EQ(App().OpenSource(), TWRC_SUCCESS); }
    // Shows the dialog and presses capture with a frame count.
    HWND Capture(int frames) {
        HWND dialog = SettingsDialog();
        if (dialog == nullptr) {
            EXPECT_EQ(App().Enable(true), TWRC_SUCCESS);
            dialog = SettingsDialog();
        }
        EXPECT_NE(dialog, nullptr);
        if (dialog == nullptr) return nullptr;
        SetDlgItemInt(dialog, IDC_FRAMES_EDIT, static_cast<UINT>(frames), FALSE);
        Click(dialog, IDOK);
        EXPECT_TRUE(App().WaitForSourceMessage(MSG_XFERREADY));
        return dialog;
    }
    TW_IMAGEINFO Info() {
        TW_IMAGEINFO info{};
        EXPECT_EQ(App().Source(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
        return info;
    }
    TW_HANDLE Native() {
        TW_HANDLE handle = nullptr;
        EXPECT_EQ(App().Source(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle), TWRC_XFERDONE);
        return handle;
    }
    TW_UINT16 EndTransfer() {
        TW_PENDINGXFERS pending{0xFFFF, 0};
        EXPECT_EQ(App().Source(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
        return pending.Count;
    }

    std::unique_ptr<TwainApplication> app_;
};

TEST_F(DataSource, IsListedWithItsIdentity) {
    const TW_IDENTITY& source = App().SourceIdentity();
    EXPECT_STREQ(source.ProductFamily, kFamily);
    EXPECT_EQ(source.ProtocolMajor, 1);
    EXPECT_EQ(source.ProtocolMinor, 8);
    EXPECT_EQ(+source.SupportedGroups & 0xFFFF, DG_CONTROL | DG_IMAGE);
}

TEST_F(DataSource, OpensClosesAndReopensAndRefusesASecondOpen) {
    Open();
    // The manager writes the Id it would give into the identity it is
    // handed: the second attempt gets a copy.
    TW_IDENTITY again = App().SourceIdentity();
    EXPECT_EQ(App().Manager(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &again), TWRC_FAILURE);
    // The first connection is unharmed.
    TW_UINT32 group = 0;
    EXPECT_EQ(App().Source(DG_CONTROL, DAT_XFERGROUP, MSG_GET, &group), TWRC_SUCCESS);
    EXPECT_EQ(group, DG_IMAGE);
    EXPECT_EQ(App().CloseSource(), TWRC_SUCCESS);
    Open();
    EXPECT_EQ(App().Enable(true), TWRC_SUCCESS);
    EXPECT_NE(SettingsDialog(), nullptr);
    EXPECT_EQ(App().CloseSource(), TWRC_SUCCESS);
    EXPECT_EQ(SettingsDialog(), nullptr);
}

// In state 4 every transfer triplet is out of sequence, reported once,
// and the source stays where it was.
TEST_F(DataSource, TripletsInTheWrongStateFailWithSeqError) {
    Open();
    struct Row {
        TW_UINT32 dg;
        TW_UINT16 dat;
        TW_UINT16 msg;
    };
    const Row rows[] = {
        {DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER},    {DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET},
        {DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS}, {DG_IMAGE, DAT_IMAGEINFO, MSG_GET},
        {DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET},       {DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET},
        {DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET},
    };
    std::vector<std::uint8_t> buffer(4096);
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.dat << " " << row.msg);
        alignas(8) std::uint8_t data[512] = {};
        auto* xfer = reinterpret_cast<TW_IMAGEMEMXFER*>(data);
        if (row.dat == DAT_IMAGEMEMXFER) {
            xfer->Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, static_cast<TW_UINT32>(buffer.size()), buffer.data()};
        }
        EXPECT_EQ(App().Source(row.dg, row.dat, row.msg, data), TWRC_FAILURE);
        EXPECT_EQ(App().SourceStatus(), TWCC_SEQERROR);
        EXPECT_EQ(App().SourceStatus(), TWCC_SUCCESS);
    }
    TW_PENDINGXFERS pending{0xFFFF, 0};
    EXPECT_EQ(App().Source(DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, &pending), TWRC_SUCCESS);
    EXPECT_EQ(pending.Count, 0);
    // Still state 4: the user interface can be enabled, but only once.
    EXPECT_EQ(App().Enable(true), TWRC_SUCCESS);
    EXPECT_EQ(App().Enable(true), TWRC_FAILURE);
    EXPECT_EQ(App().SourceStatus(), TWCC_SEQERROR);
    EXPECT_EQ(App().CloseSource(), TWRC_SUCCESS);
}

TEST_F(DataSource, AnswersEveryCapability) {
    Open();
    TW_CAPABILITY caps{CAP_SUPPORTEDCAPS, 0, nullptr};
    ASSERT_EQ(App().Source(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &caps), TWRC_SUCCESS);
    std::vector<TW_UINT16> ids;
    {
        const auto* array = static_cast<const std::uint8_t*>(GlobalLock(caps.hContainer));
        ASSERT_NE(array, nullptr);
        const std::uint32_t count = Read32(array + 2);
        EXPECT_EQ(count, 35u);
        for (std::uint32_t i = 0; i < count; ++i) {
            TW_UINT16 id = 0;
            std::memcpy(&id, array + 6 + 2 * i, 2);
            ids.push_back(id);
        }
        GlobalUnlock(caps.hContainer);
        GlobalFree(caps.hContainer);
    }
    for (TW_UINT16 id : ids) {
        for (TW_UINT16 msg : {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT, MSG_QUERYSUPPORT}) {
            SCOPED_TRACE(testing::Message() << std::hex << id << " " << msg);
            TW_CAPABILITY cap{id, 0, nullptr};
            ASSERT_EQ(App().Source(DG_CONTROL, DAT_CAPABILITY, msg, &cap), TWRC_SUCCESS);
            EXPECT_NE(+cap.hContainer, nullptr);
            EXPECT_GT(GlobalSize(cap.hContainer), 5u);
            GlobalFree(cap.hContainer);
        }
    }
    struct Row {
        TW_UINT16 id;
        TW_UINT16 type;
        std::uint32_t value;
        TW_UINT16 rc;
    };
    const Row sets[] = {
        {ICAP_HIGHLIGHT, TWTY_FIX32, Fix32Bits(ToFix32(128)), TWRC_SUCCESS},
        {ICAP_BRIGHTNESS, TWTY_FIX32, Fix32Bits(ToFix32(-1000)), TWRC_SUCCESS},
        {ICAP_BRIGHTNESS, TWTY_FIX32, Fix32Bits(ToFix32(500)), TWRC_FAILURE},
        {ICAP_XFERMECH, TWTY_UINT16, TWSX_MEMORY, TWRC_SUCCESS},
        {ICAP_XFERMECH, TWTY_UINT16, 3, TWRC_FAILURE},
        {CAP_XFERCOUNT, TWTY_INT16, 5, TWRC_SUCCESS},
        {ICAP_IMAGEFILEFORMAT, TWTY_UINT16, TWFF_TIFF, TWRC_FAILURE},
        {ICAP_BITDEPTH, TWTY_UINT16, 24, TWRC_SUCCESS},
        {ICAP_BITDEPTH, TWTY_UINT16, 32, TWRC_FAILURE},
    };
    for (const Row& row : sets) {
        SCOPED_TRACE(testing::Message() << std::hex << row.id << " " << row.value);
        HGLOBAL one = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
        auto* value = static_cast<std::uint8_t*>(GlobalLock(one));
        std::memcpy(value, &row.type, 2);
        std::memcpy(value + 2, &row.value, 4);
        GlobalUnlock(one);
        TW_CAPABILITY cap{row.id, TWON_ONEVALUE, one};
        EXPECT_EQ(App().Source(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &cap), row.rc);
        if (row.rc == TWRC_FAILURE) {
            EXPECT_EQ(App().SourceStatus(), TWCC_BADVALUE);
        }
        GlobalFree(one);
    }
    TW_CAPABILITY reset{CAP_XFERCOUNT, 0, nullptr};
    ASSERT_EQ(App().Source(DG_CONTROL, DAT_CAPABILITY, MSG_RESET, &reset), TWRC_SUCCESS);
    const auto* value = static_cast<const std::uint8_t*>(GlobalLock(reset.hContainer));
    TW_INT16 count = 0;
    std::memcpy(&count, value + 2, 2);
    EXPECT_EQ(count, -1);
    GlobalUnlock(reset.hContainer);
    GlobalFree(reset.hContainer);
    EXPECT_EQ(App().CloseSource(), TWRC_SUCCESS);
}

TEST_F(DataSource, CaptureButtonGivesThreeNativeTransfers) {
    Open();
    HWND dialog = Capture(3);
    ASSERT_NE(dialog, nullptr);
    std::vector<TW_UINT16> counts;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const TW_IMAGEINFO info = Info();
        TW_HANDLE dib = Native();
        ASSERT_NE(dib, nullptr);
        const Picture picture = FromDibHandle(dib);
        GlobalFree(dib);
        EXPECT_EQ(picture.width, info.ImageWidth);
        EXPECT_EQ(picture.height, info.ImageLength);
        EXPECT_EQ(picture.bits, 24);
        EXPECT_EQ(info.BitsPerPixel, 24);
        EXPECT_GT(FromFix32(info.XResolution), 0.0f);
        ExpectColourCard(picture);
        counts.push_back(EndTransfer());
    }
    EXPECT_EQ(counts, (std::vector<TW_UINT16>{2, 1, 0}));
    // State 5: no transfer until the next capture.
    TW_HANDLE none = nullptr;
    EXPECT_EQ(App().Source(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &none), TWRC_FAILURE);
    EXPECT_EQ(App().SourceStatus(), TWCC_SEQERROR);
    // The exit button asks the application to close the source.
    Click(dialog, IDCANCEL);
    EXPECT_TRUE(App().WaitForSourceMessage(MSG_CLOSEDSREQ));
    // Disabled and enabled again, the device still serves frames.
    ASSERT_EQ(App().Source(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, nullptr), TWRC_SUCCESS);
    EXPECT_EQ(SettingsDialog(), nullptr);
    Capture(1);
    TW_HANDLE again = Native();
    EXPECT_GT(FromDibHandle(again).width, 0);
    GlobalFree(again);
    EXPECT_EQ(App().CloseSource(), TWRC_SUCCESS);
}

TEST_F(DataSource, EightBitOutputHasAGreyPaletteAndFile) {
    Open();
    ASSERT_EQ(App().Enable(true), TWRC_SUCCESS);
    HWND dialog = SettingsDialog();
    ASSERT_NE(dialog, nullptr);
    Choose(dialog, IDC_COLOR_MODE, 1);  // 8 bit
    Capture(2);
    EXPECT_EQ(Info().BitsPerPixel, 8);
    TW_HANDLE dib = Native();
    const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(dib));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[14], 8);
    EXPECT_EQ(Read32(bytes + 32), 256u);
    for (int i : {0, 1, 128, 255}) {
        EXPECT_EQ(bytes[40 + 4 * i], i);
        EXPECT_EQ(bytes[40 + 4 * i + 2], i);
    }
    const Picture grey = FromDib(bytes, GlobalSize(dib));
    GlobalUnlock(dib);
    GlobalFree(dib);
    ExpectGreyCard(grey);
    EXPECT_EQ(EndTransfer(), 1);

    const std::filesystem::path file = FilesFolder() / L"grey.bmp";
    std::filesystem::remove(file);
    TW_SETUPFILEXFER setup{};
    std::strncpy(setup.FileName, file.string().c_str(), sizeof setup.FileName - 1);
    setup.Format = TWFF_BMP;
    ASSERT_EQ(App().Source(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup), TWRC_SUCCESS);
    ASSERT_EQ(App().Source(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_XFERDONE);
    const auto written = ReadFileBytes(file);
    ASSERT_GT(written.size(), 1078u);
    EXPECT_EQ(Read32(&written[10]), 1078u);
    EXPECT_EQ(Read32(&written[2]), written.size());
    const Picture fromFile = FromDib(written.data() + 14, written.size() - 14);
    ExpectGreyCard(fromFile);
    WriteReference(fromFile, L"grey.gray");
    EXPECT_EQ(EndTransfer(), 0);
    EXPECT_EQ(App().CloseSource(), TWRC_SUCCESS);
}

TEST_F(DataSource, WithoutTheDialogATransferIsReadyAtOnce) {
    Open();
    ASSERT_EQ(App().Enable(false), TWRC_SUCCESS);
    // Posted by the manager before Enable returned: no waiting needed.
    const auto messages = App().TakeSourceMessages();
    EXPECT_EQ(messages, (std::vector<TW_UINT16>{MSG_XFERREADY}));

    const std::filesystem::path file = FilesFolder() / L"colour.bmp";
    std::filesystem::remove(file);
    TW_SETUPFILEXFER setup{};
    std::strncpy(setup.FileName, file.string().c_str(), sizeof setup.FileName - 1);
    setup.Format = TWFF_BMP;
    ASSERT_EQ(App().Source(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup), TWRC_SUCCESS);
    TW_SETUPFILEXFER now{};
    ASSERT_EQ(App().Source(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, &now), TWRC_SUCCESS);
    EXPECT_EQ(std::string(now.FileName), file.string());
    const TW_IMAGEINFO info = Info();
    ASSERT_EQ(App().Source(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_XFERDONE);
    const auto written = ReadFileBytes(file);
    ASSERT_GT(written.size(), 54u);
    EXPECT_EQ(Read32(&written[10]), 54u);
    const Picture picture = FromDib(written.data() + 14, written.size() - 14);
    EXPECT_EQ(picture.width, info.ImageWidth);
    EXPECT_EQ(picture.height, info.ImageLength);
    ExpectColourCard(picture);
    WriteReference(picture, L"colour.rgb");
    EXPECT_EQ(EndTransfer(), 0);
    EXPECT_EQ(App().CloseSource(), TWRC_SUCCESS);
}

// Strips of whole rows arrive in the application's own small buffer, which
// stays where it is, red first and top row first.
TEST_F(DataSource, MemoryTransferFillsTheApplicationsBuffer) {
    Open();
    Capture(1);
    const TW_IMAGEINFO info = Info();
    TW_SETUPMEMXFER setup{};
    ASSERT_EQ(App().Source(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup), TWRC_SUCCESS);
    const std::size_t rowBytes = setup.MinBufSize;
    ASSERT_EQ(rowBytes, static_cast<std::size_t>(info.ImageWidth) * 3);
    for (bool asHandle : {false, true}) {
        SCOPED_TRACE(asHandle);
        if (asHandle) Capture(1);
        const auto length = static_cast<TW_UINT32>(rowBytes * 5 + 7);
        HGLOBAL handle = GlobalAlloc(GHND, length);
        std::vector<std::uint8_t> own(length);
        TW_MEMREF given = asHandle ? static_cast<TW_MEMREF>(handle) : own.data();
        Picture picture{info.ImageWidth, info.ImageLength, 24, {}};
        TW_IMAGEMEMXFER xfer{};
        xfer.Memory =
            TW_MEMORY{static_cast<TW_UINT32>(TWMF_APPOWNS | (asHandle ? TWMF_HANDLE : TWMF_POINTER)), length, given};
        TW_UINT16 rc = TWRC_SUCCESS;
        TW_UINT32 expectedRow = 0;
        int strips = 0;
        while (rc == TWRC_SUCCESS && strips < 10000) {
            rc = App().Source(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &xfer);
            ASSERT_TRUE(rc == TWRC_SUCCESS || rc == TWRC_XFERDONE) << rc;
            ++strips;
            EXPECT_EQ(+xfer.Memory.TheMem, given);
            EXPECT_EQ(+xfer.Memory.Length, length);
            EXPECT_EQ(+xfer.YOffset, expectedRow);
            EXPECT_LE(+xfer.Rows, 5u);
            EXPECT_EQ(+xfer.BytesWritten, xfer.Rows * rowBytes);
            expectedRow += xfer.Rows;
            const auto* bytes = static_cast<const std::uint8_t*>(asHandle ? GlobalLock(handle) : own.data());
            picture.pixels.insert(picture.pixels.end(), bytes, bytes + xfer.BytesWritten);
            if (asHandle) GlobalUnlock(handle);
        }
        GlobalFree(handle);
        EXPECT_EQ(expectedRow, static_cast<TW_UINT32>(info.ImageLength));
        EXPECT_EQ(strips, (info.ImageLength + 4) / 5);
        ExpectColourCard(picture);
        EXPECT_EQ(EndTransfer(), 0);
    }
    EXPECT_EQ(App().CloseSource(), TWRC_SUCCESS);
}

TEST_F(DataSource, ClosesFromStatesFiveSixAndSeven) {
    for (int state = 5; state <= 7; ++state) {
        SCOPED_TRACE(state);
        Open();
        if (state == 5) {
            ASSERT_EQ(App().Enable(true), TWRC_SUCCESS);
        }
        if (state >= 6) Capture(2);
        if (state == 7) GlobalFree(Native());
        EXPECT_EQ(App().CloseSource(), TWRC_SUCCESS);
        EXPECT_EQ(SettingsDialog(), nullptr);
        App().Pump(100);
    }
    // And the source opens again afterwards.
    Open();
    Capture(1);
    TW_HANDLE dib = Native();
    EXPECT_GT(FromDibHandle(dib).width, 0);
    GlobalFree(dib);
    EXPECT_EQ(App().CloseSource(), TWRC_SUCCESS);
}

TEST_F(DataSource, DialogControlsDriveTheDevice) {
    Open();
    ASSERT_EQ(App().Enable(true), TWRC_SUCCESS);
    HWND dialog = SettingsDialog();
    ASSERT_NE(dialog, nullptr);
    // The width typed in reaches the device, which rounds it to 8 pixels
    // (to one this camera sends frames of).
    Type(dialog, IDC_WIDTH_EDIT, L"645");
    Capture(1);
    EXPECT_EQ(Info().ImageWidth, 640);
    EXPECT_EQ(Info().ImageLength, 1024);
    TW_HANDLE dib = Native();
    EXPECT_EQ(FromDibHandle(dib).width, 640);
    GlobalFree(dib);
    EXPECT_EQ(EndTransfer(), 0);

    // With continuous exposure on, another resolution is refused and the
    // list shows the current one again.
    const LRESULT selected = SendDlgItemMessageW(dialog, IDC_RESOLUTION, CB_GETCURSEL, 0, 0);
    ASSERT_GT(selected, 0);
    CheckDlgButton(dialog, IDC_CONTINUOUS_AE, BST_CHECKED);
    Click(dialog, IDC_CONTINUOUS_AE);
    Choose(dialog, IDC_RESOLUTION, 0);
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_RESOLUTION, CB_GETCURSEL, 0, 0), selected);
    Capture(1);
    EXPECT_EQ(Info().ImageLength, 1024);
    GlobalFree(Native());
    EXPECT_EQ(EndTransfer(), 0);
    // Without it the same choice takes effect.
    CheckDlgButton(dialog, IDC_CONTINUOUS_AE, BST_UNCHECKED);
    Click(dialog, IDC_CONTINUOUS_AE);
    Choose(dialog, IDC_RESOLUTION, 0);
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_RESOLUTION, CB_GETCURSEL, 0, 0), 0);
    Capture(1);
    EXPECT_EQ(Info().ImageWidth, 640);
    EXPECT_EQ(Info().ImageLength, 480);
    GlobalFree(Native());
    EXPECT_EQ(App().CloseSource(), TWRC_SUCCESS);
}

// A source unloaded while the device is open and the dialog shown (only a
// direct load can do that: the manager unloads nothing after MSG_CLOSEDS)
// neither waits under the loader lock nor leaves a window behind.
TEST(DataSourceModule, UnloadingWithTheDeviceOpenNeitherWaitsNorLeavesItsWindow) {
    // A folder of its own: an earlier run's copies may still be in use.
    const std::filesystem::path folder = testing_support::UniqueTempPath("twain_ds_direct");
    std::filesystem::create_directories(folder);
    CopyOver(std::filesystem::path(TWAIN_DS_PATH).make_preferred(), folder / L"KQCMos_TW.ds");
    CopyOver(std::filesystem::path(TWAIN_DS_DEVICE_PATH).make_preferred(), folder / L"KQCMos_TW.DLL");
    std::ofstream(folder / L"KQSimCam.ini", std::ios::binary | std::ios::trunc)
        << "[Cameras]\nCount=1\n[Camera1]\nType=10\n";
    HMODULE module = LoadLibraryW((folder / L"KQCMos_TW.ds").c_str());
    ASSERT_NE(module, nullptr);
    using DsEntry = TW_UINT16(WINAPI*)(TW_IDENTITY*, TW_UINT32, TW_UINT16, TW_UINT16, TW_MEMREF);
    const auto entry = reinterpret_cast<DsEntry>(reinterpret_cast<void*>(GetProcAddress(module, "DS_Entry")));
    ASSERT_NE(entry, nullptr);
    TW_IDENTITY application{};
    std::strcpy(application.ProductName, "direct caller");
    application.ProtocolMajor = 1;
    application.ProtocolMinor = 8;
    TW_IDENTITY identity{};
    ASSERT_EQ(entry(&application, DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity), TWRC_SUCCESS);
    ASSERT_EQ(entry(&application, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity), TWRC_SUCCESS);
    HWND parent = CreateWindowExW(0, L"STATIC", L"parent", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    TW_USERINTERFACE ui{1, 0, parent};
    ASSERT_EQ(entry(&application, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
    HWND dialog = SettingsDialog();
    ASSERT_NE(dialog, nullptr);
    MSG msg;
    for (int i = 0; i < 20; ++i) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(20);
    }
    const ULONGLONG start = GetTickCount64();
    FreeLibrary(module);
    EXPECT_LT(GetTickCount64() - start, 5000u);
    EXPECT_FALSE(IsWindow(dialog));
    // Nothing of the unloaded module is called any more.
    for (int i = 0; i < 10; ++i) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(20);
    }
    DestroyWindow(parent);
}

}  // namespace
}  // namespace twain
