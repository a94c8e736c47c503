#include "test_source.h"

#include <ks.h>
#include <uuids.h>

#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "com_object.h"
#include "fixture_ids.h"
#include "property_sets.h"
#include "single_pin_filter.h"

namespace {

constexpr SIZE kSizes[] = {{640, 480}, {1280, 1024}, {800, 600}};
constexpr REFERENCE_TIME kDefaultFrameTime = 400000;  // 25 frames per second

DWORD Setting(const wchar_t* name) {
    DWORD value = 0;
    DWORD bytes = sizeof(value);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kTestSourceSettingsKey, name, RRF_RT_REG_DWORD, nullptr, &value, &bytes) !=
        ERROR_SUCCESS) {
        return 0;
    }
    return value;
}

void MakeType(AM_MEDIA_TYPE& type, int width, int height, REFERENCE_TIME frameTime) {
    type = {};
    auto* info = static_cast<VIDEOINFOHEADER*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
    *info = {};
    info->AvgTimePerFrame = frameTime;
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = width;
    info->bmiHeader.biHeight = height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = 24;
    info->bmiHeader.biCompression = BI_RGB;
    info->bmiHeader.biSizeImage = static_cast<DWORD>(((width * 3 + 3) & ~3) * height);
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_RGB24;
    type.bFixedSizeSamples = TRUE;
    type.lSampleSize = info->bmiHeader.biSizeImage;
    type.formattype = FORMAT_VideoInfo;
    type.cbFormat = sizeof(VIDEOINFOHEADER);
    type.pbFormat = reinterpret_cast<BYTE*>(info);
}

const VIDEOINFOHEADER* VideoInfo(const AM_MEDIA_TYPE& type) {
    if (type.formattype != FORMAT_VideoInfo || type.cbFormat < sizeof(VIDEOINFOHEADER) || !type.pbFormat) {
        return nullptr;
    }
    return reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
}

bool Offered(const AM_MEDIA_TYPE& type) {
    const VIDEOINFOHEADER* info = VideoInfo(type);
    if (type.majortype != MEDIATYPE_Video || type.subtype != MEDIASUBTYPE_RGB24 || !info ||
        info->bmiHeader.biBitCount != 24) {
        return false;
    }
    for (const SIZE& size : kSizes) {
        if (info->bmiHeader.biWidth == size.cx && info->bmiHeader.biHeight == size.cy) {
            return true;
        }
    }
    return false;
}

// The maker's extension properties behind the filter's IKsPropertySet: one
// store and one call log for every instance, so a test sees what a camera
// wrote after its graph is gone. Only the candidate set chosen by the
// "PropertySet" switch (its place in the probing order) answers.
struct PropertyStore {
    std::mutex lock;
    std::map<DWORD, std::vector<BYTE>> values;
    std::string calls;  // "Get <set> <id>" or "Set <set> <id> <value>", one a line
};

PropertyStore& Properties() {
    static PropertyStore store;
    return store;
}

// The candidate's place in the probing order, 0 for a set that is none of them.
DWORD CandidateOrder(REFGUID set) {
    const auto candidates = CandidatePropertySets();
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (SameGuid(candidates[i].set, set)) return static_cast<DWORD>(i + 1);
    }
    return 0;
}

long FirstWord(const void* data, DWORD size) {
    std::int32_t word = 0;
    if (data && size >= sizeof(word)) memcpy(&word, data, sizeof(word));
    return word;
}

class TestSource;

class SourcePin : public FilterPin<IAMStreamConfig, IKsPropertySet, IAMDroppedFrames> {
public:
    explicit SourcePin(TestSource& filter);
    ~SourcePin() { FreeTypeBlock(format_); }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;

    // IPin
    STDMETHODIMP Connect(IPin* receiver, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override { return type && Offered(*type) ? S_OK : S_FALSE; }
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }
    STDMETHODIMP BeginFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP EndFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

