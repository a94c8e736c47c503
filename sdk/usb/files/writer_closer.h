#pragma once
// Finishes recording files on a thread of its own, so that the frames
// arriving meanwhile go on into the next file. Finishing a file of a few GiB
// (its index, its headers) takes the platform's AVIFile half a second.
//
// The thread starts with the first file handed over and ends in Finish,
// which waits until every file handed over is complete; the destructor
// finishes too. Hand and Finish are called by one owner at a time.

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "avi_writer.h"

namespace kq::files {

class WriterCloser {
public:
    WriterCloser() = default;
    WriterCloser(const WriterCloser&) = delete;
    WriterCloser& operator=(const WriterCloser&) = delete;
    ~WriterCloser();

    // Closes and releases `writer` on the closing thread, after the files
    // handed over before it.
    void Hand(std::unique_ptr<AviWriter> writer);
    // Returns once every file handed over is closed and the thread has
    // ended. False when one of them could not be written since the last
    // Finish.
    bool Finish();

private:
    void Run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::unique_ptr<AviWriter>> waiting_;
    bool ending_ = false;
    bool failed_ = false;
    std::thread thread_;
};

}  // namespace kq::files
