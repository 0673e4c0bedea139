// Mouse gestures as a person makes them: at the control's place on its window, delivered
// to that window through Qt's own dispatch, so that whatever widget really lies under the
// pointer receives it (a covered control never sees the click, a modal dialog blocks the
// window behind it). Each gesture stands alone: a click never turns the next one into a
// double-click.
#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace clinora::test {

// The control's top-level window and the point, in that window, of pos in the control
// (its centre when pos is null). The window is shown first if it is not yet.
inline QWindow *windowPoint(QWidget *control, QPoint &pos)
{
    QWidget *top = control->window();
    if (!top->windowHandle() || !top->isVisible()) {
        top->show();
        QApplication::processEvents();
    }
    if (pos.isNull())
        pos = control->rect().center();
    pos = control->mapTo(top, pos);
    return top->windowHandle();
}

// A click where a person clicks: pos in the control's own coordinates (its centre when
// omitted).
inline void click(QWidget *control, QPoint pos = {}, Qt::KeyboardModifiers modifiers = {},
                  Qt::MouseButton button = Qt::LeftButton)
{
    QWindow *window = windowPoint(control, pos);
    QTest::mouseClick(window, button, modifiers, pos);
}

// A double-click at pos of the control (its centre when omitted).
inline void doubleClickOn(QWidget *control, QPoint pos = {}, Qt::KeyboardModifiers modifiers = {})
{
    QWindow *window = windowPoint(control, pos);
    QTest::mouseDClick(window, Qt::LeftButton, modifiers, pos);
}

// The mouse moved over pos of the control with no button down.
inline void hoverOn(QWidget *control, QPoint pos = {})
{
    QWindow *window = windowPoint(control, pos);
    QTest::mouseMove(window, pos);
}

// A click on the item of a view at a model index.
inline void click(QAbstractItemView *view, const QModelIndex &index, Qt::KeyboardModifiers modifiers = {})
{
    view->scrollTo(index);
    click(view->viewport(), view->visualRect(index).center(), modifiers);
}

// A double-click on the item of a view at a model index.
inline void doubleClickOn(QAbstractItemView *view, const QModelIndex &index)
{
    view->scrollTo(index);
    doubleClickOn(view->viewport(), view->visualRect(index).center());
}

// The widget a person's pointer at pos of the control would reach (to show in a failed
// check what covers a control).
inline QWidget *widgetUnder(QWidget *control, QPoint pos = {})
{
    if (pos.isNull())
        pos = control->rect().center();
    QWidget *top = control->window();
    return top->childAt(control->mapTo(top, pos));
}

} // namespace clinora::test
