// Device control codes: the bytes each one sends and returns, and its status.
#include <gtest/gtest.h>

#include <thread>

#include "host_device.h"
#include "sim_camera.h"
#include "test_support.h"

namespace kqff {
namespace {

using test::Call;
using test::CaptureRecord;

class ControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        device->Open();
        camera.ClearCommandLog();
    }

    sim::Block LastBlock() {
        const auto log = camera.CommandLog();
        EXPECT_FALSE(log.empty());
        return log.empty() ? sim::Block{} : log.back();
    }

    sim::SimCamera camera;
    host::HostDevice device{camera};
};

TEST_F(ControlTest, OpenSetsDefaultsInFormatAndBlock) {
    const auto reply = Call(device.device(), kIoctlGetFormat, {}, 36);
    ASSERT_EQ(reply.result.status, kStatusSuccess);
    EXPECT_EQ(reply.result.information, 36u);
    const std::vector<std::uint8_t> expected = [] {
        test::Format f;
        f.width = 2048;
        f.height = 1536;
        f.exposure = 50;
        f.gains[0] = f.gains[1] = f.gains[2] = 30;
        return CaptureRecord(f);
    }();
    EXPECT_EQ(reply.output, expected);  // bytes 0-3 and 28-35 zero, not left as they were

    ASSERT_EQ(Call(device.device(), kIoctlCommand5).result.status, kStatusSuccess);
    const sim::Block b = LastBlock();
    const sim::Block want = {5, 0, 0, 0, 0x00, 0x08, 0x00, 0x06, 0, 0, 0, 0, 50, 0, 30, 30, 30, 0};
    EXPECT_EQ(b, want);
}

TEST_F(ControlTest, OpenKeepsModeIoTimingButResetsTheFormat) {
    ASSERT_EQ(test::SetFormat(device.device(), 1360, 512).status, kStatusSuccess);  // mode 2
    ASSERT_EQ(Call(device.device(), kIoctlSetIo, {0, 0x5A, 0xA5}).result.status, kStatusSuccess);
    ASSERT_EQ(Call(device.device(), kIoctlSetTiming, {2, 10, 0, 0, 0}).result.status, kStatusSuccess);
    device->Open();
    Call(device.device(), kIoctlCommand5);
    const sim::Block b = LastBlock();
    EXPECT_EQ(b[block::kReadoutMode], 2);
    EXPECT_EQ(vz::GetLE16(b, block::kWidth), 2048);
    EXPECT_EQ(b[block::kIo], 0x5A);
    EXPECT_EQ(b[block::kIo + 1], 0xA5);
    EXPECT_EQ(b[block::kTimingSelector], 2);
    EXPECT_EQ(vz::GetLE32(b, block::kTimingValue), 10u * 48000 + 0x7FFF00);
}

TEST_F(ControlTest, SetFormatStoresSendsAndReportsTheRecord) {
    test::Format f;
    f.width = 1360;
    f.height = 1024;
    f.columnStart = 0x10020;  // 32-bit in the record, 16-bit on the wire
    f.rowStart = 7;
    f.exposure = 1234;
    f.gains[0] = 1;
    f.gains[1] = 2;
    f.gains[2] = 3;
    f.control = 0x81;
    // The SDK sends a 52-byte block; the driver reads the first 28 bytes of it.
    auto record = CaptureRecord(f, 52);
    record[40] = 0xEE;
    const auto reply = Call(device.device(), kIoctlSetFormat, record, 0);
    ASSERT_EQ(reply.result.status, kStatusSuccess);
    EXPECT_EQ(reply.result.information, 0u);

    const sim::Block b = LastBlock();
    EXPECT_EQ(b[block::kCommand], command::kSetFormat);
    EXPECT_EQ(b[block::kReadoutMode], 1);
    EXPECT_EQ(vz::GetLE16(b, block::kWidth), 1360);
    EXPECT_EQ(vz::GetLE16(b, block::kHeight), 1024);
    EXPECT_EQ(vz::GetLE16(b, block::kColumnStart), 0x0020);
    EXPECT_EQ(vz::GetLE16(b, block::kRowStart), 7);
    EXPECT_EQ(vz::GetLE16(b, block::kExposure), 1234);
    EXPECT_EQ(b[14], 1);
    EXPECT_EQ(b[16], 3);
    EXPECT_EQ(b[block::kControl], 0x81);

    const FrameGeometry g = device->Diagnostics().formatGeometry;
    EXPECT_EQ(g.frameBytes, 2785280u);
    EXPECT_EQ(g.chunksPerFrame, 6u);
    EXPECT_EQ(g.lastChunkBytes, 163840u);

    const auto back = Call(device.device(), kIoctlGetFormat, {}, 40);
    EXPECT_EQ(back.result.information, 36u);
    EXPECT_EQ(std::vector<std::uint8_t>(back.output.begin(), back.output.begin() + 36), CaptureRecord(f));
    EXPECT_EQ(back.output[36], 0);  // nothing of the system buffer leaks past the record
}

