// Transfers of the data source core: native, memory and file, the pending
// count, image information, layout and palette, all against the frame the
// host served.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "fix32.h"
#include "source_test_fixture.h"

namespace twain {
namespace {

using test::SourceFixture;

std::uint32_t Read32(const std::uint8_t* at) {
    std::uint32_t v = 0;
    std::memcpy(&v, at, 4);
    return v;
}

class Transfers : public SourceFixture {};

TEST_F(Transfers, ThreeNativeTransfersCountDownToStateFive) {
    host.frameCount = 3;
    ReachState(6);
    std::vector<TW_UINT16> counts;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        TW_PENDINGXFERS pending{};
        ASSERT_EQ(Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, &pending), TWRC_SUCCESS);
        EXPECT_EQ(pending.Count, 3 - i);
        TW_IMAGELAYOUT layout{};
        ASSERT_EQ(Call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &layout), TWRC_SUCCESS);
        EXPECT_EQ(layout.FrameNumber, static_cast<TW_UINT32>(i));
        TW_HANDLE dib = NativeTransfer();
        ASSERT_NE(dib, nullptr);
        EXPECT_EQ(source.State(), 7);
        // The DIB is the header and the very frame the device gave.
        const auto& bytes = *memory.Block(dib);
        ASSERT_EQ(bytes.size(), 40 + ImageBytes(host.shape));
        EXPECT_EQ(Read32(&bytes[4]), 40u);
        EXPECT_EQ(Read32(&bytes[8]), 6u);
        EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 40, bytes.end()), host.lastFrame);
        TW_UINT16 count = 0xFFFF;
        ASSERT_EQ(EndTransfer(&count), TWRC_SUCCESS);
        counts.push_back(count);
        memory.Free(dib);
    }
    EXPECT_EQ(counts, (std::vector<TW_UINT16>{2, 1, 0}));
    EXPECT_EQ(source.State(), 5);
    EXPECT_EQ(memory.Live(), 0u);
}

TEST_F(Transfers, EightBitPicturesCarryAGreyPalette) {
    host.shape = ImageShape{10, 3, 8};
    ReachState(6);
    TW_PALETTE8 palette{};
    ASSERT_EQ(Call(DG_IMAGE, DAT_PALETTE8, MSG_GET, &palette), TWRC_SUCCESS);
    EXPECT_EQ(palette.NumColors, 256);
    EXPECT_EQ(palette.PaletteType, TWPA_GRAY);
    EXPECT_EQ(palette.Colors[200].Channel2, 200);
    TW_IMAGEINFO info{};
    ASSERT_EQ(Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
    EXPECT_EQ(info.BitsPerPixel, 8);
    EXPECT_EQ(info.PixelType, TWPT_GRAY);
    TW_HANDLE dib = NativeTransfer();
    const auto& bytes = *memory.Block(dib);
    ASSERT_EQ(bytes.size(), 40 + 1024 + 12u * 3);
    EXPECT_EQ(Read32(&bytes[32]), 256u);
    EXPECT_EQ(bytes[40 + 4 * 77], 77);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 1064, bytes.end()), host.lastFrame);
    ASSERT_EQ(EndTransfer(), TWRC_SUCCESS);

    host.frameCount = 1;
    source.OnCaptureButton();
    TW_SETUPFILEXFER setup{};
    std::strcpy(setup.FileName, "grey.bmp");
    setup.Format = TWFF_BMP;
    ASSERT_EQ(Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup), TWRC_SUCCESS);
    ASSERT_EQ(Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_XFERDONE);
    const auto& file = host.files.at("grey.bmp");
    EXPECT_EQ(Read32(&file[10]), 1078u);
    EXPECT_EQ(Read32(&file[2]), file.size());
    EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 1078, file.end()), host.lastFrame);
    memory.Free(dib);
}

