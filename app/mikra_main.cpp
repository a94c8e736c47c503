// Program entry: reads the language number from Config.ini, takes the
// matching language library as the resource module and greets the user.
// The main frame takes the greeting's place once it exists.
#include <windows.h>

#include <string>

#include "ini_file.h"
#include "prompt_dlg.h"
#include "resource_module.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    CIniFile ini;
    int language = 1;
    ini.GetInt(language, L"Option", L"LAN", 0);

    const std::wstring libraryName = L"Lan_" + std::to_wstring(language) + L".dll";
    HMODULE languageLibrary = LoadLibraryW(libraryName.c_str());
    if (!languageLibrary) {
        return 0;  // without its texts the program cannot run
    }
    SetResourceModule(languageLibrary);

    CPromptDlg prompt(L"Vizcam Viewer", L"Vizcam", 0);
    prompt.DoModal();

    SetResourceModule(nullptr);
    FreeLibrary(languageLibrary);
    return 0;
}
