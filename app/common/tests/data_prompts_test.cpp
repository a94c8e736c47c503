// Dialog data exchange refuses input with the texts of the loaded language
// library once the program has installed its prompt source.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "data_prompts.h"
#include "dialog.h"
#include "language_prompts.h"
#include "modal_script.h"
#include "resource.h"
#include "resource_module.h"

namespace {

using testing_support::ModalScript;

enum class Kind { Integer, Range, Number };

// The line-width template's edit, bound as one kind of number.
class ProbeDialog : public CDialog {
public:
    explicit ProbeDialog(Kind kind) : CDialog(IDD_LINE_WIDTH, nullptr) {
        switch (kind) {
        case Kind::Integer: BindInt(IDC_LINE_WIDTH_EDIT, integer_); break;
        case Kind::Range: BindUInt(IDC_LINE_WIDTH_EDIT, ranged_, 1, 10); break;
        case Kind::Number: BindFloat(IDC_LINE_WIDTH_EDIT, number_); break;
        }
    }

private:
    int integer_ = 1;
    unsigned ranged_ = 1;
    float number_ = 1.0f;
};

// Types text the binding cannot take, presses OK and answers the refusal.
std::wstring RefusalOf(Kind kind) {
    std::wstring prompt;
    ModalScript script({
        [](HWND dialog) {
            ModalScript::SetText(dialog, IDC_LINE_WIDTH_EDIT, L"12x");
            ModalScript::Press(dialog, IDOK);
        },
        [&](HWND box) {
            prompt = ModalScript::MessageText(box);
            ModalScript::Press(box, IDOK);
        },
        [](HWND dialog) { ModalScript::Press(dialog, IDCANCEL); },
    });
    ProbeDialog dialog(kind);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Finished());
    return prompt;
}

struct Case {
    int language;
    Kind kind;
    const wchar_t* expected;
};

class DataPromptsTest : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        const std::wstring name = L"Lan_" + std::to_wstring(GetParam().language) + L".dll";
        module_ = LoadLibraryExW(name.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << "language library missing";
        SetResourceModule(module_);
        UseLanguageDataPrompts();
    }
    void TearDown() override {
        SetDataPromptSource({});
        SetResourceModule(nullptr);
        if (module_) {
            FreeLibrary(module_);
        }
    }

    HMODULE module_ = nullptr;
};

TEST_P(DataPromptsTest, RefusalSpeaksTheLibrarysLanguage) {
    EXPECT_EQ(RefusalOf(GetParam().kind), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Languages, DataPromptsTest,
                         ::testing::Values(Case{0, Kind::Integer, L"Please enter an integer."},
                                           Case{0, Kind::Range, L"Please enter an integer between 1 and 10."},
                                           Case{0, Kind::Number, L"Please enter a number."},
                                           Case{1, Kind::Integer, L"请输入一个整数。"},
                                           Case{1, Kind::Range, L"请输入一个介于 1 和 10 之间的整数。"},
                                           Case{1, Kind::Number, L"请输入一个数字。"}));

// A source without a text for a prompt leaves the framework's own; the
// limits go in wherever the text puts them, and only there.
TEST(DataPromptTextTest, EmptyAnswerKeepsTheFrameworksTextAndLimitsGoWhereTheTextSays) {
    SetDataPromptSource([](DataPrompt prompt) {
        return prompt == DataPrompt::IntegerRange ? std::wstring(L"%2 >= n >= %1, 100% %3") : std::wstring();
    });
    EXPECT_EQ(DataPromptText(DataPrompt::Integer), L"Please enter an integer.");
    EXPECT_EQ(DataPromptText(DataPrompt::IntegerRange, 0, 5), L"5 >= n >= 0, 100% %3");
    SetDataPromptSource({});
    EXPECT_EQ(DataPromptText(DataPrompt::IntegerRange, 1, 4294967295LL),
              L"Please enter an integer between 1 and 4294967295.");
}

}  // namespace
