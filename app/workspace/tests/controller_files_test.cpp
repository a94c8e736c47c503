#include <fstream>

#include "controller_fixture.h"

namespace {

using namespace controller_testing;

class DeletePictureFilesTest : public ControllerFixture {
protected:
    fs::path Touch(const wchar_t* name) {
        const fs::path path = dir / name;
        std::ofstream(path) << "x";
        return path;
    }
};

TEST_F(DeletePictureFilesTest, DeletesWhatExistsAndReportsWhetherAllWent) {
    struct Case {
        const char* what;
        bool pictureExists;
        bool documentExists;
        int documentFlag;
        int result;
    };
    for (const Case k : {
             Case{"picture only", true, true, 0, 1},
             Case{"picture and document", true, true, 1, 1},
             Case{"document missing", true, false, 1, 0},
             Case{"picture missing", false, true, 1, 0},
             Case{"nothing there", false, false, 0, 0},
         }) {
        const fs::path picture = dir / L"picture.bmp";
        const fs::path document = dir / L"drawing.kqmk";
        fs::remove(picture);
        fs::remove(document);
        if (k.pictureExists) {
            Touch(L"picture.bmp");
        }
        if (k.documentExists) {
            Touch(L"drawing.kqmk");
        }
        CImageController c(picture, window.hwnd());
        c.SetDocumentPath(document, k.documentFlag);
        EXPECT_EQ(c.DeletePictureFiles(), k.result) << k.what;
        EXPECT_FALSE(fs::exists(picture)) << k.what;
        // The document goes only with a picture that came from it.
        EXPECT_EQ(fs::exists(document), k.documentExists && k.documentFlag == 0) << k.what;
    }
}

TEST_F(DeletePictureFilesTest, NothingWithoutOwnerWindowOrForAFolder) {
    const fs::path picture = Touch(L"kept.bmp");
    CImageController unowned(picture, nullptr);
    EXPECT_EQ(unowned.DeletePictureFiles(), 0);
    EXPECT_TRUE(fs::exists(picture));

    const fs::path folder = dir / L"folder.bmp";
    fs::create_directories(folder);
    CImageController onFolder(folder, window.hwnd());
    EXPECT_EQ(onFolder.DeletePictureFiles(), 0);
    EXPECT_TRUE(fs::exists(folder));
}

}  // namespace
