#pragma once
// What both fixture filters share: one pin that lives inside its filter and
// counts on it, and a filter around that pin with its class, its state, the
// graph it joined under its name and the graph's reference clock.
#include <windows.h>
#include <dshow.h>

#include <mutex>
#include <string>

#include "com_object.h"

// Interfaces: the pin's interfaces besides IPin.
template <typename... Interfaces>
class FilterPin : public IPin, public Interfaces... {
public:
    FilterPin(IBaseFilter& filter, const wchar_t* id, PIN_DIRECTION direction)
        : filter_(filter), id_(id), direction_(direction) {}

    STDMETHODIMP_(ULONG) AddRef() override { return filter_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return filter_.Release(); }
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override {
        info->pFilter = &filter_;
        filter_.AddRef();
        info->dir = direction_;
        CopyName(info->achName, MAX_PIN_NAME, id_);
        return S_OK;
    }
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override {
        *direction = direction_;
        return S_OK;
    }
    STDMETHODIMP QueryId(LPWSTR* id) override {
        const std::size_t size = wcslen(id_) + 1;
        *id = static_cast<LPWSTR>(CoTaskMemAlloc(size * sizeof(wchar_t)));
        if (!*id) return E_OUTOFMEMORY;
        CopyName(*id, size, id_);
        return S_OK;
    }
    const wchar_t* Id() const { return id_; }

private:
    IBaseFilter& filter_;
    const wchar_t* id_;
    PIN_DIRECTION direction_;
};

// Derived gives `IPin& Pin()`; Interfaces: the filter's interfaces besides
// IBaseFilter. Each derived filter answers QueryInterface itself.
template <typename Derived, typename... Interfaces>
class SinglePinFilter : public IBaseFilter, public Interfaces..., public RefCounted<Derived> {
public:
    SinglePinFilter(const CLSID& clsid, const wchar_t* pinId) : clsid_(clsid), pinId_(pinId) {}

    STDMETHODIMP_(ULONG) AddRef() override { return this->AddRefImpl(); }
    STDMETHODIMP_(ULONG) Release() override { return this->ReleaseImpl(); }

    STDMETHODIMP GetClassID(CLSID* clsid) override {
        *clsid = clsid_;
        return S_OK;
    }
    STDMETHODIMP GetState(DWORD, FILTER_STATE* state) override {
        *state = state_;
        return S_OK;
    }
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override {
        std::lock_guard<std::mutex> hold(clockLock_);
        if (clock) clock->AddRef();
        if (clock_) clock_->Release();
        clock_ = clock;
        return S_OK;
    }
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override {
        *clock = Clock();
        return S_OK;
    }
    STDMETHODIMP EnumPins(IEnumPins** pins) override {
        IPin* list[] = {&Self().Pin()};
        *pins = new PinEnum(list, 1);
        return S_OK;
    }
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override {
        if (id && wcscmp(id, pinId_) == 0) {
            *pin = &Self().Pin();
            (*pin)->AddRef();
            return S_OK;
        }
        *pin = nullptr;
        return VFW_E_NOT_FOUND;
    }
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override {
        CopyName(info->achName, MAX_FILTER_NAME, name_.c_str());
        info->pGraph = graph_;
        if (graph_) graph_->AddRef();
        return S_OK;
    }
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override {
        graph_ = graph;  // not held: the graph holds the filter
        name_ = name ? name : L"";
        return S_OK;
    }
    STDMETHODIMP QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }

    // The graph's clock with a reference for the caller, or null.
    IReferenceClock* Clock() {
        std::lock_guard<std::mutex> hold(clockLock_);
        if (clock_) clock_->AddRef();
        return clock_;
    }

protected:
    ~SinglePinFilter() {
        if (clock_) clock_->Release();
    }

    FILTER_STATE state_ = State_Stopped;

private:
    Derived& Self() { return static_cast<Derived&>(*this); }

    const CLSID clsid_;
    const wchar_t* pinId_;
    std::mutex clockLock_;
    IReferenceClock* clock_ = nullptr;
    IFilterGraph* graph_ = nullptr;
    std::wstring name_;
};
