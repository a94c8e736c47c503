#include "capture_graph.h"

#include <olectl.h>

#include "dshow_ids.h"

#include <vector>

namespace {

// Fills a ComPtr from an out-parameter call when the full expression ends:
// read the pointer in a statement of its own.
template <typename Interface>
class OutPtr {
public:
    explicit OutPtr(ComPtr<Interface>& owner) : owner_(owner) {}
    ~OutPtr() { owner_.reset(raw_); }
    operator Interface**() { return &raw_; }
    operator void**() { return reinterpret_cast<void**>(&raw_); }

private:
    ComPtr<Interface>& owner_;
    Interface* raw_ = nullptr;
};
template <typename Interface>
OutPtr<Interface> Out(ComPtr<Interface>& owner) {
    owner.reset();
    return OutPtr<Interface>(owner);
}

template <typename Interface>
HRESULT Create(REFCLSID clsid, DWORD context, REFIID iid, ComPtr<Interface>& out) {
    return CoCreateInstance(clsid, nullptr, context, iid, Out(out));
}

// The first pin of that direction whose connection state is `connected`.
ComPtr<IPin> FindPin(IBaseFilter* filter, PIN_DIRECTION direction, bool connected) {
    ComPtr<IEnumPins> pins;
    filter->EnumPins(Out(pins));
    if (!pins) {
        return {};
    }
    for (;;) {
        ComPtr<IPin> pin;
        if (pins->Next(1, Out(pin), nullptr) != S_OK) {
            return {};
        }
        PIN_DIRECTION pinDirection;
        if (FAILED(pin->QueryDirection(&pinDirection)) || pinDirection != direction) {
            continue;
        }
        ComPtr<IPin> peer;
        pin->ConnectedTo(Out(peer));
        if (static_cast<bool>(peer) == connected) {
            return pin;
        }
    }
}

std::wstring ReadFriendlyName(IPropertyBag* bag) {
    VARIANT name;
    VariantInit(&name);
    std::wstring text;
    if (SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr)) && name.vt == VT_BSTR && name.bstrVal) {
        text = name.bstrVal;
    }
    VariantClear(&name);
    return text;
}

// Calls `visit` (moniker, friendly name, property bag opened) for each
// device of a category until it answers false.
template <typename Visit>
void ForEachDevice(REFCLSID category, Visit visit) {
    ComPtr<ICreateDevEnum> devices;
    if (FAILED(Create(CLSID_SystemDeviceEnum, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum, devices))) {
        return;
    }
    ComPtr<IEnumMoniker> monikers;
    if (devices->CreateClassEnumerator(category, Out(monikers), 0) != S_OK) {
        return;
    }
    if (!monikers) {
        return;
    }
    for (;;) {
        ComPtr<IMoniker> moniker;
        if (monikers->Next(1, Out(moniker), nullptr) != S_OK) {
            return;
        }
        ComPtr<IPropertyBag> bag;
        moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, Out(bag));
        const bool opened = static_cast<bool>(bag);
        const std::wstring name = opened ? ReadFriendlyName(bag.get()) : std::wstring();
        if (!visit(std::move(moniker), name, opened)) {
            return;
        }
    }
}

}  // namespace

std::vector<std::wstring> ListVideoCompressors() {
    std::vector<std::wstring> names;
    ForEachDevice(CLSID_VideoCompressorCategory, [&](ComPtr<IMoniker>, const std::wstring& friendly, bool) {
        names.push_back(friendly);
        return true;
    });
    return names;
}

namespace {

void ShowPages(IUnknown* object, const wchar_t* caption, HWND owner) {
    ComPtr<ISpecifyPropertyPages> specify;
    object->QueryInterface(IID_ISpecifyPropertyPages, Out(specify));
    if (!specify) {
        return;
    }
    CAUUID pages{};
    if (FAILED(specify->GetPages(&pages))) {
        return;
    }
    IUnknown* objects[] = {object};
    OleCreatePropertyFrame(owner, 0, 0, caption, 1, objects, pages.cElems, pages.pElems, 0, 0, nullptr);
    CoTaskMemFree(pages.pElems);
}

}  // namespace

HRESULT CCaptureGraph::CreateGraph() {
    HRESULT result =
        Create(CLSID_CaptureGraphBuilder2, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2, m_builder);
    if (FAILED(result)) {
        return result;
    }
    result = Create(CLSID_FilterGraph, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, m_graph);
    if (FAILED(result)) {
        m_builder.reset();
        return result;
    }
    return m_builder->SetFiltergraph(m_graph.get());
}

