#include "platform/SingleInstance.h"

#include <QByteArray>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vtl::platform {

namespace {

bool usableFolder(const char* path) {
    struct stat info {};
    return ::stat(path, &info) == 0 && S_ISDIR(info.st_mode) && ::access(path, W_OK | X_OK) == 0;
}

// /dev/shm where the system has it, like the Windows object namespace lives in
// memory; otherwise the user's runtime folder, then /tmp.
QString blockFolder() {
    if (usableFolder("/dev/shm")) {
        return QStringLiteral("/dev/shm");
    }
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.startsWith('/') && usableFolder(runtime.constData())) {
        return QFile::decodeName(runtime);
    }
    return QStringLiteral("/tmp");
}

// Block names may contain anything a Windows object name may ("Global\..."); only
// '/' and NUL cannot appear in a file name. Escaping '%' as well keeps different
// names on different files.
QString fileNameFor(const QString& name) {
    QString escaped;
    escaped.reserve(name.size());
    for (const QChar c : name) {
        if (c == QLatin1Char('%')) {
            escaped += QStringLiteral("%25");
        } else if (c == QLatin1Char('/')) {
            escaped += QStringLiteral("%2F");
        } else if (c.isNull()) {
            escaped += QStringLiteral("%00");
        } else {
            escaped += c;
        }
    }
    return QStringLiteral("vantrelle-%1-%2").arg(::geteuid()).arg(escaped);
}

} // namespace

NamedInstanceBlock::NamedInstanceBlock(const QString& name) {
    const QByteArray path = QFile::encodeName(blockFolder() + QLatin1Char('/') + fileNameFor(name));
    m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (m_fd < 0) {
        return;
    }
    // A file planted by another user in a shared folder must not decide for us.
    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
        m_state = State::Created;
        return;
    }
    m_state = errno == EWOULDBLOCK ? State::AlreadyExists : State::Failed;
    ::close(m_fd);
    m_fd = -1;
}

// The file stays: after an unlink, a process that had opened the old file and
// one that creates a new file could both get a lock.
NamedInstanceBlock::~NamedInstanceBlock() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

} // namespace vtl::platform
