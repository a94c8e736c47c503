#include "excel_version.h"

#include <windows.h>
#include <oleauto.h>

#include <mutex>

#include "com_ptr.h"

namespace {

class Variant {
public:
    Variant() { VariantInit(&value_); }
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT* get() { return &value_; }

private:
    VARIANT value_;
};

bool Invoke(IDispatch& object, const wchar_t* name, WORD flags, VARIANT* result) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(object.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) {
        return false;
    }
    DISPPARAMS none{};
    return SUCCEEDED(object.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &none, result, nullptr, nullptr));
}

}  // namespace

std::optional<std::wstring> QueryExcelVersion() {
    CLSID clsid{};
    if (FAILED(CLSIDFromProgID(L"Excel.Application", &clsid))) {
        return std::nullopt;
    }
    IDispatch* raw = nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch, reinterpret_cast<void**>(&raw))) ||
        !raw) {
        return std::nullopt;
    }
    ComPtr<IDispatch> excel(raw);
    std::optional<std::wstring> version;
    Variant result;
    if (Invoke(*excel, L"Version", DISPATCH_PROPERTYGET, result.get()) &&
        SUCCEEDED(VariantChangeType(result.get(), result.get(), 0, VT_BSTR)) && V_BSTR(result.get())) {
        version.emplace(V_BSTR(result.get()), SysStringLen(V_BSTR(result.get())));
    }
    Variant ignored;
    Invoke(*excel, L"Quit", DISPATCH_METHOD, ignored.get());
    return version;
}

std::wstring InstalledExcelVersion() {
    static std::once_flag asked;
    static std::wstring version = L"11.0";
    std::call_once(asked, [] {
        if (std::optional<std::wstring> answered = QueryExcelVersion(); answered && !answered->empty()) {
            version = *answered;
        }
    });
    return version;
}
