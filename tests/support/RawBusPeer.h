#pragma once

// A peer of the window bus that speaks no protocol: it writes whatever bytes a
// test gives it, holds the connection a while, then hangs up without reading.

#include "platform/WindowBus.h"

#include <QByteArray>
#include <chrono>

namespace vtl::test {

// Blocks for the hold time: call it from another thread than the receiver's.
void sendRawAndHangUp(platform::WindowHandle handle, const QByteArray& bytes,
                      std::chrono::milliseconds hold = std::chrono::milliseconds(0));

} // namespace vtl::test
