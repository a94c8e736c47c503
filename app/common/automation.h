#pragma once
// Late-bound automation calls by dispatch id, as the Office programs'
// object models are driven: arguments in the caller's order, omitted ones
// passed as "parameter not found", every failure thrown with the member it
// happened at, so a caller can stop a whole export at the first one.
#include <windows.h>
#include <oleauto.h>

#include <initializer_list>
#include <stdexcept>
#include <string>

#include "com_ptr.h"

// One VARIANT, owned: cleared when it goes, deep-copied when copied.
class CVariant {
public:
    CVariant() { VariantInit(&value_); }
    CVariant(const wchar_t* text);
    CVariant(const std::wstring& text) : CVariant(text.c_str()) {}
    CVariant(int number);
    CVariant(double number);
    CVariant(bool flag);
    CVariant(IDispatch* object);  // adds a reference
    CVariant(const CVariant& other);
    CVariant& operator=(const CVariant& other);
    ~CVariant() { VariantClear(&value_); }

    // An optional argument left out.
    static CVariant Omitted();

    VARIANT* get() { return &value_; }
    const VARIANT& value() const { return value_; }
    // The value as text or number; throws AutomationError when it has none.
    std::wstring Text() const;
    long Long() const;
    double Double() const;
    // True for VT_EMPTY, VT_NULL and an empty text.
    bool IsBlank() const;

private:
    VARIANT value_;
};

class AutomationError : public std::runtime_error {
public:
    AutomationError(DISPID member, HRESULT result, std::wstring description);
    DISPID member() const { return member_; }
    HRESULT result() const { return result_; }
    const std::wstring& description() const { return description_; }

private:
    DISPID member_;
    HRESULT result_;
    std::wstring description_;
};

namespace automation {

// Calls `member` of `object` with `flags`; the result (VT_EMPTY for none).
CVariant Invoke(IDispatch& object, DISPID member, WORD flags, std::initializer_list<CVariant> args = {});
inline CVariant Call(IDispatch& object, DISPID member, std::initializer_list<CVariant> args = {}) {
    return Invoke(object, member, DISPATCH_METHOD, args);
}
inline CVariant Get(IDispatch& object, DISPID member, std::initializer_list<CVariant> args = {}) {
    return Invoke(object, member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, args);
}
// The object a member returns; throws when it returns none.
ComPtr<IDispatch> GetObject(IDispatch& object, DISPID member, std::initializer_list<CVariant> args = {});
// Sets a property; `args` are the indices that come before the value.
void Put(IDispatch& object, DISPID member, const CVariant& value, std::initializer_list<CVariant> args = {});

}  // namespace automation