TEST_F(Transfers, InfoLayoutAndDibAgree) {
    host.shape = ImageShape{754, 5, 24};  // not a multiple of 4
    ReachState(6);
    TW_IMAGEINFO info{};
    ASSERT_EQ(Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
    EXPECT_EQ(info.ImageWidth, 754);
    EXPECT_EQ(info.ImageLength, 5);
    EXPECT_EQ(info.BitsPerPixel, 24);
    EXPECT_GT(FromFix32(info.XResolution), 0.0f);
    TW_SETUPMEMXFER setup{};
    ASSERT_EQ(Call(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup), TWRC_SUCCESS);
    EXPECT_EQ(setup.MinBufSize, RowBytes(host.shape));
    EXPECT_EQ(setup.Preferred, ImageBytes(host.shape));
    TW_HANDLE dib = NativeTransfer();
    const auto& bytes = *memory.Block(dib);
    EXPECT_EQ(Read32(&bytes[4]), 754u);
    EXPECT_EQ(Read32(&bytes[8]), 5u);
    EXPECT_EQ(Read32(&bytes[24]), 3937u);
    memory.Free(dib);
}

// Strips of whole rows go into the application's buffer as given, top
// down with red first; the buffer is never replaced.
TEST_F(Transfers, MemoryStripsFillTheCallersBuffer) {
    for (bool asHandle : {false, true}) {
        SCOPED_TRACE(asHandle);
        test::FakeHost h;
        test::TableMemory m;
        CTwainSource s(h, m, SourceStrings{});
        h.shape = ImageShape{5, 7, 24};  // rows of 16 bytes
        TW_IDENTITY identity = s.Identity();
        ASSERT_EQ(s.Entry(&app, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity), TWRC_SUCCESS);
        TW_USERINTERFACE ui{0, 0, nullptr};
        ASSERT_EQ(s.Entry(&app, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);

        std::vector<std::uint8_t> own(50);  // three rows and two bytes
        TW_HANDLE handle = m.Allocate(50);
        std::uint8_t* const given = asHandle ? m.Block(handle)->data() : own.data();
        TW_IMAGEMEMXFER xfer{};
        xfer.Memory = asHandle ? TW_MEMORY{TWMF_APPOWNS | TWMF_HANDLE, 50, handle}
                               : TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, 50, own.data()};
        std::vector<std::uint8_t> assembled;
        std::vector<TW_UINT32> offsets;
        TW_UINT16 rc = TWRC_SUCCESS;
        while (rc == TWRC_SUCCESS) {
            rc = s.Entry(&app, DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &xfer);
            ASSERT_TRUE(rc == TWRC_SUCCESS || rc == TWRC_XFERDONE) << rc;
            EXPECT_EQ(s.State(), 7);
            EXPECT_EQ(+xfer.Memory.TheMem, asHandle ? handle : static_cast<TW_MEMREF>(own.data()));
            EXPECT_EQ(+xfer.Memory.Length, 50u);
            EXPECT_EQ(+xfer.BytesPerRow, 16u);
            EXPECT_EQ(+xfer.Columns, 5u);
            EXPECT_EQ(+xfer.BytesWritten, +xfer.Rows * 16);
            offsets.push_back(+xfer.YOffset);
            assembled.insert(assembled.end(), given, given + (+xfer.BytesWritten));
        }
        EXPECT_EQ(offsets, (std::vector<TW_UINT32>{0, 3, 6}));
        if (asHandle) EXPECT_EQ(m.LockCount(handle), 0);
        // The frame bottom-up, blue first; the strips top-down, red first.
        ASSERT_EQ(assembled.size(), h.lastFrame.size());
        for (std::size_t row = 0; row < 7; ++row) {
            for (std::size_t x = 0; x < 5; ++x) {
                const std::uint8_t* dibPixel = &h.lastFrame[(6 - row) * 16 + 3 * x];
                const std::uint8_t* stripPixel = &assembled[row * 16 + 3 * x];
                EXPECT_EQ(stripPixel[0], dibPixel[2]);
                EXPECT_EQ(stripPixel[1], dibPixel[1]);
                EXPECT_EQ(stripPixel[2], dibPixel[0]);
            }
        }
        // No strip is left: another memory transfer is out of sequence.
        EXPECT_EQ(s.Entry(&app, DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &xfer), TWRC_FAILURE);
        EXPECT_EQ(h.framesGrabbed, 1);
        TW_PENDINGXFERS pending{};
        EXPECT_EQ(s.Entry(&app, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
        EXPECT_EQ(s.State(), 5);
    }
}

TEST_F(Transfers, ABufferSmallerThanARowIsRefusedInState6) {
    host.shape = ImageShape{100, 4, 24};  // rows of 300 bytes
    ReachState(6);
    std::vector<std::uint8_t> small(64, 0xAB);
    TW_IMAGEMEMXFER xfer{};
    xfer.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, 64, small.data()};
    EXPECT_EQ(Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &xfer), TWRC_FAILURE);
    EXPECT_EQ(Status(), TWCC_BADVALUE);
    EXPECT_EQ(source.State(), 6);
    EXPECT_EQ(+xfer.Memory.TheMem, small.data());
    EXPECT_EQ(+xfer.Memory.Length, 64u);
    EXPECT_EQ(small, std::vector<std::uint8_t>(64, 0xAB));
    EXPECT_EQ(host.framesGrabbed, 0);
}

TEST_F(Transfers, EndTransferOutsideStateSevenKeepsTheCount) {
    host.frameCount = 2;
    ReachState(6);
    TW_UINT16 count = 0;
    EXPECT_EQ(EndTransfer(&count), TWRC_FAILURE);
    EXPECT_EQ(Status(), TWCC_SEQERROR);
    EXPECT_EQ(source.PendingTransfers(), 2);
    EXPECT_EQ(source.State(), 6);
}

TEST_F(Transfers, ResetEndsEveryPendingTransfer) {
    host.frameCount = 4;
    ReachState(7);
    TW_PENDINGXFERS pending{9, 0};
    ASSERT_EQ(Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending), TWRC_SUCCESS);
    EXPECT_EQ(pending.Count, 0);
    EXPECT_EQ(source.State(), 5);
    EXPECT_EQ(source.PendingTransfers(), 0);
}

