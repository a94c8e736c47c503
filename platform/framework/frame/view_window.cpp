#include "view_window.h"

#include "printer_settings.h"
#include "resource_module.h"

CViewWindow::CViewWindow() {
    OnCommand(kFilePrint, [this] { OnFilePrint(false); });
    OnCommand(kFilePrintDirect, [this] { OnFilePrint(true); });
}

bool CViewWindow::Create(HWND parent, UINT id, CDocument* document) {
    m_document = document;
    if (!RegisterWindowClass(kClassName, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1))) {
        return false;
    }
    return CreateEx(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, RECT{0, 0, 0, 0},
                    parent, id);
}

bool CViewWindow::DoPreparePrinting(CPrintInfo& info) {
    CPrinterSettings& settings = GetPrinterSettings();
    if (info.direct) {
        info.printer = settings.CreatePrinter();
        return true;
    }
    HWND owner = m_hWnd != nullptr ? ::GetAncestor(m_hWnd, GA_ROOT) : nullptr;
    CPrinterSettings::Choice choice = settings.AskPrinter(owner);
    info.printer = std::move(choice.printer);
    return !choice.cancelled;
}

void CViewWindow::OnPrint(HDC dc, CPrintInfo&) { OnDraw(dc); }

void CViewWindow::OnPrintFailed() {
    std::wstring text = LoadResourceString(kPrintFailedString);
    if (text.empty()) {
        text = L"The document could not be printed.";
    }
    HWND owner = m_hWnd != nullptr ? ::GetAncestor(m_hWnd, GA_ROOT) : nullptr;
    ::MessageBoxW(owner, text.c_str(), nullptr, MB_OK | MB_ICONEXCLAMATION);
}

CViewWindow::PrintResult CViewWindow::OnFilePrint(bool direct) {
    CPrintInfo info;
    info.direct = direct;
    if (!OnPreparePrinting(info)) {
        return PrintResult::cancelled;
    }
    HDC dc = info.printer.Get();
    wchar_t title[256] = {};
    if (m_hWnd != nullptr) {
        ::GetWindowTextW(::GetAncestor(m_hWnd, GA_ROOT), title, 256);
    }
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = title[0] != L'\0' ? title : L"Vizcam";
    if (dc == nullptr || ::StartDocW(dc, &document) <= 0) {
        OnPrintFailed();
        return PrintResult::failed;
    }
    OnBeginPrinting(dc, info);
    // A view that does not say how many pages it has prints one.
    const int lastPage = info.maxPage == 0xFFFF ? info.minPage : info.maxPage;
    bool printed = true;
    for (int page = info.minPage; page <= lastPage && printed; ++page) {
        info.currentPage = page;
        info.drawArea = RECT{0, 0, ::GetDeviceCaps(dc, HORZRES), ::GetDeviceCaps(dc, VERTRES)};
        if (::StartPage(dc) <= 0) {
            printed = false;
            break;
        }
        OnPrint(dc, info);
        printed = ::EndPage(dc) > 0;
    }
    if (printed) {
        printed = ::EndDoc(dc) > 0;
    } else {
        ::AbortDoc(dc);
    }
    OnEndPrinting(dc, info);
    if (!printed) {
        OnPrintFailed();
        return PrintResult::failed;
    }
    return PrintResult::printed;
}
