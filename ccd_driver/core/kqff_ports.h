// The two seams under the driver core: the USB side (the camera's pipes and
// its hub port) and the wait/event layer (events, locks, the reader thread).
// The WDM shell implements both over URBs and kernel dispatcher objects; the
// host layer and the simulated camera implement them in user mode.
//
// No virtual destructors: the core never owns or deletes an implementation,
// and the kernel build has no operator delete.
#pragma once

#include <cstdint>
#include <span>

#include "kqff_protocol.h"

namespace kqff {

enum class UsbPipe : std::uint8_t { Command, Video, Response };

// Receives the completion of the single outstanding video read.
class VideoReadCompletion {
public:
    // status: the request's status; usbd: the bus status of the transfer;
    // length: bytes placed at the start of the read buffer. May run on any
    // thread (in the kernel at dispatch level): it must not block.
    virtual void OnVideoReadComplete(NtStatus status, UsbdStatus usbd, std::uint32_t length) = 0;

protected:
    ~VideoReadCompletion() = default;
};

class UsbSide {
public:
    virtual bool HasPipe(UsbPipe pipe) const = 0;
    // One synchronous bulk OUT transfer (short transfers allowed).
    virtual NtStatus BulkOut(UsbPipe pipe, std::span<const std::uint8_t> data) = 0;
    // One synchronous bulk IN transfer into data; transferred gets the length.
    virtual NtStatus BulkIn(UsbPipe pipe, std::span<std::uint8_t> data, std::uint32_t& transferred) = 0;
    // Starts one asynchronous bulk IN transfer on the video pipe into buffer.
    // done.OnVideoReadComplete runs exactly once for every call, possibly
    // before this returns (a submission that fails completes with its error).
    virtual void SubmitVideoRead(std::span<std::uint8_t> buffer, VideoReadCompletion& done) = 0;
    // One synchronous GET_DESCRIPTOR request on the default pipe for
    // descriptor type, index 0, language 0, asking for data.size() bytes;
    // transferred gets what the device returned (a device answers at most
    // the descriptor's own length).
    virtual NtStatus GetDescriptor(std::uint8_t type, std::span<std::uint8_t> data, std::uint32_t& transferred) = 0;
    virtual NtStatus GetPortStatus(std::uint32_t& portStatus) = 0;
    virtual NtStatus ResetPort() = 0;
    // Cancels transfers in flight on the pipe; their completions still run.
    virtual NtStatus AbortPipe(UsbPipe pipe) = 0;
    virtual NtStatus ResetPipe(UsbPipe pipe) = 0;

protected:
    ~UsbSide() = default;
};

// Events the core waits on. Auto-reset events are consumed by the wait that
// returns them; manual-reset ones stay signalled until cleared.
enum class KqEvent : std::uint8_t {
    FrameReady,   // auto-reset: a frame was published
    Stopped,      // manual-reset, initially set: streaming is not running
    StopRequest,  // auto-reset: the reader thread is asked to look at the state
    ReadSlot,     // auto-reset, initially set: no video read is in flight
};
inline constexpr int kEventCount = 4;

constexpr bool IsManualReset(KqEvent e) { return e == KqEvent::Stopped; }
constexpr bool IsInitiallySignalled(KqEvent e) { return e == KqEvent::Stopped || e == KqEvent::ReadSlot; }

enum class KqLock : std::uint8_t {
    Capture,  // outer: start and stop of streaming
    Command,  // inner: command block update, send and response read
};
inline constexpr int kLockCount = 2;

inline constexpr std::uint32_t kWaitForever = 0xFFFFFFFFu;
inline constexpr int kWaitTimedOut = -1;

class WaitLayer {
public:
    virtual void SetEvent(KqEvent event) = 0;
    virtual void ClearEvent(KqEvent event) = 0;
    // Returns the index in events of the one that ended the wait, or
    // kWaitTimedOut. Only the returned auto-reset event is consumed.
    virtual int WaitAny(std::span<const KqEvent> events, std::uint32_t timeoutMs) = 0;
    virtual void Lock(KqLock lock) = 0;
    virtual void Unlock(KqLock lock) = 0;
    // Runs entry(context) on the device's reader thread; at most one exists.
    virtual NtStatus StartThread(void (*entry)(void*), void* context) = 0;
    // Waits until the reader thread has ended and forgets it.
    virtual void JoinThread() = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;

protected:
    ~WaitLayer() = default;
};

// Scoped hold of one of the wait layer's locks.
class ScopedLock {
public:
    ScopedLock(WaitLayer& wait, KqLock lock) : wait_(wait), lock_(lock) { wait_.Lock(lock_); }
    ~ScopedLock() { wait_.Unlock(lock_); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    WaitLayer& wait_;
    KqLock lock_;
};

}  // namespace kqff
