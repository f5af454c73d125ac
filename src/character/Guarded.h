#pragma once
// Every operation of the record handles its own run-time errors: one error box
// with the operation's location, then the operation returns what it had
// reached. This keeps that pattern in one place.
#include "frame/ErrorReporter.h"
#include "platform/vb.h"

#include <new>
#include <utility>

namespace character {

// Runs body; a vb::Error (or an exhausted memory) is reported at `location`.
// True when body ran to its end.
template <typename F>
bool guarded(const char *location, F &&body)
{
    try {
        std::forward<F>(body)();
        return true;
    } catch (const vb::Error &e) {
        ReportError(e, QString::fromLatin1(location));
    } catch (const std::bad_alloc &) {
        ReportError(vb::Error(vb::ErrOutOfMemory), QString::fromLatin1(location));
    }
    return false;
}

} // namespace character
