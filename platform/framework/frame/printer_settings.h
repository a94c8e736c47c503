#pragma once
// The application's printer choice: the printer and its settings the user
// last confirmed in the print dialog (the system's default printer until
// then). One per process, as every print job of the program shares it.
#include <windows.h>

#include <commdlg.h>

#include "print_info.h"
#include "unique_handle.h"

using UniqueGlobal = UniqueHandle<HGLOBAL, &GlobalFree>;

class CPrinterSettings {
public:
    // The print dialog over `owner`, starting at the current choice; on OK
    // the choice becomes the user's and its printer is returned. No printer
    // when the user cancelled or the dialog failed (no printer installed).
    struct Choice {
        UniquePrinterDC printer;
        bool cancelled = false;
    };
    Choice AskPrinter(HWND owner);
    // The print setup dialog over `owner` (printer, paper, orientation),
    // starting at the current choice; on OK its answer becomes the choice.
    // False when the user cancelled or the dialog could not run.
    bool AskSetup(HWND owner);
    // The current choice's printer without asking; empty when there is no
    // printer.
    UniquePrinterDC CreatePrinter();
    // Sets the orientation (DMORIENT_PORTRAIT or DMORIENT_LANDSCAPE) of the
    // current choice, loading the default printer's settings first when
    // there are none; false when there is no printer.
    bool SetOrientation(short orientation);
    // The orientation of the current choice; 0 when there is none.
    short GetOrientation() const;

private:
    bool LoadDefaults();
    // Runs the print dialog with these flags over the current choice, which
    // takes the settings the dialog hands back.
    BOOL RunDialog(HWND owner, DWORD flags, PRINTDLGW& dialog);
    UniqueGlobal m_devMode;
    UniqueGlobal m_devNames;
};

CPrinterSettings& GetPrinterSettings();