bool CCaptureGraph::BuildFilters() {
    constexpr DWORD kAnyServer = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;
    if (FAILED(CreateGraph())) {
        return false;
    }
    if (FAILED(Create(CLSID_SmartTee, CLSCTX_INPROC_SERVER, IID_IBaseFilter, m_tee)) ||
        FAILED(Create(CLSID_VideoRenderer, CLSCTX_INPROC_SERVER, IID_IBaseFilter, m_renderer)) ||
        FAILED(Create(CLSID_AviDest, kAnyServer, IID_IBaseFilter, m_mux)) ||
        FAILED(Create(CLSID_FileWriter, kAnyServer, IID_IBaseFilter, m_writer))) {
        return false;
    }
    Create(CLSID_NullRenderer, CLSCTX_INPROC_SERVER, IID_IBaseFilter, m_nullRenderer);
    // A mux in any other mode may refuse to run; one video stream gives the
    // same file either way.
    ComPtr<IConfigInterleaving> interleaving;
    m_mux->QueryInterface(IID_IConfigInterleaving, Out(interleaving));
    if (interleaving) {
        interleaving->put_Mode(INTERLEAVE_FULL);
    }
    m_graph->AddFilter(m_tee.get(), L"Smart Tee DX");
    m_graph->AddFilter(m_renderer.get(), L"Video Render DX");
    m_graph->AddFilter(m_mux.get(), L"Avi Mux DX");
    m_graph->AddFilter(m_writer.get(), L"Filter Writer DX");
    if (m_nullRenderer) {
        m_graph->AddFilter(m_nullRenderer.get(), L"NullRender DX");
    }
    return true;
}

HRESULT CCaptureGraph::QueryControls() {
    if (!m_graph) {
        return E_POINTER;
    }
    HRESULT result = m_graph->QueryInterface(IID_IMediaControl, Out(m_mediaControl));
    result |= m_graph->QueryInterface(IID_IVideoWindow, Out(m_videoWindow));
    result |= m_graph->QueryInterface(IID_IMediaEvent, Out(m_mediaEvent));
    result |= m_graph->QueryInterface(IID_IBasicVideo, Out(m_basicVideo));
    if (m_writer) {
        // A writer without the newer sink interface still names its file
        // through the older one.
        ComPtr<IFileSinkFilter2> sink2;
        HRESULT sink = m_writer->QueryInterface(IID_IFileSinkFilter2, Out(sink2));
        if (SUCCEEDED(sink) && sink2) {
            m_fileSink.reset(sink2.release());
        } else {
            sink = m_writer->QueryInterface(IID_IFileSinkFilter, Out(m_fileSink));
        }
        result |= sink;
    }
    return result;
}

void CCaptureGraph::EnumVideoDevices(DeviceMonikers& monikers) {
    std::size_t index = 0;
    ForEachDevice(CLSID_VideoInputDeviceCategory, [&](ComPtr<IMoniker> moniker, const std::wstring& name, bool opened) {
        if (!opened) {
            return true;
        }
        m_deviceNames[index] = ListedDeviceName(name);
        monikers[index] = std::move(moniker);
        m_deviceCount = static_cast<int>(++index);
        return index < kMaxVideoDevices;
    });
}

int CCaptureGraph::BindDevice(const DeviceMonikers& monikers, int index) {
    if (index < 0 || index >= static_cast<int>(monikers.size()) || !monikers[index] || !m_graph) {
        return 1;
    }
    HRESULT result = monikers[index]->BindToObject(nullptr, nullptr, IID_IBaseFilter, Out(m_source));
    if (SUCCEEDED(result) && m_source) {
        result = m_graph->AddFilter(m_source.get(), m_deviceNames[index].c_str());
    }
    return result;
}

HRESULT CCaptureGraph::AddCompressor(const std::wstring& name) {
    if (!m_graph) {
        return E_POINTER;
    }
    HRESULT result = E_FAIL;
    ForEachDevice(CLSID_VideoCompressorCategory, [&](ComPtr<IMoniker> moniker, const std::wstring& friendly, bool) {
        const std::wstring names[] = {friendly};
        if (!FindCompressor(names, name)) {
            return true;
        }
        result = moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, Out(m_compressor));
        if (SUCCEEDED(result) && m_compressor) {
            result = m_graph->AddFilter(m_compressor.get(), name.c_str());
        }
        return false;
    });
    return result;
}

