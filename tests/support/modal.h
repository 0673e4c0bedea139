// Drives a modal dialog from a test: the action runs as soon as a modal widget of the
// given type is up, from inside its event loop.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace clinora::test {

inline void closeModals()
{
    for (int i = 0; i < 10; ++i) {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->done(QDialog::Rejected);
        else
            modal->close();
        QApplication::processEvents();
    }
}

// Polls the event loop until a modal widget T is active, then runs the action on it
// once. Gives up (and the test sees the modal never handled) after timeoutMs.
template <typename T>
void onModal(std::function<void(T *)> action, int timeoutMs = 10000)
{
    auto *timer = new QTimer(qApp);
    auto elapsed = std::make_shared<int>(0);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, qApp, [timer, action, elapsed, timeoutMs] {
        *elapsed += 5;
        T *widget = qobject_cast<T *>(QApplication::activeModalWidget());
        // A person types once the dialog has come to the front and holds the keyboard;
        // under load the activation can lag behind the show by a few event rounds.
        if (widget && !widget->isActiveWindow() && *elapsed < 2000)
            return;
        if (widget) {
            timer->stop();
            timer->deleteLater();
            action(widget);
            // A failed check must not leave the test waiting on an open dialog.
            if (QTest::currentTestFailed())
                closeModals();
        } else if (*elapsed > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

} // namespace clinora::test
