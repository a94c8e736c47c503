#pragma once
// The four camera-family loaders and the entry points each binds by name.
// Each family's names are listed once, in lookup order, in the tables below;
// the entry-point record and the lookup table are both made from that list.
// The records are program-wide and filled only by the family's loader.
// Each row names the shape of its entry: cmos from KQCMOSu's public header
// (the CCD library shares those), ccd, gige and uvc from kq_*_interface.h.
#include <span>

#include "camera_sdk_binding.h"
#include "kq_ccd_interface.h"
#include "kq_gige_interface.h"
#include "kq_uvc_interface.h"

#define VZ_SDK_SHAPE_cmos(name) decltype(&::name)
#define VZ_SDK_SHAPE_ccd(name) kqccd::name##_t
#define VZ_SDK_SHAPE_gige(name) kqge::name##_t
#define VZ_SDK_SHAPE_uvc(name) kquvc::name##_t
#define VZ_SDK_ENTRY_POINT(shape, name) VZ_SDK_SHAPE_##shape(name) name = nullptr;

#define VZ_KQCCD_EXPORTS(X)         \
    X(cmos, KQ_Initialize)          \
    X(cmos, KQ_Uninitialize)        \
    X(cmos, KQ_StartView)           \
    X(cmos, KQ_StopView)            \
    X(cmos, KQ_SetCapInfo)          \
    X(cmos, KQ_GetCapInfo)          \
    X(cmos, KQ_SetParamColor)       \
    X(cmos, KQ_SetParamFlip)        \
    X(cmos, KQ_SetDoAWB)            \
    X(cmos, KQ_SetDoAWBInRegion)    \
    X(cmos, KQ_SetDoAE)             \
    X(cmos, KQ_SetDoAEInRegion)     \
    X(cmos, KQ_GetFrameRate)        \
    X(cmos, KQ_GetRawFrame)         \
    X(cmos, KQ_GetRawFrameToBmp)    \
    X(ccd, KQ_GetRawFrameToJpeg)    \
    X(cmos, KQ_GetRgbFrame)         \
    X(cmos, KQ_GetRgbFrameToBmp)    \
    X(cmos, KQ_GetRgbFrameToJpeg)   \
    X(cmos, KQ_SetContrastValue)    \
    X(cmos, KQ_GetContrastValue)    \
    X(cmos, KQ_CaptureToAvi)        \
    X(cmos, KQ_GetTrigger)          \
    X(cmos, KQ_SetScrollOffset)     \
    X(cmos, KQ_SetVideoSize)        \
    X(cmos, KQ_GetTotalDeviceNum)   \
    X(cmos, KQ_GetDeviceID)         \
    X(cmos, KQ_SetFrameCallBack)    \
    X(cmos, KQ_GetFriendlyName)     \
    X(cmos, KQ_SetClearView)        \
    X(cmos, KQ_GetClearViewState)   \
    X(cmos, KQ_GetDeviceType)       \
    X(cmos, KQ_GetDeviceColorType)  \
    X(ccd, KQ_GetRawFrame16)        \
    X(ccd, KQ_GetRawFrame16ToPNG)   \
    X(ccd, KQ_GetRGBFrame48ToPNG)   \
    X(ccd, KQ_SetADGain)            \
    X(ccd, KQ_StartCCDTrigger)      \
    X(ccd, KQ_StopCCDTrigger)       \
    X(ccd, KQ_StartMirrorThread)    \
    X(ccd, KQ_StopMirrorThread)     \
    X(ccd, KQ_SetValidBit)          \
    X(ccd, KQ_FlashSync)            \
    X(ccd, KQ_IOSet)                \
    X(ccd, KQ_IOGet)                \
    X(cmos, KQ_SetGamma)            \
    X(cmos, KQ_SetShowAutoMark)     \
    X(cmos, KQ_SetAELevel)          \
    X(ccd, KQ_SetAEMaxValue)        \
    X(cmos, KQ_SelectAviCompressor) \
    X(cmos, KQ_SetAviCompressor)    \
    X(cmos, KQ_GetGamma)            \
    X(cmos, KQ_SetShowVideo)        \
    X(cmos, KQ_ResetLightAvgTable)  \
    X(cmos, KQ_EnableLightAvg)      \
    X(cmos, KQ_SetHDR)              \
    X(cmos, KQ_AEParam)             \
    X(cmos, KQ_SetExpouseUnit)      \
    X(ccd, KQ_GetAWBVal)            \
    X(ccd, KQ_ReSetAWBVal)          \
    X(cmos, KQ_SetSharpness)        \
    X(cmos, KQ_SetSaturation)       \
    X(cmos, KQ_GetSaturation)       \
    X(cmos, KQ_GetSharpness)

