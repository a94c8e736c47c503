#pragma once
// Reference counting and media-type copies shared by the test fixtures.
#include <windows.h>
#include <dshow.h>

#include <atomic>
#include <cstddef>

template <typename Derived>
class RefCounted {
public:
    ULONG AddRefImpl() { return ++refs_; }
    ULONG ReleaseImpl() {
        const ULONG left = --refs_;
        if (left == 0) {
            delete static_cast<Derived*>(this);
        }
        return left;
    }

private:
    std::atomic<ULONG> refs_{1};
};

#define FIXTURE_REFCOUNT                                       \
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); } \
    STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }

// Copies a name into a fixed buffer of `capacity` characters, always ended.
inline void CopyName(wchar_t* to, std::size_t capacity, const wchar_t* from) {
    std::size_t i = 0;
    for (; from && from[i] && i + 1 < capacity; ++i) to[i] = from[i];
    to[i] = 0;
}

inline void FreeTypeBlock(AM_MEDIA_TYPE& type) {
    CoTaskMemFree(type.pbFormat);
    type.pbFormat = nullptr;
    type.cbFormat = 0;
    if (type.pUnk) {
        type.pUnk->Release();
        type.pUnk = nullptr;
    }
}

inline HRESULT CopyType(AM_MEDIA_TYPE& to, const AM_MEDIA_TYPE& from) {
    to = from;
    to.pbFormat = nullptr;
    if (from.cbFormat) {
        to.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(from.cbFormat));
        if (!to.pbFormat) {
            return E_OUTOFMEMORY;
        }
        memcpy(to.pbFormat, from.pbFormat, from.cbFormat);
    }
    if (to.pUnk) {
        to.pUnk->AddRef();
    }
    return S_OK;
}

inline AM_MEDIA_TYPE* NewTypeCopy(const AM_MEDIA_TYPE& from) {
    auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (type && FAILED(CopyType(*type, from))) {
        CoTaskMemFree(type);
        return nullptr;
    }
    return type;
}

// Enumerates one media type (or none).
class SingleTypeEnum final : public IEnumMediaTypes, public RefCounted<SingleTypeEnum> {
public:
    SingleTypeEnum(const AM_MEDIA_TYPE* type, ULONG position = 0) : position_(position) {
        has_ = type != nullptr;
        if (has_) {
            CopyType(type_, *type);
        }
    }
    ~SingleTypeEnum() {
        if (has_) {
            FreeTypeBlock(type_);
        }
    }
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IEnumMediaTypes) {
            *out = static_cast<IEnumMediaTypes*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    FIXTURE_REFCOUNT
    STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override {
        ULONG got = 0;
        if (count > 0 && has_ && position_ == 0) {
            types[0] = NewTypeCopy(type_);
            got = types[0] ? 1 : 0;
            position_ = 1;
        }
        if (fetched) *fetched = got;
        return got == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        position_ += count;
        return position_ <= (has_ ? 1u : 0u) ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        position_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumMediaTypes** out) override {
        *out = new SingleTypeEnum(has_ ? &type_ : nullptr, position_);
        return S_OK;
    }

private:
    AM_MEDIA_TYPE type_{};
    bool has_ = false;
    ULONG position_;
};

// Enumerates a filter's pins (held with a reference each).
class PinEnum final : public IEnumPins, public RefCounted<PinEnum> {
public:
    PinEnum(IPin* const* pins, ULONG count, ULONG position = 0) : count_(count), position_(position) {
        for (ULONG i = 0; i < count && i < 2; ++i) {
            pins_[i] = pins[i];
            pins_[i]->AddRef();
        }
    }
    ~PinEnum() {
        for (ULONG i = 0; i < count_; ++i) pins_[i]->Release();
    }
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IEnumPins) {
            *out = static_cast<IEnumPins*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    FIXTURE_REFCOUNT
    STDMETHODIMP Next(ULONG count, IPin** pins, ULONG* fetched) override {
        ULONG got = 0;
        while (got < count && position_ < count_) {
            pins[got] = pins_[position_++];
            pins[got++]->AddRef();
        }
        if (fetched) *fetched = got;
        return got == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        position_ += count;
        return position_ <= count_ ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        position_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumPins** out) override {
        *out = new PinEnum(pins_, count_, position_);
        return S_OK;
    }

private:
    IPin* pins_[2] = {};
    ULONG count_;
    ULONG position_;
};
