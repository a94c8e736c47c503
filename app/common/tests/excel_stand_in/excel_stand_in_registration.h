#pragma once
// Registers the spreadsheet stand-in of this folder's DLL as
// "Excel.Application" in the test prefix for the life of the object, with
// the version it answers and a record file of the calls it received.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "excel_stand_in_ids.h"

class ExcelStandInRegistration {
public:
    ExcelStandInRegistration(const std::wstring& version, std::filesystem::path record) : record_(std::move(record)) {
        wchar_t exe[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        const std::wstring dll = (std::filesystem::path(exe).parent_path() / L"excel_stand_in.dll").wstring();
        const std::wstring classKey = kExcelStandInClassKey;
        ok_ = Set(L"Software\\Classes\\Excel.Application\\CLSID", nullptr, kExcelStandInClsidText) &&
              Set(classKey + L"\\InprocServer32", nullptr, dll) &&
              Set(classKey + L"\\InprocServer32", L"ThreadingModel", L"Both") &&
              Set(classKey + L"\\StandIn", L"Version", version) &&
              Set(classKey + L"\\StandIn", L"Record", record_.wstring());
    }
    ~ExcelStandInRegistration() {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\Excel.Application");
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kExcelStandInClassKey);
        CoFreeUnusedLibraries();
    }
    ExcelStandInRegistration(const ExcelStandInRegistration&) = delete;
    ExcelStandInRegistration& operator=(const ExcelStandInRegistration&) = delete;

    bool Registered() const { return ok_; }
    // The calls recorded so far, one per line.
    std::vector<std::string> Calls() const {
        std::vector<std::string> calls;
        std::ifstream in(record_);
        for (std::string line; std::getline(in, line);) calls.push_back(line);
        return calls;
    }

private:
    static bool Set(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
        return RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, REG_SZ, value.c_str(),
                               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }

    std::filesystem::path record_;
    bool ok_ = false;
};