    // IAMStreamConfig
    STDMETHODIMP SetFormat(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE** type) override;
    STDMETHODIMP GetNumberOfCapabilities(int* count, int* size) override {
        *count = static_cast<int>(std::size(kSizes));
        *size = sizeof(VIDEO_STREAM_CONFIG_CAPS);
        return S_OK;
    }
    STDMETHODIMP GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) override;

    // IKsPropertySet: the pin category only.
    STDMETHODIMP Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD) override { return E_PROP_ID_UNSUPPORTED; }
    STDMETHODIMP Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD size, DWORD* returned) override;
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

    // IAMDroppedFrames
    STDMETHODIMP GetNumDropped(long* count) override {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetNumNotDropped(long* count) override {
        *count = delivered_.load();
        return S_OK;
    }
    STDMETHODIMP GetDroppedInfo(long, long*, long* copied) override {
        *copied = 0;
        return S_OK;
    }
    STDMETHODIMP GetAverageFrameSize(long* size) override;

    HRESULT Start(bool running);
    void SetRunning(bool running, REFERENCE_TIME start);
    void Halt();

private:
    void Stream();

    TestSource& source_;
    std::mutex lock_;
    AM_MEDIA_TYPE format_{};
    IPin* peer_ = nullptr;
    IMemInputPin* input_ = nullptr;
    IMemAllocator* allocator_ = nullptr;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> running_{false};
    std::atomic<long> delivered_{0};
    REFERENCE_TIME start_ = 0;
};

class TestSource final : public SinglePinFilter<TestSource, IKsPropertySet, ISpecifyPropertyPages> {
public:
    TestSource() : SinglePinFilter(kTestSourceClsid, L"Capture"), pin_(*this) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter || iid == IID_IBaseFilter) {
            *out = static_cast<IBaseFilter*>(this);
        } else if (iid == IID_IKsPropertySet) {
            *out = static_cast<IKsPropertySet*>(this);
        } else if (iid == IID_ISpecifyPropertyPages) {
            *out = static_cast<ISpecifyPropertyPages*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }

    STDMETHODIMP Stop() override {
        pin_.Halt();
        state_ = State_Stopped;
        return S_OK;
    }
    STDMETHODIMP Pause() override {
        if (state_ == State_Stopped) {
            const HRESULT started = pin_.Start(false);
            if (FAILED(started)) return started;
        }
        pin_.SetRunning(false, 0);
        state_ = State_Paused;
        return S_OK;
    }
    STDMETHODIMP Run(REFERENCE_TIME start) override {
        if (state_ == State_Stopped) {
            const HRESULT paused = Pause();
            if (FAILED(paused)) return paused;
        }
        pin_.SetRunning(true, start);
        state_ = State_Running;
        return S_OK;
    }
    STDMETHODIMP GetState(DWORD, FILTER_STATE* state) override {
        *state = state_;
        // A live source has nothing to show while paused.
        return state_ == State_Paused ? VFW_S_CANT_CUE : S_OK;
    }

    // IKsPropertySet on the filter: the shared property store.
    STDMETHODIMP Set(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD size) override {
        PropertyStore& store = Properties();
        std::lock_guard<std::mutex> hold(store.lock);
        const DWORD order = CandidateOrder(set);
        store.calls += "Set " + std::to_string(order) + " " + std::to_string(id) + " " +
                       std::to_string(FirstWord(data, size)) + "\n";
        if (order == 0 || order != Setting(L"PropertySet")) return E_PROP_SET_UNSUPPORTED;
        const auto* bytes = static_cast<const BYTE*>(data);
        store.values[id] = std::vector<BYTE>(bytes, bytes + (bytes ? size : 0));
        return S_OK;
    }
    STDMETHODIMP Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD size, DWORD* returned) override {
        PropertyStore& store = Properties();
        std::lock_guard<std::mutex> hold(store.lock);
        const DWORD order = CandidateOrder(set);
        store.calls += "Get " + std::to_string(order) + " " + std::to_string(id) + "\n";
        if (order == 0 || order != Setting(L"PropertySet")) return E_PROP_SET_UNSUPPORTED;
        const auto found = store.values.find(id);
        const std::vector<BYTE> empty(size, 0);
        const std::vector<BYTE>& value = found == store.values.end() ? empty : found->second;
        const DWORD copied = static_cast<DWORD>(std::min<std::size_t>(size, value.size()));
        if (data && copied) memcpy(data, value.data(), copied);
        if (returned) *returned = copied;
        return S_OK;
    }
    STDMETHODIMP QuerySupported(REFGUID, DWORD, DWORD* support) override {
        if (support) *support = KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET;
        return S_OK;
    }

    STDMETHODIMP GetPages(CAUUID* pages) override {
        pages->cElems = 1;
        pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
        if (!pages->pElems) return E_OUTOFMEMORY;
        pages->pElems[0] = kTestSourcePageClsid;
        return S_OK;
    }

    IPin& Pin() { return pin_; }

