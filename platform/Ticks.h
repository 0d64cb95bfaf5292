#pragma once

#include <cstdint>

namespace vtl::platform {

// Milliseconds since an arbitrary start, wrapping at 32 bits.
std::uint32_t tickCount();

// Returns after at least this many milliseconds, handling the thread's events
// meanwhile (at least once, also for 0). Sleeps between events instead of spinning.
void Pause(std::uint32_t milliseconds);

} // namespace vtl::platform
