#pragma once

#include <QString>

namespace vtl::platform {

// The real path of the running executable (/proc/self/exe).
QString executablePath();

} // namespace vtl::platform