private:
    friend class RefCounted<TestSource>;
    ~TestSource() { pin_.Halt(); }

    SourcePin pin_;
};

SourcePin::SourcePin(TestSource& filter) : FilterPin(filter, L"Capture", PINDIR_OUTPUT), source_(filter) {
    MakeType(format_, kSizes[0].cx, kSizes[0].cy, kDefaultFrameTime);
}

STDMETHODIMP SourcePin::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IPin) {
        *out = static_cast<IPin*>(this);
    } else if (iid == IID_IAMStreamConfig) {
        *out = static_cast<IAMStreamConfig*>(this);
    } else if (iid == IID_IKsPropertySet) {
        *out = static_cast<IKsPropertySet*>(this);
    } else if (iid == IID_IAMDroppedFrames && Setting(L"NoDroppedFrames") == 0) {
        *out = static_cast<IAMDroppedFrames*>(this);
    } else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP SourcePin::Connect(IPin* receiver, const AM_MEDIA_TYPE* wanted) {
    if (!receiver) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    if (peer_) return VFW_E_ALREADY_CONNECTED;
    if (wanted && wanted->majortype != GUID_NULL && wanted->majortype != MEDIATYPE_Video) {
        return VFW_E_TYPE_NOT_ACCEPTED;
    }
    if (wanted && wanted->subtype != GUID_NULL && wanted->subtype != MEDIASUBTYPE_RGB24) {
        return VFW_E_TYPE_NOT_ACCEPTED;
    }
    HRESULT result = receiver->ReceiveConnection(this, &format_);
    if (FAILED(result)) return result;
    IMemInputPin* input = nullptr;
    result = receiver->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&input));
    IMemAllocator* allocator = nullptr;
    if (SUCCEEDED(result) && FAILED(input->GetAllocator(&allocator))) {
        result = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                                  reinterpret_cast<void**>(&allocator));
    }
    if (SUCCEEDED(result)) {
        ALLOCATOR_PROPERTIES asked{3, static_cast<long>(format_.lSampleSize), 1, 0};
        ALLOCATOR_PROPERTIES got{};
        result = allocator->SetProperties(&asked, &got);
        if (SUCCEEDED(result) && got.cbBuffer < asked.cbBuffer) result = VFW_E_SIZENOTSET;
    }
    if (SUCCEEDED(result)) result = input->NotifyAllocator(allocator, FALSE);
    if (FAILED(result)) {
        if (allocator) allocator->Release();
        if (input) input->Release();
        receiver->Disconnect();
        return result;
    }
    peer_ = receiver;
    peer_->AddRef();
    input_ = input;
    allocator_ = allocator;
    return S_OK;
}

STDMETHODIMP SourcePin::Disconnect() {
    std::lock_guard<std::mutex> hold(lock_);
    if (!peer_) return S_FALSE;
    allocator_->Release();
    input_->Release();
    peer_->Release();
    allocator_ = nullptr;
    input_ = nullptr;
    peer_ = nullptr;
    return S_OK;
}

STDMETHODIMP SourcePin::ConnectedTo(IPin** pin) {
    if (!pin) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *pin = peer_;
    if (!peer_) return VFW_E_NOT_CONNECTED;
    peer_->AddRef();
    return S_OK;
}

