#pragma once
// A PostScript printer in the Wine prefix that prints into files, and
// Ghostscript to turn a printed page into pixels. Wine's PostScript driver
// needs no print system: its generic PPD, which winspool.drv carries as
// resource "PPDFILE" 1, goes into the driver folder, and the printer sits on
// port "FILE:" while each job names its output file. Tests only.
#include <windows.h>
#include <winspool.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "picture.h"
#include "unix_command.h"

namespace print_testing {

namespace fs = std::filesystem;

inline constexpr const wchar_t* kPrinterName = L"Vizcam Test PostScript";
inline constexpr const wchar_t* kDriverName = L"Wine PostScript Driver";

struct DcDeleter {
    void operator()(HDC dc) const { ::DeleteDC(dc); }
};
using UniqueDC = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

// Adds the printer `name` on `port` with the PostScript driver; true when
// it is there. A port that is a file path receives each job's output.
inline bool AddPostScriptPrinter(const wchar_t* name, const std::wstring& port) {
    PRINTER_INFO_2W printer{};
    printer.pPrinterName = const_cast<wchar_t*>(name);
    printer.pPortName = const_cast<wchar_t*>(port.c_str());
    printer.pDriverName = const_cast<wchar_t*>(kDriverName);
    printer.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
    printer.pDatatype = const_cast<wchar_t*>(L"RAW");
    if (HANDLE added = ::AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&printer)); added != nullptr) {
        ::ClosePrinter(added);
        return true;
    }
    return ::GetLastError() == ERROR_PRINTER_ALREADY_EXISTS;
}

// Installs the driver and the printer once per prefix; true when the printer
// is there.
inline bool InstallPostScriptPrinter() {
    HMODULE spooler = ::LoadLibraryW(L"winspool.drv");
    HRSRC resource = spooler != nullptr ? ::FindResourceW(spooler, MAKEINTRESOURCEW(1), L"PPDFILE") : nullptr;
    if (resource == nullptr) {
        return false;
    }
    const void* ppd = ::LockResource(::LoadResource(spooler, resource));
    const DWORD ppdSize = ::SizeofResource(spooler, resource);
    wchar_t folder[MAX_PATH] = {};
    DWORD needed = 0;
    if (ppd == nullptr ||
        !::GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder), sizeof folder, &needed)) {
        return false;
    }
    const fs::path ppdPath = fs::path(folder) / L"vizcam_test.ppd";
    HANDLE file = ::CreateFileW(ppdPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool wrote = ::WriteFile(file, ppd, ppdSize, &written, nullptr) && written == ppdSize;
    ::CloseHandle(file);
    if (!wrote) {
        return false;
    }
    DRIVER_INFO_3W driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<wchar_t*>(kDriverName);
    driver.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
    driver.pDataFile = const_cast<wchar_t*>(L"vizcam_test.ppd");
    driver.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
    ::AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&driver));
    return AddPostScriptPrinter(kPrinterName, L"FILE:");
}

inline UniqueDC CreatePrinterDC() { return UniqueDC(::CreateDCW(L"WINSPOOL", kPrinterName, nullptr, nullptr)); }

// One page drawn by `draw` into the PostScript file `output`.
inline bool PrintPage(HDC printer, const fs::path& output, const std::function<void(HDC)>& draw) {
    const std::wstring target = output.wstring();
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = L"vizcam test page";
    document.lpszOutput = target.c_str();
    if (::StartDocW(printer, &document) <= 0) {
        return false;
    }
    ::StartPage(printer);
    draw(printer);
    ::EndPage(printer);
    return ::EndDoc(printer) > 0;
}

// The page of `postscript` rendered by Ghostscript at `dpi`, as pixels.
inline std::optional<CPicture> RenderPage(const fs::path& postscript, int dpi) {
    const fs::path png = fs::path(postscript).replace_extension(L".png");
    const fs::path partial = fs::path(postscript).replace_extension(L".part");
    fs::remove(png);
    const std::string script = "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r" + std::to_string(dpi) +
                               " -sOutputFile=" + unix_testing::Quoted(unix_testing::UnixPath(partial)) + " " +
                               unix_testing::Quoted(unix_testing::UnixPath(postscript)) + " && mv " +
                               unix_testing::Quoted(unix_testing::UnixPath(partial)) + " " +
                               unix_testing::Quoted(unix_testing::UnixPath(png));
    if (!unix_testing::RunShell(script, png)) {
        return std::nullopt;
    }
    CPicture page(png, kPicturePng);
    if (!page.IsValid()) {
        return std::nullopt;
    }
    return page;
}

// The bounding box of the pixels `matches` accepts; empty when none does.
inline RECT InkBox(const CPicture& picture, const std::function<bool(std::uint32_t rgb)>& matches,
                   RECT within = RECT{0, 0, 0x7FFFFFFF, 0x7FFFFFFF}) {
    RECT box{0x7FFFFFFF, 0x7FFFFFFF, 0, 0};
    const int right = std::min<int>(within.right, picture.GetWidth());
    const int bottom = std::min<int>(within.bottom, picture.GetHeight());
    for (int y = std::max<int>(within.top, 0); y < bottom; ++y) {
        for (int x = std::max<int>(within.left, 0); x < right; ++x) {
            if (matches(picture.GetPixelColor(x, y))) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        }
    }
    if (box.right == 0) {
        return RECT{0, 0, 0, 0};
    }
    return box;
}

}  // namespace print_testing