TEST_F(ControlTest, SetFormatKeepsModeOrGeometryWhereTheTableSaysSo) {
    ASSERT_EQ(test::SetFormat(device.device(), 1360, 256).status, kStatusSuccess);
    EXPECT_EQ(LastBlock()[block::kReadoutMode], 4);
    ASSERT_EQ(test::SetFormat(device.device(), 576, 100).status, kStatusSuccess);
    EXPECT_EQ(LastBlock()[block::kReadoutMode], 4);
    EXPECT_EQ(device->Diagnostics().formatGeometry.frameBytes, 576u * 100 * 2);
    ASSERT_EQ(test::SetFormat(device.device(), 700, 500).status, kStatusSuccess);
    EXPECT_EQ(LastBlock()[block::kReadoutMode], 1);
    EXPECT_EQ(device->Diagnostics().formatGeometry.frameBytes, 576u * 100 * 2);
}

TEST_F(ControlTest, SetFormatRefusesFramesLargerThanABuffer) {
    host::HostDevice maker(camera, kMakerVendorIds[0], 0x0999);
    maker->Open();
    ASSERT_EQ(test::SetFormat(maker.device(), 3072, 3072).status, kStatusSuccess);  // exactly 9437184
    camera.ClearCommandLog();
    EXPECT_EQ(test::SetFormat(maker.device(), 4000, 3000).status, kStatusInvalidParameter);
    EXPECT_EQ(test::SetFormat(maker.device(), 65536, 65536).status, kStatusInvalidParameter);
    EXPECT_TRUE(camera.CommandLog().empty());
    EXPECT_EQ(maker->Diagnostics().formatGeometry.frameBytes, 3072u * 3072);
    const auto format = Call(maker.device(), kIoctlGetFormat, {}, 36);
    EXPECT_EQ(vz::GetLE32(format.output, record::kWidth), 3072u);
}

TEST_F(ControlTest, RequestsShorterThanTheirLayoutAreRefusedBeforeAnythingIsSent) {
    struct Case {
        std::uint32_t code;
        std::size_t input;
        std::size_t output;
        NtStatus status;
    };
    const Case cases[] = {
        {kIoctlSetFormat, 27, 0, kStatusInvalidParameter}, {kIoctlSetIo, 1, 0, kStatusInvalidParameter},
        {kIoctlSetIo, 2, 0, kStatusInvalidParameter},      {kIoctlSetSerial, 15, 0, kStatusInvalidParameter},
        {kIoctlSetTiming, 4, 0, kStatusInvalidParameter},  {kIoctlGetFormat, 0, 35, kStatusBufferTooSmall},
        {kIoctlGetIo, 0, 0, kStatusBufferTooSmall},        {kIoctlGetSerial, 0, 15, kStatusBufferTooSmall},
    };
    for (const Case& c : cases) {
        const auto reply = Call(device.device(), c.code, std::vector<std::uint8_t>(c.input, 1), c.output);
        EXPECT_EQ(reply.result.status, c.status) << std::hex << c.code;
        EXPECT_EQ(reply.result.information, 0u);
    }
    EXPECT_TRUE(camera.CommandLog().empty());
}

