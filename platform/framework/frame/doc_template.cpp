#include "doc_template.h"

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, DocumentFactory makeDocument, FrameFactory makeFrame,
                                       ViewFactory makeView)
    : m_resourceId(resourceId),
      m_makeDocument(std::move(makeDocument)),
      m_makeFrame(std::move(makeFrame)),
      m_makeView(std::move(makeView)) {}

CFrameWindow* CSingleDocTemplate::NewDocument() {
    if (m_frame && m_frame->GetSafeHwnd()) {
        return m_document->OnNewDocument() ? m_frame.get() : nullptr;
    }
    std::unique_ptr<CDocument> document = m_makeDocument();
    std::unique_ptr<CFrameWindow> frame = m_makeFrame();
    if (!document || !frame) {
        return nullptr;
    }
    CCreateContext context{document.get(), m_makeView};
    m_document = std::move(document);
    if (!frame->LoadFrame(m_resourceId, context) || !m_document->OnNewDocument()) {
        return nullptr;
    }
    m_frame = std::move(frame);
    if (CViewWindow* view = m_frame->GetActiveView()) {
        view->OnInitialUpdate();
    }
    return m_frame.get();
}
