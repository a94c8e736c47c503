#pragma once
// The C interface of the GigE camera library KQGEu as the program calls it.
// Every entry returns the library's result code (0 success); all but the
// library-wide ones take the camera index first.
#include <windows.h>

#include <cstdint>

namespace kqge {
struct KQGE_FRAME_INFO {
    int32_t width;
    int32_t height;
    int32_t bitsPerPixel;
};
using KQGE_FRAME_CALLBACK = void(WINAPI*)(unsigned char* pixels, KQGE_FRAME_INFO* info, void* user);
using KQGE_AE_CALLBACK = void(WINAPI*)(int32_t exposure, int32_t zero, void* user);

using KQGE_Initialize_t = int32_t(WINAPI*)();
using KQGE_UnInitialize_t = int32_t(WINAPI*)();
using KQGE_GetCameraCount_t = int32_t(WINAPI*)(int32_t* count);
using KQGE_GetCameraType_t = int32_t(WINAPI*)(int32_t index, int32_t* modelCode);
using KQGE_GetCameraInfo_t = int32_t(WINAPI*)(int32_t index, unsigned char* record /* 248 bytes */);
using KQGE_InitCamera_t = int32_t(WINAPI*)(int32_t index, HWND window);
using KQGE_UnInitCamera_t = int32_t(WINAPI*)(int32_t index);
using KQGE_LiveStart_t = int32_t(WINAPI*)(int32_t index);
using KQGE_LiveStop_t = int32_t(WINAPI*)(int32_t index);
using KQGE_ResetCameraPort_t = int32_t(WINAPI*)(int32_t index, int32_t port);
using KQGE_GetCameraPort_t = int32_t(WINAPI*)(int32_t index, uint16_t* port);
using KQGE_SetExposure_t = int32_t(WINAPI*)(int32_t index, uint32_t exposure);
using KQGE_GetExposure_t = int32_t(WINAPI*)(int32_t index, int32_t* exposure);
using KQGE_SetGainR_t = int32_t(WINAPI*)(int32_t index, uint32_t gain);
using KQGE_SetGainG_t = int32_t(WINAPI*)(int32_t index, uint32_t gain);
using KQGE_SetGainB_t = int32_t(WINAPI*)(int32_t index, uint32_t gain);
using KQGE_SetGain_A_t = int32_t(WINAPI*)(int32_t index, int32_t gain);
using KQGE_SetResolution_t = int32_t(WINAPI*)(int32_t index, uint32_t width, uint32_t height);
using KQGE_GetCameraFrameRate_t = int32_t(WINAPI*)(int32_t index, float* fps);
using KQGE_GetNICFrameRate_t = int32_t(WINAPI*)(int32_t index, float* fps);
using KQGE_SetVideoWindowPos_t = int32_t(WINAPI*)(int32_t index, int32_t x, int32_t y, int32_t width, int32_t height);
using KQGE_SetFlipMode_t = int32_t(WINAPI*)(int32_t index, int32_t mode);
using KQGE_SetZoomMode_t = int32_t(WINAPI*)(int32_t index, int32_t mode);
using KQGE_SetExpMode_t = int32_t(WINAPI*)(int32_t index, int32_t mode);
using KQGE_SetCapMode_t = int32_t(WINAPI*)(int32_t index, int32_t mode);
using KQGE_SetSpeedMode_t = int32_t(WINAPI*)(int32_t index, int32_t mode);
using KQGE_SetOffsetH_t = int32_t(WINAPI*)(int32_t index, int32_t offset);
using KQGE_SetOffsetV_t = int32_t(WINAPI*)(int32_t index, int32_t offset);
using KQGE_SetFrameCallBack_t = int32_t(WINAPI*)(int32_t index, KQGE_FRAME_CALLBACK callback, void* user);
using KQGE_GetFrame_t = int32_t(WINAPI*)(int32_t index, unsigned char* picture);
using KQGE_GetFrameToImage_t = int32_t(WINAPI*)(int32_t index, const wchar_t* path, int32_t kind, int32_t ignored1,
                                                int32_t ignored2);
using KQGE_SetCameraIP_t = int32_t(WINAPI*)(int32_t index, uint32_t ip, uint32_t mask, uint32_t gateway);
using KQGE_IPConfig_t = int32_t(WINAPI*)(int32_t index, int32_t on);
using KQGE_SetContrast_t = int32_t(WINAPI*)(int32_t index, uint32_t contrast);
using KQGE_SetTriggerState_t = int32_t(WINAPI*)(int32_t index, int32_t on, KQGE_FRAME_CALLBACK callback, void* user);
using KQGE_FrameToImage_t = int32_t(WINAPI*)(unsigned char* picture, const wchar_t* path, int32_t width, int32_t height,
                                             int32_t bitsPerPixel, int32_t kind);
using KQGE_SetFlashState_t = int32_t(WINAPI*)(int32_t index, int32_t on, int32_t mode);
using KQGE_SetDoAE_t = int32_t(WINAPI*)(int32_t index, int32_t showMark, int32_t on, KQGE_AE_CALLBACK callback,
                                        void* user);
using KQGE_SetDoAWB_t = int32_t(WINAPI*)(int32_t index, int32_t once, int32_t continuous, KQGE_AE_CALLBACK callback,
                                         void* user);
using KQGE_SetColorMode_t = int32_t(WINAPI*)(int32_t index, int32_t kind);
using KQGE_SetDhcpEnable_t = int32_t(WINAPI*)(int32_t index, int32_t on);
using KQGE_CaptureStart_t = int32_t(WINAPI*)(int32_t index, const wchar_t* path);
using KQGE_CaptureStop_t = int32_t(WINAPI*)(int32_t index);
using KQGE_SelectAviCompressor_t = int32_t(WINAPI*)(int32_t index, HWND ignored);
using KQGE_SetAviCompressor_t = int32_t(WINAPI*)(int32_t index, uint32_t compressor);
using KQGE_SetTriggerMode_t = int32_t(WINAPI*)(int32_t index, int32_t mode);
using KQGE_GetTriggerMode_t = int32_t(WINAPI*)(int32_t index, int32_t* mode);
using KQGE_SetPackageDelayTime_t = int32_t(WINAPI*)(int32_t index, int32_t delay);
using KQGE_GetPackageDelayTime_t = int32_t(WINAPI*)(int32_t index, int32_t* delay);
using KQGE_SetWatchdogState_t = int32_t(WINAPI*)(int32_t index, int32_t on);
using KQGE_GetWatchdogState_t = int32_t(WINAPI*)(int32_t index, int32_t* on);
using KQGE_SetIO_t = int32_t(WINAPI*)(int32_t index, uint32_t line, uint32_t level);
using KQGE_GetIO_t = int32_t(WINAPI*)(int32_t index, uint32_t line, uint32_t* level);
using KQGE_SetTriggerDelayTime_t = int32_t(WINAPI*)(int32_t index, uint32_t delay);
using KQGE_SoftTrigger_t = int32_t(WINAPI*)(int32_t index);
using KQGE_HDR_Enable_t = int32_t(WINAPI*)(int32_t index, int32_t on);
using KQGE_MCResolutionShow_t = int32_t(WINAPI*)(int32_t index, int32_t on);
using KQGE_IsMCResolutionShow_t = int32_t(WINAPI*)(int32_t index, int32_t* on);
using KQGE_SetMCResolution_t = int32_t(WINAPI*)(int32_t index, int32_t x, int32_t y, int32_t width, int32_t height);
using KQGE_GetMCResolution_t = int32_t(WINAPI*)(int32_t index, int32_t* x, int32_t* y, int32_t* width, int32_t* height);
using KQGE_SetValidBitsOff_t = int32_t(WINAPI*)(int32_t index, int32_t shift);
using KQGE_AEParam_t = int32_t(WINAPI*)(int32_t index, int32_t flag, int32_t targetWindow);
using KQGE_SetNewHwnd_t = int32_t(WINAPI*)(int32_t index, HWND window);
using KQGE_SetPackageSize_t = int32_t(WINAPI*)(int32_t index, int32_t size);
using KQGE_GetPackageSize_t = int32_t(WINAPI*)(int32_t index, uint16_t* size);
using KQGE_GetAWBVal_t = int32_t(WINAPI*)(int32_t index, uint32_t* red, uint32_t* green, uint32_t* blue);
using KQGE_ReSetAWBVal_t = int32_t(WINAPI*)(int32_t index, int32_t red, int32_t green, int32_t blue);
using KQGE_SetDoAutoCorrection_t = int32_t(WINAPI*)(int32_t index);
using KQGE_SetDoCorrecting_t = int32_t(WINAPI*)(int32_t index, int32_t on);
using KQGE_SetSharpness_t = int32_t(WINAPI*)(int32_t index, int32_t value);
using KQGE_SetSaturation_t = int32_t(WINAPI*)(int32_t index, int32_t value);
using KQGE_GetSharpness_t = int32_t(WINAPI*)(int32_t index, int32_t* value);
using KQGE_GetSaturation_t = int32_t(WINAPI*)(int32_t index, int32_t* value);
}  // namespace kqge
