// A local automation server standing in for an Office program in the
// tests: started by COM for "Excel.Application" or "Word.Application" as
// the test prefix registers them, it serves the members the exports use,
// logs each call with its arguments to the file its registration names,
// fails the member it is told to, and keeps running, hidden, until the
// client has said Quit and released everything (or, left without Quit,
// until a while after the last release, as a leftover a test can see).
#include "stand_in_server.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <new>

#include "stand_in_ids.h"
#include "workbook_model.h"

namespace {

std::atomic<long> g_objects{0};
std::atomic<bool> g_quit{false};
bool g_created = false;
DWORD g_mainThread = 0;
const wchar_t* g_classKey = nullptr;
constexpr UINT_PTR kLeftoverTimer = 1;
constexpr UINT kLeftoverMs = 20000;
constexpr UINT kCheckEnd = WM_APP + 1;

class Factory final : public IClassFactory {
public:
    explicit Factory(bool word) : word_(word) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        g_created = true;
        LogLine("Created");
        StandInObject* application = word_ ? CreateWordApplication() : CreateSpreadsheetApplication();
        const HRESULT result = application->QueryInterface(iid, out);
        application->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    bool word_;
};

}  // namespace

std::wstring StandInSetting(const wchar_t* name) {
    wchar_t buffer[1024] = {};
    DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
    const std::wstring key = std::wstring(L"Software\\Classes\\CLSID\\") + g_classKey + L"\\StandIn";
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS) {
        return {};
    }
    return buffer;
}

void LogLine(const std::string& line) {
    const std::wstring path = StandInSetting(L"Log");
    if (!path.empty()) std::ofstream(path.c_str(), std::ios::app | std::ios::binary) << line << '\n';
}

void ObjectCreated() { ++g_objects; }

void ObjectReleased() {
    if (--g_objects == 0) PostThreadMessageW(g_mainThread, kCheckEnd, 0, 0);
}

void QuitRequested() {
    g_quit = true;
    PostThreadMessageW(g_mainThread, kCheckEnd, 0, 0);
}

bool IsOmitted(const VARIANT& value) { return V_VT(&value) == VT_ERROR && V_ERROR(&value) == DISP_E_PARAMNOTFOUND; }

std::wstring TextOf(const VARIANT& value) {
    VARIANT text;
    VariantInit(&text);
    if (FAILED(VariantChangeType(&text, const_cast<VARIANT*>(&value), 0, VT_BSTR))) return {};
    std::wstring out = V_BSTR(&text) ? std::wstring(V_BSTR(&text), SysStringLen(V_BSTR(&text))) : std::wstring();
    VariantClear(&text);
    return out;
}

double DoubleOf(const VARIANT& value) {
    VARIANT number;
    VariantInit(&number);
    if (FAILED(VariantChangeType(&number, const_cast<VARIANT*>(&value), 0, VT_R8))) return 0;
    return V_R8(&number);
}

long LongOf(const VARIANT& value) {
    VARIANT number;
    VariantInit(&number);
    if (FAILED(VariantChangeType(&number, const_cast<VARIANT*>(&value), 0, VT_I4))) return 0;
    return V_I4(&number);
}

std::wstring ArgText(const VARIANT& value) {
    if (IsOmitted(value)) return L"-";
    switch (V_VT(&value)) {
    case VT_BSTR: return L"'" + TextOf(value) + L"'";
    case VT_BOOL: return V_BOOL(&value) ? L"true" : L"false";
    case VT_DISPATCH:
    case VT_UNKNOWN: return L"object";
    case VT_EMPTY: return L"empty";
    default: return TextOf(value);
    }
}

StandInObject::StandInObject(const char* type, std::vector<Member> members) : type_(type), members_(std::move(members)) {
    ObjectCreated();
}

StandInObject::~StandInObject() = default;

HRESULT StandInObject::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG StandInObject::Release() {
    const long left = --refs_;
    if (left == 0) {
        delete this;
        ObjectReleased();
    }
    return static_cast<ULONG>(left);
}

HRESULT StandInObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        const std::string name = Utf8(names[i]);
        for (const Member& member : members_) {
            if (_stricmp(member.name, name.c_str()) == 0) ids[i] = member.id;
        }
        if (ids[i] == DISPID_UNKNOWN) result = DISP_E_UNKNOWNNAME;
    }
    return result;
}

