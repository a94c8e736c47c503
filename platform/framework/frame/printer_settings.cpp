#include "printer_settings.h"

#include <commdlg.h>

#include <string>

namespace {

// Locks a global block for as long as it is read or changed.
template <typename T>
class LockedGlobal {
public:
    explicit LockedGlobal(HGLOBAL block)
        : m_block(block), m_data(block ? static_cast<T*>(::GlobalLock(block)) : nullptr) {}
    ~LockedGlobal() {
        if (m_data != nullptr) {
            ::GlobalUnlock(m_block);
        }
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    T* Get() const { return m_data; }

private:
    HGLOBAL m_block;
    T* m_data;
};

// The printer `devNames` names, with `devMode`'s settings.
UniquePrinterDC CreatePrinterFrom(HGLOBAL devNames, HGLOBAL devMode) {
    const LockedGlobal<DEVNAMES> names(devNames);
    if (names.Get() == nullptr) {
        return UniquePrinterDC();
    }
    const auto* base = reinterpret_cast<const wchar_t*>(names.Get());
    const std::wstring driver = base + names.Get()->wDriverOffset;
    const std::wstring device = base + names.Get()->wDeviceOffset;
    const LockedGlobal<DEVMODEW> mode(devMode);
    return UniquePrinterDC(::CreateDCW(driver.c_str(), device.c_str(), nullptr, mode.Get()));
}

}  // namespace

bool CPrinterSettings::LoadDefaults() {
    if (m_devNames) {
        return true;
    }
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.Flags = PD_RETURNDEFAULT;
    if (!::PrintDlgW(&dialog)) {
        return false;
    }
    m_devMode.Reset(dialog.hDevMode);
    m_devNames.Reset(dialog.hDevNames);
    return true;
}

BOOL CPrinterSettings::RunDialog(HWND owner, DWORD flags, PRINTDLGW& dialog) {
    LoadDefaults();
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.hDevMode = m_devMode.Get();
    dialog.hDevNames = m_devNames.Get();
    dialog.Flags = flags;
    const BOOL confirmed = ::PrintDlgW(&dialog);
    // The dialog may have replaced the blocks it was given; they are ours
    // either way.
    m_devMode.Release();
    m_devNames.Release();
    m_devMode.Reset(dialog.hDevMode);
    m_devNames.Reset(dialog.hDevNames);
    return confirmed;
}

CPrinterSettings::Choice CPrinterSettings::AskPrinter(HWND owner) {
    PRINTDLGW dialog{};
    dialog.nMinPage = 1;
    dialog.nMaxPage = 1;
    const BOOL confirmed =
        RunDialog(owner, PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE, dialog);
    Choice choice;
    choice.printer.Reset(dialog.hDC);
    if (!confirmed) {
        choice.printer.Reset();
        // The user's cancel leaves no error; a dialog that could not run does.
        choice.cancelled = ::CommDlgExtendedError() == 0;
    }
    return choice;
}

bool CPrinterSettings::AskSetup(HWND owner) {
    PRINTDLGW dialog{};
    return RunDialog(owner, PD_PRINTSETUP, dialog) != FALSE;
}

UniquePrinterDC CPrinterSettings::CreatePrinter() {
    if (!LoadDefaults()) {
        return UniquePrinterDC();
    }
    return CreatePrinterFrom(m_devNames.Get(), m_devMode.Get());
}

bool CPrinterSettings::SetOrientation(short orientation) {
    if (!LoadDefaults()) {
        return false;
    }
    const LockedGlobal<DEVMODEW> mode(m_devMode.Get());
    if (mode.Get() == nullptr) {
        return false;
    }
    mode.Get()->dmOrientation = orientation;
    mode.Get()->dmFields |= DM_ORIENTATION;
    return true;
}

short CPrinterSettings::GetOrientation() const {
    const LockedGlobal<DEVMODEW> mode(m_devMode.Get());
    return mode.Get() != nullptr ? mode.Get()->dmOrientation : 0;
}

CPrinterSettings& GetPrinterSettings() {
    static CPrinterSettings settings;
    return settings;
}