HRESULT CCaptureGraph::AddSampleGrabber() {
    if (!m_graph || FAILED(Create(CLSID_SampleGrabber, CLSCTX_INPROC_SERVER, IID_IBaseFilter, m_grabberFilter))) {
        return 0;
    }
    const HRESULT added = m_graph->AddFilter(m_grabberFilter.get(), L"Sample Grabber DX");
    const HRESULT queried = m_grabberFilter->QueryInterface(IID_ISampleGrabber, Out(m_sampleGrabber));
    if (FAILED(added) || FAILED(queried) || !m_sampleGrabber) {
        return added | queried;
    }
    AM_MEDIA_TYPE type{};
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_RGB24;
    HRESULT result = m_sampleGrabber->SetMediaType(&type);
    result = m_sampleGrabber->SetCallback(&m_grabber, 0);
    result = m_sampleGrabber->SetBufferSamples(FALSE);
    result = m_sampleGrabber->SetOneShot(FALSE);
    return result;
}

void CCaptureGraph::UpdateGrabberFrameSize() {
    int width = 0, height = 0;
    AM_MEDIA_TYPE type{};
    if (m_sampleGrabber && SUCCEEDED(m_sampleGrabber->GetConnectedMediaType(&type))) {
        if (type.formattype == FORMAT_VideoInfo && type.cbFormat >= sizeof(VIDEOINFOHEADER) && type.pbFormat) {
            const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
            width = info->bmiHeader.biWidth;
            height = info->bmiHeader.biHeight;
        }
        CoTaskMemFree(type.pbFormat);
        if (type.pUnk) {
            type.pUnk->Release();
        }
    }
    m_grabber.SetFrameSize(width, height > 0 ? height : 0);
}

HRESULT CCaptureGraph::ConnectFilters(IBaseFilter* upstream, IBaseFilter* downstream) {
    if (!upstream || !downstream || !m_graph) {
        return E_POINTER;
    }
    const ComPtr<IPin> out = FindPin(upstream, PINDIR_OUTPUT, false);
    const ComPtr<IPin> in = FindPin(downstream, PINDIR_INPUT, false);
    if (!out || !in) {
        return E_FAIL;
    }
    return m_graph->Connect(out.get(), in.get());
}

HRESULT CCaptureGraph::FindPinInterface(IBaseFilter* filter, REFIID iid, void** out) {
    if (!filter || !out) {
        return E_POINTER;
    }
    *out = nullptr;
    ComPtr<IEnumPins> pins;
    HRESULT result = filter->EnumPins(Out(pins));
    if (FAILED(result) || !pins) {
        return FAILED(result) ? result : E_FAIL;
    }
    for (;;) {
        ComPtr<IPin> pin;
        if (pins->Next(1, Out(pin), nullptr) != S_OK) {
            return E_FAIL;
        }
        if (SUCCEEDED(pin->QueryInterface(iid, out)) && *out) {
            return S_OK;
        }
    }
}

HRESULT CCaptureGraph::SetVideoOwner(HWND window, const RECT& rect) {
    if (!m_videoWindow) {
        return E_POINTER;
    }
    HRESULT result = m_videoWindow->put_Owner(reinterpret_cast<OAHWND>(window));
    if (SUCCEEDED(result)) {
        result = m_videoWindow->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS);
    }
    if (SUCCEEDED(result)) {
        result = m_videoWindow->SetWindowPosition(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    }
    if (SUCCEEDED(result)) {
        result = m_videoWindow->put_WindowStyle(WS_CHILD | WS_CLIPCHILDREN);
    }
    if (SUCCEEDED(result)) {
        result = m_videoWindow->put_MessageDrain(reinterpret_cast<OAHWND>(window));
    }
    if (SUCCEEDED(result)) {
        result = m_videoWindow->put_Visible(OATRUE);
    }
    return result;
}

bool CCaptureGraph::WriterTakesStream() const {
    if (!m_writer) {
        return false;
    }
    const ComPtr<IPin> in = FindPin(m_writer.get(), PINDIR_INPUT, true);
    if (!in) {
        return false;
    }
    ComPtr<IStream> stream;
    in->QueryInterface(IID_IStream, Out(stream));
    return static_cast<bool>(stream);
}

HRESULT CCaptureGraph::SetFileName(const std::wstring& path) {
    if (!m_fileSink) {
        return E_POINTER;
    }
    return m_fileSink->SetFileName(path.c_str(), nullptr);
}