STDMETHODIMP SourcePin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
    std::lock_guard<std::mutex> hold(lock_);
    if (!peer_) {
        *type = {};
        return VFW_E_NOT_CONNECTED;
    }
    return CopyType(*type, format_);
}

STDMETHODIMP SourcePin::EnumMediaTypes(IEnumMediaTypes** types) {
    std::lock_guard<std::mutex> hold(lock_);
    *types = new SingleTypeEnum(&format_);
    return S_OK;
}

STDMETHODIMP SourcePin::SetFormat(AM_MEDIA_TYPE* type) {
    if (!type) return E_POINTER;
    if (!Offered(*type)) return VFW_E_INVALIDMEDIATYPE;
    std::lock_guard<std::mutex> hold(lock_);
    if (peer_) return VFW_E_ALREADY_CONNECTED;
    const VIDEOINFOHEADER* info = VideoInfo(*type);
    FreeTypeBlock(format_);
    MakeType(format_, info->bmiHeader.biWidth, info->bmiHeader.biHeight,
             info->AvgTimePerFrame > 0 ? info->AvgTimePerFrame : kDefaultFrameTime);
    return S_OK;
}

STDMETHODIMP SourcePin::GetFormat(AM_MEDIA_TYPE** type) {
    if (!type) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *type = NewTypeCopy(format_);
    return *type ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP SourcePin::GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) {
    if (index < 0 || index >= static_cast<int>(std::size(kSizes))) return S_FALSE;
    if (!type || !caps) return E_POINTER;
    AM_MEDIA_TYPE made;
    MakeType(made, kSizes[index].cx, kSizes[index].cy, kDefaultFrameTime);
    *type = NewTypeCopy(made);
    FreeTypeBlock(made);
    auto* config = reinterpret_cast<VIDEO_STREAM_CONFIG_CAPS*>(caps);
    *config = {};
    config->guid = FORMAT_VideoInfo;
    config->InputSize = config->MinCroppingSize = config->MaxCroppingSize = kSizes[index];
    config->MinOutputSize = config->MaxOutputSize = kSizes[index];
    config->MinFrameInterval = 100000;
    config->MaxFrameInterval = 10000000;
    return S_OK;
}

STDMETHODIMP SourcePin::Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD size, DWORD* returned) {
    if (set != AMPROPSETID_Pin) return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
    if (!data) return E_POINTER;
    if (size < sizeof(GUID)) return E_UNEXPECTED;
    *static_cast<GUID*>(data) = PIN_CATEGORY_CAPTURE;
    if (returned) *returned = sizeof(GUID);
    return S_OK;
}

STDMETHODIMP SourcePin::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
    if (set != AMPROPSETID_Pin) return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
    if (support) *support = KSPROPERTY_SUPPORT_GET;
    return S_OK;
}

STDMETHODIMP SourcePin::GetAverageFrameSize(long* size) {
    std::lock_guard<std::mutex> hold(lock_);
    *size = static_cast<long>(format_.lSampleSize);
    return S_OK;
}

HRESULT SourcePin::Start(bool running) {
    std::lock_guard<std::mutex> hold(lock_);
    if (!peer_ || thread_.joinable()) return S_OK;
    const HRESULT committed = allocator_->Commit();
    if (FAILED(committed)) return committed;
    stop_ = false;
    running_ = running;
    delivered_ = 0;
    thread_ = std::thread([this] { Stream(); });
    return S_OK;
}

void SourcePin::SetRunning(bool running, REFERENCE_TIME start) {
    start_ = start;
    running_ = running;
}

void SourcePin::Halt() {
    std::thread thread;
    {
        std::lock_guard<std::mutex> hold(lock_);
        stop_ = true;
        running_ = false;
        if (allocator_) allocator_->Decommit();  // wakes a GetBuffer that waits
        thread = std::move(thread_);
    }
    if (thread.joinable()) thread.join();
}

