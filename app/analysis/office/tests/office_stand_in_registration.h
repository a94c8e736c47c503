#pragma once
// Registers the Office stand-in server (bin/office_fixtures) in the test
// prefix under a ProgID for the life of the object, with the file its calls
// are logged to, the member it fails, the style name it does not know and
// the version it answers; reads the log back. A registration may also name a server that does not exist.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "stand_in_ids.h"

class OfficeStandIn {
public:
    enum class Server { present, missing };

    OfficeStandIn(const wchar_t* progId, const wchar_t* clsid, std::filesystem::path log, Server server = Server::present)
        : progId_(progId), classKey_(std::wstring(L"Software\\Classes\\CLSID\\") + clsid), log_(std::move(log)) {
        wchar_t exe[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        const std::filesystem::path folder = std::filesystem::path(exe).parent_path() / L"office_fixtures";
        const std::wstring program =
            (server == Server::present ? folder / L"office_stand_in.exe" : folder / L"no_such_server.exe").wstring();
        const bool word = std::wstring(progId) == L"Word.Application";
        std::filesystem::remove(log_);
        ok_ = Set(std::wstring(L"Software\\Classes\\") + progId + L"\\CLSID", nullptr, clsid) &&
              Set(classKey_ + L"\\LocalServer32", nullptr, L"\"" + program + L"\"" + (word ? L" word" : L" excel")) &&
              Set(classKey_ + L"\\StandIn", L"Log", log_.wstring()) && Set(classKey_ + L"\\StandIn", L"Fail", L"") &&
              Set(classKey_ + L"\\StandIn", L"UnknownStyle", L"");
    }
    ~OfficeStandIn() {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(L"Software\\Classes\\") + progId_).c_str());
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, classKey_.c_str());
    }
    OfficeStandIn(const OfficeStandIn&) = delete;
    OfficeStandIn& operator=(const OfficeStandIn&) = delete;

    bool Registered() const { return ok_; }
    // The member ("Object.Member") whose calls fail from now on; "" for none.
    void FailMember(const std::wstring& member) { Set(classKey_ + L"\\StandIn", L"Fail", member); }
    // The style name the word processor refuses from now on; "" for none.
    void RefuseStyle(const std::wstring& name) { Set(classKey_ + L"\\StandIn", L"UnknownStyle", name); }

    std::vector<std::string> Calls() const {
        std::vector<std::string> calls;
        for (const std::string& line : LogLines()) {
            if (line.rfind(kProcessLine, 0) != 0) calls.push_back(line);
        }
        return calls;
    }
    bool Logged(const std::string& call) const {
        for (const std::string& line : Calls()) {
            if (line == call) return true;
        }
        return false;
    }
    // Waits until every server started has ended; true when each ended after
    // a Quit, false when one is still running or ended without one.
    bool AllEndedAfterQuit(std::chrono::seconds patience = std::chrono::seconds(15)) const {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        for (;;) {
            int created = 0, ended = 0, endedWithoutQuit = 0;
            for (const std::string& line : Calls()) {
                created += line == "Created";
                ended += line == "Ended";
                endedWithoutQuit += line == "Ended without Quit";
            }
            if (endedWithoutQuit > 0) return false;
            if (created == ended) return ServersExited(deadline);
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }

    // Waits until every server started has ended, with or without a Quit
    // (a server nobody holds any more ends on its own after a while).
    bool AllEnded(std::chrono::seconds patience) const {
        return ServersExited(std::chrono::steady_clock::now() + patience);
    }

private:
    static constexpr const char* kProcessLine = "Process ";

    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        std::ifstream in(log_);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    // A server has written "Ended" a moment before it closes the log, so
    // the log may only be replaced once every server process has gone.
    bool ServersExited(std::chrono::steady_clock::time_point deadline) const {
        for (const std::string& line : LogLines()) {
            if (line.rfind(kProcessLine, 0) != 0) continue;
            const DWORD id = static_cast<DWORD>(std::stoul(line.substr(std::strlen(kProcessLine))));
            HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
            if (!process) continue;  // already gone
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            const DWORD waited = WaitForSingleObject(process, static_cast<DWORD>(std::max<long long>(left.count(), 0)));
            CloseHandle(process);
            if (waited != WAIT_OBJECT_0) return false;
        }
        return true;
    }

    static bool Set(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
        return RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, REG_SZ, value.c_str(),
                               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }

    std::wstring progId_;
    std::wstring classKey_;
    std::filesystem::path log_;
    bool ok_ = false;
};
