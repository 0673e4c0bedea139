// Small helpers for building and reading widgets that any screen may use: a widget
// given its object name as it is made, and the chosen texts of a list box.
#pragma once

#include <QStringList>

class QListWidget;

namespace clinora::form {

template <typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// The texts of the selected items of a list box, in the list's order.
QStringList selectedTexts(const QListWidget *list);

} // namespace clinora::form
