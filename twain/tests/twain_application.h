#pragma once
// A TWAIN application for the tests: it talks to the data source only
// through the source manager twain_32.dll, with a window of its own and
// a message loop that offers every message to the source first.

#include <windows.h>

#include <vector>

#include "twain_protocol.h"

namespace twain::test {

class TwainApplication {
public:
    TwainApplication();
    ~TwainApplication();
    TwainApplication(const TwainApplication&) = delete;
    TwainApplication& operator=(const TwainApplication&) = delete;

    bool Ready() const { return entry_ != nullptr && managerOpen_; }
    TW_UINT16 Manager(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);
    TW_UINT16 Source(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);

    // Walks the manager's list for the family; true when found.
    bool FindSource(const char* family);
    TW_UINT16 OpenSource();
    TW_UINT16 CloseSource();
    TW_UINT16 Enable(bool showUI);
    // The source's condition code (DAT_STATUS).
    TW_UINT16 SourceStatus();

    // Runs messages, each offered to the source first, until the source
    // has sent msg (consumed) or the time has passed.
    bool WaitForSourceMessage(TW_UINT16 msg, DWORD timeoutMs = 10000);
    // Runs messages for a while without waiting for anything.
    void Pump(DWORD ms);
    std::vector<TW_UINT16> TakeSourceMessages();

    const TW_IDENTITY& SourceIdentity() const { return source_; }
    HWND Window() const { return window_; }

private:
    using DsmEntry = TW_UINT16(WINAPI*)(TW_IDENTITY*, TW_IDENTITY*, TW_UINT32, TW_UINT16, TW_UINT16, TW_MEMREF);
    void RunPending();

    HMODULE library_ = nullptr;
    DsmEntry entry_ = nullptr;
    HWND window_ = nullptr;
    bool managerOpen_ = false;
    TW_IDENTITY app_{};
    TW_IDENTITY source_{};
    std::vector<TW_UINT16> received_;
};

}  // namespace twain::test
