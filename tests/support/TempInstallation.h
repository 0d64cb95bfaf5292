#pragma once

// A throw-away X-Plane folder with the map program's folder in it, whose
// mappage.ini points at a page of the demo tree.

#include <QString>
#include <QTemporaryDir>

namespace vtl::test {

class TempInstallation {
public:
    // pageFile: a file of the bundled map page ("index.html", "recording.html").
    explicit TempInstallation(const QString& pageFile = QStringLiteral("index.html"));

    QString xplaneFolder() const;
    QString appFolder() const; // ends in "/"
    QString executablePath() const;
    QString runtimeFolder() const { return m_runtime.path(); }
    // Creates an (empty) file under the X-Plane folder, folders included.
    void addXPlaneFile(const QString& relativePath) const;
    void addAppFile(const QString& name, const QByteArray& contents = {}) const;

private:
    QTemporaryDir m_root;
    QTemporaryDir m_runtime;
};

} // namespace vtl::test
