#pragma once

#include <QString>

namespace vtl::skyplot {

// A development environment is open (its main window and property inspector).
bool IsIDERunning();
bool WindowExists(const QString& className, const QString& caption);

// Runs the program from splash to the end of its message loop; the exit code.
int runSkyplot();

} // namespace vtl::skyplot
