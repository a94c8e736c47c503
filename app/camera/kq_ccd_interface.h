#pragma once
// The C interface of the CCD camera library KQCCDu as the program calls it.
// Names it shares with KQCMOSu take the same arguments and give the same
// results, so their shapes come from the USB camera library's header; the
// CCD-only entries are declared here.
#include "KQCMOSu.h"

namespace kqccd {
using KQ_GetRawFrameToJpeg_t = int(KQAPI*)(HANDLE handle, unsigned char** buffer, const wchar_t* fileName, int quality);
using KQ_GetRawFrame16_t = int(KQAPI*)(HANDLE handle, unsigned short** buffer);
using KQ_GetRawFrame16ToPNG_t = int(KQAPI*)(HANDLE handle, unsigned short** buffer, const wchar_t* fileName);
using KQ_GetRGBFrame48ToPNG_t = int(KQAPI*)(HANDLE handle, unsigned short** buffer, const wchar_t* fileName);
using KQ_SetADGain_t = int(KQAPI*)(HANDLE handle, int gain);
using KQ_StartCCDTrigger_t = int(KQAPI*)(HANDLE handle);
using KQ_StopCCDTrigger_t = int(KQAPI*)(HANDLE handle);
using KQ_StartMirrorThread_t = int(KQAPI*)(HANDLE handle);
using KQ_StopMirrorThread_t = int(KQAPI*)(HANDLE handle);
using KQ_SetValidBit_t = int(KQAPI*)(HANDLE handle, int bits);
using KQ_FlashSync_t = int(KQAPI*)(HANDLE handle, int on);
using KQ_IOSet_t = int(KQAPI*)(HANDLE handle, int value);
using KQ_IOGet_t = int(KQAPI*)(HANDLE handle, unsigned char* value);
using KQ_SetAEMaxValue_t = int(KQAPI*)(HANDLE handle, int value);
using KQ_GetAWBVal_t = int(KQAPI*)(HANDLE handle, int* red, int* green, int* blue);
using KQ_ReSetAWBVal_t = int(KQAPI*)(HANDLE handle, int red, int green, int blue);
}  // namespace kqccd
