// The Dialogs port for tests: messages are recorded, questions and input boxes are
// answered from a script, and an unscripted question fails the test.
#pragma once

#include "platform/dialogs.h"

#include <QList>
#include <QStringList>

#include <deque>
#include <variant>

namespace clinora::test {

class ScriptedDialogs final : public Dialogs
{
public:
    enum class Kind { Information, Warning, Error, Question, Input };
    struct Shown
    {
        Kind kind;
        QString text; // the message, or the prompt of an input box
        QString title;
        bool defaultNo = false; // a question where Enter answers "No"
    };

    void information(const QString &text) override;
    void warning(const QString &text) override;
    void error(const QString &text) override;
    bool question(const QString &text) override;
    bool questionDefaultNo(const QString &text) override;
    QString input(const QString &title, const QString &prompt, const QString &defaultText) override;
    std::optional<QString> inputOrCancel(const QString &title, const QString &prompt,
                                         const QString &defaultText) override;

    // The next question is answered with this.
    void answerQuestion(bool yes);
    // The next input box is answered with this text.
    void answerInput(const QString &text);
    // The next input box is cancelled (its default comes back, or no value where the
    // caller tells a cancel apart).
    void cancelInput();

    const QList<Shown> &shown() const { return m_shown; }
    // The texts of every box shown, in order.
    QStringList texts() const;
    // The texts of the boxes of one kind.
    QStringList texts(Kind kind) const;
    void clear() { m_shown.clear(); }
    // Answers scripted and never asked for.
    int unusedAnswers() const { return static_cast<int>(m_answers.size()); }

private:
    struct Cancel
    {
    };
    using Answer = std::variant<bool, QString, Cancel>;
    std::deque<Answer> m_answers;
    QList<Shown> m_shown;
};

} // namespace clinora::test
