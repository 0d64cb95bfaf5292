#pragma once

#include <chrono>
#include <functional>

namespace vtl::test {

// Handles events until the condition holds; false when the time ran out.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

} // namespace vtl::test
