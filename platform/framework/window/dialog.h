#pragma once
// Modal dialogs from templates of the resource module, with the data
// exchange the program's dialogs use: texts, whole numbers with an optional
// range, and decimal numbers.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <variant>
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
    // The window the dialog is opened over, for a dialog object that lives
    // longer than the window it was built with.
    void SetParentWindow(HWND parent) { m_parent = parent; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // Commands other than IDOK and IDCANCEL; return TRUE when handled.
    virtual BOOL OnCommand(WORD id, WORD code);
    // Messages not handled above; return TRUE when handled.
    virtual BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_CTLCOLOR* for the dialog or one of its controls: the brush to paint
    // its background with, or null for the default. (A brush does not fit
    // OnMessage's BOOL on 64-bit.)
    virtual HBRUSH OnCtlColor(UINT message, HDC dc, HWND window);

    // Binds a control's text to a member: UpdateData(FALSE) writes the
    // members into the controls, UpdateData(TRUE) reads them back. A number
    // that does not parse or lies outside its range is refused with a prompt
    // (the texts of data_prompts.h), its control gets the focus and
    // UpdateData(TRUE) returns FALSE.
    void BindText(int controlId, std::wstring& value);
    void BindInt(int controlId, int& value);
    void BindUInt(int controlId, unsigned& value, unsigned min, unsigned max);
    void BindFloat(int controlId, float& value);
    // A binding kind a control defines itself: called with the dialog and the
    // direction (TRUE: control to member); false refuses the input.
    using ExchangeFunction = std::function<bool(HWND dialog, BOOL saveAndValidate)>;
    void BindExchange(ExchangeFunction exchange);
    BOOL UpdateData(BOOL saveAndValidate);

    // The prompt shown for refused input; tests and callers may read it.
    static std::wstring LastDataPrompt();

    HWND m_hWnd = nullptr;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    struct UIntRange {
        unsigned* value;
        unsigned min;
        unsigned max;
    };
    struct Binding {
        int controlId;
        std::variant<std::wstring*, int*, UIntRange, float*, ExchangeFunction> target;
    };
    bool Exchange(const Binding& binding, BOOL save);
    void RefuseInput(HWND control, const std::wstring& prompt);

    UINT m_templateId;
    HWND m_parent;
    bool m_modeless = false;
    std::vector<Binding> m_bindings;
};
