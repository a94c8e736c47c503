// A save that fails part-way (the disk full after some bytes, a writer that
// cannot create its file, a target that cannot be replaced) leaves the
// earlier file of that name byte for byte and no partial file beside it.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "replace_file.h"
#include "unique_temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class ReplaceFile : public testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        Put(target_, earlier_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Only the target is left in the folder.
    void ExpectOnlyTarget() {
        std::vector<fs::path> names;
        for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename());
        EXPECT_EQ(names, std::vector<fs::path>{target_.filename()});
    }

    fs::path dir_ = testing_support::UniqueTempPath("vz_replace_file");
    fs::path target_ = dir_ / "picture.bmp";
    std::vector<std::uint8_t> earlier_ = std::vector<std::uint8_t>(4096, 0x5A);
};

TEST_F(ReplaceFile, AFailedWriteLeavesTheEarlierFileWholeAndNoPartialFile) {
    struct Case {
        const char* what;
        bool createsFile;
        std::size_t bytesBeforeFailure;
    };
    const Case cases[] = {
        {"the file cannot be created", false, 0},
        {"the disk fills at once", true, 0},
        {"the disk fills part-way", true, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const vz::Replaced result = vz::WriteThenReplace(target_, [&](const fs::path& partial) {
            if (c.createsFile) Put(partial, std::vector<std::uint8_t>(c.bytesBeforeFailure, 0x11));
            return false;
        });
        EXPECT_EQ(result, vz::Replaced::notWritten);
        EXPECT_EQ(Bytes(target_), earlier_);
        ExpectOnlyTarget();
    }
}

TEST_F(ReplaceFile, AWholeWriteReplacesTheFileAndATargetThatCannotBeReplacedIsReported) {
    const std::vector<std::uint8_t> later(10000, 0xA5);
    EXPECT_EQ(vz::WriteWholeFile(target_, later), vz::Replaced::ok);
    EXPECT_EQ(Bytes(target_), later);
    ExpectOnlyTarget();

    // A folder of that name cannot be replaced by a file.
    const fs::path folder = dir_ / "taken";
    fs::create_directories(folder / "inside");
    EXPECT_EQ(vz::WriteWholeFile(folder, later), vz::Replaced::notMoved);
    EXPECT_TRUE(fs::is_directory(folder / "inside"));
    EXPECT_FALSE(fs::exists(vz::PartialFileOf(folder)));
}

TEST_F(ReplaceFile, AWriteIntoAMissingFolderFailsWithoutCreatingIt) {
    EXPECT_EQ(vz::WriteWholeFile(dir_ / "missing" / "picture.bmp", earlier_), vz::Replaced::notWritten);
    EXPECT_FALSE(fs::exists(dir_ / "missing"));
}

}  // namespace
