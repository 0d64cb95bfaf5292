#pragma once

// The simulator's window on the bus, run on a thread of its own so that a
// program under test on the main thread can send to it and wait for the answer.

#include "platform/WindowBus.h"

#include <QThread>
#include <atomic>
#include <future>

namespace vtl::test {

class SimulatorPeer : public QThread {
public:
    // answer false: take registrations but hold the answer beyond any time limit.
    explicit SimulatorPeer(bool answer = true) : m_answer(answer) {
        start();
        m_handle = m_ready.get_future().get();
    }
    ~SimulatorPeer() override {
        quit();
        wait();
    }

    platform::WindowHandle handle() const { return m_handle; }
    platform::WindowHandle registeredWindow() const { return m_registered.load(); }
    int registrations() const { return m_registrations.load(); }

protected:
    void run() override {
        platform::BusWindow window(QStringLiteral("X-System"), QStringLiteral("X-Plane"));
        const auto registerMessage = platform::registerWindowMessage("REGISTER_WINDOW_HANDLE");
        window.setHandler([this, registerMessage](const platform::BusMessage& m) -> std::int64_t {
            if (m.message == registerMessage) {
                m_registered = static_cast<platform::WindowHandle>(m.wParam);
                ++m_registrations;
                if (!m_answer) {
                    QThread::msleep(6500);
                }
            }
            return 1;
        });
        m_ready.set_value(window.handle());
        exec();
    }

private:
    bool m_answer;
    std::promise<platform::WindowHandle> m_ready;
    platform::WindowHandle m_handle = 0;
    std::atomic<platform::WindowHandle> m_registered{0};
    std::atomic<int> m_registrations{0};
};

} // namespace vtl::test
