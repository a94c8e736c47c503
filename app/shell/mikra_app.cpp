#include "mikra_app.h"

#include <filesystem>

#include <objbase.h>
#include <shellapi.h>

#include "about_dlg.h"
#include "camera_sdk_flags.h"
#include "command_line.h"
#include "copy_data.h"
#include "file_association.h"
#include "gige_sdk_startup.h"
#include "handover_resource.h"
#include "language_prompts.h"
#include "main_frame.h"
#include "mikra_doc.h"
#include "mikra_view.h"
#include "module_folder.h"
#include "resource.h"
#include "resource_module.h"

namespace {
constexpr const wchar_t* kOption = L"Option";
constexpr const wchar_t* kDrawingTypeKey = L".kqmk";
}  // namespace

CMikraApp& GetMikraApp() { return *static_cast<CMikraApp*>(GetApplication()); }

CMikraApp::CMikraApp() {
    OnCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
    OnCommand(ID_HELP, [this] { OnHelp(); });
    OnCommand(ID_APP_EXIT, [this] { OnAppExit(); });
    OnCommand(ID_FILE_NEW, [this] { m_docTemplate->NewDocument(); });
    for (UINT id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_FILE4; ++id) {
        OnCommand(id, [this, id] { OnOpenRecentFile(id); });
        OnUpdateCommand(id, [this, id](CCommandState& state) { state.Enable(!m_recentFiles.GetPath(id).empty()); });
    }
}

CMainFrame* CMikraApp::GetMainFrame() const {
    return m_docTemplate ? static_cast<CMainFrame*>(m_docTemplate->GetFrame()) : nullptr;
}

bool CMikraApp::PreTranslateMessage(MSG& message) {
    CMainFrame* frame = GetMainFrame();
    auto* view = frame ? dynamic_cast<CMikraView*>(frame->GetActiveView()) : nullptr;
    if (view && view->PreTranslateMessage(message)) {
        return true;
    }
    // The frame's keys work wherever its focus is, but not in a dialog of
    // its own thread, which keeps its keys.
    return frame && m_accelerators &&
           (message.hwnd == frame->GetSafeHwnd() || IsChild(frame->GetSafeHwnd(), message.hwnd)) &&
           TranslateAcceleratorW(frame->GetSafeHwnd(), m_accelerators, &message) != 0;
}

void CMikraApp::OnInitMenuPopup(HMENU menu) { m_recentFiles.UpdateMenu(menu, LoadResourceString(IDS_RECENT_FILE)); }

void CMikraApp::OnOpenRecentFile(UINT id) {
    const std::wstring path = m_recentFiles.GetPath(id);
    CMainFrame* frame = GetMainFrame();
    auto* view = frame ? dynamic_cast<CMikraView*>(frame->GetActiveView()) : nullptr;
    if (path.empty() || !view) {
        return;
    }
    std::error_code error;
    if (!view->OpenHandedDocument(path) && !std::filesystem::is_regular_file(path, error)) {
        m_recentFiles.Remove(int(id - ID_FILE_MRU_FILE1));
    }
}

void CMikraApp::HandOverToFirstInstance() const {
    HWND first = FindWindowW(nullptr, kTitle);
    if (!first) {
        return;
    }
    FlashWindow(first, TRUE);
    if (!GetCommandLine().empty()) {
        SendCopyDataText(first, nullptr, GetCommandLine());
    }
}

bool CMikraApp::LoadLanguageLibrary() {
    // By full path from the program folder, as resources only: a library of
    // that name beside an opened document is never picked up or run.
    const std::wstring path = GetModuleFolder() + L"Lan_" + std::to_wstring(m_nLanguage) + L".dll";
    m_hLanguageLib.Reset(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!m_hLanguageLib) {
        return false;
    }
    SetResourceModule(m_hLanguageLib.Get());
    UseLanguageDataPrompts();
    return true;
}

