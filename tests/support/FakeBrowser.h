#pragma once

// A browser that records what the program asks of it; tests raise its events.

#include "platform/Browser.h"

#include <QStringList>
#include <QWidget>

namespace vtl::test {

class FakeBrowser : public platform::Browser {
public:
    explicit FakeBrowser(QWidget* parent)
        : platform::Browser(parent), m_view(new QWidget(parent)) {}

    QWidget* widget() override { return m_view; }
    void Navigate(const QString& url) override { navigations.append(url); }
    void Refresh() override { ++refreshes; }
    bool Busy() const override { return busy; }
    void ExecScript(const QString& text) override { scripts.append(text); }
    QString cacheFolder() const override { return cache; }

    // Simulates a page load from start to end.
    void load() {
        busy = true;
        emit downloadBegin();
        busy = false;
        emit downloadComplete();
    }

    QStringList navigations;
    QStringList scripts;
    int refreshes = 0;
    bool busy = false;
    QString cache;

private:
    QWidget* m_view;
};

} // namespace vtl::test
