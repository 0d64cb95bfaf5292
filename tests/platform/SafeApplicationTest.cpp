#include "platform/SafeApplication.h"

#include "platform/MessageBox.h"

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <gtest/gtest.h>
#include <stdexcept>

namespace vtl::platform {
namespace {

// Throws from its event handler, as a careless handler in the programs might.
class ThrowingObject : public QObject {
public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) {
            throw std::runtime_error("handler failed: chart missing");
        }
        return QObject::event(event);
    }
};

class CallReportingErrors : public testing::Test {
protected:
    ScopedMessageBoxAnswerer m_answerer{[](const MessageBoxRequest&) { return MessageResult::Ok; }};
};

TEST_F(CallReportingErrors, PassesTheHandlersAnswerWhenNothingIsThrown) {
    EXPECT_TRUE(callReportingErrors([] { return true; }));
    EXPECT_FALSE(callReportingErrors([] { return false; }));
    EXPECT_TRUE(m_answerer.requests().empty());
}

TEST_F(CallReportingErrors, ShowsTheErrorTextInAnErrorBox) {
    EXPECT_FALSE(callReportingErrors([]() -> bool { throw std::runtime_error("out of charts"); }));
    ASSERT_EQ(m_answerer.requests().size(), 1U);
    const MessageBoxRequest& shown = m_answerer.requests().front();
    EXPECT_EQ(shown.icon, MessageIcon::Error);
    EXPECT_EQ(shown.buttons, MessageButtons::Ok);
    EXPECT_EQ(shown.caption, QGuiApplication::applicationDisplayName());
    EXPECT_EQ(shown.text, QLatin1String("out of charts"));
}

TEST_F(CallReportingErrors, ReportsAnErrorThatIsNoStandardException) {
    EXPECT_FALSE(callReportingErrors([]() -> bool { throw 42; }));
    ASSERT_EQ(m_answerer.requests().size(), 1U);
    EXPECT_FALSE(m_answerer.requests().front().text.isEmpty());
}

TEST_F(CallReportingErrors, CatchesAnErrorThrownThroughQtsEventDelivery) {
    // What SafeApplication::notify does, on the test's own application object.
    ThrowingObject receiver;
    QEvent failing(QEvent::User);
    EXPECT_FALSE(callReportingErrors([&] { return qApp->notify(&receiver, &failing); }));
    ASSERT_EQ(m_answerer.requests().size(), 1U);
    EXPECT_EQ(m_answerer.requests().front().text, QLatin1String("handler failed: chart missing"));

    // And the program goes on: the same object still takes events.
    QEvent harmless(QEvent::None);
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&receiver, &harmless));
    EXPECT_EQ(m_answerer.requests().size(), 1U);
}

} // namespace
} // namespace vtl::platform
