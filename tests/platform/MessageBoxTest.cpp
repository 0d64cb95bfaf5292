#include "platform/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace vtl::platform {

void PrintTo(const MessageBoxRequest& r, std::ostream* out) {
    *out << "{icon " << static_cast<int>(r.icon) << ", buttons " << static_cast<int>(r.buttons)
         << ", \"" << r.caption.toStdString() << "\", \"" << r.text.toStdString() << "\""
         << (r.topmost ? ", topmost" : "") << '}';
}

namespace {

constexpr const char* kScriptVariable = "VANTRELLE_TEST_MSGBOX";

MessageBoxRequest request(MessageButtons buttons, const QString& text = QStringLiteral("Text")) {
    MessageBoxRequest r;
    r.icon = MessageIcon::Question;
    r.buttons = buttons;
    r.caption = QStringLiteral("Caption");
    r.text = text;
    return r;
}

ScopedMessageBoxAnswerer::Answer always(MessageResult result) {
    return [result](const MessageBoxRequest&) { return result; };
}

// Sets (or clears, for nullopt) an environment variable for one test.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, std::optional<QByteArray> value)
        : m_name(name), m_wasSet(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
        if (value) {
            qputenv(m_name, *value);
        } else {
            qunsetenv(m_name);
        }
    }
    ~ScopedEnvironment() {
        if (m_wasSet) {
            qputenv(m_name, m_old);
        } else {
            qunsetenv(m_name);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* m_name;
    bool m_wasSet;
    QByteArray m_old;
};

TEST(MessageBoxAnswerer, RecordsTheWholeRequestAndGivesItsAnswer) {
    ScopedMessageBoxAnswerer answerer(always(MessageResult::No));
    MessageBoxRequest asked;
    asked.icon = MessageIcon::Warning;
    asked.buttons = MessageButtons::YesNo;
    asked.caption = QStringLiteral("Moving map");
    asked.text = QStringLiteral("Line one\nLine two");
    asked.topmost = true;

    EXPECT_EQ(showMessageBox(asked), MessageResult::No);
    ASSERT_EQ(answerer.requests().size(), 1U);
    EXPECT_EQ(answerer.requests().front(), asked);
}

TEST(MessageBoxAnswerer, TheFunctionSeesTheRequest) {
    ScopedMessageBoxAnswerer answerer([](const MessageBoxRequest& r) {
        return r.text == QLatin1String("agree?") ? MessageResult::Yes : MessageResult::No;
    });
    EXPECT_EQ(showMessageBox(request(MessageButtons::YesNo, QStringLiteral("agree?"))),
              MessageResult::Yes);
    EXPECT_EQ(showMessageBox(request(MessageButtons::YesNo, QStringLiteral("other"))),
              MessageResult::No);
    EXPECT_EQ(answerer.requests().size(), 2U);
}

TEST(MessageBoxAnswerer, InnermostAnswersAndOuterTakesOverWhenItGoes) {
    ScopedMessageBoxAnswerer outer(always(MessageResult::Ok));
    {
        ScopedMessageBoxAnswerer inner(always(MessageResult::Cancel));
        EXPECT_EQ(showMessageBox(request(MessageButtons::OkCancel, QStringLiteral("inner"))),
                  MessageResult::Cancel);
        ASSERT_EQ(inner.requests().size(), 1U);
        EXPECT_EQ(inner.requests().front().text, QLatin1String("inner"));
    }
    EXPECT_TRUE(outer.requests().empty());
    EXPECT_EQ(showMessageBox(request(MessageButtons::OkCancel, QStringLiteral("outer"))),
              MessageResult::Ok);
    ASSERT_EQ(outer.requests().size(), 1U);
    EXPECT_EQ(outer.requests().front().text, QLatin1String("outer"));
}

TEST(MessageBoxAnswerer, OuterGoingFirstLeavesTheInnerInCharge) {
    // With the script variable set, a box that reaches no answerer is printed
    // rather than shown, so a broken chain shows up as output instead of a hang.
    const ScopedEnvironment script(kScriptVariable, QByteArray("no"));
    auto outer = std::make_unique<ScopedMessageBoxAnswerer>(always(MessageResult::Yes));
    auto inner = std::make_unique<ScopedMessageBoxAnswerer>(always(MessageResult::Yes));
    outer.reset();
    EXPECT_EQ(showMessageBox(request(MessageButtons::YesNo)), MessageResult::Yes);
    EXPECT_EQ(inner->requests().size(), 1U);

    inner.reset();
    testing::internal::CaptureStderr();
    EXPECT_EQ(showMessageBox(request(MessageButtons::YesNo)), MessageResult::No);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("MESSAGEBOX"), std::string::npos);
}

TEST(MessageBoxAnswerer, WinsOverTheScriptVariable) {
    const ScopedEnvironment script(kScriptVariable, QByteArray("no"));
    ScopedMessageBoxAnswerer answerer(always(MessageResult::Yes));
    testing::internal::CaptureStderr();
    EXPECT_EQ(showMessageBox(request(MessageButtons::YesNo)), MessageResult::Yes);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(answerer.requests().size(), 1U);
}

struct ScriptCase {
    std::string name;
    QByteArray variable;
    MessageButtons buttons;
    MessageResult expected;
};

class ScriptedMessageBox : public testing::TestWithParam<ScriptCase> {};

TEST_P(ScriptedMessageBox, AnswersFittedToTheButtons) {
    const ScriptCase& c = GetParam();
    const ScopedEnvironment script(kScriptVariable, c.variable);
    testing::internal::CaptureStderr();
    EXPECT_EQ(showMessageBox(request(c.buttons)), c.expected);
    testing::internal::GetCapturedStderr();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScriptedMessageBox,
    testing::Values(
        ScriptCase{"OkOnOk", "ok", MessageButtons::Ok, MessageResult::Ok},
        ScriptCase{"NoOnOk", "no", MessageButtons::Ok, MessageResult::Ok},
        ScriptCase{"OkOnOkCancel", "ok", MessageButtons::OkCancel, MessageResult::Ok},
        ScriptCase{"CancelOnOkCancel", "cancel", MessageButtons::OkCancel, MessageResult::Cancel},
        ScriptCase{"YesOnOkCancel", "yes", MessageButtons::OkCancel, MessageResult::Ok},
        ScriptCase{"YesOnYesNo", "yes", MessageButtons::YesNo, MessageResult::Yes},
        ScriptCase{"NoOnYesNo", "no", MessageButtons::YesNo, MessageResult::No},
        ScriptCase{"OkOnYesNo", "ok", MessageButtons::YesNo, MessageResult::Yes},
        ScriptCase{"UpperCase", "YES", MessageButtons::YesNo, MessageResult::Yes},
        ScriptCase{"GarbageDeclines", "maybe", MessageButtons::YesNo, MessageResult::No},
        ScriptCase{"EmptyDeclines", "", MessageButtons::OkCancel, MessageResult::Cancel}),
    [](const testing::TestParamInfo<ScriptCase>& info) { return info.param.name; });

TEST(ScriptedMessageBox, PrintsOneLineWithEscapedLineBreaks) {
    const ScopedEnvironment script(kScriptVariable, QByteArray("ok"));
    MessageBoxRequest r = request(MessageButtons::Ok);
    r.caption = QStringLiteral("Kart\u00e9");
    r.text = QStringLiteral("first\nsecond\r\nthird");
    testing::internal::CaptureStderr();
    showMessageBox(r);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "MESSAGEBOX Kart\xc3\xa9|first\\nsecond\\nthird\n");
}

