// Mouse gestures delivered straight to a widget, so that a double-click is one whatever
// clicks came before it in the test.
#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QMouseEvent>

namespace clinora::test {

inline void doubleClickAt(QWidget *widget, QPoint pos)
{
    const QPointF local(pos);
    const QPointF global(widget->mapToGlobal(pos));
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease}) {
        const bool down = type != QEvent::MouseButtonRelease;
        QMouseEvent event(type, local, global, Qt::LeftButton, down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
}

// The mouse moved over a widget with no button down, straight to the widget whatever
// other windows are open.
inline void moveTo(QWidget *widget, QPoint pos)
{
    QMouseEvent event(QEvent::MouseMove, QPointF(pos), QPointF(widget->mapToGlobal(pos)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// Double-clicks the item of a view at a model index.
inline void doubleClick(QAbstractItemView *view, const QModelIndex &index)
{
    view->scrollTo(index);
    doubleClickAt(view->viewport(), view->visualRect(index).center());
}

} // namespace clinora::test
