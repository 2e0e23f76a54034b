// SPDX-License-Identifier: MIT
#pragma once
// Ending cleanly when the session ends or the user interrupts: SIGTERM,
// SIGINT and SIGHUP become a call in the event loop, so that the program
// ends through its own way out, which removes its work files, instead of
// dying on the spot.

#include <QObject>

#include <functional>

namespace cf::platform {

// From now on the three signals only note that they came.
void CatchEndSignals();

// Calls `end` from the event loop of the running application once one of
// the signals has come, or as soon as the loop runs if one came already.
// Lasts as long as `context`. Needs a QCoreApplication and CatchEndSignals.
void OnEndSignal(QObject* context, std::function<void()> end);

}  // namespace cf::platform
