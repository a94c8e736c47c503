#include "thumbnail_loader.h"

#include <algorithm>

CThumbnailLoader::~CThumbnailLoader() {
    if (m_worker.joinable()) {
        m_worker.request_stop();
        m_wake.notify_all();
        m_worker.join();
    }
}

void CThumbnailLoader::SetNotify(HWND window, UINT message) {
    std::lock_guard lock(m_mutex);
    m_notify = window;
    m_message = message;
}

void CThumbnailLoader::Request(std::wstring path, int type, std::uint64_t ticket) {
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back({std::move(path), type, ticket});
        ++m_outstanding;
        if (m_jobs.size() > m_maxWaiting) {
            Job given = std::move(m_jobs.front());
            m_jobs.pop_front();
            Result dropped{std::move(given.path), given.ticket, {}};
            dropped.dropped = true;
            m_results.push_back(std::move(dropped));
            Notify();
        }
    }
    if (!m_worker.joinable()) {
        m_worker = std::jthread([this](std::stop_token stop) { Run(stop); });
    }
    m_wake.notify_one();
}

void CThumbnailLoader::SetMaxWaiting(std::size_t count) {
    std::lock_guard lock(m_mutex);
    m_maxWaiting = std::max<std::size_t>(count, 1);
}

std::vector<CThumbnailLoader::Result> CThumbnailLoader::TakeResults() {
    std::lock_guard lock(m_mutex);
    std::vector<Result> results = std::move(m_results);
    m_results.clear();
    m_outstanding -= static_cast<int>(results.size());
    m_notified = false;
    return results;
}

int CThumbnailLoader::GetOutstanding() const {
    std::lock_guard lock(m_mutex);
    return m_outstanding;
}

void CThumbnailLoader::Run(std::stop_token stop) {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            if (!m_wake.wait(lock, stop, [this] { return !m_jobs.empty(); }) || stop.stop_requested()) {
                return;
            }
            job = std::move(m_jobs.back());
            m_jobs.pop_back();
        }
        vz::picture::Thumbnail decoded =
            vz::picture::LoadThumbnail(std::filesystem::path(job.path), job.type, &vz::picture::BrowserThumbnailSize);
        std::lock_guard lock(m_mutex);
        m_results.push_back({std::move(job.path), job.ticket, std::move(decoded.picture)});
        Notify();
    }
}

void CThumbnailLoader::Notify() {
    if (!m_notified && m_notify) {
        m_notified = PostMessageW(m_notify, m_message, 0, 0) != FALSE;
    }
}
