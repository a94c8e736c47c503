// The count results dialog as a real window over a real engine: the table,
// the summary, the column boxes, the picture and table clicks, the filter,
// saving the picture, the export's question and report, and the panes.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "count_result_dlg.h"
#include "counting_resource.h"
#include "counting_test_support.h"
#include "modal_script.h"
#include "resource_module.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ModalScript;

struct Square {
    int x;  // top-left corner, y from the top
    int y;
    int side;
};

// A light grey picture (64 x 48 unless said) with dark squares, the
// targets of grey levels 0..100.
CPicture SquaresPicture(const std::vector<Square>& squares, int width = 64, int height = 48) {
    CPicture picture(width, height, 24, kPictureBmp);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = picture.GetBits(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            bool dark = false;
            for (const Square& s : squares) {
                dark = dark || (x >= s.x && x < s.x + s.side && y >= s.y && y < s.y + s.side);
            }
            row[x * 3] = row[x * 3 + 1] = row[x * 3 + 2] = dark ? 50 : 200;
        }
    }
    return picture;
}

// `count` squares of side 2 on a grid of 4 pixels.
std::vector<Square> Grid(int count) {
    std::vector<Square> squares;
    for (int i = 0; i < count; ++i) {
        squares.push_back({(i % 16) * 4 + 1, (i / 16) * 4 + 1, 2});
    }
    return squares;
}

// Answers the save dialog with the next path and records each request.
class ScriptedFileDialogs final : public ICommonDialogs {
public:
    std::vector<std::wstring> asked;  // the filters
    std::optional<std::wstring> answer;
    FileSelection OpenFiles(HWND, const FileDialogRequest&) override { return {}; }
    std::optional<std::wstring> SaveFile(HWND, const FileDialogRequest& request) override {
        asked.push_back(request.filter);
        return answer;
    }
    std::optional<std::wstring> BrowseFolder(HWND, const std::wstring&, const std::optional<std::wstring>&) override {
        return std::nullopt;
    }
};

// Records the report and, while it is being written, its picture.
class RecordingWriter final : public ICountReportWriter {
public:
    bool WriteCountReport(const fs::path& document, const fs::path& picture, const CountReport& report) override {
        this->document = document;
        this->picture = picture;
        pictureRead = CPicture(picture, kPictureJpeg);
        this->report = report;
        return true;
    }
    fs::path document;
    fs::path picture;
    CPicture pictureRead;
    CountReport report;
};

