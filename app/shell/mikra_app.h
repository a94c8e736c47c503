#pragma once
// The program's application object: one running instance per desktop, the
// language library, the single-document template, the drawing-file
// association, the export options, About and Help.
#include <memory>
#include <string>

#include "application.h"
#include "doc_template.h"
#include "ini_file.h"
#include "recent_file_list.h"
#include "resource.h"
#include "unique_handle.h"

class CMainFrame;

class CMikraApp : public CApplication {
public:
    static constexpr const wchar_t* kTitle = L"Vizcam Viewer";
    // The program's registry profile under HKEY_CURRENT_USER, and its
    // section of recent documents (values File1 to File4).
    static constexpr const wchar_t* kProfileKey = L"Software\\Local AppWizard-Generated Applications\\Mikra";
    static constexpr const wchar_t* kRecentFileSection = L"Recent File List";

    CMikraApp();

    CMainFrame* GetMainFrame() const;
    // Folders with a trailing backslash, settled from Config.ini.
    std::wstring GetVideoFolder();
    std::wstring GetPictureFolder();
    std::wstring GetFilesFolder();
    // Writes a chosen folder under its [Option] key ("PicF", "AviF" or
    // "XWF") and keeps the copy of it here.
    void StoreFolder(const wchar_t* key, const std::wstring& folder);
    // A drawing document opened or saved: first in the File menu's list.
    void AddRecentDocument(const std::wstring& path) { m_recentFiles.Add(path); }

    int m_nLanguage = 0;
    std::wstring m_strPictureFolder;
    std::wstring m_strVideoFolder;
    std::wstring m_strFilesFolder;
    std::wstring m_strConfigPath;
    CIniFile m_ini;
    int m_bDrawAD = 0;
    int m_bExportWordPicAutoSize = 0;
    int m_bExportExcelPic = 0;
    int m_bExportExcelOne = 0;
    int m_bExportExcelOneDefault = 0;
    std::wstring m_strExportExcelOneFile;

protected:
    bool InitInstance() override;
    int ExitInstance() override;
    // The view sees its messages first (keys with Ctrl, the video's mouse points).
    bool PreTranslateMessage(MSG& message) override;
    void OnInitMenuPopup(HMENU menu) override;

private:
    void HandOverToFirstInstance() const;
    bool LoadLanguageLibrary();
    void ReadExportOptions();
    void WriteExportOptions();
    std::wstring SettleFolder(const wchar_t* key, const wchar_t* fallbackName);
    void OnAppAbout();
    void OnHelp();
    void OnAppExit();
    // Opens a recent document in the view; one whose file is gone leaves
    // the list.
    void OnOpenRecentFile(UINT id);

    UniqueKernelHandle m_hMutex;
    UniqueModule m_hLanguageLib;
    bool m_comInitialised = false;
    // The export options are written back only when start-up read them.
    bool m_startupComplete = false;
    std::unique_ptr<CSingleDocTemplate> m_docTemplate;
    CRecentFileList m_recentFiles{kProfileKey, kRecentFileSection, ID_FILE_MRU_FILE1, 4};
    // The main frame's keys, from the language library (freed with it).
    HACCEL m_accelerators = nullptr;
};

CMikraApp& GetMikraApp();

// "%d.%d.%d.%d" of the program file's version record (the second and fourth
// numbers keep their low 8 bits); empty without one.
std::wstring GetProgramVersion();
// The same text from the record's two most and least significant words.
std::wstring FormatProgramVersion(DWORD versionMS, DWORD versionLS);
