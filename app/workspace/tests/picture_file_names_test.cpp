// Names the file commands derive from the user's choices.
#include <gtest/gtest.h>

#include <set>

#include "picture_file_names.h"

namespace {

const LocalTime kTime{2026, 3, 4, 5, 6, 7, 89};

TEST(PictureFileNamesTest, ASavedCopyIsNamedByTheTimeAndWrittenInItsType) {
    struct Case {
        const wchar_t* path;
        int type;
        const wchar_t* copy;
    };
    const Case cases[] = {
        {L"C:\\p\\red.bmp", 1, L"C:\\p\\red_202603040506070089.bmp"},
        {L"C:\\p\\red.jpeg", 2, L"C:\\p\\red_202603040506070089.jpg"},
        {L"C:\\p\\red.tif", 3, L"C:\\p\\red_202603040506070089.tiff"},
        {L"C:\\p.d\\red", 1, L"C:\\p.d\\red_202603040506070089.bmp"},
        {L"C:\\p\\a.b.bmp", 1, L"C:\\p\\a.b_202603040506070089.bmp"},
        // An unknown type never keeps its own name: a BMP copy.
        {L"C:\\p\\red.png", 0, L"C:\\p\\red_202603040506070089.bmp"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SavedCopyPath(c.path, c.type, kTime), c.copy) << c.path;
    }
    EXPECT_EQ(SavedCopyType(0), 1);
    EXPECT_EQ(SavedCopyType(2), 2);
    EXPECT_EQ(SavedCopyType(7), 1);
}

TEST(PictureFileNamesTest, ACopyNeverTakesTheNameOfAnExistingFile) {
    std::set<std::wstring> taken = {L"C:\\p\\red_202603040506070089.bmp", L"C:\\p\\red_202603040506070090.bmp"};
    const auto exists = [&taken](const std::wstring& path) { return taken.count(path) != 0; };
    EXPECT_EQ(FreeSavedCopyPath(L"C:\\p\\red.bmp", 1, kTime, exists), L"C:\\p\\red_202603040506070091.bmp");
    EXPECT_EQ(FreeSavedCopyPath(L"C:\\p\\red.bmp", 2, kTime, exists), L"C:\\p\\red_202603040506070089.jpg");
    const LocalTime late{2026, 3, 4, 5, 6, 7, 9999};
    taken = {SavedCopyPath(L"C:\\p\\red.bmp", 1, late)};
    EXPECT_EQ(FreeSavedCopyPath(L"C:\\p\\red.bmp", 1, late, exists), L"C:\\p\\red_202603040506080000.bmp");
}

TEST(PictureFileNamesTest, TheSaveAsExtensionChoosesTheTypeAndDocumentsKeepOrGainKqmk) {
    struct Case {
        const wchar_t* path;
        int type;
        const wchar_t* document;
    };
    const Case cases[] = {
        {L"C:\\p\\a.bmp", 1, L"C:\\p\\a.bmp.kqmk"},
        {L"C:\\p\\a.JPG", 2, L"C:\\p\\a.JPG.kqmk"},
        {L"C:\\p\\a.tiff", 3, L"C:\\p\\a.tiff.kqmk"},
        {L"C:\\p\\a.png", kSaveAsDocument, L"C:\\p\\a.png.kqmk"},
        {L"C:\\p\\a.kqmk", kSaveAsDocument, L"C:\\p\\a.kqmk"},
        {L"C:\\p\\a.KQMK", kSaveAsDocument, L"C:\\p\\a.KQMK"},
        {L"C:\\p\\a", kSaveAsDocument, L"C:\\p\\a.kqmk"},
        // The folder's name is no extension.
        {L"C:\\kqmk\\a.png", kSaveAsDocument, L"C:\\kqmk\\a.png.kqmk"},
        {L"C:\\x.kqmk\\a", kSaveAsDocument, L"C:\\x.kqmk\\a.kqmk"},
        {L"C:\\p\\kqmk.png", kSaveAsDocument, L"C:\\p\\kqmk.png.kqmk"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SaveAsTypeOfExtension(ExtensionOfPath(c.path)), c.type) << c.path;
        EXPECT_EQ(DocumentSavePath(c.path), c.document) << c.path;
    }
    EXPECT_EQ(ExtensionOfPath(L"C:\\p.q\\a"), L"");
    EXPECT_EQ(ExtensionOfPath(L"C:\\p\\a.b.tif"), L"tif");
}

TEST(PictureFileNamesTest, ARenameKeepsFolderAndExtensionAndTakesOnlyAPlainName) {
    const std::optional<RenameParts> parts = SplitForRename(L"C:\\pics\\red.bmp\\red.bmp", L"red.bmp");
    ASSERT_TRUE(parts.has_value());
    EXPECT_EQ(parts->folder, L"C:\\pics\\red.bmp\\");
    EXPECT_EQ(parts->baseName, L"red");
    EXPECT_EQ(parts->extension, L".bmp");
    EXPECT_EQ(RenamedPath(*parts, L"blue"), L"C:\\pics\\red.bmp\\blue.bmp");
    for (const wchar_t* name : {L"", L".", L"..", L"a\\b", L"..\\up", L"a/b", L"C:x", L"a*", L"a?"}) {
        EXPECT_FALSE(RenamedPath(*parts, name).has_value()) << name;
    }
    const std::optional<RenameParts> dotted = SplitForRename(L"C:\\p\\a.b.jpg", L"a.b.jpg");
    ASSERT_TRUE(dotted.has_value());
    EXPECT_EQ(dotted->baseName, L"a.b");
    EXPECT_EQ(dotted->extension, L".jpg");
    // Nothing to rename: no extension, no base name, caption not in the path.
    for (const auto& [path, caption] :
         {std::pair{L"C:\\p\\red", L"red"}, std::pair{L"C:\\p\\.bmp", L".bmp"}, std::pair{L"C:\\p\\red.", L"red."},
          std::pair{L"C:\\p\\red.bmp", L"blue.bmp"}, std::pair{L"C:\\p\\red.bmp", L""}}) {
        EXPECT_FALSE(SplitForRename(path, caption).has_value()) << path << L" " << caption;
    }
}

TEST(PictureFileNamesTest, FolderTextsOfTheFolderCommands) {
    struct Start {
        const wchar_t* stored;
        std::optional<std::wstring> start;
    };
    const Start starts[] = {
        {L"C:\\pics\\", L"C:\\pics"}, {L"C:\\", L"C:\\"}, {L"D:\\a b\\c\\", L"D:\\a b\\c"},
        {L"", std::nullopt},          {L"\\", L"\\"},     {L"NULL\\", std::nullopt},
    };
    for (const Start& s : starts) {
        EXPECT_EQ(FolderDialogStart(s.stored), s.start) << s.stored;
    }
    struct Stored {
        const wchar_t* chosen;
        std::optional<std::wstring> stored;
    };
    const Stored stores[] = {
        {L"C:\\", L"C:\\"},
        {L"C:\\pics", L"C:\\pics\\"},
        {L"\\\\server\\share", L"\\\\server\\share\\"},
        // A choice with no file-system path changes nothing.
        {L"", std::nullopt},
    };
    for (const Stored& s : stores) {
        EXPECT_EQ(StoredFolder(s.chosen), s.stored) << s.chosen;
    }
}

}  // namespace

namespace {

TEST(PictureFileNamesTest, AMultipleSelectionGivesItsPathsInTheDialogsOrder) {
    using namespace std::string_view_literals;
    struct Case {
        std::wstring_view buffer;
        std::vector<std::wstring> paths;
    };
    const Case cases[] = {
        {L"C:\\p\\a.bmp\0\0"sv, {L"C:\\p\\a.bmp"}},
        {L"C:\\p\0b.bmp\0a.jpg\0\0"sv, {L"C:\\p\\b.bmp", L"C:\\p\\a.jpg"}},
        {L"C:\\\0a.bmp\0b.bmp\0\0"sv, {L"C:\\a.bmp", L"C:\\b.bmp"}},
        {L"\0\0"sv, {}},
        {L""sv, {}},
        // A buffer without its closing nulls is read to its end, no further.
        {L"C:\\p\0a.bmp\0b"sv, {L"C:\\p\\a.bmp", L"C:\\p\\b"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitFileSelection(c.buffer), c.paths);
    }
}

}  // namespace
