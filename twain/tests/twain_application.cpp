#include "twain_application.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace twain::test {

TwainApplication::TwainApplication() {
    app_.Version.MajorNum = 1;
    app_.Version.Language = 2;
    app_.Version.Country = 1;
    std::strcpy(app_.Version.Info, "test");
    app_.ProtocolMajor = 1;
    app_.ProtocolMinor = 8;
    app_.SupportedGroups = DG_CONTROL | DG_IMAGE;
    std::strcpy(app_.Manufacturer, "Vizcam tests");
    std::strcpy(app_.ProductFamily, "Tests");
    std::strcpy(app_.ProductName, "TWAIN test application");

    window_ = CreateWindowExW(0, L"STATIC", L"TWAIN application", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    library_ = LoadLibraryW(L"twain_32.dll");
    if (library_ == nullptr) return;
    entry_ = reinterpret_cast<DsmEntry>(reinterpret_cast<void*>(GetProcAddress(library_, "DSM_Entry")));
    if (entry_ == nullptr) return;
    HWND parent = window_;
    managerOpen_ = Manager(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &parent) == TWRC_SUCCESS;
}

TwainApplication::~TwainApplication() {
    if (managerOpen_) {
        HWND parent = window_;
        Manager(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &parent);
    }
    if (library_ != nullptr) FreeLibrary(library_);
    if (window_ != nullptr) DestroyWindow(window_);
}

TW_UINT16 TwainApplication::Manager(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    return entry_ ? entry_(&app_, nullptr, dg, dat, msg, data) : TWRC_FAILURE;
}

TW_UINT16 TwainApplication::Source(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    return entry_ ? entry_(&app_, &source_, dg, dat, msg, data) : TWRC_FAILURE;
}

bool TwainApplication::FindSource(const char* family) {
    TW_IDENTITY found{};
    TW_UINT16 rc = Manager(DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &found);
    while (rc == TWRC_SUCCESS) {
        if (std::strncmp(found.ProductFamily, family, sizeof found.ProductFamily) == 0) {
            source_ = found;
            return true;
        }
        found = TW_IDENTITY{};
        rc = Manager(DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT, &found);
    }
    return false;
}

TW_UINT16 TwainApplication::OpenSource() { return Manager(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &source_); }

TW_UINT16 TwainApplication::CloseSource() { return Manager(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &source_); }

TW_UINT16 TwainApplication::Enable(bool showUI) {
    TW_USERINTERFACE ui{static_cast<TW_BOOL>(showUI ? 1 : 0), 0, window_};
    return Source(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
}

TW_UINT16 TwainApplication::SourceStatus() {
    TW_STATUS status{0xFFFF, 0};
    if (Source(DG_CONTROL, DAT_STATUS, MSG_GET, &status) != TWRC_SUCCESS) return 0xFFFF;
    return status.ConditionCode;
}

void TwainApplication::RunPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TW_EVENT event{&msg, MSG_NULL};
        const TW_UINT16 rc = Source(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
        if (rc == TWRC_DSEVENT) {
            if (event.TWMessage != MSG_NULL) received_.push_back(event.TWMessage);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool TwainApplication::WaitForSourceMessage(TW_UINT16 msg, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    const auto seen = [&] { return std::find(received_.begin(), received_.end(), msg) != received_.end(); };
    for (;;) {
        RunPending();
        if (seen()) {
            received_.erase(std::find(received_.begin(), received_.end(), msg));
            return true;
        }
        if (GetTickCount64() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

void TwainApplication::Pump(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    while (GetTickCount64() < end) {
        RunPending();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

std::vector<TW_UINT16> TwainApplication::TakeSourceMessages() {
    RunPending();
    return std::exchange(received_, {});
}

}  // namespace twain::test
