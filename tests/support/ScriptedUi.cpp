#include "ScriptedUi.h"

#include <stdexcept>

namespace kvo::test {

void ScriptedUi::showMessage(MessageKind kind, const QString& message) {
    m_messages << Message{kind, message};
    if (onMessage)
        onMessage(m_messages.last());
}

bool ScriptedUi::ask(const QString& message, bool) {
    m_questions << message;
    if (m_answers.isEmpty())
        throw std::logic_error("ScriptedUi: unexpected question: " + message.toStdString());
    return m_answers.dequeue();
}

std::optional<QString> ScriptedUi::input(const QString&, const QString& prompt, const QString&, bool) {
    m_questions << prompt;
    if (m_inputs.isEmpty())
        throw std::logic_error("ScriptedUi: unexpected input prompt: " + prompt.toStdString());
    return m_inputs.dequeue();
}

std::optional<QString> ScriptedUi::chooseFile(const QString& caption, const QString&, bool) {
    m_questions << caption;
    if (m_files.isEmpty())
        throw std::logic_error("ScriptedUi: unexpected file chooser: " + caption.toStdString());
    return m_files.dequeue();
}

} // namespace kvo::test
