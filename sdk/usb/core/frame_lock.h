#pragma once
// The library-wide frame lock: every capture thread holds it around the one
// frame it processes (pipeline, drawing, recording, frame callback), so the
// frames of all open cameras are processed one at a time and two cameras'
// frame callbacks never overlap. Single-frame grabs on a caller's thread do
// not take it.
//
// Lock order: a device's call lock first, this lock inside it. Capture
// threads only try it with a timeout and, failing, let go of their device
// lock before trying again, so a frame callback that calls into another
// camera (stopping or closing it) always gets that camera's lock.

#include "timed_lock.h"

namespace kq {

// No capture thread takes it twice, so its being recursive never shows.
RecursiveTimedLock& LibraryFrameLock();

}  // namespace kq