#define VZ_KQCMOS_EXPORTS(X)         \
    X(cmos, KQ_Initialize)           \
    X(cmos, KQ_Uninitialize)         \
    X(cmos, KQ_StartView)            \
    X(cmos, KQ_StopView)             \
    X(cmos, KQ_SetCapInfo)           \
    X(cmos, KQ_GetCapInfo)           \
    X(cmos, KQ_SetParamColor)        \
    X(cmos, KQ_SetParamFlip)         \
    X(cmos, KQ_SetDoAWB)             \
    X(cmos, KQ_SetDoAE)              \
    X(cmos, KQ_GetFrameRate)         \
    X(cmos, KQ_GetRawFrame)          \
    X(cmos, KQ_GetRawFrameToBmp)     \
    X(cmos, KQ_GetRgbFrame)          \
    X(cmos, KQ_GetRgbFrameToBmp)     \
    X(cmos, KQ_GetRgbFrameToJpeg)    \
    X(cmos, KQ_SetContrastValue)     \
    X(cmos, KQ_GetContrastValue)     \
    X(cmos, KQ_CaptureToAvi)         \
    X(cmos, KQ_GetTrigger)           \
    X(cmos, KQ_SetScrollOffset)      \
    X(cmos, KQ_SetVideoSize)         \
    X(cmos, KQ_GetTotalDeviceNum)    \
    X(cmos, KQ_GetDeviceID)          \
    X(cmos, KQ_SetFrameCallBack)     \
    X(cmos, KQ_GetFriendlyName)      \
    X(cmos, KQ_SetClearView)         \
    X(cmos, KQ_GetClearViewState)    \
    X(cmos, KQ_GetDeviceType)        \
    X(cmos, KQ_SetIO)                \
    X(cmos, KQ_GetIO)                \
    X(cmos, KQ_GetSerialNumber)      \
    X(cmos, KQ_PixelCalibration)     \
    X(cmos, KQ_SelectAviCompressor)  \
    X(cmos, KQ_SetAviCompressor)     \
    X(cmos, KQ_SetGainR)             \
    X(cmos, KQ_SetGainG)             \
    X(cmos, KQ_SetGainB)             \
    X(cmos, KQ_GetGainR)             \
    X(cmos, KQ_GetGainG)             \
    X(cmos, KQ_GetGainB)             \
    X(cmos, KQ_GetDeviceColorType)   \
    X(cmos, KQ_SetColorAdjust)       \
    X(cmos, KQ_GetColorAdjust)       \
    X(cmos, KQ_ResetLightAvgTable)   \
    X(cmos, KQ_EnableLightAvg)       \
    X(cmos, KQ_SetAELevel)           \
    X(cmos, KQ_SetOffCenter)         \
    X(cmos, KQ_GetOffCenter)         \
    X(cmos, KQ_ErasureStripe)        \
    X(cmos, KQ_ApplyErasure)         \
    X(cmos, KQ_GetGamma)             \
    X(cmos, KQ_SetGamma)             \
    X(cmos, KQ_SetHDR)               \
    X(cmos, KQ_EEProm_Set)           \
    X(cmos, KQ_EEProm_Get)           \
    X(cmos, KQ_EEProm_SetByte)       \
    X(cmos, KQ_EEProm_GetByte)       \
    X(cmos, KQ_SetTriggerDelayTime)  \
    X(cmos, KQ_SetCustomIO)          \
    X(cmos, KQ_SetTriggerSource)     \
    X(cmos, KQ_SetTriggerSourceTime) \
    X(cmos, KQ_SetHBlank)            \
    X(cmos, KQ_SetVBlank)            \
    X(cmos, KQ_AEParam)              \
    X(cmos, KQ_SetExpouseUnit)       \
    X(cmos, KQ_SetDoAWBInRegion)     \
    X(cmos, KQ_SetDoAEInRegion)      \
    X(cmos, KQ_SetSharpness)         \
    X(cmos, KQ_SetSaturation)        \
    X(cmos, KQ_GetSaturation)        \
    X(cmos, KQ_GetSharpness)         \
    X(cmos, KQ_SetDeviceEvent)