// Waits for the next modal message box, notes what it shows and then acts on it.
// A box that the action fails to close is closed after a while, so that a fault
// fails the test instead of hanging it.
class ModalBoxDriver {
public:
    struct Seen {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        bool topmost = false;
        QWidget* parent = nullptr;
    };

    explicit ModalBoxDriver(std::function<void(QMessageBox*)> action)
        : m_action(std::move(action)) {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    const std::optional<Seen>& seen() const { return m_seen; }

private:
    void poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        m_timer.stop();
        m_seen = Seen{box->icon(),
                      box->windowTitle(),
                      box->text(),
                      box->standardButtons(),
                      box->windowFlags().testFlag(Qt::WindowStaysOnTopHint),
                      box->parentWidget()};
        QTimer::singleShot(5000, box, [box] { box->done(-1); });
        m_action(box);
    }

    QTimer m_timer;
    std::function<void(QMessageBox*)> m_action;
    std::optional<Seen> m_seen;
};

std::function<void(QMessageBox*)> click(QMessageBox::StandardButton button) {
    return [button](QMessageBox* box) {
        if (QAbstractButton* b = box->button(button)) {
            b->click();
        }
    };
}

std::function<void(QMessageBox*)> pressEscape() {
    return [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); };
}

std::function<void(QMessageBox*)> closeWindow() {
    return [](QMessageBox* box) { box->close(); };
}

