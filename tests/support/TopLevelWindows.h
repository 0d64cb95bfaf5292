#pragma once

// What an X server shows, read as a window manager would: the top-level windows
// of a class and whether each is on screen. Xlib stays out of this header, as its
// macros clash with Qt and test names.

#include <vector>

struct _XDisplay;

namespace vtl::test {

// One entry per top-level window whose WM_CLASS class is className: true when
// it is viewable. Windows that vanish while being read are skipped.
std::vector<bool> topLevelWindowsOfClass(_XDisplay* display, const char* className);

} // namespace vtl::test
