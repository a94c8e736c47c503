// Loads both language libraries and checks that the main menu carries every
// command of the view with a prompt and tooltip, that the right-click region
// menu exists, and that the strings the program loads by number are there.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "resource.h"

namespace {

// Every command of the view and the main frame's bar commands (the
// toolbar combo boxes 32856 and 35020 are not menu commands).
const std::vector<UINT> kCommands{
    // Video and camera.
    35000, 35001, 35002, 35003, 35004, 35005, 35006, 35007, 35008, 35009, 35010, 35011, 35012, 35013, 35014, 35015,
    35016, 35017, 35018, 35019, 35021, 35022, 35023, 35024, 35025,
    // Drawing tools.
    32801, 32782, 32800, 32853, 32803, 32804, 32805, 32806, 32807, 32808, 32809, 32810, 32811, 32812, 32813, 32814,
    32816, 32846,
    // Picture and measurement.
    32773, 33000, 32783, 32784, 32785, 32786, 32787, 32788, 32789, 32790, 32791, 32792, 32802, 32793, 32794, 32795,
    32797, 32798, 32857, 32799, 32815, 32817, 32818, 32819, 32820, 32826, 32827, 32828, 32829, 32833, 32834, 32835,
    32838, 32841, 32842, 32843, 32844, 32845, 32850, 32851, 32852, 32854, 32855, 32858, 32859,
    // Processing, files, folders, counting, tools.
    37000, 37001, 37002, 37003, 37004, 37005, 37006, 37007, 37008, 37009, 37010, 37011, 37012, 37013, 37014, 37015,
    37016, 37017, 37018, 37019, 37021, 37022, 37023, 37024, 37025, 37026, 37027, 37028, 37029, 37030, 37031, 37032,
    37033, 37034, 40000, 40005, 40006, 40007, 40008,
    // Printing and bars.
    57606, 57607, 57608, 57609, 32821, 32822, 32823, 32824, 32825, 32832};

// Strings the program loads by number.
const std::vector<UINT> kStrings{45001, 45002, 47034, 47053, 47054, 47056, 47057, 47058,
                                 47059, 47060, 47062, 47063, 47064, 47065, 47067, 47070, 47071, 47096, 47150, 47151, 45007,
                                 61712, 61713, 61715};

class LanguageResourcesTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        const std::wstring name = L"Lan_" + std::to_wstring(GetParam()) + L".dll";
        module_ = LoadLibraryExW(name.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << "language library missing";
    }
    void TearDown() override {
        if (module_) {
            FreeLibrary(module_);
        }
    }

    std::wstring String(UINT id) const {
        const wchar_t* text = nullptr;
        const int length = LoadStringW(module_, id, reinterpret_cast<LPWSTR>(&text), 0);
        return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
    }

    // Command id -> menu text over all pop-ups of the menu, nested ones too.
    std::map<UINT, std::wstring> MenuCommands(UINT menuId) const {
        std::map<UINT, std::wstring> commands;
        HMENU menu = LoadMenuW(module_, MAKEINTRESOURCEW(menuId));
        EXPECT_NE(menu, nullptr) << "menu " << menuId;
        if (menu) {
            Collect(menu, commands);
            DestroyMenu(menu);
        }
        return commands;
    }

    static void Collect(HMENU menu, std::map<UINT, std::wstring>& commands) {
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[256] = {};
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_FTYPE;
            info.dwTypeData = text;
            info.cch = 256;
            ASSERT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info));
            if (info.hSubMenu) {
                Collect(info.hSubMenu, commands);
            } else if (!(info.fType & MFT_SEPARATOR)) {
                EXPECT_TRUE(commands.emplace(info.wID, text).second) << "command " << info.wID << " twice";
            }
        }
    }

    HMODULE module_ = nullptr;
};

TEST_P(LanguageResourcesTest, MainMenuCarriesEveryCommandWithPromptAndTooltip) {
    const auto commands = MenuCommands(IDR_MAINFRAME);
    for (UINT id : kCommands) {
        const auto item = commands.find(id);
        ASSERT_NE(item, commands.end()) << "command " << id << " not on the menu";
        EXPECT_FALSE(item->second.empty()) << id;
        const std::wstring prompt = String(id);
        const auto lineBreak = prompt.find(L'\n');
        ASSERT_NE(lineBreak, std::wstring::npos) << "command " << id << " has no tooltip";
        EXPECT_GT(lineBreak, 0u) << id;
        EXPECT_LT(lineBreak + 1, prompt.size()) << id;
    }
    // The language and help commands stay on the menu too.
    for (UINT id : {ID_LANGUAGE_ENGLISH, ID_LANGUAGE_CHINESE, ID_APP_ABOUT, ID_HELP, ID_APP_EXIT, ID_VIEW_TOOLBAR}) {
        EXPECT_EQ(commands.count(id), 1u) << id;
    }
}

