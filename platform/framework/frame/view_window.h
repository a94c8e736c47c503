#pragma once
// The window that shows a document: the first target on the command route
// after the frame. It runs the print commands: a job asks the view to
// prepare (choose the printer), begin, print each page and end, and a job
// that fails is reported to the user, never passed over as printed.
#include "command_target.h"
#include "document.h"
#include "print_info.h"
#include "window.h"

class CViewWindow : public CWindow, public CCommandTarget {
public:
    static constexpr const wchar_t* kClassName = L"VizcamView";
    // The framework's print commands and the string its failed jobs show.
    static constexpr UINT kFilePrint = 57607;
    static constexpr UINT kFilePrintDirect = 57608;
    static constexpr UINT kFilePrintPreview = 57609;
    static constexpr UINT kPrintFailedString = 57360;

    CViewWindow();

    bool Create(HWND parent, UINT id, CDocument* document);
    CDocument* GetDocument() const { return m_document; }
    // Runs once the frame around the view is complete.
    virtual void OnInitialUpdate() {}

    enum class PrintResult { printed, cancelled, failed };
    // One print job: the print dialog first unless `direct`, which prints on
    // the application's chosen printer (the system's default until the user
    // chose one). A failed job is reported through OnPrintFailed.
    PrintResult OnFilePrint(bool direct);

    // The job's steps. OnPreparePrinting chooses the printer (by default
    // through DoPreparePrinting) and gives false to cancel the job;
    // OnBeginPrinting may set the page range (a range left open prints one
    // page); OnPrint draws one page, by default through OnDraw.
    virtual bool OnPreparePrinting(CPrintInfo& info) { return DoPreparePrinting(info); }
    virtual void OnBeginPrinting(HDC, CPrintInfo&) {}
    virtual void OnPrint(HDC dc, CPrintInfo& info);
    virtual void OnEndPrinting(HDC, CPrintInfo&) {}

protected:
    // Puts the job's printer into `info`: the print dialog, or the chosen
    // printer for a direct job. False when the user cancelled; true with no
    // printer when none could be had.
    bool DoPreparePrinting(CPrintInfo& info);
    // Tells the user that the job failed; a message box with the resource
    // module's kPrintFailedString.
    virtual void OnPrintFailed();
    virtual void OnDraw(HDC) {}

private:
    CDocument* m_document = nullptr;
};
