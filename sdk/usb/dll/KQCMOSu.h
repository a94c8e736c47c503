/* KQCMOSu: C interface of the USB camera library.
 *
 * Every function uses the standard Windows calling convention and is
 * exported by its undecorated name. All but KQ_GetDeviceHandle return a
 * status: 0 success, 1 unknown or null handle, 3 no camera (or unplugged),
 * 4 interface list failed, 6 null frame buffer, 10 not supported or bad
 * argument, 13 no frame, 19 eight cameras open or out of memory, -1 refused,
 * 255 output sub-rectangle refused.
 *
 * A handle names one open camera for the life of its device object; it stays
 * valid while the camera is unplugged and comes back, and is never reused. */
#ifndef KQCMOSU_H
#define KQCMOSU_H

#include <stdint.h>
#include <windows.h>

#define KQAPI __stdcall

/* The character type of KQ_GetDeviceHandle's label: wide here, 8-bit in the
 * TWAIN device library, which defines it as char. */
#ifndef KQ_LABEL_CHAR
#define KQ_LABEL_CHAR wchar_t
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Capture-information record, 36 bytes, little-endian. */
typedef struct KQ_CAPINFO {
    uint32_t reserved; /* kept for the caller, never sent */
    uint32_t height;
    uint32_t width;
    uint32_t columnStart;
    uint32_t rowStart;
    uint32_t exposure; /* lines, or time with exposure unit 1 */
    uint8_t gain[3];   /* global gain 8..95 in gain[0] */
    uint8_t control;   /* bit 0 half readout, 1 trigger, 2 zoom, 4-5 speed, 7 soft trigger */
    uint8_t mode[4];   /* mode[3] bit 0: 2 x 2 binning */
    uint8_t extra[4];
} KQ_CAPINFO;

typedef int(KQAPI* KQ_FRAME_CALLBACK)(unsigned char* frame, int unused, void* context);
typedef void(KQAPI* KQ_DEVICE_EVENT_CALLBACK)(int event, HANDLE handle, void* context);
typedef void(KQAPI* KQ_AWB_CALLBACK)(int value1, int value2, void* context);

/* Open, close and identity. */
int KQAPI KQ_Initialize(const wchar_t* label, int* index, KQ_CAPINFO* capInfo, HANDLE* handle);
int KQAPI KQ_Uninitialize(HANDLE handle);
HANDLE KQAPI KQ_GetDeviceHandle(const KQ_LABEL_CHAR* label, int* index, KQ_CAPINFO* capInfo);
int KQAPI KQ_GetTotalDeviceNum(HANDLE ignored, int* count);
int KQAPI KQ_GetDeviceID(HANDLE handle, unsigned short* id);
int KQAPI KQ_GetFriendlyName(HANDLE handle, wchar_t* name /* 256 characters */);
int KQAPI KQ_GetDeviceType(HANDLE handle, int* type);
int KQAPI KQ_GetDeviceColorType(HANDLE handle, int* colorType);
int KQAPI KQ_GetSerialNumber(HANDLE handle, unsigned char* serial /* 16 bytes */);
int KQAPI KQ_SetSerialNumber(HANDLE handle, const unsigned char* serial, unsigned int guard);
int KQAPI KQ_SetFrameCallBack(HANDLE handle, KQ_FRAME_CALLBACK callback, void* context);
int KQAPI KQ_SetDeviceEvent(HANDLE handle, KQ_DEVICE_EVENT_CALLBACK callback, void* context);

/* Streaming and display. */
int KQAPI KQ_StartView(HANDLE handle, const wchar_t* windowName, unsigned int windowStyle, int x, int y, int width,
                       int height, HWND parent, void* reserved);
