// Which events begin a new idle period. Qt delivers a great deal of internal
// traffic as events (timers, queued calls, socket activity of the browser engine);
// only what the user does, and what happens to the windows, counts. Mouse moves
// and painting never do.
#pragma once

#include <QEvent>

namespace qorva {

bool StartsIdlePeriod(QEvent::Type type);

}  // namespace qorva
