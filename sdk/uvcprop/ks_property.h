#pragma once
// CKsProperty: the camera maker's extension properties of a UVC capture
// filter, read and written through the filter's IKsPropertySet. Callers
// allocate the object themselves and link against Xuprop.dll by import, so
// the class has no virtual functions and its members keep this order.

#include "ks_interfaces.h"

#include <cstdint>

#if defined(_WIN32) && defined(XUPROP_SHARED)
#ifdef XUPROP_BUILDING
#define XUPROP_API __declspec(dllexport)
#else
#define XUPROP_API __declspec(dllimport)
#endif
#else
#define XUPROP_API
#endif

// 0: no extension set answered; 1 to 14: the camera family of the set that did.
enum KSP_DEVICE_TYPE : std::int32_t {
    KSP_DEVICE_NONE = 0,
    KSP_DEVICE_LAST = 14,
};

inline constexpr unsigned kKsSerialNumberSize = 64;

class XUPROP_API CKsProperty {
public:
    CKsProperty();
    explicit CKsProperty(IBaseFilter* filter);
    // Copies share the interfaces, each copy holding references of its own.
    CKsProperty(const CKsProperty& other);
    CKsProperty& operator=(const CKsProperty& other);
    ~CKsProperty();

    void SetGUID(GUID set);
    KSP_DEVICE_TYPE CheckDeviceType();

    long GetAE(long& value);
    long SetAE(long value);
    long GetAWB(long& value);
    long SetAWB(long value);
    long GetBW(long& value);
    long SetBW(long value);
    long GetLightAVG(long& value);
    long SetLightAVG(long value);
    long GetAEHML(long& value);
    long SetAEHML(long value);
    long GetMODEL(long& value);
    long SetMODEL(long value);
    long GetExposure(long& value);
    long SetExposure(long value);
    long GetGain_R(long& value);
    long SetGain_R(long value);
    long GetGain_B(long& value);
    long SetGain_B(long value);
    long GetGain_G(long& value);
    long SetGain_G(long value);
    long GetContrast(long& value);
    long SetContrast(long value);
    long GetOffset_H(long& value);
    long SetOffset_H(long value);
    long GetOffset_V(long& value);
    long SetOffset_V(long value);
    long GetCrossMid(long& value);
    long SetCrossMid(long value);
    long GetVideoZoom(long& value);
    long SetVideoZoom(long value);
    long GetClearView(long& value);
    long SetClearView(long value);
    long GetGamma(long& value);
    long SetGamma(long value);
    long GetFinBadPNT(long& value);
    long SetFinBadPNT(long value);
    long SetLightAVGTable(long value);
    // 64-byte block (kKsSerialNumberSize).
    long GetSerialNum(unsigned char* block);
    long SetSerialNum(unsigned char* block);

    long GetCrosslineStatus(long& on, long& x, long& y);
    long EnableCrossLine(long on, long x, long y);

    // Properties these cameras do not have: -1 and 1, or 1.
    long GetOffset_R(long& value);
    long SetOffset_R(long value);
    long GetOffset_G(long& value);
    long SetOffset_G(long value);
    long GetOffset_B(long& value);
    long SetOffset_B(long value);
    long GetRawData(long& value);
    long SetRawData(long value);
    long GetRotate(long& value);
    long SetRotate(long value);

    GUID m_guid;
    KSP_DEVICE_TYPE m_deviceType;
    IBaseFilter* m_pFilter;
    IKsPropertySet* m_pKsPropertySet;
    IUnknown* m_pUnknown;

private:
    bool Bound() const;
    long ReadValue(DWORD id, long& value);
    long WriteValue(DWORD id, long value);
    long ReadPreset(DWORD id, long& value);
    void ReleaseInterfaces();
};