TEST_P(LanguageResourcesTest, RegionMenuOffersWhiteBalanceAndExposure) {
    HMENU menu = LoadMenuW(module_, MAKEINTRESOURCEW(IDR_REGION_MENU));
    ASSERT_NE(menu, nullptr);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetMenuItemCount(popup), 2);
    EXPECT_EQ(GetMenuItemID(popup, 0), static_cast<UINT>(ID_REGION_WHITE_BALANCE));
    EXPECT_EQ(GetMenuItemID(popup, 1), static_cast<UINT>(ID_REGION_AUTO_EXPOSURE));
    DestroyMenu(menu);
}

TEST_P(LanguageResourcesTest, StringsTheProgramLoadsExist) {
    for (UINT id : kStrings) {
        EXPECT_FALSE(String(id).empty()) << "string " << id;
    }
    // The range prompt names both limits.
    const std::wstring range = String(IDS_INTEGER_RANGE);
    EXPECT_NE(range.find(L"%1"), std::wstring::npos);
    EXPECT_NE(range.find(L"%2"), std::wstring::npos);
}

TEST_P(LanguageResourcesTest, EveryToolbarButtonHasATooltip) {
    for (UINT toolbar : {IDR_TOOLBAR_MAIN, IDR_TOOLBAR_VIDEO, IDR_TOOLBAR_MEASURE, IDR_TOOLBAR_PICTURE}) {
        HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(toolbar), MAKEINTRESOURCEW(241));
        ASSERT_NE(found, nullptr) << toolbar;
        const auto* words = static_cast<const WORD*>(LockResource(LoadResource(module_, found)));
        ASSERT_NE(words, nullptr);
        const WORD count = words[3];
        for (WORD i = 0; i < count; ++i) {
            const UINT id = words[4 + i];
            const bool combo = id == IDC_INTERVAL_COMBO || id == IDC_RESOLUTION_COMBO || id == IDC_PARAM_FILE_COMBO ||
                               id == IDC_SCALE_COMBO;
            if (id == 0 || combo) {
                continue;
            }
            EXPECT_NE(String(id).find(L'\n'), std::wstring::npos) << "button " << id << " of toolbar " << toolbar;
        }
    }
}

