// The Dialogs port shown as Qt message and input boxes, with Qt's own buttons in
// Brazilian Portuguese.
#pragma once

#include "platform/dialogs.h"

namespace clinora {

class QtDialogs final : public Dialogs
{
public:
    void information(const QString &text) override;
    void warning(const QString &text) override;
    void error(const QString &text) override;
    bool question(const QString &text) override;
    bool questionDefaultNo(const QString &text) override;
    QString input(const QString &title, const QString &prompt, const QString &defaultText) override;
    std::optional<QString> inputOrCancel(const QString &title, const QString &prompt,
                                         const QString &defaultText) override;

    // Message texts keep \r and \r\n; they become line breaks only here.
    static QString shown(const QString &text);
};

} // namespace clinora