int KQAPI KQ_StopView(HANDLE handle);
int KQAPI KQ_SetCapInfo(HANDLE handle, KQ_CAPINFO* capInfo);
int KQAPI KQ_GetCapInfo(HANDLE handle, KQ_CAPINFO* capInfo);
int KQAPI KQ_SetParamColor(HANDLE handle, int mode);
int KQAPI KQ_SetParamFlip(HANDLE handle, int flip);
int KQAPI KQ_SetScrollOffset(HANDLE handle, int dx, int dy);
int KQAPI KQ_SetVideoSize(HANDLE handle, int width, int height);
int KQAPI KQ_SetShowVideo(HANDLE handle, int show);
int KQAPI KQ_SetShowAutoMark(HANDLE handle, int show);
int KQAPI KQ_VideoPause(HANDLE handle, int pause);
int KQAPI KQ_SetZoomMode(HANDLE handle, int mode);
int KQAPI KQ_SetClearView(HANDLE handle, int on);
int KQAPI KQ_GetClearViewState(HANDLE handle, int* on);
int KQAPI KQ_SetClearPic(HANDLE handle);
int KQAPI KQ_GetFrameRate(HANDLE handle, float* fps);
int KQAPI KQ_MCResolutionShow(HANDLE handle, int on);
int KQAPI KQ_IsMCResolutionShow(HANDLE handle, int* on);
int KQAPI KQ_SetMCResolution(HANDLE handle, int x, int y, int width, int height);
int KQAPI KQ_GetMCResolution(HANDLE handle, int* x, int* y, int* width, int* height);
int KQAPI KQ_SetSpeedMode(HANDLE handle, int mode);
int KQAPI KQ_CapFastMode(HANDLE handle, int on);
int KQAPI KQ_SetSensorRdMode(HANDLE handle, int mode);
int KQAPI KQ_SetHBlank(HANDLE handle, int value);
int KQAPI KQ_SetVBlank(HANDLE handle, int value);
int KQAPI KQ_SetSourceFormat(HANDLE handle, int format);

/* Image parameters and automatic control. */
int KQAPI KQ_SetDoAE(HANDLE handle, int on, int reserved, KQ_AWB_CALLBACK callback, void* context);
int KQAPI KQ_SetDoAWB(HANDLE handle, int on, int reserved, KQ_AWB_CALLBACK callback, void* context);
int KQAPI KQ_SetDoAEInRegion(HANDLE handle, int on, int reserved, KQ_AWB_CALLBACK callback, void* context, int x1,
                             int y1, int x2, int y2);
int KQAPI KQ_SetDoAWBInRegion(HANDLE handle, int on, int reserved, KQ_AWB_CALLBACK callback, void* context, int x1,
                              int y1, int x2, int y2);
int KQAPI KQ_SetAELevel(HANDLE handle, int level);
int KQAPI KQ_AEParam(HANDLE handle, int a, int b, KQ_AWB_CALLBACK callback, void* context);
int KQAPI KQ_SetContrastValue(HANDLE handle, int value);
int KQAPI KQ_GetContrastValue(HANDLE handle, int* value);
int KQAPI KQ_SetGamma(HANDLE handle, int index);
int KQAPI KQ_GetGamma(HANDLE handle, int* index);
int KQAPI KQ_SetSaturation(HANDLE handle, int value);
int KQAPI KQ_GetSaturation(HANDLE handle, int* value);
int KQAPI KQ_SetSharpness(HANDLE handle, int level);
int KQAPI KQ_GetSharpness(HANDLE handle, int* level);
int KQAPI KQ_SetGainR(HANDLE handle, int gain);
int KQAPI KQ_SetGainG(HANDLE handle, int gain);
int KQAPI KQ_SetGainB(HANDLE handle, int gain);
int KQAPI KQ_GetGainR(HANDLE handle, int* gain);
int KQAPI KQ_GetGainG(HANDLE handle, int* gain);
int KQAPI KQ_GetGainB(HANDLE handle, int* gain);
int KQAPI KQ_SetColorAdjust(HANDLE handle, int value);
int KQAPI KQ_GetColorAdjust(HANDLE handle, int* value);
int KQAPI KQ_SetOffCenter(HANDLE handle, int value);
int KQAPI KQ_GetOffCenter(HANDLE handle, int* value);
int KQAPI KQ_SetExpouseUnit(HANDLE handle, int unit);
int KQAPI KQ_SetExpouseDelayTime(HANDLE handle, int delay);
int KQAPI KQ_SetGolbalGain(HANDLE handle, int gain);
int KQAPI KQ_SetHDR(HANDLE handle, int on);
int KQAPI KQ_ResetLightAvgTable(HANDLE handle);
int KQAPI KQ_EnableLightAvg(HANDLE handle, int on);
int KQAPI KQ_ErasureStripe(HANDLE handle);
int KQAPI KQ_ApplyErasure(HANDLE handle, int on);
int KQAPI KQ_PixelCalibration(HANDLE handle);
int KQAPI KQ_SetLight(HANDLE handle, int value);
int KQAPI KQ_GetLight(HANDLE handle, unsigned char* value);
int KQAPI KQ_SetCameraLED(HANDLE handle, int value1, int value2);