#define VZ_KQGE_EXPORTS(X)            \
    X(gige, KQGE_Initialize)          \
    X(gige, KQGE_UnInitialize)        \
    X(gige, KQGE_GetCameraCount)      \
    X(gige, KQGE_GetCameraType)       \
    X(gige, KQGE_GetCameraInfo)       \
    X(gige, KQGE_InitCamera)          \
    X(gige, KQGE_UnInitCamera)        \
    X(gige, KQGE_LiveStart)           \
    X(gige, KQGE_LiveStop)            \
    X(gige, KQGE_ResetCameraPort)     \
    X(gige, KQGE_GetCameraPort)       \
    X(gige, KQGE_SetExposure)         \
    X(gige, KQGE_GetExposure)         \
    X(gige, KQGE_SetGainR)            \
    X(gige, KQGE_SetGainG)            \
    X(gige, KQGE_SetGainB)            \
    X(gige, KQGE_SetGain_A)           \
    X(gige, KQGE_SetResolution)       \
    X(gige, KQGE_GetCameraFrameRate)  \
    X(gige, KQGE_GetNICFrameRate)     \
    X(gige, KQGE_SetVideoWindowPos)   \
    X(gige, KQGE_SetFlipMode)         \
    X(gige, KQGE_SetZoomMode)         \
    X(gige, KQGE_SetExpMode)          \
    X(gige, KQGE_SetCapMode)          \
    X(gige, KQGE_SetSpeedMode)        \
    X(gige, KQGE_SetOffsetH)          \
    X(gige, KQGE_SetOffsetV)          \
    X(gige, KQGE_SetFrameCallBack)    \
    X(gige, KQGE_GetFrame)            \
    X(gige, KQGE_GetFrameToImage)     \
    X(gige, KQGE_SetCameraIP)         \
    X(gige, KQGE_IPConfig)            \
    X(gige, KQGE_SetContrast)         \
    X(gige, KQGE_SetTriggerState)     \
    X(gige, KQGE_FrameToImage)        \
    X(gige, KQGE_SetFlashState)       \
    X(gige, KQGE_SetDoAE)             \
    X(gige, KQGE_SetDoAWB)            \
    X(gige, KQGE_SetColorMode)        \
    X(gige, KQGE_SetDhcpEnable)       \
    X(gige, KQGE_CaptureStart)        \
    X(gige, KQGE_CaptureStop)         \
    X(gige, KQGE_SelectAviCompressor) \
    X(gige, KQGE_SetAviCompressor)    \
    X(gige, KQGE_SetTriggerMode)      \
    X(gige, KQGE_GetTriggerMode)      \
    X(gige, KQGE_SetPackageDelayTime) \
    X(gige, KQGE_GetPackageDelayTime) \
    X(gige, KQGE_SetWatchdogState)    \
    X(gige, KQGE_GetWatchdogState)    \
    X(gige, KQGE_SetIO)               \
    X(gige, KQGE_GetIO)               \
    X(gige, KQGE_SetTriggerDelayTime) \
    X(gige, KQGE_SoftTrigger)         \
    X(gige, KQGE_HDR_Enable)          \
    X(gige, KQGE_MCResolutionShow)    \
    X(gige, KQGE_IsMCResolutionShow)  \
    X(gige, KQGE_SetMCResolution)     \
    X(gige, KQGE_GetMCResolution)     \
    X(gige, KQGE_SetValidBitsOff)     \
    X(gige, KQGE_AEParam)             \
    X(gige, KQGE_SetNewHwnd)          \
    X(gige, KQGE_SetPackageSize)      \
    X(gige, KQGE_GetPackageSize)      \
    X(gige, KQGE_GetAWBVal)           \
    X(gige, KQGE_ReSetAWBVal)         \
    X(gige, KQGE_SetDoAutoCorrection) \
    X(gige, KQGE_SetDoCorrecting)     \
    X(gige, KQGE_SetSharpness)        \
    X(gige, KQGE_SetSaturation)       \
    X(gige, KQGE_GetSharpness)        \
    X(gige, KQGE_GetSaturation)

