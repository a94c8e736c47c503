// The annotation tools (text, counters, scale bar, arrow) driven by real
// mouse messages, counter numbering per style, and a document holding one
// object of every stored kind.
#include "tools_fixture.h"

#include <algorithm>
#include <typeinfo>

#include "byte_stream.h"
#include "counter_dlg.h"
#include "language_library.h"
#include "modal_script.h"
#include "object_dialogs_resource.h"
#include "cl_arrow.h"
#include "cl_count.h"
#include "cl_scale_bar.h"
#include "cl_text.h"
#include "object_factory.h"
#include "text_input_resource.h"

namespace {

using namespace tools_testing;

std::vector<std::uint8_t> RecordOf(CCLObject& object) {
    MemoryStream stream;
    CArchive ar(stream, CArchive::store);
    object.Serialize(ar);
    ar.Close();
    return stream.Bytes();
}

class AnnotationToolsTest : public ToolsTest {
protected:
    // Clicks at image points of a picture shown at zoom 2; curves and
    // polygons end on a double click.
    void DrawByMouse(int tool, const std::vector<POINT>& clicks) {
        controller_->SetTool(tool);
        const bool polyline = tool == 11 || tool == 12;
        for (std::size_t i = 0; i < clicks.size(); ++i) {
            const int x = clicks[i].x * 2;
            const int y = clicks[i].y * 2;
            if (i > 0) {
                MoveTo(x - 1, y - 1);
            }
            if (polyline && i + 1 == clicks.size()) {
                DoubleClick(x, y);
            } else {
                Click(x, y);
            }
        }
    }
    std::vector<std::int32_t> CounterNumbers(std::int32_t type, ColourRef colour) {
        std::vector<std::int32_t> numbers;
        for (const auto& o : *controller_->GetObjectList()) {
            const auto* counter = dynamic_cast<const CCL_Count*>(o.get());
            if (counter != nullptr && o->type == type && counter->markerColour == colour) {
                numbers.push_back(o->number);
            }
        }
        return numbers;
    }

