#include "platform/AtomicFile.h"

#include <QSaveFile>

namespace vtl::platform {

bool writeFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

} // namespace vtl::platform
