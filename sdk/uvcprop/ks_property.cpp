#include "ks_property.h"

#include "property_sets.h"

#include <cstdint>

namespace {

constexpr long kNotBound = 1;
constexpr DWORD kValueSize = 4;

enum PropertyId : DWORD {
    kAE = 0,
    kAWB = 1,
    kBW = 2,
    kLightAVG = 3,
    kCrossOn = 4,
    kAEHML = 5,
    kModel = 6,
    kExposure = 7,
    kGainR = 8,
    kGainB = 9,
    kGainG = 10,
    kContrast = 11,
    kOffsetH = 12,
    kOffsetV = 13,
    kCrossY = 14,
    kCrossX = 15,
    kCrossMid = 16,
    kSerialNumber = 18,
    kVideoZoom = 22,
    kClearView = 23,
    kGamma = 29,
    kBadPixels = 30,
    kLightAVGTable = 31,
};

// One property call; the same buffer is the instance and the property data.
long GetRaw(IKsPropertySet* set, const GUID& guid, DWORD id, void* buffer, DWORD size) {
    DWORD returned = 0;
    return set->Get(guid, id, buffer, size, buffer, size, &returned);
}

long SetRaw(IKsPropertySet* set, const GUID& guid, DWORD id, void* buffer, DWORD size) {
    return set->Set(guid, id, buffer, size, buffer, size);
}

}  // namespace

CKsProperty::CKsProperty()
    : m_guid{}, m_deviceType(KSP_DEVICE_NONE), m_pFilter(nullptr), m_pKsPropertySet(nullptr), m_pUnknown(nullptr) {}

CKsProperty::CKsProperty(IBaseFilter* filter)
    : m_guid{}, m_deviceType(KSP_DEVICE_NONE), m_pFilter(filter), m_pKsPropertySet(nullptr), m_pUnknown(nullptr) {
    if (filter) {
        void* unknown = nullptr;
        HRESULT hr = filter->QueryInterface(IID_IUnknown, &unknown);
        m_pUnknown = static_cast<IUnknown*>(unknown);
        if (hr >= 0 && m_pUnknown) {
            void* set = nullptr;
            hr = m_pUnknown->QueryInterface(IID_IKsPropertySet, &set);
            m_pKsPropertySet = static_cast<IKsPropertySet*>(set);
        }
        if (hr < 0 || !m_pUnknown || !m_pKsPropertySet) ReleaseInterfaces();
    }
    m_deviceType = CheckDeviceType();
}

CKsProperty::CKsProperty(const CKsProperty& other)
    : m_guid(other.m_guid),
      m_deviceType(other.m_deviceType),
      m_pFilter(other.m_pFilter),
      m_pKsPropertySet(other.m_pKsPropertySet),
      m_pUnknown(other.m_pUnknown) {
    if (m_pUnknown) m_pUnknown->AddRef();
    if (m_pKsPropertySet) m_pKsPropertySet->AddRef();
}

// Both objects release what they hold, so the copy takes references of its
// own before the old ones go (which also makes self-assignment harmless).
CKsProperty& CKsProperty::operator=(const CKsProperty& other) {
    if (other.m_pUnknown) other.m_pUnknown->AddRef();
    if (other.m_pKsPropertySet) other.m_pKsPropertySet->AddRef();
    IUnknown* oldUnknown = m_pUnknown;
    IKsPropertySet* oldSet = m_pKsPropertySet;
    m_guid = other.m_guid;
    m_deviceType = other.m_deviceType;
    m_pFilter = other.m_pFilter;
    m_pKsPropertySet = other.m_pKsPropertySet;
    m_pUnknown = other.m_pUnknown;
    if (oldUnknown) oldUnknown->Release();
    if (oldSet) oldSet->Release();
    return *this;
}

CKsProperty::~CKsProperty() { ReleaseInterfaces(); }

void CKsProperty::ReleaseInterfaces() {
    if (m_pUnknown) {
        m_pUnknown->Release();
        m_pUnknown = nullptr;
    }
    if (m_pKsPropertySet) {
        m_pKsPropertySet->Release();
        m_pKsPropertySet = nullptr;
    }
}

void CKsProperty::SetGUID(GUID set) { m_guid = set; }

KSP_DEVICE_TYPE CKsProperty::CheckDeviceType() {
    if (!m_pKsPropertySet) return KSP_DEVICE_NONE;
    std::int32_t value = 0;
    for (const KsCandidateSet& candidate : CandidatePropertySets()) {
        if (GetRaw(m_pKsPropertySet, candidate.set, kExposure, &value, kValueSize) == 0) {
            SetGUID(candidate.set);
            return candidate.type;
        }
    }
    return KSP_DEVICE_NONE;
}

bool CKsProperty::Bound() const { return m_pKsPropertySet && !IsNullGuid(m_guid); }

// Values cross the property call as 32 bits whatever the width of long.
long CKsProperty::ReadValue(DWORD id, long& value) {
    if (!Bound()) return kNotBound;
    if constexpr (sizeof(long) == kValueSize) {
        return GetRaw(m_pKsPropertySet, m_guid, id, &value, kValueSize);
    } else {
        auto buffer = static_cast<std::int32_t>(value);
        long result = GetRaw(m_pKsPropertySet, m_guid, id, &buffer, kValueSize);
        value = buffer;
        return result;
    }
}

long CKsProperty::WriteValue(DWORD id, long value) {
    if (!Bound()) return kNotBound;
    auto buffer = static_cast<std::int32_t>(value);
    return SetRaw(m_pKsPropertySet, m_guid, id, &buffer, kValueSize);
}