    // The dialogs' templates come from the language library.
    LanguageLibrary language_{0};
};

struct AnnotationCase {
    int tool;
    const char16_t* typedText;  // the host's answer, for the text tool
    std::function<void(const CCLObject&)> check;
};

TEST_F(AnnotationToolsTest, EachToolCreatesItsObjectAtTheClickWithOneHistoryStep) {
    ASSERT_TRUE(language_.Loaded());
    const auto counterAt30x40 = [](const CCLObject& o) {
        const auto& c = dynamic_cast<const CCL_Count&>(o);
        EXPECT_FLOAT_EQ(c.centre.x, 30.0f);
        EXPECT_FLOAT_EQ(c.centre.y, 40.0f);
        EXPECT_EQ(o.number, 1);
        EXPECT_EQ(c.size, CCL_Count::kDefaultSize);
    };
    const std::vector<AnnotationCase> cases = {
        {13, u"Cell A",
         [](const CCLObject& o) {
             const auto& t = dynamic_cast<const CCLText&>(o);
             EXPECT_EQ(t.text, u"Cell A");
             EXPECT_FLOAT_EQ(t.position.x, 30.0f);
             EXPECT_FLOAT_EQ(t.position.y, 40.0f);
             EXPECT_EQ(o.number, 1);
         }},
        {14, nullptr, counterAt30x40},
        {15, nullptr, counterAt30x40},
        {16, nullptr, counterAt30x40},
        {17, nullptr,
         [](const CCLObject& o) {
             const auto& bar = dynamic_cast<const CCL_BiaoChi&>(o);
             EXPECT_FLOAT_EQ(bar.origin.x, 30.0f);
             EXPECT_FLOAT_EQ(bar.origin.y, 40.0f);
             EXPECT_FLOAT_EQ(bar.value, 20.0f);
             EXPECT_EQ(bar.thickness, 3);
             EXPECT_EQ(bar.barUnit, u"mm");
             EXPECT_EQ(bar.background, 0);
             EXPECT_EQ(bar.drawColour, 0x030201u);
             EXPECT_EQ(o.number, CCL_BiaoChi{}.number) << "not numbered";
         }},
        {19, nullptr,
         [](const CCLObject& o) {
             const auto& arrow = dynamic_cast<const CCLArrow&>(o);
             EXPECT_FLOAT_EQ(arrow.tip.x, 30.0f);
             EXPECT_FLOAT_EQ(arrow.tip.y, 40.0f);
             EXPECT_EQ(arrow.GetArrowSize(), (ArrowSize{25, 25}));
             EXPECT_EQ(arrow.GetDirection(), 0);
             EXPECT_EQ(o.number, 1);
         }},
    };
    for (const AnnotationCase& c : cases) {
        SCOPED_TRACE(c.tool);
        RecordingController& ctl = Open(100, 75, 2.0f);
        ctl.scaleBar = {20.0f, 3, u"mm", 0, RGB(1, 2, 3)};
        host_ = {};
        ctl.SetTool(c.tool);
        if (c.typedText != nullptr) {
            host_.annotationTexts.push_back(std::u16string(c.typedText));
        }
        Click(60, 80);
        ASSERT_EQ(ctl.GetObjectList()->size(), 1u);
        const CCLObject& made = *ctl.GetObjectList()->front();
        EXPECT_EQ(made.type, c.tool);
        c.check(made);
        EXPECT_EQ(ctl.kinds, std::vector<int>{1});
        EXPECT_EQ(host_.HistoryNotices(), 1);
        if (c.typedText != nullptr) {
            // Asked at the clicked point.
            ASSERT_EQ(host_.textAskedAt.size(), 1u);
            EXPECT_EQ(host_.textAskedAt[0].x, 60);
            EXPECT_EQ(host_.textAskedAt[0].y, 80);
        }
        // The tool stays chosen for the next object.
        EXPECT_EQ(ctl.GetInteraction().tool, c.tool);
    }
}

TEST_F(AnnotationToolsTest, TextDialogCancelledCreatesNothing) {
    ASSERT_TRUE(language_.Loaded());
    RecordingController& ctl = Open(100, 75, 2.0f);
    ctl.SetTool(13);
    // A move does not ask for a text: only the click does.
    MoveTo(20, 20);
    host_.annotationTexts.push_back(std::nullopt);
    Click(60, 80);
    EXPECT_EQ(host_.textAskedAt.size(), 1u);
    EXPECT_TRUE(ctl.GetObjectList()->empty());
    EXPECT_TRUE(ctl.kinds.empty());
    EXPECT_EQ(host_.HistoryNotices(), 0);
    EXPECT_EQ(ctl.GetTypeCounters().Get(13), 0);
}

TEST_F(AnnotationToolsTest, CounterDialogShowsAndStoresTheNumberingOfTypeAndColour) {
    ASSERT_TRUE(language_.Loaded());
    using testing_support::ModalScript;
    RecordingController& ctl = Open(100, 75, 2.0f);
    const auto red = static_cast<ColourRef>(RGB(255, 0, 0));
    ctl.counterColourKey = static_cast<std::int32_t>(red);
    ctl.SetCounterStyle(red, 7, 22, 15);
    ctl.SetTool(15);
    const fs::path config = dir_ / "Config.ini";
    CCounterDlg dialog(ctl);
    dialog.m_strConfigPath = config.wstring();
    std::vector<std::wstring> shown;
    const auto show = [&shown](HWND d) {
        shown.push_back(std::to_wstring(SendMessageW(GetDlgItem(d, IDC_COUNTER_TYPE), CB_GETCURSEL, 0, 0)) + L":" +
                        ModalScript::ItemText(d, IDC_COUNTER_NUMBER) + L"/" +
                        ModalScript::ItemText(d, IDC_COUNTER_SIZE));
    };
    int refused = 0;
    const auto refuse = [&refused](HWND box) {
        ++refused;
        ModalScript::Press(box, IDOK);
    };
    ModalScript script({[&](HWND d) {
                            show(d);
                            HWND types = GetDlgItem(d, IDC_COUNTER_TYPE);
                            SendMessageW(types, CB_SETCURSEL, 0, 0);
                            SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_COUNTER_TYPE, CBN_SELCHANGE),
                                         reinterpret_cast<LPARAM>(types));
                            show(d);
                            ModalScript::SetText(d, IDC_COUNTER_NUMBER, L"0");
                            ModalScript::Press(d, IDOK);
                        },
                        refuse,
                        [&](HWND d) {
                            ModalScript::SetText(d, IDC_COUNTER_NUMBER, L"3");
                            ModalScript::SetText(d, IDC_COUNTER_SIZE, L"201");
                            ModalScript::Press(d, IDOK);
                        },
                        refuse,
                        [&](HWND d) {
                            ModalScript::SetText(d, IDC_COUNTER_SIZE, L"30");
                            ModalScript::Press(d, IDOK);
                        }});
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(refused, 2);
    // Diamond with its stored numbering, then the circle with none stored.
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"2:7/22", L"0:1/15"}));
    EXPECT_EQ(ctl.GetCounterStyle(14, red), (CounterNumbering{3, 30}));
    EXPECT_EQ(ctl.GetCounterStyle(15, red), (CounterNumbering{7, 22}));
    EXPECT_EQ(ctl.GetCounterStyle(16, red), (CounterNumbering{1, 15}));
    const auto& records = ctl.GetCounterStyles()->Records();
    EXPECT_EQ(std::count_if(records.begin(), records.end(), [red](const auto& r) { return r.colour == red; }), 3);
    EXPECT_EQ(ctl.GetInteraction().tool, 14);
    EXPECT_EQ(ctl.counterColourKey, static_cast<std::int32_t>(red));
    EXPECT_EQ(GetPrivateProfileIntW(L"CLdraw", L"CColor", -1, config.c_str()), 255);
}

