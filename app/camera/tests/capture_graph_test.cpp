// The capture graph over the platform's DirectShow and the test source
// registered in the test prefix: the device listing, the preview graph and
// its renderer inside the view, stills in the three formats, a short sample,
// and a recording through the file-writer stand-in (which names its file only
// through the older sink interface). The stills and the recording go to
// CAPTURE_GRAPH_FILES, where a CTest step reads them with ImageMagick,
// tiffinfo and ffprobe.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "capture_graph.h"
#include "dshow_fixtures/fixture_registration.h"
#include "snapshot_message_pump.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using dshow_test::notices;
using dshow_test::WaitFor;

class CaptureGraphTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    static void TearDownTestSuite() { CoUninitialize(); }
    void SetUp() override {
        notices.clear();
        files = fs::path(CAPTURE_GRAPH_FILES);
        fs::create_directories(files);
        view = CreateWindowExW(0, L"STATIC", L"view", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 700,
                               560, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(view, nullptr);
    }
    void TearDown() override { DestroyWindow(view); }

    // Builds a graph bound to device 0 and ready for wiring.
    std::unique_ptr<CCaptureGraph> OpenGraph() {
        auto graph = std::make_unique<CCaptureGraph>();
        EXPECT_TRUE(graph->BuildFilters());
        graph->QueryControls();
        graph->EnumVideoDevices(monikers);
        EXPECT_EQ(graph->BindDevice(monikers, 0), S_OK);
        return graph;
    }
    void WirePreview(CCaptureGraph& graph) {
        ASSERT_EQ(graph.AddSampleGrabber(), S_OK);
        graph.RemoveFilter(graph.GetFileWriter());
        graph.RemoveFilter(graph.GetMux());
        ASSERT_EQ(graph.ConnectFilters(graph.GetSource(), graph.GetSmartTee()), S_OK);
        ICaptureGraphBuilder2* builder = graph.GetCaptureBuilder();
        ASSERT_EQ(builder->RenderStream(nullptr, nullptr, graph.GetSmartTee(), graph.GetGrabberFilter(),
                                        graph.GetRenderer()),
                  S_OK);
        ASSERT_EQ(builder->RenderStream(nullptr, nullptr, graph.GetSmartTee(), nullptr, graph.GetNullRenderer()), S_OK);
    }
    // The filter on the other end of `filter`'s first pin of that direction.
    static std::wstring PeerOf(IBaseFilter* filter, PIN_DIRECTION direction, int skip = 0) {
        IEnumPins* pins = nullptr;
        filter->EnumPins(&pins);
        IPin* pin = nullptr;
        std::wstring name;
        while (pins && pins->Next(1, &pin, nullptr) == S_OK) {
            PIN_DIRECTION pinDirection;
            pin->QueryDirection(&pinDirection);
            IPin* peer = nullptr;
            if (pinDirection == direction && SUCCEEDED(pin->ConnectedTo(&peer)) && peer && skip-- == 0) {
                PIN_INFO info{};
                peer->QueryPinInfo(&info);
                FILTER_INFO filterInfo{};
                info.pFilter->QueryFilterInfo(&filterInfo);
                name = filterInfo.achName;
                if (filterInfo.pGraph) filterInfo.pGraph->Release();
                info.pFilter->Release();
            }
            if (peer) peer->Release();
            pin->Release();
            if (!name.empty()) break;
        }
        if (pins) pins->Release();
        return name;
    }

    HWND view = nullptr;
    fs::path files;
    DeviceMonikers monikers;
};

TEST_F(CaptureGraphTest, ListsTenDevicesAndCutsLongNames) {
    std::vector<std::wstring> names;
    for (int i = 0; i < 12; ++i) names.push_back(L"Listed source " + std::to_wstring(10 + i));
    {
        dshow_fixtures::TestSources sources(names);
        ASSERT_TRUE(sources.Registered());
        CCaptureGraph graph;
        ASSERT_TRUE(graph.BuildFilters());
        graph.EnumVideoDevices(monikers);
        EXPECT_EQ(graph.GetDeviceCount(), 10);
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(graph.GetDeviceName(i).rfind(L"Listed source ", 0), 0u) << i;
            EXPECT_NE(monikers[i], nullptr) << i;
        }
    }
    monikers = {};
    const std::wstring longName = L"Long " + std::wstring(195, L'x');
    dshow_fixtures::TestSources one({longName});
    ASSERT_TRUE(one.Registered());
    CCaptureGraph graph;
    ASSERT_TRUE(graph.BuildFilters());
    graph.EnumVideoDevices(monikers);
    ASSERT_EQ(graph.GetDeviceCount(), 1);
    EXPECT_EQ(graph.GetDeviceName(0), longName.substr(0, 119));
    EXPECT_EQ(graph.BindDevice(monikers, 1), 1);
}

