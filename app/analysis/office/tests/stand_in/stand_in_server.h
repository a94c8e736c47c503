#pragma once
// What every automation object of the stand-in server shares: a dispatch
// base with a member table (so calls are logged by name and unknown ids
// refused), the call log, the failure asked for and the server's life.
#include <windows.h>
#include <oleauto.h>

#include <atomic>
#include <string>
#include <vector>

// The settings the test wrote under the class's key: "Log" (file of calls),
// "Fail" ("Object.Member" whose next call fails), "Version", "UnknownStyle"
// (a style name the word processor does not know).
std::wstring StandInSetting(const wchar_t* name);
void LogLine(const std::string& line);

// Live objects of the server; it ends when none is left after a Quit.
void ObjectCreated();
void ObjectReleased();
void QuitRequested();

struct Member {
    DISPID id;
    const char* name;
};

// One argument as the caller gave it (first argument first).
using Args = std::vector<VARIANT>;
std::wstring ArgText(const VARIANT& value);
bool IsOmitted(const VARIANT& value);

class StandInObject : public IDispatch {
public:
    StandInObject(const char* type, std::vector<Member> members);
    virtual ~StandInObject();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT*) override;

protected:
    // Answers a known member; `put` is set for a property put, whose value
    // is the last argument.
    virtual HRESULT Call(DISPID id, bool put, const Args& args, VARIANT* result) = 0;
    static HRESULT Fail(const wchar_t* why);

private:
    const char* type_;
    std::vector<Member> members_;
    std::atomic<long> refs_{1};
};

// Hands `object` (a new reference) back as the result.
HRESULT ReturnObject(StandInObject* object, VARIANT* result);
HRESULT ReturnText(const std::wstring& text, VARIANT* result);
HRESULT ReturnDouble(double value, VARIANT* result);
HRESULT ReturnLong(long value, VARIANT* result);
std::wstring TextOf(const VARIANT& value);
double DoubleOf(const VARIANT& value);
long LongOf(const VARIANT& value);

// The object served for the class the server was started for.
StandInObject* CreateSpreadsheetApplication();
StandInObject* CreateWordApplication();

// The running-object table entry of an open file.
DWORD RegisterRunningFile(IUnknown* object, const std::wstring& path);
void RevokeRunningFile(DWORD& cookie);
