#pragma once
// A test's view of the test source's extension properties: the store every
// instance shares and the log of the property calls made on it, reached
// through the fixture library's exports (the library the platform loads for
// the source, loaded here by the same full path).
#include <windows.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "fixture_registration.h"

namespace dshow_fixtures {

class SourceProperties {
public:
    SourceProperties() : library_(LoadLibraryW(FixtureLibrary().c_str())) {
        reset_ = Bind<void(__stdcall*)()>("TestSource_ResetProperties");
        set_ = Bind<void(__stdcall*)(DWORD, LONG)>("TestSource_SetProperty");
        get_ = Bind<BOOL(__stdcall*)(DWORD, LONG*)>("TestSource_GetProperty");
        log_ = Bind<DWORD(__stdcall*)(char*, DWORD)>("TestSource_CallLog");
        if (Loaded()) reset_();
    }
    ~SourceProperties() {
        if (library_) FreeLibrary(library_);
    }
    SourceProperties(const SourceProperties&) = delete;
    SourceProperties& operator=(const SourceProperties&) = delete;

    bool Loaded() const { return reset_ && set_ && get_ && log_; }
    // Empties the store and the log.
    void Reset() const { reset_(); }
    void Set(DWORD id, LONG value) const { set_(id, value); }
    // None for a property nobody wrote.
    std::optional<LONG> Get(DWORD id) const {
        LONG value = 0;
        return get_(id, &value) ? std::optional<LONG>(value) : std::nullopt;
    }
    // "Get <set> <id>" and "Set <set> <id> <value>", <set> the candidate's
    // place in the probing order (0 for none of them).
    std::vector<std::string> Calls() const {
        std::string text(log_(nullptr, 0) + 1, '\0');
        text.resize(log_(text.data(), static_cast<DWORD>(text.size())));
        std::vector<std::string> calls;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) calls.push_back(line);
        return calls;
    }

private:
    template <typename Function>
    Function Bind(const char* name) const {
        return library_ ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library_, name))) : nullptr;
    }

    HMODULE library_;
    void(__stdcall* reset_)() = nullptr;
    void(__stdcall* set_)(DWORD, LONG) = nullptr;
    BOOL(__stdcall* get_)(DWORD, LONG*) = nullptr;
    DWORD(__stdcall* log_)(char*, DWORD) = nullptr;
};

}  // namespace dshow_fixtures
