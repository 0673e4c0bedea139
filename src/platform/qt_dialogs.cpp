#include "platform/qt_dialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace clinora {

namespace {

// The window the user is working in: a window kept open beside a modal one (the day
// list beside the booking screen) owns its messages, and comes back to the front when
// they close.
QWidget *parentWindow()
{
    return QApplication::activeWindow() ? QApplication::activeWindow() : QApplication::activeModalWidget();
}

const QString kTitle = QStringLiteral("Clinora");

} // namespace

QString QtDialogs::shown(const QString &text)
{
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

void QtDialogs::information(const QString &text)
{
    QMessageBox::information(parentWindow(), kTitle, shown(text));
}

void QtDialogs::warning(const QString &text)
{
    QMessageBox::warning(parentWindow(), kTitle, shown(text));
}

void QtDialogs::error(const QString &text)
{
    QMessageBox::critical(parentWindow(), kTitle, shown(text));
}

bool QtDialogs::question(const QString &text)
{
    return QMessageBox::question(parentWindow(), kTitle, shown(text),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
           == QMessageBox::Yes;
}

bool QtDialogs::questionDefaultNo(const QString &text)
{
    return QMessageBox::question(parentWindow(), kTitle, shown(text),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

QString QtDialogs::input(const QString &title, const QString &prompt, const QString &defaultText)
{
    return inputOrCancel(title, prompt, defaultText).value_or(defaultText);
}

std::optional<QString> QtDialogs::inputOrCancel(const QString &title, const QString &prompt,
                                                const QString &defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parentWindow(), title, shown(prompt),
                                               QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

} // namespace clinora