void SourcePin::Stream() {
    IMemAllocator* allocator;
    IMemInputPin* input;
    REFERENCE_TIME frameTime;
    long bytes;
    int width, height;
    {
        std::lock_guard<std::mutex> hold(lock_);
        allocator = allocator_;
        input = input_;
        allocator->AddRef();
        input->AddRef();
        const VIDEOINFOHEADER* info = VideoInfo(format_);
        frameTime = info->AvgTimePerFrame;
        bytes = static_cast<long>(format_.lSampleSize);
        width = info->bmiHeader.biWidth;
        height = info->bmiHeader.biHeight;
    }
    const long stride = (width * 3 + 3) & ~3;
    const bool shortSamples = Setting(L"ShortSamples") != 0;
    const bool flood = Setting(L"Flood") != 0;
    long frame = 0;
    while (!stop_) {
        if (!running_) {
            Sleep(5);
            continue;
        }
        IMediaSample* sample = nullptr;
        if (FAILED(allocator->GetBuffer(&sample, nullptr, nullptr, 0)) || !sample) break;
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        // Bottom-up rows: blue counts the frame, green the row, red the column.
        for (int row = 0; row < height; ++row) {
            BYTE* line = data + row * stride;
            for (int x = 0; x < width; ++x) {
                line[x * 3] = static_cast<BYTE>(frame);
                line[x * 3 + 1] = static_cast<BYTE>(row);
                line[x * 3 + 2] = static_cast<BYTE>(x);
            }
        }
        sample->SetActualDataLength(shortSamples ? bytes - 1 : bytes);
        REFERENCE_TIME begin = frame * frameTime;
        if (IReferenceClock* clock = source_.Clock()) {
            REFERENCE_TIME now = 0;
            if (SUCCEEDED(clock->GetTime(&now))) begin = now - start_;
            clock->Release();
        }
        REFERENCE_TIME end = begin + frameTime;
        sample->SetTime(&begin, &end);
        sample->SetSyncPoint(TRUE);
        const HRESULT received = input->Receive(sample);
        sample->Release();
        if (received == S_OK) ++delivered_;
        ++frame;
        if (!flood) Sleep(static_cast<DWORD>(frameTime / 10000));
    }
    allocator->Release();
    input->Release();
}

}  // namespace

HRESULT CreateTestSource(REFIID iid, void** out) {
    auto* source = new TestSource;
    const HRESULT result = source->QueryInterface(iid, out);
    source->Release();
    return result;
}

// A test's hands on the shared property store (see source_properties.h).
extern "C" __declspec(dllexport) void __stdcall TestSource_ResetProperties() {
    PropertyStore& store = Properties();
    std::lock_guard<std::mutex> hold(store.lock);
    store.values.clear();
    store.calls.clear();
}

extern "C" __declspec(dllexport) void __stdcall TestSource_SetProperty(DWORD id, LONG value) {
    PropertyStore& store = Properties();
    std::lock_guard<std::mutex> hold(store.lock);
    const auto* bytes = reinterpret_cast<const BYTE*>(&value);
    store.values[id] = std::vector<BYTE>(bytes, bytes + sizeof(value));
}

// FALSE for a property never written.
extern "C" __declspec(dllexport) BOOL __stdcall TestSource_GetProperty(DWORD id, LONG* value) {
    PropertyStore& store = Properties();
    std::lock_guard<std::mutex> hold(store.lock);
    const auto found = store.values.find(id);
    if (found == store.values.end() || !value) return FALSE;
    *value = FirstWord(found->second.data(), static_cast<DWORD>(found->second.size()));
    return TRUE;
}

// Copies the call log (ended) into buffer; returns its length without the end.
extern "C" __declspec(dllexport) DWORD __stdcall TestSource_CallLog(char* buffer, DWORD size) {
    PropertyStore& store = Properties();
    std::lock_guard<std::mutex> hold(store.lock);
    if (buffer && size > 0) {
        const std::size_t copied = std::min<std::size_t>(store.calls.size(), size - 1);
        memcpy(buffer, store.calls.data(), copied);
        buffer[copied] = 0;
    }
    return static_cast<DWORD>(store.calls.size());
}
