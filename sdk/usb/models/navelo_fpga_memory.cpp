// The FPGA family's camera memories and timing through request blocks: the
// serial number, the 40-byte EEPROM area with its cache, the trigger delay
// and source time, and the software trigger.

#include <algorithm>

#include "kqff_protocol.h"
#include "navelo_fpga.h"

namespace kq {
namespace {

using fpga::Subcommand;

// t x factor in 64 bits, limited to what the 32-bit field holds.
std::uint32_t ScaledTime(std::int32_t t, std::int64_t factor) {
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(std::int64_t{t} * factor, 0, UINT32_MAX));
}

bool InArea(std::int32_t offset, std::int32_t count) {
    return offset >= 0 && count >= 0 && std::int64_t{offset} + count <= static_cast<std::int64_t>(fpga::kEepromBytes);
}

}  // namespace

int CKQNavelo_FPGA::SendRequest(const fpga::Request& request) {
    if (Gone()) return status::kNoDevice;
    CapturePause pause(*this);
    return Control(kqff::kIoctlWriteCommand, request, {}) ? status::kSuccess : status::kNoDevice;
}

int CKQNavelo_FPGA::ReadArea(std::array<std::uint8_t, fpga::kEepromBytes>& area) {
    fpga::Request reply{};
    const auto got = Control(kqff::kIoctlTransact, fpga::PlainRequest(Subcommand::eepromRead), reply);
    if (!got) return status::kNoDevice;
    const auto decoded = fpga::DecodeEepromReply(std::span(reply).first(std::min(*got, reply.size())));
    if (!decoded) return status::kNoDevice;
    area = *decoded;
    return status::kSuccess;
}

int CKQNavelo_FPGA::SoftTrigger() {
    if (Gone()) return status::kNoDevice;
    return Control(kqff::kIoctlCommand5, {}, {}) ? status::kSuccess : status::kNoDevice;
}

int CKQNavelo_FPGA::SetTriggerDelayTime(std::int32_t delay) {
    return SendRequest(fpga::ValueRequest(Subcommand::triggerDelay, ScaledTime(delay, 48000)));
}

int CKQNavelo_FPGA::SetTriggerSourceTime(std::int32_t time) {
    return SendRequest(fpga::ValueRequest(Subcommand::sourceTime, ScaledTime(time, 24000)));
}

int CKQNavelo_FPGA::GetSerialNumber(std::span<std::uint8_t, 16> out) {
    if (Gone()) return status::kNoDevice;
    fpga::Request reply{};
    std::optional<std::size_t> got;
    {
        CapturePause pause(*this);
        got = Control(kqff::kIoctlTransact, fpga::PlainRequest(Subcommand::serial), reply);
    }
    if (!got) return status::kNoDevice;
    const auto serial = fpga::DecodeSerialReply(std::span(reply).first(std::min(*got, reply.size())));
    if (!serial) return status::kNoDevice;
    std::copy(serial->begin(), serial->end(), out.begin());
    return status::kSuccess;
}

int CKQNavelo_FPGA::EEProm_Set(std::span<const std::uint8_t, 240> source) {
    const auto area = source.first<fpga::kEepromBytes>();
    if (const int rc = SendRequest(fpga::EepromWriteRequest(area)); rc != status::kSuccess) {
        eepromCurrent_ = false;  // the camera may hold part of it
        return rc;
    }
    std::copy(area.begin(), area.end(), eepromArea_.begin());
    eepromCurrent_ = true;
    Pause(std::chrono::milliseconds(1100));  // the camera stores the area meanwhile
    return status::kSuccess;
}

int CKQNavelo_FPGA::EEProm_Get(std::span<std::uint8_t, 240> destination) {
    if (!eepromCurrent_) {
        if (Gone()) return status::kNoDevice;
        CapturePause pause(*this);
        if (const int rc = ReadArea(eepromArea_); rc != status::kSuccess) return rc;
        eepromCurrent_ = true;
    }
    std::copy(eepromArea_.begin(), eepromArea_.end(), destination.begin());
    return status::kSuccess;
}

int CKQNavelo_FPGA::EEProm_SetByte(std::int32_t offset, std::int32_t count, const std::uint8_t* source) {
    if (!InArea(offset, count) || offset >= static_cast<std::int32_t>(fpga::kEepromBytes)) {
        return status::kNotSupported;
    }
    if (count > 0 && source == nullptr) return status::kRefused;
    if (Gone()) return status::kNoDevice;
    std::array<std::uint8_t, fpga::kEepromBytes> area = eepromArea_;
    {
        CapturePause pause(*this);
        // The rest of the area must be known before it is rewritten.
        if (!eepromCurrent_) {
            if (const int rc = ReadArea(area); rc != status::kSuccess) return rc;
        }
        std::copy_n(source, count, area.begin() + offset);
        if (!Control(kqff::kIoctlWriteCommand, fpga::EepromWriteRequest(area), {})) {
            eepromCurrent_ = false;
            return status::kNoDevice;
        }
    }
    eepromArea_ = area;
    eepromCurrent_ = true;
    Pause(std::chrono::milliseconds(1500));  // the camera stores the area meanwhile
    return status::kSuccess;
}

int CKQNavelo_FPGA::EEProm_GetByte(std::int32_t offset, std::int32_t count, std::uint8_t* destination) {
    // Checked whether or not the cache is current.
    if (!InArea(offset, count)) return status::kNotSupported;
    if (count > 0 && destination == nullptr) return status::kRefused;
    if (!eepromCurrent_) {
        if (Gone()) return status::kNoDevice;
        CapturePause pause(*this);
        if (const int rc = ReadArea(eepromArea_); rc != status::kSuccess) return rc;
        eepromCurrent_ = true;
    }
    std::copy_n(eepromArea_.begin() + offset, count, destination);
    return status::kSuccess;
}

int CKQNavelo_FPGA::EEProm_Set_Test(std::uint8_t* source) {
    if (source == nullptr) return status::kRefused;
    if (Gone()) return status::kNoDevice;
    // Only a running preview stops: the test requests leave fast mode alone.
    const bool running = streaming_;
    if (running) StopCapture();
    const auto area = std::span<const std::uint8_t, fpga::kEepromBytes>(source, fpga::kEepromBytes);
    const bool sent = Control(kqff::kIoctlWriteCommand, fpga::EepromWriteRequest(area), {}).has_value();
    if (running) StartCapture();
    return sent ? status::kSuccess : status::kNoDevice;
}

int CKQNavelo_FPGA::EEProm_Get_Test(std::uint8_t* destination) {
    if (destination == nullptr) return status::kRefused;
    if (Gone()) return status::kNoDevice;
    const bool running = streaming_;
    if (running) StopCapture();
    std::array<std::uint8_t, fpga::kEepromBytes> area{};
    const int rc = ReadArea(area);
    if (running) StartCapture();
    if (rc != status::kSuccess) return rc;
    std::copy(area.begin(), area.end(), destination);
    return status::kSuccess;
}

}  // namespace kq