TEST_F(ControlTest, SetIoUsesBytesOneAndTwoAndLaterCommandsCarryThem) {
    ASSERT_EQ(Call(device.device(), kIoctlSetIo, {0xFF, 0x12, 0x34}).result.status, kStatusSuccess);
    sim::Block b = LastBlock();
    EXPECT_EQ(b[block::kCommand], command::kSetIo);
    EXPECT_EQ(b[block::kIo], 0x12);
    EXPECT_EQ(b[block::kIo + 1], 0x34);
    test::SetFormat(device.device(), 640, 480);
    b = LastBlock();
    EXPECT_EQ(b[block::kIo], 0x12);
    EXPECT_EQ(b[block::kIo + 1], 0x34);
}

TEST_F(ControlTest, GetIoAndGetSerialReturnTheCamerasAnswer) {
    camera.SetIoInput(0x6B);
    const auto io = Call(device.device(), kIoctlGetIo, {}, 4);
    ASSERT_EQ(io.result.status, kStatusSuccess);
    EXPECT_EQ(io.result.information, 1u);
    EXPECT_EQ(io.output, (std::vector<std::uint8_t>{0x6B, 0, 0, 0}));
    EXPECT_EQ(LastBlock()[block::kCommand], command::kGetIo);

    std::array<std::uint8_t, 16> serial;
    for (int i = 0; i < 16; ++i) serial[i] = static_cast<std::uint8_t>(0xA0 + i);
    camera.SetSerial(serial);
    const auto got = Call(device.device(), kIoctlGetSerial, {}, 16);
    ASSERT_EQ(got.result.status, kStatusSuccess);
    EXPECT_EQ(got.result.information, 16u);
    EXPECT_TRUE(std::equal(serial.begin(), serial.end(), got.output.begin()));
}

TEST_F(ControlTest, FailedTransfersAreReportedAndLeaveNoStaleBytes) {
    camera.SetIoInput(0x11);
    ASSERT_EQ(Call(device.device(), kIoctlGetIo, {}, 1).output[0], 0x11);
    camera.SetIoInput(0x22);

    camera.FailResponseReads(2, kStatusUnsuccessful);
    auto reply = Call(device.device(), kIoctlGetIo, {}, 1);
    EXPECT_EQ(reply.result.status, kStatusUnsuccessful);
    EXPECT_EQ(reply.result.information, 0u);
    EXPECT_EQ(reply.output[0], 0);  // not the previous answer 0x11

    camera.FailCommandSends(2, kStatusDeviceNotConnected);
    reply = Call(device.device(), kIoctlGetSerial, {}, 16);
    EXPECT_EQ(reply.result.status, kStatusDeviceNotConnected);
    EXPECT_EQ(reply.output, std::vector<std::uint8_t>(16, 0));

    camera.FailCommandSends(2, kStatusDeviceNotConnected);
    EXPECT_EQ(test::SetFormat(device.device(), 640, 480).status, kStatusDeviceNotConnected);
    camera.FailCommandSends(2, kStatusDeviceNotConnected);
    EXPECT_EQ(Call(device.device(), kIoctlCommand5).result.status, kStatusDeviceNotConnected);
}

TEST_F(ControlTest, OneFailedSendIsRetried) {
    camera.FailCommandSends(1);
    EXPECT_EQ(Call(device.device(), kIoctlCommand5).result.status, kStatusSuccess);
    EXPECT_EQ(camera.CommandLog().size(), 1u);
    camera.SetIoInput(0x33);
    camera.FailResponseReads(1);
    const auto reply = Call(device.device(), kIoctlGetIo, {}, 1);
    EXPECT_EQ(reply.result.status, kStatusSuccess);
    EXPECT_EQ(reply.output[0], 0x33);
}

TEST_F(ControlTest, WithoutResponsePipeReadsFail) {
    camera.SetHasResponsePipe(false);
    const auto reply = Call(device.device(), kIoctlGetIo, {}, 1);
    EXPECT_EQ(reply.result.status, kStatusUnsuccessful);
    EXPECT_EQ(camera.CommandLog().size(), 1u);  // the command still went out
}

TEST_F(ControlTest, SetSerialOverlaysTheBlockAndSendsTheSerialWhole) {
    Call(device.device(), kIoctlSetFormat, CaptureRecord({.width = 640, .height = 480, .control = 0x55}));
    std::vector<std::uint8_t> serial(16);
    for (int i = 0; i < 16; ++i) serial[i] = static_cast<std::uint8_t>(0x40 + i);
    const auto reply = Call(device.device(), kIoctlSetSerial, serial);
    ASSERT_EQ(reply.result.status, kStatusSuccess);
    EXPECT_EQ(reply.result.information, 16u);
    const sim::Block b = LastBlock();
    EXPECT_EQ(b[block::kCommand], command::kSetSerial);
    EXPECT_TRUE(std::equal(serial.begin(), serial.end(), b.begin() + block::kSerial));  // byte 17 = serial[11]
    EXPECT_EQ(vz::GetLE16(b, block::kWidth), 640);  // offsets 4-5 untouched by command 4
}

