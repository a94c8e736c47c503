#include "hotkey_help_dlg.h"

#include "resource.h"

CHotkeyHelpDlg::CHotkeyHelpDlg(HWND parent) : CDialog(IDD_HOTKEY_HELP, parent) {}
