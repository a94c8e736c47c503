#include "dialog.h"

#include "data_prompts.h"
#include "resource_module.h"
#include "window.h"

#include <cerrno>
#include <climits>
#include <cwchar>

CDialog::CDialog(UINT templateId, HWND parent) : m_templateId(templateId), m_parent(parent) {}

CDialog::~CDialog() { DestroyWindow(); }

bool CDialog::Create(HWND parent) {
    m_parent = parent;
    m_modeless = true;
    return CreateDialogParamW(GetResourceModule(), MAKEINTRESOURCEW(m_templateId), parent, &CDialog::DialogProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::DestroyWindow() {
    if (m_modeless && m_hWnd) {
        ::DestroyWindow(m_hWnd);  // WM_NCDESTROY clears m_hWnd
    }
}

INT_PTR CDialog::DoModal() {
    m_modeless = false;
    return DialogBoxParamW(GetResourceModule(), MAKEINTRESOURCEW(m_templateId), m_parent, &CDialog::DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(INT_PTR result) {
    if (m_modeless) {
        ShowWindow(m_hWnd, SW_HIDE);
    } else {
        ::EndDialog(m_hWnd, result);
    }
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::OnCommand(WORD, WORD) { return FALSE; }

BOOL CDialog::OnMessage(UINT, WPARAM, LPARAM) { return FALSE; }

HBRUSH CDialog::OnCtlColor(UINT, HDC, HWND) { return nullptr; }

namespace {

std::wstring g_lastDataPrompt;

std::wstring ControlText(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), length + 1)));
    return text;
}

// The whole text as one number, blanks around it allowed.
template <typename T, typename Parse>
std::optional<T> ParseWhole(const std::wstring& text, Parse parse) {
    const wchar_t* begin = text.c_str();
    wchar_t* end = nullptr;
    errno = 0;
    const T value = parse(begin, &end);
    if (end == begin || errno == ERANGE) {
        return std::nullopt;
    }
    while (*end == L' ' || *end == L'\t') {
        ++end;
    }
    return *end == L'\0' ? std::optional<T>(value) : std::nullopt;
}

}  // namespace

std::wstring CDialog::LastDataPrompt() { return g_lastDataPrompt; }

void CDialog::BindText(int controlId, std::wstring& value) { m_bindings.push_back({controlId, &value}); }

void CDialog::BindInt(int controlId, int& value) { m_bindings.push_back({controlId, &value}); }

void CDialog::BindUInt(int controlId, unsigned& value, unsigned min, unsigned max) {
    m_bindings.push_back({controlId, UIntRange{&value, min, max}});
}

void CDialog::BindFloat(int controlId, float& value) { m_bindings.push_back({controlId, &value}); }

void CDialog::BindExchange(ExchangeFunction exchange) { m_bindings.push_back({0, std::move(exchange)}); }

void CDialog::RefuseInput(HWND control, const std::wstring& prompt) {
    g_lastDataPrompt = prompt;
    MessageBoxW(m_hWnd, prompt.c_str(), L"Vizcam", MB_OK | MB_ICONEXCLAMATION);
    SetFocus(control);
    SendMessageW(control, EM_SETSEL, 0, -1);
}

bool CDialog::Exchange(const Binding& binding, BOOL save) {
    if (auto* exchange = std::get_if<ExchangeFunction>(&binding.target)) {
        return (*exchange)(m_hWnd, save);
    }
    HWND control = GetDlgItem(binding.controlId);
    if (!control) {
        return true;
    }
    if (!save) {
        std::wstring text;
        if (auto* s = std::get_if<std::wstring*>(&binding.target)) {
            text = **s;
        } else if (auto* i = std::get_if<int*>(&binding.target)) {
            text = std::to_wstring(**i);
        } else if (auto* u = std::get_if<UIntRange>(&binding.target)) {
            text = std::to_wstring(*u->value);
        } else if (auto* f = std::get_if<float*>(&binding.target)) {
            wchar_t buffer[64];
            swprintf(buffer, 64, L"%g", static_cast<double>(**f));
            text = buffer;
        }
        SetWindowTextW(control, text.c_str());
        return true;
    }
    const std::wstring text = ControlText(control);
    if (auto* s = std::get_if<std::wstring*>(&binding.target)) {
        **s = text;
    } else if (auto* i = std::get_if<int*>(&binding.target)) {
        const auto v = ParseWhole<long>(text, [](const wchar_t* b, wchar_t** e) { return wcstol(b, e, 10); });
        if (!v || *v < INT_MIN || *v > INT_MAX) {
            RefuseInput(control, DataPromptText(DataPrompt::Integer));
            return false;
        }
        **i = static_cast<int>(*v);
    } else if (auto* u = std::get_if<UIntRange>(&binding.target)) {
        const auto v = ParseWhole<long long>(text, [](const wchar_t* b, wchar_t** e) { return wcstoll(b, e, 10); });
        if (!v || *v < u->min || *v > u->max) {
            RefuseInput(control, DataPromptText(DataPrompt::IntegerRange, u->min, u->max));
            return false;
        }
        *u->value = static_cast<unsigned>(*v);
    } else if (auto* f = std::get_if<float*>(&binding.target)) {
        const auto v = ParseWhole<float>(text, [](const wchar_t* b, wchar_t** e) { return wcstof(b, e); });
        if (!v) {
            RefuseInput(control, DataPromptText(DataPrompt::Number));
            return false;
        }
        **f = *v;
    }
    return true;
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    for (const Binding& binding : m_bindings) {
        if (!Exchange(binding, saveAndValidate)) {
            return FALSE;
        }
    }
    return TRUE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        self->m_hWnd = hwnd;
        return self->OnInitDialog();
    }
    self = reinterpret_cast<CDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) {
        return FALSE;
    }
    switch (message) {
    case WM_COMMAND: {
        // A control run by an object of ours handles its own notifications.
        if (lParam && ReflectCommand(wParam, lParam)) {
            return TRUE;
        }
        const WORD id = LOWORD(wParam);
        if (id == IDOK) {
            self->OnOK();
            return TRUE;
        }
        if (id == IDCANCEL) {
            self->OnCancel();
            return TRUE;
        }
        return self->OnCommand(id, HIWORD(wParam));
    }
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
        if (HBRUSH brush = self->OnCtlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
            return reinterpret_cast<INT_PTR>(brush);
        }
        return self->OnMessage(message, wParam, lParam);
    case WM_DRAWITEM:
        if (ReflectDrawItem(lParam)) {
            return TRUE;
        }
        return self->OnMessage(message, wParam, lParam);
    case WM_NCDESTROY:
        self->OnMessage(message, wParam, lParam);
        self->m_hWnd = nullptr;
        return FALSE;
    default: return self->OnMessage(message, wParam, lParam);
    }
}
