#pragma once
// A capture filter and its IKsPropertySet for tests: the property set
// answers the sets it is told to, keeps a value per (set, id), can be told
// to fail chosen ids, logs every call and counts its references.

#include "ks_interfaces.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

namespace ks_testing {

inline bool Same(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }

inline constexpr HRESULT kRefused = static_cast<HRESULT>(0x80070490u);

struct PropertyCall {
    bool set;  // true for Set, false for Get
    GUID guid;
    DWORD id;
    DWORD size;
    bool sameBuffer;  // instance data and property data were one buffer
};

class FakePropertySet final : public IKsPropertySet {
public:
    // The sets this camera answers; any other gives kRefused.
    std::vector<GUID> answers;
    // Per property id, a result that replaces the normal answer.
    std::map<DWORD, HRESULT> failing;
    // Stored 4-byte values and serial blocks, by id (one set is enough here).
    std::map<DWORD, std::int32_t> values;
    std::vector<unsigned char> serial = std::vector<unsigned char>(64, 0);
    std::vector<PropertyCall> calls;
    long references = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (Same(iid, IID_IUnknown) || Same(iid, IID_IKsPropertySet)) {
            *out = static_cast<IKsPropertySet*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }

    HRESULT STDMETHODCALLTYPE Set(REFGUID guid, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data,
                                  DWORD dataSize) override {
        calls.push_back({true, guid, id, dataSize, instance == data && instanceSize == dataSize});
        HRESULT result = Answer(guid, id);
        if (result != S_OK) return result;
        if (dataSize == 64) {
            std::memcpy(serial.data(), data, 64);
        } else {
            std::int32_t value;
            std::memcpy(&value, data, sizeof value);
            values[id] = value;
        }
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Get(REFGUID guid, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data,
                                  DWORD dataSize, DWORD* returned) override {
        calls.push_back({false, guid, id, dataSize, instance == data && instanceSize == dataSize});
        HRESULT result = Answer(guid, id);
        if (result != S_OK) return result;
        if (dataSize == 64) {
            std::memcpy(data, serial.data(), 64);
        } else {
            std::int32_t value = values.count(id) ? values[id] : 0;
            std::memcpy(data, &value, sizeof value);
        }
        if (returned) *returned = dataSize;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID, DWORD, DWORD*) override { return E_FAIL; }

    std::vector<PropertyCall> CallsOf(bool set) const {
        std::vector<PropertyCall> out;
        for (const PropertyCall& call : calls)
            if (call.set == set) out.push_back(call);
        return out;
    }

private:
    HRESULT Answer(const GUID& guid, DWORD id) const {
        bool answered = false;
        for (const GUID& known : answers) answered = answered || Same(known, guid);
        if (!answered) return kRefused;
        auto fail = failing.find(id);
        return fail == failing.end() ? S_OK : fail->second;
    }
};

// A filter that hands out its own IUnknown and, when it has one, the
// property set's interface.
class FakeFilter final : public IBaseFilter {
public:
    explicit FakeFilter(FakePropertySet* set = nullptr) : set_(set) {}

    bool refuseUnknown = false;
    long references = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (Same(iid, IID_IUnknown) && !refuseUnknown) {
            *out = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        if (Same(iid, IID_IKsPropertySet) && set_) return set_->QueryInterface(iid, out);
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }

#ifdef _WIN32
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Stop() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Pause() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetState(DWORD, FILTER_STATE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR, IPin**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph*, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }
#endif

private:
    FakePropertySet* set_;
};

}  // namespace ks_testing
