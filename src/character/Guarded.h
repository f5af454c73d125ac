#pragma once
// Every operation of the record handles its own run-time errors: one error box
// with the operation's location, then the operation returns what it had
// reached. This keeps that pattern in one place.
#include "frame/ErrorReporter.h"
#include "platform/vb.h"

#include <new>
#include <utility>

namespace character {

inline void reportError(const vb::Error &e, const char *location)
{
    ShowErrorMessage(e.number(), e.text(), QString::fromLatin1(location));
}

// Runs body; a vb::Error (or an exhausted memory) is reported at `location`.
// True when body ran to its end.
template <typename F>
bool guarded(const char *location, F &&body)
{
    try {
        std::forward<F>(body)();
        return true;
    } catch (const vb::Error &e) {
        reportError(e, location);
    } catch (const std::bad_alloc &) {
        reportError(vb::Error(vb::ErrOutOfMemory), location);
    }
    return false;
}

} // namespace character
