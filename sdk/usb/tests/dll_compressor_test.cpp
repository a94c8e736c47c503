// The compressor choice of recordings: the system's dialog, driven by a
// script as a user would.

#include <gtest/gtest.h>

#include <windows.h>

#include <cwctype>
#include <string>

#include "dll_fixture.h"
#include "modal_script.h"

namespace {

using kq::test::KqDll;
using testing_support::ModalScript;

bool IsRunLength(const std::wstring& text) { return text.find(L"RLE") != std::wstring::npos; }

std::string FourCcText(int code) {
    std::string text;
    for (int shift = 0; shift < 32; shift += 8) text += static_cast<char>(std::toupper((code >> shift) & 0xFF));
    return text;
}

class CompressorChoice : public KqDll {
protected:
    void SetUp() override {
        KqDll::SetUp();
        UseCameras("[Camera1]\nType=10\n");
        handle = Open(1, Window(640, 480));
        // 8-bit grey output: the run-length coder is offered for it.
        ASSERT_EQ(KQ(KQ_SetParamColor)(handle, 3), 0);
    }
    void TearDown() override { KQ(KQ_Uninitialize)(handle); }
    HANDLE handle = nullptr;
};

TEST_F(CompressorChoice, OkStoresTheChosenCompressorAndCancelGivesZero) {
    std::wstring title;
    std::wstring chosenText;
    {
        ModalScript script({[&](HWND dialog) {
                                title = ModalScript::Text(dialog);
                                chosenText = ModalScript::ChooseComboItem(dialog, IsRunLength);
                            },
                            [](HWND dialog) { ModalScript::Press(dialog, IDOK); }});
        int fourcc = -1;
        ASSERT_EQ(KQ(KQ_SelectAviCompressor)(handle, &fourcc), 0);
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(title, L"Video Compressor");
        ASSERT_FALSE(chosenText.empty()) << "the run-length coder is listed";
        EXPECT_EQ(FourCcText(fourcc), "MRLE");
    }
    // Cancel gives 0.
    {
        ModalScript script({[](HWND dialog) { ModalScript::Press(dialog, IDCANCEL); }});
        int fourcc = -1;
        ASSERT_EQ(KQ(KQ_SelectAviCompressor)(handle, &fourcc), 0);
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(fourcc, 0);
    }
    // No out value is no error.
    ModalScript script({[](HWND dialog) { ModalScript::Press(dialog, IDCANCEL); }});
    EXPECT_EQ(KQ(KQ_SelectAviCompressor)(handle, nullptr), 0);
    EXPECT_EQ(KQ(KQ_SelectAviCompressor)(reinterpret_cast<HANDLE>(0x999), nullptr), 1);
}

}  // namespace
