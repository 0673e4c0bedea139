#include "support/scripted_dialogs.h"

#include <QTest>

namespace clinora::test {

void ScriptedDialogs::information(const QString &text)
{
    m_shown.append({Kind::Information, text, {}});
}

void ScriptedDialogs::warning(const QString &text)
{
    m_shown.append({Kind::Warning, text, {}});
}

void ScriptedDialogs::error(const QString &text)
{
    m_shown.append({Kind::Error, text, {}});
}

bool ScriptedDialogs::question(const QString &text)
{
    m_shown.append({Kind::Question, text, {}});
    if (m_answers.empty() || !std::holds_alternative<bool>(m_answers.front())) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected question: ") + text), __FILE__, __LINE__);
        return false;
    }
    const bool yes = std::get<bool>(m_answers.front());
    m_answers.pop_front();
    return yes;
}

bool ScriptedDialogs::questionDefaultNo(const QString &text)
{
    const bool yes = question(text);
    m_shown.last().defaultNo = true;
    return yes;
}

QString ScriptedDialogs::input(const QString &title, const QString &prompt, const QString &defaultText)
{
    return inputOrCancel(title, prompt, defaultText).value_or(defaultText);
}

std::optional<QString> ScriptedDialogs::inputOrCancel(const QString &title, const QString &prompt,
                                                      const QString &defaultText)
{
    m_shown.append({Kind::Input, prompt, title});
    if (m_answers.empty() || std::holds_alternative<bool>(m_answers.front())) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected input box: ") + prompt), __FILE__, __LINE__);
        return defaultText;
    }
    const Answer answer = m_answers.front();
    m_answers.pop_front();
    if (std::holds_alternative<Cancel>(answer))
        return std::nullopt;
    return std::get<QString>(answer);
}

void ScriptedDialogs::answerQuestion(bool yes)
{
    m_answers.emplace_back(yes);
}

void ScriptedDialogs::answerInput(const QString &text)
{
    m_answers.emplace_back(text);
}

void ScriptedDialogs::cancelInput()
{
    m_answers.emplace_back(Cancel{});
}

QStringList ScriptedDialogs::texts() const
{
    QStringList result;
    for (const Shown &s : m_shown)
        result << s.text;
    return result;
}

QStringList ScriptedDialogs::texts(Kind kind) const
{
    QStringList result;
    for (const Shown &s : m_shown) {
        if (s.kind == kind)
            result << s.text;
    }
    return result;
}

} // namespace clinora::test
