// Opening a camera loads its type's bad-pixel and flat-field files from the
// library's table folder (in the DLL the host program's folder).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "bad_pixels.h"
#include "flat_field.h"
#include "sim_fixture.h"
#include "table_file.h"
#include "unique_temp_dir.h"

namespace kq::test {
namespace {

constexpr int kTypeCode = 10;  // VID_F5A1&PID_0A01, a 752 x 480 sensor

class TablesAtOpen : public LibraryTest {
protected:
    void SetUp() override {
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        bus.AddCamera(InstanceId(u"VID_F5A1&PID_0A01"));
    }
    void TearDown() override {
        if (handle_ != 0) library.Uninitialize(handle_);
        std::filesystem::remove_all(dir_);
    }

    // Three bad pixels and a flat field whose gains are all 0 (every pixel
    // it reaches becomes black), under the names of `typeCode`.
    void WriteTables(int typeCode) {
        const std::vector<std::uint8_t> badPixels{10, 0, 20, 0, 30, 0, 40, 0, 50, 0, 60, 0};
        ASSERT_TRUE(kqcmos::WriteWholeFile(dir_ / kqcmos::BadPixelFileName(typeCode), badPixels));
        const kqcmos::FlatFieldTable sized({752, 480});
        const std::vector<std::uint8_t> zeroGains(sized.StoredBytes(), 0);
        ASSERT_TRUE(kqcmos::WriteWholeFile(dir_ / kqcmos::FlatFieldFileName(typeCode), zeroGains));
    }

    void OpenWithFolder(const std::filesystem::path& folder) {
        library.SetTableFolder(folder);
        handle_ = Open(1);
    }

    std::size_t BadPixels() {
        std::size_t count = 0;
        library.WithDevice(handle_, [&](BaseDevice& d) {
            count = d.BadPixelCount();
            return 0;
        });
        return count;
    }

    // The brightest pixel of one grabbed raw frame with the flat field on.
    int BrightestWithFlatField() {
        std::vector<std::uint8_t> buffer(640 * 480);
        int brightest = -1;
        const int rc = library.WithDevice(handle_, [&](BaseDevice& d) {
            d.EnableLightAvg(true);
            return d.GrabFrame(buffer.data(), false, [&](const DeliveredFrame& f) {
                brightest = *std::max_element(f.pixels.begin(), f.pixels.end());
                return status::kSuccess;
            });
        });
        EXPECT_EQ(rc, status::kSuccess);
        return brightest;
    }

    std::filesystem::path dir_ = testing_support::UniqueTempPath("kq_tables_at_open");
    std::uint32_t handle_ = 0;
};

TEST_F(TablesAtOpen, LoadsTheFilesOfItsOwnType) {
    WriteTables(kTypeCode);
    OpenWithFolder(dir_);
    EXPECT_EQ(BadPixels(), 3u);
    EXPECT_EQ(BrightestWithFlatField(), 0) << "the loaded gains of 0 black out the frame";
}

TEST_F(TablesAtOpen, FilesOfAnotherTypeOrAnotherFolderAreNotRead) {
    struct Case {
        const char* name;
        int writtenFor;
        bool folderSet;
    };
    for (const Case& c : {Case{"another type's files", 9, true}, Case{"no table folder", kTypeCode, false}}) {
        SCOPED_TRACE(c.name);
        WriteTables(c.writtenFor);
        OpenWithFolder(c.folderSet ? dir_ : std::filesystem::path{});
        EXPECT_EQ(BadPixels(), 0u);
        EXPECT_GT(BrightestWithFlatField(), 100) << "a unity flat field leaves the frame as it is";
        library.Uninitialize(std::exchange(handle_, 0));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
}

}  // namespace
}  // namespace kq::test
