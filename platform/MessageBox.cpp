#include "platform/MessageBox.h"

#include <QByteArray>
#include <QMessageBox>
#include <cstdio>
#include <optional>

namespace vtl::platform {

namespace {

// The answerer hook: the innermost live answerer, or null.
ScopedMessageBoxAnswerer* g_answerer = nullptr;

constexpr const char* kScriptedAnswerVariable = "VANTRELLE_TEST_MSGBOX";

// What closing the box without choosing gives (Escape, the window's close button).
MessageResult dismissedResult(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageResult::Ok;
    case MessageButtons::OkCancel:
        return MessageResult::Cancel;
    case MessageButtons::YesNo:
        return MessageResult::No;
    }
    return MessageResult::Cancel;
}

// A scripted run gives one answer for every box, so "yes" must also answer an
// Ok/Cancel box sensibly: the answer is taken as agree or decline and fitted to
// the buttons shown. Any other text declines, so that no box ever waits.
MessageResult scriptedResult(const QByteArray& answer, MessageButtons buttons) {
    const QByteArray word = answer.trimmed().toLower();
    const bool agree = word == "ok" || word == "yes";
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageResult::Ok;
    case MessageButtons::OkCancel:
        return agree ? MessageResult::Ok : MessageResult::Cancel;
    case MessageButtons::YesNo:
        return agree ? MessageResult::Yes : MessageResult::No;
    }
    return dismissedResult(buttons);
}

// One line per box, so that the test reading the output can match it.
void printScriptedRequest(const MessageBoxRequest& request) {
    QString text = request.text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
    text.replace(QLatin1Char('\r'), QLatin1String("\\n"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    const QByteArray line = "MESSAGEBOX " + request.caption.toUtf8() + '|' + text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
    std::fflush(stderr);
}

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return QMessageBox::Ok;
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    }
    return QMessageBox::Ok;
}

std::optional<MessageResult> resultOf(int button) {
    switch (button) {
    case QMessageBox::Ok:
        return MessageResult::Ok;
    case QMessageBox::Cancel:
        return MessageResult::Cancel;
    case QMessageBox::Yes:
        return MessageResult::Yes;
    case QMessageBox::No:
        return MessageResult::No;
    default:
        return std::nullopt;
    }
}

MessageResult execMessageBox(const MessageBoxRequest& request, QWidget* owner) {
    QMessageBox box(qtIcon(request.icon), request.caption, request.text, qtButtons(request.buttons),
                    owner);
    box.setDefaultButton(request.buttons == MessageButtons::YesNo ? QMessageBox::Yes
                                                                  : QMessageBox::Ok);
    switch (request.buttons) {
    case MessageButtons::Ok:
        box.setEscapeButton(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case MessageButtons::YesNo:
        box.setEscapeButton(QMessageBox::No);
        break;
    }
    if (request.topmost) {
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
    return resultOf(box.exec()).value_or(dismissedResult(request.buttons));
}

} // namespace

ScopedMessageBoxAnswerer::ScopedMessageBoxAnswerer(Answer answer)
    : m_answer(std::move(answer)), m_previous(g_answerer) {
    g_answerer = this;
}

ScopedMessageBoxAnswerer::~ScopedMessageBoxAnswerer() {
    // Normally the innermost one goes first; if not, unlink it from the middle.
    if (g_answerer == this) {
        g_answerer = m_previous;
        return;
    }
    for (ScopedMessageBoxAnswerer* inner = g_answerer; inner != nullptr;
         inner = inner->m_previous) {
        if (inner->m_previous == this) {
            inner->m_previous = m_previous;
            return;
        }
    }
}

MessageResult showMessageBox(const MessageBoxRequest& request, QWidget* owner) {
    if (ScopedMessageBoxAnswerer* answerer = g_answerer) {
        answerer->m_requests.push_back(request);
        return answerer->m_answer ? answerer->m_answer(request) : dismissedResult(request.buttons);
    }
    if (qEnvironmentVariableIsSet(kScriptedAnswerVariable)) {
        printScriptedRequest(request);
        return scriptedResult(qgetenv(kScriptedAnswerVariable), request.buttons);
    }
    return execMessageBox(request, owner);
}

} // namespace vtl::platform
