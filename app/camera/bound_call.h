#pragma once
// Calls into a camera library go through the entry points its loader bound;
// a name the library does not export stays null and must never be called.
#include <utility>

// The library's code, or `failure` without a call when the entry is unbound.
template <typename EntryPoint, typename... Args>
int CallBound(EntryPoint entry, int failure, Args&&... args) {
    return entry ? entry(std::forward<Args>(args)...) : failure;
}

// Code returned for a call the library cannot take: nonzero, as a failing library call.
inline constexpr int kUnboundEntryFailure = -1;

// The library's code, or kUnboundEntryFailure without a call when the entry is unbound.
template <typename EntryPoint, typename... Args>
int CallBoundOrFail(EntryPoint entry, Args&&... args) {
    return CallBound(entry, kUnboundEntryFailure, std::forward<Args>(args)...);
}
