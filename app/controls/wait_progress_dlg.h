#pragma once
// The busy dialog shown while an outside engine works: an all but
// transparent layered dialog over its owner, and the pointer's busy bar.
// Every 10 ms it asks the engine how far it is; once the engine stops, the
// bar runs on to 101 and the dialog closes as cancelled (callers go on
// whatever it returns).
#include <windows.h>

#include <memory>

#include "busy_progress.h"
#include "dialog.h"
#include "mouse_progress.h"

// The progress queries the dialog makes of an engine, by kind: counting
// asks the first three, fusion and stitching the last two. Called on the
// dialog's thread; an engine working elsewhere answers from its own state.
class IEngineProgress {
public:
    // 1 while a counting run works.
    virtual int getResultStation() = 0;
    virtual int getCurrentNum() = 0;
    virtual int getObjCounts() = 0;
    // Non-zero while a fusion or stitching run works.
    virtual int IsProgressing() = 0;
    virtual int getProgressStep() = 0;

protected:
    ~IEngineProgress() = default;
};

class CWaitProgressDlg : public CDialog {
public:
    enum Kind : int { kCounting = 1, kFusion = 2, kStitching = 3 };

    // parent: the window the dialog covers and is owned by.
    explicit CWaitProgressDlg(HWND parent = nullptr);

    void SetEngine(IEngineProgress* engine, Kind kind) {
        m_engine = engine;
        m_kind = kind;
    }
    // The pointer's bar while the dialog is open, or null.
    const CMouseProgress* MouseProgress() const { return m_mouseProgress.get(); }

protected:
    BOOL OnInitDialog() override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnTick();

    std::unique_ptr<CMouseProgress> m_mouseProgress;
    IEngineProgress* m_engine = nullptr;
    Kind m_kind = kCounting;
    busy_progress::ProgressRamp m_ramp;
};
