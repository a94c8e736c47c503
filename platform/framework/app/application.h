#pragma once
// The program's single application object: start-up, the main thread's
// message loop with idle-time command updates, and exit. It is the last
// target on the command route.
#include <windows.h>

#include <string>

#include "command_target.h"

// What the loop brings up to date when the queue has emptied: the main
// frame's toolbar buttons.
class CIdleUpdate {
public:
    virtual ~CIdleUpdate() = default;
    virtual void UpdateCommandStates() = 0;
};

class CApplication : public CCommandTarget {
public:
    CApplication();
    ~CApplication() override;

    // Start-up, message loop, exit: the exit handler runs even when
    // start-up ended early, as the program's exit code is its result.
    int Main(HINSTANCE instance, const wchar_t* commandLine);

    // The raw command line: the text after the program name, quotes kept.
    const std::wstring& GetCommandLine() const { return m_commandLine; }
    HINSTANCE GetInstance() const { return m_instance; }
    void SetIdleUpdate(CIdleUpdate* target) { m_idleUpdate = target; }

    // Runs when the queue has emptied.
    virtual void OnIdle();
    // Before a message of the loop is dispatched: true when it was handled
    // here and is not dispatched.
    virtual bool PreTranslateMessage(MSG&) { return false; }
    // A menu of the main frame is about to drop down, before its items are
    // enabled: items the application lists (recent files) are put in.
    virtual void OnInitMenuPopup(HMENU) {}

protected:
    virtual bool InitInstance() = 0;
    virtual int ExitInstance();
    int Run();

private:
    HINSTANCE m_instance = nullptr;
    std::wstring m_commandLine;
    CIdleUpdate* m_idleUpdate = nullptr;
    int m_exitCode = 0;
};

// The application object of this process (there is exactly one), or null.
CApplication* GetApplication();
