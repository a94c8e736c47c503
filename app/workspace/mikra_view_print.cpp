// The view's print job: the print dialog chooses the printer, every job is
// one page, and the page is the current picture with its objects at its
// calibrated size (the controller's print settings).
#include "mikra_view.h"
#include "printer_settings.h"
#include "wait_cursor.h"

bool CMikraView::OnPreparePrinting(CPrintInfo& info) { return DoPreparePrinting(info); }

void CMikraView::OnBeginPrinting(HDC, CPrintInfo& info) { info.maxPage = 1; }

void CMikraView::OnEndPrinting(HDC, CPrintInfo&) {}

void CMikraView::OnPrint(HDC dc, CPrintInfo& info) {
    // The calibrated page is laid out from the top-left corner of a
    // portrait page; later jobs start from portrait again.
    GetPrinterSettings().SetOrientation(DMORIENT_PORTRAIT);
    {
        WaitCursor wait;
        m_current->PrintCalibrated(dc);
    }
    CScrollView::OnPrint(dc, info);
}
