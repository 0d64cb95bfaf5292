#pragma once

// Message boxes for the whole program, with a hook through which tests answer
// them and see what was asked.

#include <QString>
#include <functional>
#include <vector>

class QWidget;

namespace vtl::platform {

enum class MessageIcon { Information, Question, Warning, Error };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageResult { Ok, Cancel, Yes, No };

struct MessageBoxRequest {
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
    QString caption;
    QString text;
    bool topmost = false;
    bool operator==(const MessageBoxRequest&) const = default;
};

MessageResult showMessageBox(const MessageBoxRequest& request, QWidget* owner = nullptr);

// While an answerer lives, boxes are not shown: each request is recorded and
// answered by the function. A test in another process sets the environment
// variable VANTRELLE_TEST_MSGBOX to "ok", "cancel", "yes" or "no" instead; the
// request is then printed to standard error.
class ScopedMessageBoxAnswerer {
public:
    using Answer = std::function<MessageResult(const MessageBoxRequest&)>;
    explicit ScopedMessageBoxAnswerer(Answer answer);
    ~ScopedMessageBoxAnswerer();
    ScopedMessageBoxAnswerer(const ScopedMessageBoxAnswerer&) = delete;
    ScopedMessageBoxAnswerer& operator=(const ScopedMessageBoxAnswerer&) = delete;

    const std::vector<MessageBoxRequest>& requests() const { return m_requests; }

private:
    Answer m_answer;
    std::vector<MessageBoxRequest> m_requests;
    ScopedMessageBoxAnswerer* m_previous = nullptr;
    friend MessageResult showMessageBox(const MessageBoxRequest&, QWidget*);
};

} // namespace vtl::platform
