#pragma once
// Modal dialogs from templates of the resource module, with the small part of
// data exchange the program's dialogs use: static and edit texts.
#include <windows.h>

#include <string>
#include <vector>

class CDialog {
public:
    CDialog(UINT templateId, HWND parent);
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;
    virtual ~CDialog();

    // Runs the dialog; returns the code it ended with (IDOK, IDCANCEL, ...) or
    // -1 when the template could not be loaded.
    INT_PTR DoModal();
    // Creates the dialog modeless (hidden unless its template says visible);
    // the object destroys the window when it goes away.
    bool Create(HWND parent);
    // Modal: ends the loop. Modeless: hides the dialog.
    void EndDialog(INT_PTR result);
    void DestroyWindow();

    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // Commands other than IDOK and IDCANCEL; return TRUE when handled.
    virtual BOOL OnCommand(WORD id, WORD code);
    // Messages not handled above; return TRUE when handled.
    virtual BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Binds a control's text to a member: UpdateData(FALSE) writes the
    // members into the controls, UpdateData(TRUE) reads them back.
    void BindText(int controlId, std::wstring& value);
    void UpdateData(BOOL saveAndValidate);

    HWND m_hWnd = nullptr;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    struct TextBinding {
        int controlId;
        std::wstring* value;
    };
    UINT m_templateId;
    HWND m_parent;
    bool m_modeless = false;
    std::vector<TextBinding> m_textBindings;
};
