// The library keeps its own copy of the driver's wire contract. Every number
// it defines must equal the driver's, checked when this file compiles; the
// model identities that decide how the driver sizes a frame must name the
// same products in both tables.

#include <gtest/gtest.h>

#include <string>

#include "core/capinfo_record.h"
#include "core/device_identification.h"
#include "core/format_block.h"
#include "kqff_protocol.h"
#include "transport/driver_protocol.h"

namespace kq::test {
namespace {

namespace d = kq::driver;

// Control codes.
static_assert(d::ControlCode(9) == kqff::ControlCode(9));
static_assert(d::kStartCapture == kqff::kIoctlStartCapture);
static_assert(d::kStopCapture == kqff::kIoctlStopCapture);
static_assert(d::kSetFormat == kqff::kIoctlSetFormat);
static_assert(d::kGetFormat == kqff::kIoctlGetFormat);
static_assert(d::kSetIo == kqff::kIoctlSetIo);
static_assert(d::kGetIo == kqff::kIoctlGetIo);
static_assert(d::kGetSerial == kqff::kIoctlGetSerial);
static_assert(d::kSetSerial == kqff::kIoctlSetSerial);
static_assert(d::kCommand5 == kqff::kIoctlCommand5);
static_assert(d::kWriteCommand == kqff::kIoctlWriteCommand);
static_assert(d::kSetTiming == kqff::kIoctlSetTiming);
static_assert(d::kWriteData == kqff::kIoctlWriteData);
static_assert(d::kWriteReadData == kqff::kIoctlWriteReadData);
static_assert(d::kTransact == kqff::kIoctlTransact);

// Command codes in byte 0 of the command block.
static_assert(static_cast<std::uint8_t>(d::Command::setFormat) == kqff::command::kSetFormat);
static_assert(static_cast<std::uint8_t>(d::Command::getIo) == kqff::command::kGetIo);
static_assert(static_cast<std::uint8_t>(d::Command::setIo) == kqff::command::kSetIo);
static_assert(static_cast<std::uint8_t>(d::Command::getSerial) == kqff::command::kGetSerial);
static_assert(static_cast<std::uint8_t>(d::Command::setSerial) == kqff::command::kSetSerial);
static_assert(static_cast<std::uint8_t>(d::Command::softwareTrigger) == kqff::command::kSoftwareTrigger);
static_assert(static_cast<std::uint8_t>(d::Command::setTiming) == kqff::command::kSetTiming);
static_assert(static_cast<std::uint8_t>(d::Command::startStreaming) == kqff::command::kStartStreaming);
static_assert(static_cast<std::uint8_t>(d::Command::stopStreaming) == kqff::command::kStopStreaming);

// Sizes.
static_assert(d::kCommandBlockBytes == kqff::kBlockBytes);
static_assert(d::kResponseBlockBytes == kqff::kBlockBytes);
static_assert(d::kResponseAreaBytes == kqff::kResponseAreaBytes);
static_assert(d::kVideoFormatBytes == kqff::kCaptureRecordBytes);
static_assert(kCapInfoBytes == kqff::kCaptureRecordBytes);
static_assert(d::kFormatBlockBytes == kFormatBlockBytes);
static_assert(d::kFormatBlockBytes >= kqff::kCaptureRecordMinInput);
static_assert(d::kVideoFormatBytes >= kqff::kCaptureRecordMinInput);
static_assert(d::kSetIoInputBytes == kqff::kSetIoInputBytes);
static_assert(d::kSerialBytes == kqff::block::kSerialBytes);
static_assert(d::kSetTimingInputBytes == kqff::kSetTimingInputBytes);
static_assert(d::kRawTransferMaxBytes == kqff::kRawTransferMaxInput);
static_assert(d::kResponseBlockBytes == kqff::kTransactMaxOutput);
static_assert(d::kFrameTrailerBytes == kqff::kTrailerBytes);
static_assert(d::kFrameBufferBytes == kqff::kFrameBufferBytes);

// Command block offsets.
static_assert(d::command_block::code == kqff::block::kCommand);
static_assert(d::command_block::readoutMode == kqff::block::kReadoutMode);
static_assert(d::command_block::width == kqff::block::kWidth);
static_assert(d::command_block::height == kqff::block::kHeight);
static_assert(d::command_block::columnStart == kqff::block::kColumnStart);
static_assert(d::command_block::rowStart == kqff::block::kRowStart);
static_assert(d::command_block::exposure == kqff::block::kExposure);
static_assert(d::command_block::gains == kqff::block::kGains);
static_assert(d::command_block::control == kqff::block::kControl);
static_assert(d::command_block::ioBytes == kqff::block::kIo);
static_assert(d::command_block::timingSelector == kqff::block::kTimingSelector);
static_assert(d::command_block::timingValue == kqff::block::kTimingValue);
static_assert(d::command_block::serial == kqff::block::kSerial);

// Response block offsets.
static_assert(d::response_block::ioValue == kqff::response::kIoValue);
static_assert(d::response_block::serial == kqff::response::kSerial);

// Model identities.
static_assert(kMakerVendorId == kqff::kMakerVendorIds[0]);
static_assert(kMakerSecondVendorId == kqff::kMakerVendorIds[1]);
static_assert(std::size(kqff::kMakerVendorIds) == 2);
static_assert(kQuessaColorProductId == kqff::kTableProductIds[0]);
static_assert(kQuessaMonoProductId == kqff::kTableProductIds[1]);
static_assert(kZundraProductId == kqff::kTableProductIds[2]);
static_assert(std::size(kqff::kTableProductIds) == 3);

std::u16string Hex4(std::uint16_t v) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string out;
    for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(v >> shift) & 0xF];
    return out;
}

// The products whose frames the driver sizes by its width table on the
// maker's vendor id are cameras the library knows, colour and monochrome as
// their names say.
TEST(ProtocolAgreement, DriverTableProductsAreKnownModels) {
    struct Case {
        std::uint16_t productId;
        std::int32_t colorType;
    };
    const Case cases[] = {
        {kqff::kTableProductIds[0], 0},  // Quessa colour
        {kqff::kTableProductIds[1], 1},  // Quessa mono
        {kqff::kTableProductIds[2], 0},  // Zundra
    };
    for (const Case& c : cases) {
        const std::u16string id = u"USB\\VID_" + Hex4(kqff::kMakerVendorIds[0]) + u"&PID_" +
                                  Hex4(c.productId) + u"\\SN1";
        const DeviceIdentity identity = IdentifyInstanceId(id);
        EXPECT_NE(identity.typeCode, 0) << "product " << c.productId;
        EXPECT_EQ(identity.colorType, c.colorType) << "product " << c.productId;
    }
}

// Every model pattern names a vendor the driver knows as the maker's, or one
// of the outside vendors whose cameras always use the width table.
TEST(ProtocolAgreement, TypeTableVendorsAreMakerOrOutside) {
    int maker = 0;
    for (const TypePattern& entry : DeviceTypeTable()) {
        const std::u16string_view vid = entry.pattern.substr(4, 4);
        for (std::uint16_t v : kqff::kMakerVendorIds) maker += vid == Hex4(v) ? 1 : 0;
    }
    // All but the three outside-vendor patterns and the test camera.
    EXPECT_EQ(maker, static_cast<int>(DeviceTypeTable().size()) - 4);
}

}  // namespace
}  // namespace kq::test