long CKsProperty::ReadPreset(DWORD id, long& value) {
    value = -1;
    return ReadValue(id, value);
}

long CKsProperty::GetAE(long& value) { return ReadPreset(kAE, value); }
long CKsProperty::SetAE(long value) { return WriteValue(kAE, value); }
long CKsProperty::GetAWB(long& value) { return ReadPreset(kAWB, value); }
long CKsProperty::SetAWB(long value) { return WriteValue(kAWB, value); }
long CKsProperty::GetBW(long& value) { return ReadPreset(kBW, value); }
long CKsProperty::SetBW(long value) { return WriteValue(kBW, value); }
long CKsProperty::GetLightAVG(long& value) { return ReadPreset(kLightAVG, value); }
long CKsProperty::SetLightAVG(long value) { return WriteValue(kLightAVG, value); }
long CKsProperty::GetAEHML(long& value) { return ReadPreset(kAEHML, value); }
long CKsProperty::SetAEHML(long value) { return WriteValue(kAEHML, value); }
long CKsProperty::GetMODEL(long& value) { return ReadPreset(kModel, value); }
long CKsProperty::SetMODEL(long value) { return WriteValue(kModel, value); }
long CKsProperty::GetExposure(long& value) { return ReadPreset(kExposure, value); }
long CKsProperty::SetExposure(long value) { return WriteValue(kExposure, value); }
long CKsProperty::GetGain_R(long& value) { return ReadPreset(kGainR, value); }
long CKsProperty::SetGain_R(long value) { return WriteValue(kGainR, value); }
long CKsProperty::GetGain_B(long& value) { return ReadPreset(kGainB, value); }
long CKsProperty::SetGain_B(long value) { return WriteValue(kGainB, value); }
long CKsProperty::GetGain_G(long& value) { return ReadPreset(kGainG, value); }
long CKsProperty::SetGain_G(long value) { return WriteValue(kGainG, value); }
long CKsProperty::GetContrast(long& value) { return ReadPreset(kContrast, value); }
long CKsProperty::SetContrast(long value) { return WriteValue(kContrast, value); }
long CKsProperty::GetOffset_H(long& value) { return ReadPreset(kOffsetH, value); }
long CKsProperty::SetOffset_H(long value) { return WriteValue(kOffsetH, value); }
long CKsProperty::GetOffset_V(long& value) { return ReadPreset(kOffsetV, value); }
long CKsProperty::SetOffset_V(long value) { return WriteValue(kOffsetV, value); }
long CKsProperty::GetCrossMid(long& value) { return ReadPreset(kCrossMid, value); }
long CKsProperty::SetCrossMid(long value) { return WriteValue(kCrossMid, value); }
long CKsProperty::GetVideoZoom(long& value) { return ReadValue(kVideoZoom, value); }
long CKsProperty::SetVideoZoom(long value) { return WriteValue(kVideoZoom, value); }
long CKsProperty::GetClearView(long& value) { return ReadValue(kClearView, value); }
long CKsProperty::SetClearView(long value) { return WriteValue(kClearView, value); }
long CKsProperty::GetGamma(long& value) { return ReadPreset(kGamma, value); }
long CKsProperty::SetGamma(long value) { return WriteValue(kGamma, value); }
long CKsProperty::GetFinBadPNT(long& value) { return ReadValue(kBadPixels, value); }
long CKsProperty::SetFinBadPNT(long value) { return WriteValue(kBadPixels, value); }
long CKsProperty::SetLightAVGTable(long value) { return WriteValue(kLightAVGTable, value); }

long CKsProperty::GetSerialNum(unsigned char* block) {
    if (!Bound() || !block) return kNotBound;
    return GetRaw(m_pKsPropertySet, m_guid, kSerialNumber, block, kKsSerialNumberSize);
}

long CKsProperty::SetSerialNum(unsigned char* block) {
    if (!Bound() || !block) return kNotBound;
    return SetRaw(m_pKsPropertySet, m_guid, kSerialNumber, block, kKsSerialNumberSize);
}

// All three reads are made; the on/off read is not part of the result.
long CKsProperty::GetCrosslineStatus(long& on, long& x, long& y) {
    on = -1;
    x = 0;
    y = 0;
    if (!Bound()) return kNotBound;
    ReadValue(kCrossOn, on);
    long result = ReadValue(kCrossX, x);
    return result | ReadValue(kCrossY, y);
}

// All three writes are made; the result is the last one's.
long CKsProperty::EnableCrossLine(long on, long x, long y) {
    if (!Bound()) return kNotBound;
    WriteValue(kCrossOn, on);
    WriteValue(kCrossX, x);
    return WriteValue(kCrossY, y);
}

long CKsProperty::GetOffset_R(long& value) { value = -1; return kNotBound; }
long CKsProperty::SetOffset_R(long) { return kNotBound; }
long CKsProperty::GetOffset_G(long& value) { value = -1; return kNotBound; }
long CKsProperty::SetOffset_G(long) { return kNotBound; }
long CKsProperty::GetOffset_B(long& value) { value = -1; return kNotBound; }
long CKsProperty::SetOffset_B(long) { return kNotBound; }
long CKsProperty::GetRawData(long& value) { value = -1; return kNotBound; }
long CKsProperty::SetRawData(long) { return kNotBound; }
long CKsProperty::GetRotate(long& value) { value = -1; return kNotBound; }
long CKsProperty::SetRotate(long) { return kNotBound; }
