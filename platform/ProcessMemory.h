#pragma once

#include <cstdint>

namespace vtl::platform {

// Resident set size in bytes; 0 when it cannot be measured.
std::uint64_t workingSetSize();
// Gives free heap pages back to the system; false when nothing could be done.
bool trimWorkingSet();

} // namespace vtl::platform
