// The file-writer stand-in: one input pin taking a byte stream, written to
// the named file both through the samples it receives (each at the byte
// position its start time gives) and through IStream on the pin, which a
// multiplexer uses to seek back and write its headers. Like the platform's
// own writer here it names its file through IFileSinkFilter only. Every
// write opens and closes the file, so no filter stop order can cut it short.
#include <mutex>
#include <string>

#include "single_pin_filter.h"
#include "test_source.h"

namespace {

class WriterFilter;

class WriterPin : public FilterPin<IMemInputPin, IStream> {
public:
    explicit WriterPin(WriterFilter& filter);
    ~WriterPin() {
        if (peer_) peer_->Release();
        if (allocator_) allocator_->Release();
        FreeTypeBlock(type_);
    }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IPin) {
            *out = static_cast<IPin*>(this);
        } else if (iid == IID_IMemInputPin) {
            *out = static_cast<IMemInputPin*>(this);
        } else if (iid == IID_IStream || iid == IID_ISequentialStream) {
            *out = static_cast<IStream*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    // IPin
    STDMETHODIMP Connect(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override {
        if (!connector || !type) return E_POINTER;
        std::lock_guard<std::mutex> hold(lock_);
        if (peer_) return VFW_E_ALREADY_CONNECTED;
        if (type->majortype != MEDIATYPE_Stream) return VFW_E_TYPE_NOT_ACCEPTED;
        peer_ = connector;
        peer_->AddRef();
        FreeTypeBlock(type_);
        CopyType(type_, *type);
        return S_OK;
    }
    STDMETHODIMP Disconnect() override {
        std::lock_guard<std::mutex> hold(lock_);
        if (!peer_) return S_FALSE;
        peer_->Release();
        peer_ = nullptr;
        return S_OK;
    }
    STDMETHODIMP ConnectedTo(IPin** pin) override {
        std::lock_guard<std::mutex> hold(lock_);
        *pin = peer_;
        if (!peer_) return VFW_E_NOT_CONNECTED;
        peer_->AddRef();
        return S_OK;
    }
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override {
        std::lock_guard<std::mutex> hold(lock_);
        if (!peer_) return VFW_E_NOT_CONNECTED;
        return CopyType(*type, type_);
    }
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override {
        return type && type->majortype == MEDIATYPE_Stream ? S_OK : S_FALSE;
    }
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override {
        AM_MEDIA_TYPE stream{};
        stream.majortype = MEDIATYPE_Stream;
        *types = new SingleTypeEnum(&stream);
        return S_OK;
    }
    STDMETHODIMP QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP EndOfStream() override { return S_OK; }
    STDMETHODIMP BeginFlush() override { return S_OK; }
    STDMETHODIMP EndFlush() override { return S_OK; }
    STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

    // IMemInputPin
    STDMETHODIMP GetAllocator(IMemAllocator** allocator) override {
        std::lock_guard<std::mutex> hold(lock_);
        if (!allocator_ && FAILED(CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER,
                                                   IID_IMemAllocator, reinterpret_cast<void**>(&allocator_)))) {
            return VFW_E_NO_ALLOCATOR;
        }
        *allocator = allocator_;
        allocator_->AddRef();
        return S_OK;
    }
    STDMETHODIMP NotifyAllocator(IMemAllocator*, BOOL) override { return S_OK; }
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) override { return E_NOTIMPL; }
    STDMETHODIMP Receive(IMediaSample* sample) override {
        BYTE* data = nullptr;
        REFERENCE_TIME begin = 0, end = 0;
        if (FAILED(sample->GetPointer(&data)) || FAILED(sample->GetTime(&begin, &end))) return S_OK;
        WriteAt(static_cast<ULONGLONG>(begin), data, static_cast<ULONG>(sample->GetActualDataLength()));
        return S_OK;
    }
    STDMETHODIMP ReceiveMultiple(IMediaSample** samples, long count, long* processed) override {
        for (long i = 0; i < count; ++i) Receive(samples[i]);
        *processed = count;
        return S_OK;
    }
    STDMETHODIMP ReceiveCanBlock() override { return S_FALSE; }