std::wstring ItemText(HWND list, int row, int column) {
    wchar_t text[128] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 128;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

std::wstring ColumnHeading(HWND list, int column) {
    wchar_t text[128] = {};
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT;
    info.pszText = text;
    info.cchTextMax = 128;
    SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
    return text;
}

int Rows(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

RECT RectIn(HWND dialog, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The colours of a window's rows 0, 1 and its last row at its middle column,
// as it paints itself into a bitmap.
std::vector<COLORREF> MiddleColumn(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    const int x = client.right / 2;
    std::vector<COLORREF> colours = {GetPixel(dc, x, 0), GetPixel(dc, x, 1), GetPixel(dc, x, client.bottom - 1)};
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return colours;
}

std::vector<fs::path> ReportPictures() {
    std::vector<fs::path> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(fs::temp_directory_path(), ec)) {
        if (entry.path().filename().wstring().starts_with(L"~count_")) {
            found.push_back(entry.path());
        }
    }
    return found;
}

class CountResultDlgTest : public counting_testing::LanguageFixture {
protected:
    // The engine counts `squares`; the dialog is set up as the controller does.
    // A fresh engine and dialog each time, as the controller makes them.
    void Count(const std::vector<Square>& squares, float scale = 1.0f, int decimals = 2, int width = 64,
               int height = 48) {
        picture = SquaresPicture(squares, width, height);
        engine_ = std::make_unique<CIMGCount>();
        dialog_ = std::make_unique<CCountResultDlg>();
        ASSERT_TRUE(engine().Initialize(picture.Pixels(), width, height));
        ASSERT_TRUE(engine().creatGrayImg(3));
        ASSERT_TRUE(engine().creatEdgeImg(0, 100, 0));
        ASSERT_TRUE(engine().creatAimImg());
        ASSERT_EQ(engine().getObjectVector().size(), squares.size());
        dlg().SetImageSize(width, height);
        dlg().SetCounter(&engine());
        dlg().SetSource(scale, decimals, L"\u03bcm");
        dlg().SetFileDialogs(&files);
    }
    CIMGCount& engine() { return *engine_; }
    CCountResultDlg& dlg() { return *dialog_; }
    static HWND Table(HWND d) { return GetDlgItem(d, IDC_RESULT_TABLE); }
    static HWND Summary(HWND d) { return GetDlgItem(d, IDC_RESULT_SUMMARY); }

    CPicture picture;
    ScriptedFileDialogs files;
    std::unique_ptr<CIMGCount> engine_;
    std::unique_ptr<CCountResultDlg> dialog_;
};

TEST_F(CountResultDlgTest, ExcludedTargetsLeaveRowsNumberedOneToSeven) {
    Count(Grid(10));
    for (const int i : {1, 4, 9}) {
        engine().getObjectVector()[static_cast<std::size_t>(i)].excluded = 1;
    }
    std::wstring caption, count, heading0, heading7;
    std::vector<std::wstring> numbers;
    ModalScript script({[&](HWND d) {
        caption = ModalScript::Text(d);
        for (int row = 0; row < Rows(Table(d)); ++row) {
            numbers.push_back(ItemText(Table(d), row, 0));
        }
        heading0 = ColumnHeading(Table(d), 0);
        heading7 = ColumnHeading(Table(d), 7);
        count = ColumnHeading(Summary(d), 1);
        ModalScript::Press(d, IDCANCEL);
    }});
    EXPECT_EQ(dlg().DoModal(), IDCANCEL);
    EXPECT_EQ(caption, L"\u8ba1\u6570\u7ed3\u679c");
    EXPECT_EQ(numbers, (std::vector<std::wstring>{L"1", L"2", L"3", L"4", L"5", L"6", L"7"}));
    EXPECT_EQ(dlg().Table().rowTargets, (std::vector<int>{1, 3, 4, 6, 7, 8, 9}));
    EXPECT_EQ(heading0, L"\u5e8f\u53f7");
    EXPECT_EQ(heading7, L"\u5706\u76f8\u4f3c\u5ea6");
    EXPECT_EQ(count, L"7");
    EXPECT_EQ(dlg().RowsShown(), 7);
}

TEST_F(CountResultDlgTest, SummaryInCalibratedUnitsWithAndWithoutARegion) {
    const struct {
        bool region;
        std::vector<std::wstring> values;
    } cases[] = {
        // Ten 2 x 2 targets at 0.5 per pixel: 1.00 each, 10.00 in all.
        {false, {L"768.00 \u03bcm * \u03bcm", L"768.00 \u03bcm * \u03bcm", L"10.00 \u03bcm * \u03bcm", L"0.01"}},
        // A 32 x 24 region holds 40 of its 768 pixels' share.
        {true, {L"768.00 \u03bcm * \u03bcm", L"192.00 \u03bcm * \u03bcm", L"10.00 \u03bcm * \u03bcm", L"0.05"}},
    };
    for (const auto& c : cases) {
        Count(Grid(10), 0.5f, 2);
        if (c.region) {
            engine().setSelRect(CountPoint{0, 24}, 32, 24);
        }
        std::vector<std::wstring> labels, values;
        std::wstring area;
        ModalScript script({[&](HWND d) {
            for (int row = 0; row < Rows(Summary(d)); ++row) {
                labels.push_back(ItemText(Summary(d), row, 0));
                values.push_back(ItemText(Summary(d), row, 1));
            }
            area = ItemText(Table(d), 0, 1);
            ModalScript::Press(d, IDCANCEL);
        }});
        dlg().DoModal();
        EXPECT_EQ(values, c.values) << c.region;
        EXPECT_EQ(labels.front(), L"\u56fe\u50cf\u603b\u9762\u79ef:");
        EXPECT_EQ(area, L"1.00");
    }
}

TEST_F(CountResultDlgTest, TheOutlinedPictureKeepsPaddedRowsInPlace) {
    // 641 pixels wide: each row carries a byte of padding, so a picture
    // taken as width x height x 3 bytes shears.
    Count({{3, 2, 5}, {600, 10, 7}, {320, 4, 3}}, 1.0f, 2, 641, 20);
    CPicture expected(picture);
    ASSERT_TRUE(engine().DrawMarkInSrcIMG(expected.Pixels(), true));
    std::vector<std::uint8_t> outlined, selected;
    ModalScript script({[&](HWND d) {
        const auto a = dlg().OutlinedPicture()->Pixels();
        const auto b = dlg().SelectedPicture()->Pixels();
        outlined.assign(a.begin(), a.end());
        selected.assign(b.begin(), b.end());
        ModalScript::Press(d, IDCANCEL);
    }});
    dlg().DoModal();
    const std::vector<std::uint8_t> want(expected.Pixels().begin(), expected.Pixels().end());
    EXPECT_EQ(outlined, want);
    EXPECT_EQ(selected, want);
    EXPECT_NE(want, std::vector<std::uint8_t>(picture.Pixels().begin(), picture.Pixels().end()));
}

TEST_F(CountResultDlgTest, ColumnBoxesHideAndShowTheirColumns) {
    Count(Grid(3));
    std::vector<LRESULT> widths;
    ModalScript script({[&](HWND d) {
        const auto width = [&] { widths.push_back(SendMessageW(Table(d), LVM_GETCOLUMNWIDTH, 7, 0)); };
        width();
        for (int click = 0; click < 2; ++click) {
            SendDlgItemMessageW(d, 1006, BM_CLICK, 0, 0);
            width();
        }
        ModalScript::Press(d, IDCANCEL);
    }});
    dlg().DoModal();
    EXPECT_EQ(widths, (std::vector<LRESULT>{80, 0, 80}));
}

TEST_F(CountResultDlgTest, ClickingATargetSelectsItsRowAndPaintsItForBlinking) {
    // A large target under the picture's centre and a small one in a corner.
    Count({{1, 1, 3}, {12, 8, 40}});
    std::vector<std::wstring> selectedAreas;
    bool changed = false, blinking = false;
    ModalScript script({[&](HWND d) {
        HWND preview = GetDlgItem(d, IDC_RESULT_PREVIEW);
        RECT client{};
        GetClientRect(preview, &client);
        const LPARAM centre = MAKELPARAM(client.right / 2, client.bottom / 2);
        SendMessageW(preview, WM_LBUTTONDOWN, MK_LBUTTON, centre);
        SendMessageW(preview, WM_LBUTTONUP, 0, centre);
        for (int row = 0; row < Rows(Table(d)); ++row) {
            if (SendMessageW(Table(d), LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) != 0) {
                selectedAreas.push_back(ItemText(Table(d), row, 1));
            }
        }
        const auto a = dlg().OutlinedPicture()->Pixels();
        const auto b = dlg().SelectedPicture()->Pixels();
        changed = !std::equal(a.begin(), a.end(), b.begin(), b.end());
        blinking = dlg().IsBlinking();
        ModalScript::Press(d, IDCANCEL);
    }});
    dlg().DoModal();
    EXPECT_EQ(selectedAreas, std::vector<std::wstring>{L"1600.00"});
    EXPECT_TRUE(changed);
    EXPECT_TRUE(blinking);
}

TEST_F(CountResultDlgTest, SelectedRowsMarkTheirTargetsInThePicture) {
    // 4 x 4 targets: their inner pixels lie inside the outlines.
    Count({{1, 1, 4}, {7, 1, 4}, {13, 1, 4}, {19, 1, 4}});
    bool changed = false, blinking = false;
    ModalScript script({[&](HWND d) {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        SendMessageW(Table(d), LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&item));
        NMHDR click{Table(d), IDC_RESULT_TABLE, static_cast<UINT>(NM_CLICK)};
        SendMessageW(d, WM_NOTIFY, IDC_RESULT_TABLE, reinterpret_cast<LPARAM>(&click));
        // An inner pixel of the third target now differs.
        const CPicture& a = *dlg().OutlinedPicture();
        const CPicture& b = *dlg().SelectedPicture();
        changed = a.GetPixelColor(14, 2) != b.GetPixelColor(14, 2) && a.GetPixelColor(8, 2) == b.GetPixelColor(8, 2);
        blinking = dlg().IsBlinking();
        ModalScript::Press(d, IDCANCEL);
    }});
    dlg().DoModal();
    EXPECT_TRUE(changed);
    EXPECT_TRUE(blinking);
    for (const _tagOBJRESULT& target : engine().getObjectVector()) {
        EXPECT_EQ(target.mark, 1);
    }
}

TEST_F(CountResultDlgTest, FilterNarrowsTheRowsAndKeepsTheRange) {
    // Areas 4 and 16.
    Count({{1, 1, 2}, {10, 1, 4}, {20, 1, 2}, {30, 1, 4}});
    int rowsAfter = 0;
    std::wstring countAfter;
    ModalScript script({[&](HWND d) { ModalScript::Press(d, IDC_RESULT_FILTER); },
                        [&](HWND filter) {
                            HWND slider = GetDlgItem(filter, IDC_FILTER_LOWER_SLIDER);
                            SendMessageW(slider, TBM_SETPOS, TRUE, 10);
                            SendMessageW(filter, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 10),
                                         reinterpret_cast<LPARAM>(slider));
                            ModalScript::Press(filter, IDOK);
                        },
                        [&](HWND d) {
                            rowsAfter = Rows(Table(d));
                            countAfter = ColumnHeading(Summary(d), 1);
                            ModalScript::Press(d, IDCANCEL);
                        }});
    dlg().DoModal();
    EXPECT_EQ(rowsAfter, 2);
    EXPECT_EQ(countAfter, L"2");
    for (const auto& row : dlg().Table().rows) {
        EXPECT_EQ(row[1], L"16.00");
    }
    EXPECT_EQ(dlg().Filter().enabled, 1);
    EXPECT_EQ(dlg().Range().lower.area, 4.0);
    EXPECT_EQ(dlg().Range().upper.area, 16.0);
}

