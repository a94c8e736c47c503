// The count report's texts in the order they are written, and its picture
// as ImageMagick reads it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "count_report.h"
#include "shell_output.h"
#include "unique_temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::vector<_tagOBJRESULT> Targets(int count) {
    std::vector<_tagOBJRESULT> records(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        _tagOBJRESULT& r = records[static_cast<std::size_t>(i)];
        r.number = i + 1;
        r.area = 10.0 * (i + 1);
        r.roundness = 0.5;
        r.greyMax = static_cast<std::uint8_t>(100 + i);
    }
    return records;
}

CountLabels Labels() {
    CountLabels labels;
    labels.count = L"count:";
    labels.summary = {L"picture:", L"region:", L"targets:", L"share:"};
    for (std::size_t i = 0; i < labels.headings.size(); ++i) {
        labels.headings[i] = L"h" + std::to_wstring(i);
    }
    return labels;
}

TEST(CountReport, SummaryThenResultsInTheOrderShown) {
    std::vector<_tagOBJRESULT> records = Targets(4);
    records[1].excluded = 1;
    const CountTable table = BuildCountTable(records, {10, 10, 10, 10, 1.0, 1, L"mm"});
    const CountReport report = BuildCountReport(table, Labels());

    ASSERT_EQ(report.summary.size(), 5u);
    EXPECT_EQ(report.summary[0], (std::array<std::wstring, 2>{L"count:", L"3"}));
    EXPECT_EQ(report.summary[1], (std::array<std::wstring, 2>{L"picture:", L"100.0 mm * mm"}));
    EXPECT_EQ(report.summary[2], (std::array<std::wstring, 2>{L"region:", L"100.0 mm * mm"}));
    EXPECT_EQ(report.summary[3], (std::array<std::wstring, 2>{L"targets:", L"80.0 mm * mm"}));
    EXPECT_EQ(report.summary[4], (std::array<std::wstring, 2>{L"share:", L"0.8"}));

    ASSERT_EQ(report.results.size(), 4u);
    EXPECT_EQ(report.results[0], Labels().headings);
    for (std::size_t row = 1; row < 4; ++row) {
        EXPECT_EQ(report.results[row], table.rows[row - 1]) << row;
    }
    EXPECT_EQ(report.results[2][0], L"2");
    EXPECT_EQ(report.results[2][1], L"30.0");  // the third target: the second was filtered out
}

TEST(CountReport, NoTargetsShownGivesTheHeadingsAlone) {
    std::vector<_tagOBJRESULT> records = Targets(2);
    for (_tagOBJRESULT& r : records) r.excluded = 1;
    const CountReport report = BuildCountReport(BuildCountTable(records, {10, 10, 0, 0, 1.0, 2, L"mm"}), Labels());
    EXPECT_EQ(report.summary[0][1], L"0");
    EXPECT_EQ(report.summary[3][1], L"0.00 mm * mm");
    EXPECT_EQ(report.summary[4][1], L"0.00");
    ASSERT_EQ(report.results.size(), 1u);
}

class CountReportPicture : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testing_support::UniqueTempPath(
            "count.report." + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(folder);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    // 641 pixels wide, so rows carry padding: colour bands that shear when
    // a row is taken as width x 3 bytes.
    static CPicture Bands() {
        CPicture picture(641, 37, 24, kPictureBmp);
        for (int y = 0; y < 37; ++y) {
            std::uint8_t* row = picture.GetBits(y);
            for (int x = 0; x < 641; ++x) {
                const int band = (x / 80) % 3;
                row[x * 3] = band == 0 ? 230 : 20;
                row[x * 3 + 1] = band == 1 ? 230 : 20;
                row[x * 3 + 2] = band == 2 ? 230 : 20;
            }
        }
        return picture;
    }
    fs::path folder;
};

TEST_F(CountReportPicture, AJpegOfTheOutlinedPictureUnderANewNameRemovedAfterwards) {
    const CPicture picture = Bands();
    ASSERT_TRUE(picture.Save(folder / "reference.bmp", kPictureBmp));
    // A user's file named as the report's picture once was stays as it is.
    const fs::path users = folder / "report.doc.jpg";
    std::ofstream(users, std::ios::binary) << "user's own";
    fs::path written;
    {
        const CCountReportPicture jpeg(picture, folder);
        written = jpeg.Path();
        ASSERT_FALSE(written.empty());
        EXPECT_EQ(written.parent_path(), folder);
        EXPECT_NE(written, users);
        EXPECT_EQ(testing_support::ShellOutput("identify -format '%m %w %h' '" + written.string() + "'"),
                  "JPEG 641 37");
        // Close to the picture everywhere: a sheared row would be far off.
        const std::string psnr = testing_support::ShellOutput("compare -metric PSNR '" + written.string() + "' '" +
                                                              (folder / "reference.bmp").string() + "' null: 2>&1");
        EXPECT_GT(std::stod(psnr), 30.0) << psnr;
    }
    EXPECT_FALSE(fs::exists(written));
    std::ifstream in(users, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "user's own");
}

TEST_F(CountReportPicture, NothingWrittenWithoutAPictureOrAFolder) {
    EXPECT_TRUE(CCountReportPicture(CPicture(), folder).Path().empty());
    EXPECT_TRUE(CCountReportPicture(Bands(), folder / "missing").Path().empty());
    EXPECT_TRUE(fs::is_empty(folder));
}

}  // namespace