bool CMikraApp::InitInstance() {
    // Libraries loaded by name later must not come from the current folder.
    SetDllDirectoryW(L"");
    m_comInitialised = SUCCEEDED(CoInitialize(nullptr));
    if (IsGigESdkReady()) {
        InitGigESdk();
    }

    m_hMutex.Reset(CreateMutexW(nullptr, TRUE, kTitle));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        HandOverToFirstInstance();
        return false;
    }

    m_nLanguage = 1;
    m_ini.GetInt(m_nLanguage, kOption, L"LAN", 0);
    if (!LoadLanguageLibrary()) {
        return false;
    }
    m_ini.m_strPath = GetModuleFolder() + L"Config.ini";
    m_recentFiles.Load();
    m_accelerators = LoadAcceleratorsW(GetResourceModule(), MAKEINTRESOURCEW(IDR_MAINFRAME));

    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&icc);

    m_docTemplate = std::make_unique<CSingleDocTemplate>(
        IDR_MAINFRAME, [] { return std::make_unique<CMikraDoc>(); },
        [] {
            auto frame = std::make_unique<CMainFrame>();
            frame->SetEndsMessageLoop(true);
            return frame;
        },
        [] { return std::make_unique<CMikraView>(); });

    const std::wstring fileName = ExtractDocumentPath(GetCommandLine());
    CFrameWindow* frame = m_docTemplate->NewDocument();
    if (!frame) {
        return false;
    }
    SetIdleUpdate(frame);

    m_strConfigPath = GetModuleFolder() + L"Config.ini";
    m_strVideoFolder = GetVideoFolder();
    m_strPictureFolder = GetPictureFolder();
    m_strFilesFolder = GetFilesFolder();

    CFileAssociation association(kDrawingTypeKey, GetModuleFolder());
    if (!association.IsRegistered()) {
        association.RegisterDrawingFileType(kDrawingTypeKey, GetModuleFolder());
    }

    if (NamesDrawingDocument(fileName) && frame->GetActiveView()) {
        SendCopyDataText(frame->GetActiveView()->GetSafeHwnd(), frame->GetSafeHwnd(), fileName);
    }

    ReadExportOptions();
    ShowWindow(frame->GetSafeHwnd(), SW_SHOW);
    UpdateWindow(frame->GetSafeHwnd());
    m_startupComplete = true;
    return true;
}

int CMikraApp::ExitInstance() {
    if (m_comInitialised) {
        CoUninitialize();
    }
    m_hMutex.Reset();
    // The windows are gone; their objects go before the resources they came from.
    SetIdleUpdate(nullptr);
    m_docTemplate.reset();
    SetResourceModule(nullptr);
    m_hLanguageLib.Reset();
    if (m_startupComplete) {
        WriteExportOptions();
    }
    return CApplication::ExitInstance();
}

void CMikraApp::ReadExportOptions() {
    m_ini.GetInt(m_bExportWordPicAutoSize, kOption, L"ExportWordPicAutoSize", 0);
    m_ini.GetInt(m_bDrawAD, kOption, L"DrawAD", 0);
    m_ini.GetInt(m_bExportExcelPic, kOption, L"ExportExcelPic", 0);
    m_ini.GetInt(m_bExportExcelOne, kOption, L"ExportExcelOne", 0);
    m_ini.GetInt(m_bExportExcelOneDefault, kOption, L"ExportExcelOneDefault", 0);
    m_ini.GetString(m_strExportExcelOneFile, kOption, L"ExportExcelOneFile");
}

void CMikraApp::WriteExportOptions() {
    m_ini.WriteInt(m_bExportExcelPic, kOption, L"ExportExcelPic");
    m_ini.WriteInt(m_bExportExcelOne, kOption, L"ExportExcelOne");
    m_ini.WriteInt(m_bExportExcelOneDefault, kOption, L"ExportExcelOneDefault");
    m_ini.WriteString(m_strExportExcelOneFile.c_str(), kOption, L"ExportExcelOneFile");
}

std::wstring CMikraApp::SettleFolder(const wchar_t* key, const wchar_t* fallbackName) {
    std::wstring folder;
    m_ini.GetString(folder, kOption, key);
    bool usable = !folder.empty() && folder != CIniFile::kMissing;
    // The folder is searched and used as a prefix of file names: without its
    // backslash, D:\pics would match D:\pics2 and name files D:\picsA.jpg.
    if (usable && folder.back() != L'\\' && folder.back() != L'/') {
        folder += L'\\';
    }
    if (usable) {
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW((folder + L"*.*").c_str(), &found);
        usable = search != INVALID_HANDLE_VALUE;
        if (usable) {
            FindClose(search);
        }
    }
    if (!usable) {
        folder = GetModuleFolder() + fallbackName + L"\\";
        m_ini.WriteString(folder.c_str(), kOption, key);
    }
    return folder;
}

std::wstring CMikraApp::GetVideoFolder() { return SettleFolder(L"AviF", L"Video Capture"); }

std::wstring CMikraApp::GetPictureFolder() { return SettleFolder(L"PicF", L"Photos"); }

std::wstring CMikraApp::GetFilesFolder() { return SettleFolder(L"XWF", L"Files"); }

void CMikraApp::StoreFolder(const wchar_t* key, const std::wstring& folder) {
    m_ini.WriteString(folder.c_str(), kOption, key);
    const std::wstring_view name(key);
    std::wstring& copy = name == L"PicF" ? m_strPictureFolder : name == L"AviF" ? m_strVideoFolder : m_strFilesFolder;
    copy = folder;
}

void CMikraApp::OnAppAbout() {
    CAboutDlg about(GetMainFrame() ? GetMainFrame()->GetSafeHwnd() : nullptr);
    about.DoModal();
}

void CMikraApp::OnHelp() {
    const std::wstring path = GetModuleFolder() + L"Help\\HELP_" + std::to_wstring(m_nLanguage) + L".chm";
    ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CMikraApp::OnAppExit() {
    if (CMainFrame* frame = GetMainFrame()) {
        PostMessageW(frame->GetSafeHwnd(), WM_CLOSE, 0, 0);
    }
}