TEST_F(CountResultDlgTest, SaveImageWritesTheMarkedPictureByItsExtension) {
    const struct {
        const wchar_t* name;
        int type;  // kPictureAuto: nothing saved
    } cases[] = {
        {L"out.bmp", kPictureBmp}, {L"out.TIFF", kPictureTiff}, {L"out.png", kPictureAuto}, {L"out", kPictureAuto}};
    for (const auto& c : cases) {
        Count(Grid(3));
        files.answer = (folder / c.name).wstring();
        std::vector<std::uint8_t> shown;
        ModalScript script({[&](HWND d) {
            ModalScript::Press(d, IDC_RESULT_SAVE_IMAGE);
            const auto b = dlg().SelectedPicture()->Pixels();
            shown.assign(b.begin(), b.end());
            ModalScript::Press(d, IDCANCEL);
        }});
        dlg().DoModal();
        ASSERT_TRUE(script.Finished());
        if (c.type == kPictureAuto) {
            EXPECT_FALSE(fs::exists(folder / c.name)) << c.name;
            continue;
        }
        const CPicture saved(folder / c.name, c.type);
        ASSERT_TRUE(saved.IsValid()) << c.name;
        EXPECT_TRUE(std::equal(shown.begin(), shown.end(), saved.Pixels().begin(), saved.Pixels().end())) << c.name;
    }
    EXPECT_EQ(files.asked.front(), L"BMP File(*.bmp)|*.bmp|JPEG File(*.jpg)|*.jpg|TIFF File(*.tiff)|*.tiff|");
}