TEST_F(ControlTest, SetTimingBoundsSelectorAndScalesTime) {
    struct Case {
        std::uint8_t selector;
        std::uint32_t time;
        std::uint8_t sentSelector;
        std::uint32_t sentValue;
    };
    for (const Case& c : {Case{7, 2999, 3, 152340352}, Case{1, 3000, 1, 8388352}, Case{0, 100000, 0, 8388352}}) {
        std::vector<std::uint8_t> in(5);
        in[0] = c.selector;
        vz::PutLE32(in, 1, c.time);
        const auto reply = Call(device.device(), kIoctlSetTiming, in);
        ASSERT_EQ(reply.result.status, kStatusSuccess);
        EXPECT_EQ(reply.result.information, 5u);
        const sim::Block b = LastBlock();
        EXPECT_EQ(b[block::kCommand], command::kSetTiming);
        EXPECT_EQ(b[block::kTimingSelector], c.sentSelector);
        EXPECT_EQ(vz::GetLE32(b, block::kTimingValue), c.sentValue);
    }
}

TEST_F(ControlTest, RawWritesSendTheCallersBytesZeroPadded) {
    Call(device.device(), kIoctlCommand5);
    const sim::Block before = LastBlock();
    for (std::uint32_t code : {kIoctlWriteCommand, kIoctlWriteData, kIoctlWriteBlock}) {
        const std::vector<std::uint8_t> in = {0x2C, 0, 8, 1, 0xAB};
        const auto reply = Call(device.device(), code, in, 0);
        ASSERT_EQ(reply.result.status, kStatusSuccess);
        EXPECT_EQ(reply.result.information, 5u);
        sim::Block want{};
        std::copy(in.begin(), in.end(), want.begin());
        EXPECT_EQ(LastBlock(), want);
    }
    // The command block is not involved: the next command is as before.
    Call(device.device(), kIoctlCommand5);
    EXPECT_EQ(LastBlock(), before);
}

TEST_F(ControlTest, RawRequestsRefuseMoreThanABlock) {
    const std::vector<std::uint8_t> tooLong(65, 1);
    EXPECT_EQ(Call(device.device(), kIoctlWriteCommand, tooLong).result.status, kStatusInvalidParameter);
    EXPECT_EQ(Call(device.device(), kIoctlWriteBlock, tooLong).result.status, kStatusInvalidParameter);
    EXPECT_EQ(Call(device.device(), kIoctlTransact, tooLong, 64).result.status, kStatusInvalidParameter);
    EXPECT_EQ(Call(device.device(), kIoctlTransact, {1}, 65).result.status, kStatusInvalidParameter);
    EXPECT_EQ(Call(device.device(), kIoctlWriteData, tooLong).result.status, kStatusBufferTooSmall);
    EXPECT_EQ(Call(device.device(), kIoctlWriteReadData, tooLong, 64).result.status, kStatusBufferTooSmall);
    EXPECT_TRUE(camera.CommandLog().empty());
}

TEST_F(ControlTest, WriteReadDataReturnsAtMost128BytesUpperHalfZero) {
    const std::vector<std::uint8_t> in = {0x0A, 1, 2, 3, 4, 5};
    const auto reply = Call(device.device(), kIoctlWriteReadData, in, 256);
    ASSERT_EQ(reply.result.status, kStatusSuccess);
    EXPECT_EQ(reply.result.information, 128u);
    std::vector<std::uint8_t> want(256, 0);
    std::copy(in.begin(), in.end(), want.begin());    // the simulated camera echoes data requests
    std::fill(want.begin() + 128, want.end(), 0xCC);  // beyond the count: untouched
    EXPECT_EQ(reply.output, want);
}