struct ShownCase {
    std::string name;
    MessageButtons buttons;
    std::function<void(QMessageBox*)> action;
    MessageResult expected;
    QMessageBox::StandardButtons shownButtons;
};

class ShownMessageBox : public testing::TestWithParam<ShownCase> {
protected:
    // Make sure no test setting leaks in and skips the real box.
    ScopedEnvironment m_noScript{kScriptVariable, std::nullopt};
};

TEST_P(ShownMessageBox, ShowsTheButtonsAndReturnsTheUsersChoice) {
    const ShownCase& c = GetParam();
    ModalBoxDriver driver(c.action);
    EXPECT_EQ(showMessageBox(request(c.buttons)), c.expected);
    ASSERT_TRUE(driver.seen().has_value());
    EXPECT_EQ(driver.seen()->buttons, c.shownButtons);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShownMessageBox,
    testing::Values(ShownCase{"OkClicked", MessageButtons::Ok, click(QMessageBox::Ok),
                              MessageResult::Ok, QMessageBox::Ok},
                    ShownCase{"OkEscape", MessageButtons::Ok, pressEscape(), MessageResult::Ok,
                              QMessageBox::Ok},
                    ShownCase{"OkCancelOk", MessageButtons::OkCancel, click(QMessageBox::Ok),
                              MessageResult::Ok, QMessageBox::Ok | QMessageBox::Cancel},
                    ShownCase{"OkCancelCancel", MessageButtons::OkCancel,
                              click(QMessageBox::Cancel), MessageResult::Cancel,
                              QMessageBox::Ok | QMessageBox::Cancel},
                    ShownCase{"OkCancelEscape", MessageButtons::OkCancel, pressEscape(),
                              MessageResult::Cancel, QMessageBox::Ok | QMessageBox::Cancel},
                    ShownCase{"OkCancelClosed", MessageButtons::OkCancel, closeWindow(),
                              MessageResult::Cancel, QMessageBox::Ok | QMessageBox::Cancel},
                    ShownCase{"YesNoYes", MessageButtons::YesNo, click(QMessageBox::Yes),
                              MessageResult::Yes, QMessageBox::Yes | QMessageBox::No},
                    ShownCase{"YesNoNo", MessageButtons::YesNo, click(QMessageBox::No),
                              MessageResult::No, QMessageBox::Yes | QMessageBox::No},
                    ShownCase{"YesNoEscape", MessageButtons::YesNo, pressEscape(),
                              MessageResult::No, QMessageBox::Yes | QMessageBox::No},
                    ShownCase{"YesNoClosed", MessageButtons::YesNo, closeWindow(),
                              MessageResult::No, QMessageBox::Yes | QMessageBox::No}),
    [](const testing::TestParamInfo<ShownCase>& info) { return info.param.name; });

struct IconCase {
    MessageIcon icon;
    QMessageBox::Icon expected;
};

TEST(ShownMessageBoxLook, ShowsCaptionTextIconTopmostAndOwner) {
    const ScopedEnvironment noScript(kScriptVariable, std::nullopt);
    QWidget owner;
    for (const IconCase& c : {IconCase{MessageIcon::Information, QMessageBox::Information},
                              IconCase{MessageIcon::Question, QMessageBox::Question},
                              IconCase{MessageIcon::Warning, QMessageBox::Warning},
                              IconCase{MessageIcon::Error, QMessageBox::Critical}}) {
        for (const bool topmost : {false, true}) {
            SCOPED_TRACE(testing::Message()
                         << "icon " << static_cast<int>(c.icon) << " topmost " << topmost);
            MessageBoxRequest r = request(MessageButtons::Ok, QStringLiteral("Two\nlines"));
            r.icon = c.icon;
            r.topmost = topmost;
            ModalBoxDriver driver(click(QMessageBox::Ok));
            showMessageBox(r, topmost ? &owner : nullptr);
            ASSERT_TRUE(driver.seen().has_value());
            EXPECT_EQ(driver.seen()->icon, c.expected);
            EXPECT_EQ(driver.seen()->title, QLatin1String("Caption"));
            EXPECT_EQ(driver.seen()->text, QLatin1String("Two\nlines"));
            EXPECT_EQ(driver.seen()->topmost, topmost);
            EXPECT_EQ(driver.seen()->parent, topmost ? &owner : nullptr);
        }
    }
}

} // namespace
} // namespace vtl::platform