bool CCaptureGraph::Run() {
    if (!m_graph || !m_mediaControl) {
        return false;
    }
    if (IsRunning()) {
        return true;
    }
    return SUCCEEDED(m_mediaControl->Run());
}

void CCaptureGraph::Stop() {
    if (m_mediaControl && !IsStopped()) {
        // The graph stops its filters from the renderers and the file writer
        // upstream, so the source would still be delivering while the mux
        // has already finished its file; a frame reaching the mux then makes
        // it write through an output it has let go, a fault in the
        // platform's capture library. The source is stopped on its own
        // first, while everything after it still runs (a paused renderer
        // would hold the last frame and the source's thread with it): its
        // Stop returns once its streaming thread is done. The graph then
        // pauses it again on the way down, where a live source sends nothing.
        if (m_source) {
            m_source->Stop();
        }
        m_mediaControl->Stop();
    }
    // A still no frame took any more is not left armed for the next graph run.
    m_grabber.Withdraw();
}

bool CCaptureGraph::WaitState(FILTER_STATE wanted) const {
    if (!m_mediaControl) {
        return false;
    }
    OAFilterState state = State_Stopped;
    return SUCCEEDED(m_mediaControl->GetState(10, &state)) && state == wanted;
}

bool CCaptureGraph::IsRunning() const {
    return WaitState(State_Running);
}

bool CCaptureGraph::IsStopped() const {
    return WaitState(State_Stopped);
}

void CCaptureGraph::ShowFilterPages(IBaseFilter* filter, HWND owner) {
    if (filter) {
        ShowPages(filter, nullptr, owner);
    }
}

void CCaptureGraph::ShowPinPages(IPin* pin, HWND owner) {
    if (!pin) {
        return;
    }
    PIN_INFO info{};
    pin->QueryPinInfo(&info);
    if (info.pFilter) {
        info.pFilter->Release();
    }
    ShowPages(pin, info.achName, owner);
}

void CCaptureGraph::DisconnectDownstream(IBaseFilter* filter) { WalkDownstream(filter, false); }

void CCaptureGraph::RemoveDownstream(IBaseFilter* filter) { WalkDownstream(filter, true); }

// Depth first, so every filter is cut loose before the one feeding it. A
// removed filter leaves the graph even when its pins would not disconnect.
void CCaptureGraph::WalkDownstream(IBaseFilter* filter, bool removeFilters) {
    if (!filter || !m_graph) {
        return;
    }
    for (;;) {
        const ComPtr<IPin> out = FindPin(filter, PINDIR_OUTPUT, true);
        if (!out) {
            return;
        }
        ComPtr<IPin> peer;
        out->ConnectedTo(Out(peer));
        PIN_INFO info{};
        IBaseFilter* next = peer && SUCCEEDED(peer->QueryPinInfo(&info)) ? info.pFilter : nullptr;
        if (next) {
            WalkDownstream(next, removeFilters);
        }
        m_graph->Disconnect(peer.get());
        const HRESULT cut = m_graph->Disconnect(out.get());
        const bool removed = next && removeFilters;
        if (removed) {
            m_graph->RemoveFilter(next);
        }
        if (next) {
            next->Release();
        }
        if (FAILED(cut) && !removed) {
            return;
        }
    }
}

void CCaptureGraph::RemoveFilter(IBaseFilter* filter) {
    if (filter && m_graph) {
        m_graph->RemoveFilter(filter);
    }
}

void CCaptureGraph::TearDown() {
    m_fileSink.reset();
    m_mux.reset();
    m_mediaEvent.reset();
    if (m_videoWindow) {
        m_videoWindow->put_Visible(OAFALSE);
        m_videoWindow->put_Owner(0);
    }
    if (m_source) {
        RemoveDownstream(m_source.get());
        RemoveFilter(m_source.get());
    }
    ReleaseAll();
}

void CCaptureGraph::ReleaseAll() {
    if (m_sampleGrabber) {
        m_sampleGrabber->SetCallback(nullptr, 0);
    }
    m_droppedFrames.reset();
    m_basicVideo.reset();
    m_nullRenderer.reset();
    m_source.reset();
    m_tee.reset();
    m_sampleGrabber.reset();
    m_grabberFilter.reset();
    m_renderer.reset();
    m_writer.reset();
    m_compressor.reset();
    m_videoWindow.reset();
    m_mediaControl.reset();
    m_graph.reset();
    m_builder.reset();
}