TEST_F(CaptureGraphTest, PreviewWiresTheTeeAndHostsTheRendererAndSavesStills) {
    dshow_fixtures::TestSources sources({L"Preview source"});
    ASSERT_TRUE(sources.Registered());
    std::unique_ptr<CCaptureGraph> graph = OpenGraph();
    WirePreview(*graph);
    EXPECT_EQ(PeerOf(graph->GetSource(), PINDIR_OUTPUT), L"Smart Tee DX");
    EXPECT_EQ(PeerOf(graph->GetGrabberFilter(), PINDIR_INPUT), L"Smart Tee DX");
    EXPECT_EQ(PeerOf(graph->GetGrabberFilter(), PINDIR_OUTPUT), L"Video Render DX");
    EXPECT_EQ(PeerOf(graph->GetNullRenderer(), PINDIR_INPUT), L"Smart Tee DX");

    const RECT rect{30, 20, 30 + 320, 20 + 240};
    ASSERT_EQ(graph->SetVideoOwner(view, rect), S_OK);
    const HWND video = GetWindow(view, GW_CHILD);
    ASSERT_NE(video, nullptr);
    EXPECT_TRUE(GetWindowLongW(video, GWL_STYLE) & WS_CHILD);
    RECT placed;
    GetWindowRect(video, &placed);
    MapWindowPoints(nullptr, view, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 30);
    EXPECT_EQ(placed.top, 20);
    EXPECT_EQ(placed.right - placed.left, 320);
    EXPECT_EQ(placed.bottom - placed.top, 240);

    graph->Grabber().SetNoticeWindow(view);
    ASSERT_TRUE(graph->Run());
    EXPECT_TRUE(WaitFor([&] { return graph->IsRunning(); }));
    const struct {
        int type;
        const char* name;
    } stills[] = {{1, "still.bmp"}, {2, "still.jpg"}, {3, "still.tiff"}};
    for (const auto& still : stills) {
        SCOPED_TRACE(still.name);
        fs::remove(files / still.name);
        ASSERT_TRUE(graph->Grabber().Arm({640, 480, (files / still.name).wstring(), still.type, true}));
        // A second arming while the first is pending is refused.
        EXPECT_FALSE(graph->Grabber().Arm({640, 480, (files / "other.bmp").wstring(), 1, true}));
        ASSERT_TRUE(WaitFor([&] { return !notices.empty(); }));
        EXPECT_EQ(notices.front(), (files / still.name).wstring());
        EXPECT_TRUE(fs::exists(files / still.name));
        notices.clear();
    }
    EXPECT_FALSE(fs::exists(files / "other.bmp"));
    graph->Stop();
    EXPECT_TRUE(graph->IsStopped());
    graph->TearDown();
    EXPECT_EQ(GetWindow(view, GW_CHILD), nullptr);
}

TEST_F(CaptureGraphTest, ShortSampleSavesNothingAndStaysArmed) {
    dshow_fixtures::TestSources sources({L"Short source"});
    ASSERT_TRUE(sources.Registered());
    ASSERT_TRUE(dshow_fixtures::SetSourceSwitch(L"ShortSamples", 1));
    std::unique_ptr<CCaptureGraph> graph = OpenGraph();
    WirePreview(*graph);
    graph->Grabber().SetNoticeWindow(view);
    const fs::path path = files / "short.bmp";
    fs::remove(path);
    ASSERT_TRUE(graph->Grabber().Arm({640, 480, path.wstring(), 1, true}));
    ASSERT_TRUE(graph->Run());
    IAMDroppedFrames* dropped = nullptr;
    ASSERT_EQ(graph->FindPinInterface(graph->GetSource(), IID_IAMDroppedFrames, reinterpret_cast<void**>(&dropped)),
              S_OK);
    graph->SetDroppedFrames(dropped);
    long delivered = 0;
    ASSERT_TRUE(WaitFor([&] { return SUCCEEDED(dropped->GetNumNotDropped(&delivered)) && delivered >= 5; }));
    EXPECT_TRUE(graph->Grabber().IsPending());
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(notices.empty());
    graph->Stop();
}

TEST_F(CaptureGraphTest, RecordsThroughTheMuxAndTheOlderFileSink) {
    dshow_fixtures::FileWriterStandIn writer;
    ASSERT_TRUE(writer.Registered());
    dshow_fixtures::TestSources sources({L"Recording source"});
    ASSERT_TRUE(sources.Registered());
    std::unique_ptr<CCaptureGraph> graph = OpenGraph();
    // The stand-in has no IFileSinkFilter2: the sink is the older interface.
    ASSERT_NE(graph->GetFileSink(), nullptr);
    IFileSinkFilter2* newer = nullptr;
    EXPECT_EQ(graph->GetFileWriter()->QueryInterface(IID_IFileSinkFilter2, reinterpret_cast<void**>(&newer)),
              E_NOINTERFACE);
    const fs::path path = files / "recording.avi";
    fs::remove(path);
    ASSERT_EQ(graph->SetFileName(path.wstring()), S_OK);
    graph->RemoveFilter(graph->GetNullRenderer());
    ASSERT_EQ(graph->ConnectFilters(graph->GetSource(), graph->GetSmartTee()), S_OK);
    ASSERT_EQ(graph->ConnectFilters(graph->GetMux(), graph->GetFileWriter()), S_OK);
    ASSERT_EQ(graph->ConnectFilters(graph->GetSmartTee(), graph->GetMux()), S_OK);
    graph->GetCaptureBuilder()->RenderStream(nullptr, nullptr, graph->GetSmartTee(), nullptr, graph->GetRenderer());
    ASSERT_TRUE(graph->Run());
    WaitFor([] { return false; }, 1500ms);
    graph->Stop();
    graph->TearDown();
    EXPECT_GT(fs::file_size(path), 640u * 480u * 3u);
}

TEST(CaptureGraph, FileNameWithoutSinkFailsCleanly) {
    CCaptureGraph graph;
    EXPECT_EQ(graph.SetFileName(L"C:\\x.avi"), E_POINTER);
    EXPECT_EQ(graph.ConnectFilters(nullptr, nullptr), E_POINTER);
    EXPECT_FALSE(graph.Run());
    graph.Stop();
    EXPECT_FALSE(graph.IsRunning());
}

}  // namespace