#define VZ_KQUVC_EXPORTS(X)      \
    X(uvc, KQ_Initialize)        \
    X(uvc, KQ_Uninitialize)      \
    X(uvc, KQ_StartView)         \
    X(uvc, KQ_StopView)          \
    X(uvc, KQ_SetParam)          \
    X(uvc, KQ_GetParam)          \
    X(uvc, KQ_SetResolution)     \
    X(uvc, KQ_GetResolution)     \
    X(uvc, KQ_GetRgbFrame)       \
    X(uvc, KQ_GetRgbFrameToBmp)  \
    X(uvc, KQ_GetRgbFrameToJpeg) \
    X(uvc, KQ_GetFrameRate)      \
    X(uvc, KQ_SetFrameCallback)  \
    X(uvc, KQ_SetViewWin)        \
    X(uvc, KQ_GetTotalDeviceNum) \
    X(uvc, KQ_CaptureToAvi)      \
    X(uvc, KQ_GetCameraType)     \
    X(uvc, KQ_GetAviCompressor)  \
    X(uvc, KQ_SetAviCompressor)  \
    X(uvc, KQ_ShowPropertyPage)  \
    X(uvc, KQ_SetDoAWB)          \
    X(uvc, KQ_SetDoAE)

struct KQCCDEntryPoints {
    VZ_KQCCD_EXPORTS(VZ_SDK_ENTRY_POINT)
};
struct KQCMOSEntryPoints {
    VZ_KQCMOS_EXPORTS(VZ_SDK_ENTRY_POINT)
};
struct KQGEEntryPoints {
    VZ_KQGE_EXPORTS(VZ_SDK_ENTRY_POINT)
};
struct KQUVCEntryPoints {
    VZ_KQUVC_EXPORTS(VZ_SDK_ENTRY_POINT)
};

// The entry points as bound; every pointer is null while its family's
// library is not loaded or does not export that name.
const KQCCDEntryPoints& KQCCD();
const KQCMOSEntryPoints& KQCMOS();
const KQGEEntryPoints& KQGE();
const KQUVCEntryPoints& KQUVC();

class CCCDSdkBinding : public CCameraSdkBinding {
public:
    static constexpr const wchar_t* kFileName = L"KQCCDu.dll";
    explicit CCCDSdkBinding(const std::wstring& path);
    static std::span<const CameraSdkExport> Exports();
    // 1 while some loader of the family holds its library.
    static int IsFamilyLoaded();
};

class CCMOSSdkBinding : public CCameraSdkBinding {
public:
    static constexpr const wchar_t* kFileName = L"KQCMOSu.dll";
    explicit CCMOSSdkBinding(const std::wstring& path);
    static std::span<const CameraSdkExport> Exports();
    // 1 while some loader of the family holds its library.
    static int IsFamilyLoaded();
};

class CGigESdkBinding : public CCameraSdkBinding {
public:
    static constexpr const wchar_t* kFileName = L"KQGEu.dll";
    explicit CGigESdkBinding(const std::wstring& path);
    static std::span<const CameraSdkExport> Exports();
    // 1 while some loader of the family holds its library.
    static int IsFamilyLoaded();
};

class CUVCSdkBinding : public CCameraSdkBinding {
public:
    static constexpr const wchar_t* kFileName = L"KQUVCu.dll";
    explicit CUVCSdkBinding(const std::wstring& path);
    static std::span<const CameraSdkExport> Exports();
    // 1 while some loader of the family holds its library.
    static int IsFamilyLoaded();
};
