// The fixture library's class objects: the test source, its property page
// and the file-writer stand-in. The library is never unloaded.
#include <olectl.h>

#include "com_object.h"
#include "fixture_ids.h"
#include "test_source.h"

namespace {

// The test source's one property page: a label naming the source.
class SourcePage final : public IPropertyPage, public RefCounted<SourcePage> {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IPropertyPage) {
            *out = static_cast<IPropertyPage*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    FIXTURE_REFCOUNT
    STDMETHODIMP SetPageSite(IPropertyPageSite* site) override {
        if (site) site->AddRef();
        if (site_) site_->Release();
        site_ = site;
        return S_OK;
    }
    STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL) override {
        window_ = CreateWindowExW(0, L"STATIC", L"Test capture source", WS_CHILD | WS_VISIBLE, rect->left, rect->top,
                                  rect->right - rect->left, rect->bottom - rect->top, parent, nullptr, nullptr,
                                  nullptr);
        return window_ ? S_OK : E_FAIL;
    }
    STDMETHODIMP Deactivate() override {
        if (window_) DestroyWindow(window_);
        window_ = nullptr;
        return S_OK;
    }
    STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override {
        static const wchar_t title[] = L"Source";
        info->cb = sizeof(*info);
        info->pszTitle = static_cast<LPOLESTR>(CoTaskMemAlloc(sizeof(title)));
        CopyName(info->pszTitle, std::size(title), title);
        info->size = {200, 80};
        info->pszDocString = nullptr;
        info->pszHelpFile = nullptr;
        info->dwHelpContext = 0;
        return S_OK;
    }
    STDMETHODIMP SetObjects(ULONG, IUnknown**) override { return S_OK; }
    STDMETHODIMP Show(UINT show) override {
        if (window_) ShowWindow(window_, show);
        return S_OK;
    }
    STDMETHODIMP Move(LPCRECT rect) override {
        if (window_) MoveWindow(window_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
        return S_OK;
    }
    STDMETHODIMP IsPageDirty() override { return S_FALSE; }
    STDMETHODIMP Apply() override { return S_OK; }
    STDMETHODIMP Help(LPCOLESTR) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }

private:
    friend class RefCounted<SourcePage>;
    ~SourcePage() {
        Deactivate();
        if (site_) site_->Release();
    }
    IPropertyPageSite* site_ = nullptr;
    HWND window_ = nullptr;
};

using Maker = HRESULT (*)(REFIID, void**);

class Factory : public IClassFactory {
public:
    explicit Factory(Maker make) : make_(make) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        return outer ? CLASS_E_NOAGGREGATION : make_(iid, out);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    Maker make_;
};

HRESULT CreatePage(REFIID iid, void** out) {
    auto* page = new SourcePage;
    const HRESULT result = page->QueryInterface(iid, out);
    page->Release();
    return result;
}

Factory g_sourceFactory(CreateTestSource);
Factory g_pageFactory(CreatePage);
Factory g_writerFactory(CreateFileWriterStandIn);

}  // namespace

extern "C" __declspec(dllexport) HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    Factory* factory = clsid == kTestSourceClsid       ? &g_sourceFactory
                       : clsid == kTestSourcePageClsid ? &g_pageFactory
                       : clsid == CLSID_FileWriter     ? &g_writerFactory
                                                       : nullptr;
    return factory ? factory->QueryInterface(iid, out) : CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllCanUnloadNow() {
    return S_FALSE;
}
