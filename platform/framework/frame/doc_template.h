#pragma once
// The single-document template: one document, one frame, one view. The
// first new document builds all three; later ones start the document afresh.
#include <functional>
#include <memory>

#include "document.h"
#include "frame_window.h"

class CSingleDocTemplate {
public:
    using DocumentFactory = std::function<std::unique_ptr<CDocument>()>;
    using FrameFactory = std::function<std::unique_ptr<CFrameWindow>()>;
    using ViewFactory = std::function<std::unique_ptr<CViewWindow>()>;

    CSingleDocTemplate(UINT resourceId, DocumentFactory makeDocument, FrameFactory makeFrame, ViewFactory makeView);

    // The frame, or null when the document, frame or view could not be made.
    CFrameWindow* NewDocument();
    CFrameWindow* GetFrame() const { return m_frame.get(); }
    CDocument* GetDocument() const { return m_document.get(); }

private:
    UINT m_resourceId;
    DocumentFactory m_makeDocument;
    FrameFactory m_makeFrame;
    ViewFactory m_makeView;
    // The frame goes before the document it shows.
    std::unique_ptr<CDocument> m_document;
    std::unique_ptr<CFrameWindow> m_frame;
};
