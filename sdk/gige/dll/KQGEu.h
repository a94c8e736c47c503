/* KQGEu: C interface of the GigE camera library.
 *
 * Every function uses the standard Windows calling convention, is exported
 * by its undecorated name and returns a result code: 0 success, 2 null
 * output, 17 not supported, 18 locked, 19 model code 0, 20 out of range,
 * 21 no camera has this index, 22 adapter list unread, 23 no adapter,
 * 25 not initialised, 32 out of memory, 33 not streaming, 34 streaming,
 * 35 no adapter channel, 37 no driver handle, 48 not opened, 51 another
 * host holds control, -1 not acknowledged. Sequences return the OR of their
 * steps' codes: test those for zero only.
 *
 * Call KQGE_Initialize first; every function but the four library-wide ones
 * takes the camera index (0 .. count - 1) first. User values are pointer
 * sized and handed back as given. */
#ifndef KQGEU_H
#define KQGEU_H

#include <stdint.h>
#include <windows.h>

#define KQGEAPI __stdcall

#ifdef __cplusplus
extern "C" {
#endif

/* The delivered picture: after rotation, and the region's size while a
 * region of interest is shown. */
typedef struct KQGE_FRAME_INFO {
    int32_t width;
    int32_t height;
    int32_t bitsPerPixel; /* 8, 16 or 24 */
} KQGE_FRAME_INFO;

/* Live frames, triggered frames and firmware progress; the pixels belong to
 * the library and are valid during the call only. */
typedef void(KQGEAPI* KQGE_FRAME_CALLBACK)(unsigned char* pixels, KQGE_FRAME_INFO* info, void* user);
typedef void(KQGEAPI* KQGE_AE_CALLBACK)(int32_t exposure, int32_t zero, void* user);

/* Library-wide. */
int32_t KQGEAPI KQGE_Initialize(void);
int32_t KQGEAPI KQGE_UnInitialize(void);
int32_t KQGEAPI KQGE_GetCameraCount(int32_t* count);
/* kind: 0 BMP, 1 JPEG, 2 TIFF, 3 PNG; rows bottom-up, colour as blue, green, red. */
int32_t KQGEAPI KQGE_FrameToImage(unsigned char* picture, const wchar_t* path, int32_t width, int32_t height,
                                  int32_t bitsPerPixel, int32_t kind);

/* Open, close, stream. */
int32_t KQGEAPI KQGE_InitCamera(int32_t index, HWND window);
int32_t KQGEAPI KQGE_UnInitCamera(int32_t index);
int32_t KQGEAPI KQGE_LiveStart(int32_t index);
int32_t KQGEAPI KQGE_LiveStop(int32_t index);
int32_t KQGEAPI KQGE_ResetCameraPort(int32_t index, int32_t port);
int32_t KQGEAPI KQGE_GetCameraPort(int32_t index, uint16_t* port);

/* Sensor settings. */
int32_t KQGEAPI KQGE_SetExposure(int32_t index, uint32_t exposure);
int32_t KQGEAPI KQGE_GetExposure(int32_t index, int32_t* exposure);
int32_t KQGEAPI KQGE_SetGainR(int32_t index, uint32_t gain);
int32_t KQGEAPI KQGE_SetGainG(int32_t index, uint32_t gain);
int32_t KQGEAPI KQGE_SetGainB(int32_t index, uint32_t gain);
int32_t KQGEAPI KQGE_SetGain_A(int32_t index, int32_t gain);
int32_t KQGEAPI KQGE_SetResolution(int32_t index, uint32_t width, uint32_t height);
/* Address and value are plain numbers (0x0A00 is the control privilege
 * register); the library sends both in network byte order. */
int32_t KQGEAPI KQGE_WriterRegister(int32_t index, uint32_t address, uint32_t value);
int32_t KQGEAPI KQGE_ReadRegister(int32_t index, uint32_t address, uint32_t* value);
int32_t KQGEAPI KQGE_GetCameraFrameRate(int32_t index, float* fps);
int32_t KQGEAPI KQGE_SetVideoWindowPos(int32_t index, int32_t x, int32_t y, int32_t width, int32_t height);
int32_t KQGEAPI KQGE_EnableAE(int32_t index, int32_t on);
int32_t KQGEAPI KQGE_EnableAG(int32_t index, int32_t on);
int32_t KQGEAPI KQGE_SetFlipMode(int32_t index, int32_t mode);
int32_t KQGEAPI KQGE_SetZoomMode(int32_t index, int32_t mode);
int32_t KQGEAPI KQGE_SetExpMode(int32_t index, int32_t mode);
int32_t KQGEAPI KQGE_SetCapMode(int32_t index, int32_t mode);
int32_t KQGEAPI KQGE_SetSpeedMode(int32_t index, int32_t mode);
int32_t KQGEAPI KQGE_SetOffsetH(int32_t index, int32_t offset);
int32_t KQGEAPI KQGE_SetOffsetV(int32_t index, int32_t offset);

/* Frames and pictures. */
int32_t KQGEAPI KQGE_SetFrameCallBack(int32_t index, KQGE_FRAME_CALLBACK callback, void* user);
/* The latest picture; in fast capture the one its own soft trigger produced
 * (-1 when none came within 2000 ms). */
int32_t KQGEAPI KQGE_GetFrame(int32_t index, unsigned char* picture);
int32_t KQGEAPI KQGE_GetFrameToImage(int32_t index, const wchar_t* path, int32_t kind, int32_t ignored1,
                                     int32_t ignored2);

/* Network identity. */
int32_t KQGEAPI KQGE_SetCameraIP(int32_t index, uint32_t ip, uint32_t mask, uint32_t gateway);
int32_t KQGEAPI KQGE_IPConfig(int32_t index, int32_t on);
/* The 248-byte discovery record, addresses in host order. */
int32_t KQGEAPI KQGE_GetCameraInfo(int32_t index, unsigned char* record);

/* Image processing, trigger and flash. */
int32_t KQGEAPI KQGE_SetContrast(int32_t index, uint32_t contrast);
int32_t KQGEAPI KQGE_SetTriggerState(int32_t index, int32_t on, KQGE_FRAME_CALLBACK callback, void* user);
int32_t KQGEAPI KQGE_SetFlashState(int32_t index, int32_t on, int32_t mode);
int32_t KQGEAPI KQGE_SetDoAE(int32_t index, int32_t showMark, int32_t on, KQGE_AE_CALLBACK callback, void* user);
int32_t KQGEAPI KQGE_SetDoAWB(int32_t index, int32_t once, int32_t continuous, KQGE_AE_CALLBACK callback, void* user);
int32_t KQGEAPI KQGE_SetColorMode(int32_t index, int32_t kind);
int32_t KQGEAPI KQGE_SetDhcpEnable(int32_t index, int32_t on);
/* Acts only when guard is 48213957. */
int32_t KQGEAPI KQGE_SetMacAddr(int32_t index, uint32_t value, uint32_t guard);
int32_t KQGEAPI KQGE_GetCameraType(int32_t index, int32_t* modelCode);
int32_t KQGEAPI KQGE_GetNICFrameRate(int32_t index, float* fps);

/* Recording of a streaming 24-bit picture, through the chosen compressor
 * (0: uncompressed; grey pictures go to coders of 8-bit frames as 8-bit
 * grey). The start returns 17 when the movie file cannot be made, leaving
 * none. A write that fails ends the recording, keeping what was written; the
 * next stop call then returns 17. */
int32_t KQGEAPI KQGE_CaptureStart(int32_t index, const wchar_t* path);
int32_t KQGEAPI KQGE_CaptureStop(int32_t index);
int32_t KQGEAPI KQGE_SelectAviCompressor(int32_t index, HWND ignored);
int32_t KQGEAPI KQGE_SetAviCompressor(int32_t index, uint32_t compressor);

/* Trigger, packets, watchdog and lines. */
int32_t KQGEAPI KQGE_SetTriggerMode(int32_t index, int32_t mode);
int32_t KQGEAPI KQGE_GetTriggerMode(int32_t index, int32_t* mode);
int32_t KQGEAPI KQGE_SetPackageDelayTime(int32_t index, int32_t delay);
int32_t KQGEAPI KQGE_GetPackageDelayTime(int32_t index, int32_t* delay);
int32_t KQGEAPI KQGE_SetWatchdogState(int32_t index, int32_t on);
int32_t KQGEAPI KQGE_GetWatchdogState(int32_t index, int32_t* on);
int32_t KQGEAPI KQGE_SetIO(int32_t index, uint32_t line, uint32_t level);
int32_t KQGEAPI KQGE_GetIO(int32_t index, uint32_t line, uint32_t* level);
int32_t KQGEAPI KQGE_SetTriggerDelayTime(int32_t index, uint32_t delay);
int32_t KQGEAPI KQGE_SoftTrigger(int32_t index);
int32_t KQGEAPI KQGE_HDR_Enable(int32_t index, int32_t on);

/* Region of interest, given in the output as the sensor delivers it (before
 * flips and quarter turns); the delivered picture shows that piece of the
 * scene flipped or turned with the picture. */
int32_t KQGEAPI KQGE_MCResolutionShow(int32_t index, int32_t on);
int32_t KQGEAPI KQGE_IsMCResolutionShow(int32_t index, int32_t* on);
int32_t KQGEAPI KQGE_SetMCResolution(int32_t index, int32_t x, int32_t y, int32_t width, int32_t height);
int32_t KQGEAPI KQGE_GetMCResolution(int32_t index, int32_t* x, int32_t* y, int32_t* width, int32_t* height);

int32_t KQGEAPI KQGE_SetValidBitsOff(int32_t index, int32_t shift);
int32_t KQGEAPI KQGE_AEParam(int32_t index, int32_t flag, int32_t targetWindow);
int32_t KQGEAPI KQGE_SetNewHwnd(int32_t index, HWND window);
int32_t KQGEAPI KQGE_SetPackageSize(int32_t index, int32_t size);
int32_t KQGEAPI KQGE_GetPackageSize(int32_t index, uint16_t* size);
/* start != 0 begins an upload of the file (null: "output_file.jic"); start 0
 * stops a running one, or, once it has ended, returns its result. */
int32_t KQGEAPI KQGE_UpdateDeviceProgram(int32_t index, int32_t start, const wchar_t* path);
int32_t KQGEAPI KQGE_CapFastMode(int32_t index, int32_t on);

/* White balance, corrections, saturation and sharpness. */
int32_t KQGEAPI KQGE_GetAWBVal(int32_t index, uint32_t* red, uint32_t* green, uint32_t* blue);
int32_t KQGEAPI KQGE_ReSetAWBVal(int32_t index, int32_t red, int32_t green, int32_t blue);
int32_t KQGEAPI KQGE_SetDoAutoCorrection(int32_t index);
int32_t KQGEAPI KQGE_SetDoCorrecting(int32_t index, int32_t on);
int32_t KQGEAPI KQGE_SetSaturation(int32_t index, int32_t value);
int32_t KQGEAPI KQGE_GetSaturation(int32_t index, int32_t* value);
int32_t KQGEAPI KQGE_SetSharpness(int32_t index, int32_t value);
int32_t KQGEAPI KQGE_GetSharpness(int32_t index, int32_t* value);

#ifdef __cplusplus
}
#endif

#endif /* KQGEU_H */
