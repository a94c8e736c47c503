#include "dialog.h"

#include "resource_module.h"

CDialog::CDialog(UINT templateId, HWND parent) : m_templateId(templateId), m_parent(parent) {}

CDialog::~CDialog() {
    DestroyWindow();
}

bool CDialog::Create(HWND parent) {
    m_parent = parent;
    m_modeless = true;
    return CreateDialogParamW(GetResourceModule(), MAKEINTRESOURCEW(m_templateId), parent,
                              &CDialog::DialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::DestroyWindow() {
    if (m_modeless && m_hWnd) {
        ::DestroyWindow(m_hWnd);  // WM_NCDESTROY clears m_hWnd
    }
}

INT_PTR CDialog::DoModal() {
    m_modeless = false;
    return DialogBoxParamW(GetResourceModule(), MAKEINTRESOURCEW(m_templateId), m_parent,
                           &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
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
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCommand(WORD, WORD) {
    return FALSE;
}

BOOL CDialog::OnMessage(UINT, WPARAM, LPARAM) {
    return FALSE;
}

void CDialog::BindText(int controlId, std::wstring& value) {
    m_textBindings.push_back({controlId, &value});
}

void CDialog::UpdateData(BOOL saveAndValidate) {
    for (const TextBinding& binding : m_textBindings) {
        HWND control = GetDlgItem(binding.controlId);
        if (!control) {
            continue;
        }
        if (saveAndValidate) {
            const int length = GetWindowTextLengthW(control);
            std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
            text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), length + 1)));
            *binding.value = std::move(text);
        } else {
            SetWindowTextW(control, binding.value->c_str());
        }
    }
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
    case WM_NCDESTROY:
        self->OnMessage(message, wParam, lParam);
        self->m_hWnd = nullptr;
        return FALSE;
    default:
        return self->OnMessage(message, wParam, lParam);
    }
}
