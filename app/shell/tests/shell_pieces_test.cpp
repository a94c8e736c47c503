// The pieces of start-up that take outside input: the WM_COPYDATA record a
// second instance sends and the registry keys of the file association.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "copy_data.h"
#include "file_association.h"
#include "mikra_app.h"

namespace {

// The version record's words: 1.260 and 2.4 read as 1.4.2.4, the second and
// fourth numbers by their low 8 bits.
TEST(FormatProgramVersion, SecondAndFourthNumbersKeepTheirLowEightBits) {
    EXPECT_EQ(FormatProgramVersion(MAKELONG(260, 1), MAKELONG(4, 2)), L"1.4.2.4");
    EXPECT_EQ(FormatProgramVersion(MAKELONG(1, 0), MAKELONG(0, 0)), L"0.1.0.0");
    EXPECT_EQ(FormatProgramVersion(MAKELONG(0xFFFF, 0xFFFF), MAKELONG(0x1FF, 7)), L"65535.255.7.255");
}

COPYDATASTRUCT Record(std::vector<wchar_t>& chars, DWORD bytes, ULONG_PTR dwData = 0) {
    COPYDATASTRUCT record{};
    record.dwData = dwData;
    record.cbData = bytes;
    record.lpData = chars.data();
    return record;
}

TEST(ReadCopyDataText, AcceptsATerminatedTextAndTheOlderZeroPaddedForm) {
    std::vector<wchar_t> text{L'a', L'.', L'k', L'q', L'm', L'k', L'\0'};
    COPYDATASTRUCT exact = Record(text, 7 * sizeof(wchar_t));
    EXPECT_EQ(ReadCopyDataText(&exact), L"a.kqmk");

    // Four bytes per character with zeros after the text, as older senders do.
    std::vector<wchar_t> padded(12, L'\0');
    padded[0] = L'x';
    padded[1] = L'y';
    COPYDATASTRUCT old = Record(padded, 2 * 4);
    EXPECT_EQ(ReadCopyDataText(&old), L"xy");
}

TEST(ReadCopyDataText, RejectsRecordsItCannotReadSafely) {
    std::vector<wchar_t> unterminated{L'a', L'b', L'c'};
    std::vector<wchar_t> text{L'a', L'\0'};
    const std::vector<COPYDATASTRUCT> bad = {
        Record(unterminated, 3 * sizeof(wchar_t)),                                    // no terminator inside the count
        Record(text, 3),                                                              // odd byte count
        Record(text, 0),                                                              // nothing
        Record(text, 2 * sizeof(wchar_t), 7),                                         // another kind of record
        Record(text, static_cast<DWORD>((kMaxCopyDataChars + 2) * sizeof(wchar_t))),  // oversized
    };
    for (const COPYDATASTRUCT& record : bad) {
        EXPECT_FALSE(ReadCopyDataText(&record).has_value()) << "cbData " << record.cbData;
    }
    COPYDATASTRUCT noData{};
    noData.cbData = 4;
    EXPECT_FALSE(ReadCopyDataText(&noData).has_value());
    EXPECT_FALSE(ReadCopyDataText(nullptr).has_value());
}

// The association written under a scratch key of the current user, so the
// test leaves the real classes alone.
class FileAssociationTest : public ::testing::Test {
protected:
    static constexpr const wchar_t* kScratch = L"Software\\VizcamTest\\Classes";

    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
        ASSERT_TRUE(root_.Create(HKEY_CURRENT_USER, kScratch));
    }
    void TearDown() override {
        root_.Close();
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VizcamTest");
    }

    std::optional<std::wstring> Value(const std::wstring& path) {
        CRegistryKey key;
        return key.Open(root_.Get(), path) ? key.GetString(nullptr) : std::nullopt;
    }
    bool Exists(const std::wstring& path) {
        CRegistryKey key;
        return key.Open(root_.Get(), path);
    }
    static std::wstring ThisProgram() {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        return path;
    }

    CRegistryKey root_;
};