TEST_F(CountResultDlgTest, ExportAsksFirstOnlyForMoreThan150Rows) {
    const struct {
        int targets;
        bool asks;
    } cases[] = {{151, true}, {150, false}};
    for (const auto& c : cases) {
        files.asked.clear();
        Count(Grid(c.targets));
        std::wstring question;
        std::vector<ModalScript::Step> steps = {[&](HWND d) { ModalScript::Press(d, IDC_RESULT_EXPORT); }};
        if (c.asks) {
            steps.push_back([&](HWND box) {
                question = ModalScript::MessageText(box);
                ModalScript::Press(box, IDCANCEL);
            });
        }
        steps.push_back([&](HWND d) { ModalScript::Press(d, IDCANCEL); });
        ModalScript script(steps);
        dlg().DoModal();
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(files.asked.empty(), c.asks) << c.targets;
        if (c.asks) {
            EXPECT_EQ(question, LoadResourceString(IDS_RESULT_EXPORT_MANY));
        }
    }
}

TEST_F(CountResultDlgTest, ExportHandsTheReportAndATemporaryPictureToTheWriter) {
    Count(Grid(5));
    const fs::path document = folder / "report.doc";
    // A user's file where the picture once went stays untouched.
    std::ofstream(folder / "report.doc.jpg", std::ios::binary) << "user's own";
    files.answer = document.wstring();
    RecordingWriter writer;
    dlg().SetReportWriter(&writer);
    ModalScript script(
        {[&](HWND d) { ModalScript::Press(d, IDC_RESULT_EXPORT); }, [&](HWND d) { ModalScript::Press(d, IDCANCEL); }});
    dlg().DoModal();
    EXPECT_EQ(files.asked, (std::vector<std::wstring>{L"Word File(*.doc)|*.doc|"}));
    EXPECT_EQ(writer.document, document);
    EXPECT_EQ(writer.pictureRead.GetWidth(), 64);
    EXPECT_EQ(writer.pictureRead.GetHeight(), 48);
    EXPECT_NE(writer.picture.parent_path(), folder);
    EXPECT_FALSE(fs::exists(writer.picture));
    ASSERT_EQ(writer.report.summary.size(), 5u);
    EXPECT_EQ(writer.report.summary[0][0], L"\u76ee\u6807\u603b\u6570:");
    EXPECT_EQ(writer.report.summary[0][1], L"5");
    ASSERT_EQ(writer.report.results.size(), 6u);
    EXPECT_EQ(writer.report.results[0][0], L"\u5e8f\u53f7");
    EXPECT_EQ(writer.report.results[5][0], L"5");
    std::ifstream in(folder / "report.doc.jpg", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "user's own");
}

