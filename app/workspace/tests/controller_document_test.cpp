#include <gtest/gtest.h>

#include <fstream>

#include "history_actions.h"
#include "test_objects.h"
#include "workspace_test_env.h"

namespace {

namespace fs = std::filesystem;

struct ObjectView {
    std::int32_t type, number, state, extra;
    std::array<float, 8> results;
    bool operator==(const ObjectView&) const = default;
};

std::vector<ObjectView> Describe(CImageController& c) {
    std::vector<ObjectView> out;
    for (const auto& o : *c.GetObjectList()) {
        out.push_back({o->type, o->number, o->state, dynamic_cast<TestTaggedObject&>(*o).extra, o->results});
    }
    return out;
}

class ControllerDocumentTest : public ::testing::Test {
protected:
    std::unique_ptr<CImageController> Fresh(int number) {
        auto c = std::make_unique<CImageController>();
        c->SetObjectFactory(&MakeTestTaggedObject);
        c->SetOwnerWindow(parent.hwnd());
        c->SetSequenceNumber(number);
        c->GetHistoryStore().CreateFolder(number);
        return c;
    }

    ScopedTempDirectory temp{L"vz_controller_document"};
    ParentWindow parent;
};

TEST_F(ControllerDocumentTest, SavedClosedAndOpenedShowsTheSameObjectsAndResults) {
    const fs::path picturePath = temp.path() / "picture.bmp";
    ASSERT_TRUE(SeededPicture(40, 30, 3).Save(picturePath, kPictureBmp));
    const fs::path doc = temp.path() / "drawing.kqmk";
    std::vector<ObjectView> saved;
    CPicture savedPicture;
    {
        CImageController c(picturePath, parent.hwnd());
        c.SetPictureKind(kqmk::kKindBmp);
        c.GetHistoryStore().CreateFolder(1);
        c.OpenPicture();
        for (std::int32_t tag : {kTagLine, kTagPolygon, kTagCountCircle}) {
            auto o = std::make_unique<TestTaggedObject>(tag);
            o->extra = tag * 10;
            o->number = tag;
            o->results = {1.5f, 2.5f, 3.5f, 4.5f, 5.5f, 6.5f, 7.5f, static_cast<float>(tag)};
            c.GetObjectList()->push_back(std::move(o));
        }
        (*c.GetObjectList())[1]->state = CCLObject::kSelectedWhole;
        c.GetSelection().push_back((*c.GetObjectList())[1].get());
        c.GetCounterStyles()->Records()[0] = {3, 4, kTagCountCircle, 0, 15};
        c.PushHistory(kHistoryCreate);
        ASSERT_EQ(c.SaveDrawingFile(doc), DocumentStatus::ok);
        EXPECT_TRUE(c.GetSelection().empty());
        saved = Describe(c);
        savedPicture = *c.GetPicture();
    }
    for (const ObjectView& v : saved) EXPECT_EQ(v.state, 0);

    auto c = Fresh(2);
    ASSERT_EQ(c->LoadDrawingFile(doc), DocumentStatus::ok);
    c->OpenPicture();
    EXPECT_TRUE(c->IsDocument());
    EXPECT_EQ(c->GetDocumentPath(), doc);
    EXPECT_EQ(c->GetPictureKind(), kqmk::kKindBmp);
    EXPECT_EQ(Describe(*c), saved);
    ASSERT_NE(c->GetPicture(), nullptr);
    EXPECT_TRUE(SamePixels(*c->GetPicture(), savedPicture));
    ASSERT_NE(c->GetCounter(), nullptr);
    EXPECT_EQ(c->GetCounter()->GetImgSize().cx, 40);
    EXPECT_EQ(c->GetTypeCounters().Get(kTagLine), 1);
    EXPECT_EQ(c->GetTypeCounters().Get(kTagPolygon), 1);

    // The document's numbering replaces the default round style, not beside it.
    ASSERT_EQ(c->GetCounterStyles()->Records().size(), 3u);
    EXPECT_EQ(c->GetCounterStyles()->Records()[0], (CounterStyle{3, 4, kTagCountCircle, 0, 15}));

    // The loaded state is step 0, and the picture path is its picture.
    EXPECT_EQ(c->GetHistoryStore().Steps().size(), 1u);
    EXPECT_TRUE(c->GetHistoryStore().UndoList().empty());
    EXPECT_EQ(c->GetPicturePath(), temp.path() / "Mikra_TempFiles" / "2" / "0" / "~TImg");
    EXPECT_TRUE(fs::exists(c->GetPicturePath()));
    c->Render(1);
    EXPECT_NE(c->GetBackBuffer(), nullptr);
}

TEST_F(ControllerDocumentTest, GreyDocumentPictureBecomesColour) {
    const fs::path doc = temp.path() / "grey.kqmk";
    CPicture grey(6, 4, 8, kPictureAuto);
    for (std::size_t i = 0; i < grey.GetSize(); ++i) grey.Pixels()[i] = static_cast<std::uint8_t>(i * 9);
    ASSERT_EQ(WriteDrawingFile(doc, &grey, kqmk::kKindOther, {}, {}), DocumentStatus::ok);
    auto c = Fresh(3);
    ASSERT_EQ(c->LoadDrawingFile(doc), DocumentStatus::ok);
    ASSERT_NE(c->GetPicture(), nullptr);
    EXPECT_EQ(c->GetPicture()->GetBpp(), 24);
    EXPECT_EQ(c->GetPicture()->GetPixelColor(1, 3), 0x090909u);
    ASSERT_NE(c->GetCounter(), nullptr);
    EXPECT_EQ(c->GetCounter()->GetImgSize().cy, 4);
}

TEST_F(ControllerDocumentTest, FailuresAreReportedAndChangeNothing) {
    auto c = Fresh(4);
    EXPECT_EQ(c->SaveDrawingFile(temp.path() / "missing" / "d.kqmk"), DocumentStatus::cannotOpen);
    EXPECT_EQ(c->LoadDrawingFile(temp.path() / "absent.kqmk"), DocumentStatus::cannotOpen);

    const fs::path damaged = temp.path() / "damaged.kqmk";
    {
        std::ofstream out(damaged, std::ios::binary);
        // A 3 x 2 picture announcing 24 pixel bytes of which 4 follow.
        const char bytes[24] = {0, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 24, 0, 0, 0, 24, 0, 0, 0, 1, 2, 3, 4};
        out.write(bytes, sizeof bytes);
    }
    EXPECT_EQ(c->LoadDrawingFile(damaged), DocumentStatus::damaged);
    EXPECT_FALSE(c->IsDocument());
    EXPECT_TRUE(c->GetObjectList()->empty());
    EXPECT_TRUE(c->GetHistoryStore().Steps().empty());
    EXPECT_TRUE(c->GetPicture() == nullptr || !c->GetPicture()->IsValid());
}

}  // namespace
