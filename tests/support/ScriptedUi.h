#pragma once

#include "framework/ui/UserInterface.h"

#include <QList>
#include <QQueue>
#include <QString>

#include <functional>
#include <optional>

namespace kvo::test {

// The user-interface port for tests: answers from queues and records every
// message, so a test can assert the exact Portuguese text a user would see.
// An unexpected question fails loudly instead of guessing an answer.
class ScriptedUi : public UserInterface {
public:
    struct Message {
        MessageKind kind;
        QString text;
    };

    ScriptedUi() { setUserInterface(this); }
    ~ScriptedUi() override { setUserInterface(nullptr); }

    void answerYes() { m_answers.enqueue(true); }
    void answerNo() { m_answers.enqueue(false); }
    void answerInput(std::optional<QString> text) { m_inputs.enqueue(std::move(text)); }
    void answerFile(std::optional<QString> file) { m_files.enqueue(std::move(file)); }

    const QList<Message>& messages() const { return m_messages; }
    const QList<QString>& questions() const { return m_questions; }
    QString lastMessage() const { return m_messages.isEmpty() ? QString() : m_messages.last().text; }
    bool allAnswered() const { return m_answers.isEmpty() && m_inputs.isEmpty() && m_files.isEmpty(); }
    void clear() { m_messages.clear(); m_questions.clear(); }
    // Called as each message arrives, to look at the screen at that moment.
    std::function<void(const Message&)> onMessage;

    void showMessage(MessageKind kind, const QString& message) override;
    bool ask(const QString& message, bool defaultYes) override;
    std::optional<QString> input(const QString& caption, const QString& prompt, const QString& initial,
                                 bool password) override;
    std::optional<QString> chooseFile(const QString& caption, const QString& filter, bool forSaving) override;

private:
    QList<Message> m_messages;
    QList<QString> m_questions;
    QQueue<bool> m_answers;
    QQueue<std::optional<QString>> m_inputs;
    QQueue<std::optional<QString>> m_files;
};

} // namespace kvo::test
