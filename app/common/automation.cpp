#include "automation.h"

#include <vector>

CVariant::CVariant(const wchar_t* text) {
    VariantInit(&value_);
    BSTR copy = SysAllocString(text);
    if (copy == nullptr) throw AutomationError(DISPID_UNKNOWN, E_OUTOFMEMORY, L"");
    V_VT(&value_) = VT_BSTR;
    V_BSTR(&value_) = copy;
}

CVariant::CVariant(int number) {
    VariantInit(&value_);
    V_VT(&value_) = VT_I4;
    V_I4(&value_) = number;
}

CVariant::CVariant(double number) {
    VariantInit(&value_);
    V_VT(&value_) = VT_R8;
    V_R8(&value_) = number;
}

CVariant::CVariant(bool flag) {
    VariantInit(&value_);
    V_VT(&value_) = VT_BOOL;
    V_BOOL(&value_) = flag ? VARIANT_TRUE : VARIANT_FALSE;
}

CVariant::CVariant(IDispatch* object) {
    VariantInit(&value_);
    V_VT(&value_) = VT_DISPATCH;
    V_DISPATCH(&value_) = object;
    if (object != nullptr) object->AddRef();
}

CVariant::CVariant(const CVariant& other) {
    VariantInit(&value_);
    if (FAILED(VariantCopy(&value_, const_cast<VARIANT*>(&other.value_)))) throw AutomationError(DISPID_UNKNOWN, E_OUTOFMEMORY, L"");
}

CVariant& CVariant::operator=(const CVariant& other) {
    if (this != &other && FAILED(VariantCopy(&value_, const_cast<VARIANT*>(&other.value_)))) {
        throw AutomationError(DISPID_UNKNOWN, E_OUTOFMEMORY, L"");
    }
    return *this;
}

CVariant CVariant::Omitted() {
    CVariant omitted;
    V_VT(&omitted.value_) = VT_ERROR;
    V_ERROR(&omitted.value_) = DISP_E_PARAMNOTFOUND;
    return omitted;
}

std::wstring CVariant::Text() const {
    VARIANT text;
    VariantInit(&text);
    const HRESULT result = VariantChangeType(&text, const_cast<VARIANT*>(&value_), 0, VT_BSTR);
    if (FAILED(result)) throw AutomationError(DISPID_UNKNOWN, result, L"");
    std::wstring copy = V_BSTR(&text) ? std::wstring(V_BSTR(&text), SysStringLen(V_BSTR(&text))) : std::wstring();
    VariantClear(&text);
    return copy;
}

long CVariant::Long() const {
    VARIANT number;
    VariantInit(&number);
    const HRESULT result = VariantChangeType(&number, const_cast<VARIANT*>(&value_), 0, VT_I4);
    if (FAILED(result)) throw AutomationError(DISPID_UNKNOWN, result, L"");
    return V_I4(&number);
}

double CVariant::Double() const {
    VARIANT number;
    VariantInit(&number);
    const HRESULT result = VariantChangeType(&number, const_cast<VARIANT*>(&value_), 0, VT_R8);
    if (FAILED(result)) throw AutomationError(DISPID_UNKNOWN, result, L"");
    return V_R8(&number);
}

bool CVariant::IsBlank() const {
    switch (V_VT(&value_)) {
        case VT_EMPTY:
        case VT_NULL:
            return true;
        case VT_BSTR:
            return SysStringLen(V_BSTR(&value_)) == 0;
        default:
            return false;
    }
}

AutomationError::AutomationError(DISPID member, HRESULT result, std::wstring description)
    : std::runtime_error("automation call failed"), member_(member), result_(result),
      description_(std::move(description)) {}

namespace automation {

namespace {

CVariant InvokeWith(IDispatch& object, DISPID member, WORD flags, std::vector<CVariant> ordered, bool put) {
    // DISPPARAMS lists the arguments last to first.
    std::vector<VARIANT> reversed;
    reversed.reserve(ordered.size());
    for (auto it = ordered.rbegin(); it != ordered.rend(); ++it) reversed.push_back(it->value());
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{};
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    params.cArgs = static_cast<UINT>(reversed.size());
    if (put) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    CVariant result;
    EXCEPINFO exception{};
    UINT badArgument = 0;
    const HRESULT hr = object.Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, put ? nullptr : result.get(),
                                     &exception, &badArgument);
    if (FAILED(hr)) {
        std::wstring description = exception.bstrDescription ? exception.bstrDescription : L"";
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
        throw AutomationError(member, hr, std::move(description));
    }
    return result;
}

}  // namespace

CVariant Invoke(IDispatch& object, DISPID member, WORD flags, std::initializer_list<CVariant> args) {
    return InvokeWith(object, member, flags, std::vector<CVariant>(args), false);
}

ComPtr<IDispatch> GetObject(IDispatch& object, DISPID member, std::initializer_list<CVariant> args) {
    CVariant result = Get(object, member, args);
    if (V_VT(result.get()) != VT_DISPATCH || V_DISPATCH(result.get()) == nullptr) {
        throw AutomationError(member, DISP_E_TYPEMISMATCH, L"");
    }
    IDispatch* found = V_DISPATCH(result.get());
    found->AddRef();
    return ComPtr<IDispatch>(found);
}

void Put(IDispatch& object, DISPID member, const CVariant& value, std::initializer_list<CVariant> args) {
    std::vector<CVariant> ordered(args);
    ordered.push_back(value);
    InvokeWith(object, member, DISPATCH_PROPERTYPUT, std::move(ordered), true);
}

}  // namespace automation
