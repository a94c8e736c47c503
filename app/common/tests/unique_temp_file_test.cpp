#include <gtest/gtest.h>

#include <fstream>

#include "unique_temp_dir.h"
#include "unique_temp_file.h"

namespace {

TEST(UniqueTempFile, NamesANewFileInItsFolderAndRemovesIt) {
    const std::filesystem::path folder = testing_support::UniqueTempPath("vz_unique_temp_file");
    std::filesystem::create_directories(folder);
    // A user's file of the plain name is never the one chosen.
    std::ofstream(folder / "picture.jpg") << "mine";
    std::filesystem::path first;
    {
        CUniqueTempFile file(folder, "picture", ".jpg");
        CUniqueTempFile other(folder, "picture", ".jpg");
        first = file.Path();
        ASSERT_FALSE(first.empty());
        EXPECT_EQ(first.parent_path(), folder);
        EXPECT_EQ(first.extension(), ".jpg");
        EXPECT_NE(first, folder / "picture.jpg");
        EXPECT_NE(first, other.Path());
        EXPECT_FALSE(std::filesystem::exists(first));
        std::ofstream(first) << "scratch";
    }
    EXPECT_FALSE(std::filesystem::exists(first));
    std::string text;
    std::ifstream(folder / "picture.jpg") >> text;
    EXPECT_EQ(text, "mine");
    EXPECT_TRUE(CUniqueTempFile(folder / "missing", "x", ".bmp").Path().empty());
    std::filesystem::remove_all(folder);
}

}  // namespace