    // IStream
    STDMETHODIMP Read(void*, ULONG, ULONG* read) override {
        if (read) *read = 0;
        return S_FALSE;
    }
    STDMETHODIMP Write(const void* data, ULONG size, ULONG* written) override {
        const bool ok = WriteAt(position_, data, size);
        if (ok) position_ += size;
        if (written) *written = ok ? size : 0;
        return ok ? S_OK : STG_E_CANTSAVE;
    }
    STDMETHODIMP Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* now) override {
        LONGLONG base = 0;
        if (origin == STREAM_SEEK_CUR) base = static_cast<LONGLONG>(position_);
        if (origin == STREAM_SEEK_END) base = static_cast<LONGLONG>(FileSize());
        position_ = static_cast<ULONGLONG>(base + move.QuadPart);
        if (now) now->QuadPart = position_;
        return S_OK;
    }
    STDMETHODIMP SetSize(ULARGE_INTEGER) override { return S_OK; }
    STDMETHODIMP CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP Commit(DWORD) override { return S_OK; }
    STDMETHODIMP Revert() override { return E_NOTIMPL; }
    STDMETHODIMP LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Stat(STATSTG* stat, DWORD) override {
        *stat = {};
        stat->type = STGTY_STREAM;
        stat->cbSize.QuadPart = FileSize();
        return S_OK;
    }
    STDMETHODIMP Clone(IStream**) override { return E_NOTIMPL; }

    void Rewind() { position_ = 0; }

private:
    bool WriteAt(ULONGLONG offset, const void* data, ULONG size);
    ULONGLONG FileSize();

    WriterFilter& writer_;
    std::mutex lock_;
    IPin* peer_ = nullptr;
    IMemAllocator* allocator_ = nullptr;
    AM_MEDIA_TYPE type_{};
    ULONGLONG position_ = 0;
};

class WriterFilter final : public SinglePinFilter<WriterFilter, IFileSinkFilter> {
public:
    WriterFilter() : SinglePinFilter(CLSID_FileWriter, L"in"), pin_(*this) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter || iid == IID_IBaseFilter) {
            *out = static_cast<IBaseFilter*>(this);
        } else if (iid == IID_IFileSinkFilter) {
            *out = static_cast<IFileSinkFilter*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }

    STDMETHODIMP Stop() override {
        state_ = State_Stopped;
        return S_OK;
    }
    STDMETHODIMP Pause() override {
        if (state_ == State_Stopped && !path_.empty()) {
            // A new recording starts with an empty file.
            const HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE) return HRESULT_FROM_WIN32(GetLastError());
            CloseHandle(file);
            pin_.Rewind();
        }
        state_ = State_Paused;
        return S_OK;
    }
    STDMETHODIMP Run(REFERENCE_TIME) override {
        if (state_ == State_Stopped) {
            const HRESULT paused = Pause();
            if (FAILED(paused)) return paused;
        }
        state_ = State_Running;
        return S_OK;
    }

    STDMETHODIMP SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE*) override {
        if (!name) return E_POINTER;
        path_ = name;
        return S_OK;
    }
    STDMETHODIMP GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* type) override {
        if (!name) return E_POINTER;
        *name = static_cast<LPOLESTR>(CoTaskMemAlloc((path_.size() + 1) * sizeof(wchar_t)));
        CopyName(*name, path_.size() + 1, path_.c_str());
        if (type) *type = {};
        return S_OK;
    }

    const std::wstring& Path() const { return path_; }
    IPin& Pin() { return pin_; }

private:
    friend class RefCounted<WriterFilter>;
    ~WriterFilter() = default;

    WriterPin pin_;
    std::wstring path_;
};

WriterPin::WriterPin(WriterFilter& filter) : FilterPin(filter, L"in", PINDIR_INPUT), writer_(filter) {}

bool WriterPin::WriteAt(ULONGLONG offset, const void* data, ULONG size) {
    if (writer_.Path().empty()) return false;
    const HANDLE file = CreateFileW(writer_.Path().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    DWORD written = 0;
    const bool ok = SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && WriteFile(file, data, size, &written, nullptr) &&
                    written == size;
    CloseHandle(file);
    return ok;
}

ULONGLONG WriterPin::FileSize() {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(writer_.Path().c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

HRESULT CreateFileWriterStandIn(REFIID iid, void** out) {
    auto* writer = new WriterFilter;
    const HRESULT result = writer->QueryInterface(iid, out);
    writer->Release();
    return result;
}
