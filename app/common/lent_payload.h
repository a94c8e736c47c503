#pragma once
// Addresses the program lends as payloads of its private window messages.
// Any process can send a window of ours the same message numbers with any
// number in wParam or lParam; that number is no address of ours. A sender
// lends the address of its record for the duration of its SendMessage, and
// a receiver reads a payload only while it is lent. Thread-safe.
#include <cstdint>

class CLentPayload {
public:
    explicit CLentPayload(const void* payload);
    ~CLentPayload();
    CLentPayload(const CLentPayload&) = delete;
    CLentPayload& operator=(const CLentPayload&) = delete;

    // The address as a message parameter.
    std::uintptr_t Get() const { return reinterpret_cast<std::uintptr_t>(payload_); }

private:
    const void* payload_;
};

// True while a CLentPayload lends this address.
bool IsLentPayload(std::uintptr_t address);
