#pragma once
// `CCaptureGraph`: one filter graph over a video input device. It lists the
// devices, binds one as the source, makes the standard filters the camera
// wires into a preview (source -> tee -> grabber -> renderer, tee -> null
// renderer) or a recording (source -> tee [-> compressor] -> mux -> file
// writer, tee -> renderer), hosts the renderer in the view, runs and stops
// the graph and shows property pages. No operation shows a message; every
// failure is returned and the camera decides.
#include <windows.h>
#include <dshow.h>
#include <qedit.h>

#include <array>
#include <string>
#include <vector>

#include "com_ptr.h"
#include "dshow_rules.h"
#include "grabber_callback.h"

using DeviceMonikers = std::array<ComPtr<IMoniker>, kMaxVideoDevices>;

// The friendly names of the system's video compressors in the order the
// device enumerator lists them; empty when it cannot be created.
std::vector<std::wstring> ListVideoCompressors();

class CCaptureGraph {
public:
    CCaptureGraph() = default;
    CCaptureGraph(const CCaptureGraph&) = delete;
    CCaptureGraph& operator=(const CCaptureGraph&) = delete;
    ~CCaptureGraph() { TearDown(); }

    // Graph, capture builder, tee, renderer, null renderer (optional), mux
    // (set to full interleaving, the only mode that runs everywhere) and
    // file writer, added under their fixed names.
    bool BuildFilters();
    // Media control, video window, media event and basic video of the
    // graph; the file writer's sink, the older sink interface when the newer
    // one is missing. The OR of the results.
    HRESULT QueryControls();
    // The video input category, at most 10 devices, names cut to 119.
    void EnumVideoDevices(DeviceMonikers& monikers);
    // 1 without a moniker at index, else the bind (and add) result.
    int BindDevice(const DeviceMonikers& monikers, int index);
    HRESULT AddCompressor(const std::wstring& name);
    HRESULT AddSampleGrabber();
    // Tells the grabber's callback the size of the frames its connected
    // input takes (0 x 0 when it is not connected).
    void UpdateGrabberFrameSize();
    HRESULT ConnectFilters(IBaseFilter* upstream, IBaseFilter* downstream);
    HRESULT FindPinInterface(IBaseFilter* filter, REFIID iid, void** out);
    HRESULT SetVideoOwner(HWND window, const RECT& rect);
    // Whether the file writer's connected input takes the byte stream the
    // mux writes its file through (seeking back for its headers and index).
    // A mux fed frames without it faults in the platform's capture library
    // and ends the process, so a recording is refused before it runs.
    bool WriterTakesStream() const;
    // Names the recording; E_POINTER without a file sink.
    HRESULT SetFileName(const std::wstring& path);
    bool Run();
    void Stop();
    bool IsRunning() const;
    bool IsStopped() const;
    void ShowFilterPages(IBaseFilter* filter, HWND owner);
    void ShowPinPages(IPin* pin, HWND owner);
    void DisconnectDownstream(IBaseFilter* filter);
    void RemoveDownstream(IBaseFilter* filter);
    // Removes a filter from the graph (a null filter is ignored).
    void RemoveFilter(IBaseFilter* filter);
    void TearDown();

    int GetDeviceCount() const { return m_deviceCount; }
    const std::wstring& GetDeviceName(int index) const { return m_deviceNames.at(index); }
    CGrabberCallback& Grabber() { return m_grabber; }
    IAMDroppedFrames* GetDroppedFrames() const { return m_droppedFrames.get(); }
    void SetDroppedFrames(IAMDroppedFrames* dropped) { m_droppedFrames.reset(dropped); }
    IGraphBuilder* GetGraph() const { return m_graph.get(); }
    ICaptureGraphBuilder2* GetCaptureBuilder() const { return m_builder.get(); }
    IBaseFilter* GetSource() const { return m_source.get(); }
    IBaseFilter* GetSmartTee() const { return m_tee.get(); }
    IBaseFilter* GetGrabberFilter() const { return m_grabberFilter.get(); }
    IBaseFilter* GetRenderer() const { return m_renderer.get(); }
    IBaseFilter* GetNullRenderer() const { return m_nullRenderer.get(); }
    IBaseFilter* GetMux() const { return m_mux.get(); }
    IBaseFilter* GetFileWriter() const { return m_writer.get(); }
    IBaseFilter* GetCompressor() const { return m_compressor.get(); }
    IVideoWindow* GetVideoWindow() const { return m_videoWindow.get(); }
    IFileSinkFilter* GetFileSink() const { return m_fileSink.get(); }

private:
    void WalkDownstream(IBaseFilter* filter, bool removeFilters);
    HRESULT CreateGraph();
    bool WaitState(FILTER_STATE wanted) const;
    void ReleaseAll();

    std::array<std::wstring, kMaxVideoDevices> m_deviceNames;
    ComPtr<IFileSinkFilter> m_fileSink;
    int m_deviceCount = 0;
    ComPtr<IAMDroppedFrames> m_droppedFrames;
    CGrabberCallback m_grabber;
    ComPtr<IBasicVideo> m_basicVideo;
    ComPtr<IBaseFilter> m_nullRenderer;
    ComPtr<IGraphBuilder> m_graph;
    ComPtr<ICaptureGraphBuilder2> m_builder;
    ComPtr<IBaseFilter> m_source;
    ComPtr<IBaseFilter> m_tee;
    ComPtr<IBaseFilter> m_grabberFilter;
    ComPtr<IBaseFilter> m_renderer;
    ComPtr<IBaseFilter> m_mux;
    ComPtr<IBaseFilter> m_writer;
    ComPtr<ISampleGrabber> m_sampleGrabber;
    ComPtr<IBaseFilter> m_compressor;
    ComPtr<IMediaEvent> m_mediaEvent;
    ComPtr<IVideoWindow> m_videoWindow;
    ComPtr<IMediaControl> m_mediaControl;
};