TEST_F(FileAssociationTest, RegistersTheDotTypeWithAQuotedCommand) {
    CFileAssociation association(L".kqmk", L"C:\\Vizcam\\", root_.Get());
    EXPECT_FALSE(association.IsRegistered());
    ASSERT_TRUE(association.RegisterDrawingFileType(L".kqmk", L"C:\\Vizcam\\"));
    EXPECT_EQ(Value(L".kqmk"), L"Kqmk File");
    EXPECT_EQ(Value(L"Kqmk File"), L"Kqmk File");
    EXPECT_EQ(Value(L"Kqmk File\\DefaultIcon"), L"C:\\Vizcam\\kqmk.ico");
    EXPECT_EQ(Value(L"Kqmk File\\shell\\open\\command"), L"\"" + ThisProgram() + L"\" \"%1\"");

    CFileAssociation again(L".kqmk", L"C:\\Vizcam\\", root_.Get());
    EXPECT_TRUE(again.IsRegistered());
}

TEST_F(FileAssociationTest, AnotherProgramsCommandCountsAsNotRegistered) {
    CRegistryKey key;
    ASSERT_TRUE(key.Create(root_.Get(), L".kqmk") && key.SetString(nullptr, L"Kqmk File"));
    ASSERT_TRUE(key.Create(root_.Get(), L"Kqmk File\\shell\\open\\command") &&
                key.SetString(nullptr, L"\"C:\\Other\\Viewer.exe\" \"%1\""));
    key.Close();
    CFileAssociation association(L".kqmk", L"C:\\Vizcam\\", root_.Get());
    EXPECT_FALSE(association.IsRegistered());
    ASSERT_TRUE(association.RegisterDrawingFileType(L".kqmk", L"C:\\Vizcam\\"));
    EXPECT_EQ(Value(L"Kqmk File\\shell\\open\\command"), L"\"" + ThisProgram() + L"\" \"%1\"");
}

TEST_F(FileAssociationTest, RemovalDeletesOurNestedClassAndTheTypeKey) {
    CFileAssociation association(L".kqmk", L"C:\\Vizcam\\", root_.Get());
    ASSERT_TRUE(association.RegisterDrawingFileType(L".kqmk", L"C:\\Vizcam\\"));
    CRegistryKey deeper;
    ASSERT_TRUE(deeper.Create(root_.Get(), L"Kqmk File\\shell\\print\\command\\deeper"));
    deeper.Close();
    EXPECT_TRUE(association.UnregisterDrawingFileType(L".kqmk"));
    EXPECT_FALSE(Exists(L"Kqmk File"));
    EXPECT_FALSE(Exists(L".kqmk"));
    // Nothing left to remove.
    EXPECT_FALSE(association.UnregisterDrawingFileType(L".kqmk"));
}

struct ForeignCase {
    const wchar_t* typeValue;     // the default value of .kqmk
    const wchar_t* protectedKey;  // a key that must survive
};

class ForeignAssociationTest : public FileAssociationTest, public ::testing::WithParamInterface<ForeignCase> {};

TEST_P(ForeignAssociationTest, RemovalLeavesKeysThatAreNotOurs) {
    CRegistryKey key;
    ASSERT_TRUE(key.Create(root_.Get(), L".kqmk") && key.SetString(nullptr, GetParam().typeValue));
    ASSERT_TRUE(key.Create(root_.Get(), GetParam().protectedKey));
    key.Close();
    CFileAssociation association(L".kqmk", L"C:\\Vizcam\\", root_.Get());
    EXPECT_FALSE(association.UnregisterDrawingFileType(L".kqmk"));
    EXPECT_TRUE(Exists(GetParam().protectedKey));
    EXPECT_TRUE(Exists(L".kqmk"));
    EXPECT_FALSE(association.UnregisterDrawingFileType(L""));
}

INSTANTIATE_TEST_SUITE_P(Values, ForeignAssociationTest,
                         ::testing::Values(ForeignCase{L"OtherViewer.Document", L"OtherViewer.Document\\shell"},
                                           // An empty value would name the classes root itself.
                                           ForeignCase{L"", L"Unrelated\\shell"}));

}  // namespace
