#include <gtest/gtest.h>

#include "unique_temp_dir.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "drawing_file.h"
#include "test_objects.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Fails its store half way, as a full disk would.
class FailingObject : public TestTaggedObject {
public:
    FailingObject() : TestTaggedObject(kTagLine) {}
    void Serialize(CArchive& ar) override {
        TestTaggedObject::Serialize(ar);
        if (ar.IsStoring()) {
            ar.Flush();
            throw ArchiveException(ArchiveException::writeFailed);
        }
    }
};

Bytes ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class DrawingFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testing_support::UniqueTempPath(std::string("vz_drawing_file_") +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path dir;
};

TEST_F(DrawingFileTest, SavedDocumentOpensWithTheSameContent) {
    CPicture picture(4, 3, 24, kPictureJpeg);
    for (std::size_t i = 0; i < picture.GetSize(); ++i) picture.Pixels()[i] = static_cast<std::uint8_t>(i * 7);
    ObjectList objects;
    for (std::int32_t tag : {kTagCircle, kTagText, kTagCountRect}) {
        auto o = std::make_unique<TestTaggedObject>(tag);
        o->extra = tag * 3;
        o->label.text = u"标签";
        objects.push_back(std::move(o));
    }
    const CounterStyleList styles = {{2, 3, kTagCountRect, 0x123456, 15}};
    const fs::path path = dir / "doc.kqmk";

    ASSERT_EQ(WriteDrawingFile(path, &picture, kqmk::kKindJpeg, objects, styles), DocumentStatus::ok);
    EXPECT_FALSE(fs::exists(dir / "doc.kqmk.part"));
    DrawingDocument back;
    ASSERT_EQ(ReadDrawingFile(path, back, &MakeTestTaggedObject), DocumentStatus::ok);
    EXPECT_EQ(back.pictureKind, kqmk::kKindJpeg);
    ASSERT_EQ(back.picture.GetSize(), picture.GetSize());
    EXPECT_TRUE(std::equal(picture.Pixels().begin(), picture.Pixels().end(), back.picture.Pixels().begin()));
    ASSERT_EQ(back.objects.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(back.objects[i]->type, objects[i]->type);
        EXPECT_EQ(dynamic_cast<TestTaggedObject&>(*back.objects[i]).extra, objects[i]->type * 3);
        EXPECT_EQ(back.objects[i]->label.text, u"标签");
    }
    EXPECT_EQ(back.counterStyles, styles);
}

TEST_F(DrawingFileTest, FailedSaveLeavesTheOldDocumentWhole) {
    const fs::path path = dir / "doc.kqmk";
    const Bytes old = {1, 2, 3, 4, 5};
    WriteAll(path, old);
    ObjectList objects;
    objects.push_back(std::make_unique<FailingObject>());
    EXPECT_EQ(WriteDrawingFile(path, nullptr, 0, objects, {}), DocumentStatus::cannotWrite);
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_FALSE(fs::exists(dir / "doc.kqmk.part"));
}

TEST_F(DrawingFileTest, SaveIntoAMissingFolderIsReported) {
    EXPECT_EQ(WriteDrawingFile(dir / "no" / "doc.kqmk", nullptr, 0, {}, {}), DocumentStatus::cannotOpen);
}

TEST_F(DrawingFileTest, OpenFailuresAreReportedAndLeaveTheDocumentEmpty) {
    DrawingDocument document;
    EXPECT_EQ(ReadDrawingFile(dir / "missing.kqmk", document, &MakeTestTaggedObject), DocumentStatus::cannotOpen);

    const fs::path path = dir / "short.kqmk";
    ASSERT_EQ(WriteDrawingFile(path, nullptr, 0, {}, {}), DocumentStatus::ok);
    Bytes bytes = ReadAll(path);
    bytes.resize(bytes.size() - 1);
    WriteAll(path, bytes);
    EXPECT_EQ(ReadDrawingFile(path, document, &MakeTestTaggedObject), DocumentStatus::damaged);
    EXPECT_TRUE(document.objects.empty());
    EXPECT_FALSE(document.picture.IsValid());
}

}  // namespace
