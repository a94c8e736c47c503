#pragma once
// The COM shapes the property class uses. Windows builds take the system's
// declarations; the platform-free build declares the same vtable layouts
// from the documented interfaces, so the class and its tests run natively.

#ifdef _WIN32
#include <windows.h>
#include <strmif.h>
#else
#include <cstdint>

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;
using DWORD = std::uint32_t;
using LPVOID = void*;

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};
using IID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;

#define STDMETHODCALLTYPE

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_PROP_ID_UNSUPPORTED = static_cast<HRESULT>(0x80070490u);

struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;

protected:
    ~IUnknown() = default;
};

struct IKsPropertySet : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize,
                                          LPVOID data, DWORD dataSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize,
                                          LPVOID data, DWORD dataSize, DWORD* returned) = 0;
    virtual HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID set, DWORD id, DWORD* support) = 0;

protected:
    ~IKsPropertySet() = default;
};

// Only IUnknown of the filter is reached; its other methods are never called.
struct IBaseFilter : IUnknown {
protected:
    ~IBaseFilter() = default;
};

extern const IID IID_IUnknown;
extern const IID IID_IKsPropertySet;
#endif
