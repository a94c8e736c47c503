// A test stand-in for the spreadsheet program's automation object, served
// in-process. It answers `Version` with the text of its registration and
// appends each call ("Created", "Version", "Quit", "Released") as a line to
// the record file its registration names. Only test prefixes register it.
#include <windows.h>
#include <oleauto.h>

#include <atomic>
#include <cwchar>
#include <fstream>
#include <new>
#include <string>

#include "excel_stand_in_ids.h"

namespace {

std::atomic<long> g_objects{0};

std::wstring ReadSetting(const wchar_t* name) {
    wchar_t buffer[MAX_PATH] = {};
    DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
    const std::wstring key = std::wstring(kExcelStandInClassKey) + L"\\StandIn";
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS) {
        return {};
    }
    return buffer;
}

void Record(const char* call) {
    const std::wstring path = ReadSetting(L"Record");
    if (!path.empty()) {
        std::ofstream(path.c_str(), std::ios::app) << call << '\n';
    }
}

enum : DISPID { kVersion = 1, kQuit = 2 };

class Application final : public IDispatch {
public:
    Application() {
        ++g_objects;
        Record("Created");
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long left = --refs_;
        if (left == 0) {
            Record("Released");
            --g_objects;
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        HRESULT result = S_OK;
        for (UINT i = 0; i < count; ++i) {
            if (_wcsicmp(names[i], L"Version") == 0) {
                ids[i] = kVersion;
            } else if (_wcsicmp(names[i], L"Quit") == 0) {
                ids[i] = kQuit;
            } else {
                ids[i] = DISPID_UNKNOWN;
                result = DISP_E_UNKNOWNNAME;
            }
        }
        return result;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        if (id == kVersion && (flags & DISPATCH_PROPERTYGET) && result) {
            Record("Version");
            VariantInit(result);
            V_VT(result) = VT_BSTR;
            V_BSTR(result) = SysAllocString(ReadSetting(L"Version").c_str());
            return S_OK;
        }
        if (id == kQuit && (flags & DISPATCH_METHOD)) {
            Record("Quit");
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    ~Application() = default;
    std::atomic<long> refs_{1};
};

class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // The factory is a static object: counting is not needed.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        Application* application = new (std::nothrow) Application;
        if (!application) return E_OUTOFMEMORY;
        const HRESULT result = application->QueryInterface(iid, out);
        application->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory g_factory;

}  // namespace

extern "C" __declspec(dllexport) HRESULT STDMETHODCALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!IsEqualCLSID(clsid, kExcelStandInClsid)) {
        *out = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return g_factory.QueryInterface(iid, out);
}

extern "C" __declspec(dllexport) HRESULT STDMETHODCALLTYPE DllCanUnloadNow() { return g_objects == 0 ? S_OK : S_FALSE; }
