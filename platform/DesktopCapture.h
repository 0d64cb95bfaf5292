#pragma once

#include <QImage>

namespace vtl::platform {

// The primary screen as a 32-bit picture; a null image on failure.
QImage CaptureDesktop();

} // namespace vtl::platform
