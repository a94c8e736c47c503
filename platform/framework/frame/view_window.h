#pragma once
// The window that shows a document: the first target on the command route
// after the frame.
#include "command_target.h"
#include "document.h"
#include "window.h"

class CViewWindow : public CWindow, public CCommandTarget {
public:
    static constexpr const wchar_t* kClassName = L"VizcamView";

    bool Create(HWND parent, UINT id, CDocument* document);
    CDocument* GetDocument() const { return m_document; }
    // Runs once the frame around the view is complete.
    virtual void OnInitialUpdate() {}

private:
    CDocument* m_document = nullptr;
};