TEST_F(CountResultDlgTest, ExportWithoutAWordProcessorSaysSoAndLeavesNoPicture) {
    Count(Grid(2));
    files.answer = (folder / "report.doc").wstring();
    const std::vector<fs::path> before = ReportPictures();
    std::wstring message;
    ModalScript script({[&](HWND d) { ModalScript::Press(d, IDC_RESULT_EXPORT); },
                        [&](HWND box) {
                            message = ModalScript::MessageText(box);
                            ModalScript::Press(box, IDOK);
                        },
                        [&](HWND d) { ModalScript::Press(d, IDCANCEL); }});
    dlg().DoModal();
    EXPECT_EQ(message, L"\u521b\u5efaWord\u670d\u52a1\u5931\u8d25!");
    EXPECT_EQ(ReportPictures(), before);
    EXPECT_FALSE(fs::exists(folder / "report.doc"));
}

TEST_F(CountResultDlgTest, MinimisingKeepsThePanesForTheRestore) {
    Count(Grid(3));
    std::vector<RECT> before, after;
    bool iconic = false;
    ModalScript script({[&](HWND d) {
        const auto panes = [d] {
            std::vector<RECT> rects;
            for (const int id : {IDC_RESULT_PICTURE_PANE, IDC_RESULT_SUMMARY_PANE, IDC_RESULT_TABLE_PANE}) {
                rects.push_back(RectIn(d, GetDlgItem(d, id)));
            }
            return rects;
        };
        before = panes();
        ShowWindow(d, SW_MINIMIZE);
        iconic = IsIconic(d) != FALSE;
        ShowWindow(d, SW_RESTORE);
        after = panes();
        ModalScript::Press(d, IDCANCEL);
    }});
    dlg().DoModal();
    EXPECT_TRUE(iconic);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_TRUE(EqualRect(&before[i], &after[i])) << i;
    }
}

