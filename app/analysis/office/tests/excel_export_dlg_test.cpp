// The Excel export settings dialog driven as a user would: what it shows
// for the options it is given and what it stores on OK.
#include <gtest/gtest.h>

#include <windows.h>

#include "excel_export_dlg.h"
#include "modal_script.h"
#include "office_resource.h"
#include "language_library.h"

using testing_support::ModalScript;

namespace {

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Click(HWND dialog, int id, bool check) {
    CheckDlgButton(dialog, id, check ? BST_CHECKED : BST_UNCHECKED);
    ModalScript::Press(dialog, id);
}

void ChooseRadio(HWND dialog, int id) {
    CheckRadioButton(dialog, IDC_EXCEL_DEFAULT_FILE, IDC_EXCEL_SPECIFIED_FILE, id);
    ModalScript::Press(dialog, id);
}

}  // namespace

TEST(ExcelExportDlg, ShowsTheOptionsAndEnablesWhatTheyAllow) {
    const LanguageLibrary library(1);
    ASSERT_TRUE(library.Loaded());
    struct Case {
        OfficeExportOptions options;
        bool radios, browse;
    } cases[] = {
        {{true, true, false, L"C:\\mine.xls"}, true, true},
        {{false, true, true, L"C:\\mine.xls"}, true, false},
        {{true, false, false, L""}, false, false},
    };
    for (const Case& c : cases) {
        OfficeExportOptions options = c.options;
        bool radios = false, browse = false, mark = false, one = false, picture = false, specified = false;
        std::wstring path, title;
        ModalScript script({[&](HWND dialog) {
            title = ModalScript::Text(dialog);
            radios = Enabled(dialog, IDC_EXCEL_DEFAULT_FILE) && Enabled(dialog, IDC_EXCEL_SPECIFIED_FILE);
            browse = Enabled(dialog, IDC_EXCEL_BROWSE);
            mark = Enabled(dialog, IDC_EXCEL_BROWSE_MARK);
            one = Checked(dialog, IDC_EXCEL_ONE);
            picture = Checked(dialog, IDC_EXCEL_PICTURE);
            specified = Checked(dialog, IDC_EXCEL_SPECIFIED_FILE);
            path = ModalScript::ItemText(dialog, IDC_EXCEL_PATH);
            ModalScript::Press(dialog, IDCANCEL);
        }});
        CExcelExportDlg dialog(options, nullptr, nullptr);
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(title, L"Excel导出设置");
        EXPECT_EQ(radios, c.radios);
        EXPECT_EQ(browse, c.browse);
        EXPECT_EQ(mark, c.browse);
        EXPECT_EQ(one, c.options.excelOne);
        EXPECT_EQ(picture, c.options.excelPicture);
        EXPECT_EQ(specified, !c.options.excelOneDefault);
        EXPECT_EQ(path, c.options.excelOneFile);
        EXPECT_EQ(options.excelOneFile, c.options.excelOneFile) << "Cancel changes nothing";
        EXPECT_EQ(options.excelOne, c.options.excelOne);
    }
}

TEST(ExcelExportDlg, OkStoresTheChoices) {
    const LanguageLibrary library(1);
    ASSERT_TRUE(library.Loaded());
    struct Case {
        const wchar_t* browsed;  // null: not browsed
        bool specified;
        OfficeExportOptions stored;
    } cases[] = {
        {nullptr, true, {true, true, true, L""}},  // "specified" without a file is the default one
        {L"D:\\book.xlsx", true, {true, true, false, L"D:\\book.xlsx"}},
        {L"D:\\book.xlsx", false, {true, true, true, L"D:\\book.xlsx"}},
    };
    for (const Case& c : cases) {
        OfficeExportOptions options;
        bool radiosAfterCheck = false, browseAfterRadio = false, browseAfterDefault = true;
        ModalScript script({[&](HWND dialog) {
            Click(dialog, IDC_EXCEL_PICTURE, true);
            Click(dialog, IDC_EXCEL_ONE, true);
            radiosAfterCheck = Enabled(dialog, IDC_EXCEL_DEFAULT_FILE);
            ChooseRadio(dialog, IDC_EXCEL_SPECIFIED_FILE);
            browseAfterRadio = Enabled(dialog, IDC_EXCEL_BROWSE);
            if (c.browsed) ModalScript::Press(dialog, IDC_EXCEL_BROWSE);
            if (!c.specified) {
                ChooseRadio(dialog, IDC_EXCEL_DEFAULT_FILE);
                browseAfterDefault = Enabled(dialog, IDC_EXCEL_BROWSE);
            }
            ModalScript::Press(dialog, IDOK);
        }});
        CExcelExportDlg dialog(
            options, [&](HWND) { return c.browsed ? std::optional<std::wstring>(c.browsed) : std::nullopt; }, nullptr);
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_TRUE(radiosAfterCheck);
        EXPECT_TRUE(browseAfterRadio);
        if (!c.specified) {
            EXPECT_FALSE(browseAfterDefault);
        }
        EXPECT_EQ(options.excelPicture, c.stored.excelPicture);
        EXPECT_EQ(options.excelOne, c.stored.excelOne);
        EXPECT_EQ(options.excelOneDefault, c.stored.excelOneDefault) << (c.browsed ? c.browsed : L"none");
        EXPECT_EQ(options.excelOneFile, c.stored.excelOneFile);
    }
}
