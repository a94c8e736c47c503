#include "frame_lock.h"

namespace kq {

std::timed_mutex& LibraryFrameLock() {
    static std::timed_mutex lock;
    return lock;
}

}  // namespace kq
