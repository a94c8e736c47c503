#include "frame_lock.h"

namespace kq {

RecursiveTimedLock& LibraryFrameLock() {
    static RecursiveTimedLock lock;
    return lock;
}

}  // namespace kq
