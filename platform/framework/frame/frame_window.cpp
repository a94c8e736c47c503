#include "frame_window.h"

#include <algorithm>

#include "resource_module.h"
#include "tool_bar.h"
#include "unique_handle.h"

bool CFrameWindow::LoadFrame(UINT resourceId, CCreateContext& context) {
    if (!RegisterWindowClass(kClassName, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) {
        return false;
    }
    CreateParams params;
    PreCreateWindow(params);
    m_createContext = &context;
    const bool created =
        CreateWindowExW(params.exStyle, kClassName, params.title.c_str(), params.style, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleW(nullptr), this) != nullptr;
    m_createContext = nullptr;
    if (!created) {
        return false;
    }
    UniqueMenu menu(LoadMenuW(GetResourceModule(), MAKEINTRESOURCEW(resourceId)));
    if (menu && SetMenu(m_hWnd, menu.Get())) {
        menu.Release();  // the window destroys its menu
    }
    RecalcLayout();
    return true;
}

bool CFrameWindow::RouteCommand(UINT id) {
    if (RunCommand(id)) {
        return true;
    }
    if (m_activeView && m_activeView->RunCommand(id)) {
        return true;
    }
    if (CDocument* document = GetActiveDocument(); document && document->RunCommand(id)) {
        return true;
    }
    CApplication* application = GetApplication();
    return application && application->RunCommand(id);
}

void CFrameWindow::RouteUpdate(CCommandState& state) {
    if (UpdateCommand(state)) {
        return;
    }
    if (m_activeView && m_activeView->UpdateCommand(state)) {
        return;
    }
    if (CDocument* document = GetActiveDocument(); document && document->UpdateCommand(state)) {
        return;
    }
    if (CApplication* application = GetApplication(); application && application->UpdateCommand(state)) {
        return;
    }
    state.Enable(false);
}

void CFrameWindow::AddUpdatedToolBar(CToolBar& toolBar) { m_updatedToolBars.push_back(&toolBar); }

void CFrameWindow::UpdateCommandStates() {
    if (!m_hWnd) {
        return;
    }
    for (CToolBar* toolBar : m_updatedToolBars) {
        toolBar->UpdateButtons([this](CCommandState& state) { RouteUpdate(state); });
    }
}

void CFrameWindow::RecalcLayout() {
    if (!m_hWnd) {
        return;
    }
    RECT client{};
    GetClientRect(m_hWnd, &client);
    RepositionBars(client);
    if (m_hWndClient) {
        MoveWindow(m_hWndClient, client.left, client.top, std::max(0L, client.right - client.left),
                   std::max(0L, client.bottom - client.top), TRUE);
    }
}

void CFrameWindow::PreCreateWindow(CreateParams&) {}

int CFrameWindow::OnCreate() {
    if (!m_createContext || !OnCreateClient(*m_createContext)) {
        return -1;
    }
    return 0;
}

bool CFrameWindow::OnCreateClient(CCreateContext& context) {
    if (!context.makeView) {
        return true;
    }
    m_ownedView = context.makeView();
    if (!m_ownedView || !m_ownedView->Create(m_hWnd, kFirstPaneId, context.document)) {
        return false;
    }
    m_hWndClient = m_ownedView->GetSafeHwnd();
    SetActiveView(m_ownedView.get());
    return true;
}

void CFrameWindow::RepositionBars(RECT&) {}

bool CFrameWindow::OnClose() { return true; }

void CFrameWindow::OnDestroy() {
    if (m_endsMessageLoop) {
        PostQuitMessage(0);
    }
}

void CFrameWindow::UpdateMenu(HMENU popup) {
    const int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(popup, i);
        if (id == 0 || id == static_cast<UINT>(-1)) {
            continue;  // separator or sub-menu
        }
        CCommandState state(id);
        RouteUpdate(state);
        EnableMenuItem(popup, i, MF_BYPOSITION | (state.IsEnabled() ? MF_ENABLED : MF_GRAYED));
        CheckMenuItem(popup, i, MF_BYPOSITION | (state.IsChecked() ? MF_CHECKED : MF_UNCHECKED));
    }
}

LRESULT CFrameWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return OnCreate();
    case WM_SIZE: RecalcLayout(); return 0;
    case WM_COMMAND:
        // A control's notification goes back to the control first; clicks of
        // menu items and toolbar buttons are commands.
        if (lParam && ReflectCommand(wParam, lParam)) {
            return 0;
        }
        if (!lParam || HIWORD(wParam) == BN_CLICKED) {
            RouteCommand(LOWORD(wParam));
        }
        return 0;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (ReflectNotify(lParam, result)) {
            return result;
        }
        break;
    }
    case WM_INITMENUPOPUP:
        if (!HIWORD(lParam)) {
            if (CApplication* application = GetApplication()) {
                application->OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
            }
            UpdateMenu(reinterpret_cast<HMENU>(wParam));
        }
        return 0;
    case WM_SETFOCUS:
        if (m_activeView && m_activeView->GetSafeHwnd()) {
            SetFocus(m_activeView->GetSafeHwnd());
            return 0;
        }
        break;
    case WM_CLOSE:
        if (OnClose()) {
            DestroyWindow();
        }
        return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    default: break;
    }
    return Default(message, wParam, lParam);
}
