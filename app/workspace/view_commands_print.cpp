// The view's print commands, on the current picture only and with a picture
// shown, any interaction ended first. Print runs the framework's print job
// (printing directly is the framework's command as it stands); print by
// calibration shows the picture at the physical size of the calibration
// and magnification chosen in dialog 158 and, on OK, prints it at that size
// through the framework's print job; its preview button only shows it.
#include "mikra_view.h"
#include "print_scale_dlg.h"
#include "printer_settings.h"
#include "resource.h"

void RegisterPrintCommands(CMikraView& view) {
    // The printer and its settings the next print job starts from.
    view.OnCommand(ID_FILE_PRINT_SETUP, [&view] { GetPrinterSettings().AskSetup(view.m_hWnd); });
    view.OnCommand(ID_FILE_PRINT, [&view] {
        if (view.IsVideoActive() || !view.m_current->HasWindow()) {
            return;
        }
        view.m_current->CancelInteraction();
        view.OnFilePrint(false);
    });
    view.OnCommand(ID_PRINT_BY_CALIBRATION, [&view] {
        if (view.IsVideoActive() || !view.m_current->HasWindow()) {
            return;
        }
        view.m_current->CancelInteraction();
        CPrintScaleDlg dialog(view.m_hWnd);
        if (const std::wstring& path = view.m_controllerHost.GetScaleIniPath(); !path.empty()) {
            dialog.m_strScalePath = path;
        }
        if (dialog.DoModal() != IDOK) {
            return;
        }
        const std::u16string unit(dialog.m_strUnit.begin(), dialog.m_strUnit.end());
        view.m_current->ShowAtPrintSize(static_cast<int>(dialog.m_nMagnification), dialog.m_fValue, unit);
        InvalidateRect(view.m_hWnd, nullptr, TRUE);
        if (dialog.m_nPreview == 0) {
            view.OnFilePrint(false);
        }
    });
}