TEST_F(CountResultDlgTest, PanesKeepTheirSharesAndFollowTheSplitter) {
    Count(Grid(3));
    PaneShares opened, afterDrag;
    RECT summaryPane{}, summaryList{}, tablePane{}, tableList{};
    std::vector<COLORREF> barColours;
    int clientHeight = 0;
    ModalScript script({[&](HWND d) {
                            opened = dlg().Shares();
                            RECT w{};
                            GetWindowRect(d, &w);
                            SetWindowPos(d, nullptr, 0, 0, w.right - w.left, w.bottom - w.top + 200,
                                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
                            RECT client{};
                            GetClientRect(d, &client);
                            clientHeight = client.bottom;
                            tablePane = RectIn(d, GetDlgItem(d, IDC_RESULT_TABLE_PANE));
                            tableList = RectIn(d, Table(d));
                            // Drag the bar above the summary up by 30 pixels.
                            const RECT picture = RectIn(d, GetDlgItem(d, IDC_RESULT_PICTURE_PANE));
                            const RECT summary = RectIn(d, GetDlgItem(d, IDC_RESULT_SUMMARY_PANE));
                            POINT gap{(picture.left + picture.right) / 2, (picture.bottom + summary.top) / 2};
                            ClientToScreen(d, &gap);
                            HWND bar = nullptr;
                            for (HWND child = GetWindow(d, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                                RECT r{};
                                GetWindowRect(child, &r);
                                if (GetDlgCtrlID(child) >= static_cast<int>(kFirstSplitterId) && PtInRect(&r, gap))
                                    bar = child;
                            }
                            ASSERT_NE(bar, nullptr);
                            barColours = MiddleColumn(bar);
                            SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
                            SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1, static_cast<WORD>(-29)));
                            SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(1, static_cast<WORD>(-29)));
                        },
                        [&](HWND d) {
                            summaryPane = RectIn(d, GetDlgItem(d, IDC_RESULT_SUMMARY_PANE));
                            summaryList = RectIn(d, Summary(d));
                            afterDrag = dlg().Shares();
                            ModalScript::Press(d, IDCANCEL);
                        }});
    dlg().DoModal();
    ASSERT_TRUE(script.Finished());
    // Resized: the table keeps its share of the taller client (within a pixel).
    EXPECT_NEAR(tablePane.bottom - tablePane.top, opened.table * clientHeight, 1.0);
    EXPECT_TRUE(EqualRect(&tablePane, &tableList));
    // Dragged: the summary list fills its moved pane and its share grew.
    EXPECT_TRUE(EqualRect(&summaryPane, &summaryList));
    EXPECT_NEAR(afterDrag.summary, static_cast<float>(summaryPane.bottom - summaryPane.top) / clientHeight, 1e-4);
    EXPECT_GT(afterDrag.summary, opened.summary);
    // The bars are flat: light face, white above, a grey line below.
    EXPECT_EQ(barColours, (std::vector<COLORREF>{RGB(255, 255, 255), RGB(236, 233, 216), RGB(172, 168, 153)}));
}

}  // namespace
