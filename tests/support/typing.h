// Typing into a box as a receptionist does: a click in it, the cursor taken to the end
// of what it shows, that erased key by key, then the new text typed.
#pragma once

#include "mouse.h"

#include <QLineEdit>
#include <QTest>

namespace clinora::test {

inline void typeOver(QLineEdit *edit, const QString &text)
{
    click(edit);
    QTest::keyClick(edit, Qt::Key_End);
    // What the receptionist sees: blanks at the end of a box are invisible.
    const qsizetype shown = edit->text().trimmed().size();
    for (qsizetype i = 0; i < shown; ++i)
        QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

} // namespace clinora::test