TEST_F(AnnotationToolsTest, TheArrowToolOpensItsPanelAndLeavingItClosesIt) {
    RecordingController& ctl = Open(100, 75, 2.0f);
    ctl.SetTool(19);
    EXPECT_EQ(host_.arrowPanel, &ctl.GetArrowPrototype());
    ctl.CancelInteraction();
    EXPECT_EQ(host_.arrowPanel, nullptr);
    ctl.SetTool(2);
    EXPECT_EQ(host_.arrowPanel, nullptr);
    ctl.SetTool(19);
    ASSERT_EQ(host_.arrowPanel, &ctl.GetArrowPrototype());
    ctl.ClosePicture();
    EXPECT_EQ(host_.arrowPanel, nullptr);
    ctl.SetTool(19);
    ASSERT_NE(host_.arrowPanel, nullptr);
    controller_.reset();
    EXPECT_EQ(host_.arrowPanel, nullptr);
    EXPECT_EQ(std::count(host_.arrowPanelCalls.begin(), host_.arrowPanelCalls.end(), "show"), 3);
}

TEST_F(AnnotationToolsTest, ScaleBarFollowsTheMouseBeforeItIsPlaced) {
    RecordingController& ctl = Open(100, 75, 2.0f);
    ctl.scaleBar = {20.0f, 3, u"\u03bcm", 0, RGB(1, 2, 3)};
    ctl.SetTool(17);
    const auto barPixel = [&](int x, int y) { return ctl.GetBackBuffer()->GetPixelRGB(x + 10, y + 1); };
    MoveTo(40, 60);
    EXPECT_EQ(barPixel(40, 60), 0x010203u);
    MoveTo(100, 100);
    EXPECT_EQ(barPixel(100, 100), 0x010203u);
    EXPECT_EQ(barPixel(40, 60), 0xFFFFFFu) << "the bar left its earlier place";
    EXPECT_TRUE(ctl.GetObjectList()->empty());
    EXPECT_TRUE(ctl.kinds.empty());
}

TEST_F(AnnotationToolsTest, CountersOfTwoColoursNumberIndependently) {
    RecordingController& ctl = Open(100, 75, 2.0f);
    constexpr ColourRef kRed = 0x0000FF;
    constexpr ColourRef kGreen = 0x00FF00;
    ctl.counterColourKey = static_cast<int>(kRed);
    DrawByMouse(14, {{10, 10}, {40, 10}});
    ctl.counterColourKey = static_cast<int>(kGreen);
    DrawByMouse(14, {{70, 10}});
    DrawByMouse(15, {{10, 40}});
    ctl.counterColourKey = static_cast<int>(kRed);
    DrawByMouse(14, {{40, 40}});
    // A style set for red circles numbers and sizes the next red circle.
    ctl.SetCounterStyle(kRed, 8, 20, 14);
    DrawByMouse(14, {{70, 40}});

    EXPECT_EQ(CounterNumbers(14, kRed), (std::vector<std::int32_t>{1, 2, 3, 8}));
    EXPECT_EQ(CounterNumbers(14, kGreen), (std::vector<std::int32_t>{1}));
    EXPECT_EQ(CounterNumbers(15, kGreen), (std::vector<std::int32_t>{1}));
    EXPECT_EQ(dynamic_cast<const CCL_Count&>(*ctl.GetObjectList()->back()).size, 20);
    EXPECT_EQ(ctl.GetCounterStyle(14, kRed), (CounterNumbering{9, 20}));
    EXPECT_EQ(ctl.GetCounterStyle(14, kGreen), (CounterNumbering{2, 15}));
    EXPECT_EQ(ctl.kinds, std::vector<int>(6, 1));
}

