#pragma once
// Decodes browser thumbnails on a worker thread of its own. The window that
// owns the loader is told by a posted message that results wait; it takes
// them on its own thread. A result names the path and the ticket it was
// asked with, so the caller matches it to the item that asked, wherever
// that item has moved meanwhile, and drops it when the item is gone.
//
// The newest request is decoded first: the items the user scrolled to last
// are the ones in view. Past a bounded number of waiting requests the oldest
// is given up undecoded and returned as dropped, so that scrolling through
// a long list decodes what is in view rather than everything passed by.
//
// The worker is stopped and joined when the loader goes away; requests not
// yet decoded are dropped.
#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "thumbnail.h"

class CThumbnailLoader {
public:
    struct Result {
        std::wstring path;
        std::uint64_t ticket = 0;
        // Invalid when the file could not be decoded or was not tried.
        CPicture thumbnail;
        // Given up undecoded for newer requests.
        bool dropped = false;
    };

    CThumbnailLoader() = default;
    ~CThumbnailLoader();
    CThumbnailLoader(const CThumbnailLoader&) = delete;
    CThumbnailLoader& operator=(const CThumbnailLoader&) = delete;

    // The window and message that announce results (wParam 0, lParam 0).
    void SetNotify(HWND window, UINT message);
    void Request(std::wstring path, int type, std::uint64_t ticket);
    // Requests waiting beyond this many are given up, oldest first.
    void SetMaxWaiting(std::size_t count);
    std::vector<Result> TakeResults();
    // Requests asked and not yet taken as results.
    int GetOutstanding() const;

private:
    struct Job {
        std::wstring path;
        int type = 0;
        std::uint64_t ticket = 0;
    };
    void Run(std::stop_token stop);
    // Posts the notice once until the results are taken; m_mutex is held.
    void Notify();

    mutable std::mutex m_mutex;
    std::condition_variable_any m_wake;
    std::deque<Job> m_jobs;
    std::vector<Result> m_results;
    bool m_notified = false;
    int m_outstanding = 0;
    std::size_t m_maxWaiting = 32;
    HWND m_notify = nullptr;
    UINT m_message = 0;
    std::jthread m_worker;
};
