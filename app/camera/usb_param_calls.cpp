#include "usb_param_calls.h"

#include "camera_sdk_families.h"

namespace {

// The entries both families bind.
template <typename Table>
UsbParamCalls SharedCalls(const Table& kq) {
    UsbParamCalls calls;
    calls.setCapInfo = kq.KQ_SetCapInfo;
    calls.getCapInfo = kq.KQ_GetCapInfo;
    calls.setContrast = kq.KQ_SetContrastValue;
    calls.getContrast = kq.KQ_GetContrastValue;
    calls.setGamma = kq.KQ_SetGamma;
    calls.getGamma = kq.KQ_GetGamma;
    calls.setSaturation = kq.KQ_SetSaturation;
    calls.getSaturation = kq.KQ_GetSaturation;
    calls.setSharpness = kq.KQ_SetSharpness;
    calls.getSharpness = kq.KQ_GetSharpness;
    calls.setFlip = kq.KQ_SetParamFlip;
    calls.setColour = kq.KQ_SetParamColor;
    calls.setAeLevel = kq.KQ_SetAELevel;
    calls.enableLightAverage = kq.KQ_EnableLightAvg;
    calls.resetLightAverage = kq.KQ_ResetLightAvgTable;
    calls.setHdr = kq.KQ_SetHDR;
    return calls;
}

}  // namespace

UsbParamCalls CmosParamCalls() {
    const auto& kq = KQCMOS();
    UsbParamCalls calls = SharedCalls(kq);
    calls.setGainR = kq.KQ_SetGainR;
    calls.setGainG = kq.KQ_SetGainG;
    calls.setGainB = kq.KQ_SetGainB;
    calls.getGainR = kq.KQ_GetGainR;
    calls.getGainG = kq.KQ_GetGainG;
    calls.getGainB = kq.KQ_GetGainB;
    calls.setOffCentre = kq.KQ_SetOffCenter;
    calls.getOffCentre = kq.KQ_GetOffCenter;
    calls.setColourAdjust = kq.KQ_SetColorAdjust;
    calls.pixelCalibration = kq.KQ_PixelCalibration;
    calls.applyErasure = kq.KQ_ApplyErasure;
    calls.erasureStripe = kq.KQ_ErasureStripe;
    return calls;
}

UsbParamCalls CcdParamCalls() {
    const auto& kq = KQCCD();
    UsbParamCalls calls = SharedCalls(kq);
    calls.setValidBits = kq.KQ_SetValidBit;
    return calls;
}