TEST_F(AnnotationToolsTest, DeletingACounterRenumbersOnlyItsStylesLaterCounters) {
    RecordingController& ctl = Open(100, 75, 2.0f);
    constexpr ColourRef kRed = 0x0000FF;
    constexpr ColourRef kBlue = 0xFF0000;
    ctl.counterColourKey = static_cast<int>(kRed);
    DrawByMouse(14, {{10, 10}, {40, 10}, {70, 10}, {10, 40}});
    DrawByMouse(16, {{40, 40}});
    ctl.counterColourKey = static_cast<int>(kBlue);
    DrawByMouse(14, {{70, 40}, {70, 65}});
    ASSERT_EQ(CounterNumbers(14, kRed), (std::vector<std::int32_t>{1, 2, 3, 4}));

    // Select red circle 2 on its outline (radius 15 device pixels) and delete it.
    ctl.SetSelectMode();
    Click(40 * 2 + 15, 10 * 2);
    ASSERT_EQ(ctl.GetSelection().size(), 1u);
    ASSERT_EQ(ctl.GetSelection().front()->number, 2);
    Key(VK_DELETE);

    EXPECT_EQ(CounterNumbers(14, kRed), (std::vector<std::int32_t>{1, 2, 3}));
    EXPECT_EQ(CounterNumbers(16, kRed), (std::vector<std::int32_t>{1}));
    EXPECT_EQ(CounterNumbers(14, kBlue), (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(ctl.kinds.back(), 2);
    // The number given back is handed out again.
    ctl.counterColourKey = static_cast<int>(kRed);
    DrawByMouse(14, {{40, 65}});
    EXPECT_EQ(CounterNumbers(14, kRed), (std::vector<std::int32_t>{1, 2, 3, 4}));
}

TEST_F(AnnotationToolsTest, DocumentWithEveryKindOpensWithIdenticalRecordsAndResults) {
    ASSERT_TRUE(language_.Loaded());
    RecordingController& ctl = Open(100, 75, 2.0f);
    const std::vector<std::pair<int, std::vector<POINT>>> drawings = {
        {2, {{10, 10}, {40, 50}}},
        {3, {{40, 20}, {20, 20}, {20, 60}}},
        {4, {{50, 0}, {50, 70}, {0, 30}, {90, 30}}},
        {5, {{10, 10}, {90, 10}, {50, 34}}},
        {6, {{10, 10}, {40, 30}}},
        {7, {{50, 50}, {60, 50}}},
        {8, {{20, 50}, {60, 50}}},
        {9, {{30, 50}, {50, 70}, {70, 50}}},
        {10, {{10, 10}, {50, 30}}},
        {11, {{5, 5}, {11, 13}, {11, 25}}},
        {12, {{10, 10}, {20, 10}, {20, 20}, {10, 20}}},
        {14, {{15, 60}}},
        {15, {{45, 60}}},
        {16, {{75, 60}}},
        {17, {{20, 5}}},
        {19, {{85, 20}}},
    };
    for (const auto& [tool, clicks] : drawings) {
        DrawByMouse(tool, clicks);
    }
    {
        host_.annotationTexts.push_back(u"\u7ec6\u80de 7");
        DrawByMouse(13, {{60, 40}});
        EXPECT_TRUE(host_.annotationTexts.empty());
    }
    std::vector<int> kinds;
    for (const auto& o : *ctl.GetObjectList()) {
        kinds.push_back(o->type);
    }
    std::sort(kinds.begin(), kinds.end());
    const std::vector<int> everyStoredKind = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 19};
    ASSERT_EQ(kinds, everyStoredKind);
    for (int kind : everyStoredKind) {
        EXPECT_TRUE(IsStoredObjectTag(kind));
    }

    const fs::path document = dir_ / "every_kind.kqmk";
    ASSERT_EQ(ctl.SaveDrawingFile(document), DocumentStatus::ok);

    CImageController opened;
    opened.SetOwnerWindow(hwnd_);
    opened.SetSequenceNumber(7);
    opened.GetHistoryStore().CreateFolder(7);
    ASSERT_EQ(opened.LoadDrawingFile(document), DocumentStatus::ok);
    const auto& saved = *ctl.GetObjectList();
    const auto& loaded = *opened.GetObjectList();
    ASSERT_EQ(loaded.size(), saved.size());
    for (std::size_t i = 0; i < saved.size(); ++i) {
        SCOPED_TRACE(saved[i]->type);
        // The factory made the same class: the record reads back whole.
        EXPECT_EQ(typeid(*loaded[i]), typeid(*saved[i]));
        EXPECT_EQ(RecordOf(*loaded[i]), RecordOf(*saved[i]));
        EXPECT_EQ(loaded[i]->results, saved[i]->results);
    }
    EXPECT_EQ(opened.GetCounterStyles()->Records(), ctl.GetCounterStyles()->Records());
    EXPECT_EQ(opened.GetTypeCounters().Get(13), 1);
}

}  // namespace