TEST_F(Transfers, FileSetupAnswersWithoutAskingTheUser) {
    ReachState(4);
    TW_SETUPFILEXFER setup{};
    ASSERT_EQ(Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, &setup), TWRC_SUCCESS);
    EXPECT_STREQ(setup.FileName, kDefaultTransferFile);
    EXPECT_EQ(setup.Format, TWFF_BMP);

    struct Row {
        const char* name;
        TW_UINT16 format;
        TW_UINT16 rc;
    };
    const Row rows[] = {
        {"C:\\out\\picture.bmp", TWFF_BMP, TWRC_SUCCESS},
        {"C:\\out\\picture.tif", TWFF_TIFF, TWRC_FAILURE},
        {"", TWFF_BMP, TWRC_FAILURE},
        {"?cannot be made", TWFF_BMP, TWRC_FAILURE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TW_SETUPFILEXFER set{};
        std::strcpy(set.FileName, row.name);
        set.Format = row.format;
        EXPECT_EQ(Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &set), row.rc);
        TW_SETUPFILEXFER now{};
        ASSERT_EQ(Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, &now), TWRC_SUCCESS);
        EXPECT_STREQ(now.FileName, "C:\\out\\picture.bmp");
    }
    TW_SETUPFILEXFER unterminated{};
    std::memset(unterminated.FileName, 'a', sizeof unterminated.FileName);
    unterminated.Format = TWFF_BMP;
    EXPECT_EQ(Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &unterminated), TWRC_FAILURE);

    TW_SETUPFILEXFER fallback{};
    ASSERT_EQ(Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GETDEFAULT, &fallback), TWRC_SUCCESS);
    EXPECT_STREQ(fallback.FileName, kDefaultTransferFile);
    TW_SETUPFILEXFER reset{};
    ASSERT_EQ(Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_RESET, &reset), TWRC_SUCCESS);
    EXPECT_STREQ(reset.FileName, kDefaultTransferFile);
    ASSERT_EQ(Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, &setup), TWRC_SUCCESS);
    EXPECT_STREQ(setup.FileName, kDefaultTransferFile);
    EXPECT_EQ(source.State(), 4);
}

TEST_F(Transfers, AFileThatCannotBeWrittenLeavesStateSix) {
    ReachState(6);
    host.writeSucceeds = false;
    EXPECT_EQ(Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_FAILURE);
    EXPECT_EQ(Status(), TWCC_OPERATIONERROR);
    EXPECT_EQ(source.State(), 6);
    host.writeSucceeds = true;
    EXPECT_EQ(Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_XFERDONE);
    const auto& file = host.files.at(kDefaultTransferFile);
    EXPECT_EQ(Read32(&file[10]), 54u);
    EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 54, file.end()), host.lastFrame);
    EXPECT_EQ(source.State(), 7);
}

TEST_F(Transfers, AFrameThatDoesNotComeFailsTheTransfer) {
    ReachState(6);
    host.grabSucceeds = false;
    TW_HANDLE dib = nullptr;
    EXPECT_EQ(Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &dib), TWRC_FAILURE);
    EXPECT_EQ(Status(), TWCC_OPERATIONERROR);
    EXPECT_EQ(dib, nullptr);
    EXPECT_EQ(source.State(), 6);
    EXPECT_EQ(memory.Live(), 0u);
}

}  // namespace
}  // namespace twain
