// A camera that answers every operation with 17 (not supported) and leaves
// every output as it was. Test doubles derive from it and override only
// what their test looks at.
#pragma once

#include <cstdint>

#include "gige_camera.h"

namespace kqge::testing {

class UnsupportedCamera : public IGigECamera {
public:
    static constexpr std::int32_t kUnsupported = 17;

    // FrameSink: frames are dropped.
    void StoreFrame(const DeliveredFrame&) override {}
    bool TriggerOn() const override { return false; }
    bool ContinuousCapture() const override { return false; }
    void StartSnapshot(const DeliveredFrame&) override {}

    std::int32_t InitCamera(std::unique_ptr<kq::PreviewSurface>) override { return kUnsupported; }
    std::int32_t UnInitCamera() override { return kUnsupported; }
    std::int32_t LiveStart() override { return kUnsupported; }
    std::int32_t LiveStop() override { return kUnsupported; }
    std::int32_t ResetCameraPort(std::int32_t, CCameraManager&) override { return kUnsupported; }
    std::int32_t GetCameraPort(std::uint16_t&) const override { return kUnsupported; }
    std::int32_t SetPackageSize(std::int32_t) override { return kUnsupported; }
    std::uint16_t GetPackageSize() const override { return 0; }
    std::int32_t SetPackageDelayTime(std::int32_t) override { return kUnsupported; }
    std::int32_t GetPackageDelayTime(std::int32_t&) override { return kUnsupported; }
    std::int32_t CapFastMode(bool) override { return kUnsupported; }
    std::int32_t SetNewHwnd(std::unique_ptr<kq::PreviewSurface>) override { return kUnsupported; }
    std::int32_t SetVideoWindowPos(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {
        return kUnsupported;
    }
    std::int32_t GetCameraFrameRate(float&) const override { return kUnsupported; }
    std::int32_t GetNICFrameRate(float&) const override { return kUnsupported; }
    std::int32_t GetCameraInfo(std::span<std::uint8_t, kDiscoveryRecordBytes>) const override { return kUnsupported; }
    std::int32_t GetCameraType(std::int32_t&) const override { return kUnsupported; }
    std::int32_t SetExposure(std::uint32_t) override { return kUnsupported; }
    std::int32_t GetExposure(std::int32_t&) override { return kUnsupported; }
    std::int32_t SetGainR(std::uint32_t) override { return kUnsupported; }
    std::int32_t SetGainG(std::uint32_t) override { return kUnsupported; }
    std::int32_t SetGainB(std::uint32_t) override { return kUnsupported; }
    std::int32_t SetGain_A(std::int32_t) override { return kUnsupported; }
    std::int32_t SetResolution(std::uint32_t, std::uint32_t) override { return kUnsupported; }
    std::int32_t SetOffsetH(std::int32_t) override { return kUnsupported; }
    std::int32_t SetOffsetV(std::int32_t) override { return kUnsupported; }
    std::int32_t EnableAE(bool) override { return kUnsupported; }
    std::int32_t EnableAG(bool) override { return kUnsupported; }
    std::int32_t SetFlipMode(std::int32_t) override { return kUnsupported; }
    std::int32_t SetZoomMode(std::int32_t) override { return kUnsupported; }
    std::int32_t SetExpMode(std::int32_t) override { return kUnsupported; }
    std::int32_t SetCapMode(std::int32_t) override { return kUnsupported; }
    std::int32_t SetSpeedMode(std::int32_t) override { return kUnsupported; }
    std::int32_t SetFlashState(bool, bool) override { return kUnsupported; }
    std::int32_t HDR_Enable(std::int32_t) override { return kUnsupported; }
    std::int32_t SetValidBitsOff(std::int32_t) override { return kUnsupported; }
    std::int32_t SetDoAutoCorrection() override { return kUnsupported; }
    std::int32_t SetDoCorrecting(bool) override { return kUnsupported; }
    std::int32_t WriteRegister(std::uint32_t, std::uint32_t) override { return kUnsupported; }
    std::int32_t ReadRegister(std::uint32_t, std::uint32_t&) override { return kUnsupported; }
    std::int32_t SetTriggerMode(std::int32_t) override { return kUnsupported; }
    std::int32_t GetTriggerMode(std::int32_t&) override { return kUnsupported; }
    std::int32_t SetWatchdogState(bool) override { return kUnsupported; }
    std::int32_t GetWatchdogState(std::int32_t&) override { return kUnsupported; }
    std::int32_t SetIO(std::uint32_t, std::uint32_t) override { return kUnsupported; }
    std::int32_t GetIO(std::uint32_t, std::uint32_t&) override { return kUnsupported; }
    std::int32_t SetTriggerDelayTime(std::uint32_t) override { return kUnsupported; }
    std::int32_t SoftTrigger() override { return kUnsupported; }
    std::int32_t SetCameraIP(std::uint32_t, std::uint32_t, std::uint32_t) override { return kUnsupported; }
    std::int32_t IPConfig(bool) override { return kUnsupported; }
    std::int32_t SetDhcpEnable(bool) override { return kUnsupported; }
    std::int32_t SetMacAddr(std::uint32_t) override { return kUnsupported; }
    std::int32_t UpdateDeviceProgram(std::int32_t, const std::filesystem::path&) override { return kUnsupported; }
    std::int32_t SetFrameCallBack(FrameCallback, void*) override { return kUnsupported; }
    std::int32_t SetTriggerState(bool, FrameCallback, void*) override { return kUnsupported; }
    std::int32_t GetFrame(std::uint8_t*) override { return kUnsupported; }
    std::int32_t GetFrameToImage(const std::filesystem::path&, std::int32_t) override { return kUnsupported; }
    std::int32_t SetColorMode(std::int32_t) override { return kUnsupported; }
    std::int32_t SetContrast(std::uint32_t) override { return kUnsupported; }
    std::int32_t SetSaturation(std::int32_t) override { return kUnsupported; }
    std::int32_t GetSaturation(std::int32_t&) const override { return kUnsupported; }
    std::int32_t SetSharpness(std::int32_t) override { return kUnsupported; }
    std::int32_t GetSharpness(std::int32_t&) const override { return kUnsupported; }
    std::int32_t SetDoAE(bool, bool, AutoCallback, void*) override { return kUnsupported; }
    std::int32_t AEParam(bool, std::int32_t) override { return kUnsupported; }
    std::int32_t SetDoAWB(std::int32_t, bool, AutoCallback, void*) override { return kUnsupported; }
    std::int32_t GetAWBVal(std::uint32_t&, std::uint32_t&, std::uint32_t&) const override { return kUnsupported; }
    std::int32_t ReSetAWBVal(std::int32_t, std::int32_t, std::int32_t) override { return kUnsupported; }
    std::int32_t MCResolutionShow(bool) override { return kUnsupported; }
    std::int32_t IsMCResolutionShow(std::int32_t&) const override { return kUnsupported; }
    std::int32_t SetMCResolution(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {
        return kUnsupported;
    }
    std::int32_t GetMCResolution(std::int32_t&, std::int32_t&, std::int32_t&, std::int32_t&) const override {
        return kUnsupported;
    }
    std::int32_t SetCapture(bool, const std::filesystem::path&, bool) override { return kUnsupported; }
    std::int32_t SelectAviCompressor(CompressorChooser&) override { return kUnsupported; }
    std::int32_t SetAviCompressor(std::uint32_t) override { return kUnsupported; }
};

}  // namespace kqge::testing
