// The port through which logic asks and tells the user. The Qt implementation shows
// message boxes; tests answer from a script.
#pragma once

#include <QString>

#include <optional>

namespace clinora {

class Dialogs
{
public:
    virtual ~Dialogs() = default;

    virtual void information(const QString &text) = 0;
    virtual void warning(const QString &text) = 0;
    // The standard error box shown when a user action ends with an error.
    virtual void error(const QString &text) = 0;
    // A Yes/No confirmation; true for Yes.
    virtual bool question(const QString &text) = 0;
    // The same with "No" as the answer Enter gives, for a Yes that cannot be undone.
    virtual bool questionDefaultNo(const QString &text) { return question(text); }
    // An input box; cancelling gives the default back.
    virtual QString input(const QString &title, const QString &prompt,
                          const QString &defaultText) = 0;
    // The same box where a cancel must change nothing: no value when it was cancelled.
    // A port that cannot tell a cancel apart answers as input() does.
    virtual std::optional<QString> inputOrCancel(const QString &title, const QString &prompt,
                                                 const QString &defaultText)
    {
        return input(title, prompt, defaultText);
    }
};

} // namespace clinora
