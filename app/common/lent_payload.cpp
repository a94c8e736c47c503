#include "lent_payload.h"

#include <mutex>
#include <set>

namespace {
std::mutex& LentMutex() {
    static std::mutex mutex;
    return mutex;
}
// A multiset: the same record may be lent again inside a nested send.
std::multiset<const void*>& Lent() {
    static std::multiset<const void*> lent;
    return lent;
}
}  // namespace

CLentPayload::CLentPayload(const void* payload) : payload_(payload) {
    const std::lock_guard lock(LentMutex());
    Lent().insert(payload_);
}

CLentPayload::~CLentPayload() {
    const std::lock_guard lock(LentMutex());
    Lent().erase(Lent().find(payload_));
}

bool IsLentPayload(std::uintptr_t address) {
    if (address == 0) {
        return false;
    }
    const std::lock_guard lock(LentMutex());
    return Lent().contains(reinterpret_cast<const void*>(address));
}