/* Frames and files. `buffer` points at the caller's raw-frame buffer, which
 * takes one raw frame of the capture window: width x height bytes, or
 * 2 x width x height bytes for the cameras whose sensors send two bytes a
 * pixel (types 9, 14, 15 and 23). `out` takes the picture: width x height x 3
 * bytes in colour modes 0, 1, 2 and 5, width x height in modes 3 and 4. */
int KQAPI KQ_GetRawFrame(HANDLE handle, unsigned char** buffer);
int KQAPI KQ_GetRgbFrame(HANDLE handle, unsigned char** buffer, unsigned char* out, int bottomUp);
int KQAPI KQ_GetRawFrameToBmp(HANDLE handle, unsigned char** buffer, const wchar_t* fileName);
int KQAPI KQ_GetRgbFrameToBmp(HANDLE handle, unsigned char** buffer, unsigned char* out, const wchar_t* fileName,
                              int copyOut);
int KQAPI KQ_GetRgbFrameToJpeg(HANDLE handle, unsigned char** buffer, int reserved, const wchar_t* fileName,
                               int quality);
int KQAPI KQ_GetRgbFrameToBmpZoom(HANDLE handle, unsigned char** buffer, unsigned char* out, const wchar_t* fileName,
                                  int copyOut);
int KQAPI KQ_GetRgbFrameToJpegZoom(HANDLE handle, unsigned char** buffer, int reserved, const wchar_t* fileName,
                                   int quality);
int KQAPI KQ_FrameToImage(const wchar_t* fileName, unsigned char* pixels, int width, int height, int bitsPerPixel,
                          int kind);
int KQAPI KQ_GetNewCalibrationRawFrame(HANDLE handle, int width, int height, int unused1, int unused2, int unused3,
                                       int unused4, unsigned char* source, unsigned char level, int adjust,
                                       unsigned char* destination);
int KQAPI KQ_RawFrameToRgb(HANDLE handle, int height, int width, int unused1, int unused2, unsigned char* raw,
                           unsigned char* rgb);
int KQAPI KQ_GetTrigger(HANDLE handle, int on, int flag, const wchar_t* path, int value);
int KQAPI KQ_CaptureToAvi(HANDLE handle, int on, const wchar_t* fileName);
int KQAPI KQ_SelectAviCompressor(HANDLE handle, int* fourcc);
int KQAPI KQ_SetAviCompressor(HANDLE handle, int fourcc);

/* Trigger and input/output. */
int KQAPI KQ_SetTriggerMode(HANDLE handle, int on);
int KQAPI KQ_SoftTrigger(HANDLE handle);
int KQAPI KQ_SetTriggerDelayTime(HANDLE handle, int delay);
int KQAPI KQ_SetTriggerSource(HANDLE handle, int source);
int KQAPI KQ_SetTriggerSourceTime(HANDLE handle, int time);
int KQAPI KQ_SetTriggerCheckSignalTime(HANDLE handle, int time);
int KQAPI KQ_SetCustomIO(HANDLE handle, int value);
int KQAPI KQ_SetIO(HANDLE handle, int value);
int KQAPI KQ_GetIO(HANDLE handle, unsigned char* value);

/* Device memory, registers and firmware. */
int KQAPI KQ_EEProm_Set(HANDLE handle, unsigned char* data /* 240 bytes */);
int KQAPI KQ_EEProm_Get(HANDLE handle, unsigned char* data /* 240 bytes */);
int KQAPI KQ_EEProm_SetByte(HANDLE handle, int length, unsigned char* buffer, int address);
int KQAPI KQ_EEProm_GetByte(HANDLE handle, int length, unsigned char* buffer, int address);
int KQAPI KQ_EEProm_Set_Test(HANDLE handle, unsigned char* data);
int KQAPI KQ_EEProm_Get_Test(HANDLE handle, unsigned char* data);
int KQAPI KQ_Write_Register(HANDLE handle, unsigned short* registers, unsigned short* values, int count);
int KQAPI KQ_WriteDataToDevice(HANDLE handle, unsigned char* data, int offset, int length);
int KQAPI KQ_ReadDataFromDevice(HANDLE handle, unsigned char* buffer, int offset, int length);
int KQAPI KQ_DeviceIoControl(HANDLE handle, unsigned int* value);
int KQAPI KQ_UpdateDeviceProgram(HANDLE handle, int on, const wchar_t* fileName);

#ifdef __cplusplus
}
#endif

#endif
