#include "platform/widget_helpers.h"

#include <QListWidget>

namespace clinora::form {

QStringList selectedTexts(const QListWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->isSelected())
            texts << list->item(row)->text();
    }
    return texts;
}

} // namespace clinora::form