TEST_F(ControlTest, TransactReadsOnlyAfterASuccessfulSend) {
    std::vector<std::uint8_t> in(64);
    for (int i = 0; i < 64; ++i) in[i] = static_cast<std::uint8_t>(0x30 + i);
    auto reply = Call(device.device(), kIoctlTransact, in, 64);
    ASSERT_EQ(reply.result.status, kStatusSuccess);
    EXPECT_EQ(reply.result.information, 64u);
    EXPECT_EQ(reply.output, in);

    camera.FailCommandSends(2, kStatusDeviceNotConnected);
    camera.FailResponseReads(1);  // would be consumed if the read ran
    reply = Call(device.device(), kIoctlTransact, {0x31}, 64);
    EXPECT_EQ(reply.result.status, kStatusDeviceNotConnected);
    EXPECT_EQ(reply.result.information, 0u);
    camera.FailResponseReads(2, kStatusUnsuccessful);
    reply = Call(device.device(), kIoctlTransact, {0x32}, 64);
    EXPECT_EQ(reply.result.status, kStatusUnsuccessful);  // the two failures were still there
}

TEST_F(ControlTest, InputAndOutputMayShareOneBuffer) {
    // METHOD_BUFFERED: the system buffer holds the input and receives the output.
    std::vector<std::uint8_t> shared(64);
    for (int i = 0; i < 64; ++i) shared[i] = static_cast<std::uint8_t>(0x20 + i);  // byte 0: a data request
    const std::vector<std::uint8_t> sent = shared;
    const RequestResult r = device->Control(kIoctlTransact, shared, shared);
    ASSERT_EQ(r.status, kStatusSuccess);
    EXPECT_EQ(LastBlock(), [&] {
        sim::Block b;
        std::copy(sent.begin(), sent.end(), b.begin());
        return b;
    }());
    EXPECT_EQ(shared, sent);

    std::vector<std::uint8_t> format = CaptureRecord({.width = 640, .height = 480, .exposure = 9});
    ASSERT_EQ(device->Control(kIoctlSetFormat, format, format).status, kStatusSuccess);
    EXPECT_EQ(vz::GetLE16(LastBlock(), block::kExposure), 9);
}

TEST_F(ControlTest, WriteOnlyCodesHandBackZerosAndNeverMoreThanTheOutput) {
    const auto reply = Call(device.device(), kIoctlSetSerial, std::vector<std::uint8_t>(16, 0x77), 4);
    EXPECT_EQ(reply.result.status, kStatusSuccess);
    EXPECT_EQ(reply.result.information, 4u);
    EXPECT_EQ(reply.output, std::vector<std::uint8_t>(4, 0));
    const auto raw = Call(device.device(), kIoctlWriteCommand, std::vector<std::uint8_t>(64, 0x2C), 64);
    EXPECT_EQ(raw.result.information, 64u);
    EXPECT_EQ(raw.output, std::vector<std::uint8_t>(64, 0));  // not the caller's own input echoed back
}

TEST_F(ControlTest, UnknownCodesAreRefused) {
    for (std::uint32_t code : {ControlCode(9), ControlCode(16), 0x22E001u, 0u}) {
        const auto reply = Call(device.device(), code, {1, 2, 3}, 8);
        EXPECT_EQ(reply.result.status, kStatusInvalidDeviceRequest);
        EXPECT_EQ(reply.result.information, 0u);
        EXPECT_EQ(reply.output, std::vector<std::uint8_t>(8, 0));
    }
    EXPECT_TRUE(camera.CommandLog().empty());
}

TEST_F(ControlTest, ConcurrentTransactionsEachGetTheirOwnAnswer) {
    // The send and the response read of one request must not interleave with
    // another request's: the camera answers the last request it saw.
    constexpr int kThreads = 4;
    constexpr int kRounds = 200;
    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kRounds; ++i) {
                std::vector<std::uint8_t> in(64, static_cast<std::uint8_t>(0x80 + t));
                in[1] = static_cast<std::uint8_t>(i);
                std::vector<std::uint8_t> out(64);
                const RequestResult r = device->Control(kIoctlTransact, in, out);
                if (r.status != kStatusSuccess || out != in) ++mismatches;
                if (i % 16 == 0) Call(device.device(), kIoctlSetIo, {0, static_cast<std::uint8_t>(t), 0});
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
}  // namespace kqff
