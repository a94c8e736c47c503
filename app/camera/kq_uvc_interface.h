#pragma once
// The C interface of the UVC camera library KQUVCu as the program calls it.
// It shares names with KQCMOSu but not their shapes.
#include <windows.h>

namespace kquvc {
using FrameCallback = int(WINAPI*)(unsigned char* frame, int unused, void* context);
using StatusCallback = void(WINAPI*)(int value1, int value2, void* context);

using KQ_Initialize_t = int(WINAPI*)(const wchar_t* label, int* number, HANDLE* handle);
using KQ_Uninitialize_t = int(WINAPI*)(HANDLE handle);
using KQ_StartView_t = int(WINAPI*)(HANDLE handle, const wchar_t* caption, unsigned int windowStyle, int x, int y,
                                    int width, int height, HWND host, void* reserved);
using KQ_StopView_t = int(WINAPI*)(HANDLE handle);
using KQ_SetParam_t = int(WINAPI*)(HANDLE handle, int propertyId, int value);
using KQ_GetParam_t = int(WINAPI*)(HANDLE handle, int propertyId, int* value);
using KQ_SetResolution_t = int(WINAPI*)(HANDLE handle, int width, int height);
using KQ_GetResolution_t = int(WINAPI*)(HANDLE handle, int* count, int* widths, int* heights);
using KQ_GetRgbFrame_t = int(WINAPI*)(HANDLE handle, unsigned char* rgb);
using KQ_GetRgbFrameToBmp_t = int(WINAPI*)(HANDLE handle, unsigned char* rgb, const wchar_t* path, int copyOut);
using KQ_GetRgbFrameToJpeg_t = int(WINAPI*)(HANDLE handle, unsigned char* rgb, const wchar_t* path, int quality);
using KQ_GetFrameRate_t = int(WINAPI*)(HANDLE handle, float* fps);
using KQ_SetFrameCallback_t = int(WINAPI*)(HANDLE handle, FrameCallback callback, void* context);
using KQ_SetViewWin_t = int(WINAPI*)(HANDLE handle, int* rectangle /* x, y, width, height */);
using KQ_GetTotalDeviceNum_t = int(WINAPI*)(HANDLE handle, int* count);
using KQ_CaptureToAvi_t = int(WINAPI*)(HANDLE handle, int on, const wchar_t* path);
using KQ_GetCameraType_t = int(WINAPI*)(HANDLE handle, int* type);
using KQ_GetAviCompressor_t = int(WINAPI*)(HANDLE handle, int* compressor);
using KQ_SetAviCompressor_t = int(WINAPI*)(HANDLE handle, int compressor);
using KQ_ShowPropertyPage_t = int(WINAPI*)(HANDLE handle, HWND owner);
using KQ_SetDoAWB_t = int(WINAPI*)(HANDLE handle, int on, int reserved, StatusCallback callback, void* context);
using KQ_SetDoAE_t = int(WINAPI*)(HANDLE handle, int on, int reserved, StatusCallback callback, void* context);
}  // namespace kquvc
