#include "datagram_link.h"

namespace kqge::standin {

void InProcessLink::End::Send(Datagram datagram) {
    {
        std::lock_guard guard(outbox_.lock);
        if (outbox_.closed) return;
        outbox_.datagrams.push_back(std::move(datagram));
    }
    outbox_.arrived.notify_one();
}

std::optional<Datagram> InProcessLink::End::Receive() {
    std::unique_lock guard(inbox_.lock);
    inbox_.arrived.wait(guard, [&] { return inbox_.closed || !inbox_.datagrams.empty(); });
    if (inbox_.closed) return std::nullopt;
    Datagram next = std::move(inbox_.datagrams.front());
    inbox_.datagrams.pop_front();
    return next;
}

void InProcessLink::End::Close() {
    {
        std::lock_guard guard(inbox_.lock);
        inbox_.closed = true;
    }
    inbox_.arrived.notify_all();
}

}  // namespace kqge::standin
