#pragma once

// A map window installed in a temporary X-Plane folder, with a recording browser
// and a window bus of its own.

#include "platform/MessageBox.h"
#include "skyplot/MainWindow.h"
#include "skyplot/globals.h"
#include "support/FakeBrowser.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace vtl::test {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        QDir().mkpath(root.filePath(QStringLiteral("X-Plane/Norvane")));
        QDir().mkpath(root.filePath(QStringLiteral("X-Plane/Output/FMS Plans")));
        using namespace skyplot;
        IsConnected = false;
        AircraftData = {};
        XPlaneWindow = 0;
    }

    QString appFile(const QString& name) const {
        return root.filePath(QStringLiteral("X-Plane/Norvane/") + name);
    }
    QString xplaneFile(const QString& name) const {
        return root.filePath(QStringLiteral("X-Plane/") + name);
    }
    static void writeFile(const QString& path, const QByteArray& text = {}) {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    skyplot::TfrmMain_Skyplot& open() {
        skyplot::TfrmMain_Skyplot::Options options;
        options.executablePath = appFile(QStringLiteral("VantrelleSkyplot"));
        options.registryFile = root.filePath(QStringLiteral("registry.json"));
        options.instanceBlockName = QStringLiteral("VtlSkyplotUnitTest");
        options.createBrowser = [this](QWidget* parent) {
            browser = new FakeBrowser(parent);
            return browser;
        };
        window = std::make_unique<skyplot::TfrmMain_Skyplot>(options);
        window->show();
        return *window;
    }

    template <typename T = QWidget> T* child(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QString noticeText() const { return child<QLabel>("lbNorvaneOnly")->text(); }
    bool noticeShown() const { return child("pnlNorvaneOnly")->isVisible(); }

    // Every distinct notice text shown while the action runs, in order.
    QStringList noticesDuring(const std::function<void()>& action) {
        QStringList seen;
        QTimer sampler;
        QObject::connect(&sampler, &QTimer::timeout, [&] {
            if (noticeShown() && (seen.isEmpty() || seen.back() != noticeText())) {
                seen.append(noticeText());
            }
        });
        sampler.start(50);
        action();
        return seen;
    }

    // A record as the plug-in sends it.
    static QByteArray record(double lat, double lon, double heading) {
        TAircraftData data;
        data.setLatitude(lat);
        data.setLongitude(lon);
        data.setHeading(heading);
        return data.toBytes();
    }

    QTemporaryDir runtime;
    QTemporaryDir root;
    FakeBrowser* browser = nullptr;
    std::unique_ptr<skyplot::TfrmMain_Skyplot> window;
};

} // namespace vtl::test
