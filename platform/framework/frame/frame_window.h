#pragma once
// The program's top-level window: menu, bars around a client window (the
// view or a splitter holding it), and command routing. A command goes to the
// frame, then the active view, then the document, then the application; the
// first that has it runs it. A command nobody has is shown disabled.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "application.h"
#include "command_target.h"
#include "document.h"
#include "view_window.h"
#include "window.h"

class CToolBar;

// What the frame needs to build its client: the document and a way to make
// the document's view.
struct CCreateContext {
    CDocument* document = nullptr;
    std::function<std::unique_ptr<CViewWindow>()> makeView;
};

class CFrameWindow : public CWindow, public CCommandTarget, public CIdleUpdate {
public:
    static constexpr const wchar_t* kClassName = L"VizcamFrame";
    // The control id of the frame's client window and of a splitter's first pane.
    static constexpr UINT kFirstPaneId = 0xE900;

    // Creates the window with the menu of the given resource id (when the
    // resource module has one) and builds the client from the context.
    bool LoadFrame(UINT resourceId, CCreateContext& context);

    CViewWindow* GetActiveView() const { return m_activeView; }
    void SetActiveView(CViewWindow* view) { m_activeView = view; }
    CDocument* GetActiveDocument() const { return m_activeView ? m_activeView->GetDocument() : nullptr; }

    bool RouteCommand(UINT id);
    // Fills the state from the first target on the route that answers for it.
    void RouteUpdate(CCommandState& state);
    // Toolbars whose buttons follow their commands' state at idle time.
    void AddUpdatedToolBar(CToolBar& toolBar);
    void UpdateCommandStates() override;

    // Places bars and client anew (after a size change, a bar shown or hidden).
    void RecalcLayout();
    // Ends the message loop when the window is destroyed.
    void SetEndsMessageLoop(bool ends) { m_endsMessageLoop = ends; }

protected:
    struct CreateParams {
        std::wstring title;
        DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
        DWORD exStyle = 0;
    };
    virtual void PreCreateWindow(CreateParams& params);
    // WM_CREATE: builds the client; -1 fails the creation.
    virtual int OnCreate();
    // Default client: the view alone, owned by the frame.
    virtual bool OnCreateClient(CCreateContext& context);
    // Takes the bars' room off the client rectangle and places the bars.
    virtual void RepositionBars(RECT& client);
    // WM_CLOSE: true lets the window be destroyed.
    virtual bool OnClose();
    virtual void OnDestroy();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CCreateContext* m_createContext = nullptr;
    HWND m_hWndClient = nullptr;

private:
    void UpdateMenu(HMENU popup);

    CViewWindow* m_activeView = nullptr;
    std::unique_ptr<CViewWindow> m_ownedView;
    std::vector<CToolBar*> m_updatedToolBars;
    bool m_endsMessageLoop = false;
};
