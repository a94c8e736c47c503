#pragma once
// Texts handed over with a posted private message. A posted message arrives
// after its sender has moved on, when a lent record may already hold other
// text; so the sender hands over a copy of its own, and the receiver takes
// that copy over. As with lent payloads, any process can post the same
// number with any number in wParam: only an address handed over here, and
// not yet taken, yields a text. Thread-safe.
#include <cstdint>
#include <optional>
#include <string>

// Keeps a copy of the text for its receiver; the returned address is the
// message parameter.
std::uintptr_t HandOverText(std::wstring text);

// The copy handed over under this address, which is then no longer one;
// none for any other number.
std::optional<std::wstring> TakeHandedOverText(std::uintptr_t address);