HRESULT StandInObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                              EXCEPINFO* exception, UINT*) {
    const Member* member = nullptr;
    for (const Member& candidate : members_) {
        if (candidate.id == id) member = &candidate;
    }
    Args args;
    if (params) {
        for (UINT i = params->cArgs; i-- > 0;) args.push_back(params->rgvarg[i]);
    }
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    char idText[16];
    std::snprintf(idText, sizeof idText, "0x%lX", static_cast<unsigned long>(id));
    std::string line = std::string(type_) + "." + (member ? member->name : idText) + (put ? " put" : "") + "(";
    for (std::size_t i = 0; i < args.size(); ++i) line += (i ? "," : "") + Utf8(ArgText(args[i]));
    line += ")";
    if (!member) {
        LogLine(line + " refused");
        return DISP_E_MEMBERNOTFOUND;
    }
    const std::string name = std::string(type_) + "." + member->name;
    if (Utf8(StandInSetting(L"Fail")) == name) {
        LogLine(line + " failed");
        if (exception) {
            std::memset(exception, 0, sizeof *exception);
            exception->scode = E_FAIL;
            exception->bstrSource = SysAllocString(L"stand-in");
            exception->bstrDescription = SysAllocString(L"the stand-in was told to fail this call");
        }
        return DISP_E_EXCEPTION;
    }
    LogLine(line);
    VARIANT ignored;
    VariantInit(&ignored);
    const HRESULT hr = Call(id, put, args, result ? result : &ignored);
    VariantClear(&ignored);
    return hr;
}

HRESULT StandInObject::Fail(const wchar_t* why) {
    LogLine("  error: " + Utf8(why));
    return DISP_E_EXCEPTION;
}

HRESULT ReturnObject(StandInObject* object, VARIANT* result) {
    VariantInit(result);
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = object;
    return S_OK;
}

HRESULT ReturnText(const std::wstring& text, VARIANT* result) {
    VariantInit(result);
    V_VT(result) = VT_BSTR;
    V_BSTR(result) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return S_OK;
}

HRESULT ReturnDouble(double value, VARIANT* result) {
    VariantInit(result);
    V_VT(result) = VT_R8;
    V_R8(result) = value;
    return S_OK;
}

HRESULT ReturnLong(long value, VARIANT* result) {
    VariantInit(result);
    V_VT(result) = VT_I4;
    V_I4(result) = value;
    return S_OK;
}

DWORD RegisterRunningFile(IUnknown* object, const std::wstring& path) {
    IRunningObjectTable* table = nullptr;
    IMoniker* moniker = nullptr;
    DWORD cookie = 0;
    if (SUCCEEDED(GetRunningObjectTable(0, &table)) && SUCCEEDED(CreateFileMoniker(path.c_str(), &moniker))) {
        if (FAILED(table->Register(ROTFLAGS_REGISTRATIONKEEPSALIVE, object, moniker, &cookie))) cookie = 0;
    }
    if (moniker) moniker->Release();
    if (table) table->Release();
    LogLine("  running: " + Utf8(path) + (cookie ? "" : " (not registered)"));
    return cookie;
}

void RevokeRunningFile(DWORD& cookie) {
    if (cookie == 0) return;
    IRunningObjectTable* table = nullptr;
    if (SUCCEEDED(GetRunningObjectTable(0, &table))) {
        table->Revoke(cookie);
        table->Release();
    }
    cookie = 0;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    const bool word = wcsstr(commandLine, L"word") != nullptr;
    g_classKey = word ? kWordStandInClsidText : kSpreadsheetStandInClsidText;
    g_mainThread = GetCurrentThreadId();
    // The test waits on this process, not on the log: "Ended" is readable
    // a moment before the process lets go of the log file.
    LogLine("Process " + std::to_string(GetCurrentProcessId()));
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, for posted notices
    Factory factory(word);
    DWORD registration = 0;
    if (FAILED(CoRegisterClassObject(word ? kWordStandInClsid : kSpreadsheetStandInClsid, &factory,
                                     CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE, &registration))) {
        CoUninitialize();
        return 2;
    }
    // Never asked for at all: end after the same while as a leftover.
    SetTimer(nullptr, kLeftoverTimer, kLeftoverMs, nullptr);
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == kCheckEnd && message.hwnd == nullptr) {
            if (g_objects == 0 && g_quit) break;
            if (g_objects == 0) SetTimer(nullptr, kLeftoverTimer, kLeftoverMs, nullptr);
            continue;
        }
        if (message.message == WM_TIMER && message.hwnd == nullptr) {
            if (g_objects == 0 || !g_created) break;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    CoRevokeClassObject(registration);
    LogLine(g_quit ? "Ended" : "Ended without Quit");
    CoUninitialize();
    return 0;
}