// Each toolbar's normal and hot pictures hold one 16x16 tile per item (the
// combo boxes take a place too); every button's tile draws something on the
// mask colour, and the combo boxes' places stay empty.
TEST_P(LanguageResourcesTest, ToolbarPicturesHaveATileForEveryButton) {
    struct Toolbar {
        UINT layout;
        UINT normal;
        UINT hot;
    };
    constexpr COLORREF kMask = RGB(192, 192, 192);
    for (const Toolbar toolbar : {Toolbar{IDR_TOOLBAR_MAIN, IDB_TOOLBAR_MAIN, IDB_TOOLBAR_MAIN_HOT},
                                  Toolbar{IDR_TOOLBAR_VIDEO, IDB_TOOLBAR_VIDEO, IDB_TOOLBAR_VIDEO_HOT},
                                  Toolbar{IDR_TOOLBAR_MEASURE, IDB_TOOLBAR_MEASURE, IDB_TOOLBAR_MEASURE_HOT},
                                  Toolbar{IDR_TOOLBAR_PICTURE, IDB_TOOLBAR_PICTURE, IDB_TOOLBAR_PICTURE_HOT}}) {
        HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(toolbar.layout), MAKEINTRESOURCEW(241));
        ASSERT_NE(found, nullptr) << toolbar.layout;
        const auto* words = static_cast<const WORD*>(LockResource(LoadResource(module_, found)));
        ASSERT_NE(words, nullptr);
        std::vector<UINT> places;  // the command of each image place
        for (WORD i = 0; i < words[3]; ++i) {
            if (words[4 + i] != 0) {
                places.push_back(words[4 + i]);
            }
        }
        for (UINT bitmapId : {toolbar.normal, toolbar.hot}) {
            HBITMAP bitmap = static_cast<HBITMAP>(
                LoadImageW(module_, MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
            ASSERT_NE(bitmap, nullptr) << bitmapId;
            DIBSECTION dib{};
            ASSERT_NE(GetObjectW(bitmap, sizeof(dib), &dib), 0);
            EXPECT_EQ(dib.dsBm.bmWidth, static_cast<LONG>(16 * places.size())) << bitmapId;
            EXPECT_EQ(dib.dsBm.bmHeight, 16) << bitmapId;
            HDC dc = CreateCompatibleDC(nullptr);
            HGDIOBJ old = SelectObject(dc, bitmap);
            for (std::size_t place = 0; place < places.size() && dib.dsBm.bmWidth >= LONG(16 * places.size());
                 ++place) {
                int drawn = 0;
                for (int y = 0; y < 16; ++y) {
                    for (int x = 0; x < 16; ++x) {
                        drawn += GetPixel(dc, static_cast<int>(16 * place) + x, y) != kMask;
                    }
                }
                const UINT id = places[place];
                const bool combo = id == IDC_INTERVAL_COMBO || id == IDC_RESOLUTION_COMBO ||
                                   id == IDC_PARAM_FILE_COMBO || id == IDC_SCALE_COMBO;
                if (combo) {
                    EXPECT_EQ(drawn, 0) << "combo place " << place << " of bitmap " << bitmapId;
                } else {
                    EXPECT_GT(drawn, 20) << "button " << id << " of bitmap " << bitmapId;
                }
            }
            SelectObject(dc, old);
            DeleteDC(dc);
            DeleteObject(bitmap);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Libraries, LanguageResourcesTest, ::testing::Values(0, 1));

// The Chinese library uses the program's own texts, in particular where
// the order of the ids differs from the order of the menu.
TEST(ChineseResourcesTest, TextsAreTheProgramsOwn) {
    HMODULE module = LoadLibraryExW(L"Lan_1.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(menu, nullptr);
    auto text = [menu](UINT id) {
        wchar_t buffer[256] = {};
        GetMenuStringW(menu, id, buffer, 256, MF_BYCOMMAND);
        return std::wstring(buffer);
    };
    const std::vector<std::pair<UINT, std::wstring>> expected{{35000, L"开启视频"},
                                                              {35002, L"录像"},
                                                              {35003, L"停止录像"},
                                                              {35016, L"裁剪或缩放视频"},
                                                              {32801, L"定标"},
                                                              {32853, L"直线夹角"},
                                                              {32846, L"箭头"},
                                                              {32850, L"箭头"},
                                                              {32797, L"显示所有信息"},
                                                              {32798, L"显示索引"},
                                                              {32857, L"显示结果"},
                                                              {32799, L"无信息显示"},
                                                              {32842, L"保存成绘图文件格式"},
                                                              {37007, L"参数调节"},
                                                              {37027, L"单点删除细胞"},
                                                              {40008, L"word模板"},
                                                              {57607, L"打印"},
                                                              {57609, L"打印预览"}};
    for (const auto& [id, chinese] : expected) {
        EXPECT_EQ(text(id), chinese) << id;
    }
    DestroyMenu(menu);

    auto string = [module](UINT id) {
        const wchar_t* s = nullptr;
        const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&s), 0);
        return length > 0 ? std::wstring(s, static_cast<std::size_t>(length)) : std::wstring();
    };
    EXPECT_EQ(string(45001), L"帧率：");
    EXPECT_EQ(string(45002), L"分辨率：");
    EXPECT_EQ(string(47053), L"非法的定时间隔!");
    EXPECT_EQ(string(47054), L"请输入定时间隔!");
    EXPECT_EQ(string(47056), L"打印...");
    EXPECT_EQ(string(47059), L"关闭");
    // The right-click menu.
    EXPECT_EQ(string(47062), L"文件信息");
    EXPECT_EQ(string(47063), L"选择图元");
    EXPECT_EQ(string(47064), L"取消");
    EXPECT_EQ(string(47065), L"删除");
    EXPECT_EQ(string(47071), L"取消绘图状态");
    EXPECT_EQ(string(47096), L"动态测量");
    EXPECT_EQ(string(32819), L"导出数据到Word\nWord");
    EXPECT_EQ(string(35002), L"录制视频\n录制视频");

    HMENU region = LoadMenuW(module, MAKEINTRESOURCEW(IDR_REGION_MENU));
    ASSERT_NE(region, nullptr);
    wchar_t title[64] = {};
    GetMenuStringW(region, 0, title, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(title), L"区域操作");
    DestroyMenu(region);
    FreeLibrary(module);
}

}  // namespace
