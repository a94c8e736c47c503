#pragma once
// The library entries the USB CMOS and CCD video-parameter pages call, taken
// from the family's bound table; an entry the loaded library lacks is null
// and never called. Every call takes the device handle first.
#include "KQCMOSu.h"
#include "kq_ccd_interface.h"

struct UsbParamCalls {
    decltype(&::KQ_SetCapInfo) setCapInfo = nullptr;
    decltype(&::KQ_GetCapInfo) getCapInfo = nullptr;
    decltype(&::KQ_SetContrastValue) setContrast = nullptr;
    decltype(&::KQ_GetContrastValue) getContrast = nullptr;
    decltype(&::KQ_SetGamma) setGamma = nullptr;
    decltype(&::KQ_GetGamma) getGamma = nullptr;
    decltype(&::KQ_SetSaturation) setSaturation = nullptr;
    decltype(&::KQ_GetSaturation) getSaturation = nullptr;
    decltype(&::KQ_SetSharpness) setSharpness = nullptr;
    decltype(&::KQ_GetSharpness) getSharpness = nullptr;
    decltype(&::KQ_SetGainR) setGainR = nullptr;
    decltype(&::KQ_SetGainG) setGainG = nullptr;
    decltype(&::KQ_SetGainB) setGainB = nullptr;
    decltype(&::KQ_GetGainR) getGainR = nullptr;
    decltype(&::KQ_GetGainG) getGainG = nullptr;
    decltype(&::KQ_GetGainB) getGainB = nullptr;
    decltype(&::KQ_SetOffCenter) setOffCentre = nullptr;
    decltype(&::KQ_GetOffCenter) getOffCentre = nullptr;
    decltype(&::KQ_SetParamFlip) setFlip = nullptr;
    decltype(&::KQ_SetParamColor) setColour = nullptr;
    decltype(&::KQ_SetAELevel) setAeLevel = nullptr;
    decltype(&::KQ_SetColorAdjust) setColourAdjust = nullptr;
    kqccd::KQ_SetValidBit_t setValidBits = nullptr;
    decltype(&::KQ_EnableLightAvg) enableLightAverage = nullptr;
    decltype(&::KQ_ResetLightAvgTable) resetLightAverage = nullptr;
    decltype(&::KQ_SetHDR) setHdr = nullptr;
    decltype(&::KQ_PixelCalibration) pixelCalibration = nullptr;
    decltype(&::KQ_ApplyErasure) applyErasure = nullptr;
    decltype(&::KQ_ErasureStripe) erasureStripe = nullptr;
};

// The entries of the loaded KQCMOSu, or of the loaded CCD library.
UsbParamCalls CmosParamCalls();
UsbParamCalls CcdParamCalls();
