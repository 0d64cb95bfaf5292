#include "support/TopLevelWindows.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstring>

namespace vtl::test {

namespace {
int ignoreXErrors(Display* /*display*/, XErrorEvent* /*error*/) {
    return 0;
}
} // namespace

std::vector<bool> topLevelWindowsOfClass(Display* display, const char* className) {
    std::vector<bool> found;
    if (display == nullptr) {
        return found;
    }
    const XErrorHandler previous = XSetErrorHandler(&ignoreXErrors);
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    for (unsigned i = 0; i < count; ++i) {
        XClassHint hint{};
        if (XGetClassHint(display, children[i], &hint) == 0) {
            continue;
        }
        if (hint.res_class != nullptr && std::strcmp(hint.res_class, className) == 0) {
            XWindowAttributes attributes{};
            XGetWindowAttributes(display, children[i], &attributes);
            found.push_back(attributes.map_state == IsViewable);
        }
        XFree(hint.res_name);
        XFree(hint.res_class);
    }
    XFree(children);
    XSync(display, False);
    XSetErrorHandler(previous);
    return found;
}

} // namespace vtl::test
