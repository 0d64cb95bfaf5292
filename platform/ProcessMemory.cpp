#include "platform/ProcessMemory.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace vtl::platform {

std::uint64_t workingSetSize() {
    // statm: size resident shared text lib data dt, all in pages.
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readLine().simplified().split(' ');
    if (fields.size() < 2)
        return 0;
    bool ok = false;
    const qulonglong pages = fields[1].toULongLong(&ok);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (!ok || pageSize <= 0)
        return 0;
    return pages * static_cast<std::uint64_t>(pageSize);
}

bool trimWorkingSet() {
#if defined(__GLIBC__)
    // Like the Windows call, success means the request was carried out, whether
    // or not any page could be released.
    malloc_trim(0);
    return true;
#else
    return false;
#endif
}

} // namespace vtl::platform
