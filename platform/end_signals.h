// SPDX-License-Identifier: MIT
#pragma once
// Ending cleanly when the session ends or the user interrupts: SIGTERM,
// SIGINT and SIGHUP become a call in the event loop, so that the program
// ends through its own way out, which removes its work files, instead of
// dying on the spot. Outside an event loop, the waits of the command line
// end as soon as one of them comes.

#include <QObject>

#include <functional>

namespace cf::platform {

// From now on the three signals only note that they came.
void CatchEndSignals();

// The first of the signals that came since CatchEndSignals, or 0.
int EndSignalReceived();

// A process forked to do one thing for its parent (the parent ends it when
// it must): the signals end it on the spot again, and it keeps nothing of
// the parent's way of noting them.
void RestoreEndSignals();

// Calls `end` from the event loop of the running application once one of
// the signals has come, or as soon as the loop runs if one came already.
// Lasts as long as `context`. Needs a QCoreApplication and CatchEndSignals.
void OnEndSignal(QObject* context, std::function<void()> end);

enum class WaitOutcome { Readable, TimedOut, EndSignal };

// Waits until `fd` has something to read (or its end), `timeoutMs` have
// passed (a negative timeout never passes), or one of the signals has come.
WaitOutcome WaitToRead(int fd, int timeoutMs);

}  // namespace cf::platform
