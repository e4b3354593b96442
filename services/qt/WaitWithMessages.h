#pragma once

namespace zorvi::Helpers {

// Returns after the given milliseconds while the windows of this thread stay live:
// window messages, commands and timer ticks are handled meanwhile.
void WaitWithMessages(int milliseconds);

} // namespace zorvi::Helpers
