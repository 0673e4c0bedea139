// The front desk the screen tests work at: the program started on the test clinic,
// the main window shown and the booking screen open and refreshed, with the gestures
// a receptionist uses on it.
#pragma once

#include "app/session.h"
#include "app/tfprincipal.h"
#include "booking/grid_view.h"
#include "booking/tfconsulta.h"
#include "booking/tfvisaogeral.h"
#include "booking_setup.h"
#include "platform/text_file.h"
#include "support/modal.h"
#include "support/mouse.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <functional>
#include <memory>

namespace clinora::test {

// A key pressed as a person presses it: it goes to whatever has the keyboard focus.
inline void press(int key, Qt::KeyboardModifiers modifiers = {})
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus) {
        QTest::qFail("no control has the keyboard focus", __FILE__, __LINE__);
        return;
    }
    QTest::keyClick(focus, static_cast<Qt::Key>(key), modifiers);
}

// Text typed on the keyboard, into whatever has the focus.
inline void type(const QString &text)
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus) {
        QTest::qFail("no control has the keyboard focus", __FILE__, __LINE__);
        return;
    }
    QTest::keyClicks(focus, text);
}

// A closed dialog gives the keyboard back to the window under it, as the window manager
// does on a desktop; offscreen nobody does it.
inline void backTo(QWidget *window)
{
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

// A click on a page's tab, first scrolling the tab bar with its arrows, as a person does,
// until the tab is in view.
inline void clickTab(QTabWidget *tabs, QWidget *page)
{
    QTabBar *bar = tabs->tabBar();
    const int index = tabs->indexOf(page);
    for (int step = 0; step < 60; ++step) {
        int visibleRight = bar->width();
        QToolButton *toLeft = nullptr;
        QToolButton *toRight = nullptr;
        for (QToolButton *arrow : bar->findChildren<QToolButton *>()) {
            if (!arrow->isVisible())
                continue;
            visibleRight = std::min(visibleRight, arrow->x());
            (arrow->arrowType() == Qt::LeftArrow ? toLeft : toRight) = arrow;
        }
        const QRect rect = bar->tabRect(index);
        if (rect.left() < 0 && toLeft && toLeft->isEnabled())
            click(toLeft);
        else if (rect.right() >= visibleRight && toRight && toRight->isEnabled())
            click(toRight);
        else
            break;
    }
    click(bar, bar->tabRect(index).center());
    QApplication::processEvents();
}

// The program started on the test clinic, with the booking screen shown and refreshed.
struct Desk
{
    explicit Desk(Fixture &fixture, bool mirroring = false) : f(fixture)
    {
        setUpClinic(f);
        if (mirroring)
            f.mirroringOn();
        session::startUp(f.context());
        main = std::make_unique<TFPrincipal>(f.context());
        main->FormCreate();
        main->show();
        screen = &main->visaoGeral();
        screen->prepareMonthTab();
        screen->show();
        screen->BAtualizar0->click();
    }

    AppContext &c() { return f.context(); }
    const DaySheet &sheet(int day) { return c().sheets.sheet(day); }

    // Double-clicks a day sheet cell, its tab clicked first when another is shown; the
    // action runs on the dialog it opens.
    void doubleClick(int day, int slot, int code, std::function<void(TFConsulta *)> action)
    {
        const TFVisaoGeral::DayTab &tab = screen->dayTab(day);
        if (screen->PageControl1->currentWidget() != tab.page)
            clickTab(screen->PageControl1, tab.page);
        onModal<TFConsulta>(std::move(action));
        doubleClickOn(tab.grid, tab.grid->model()->index(code - 1, slot - 1));
    }

    // Books a patient in a free slot through the dialog: the name typed where the dialog
    // puts the cursor, then "Incluir".
    void book(int day, int slot, int code, const QString &patient)
    {
        doubleClick(day, slot, code, [patient](TFConsulta *d) {
            type(patient);
            click(d->BIncluir);
        });
    }

    std::vector<Appointment> rows() { return f.rows(); }

    Fixture &f;
    std::unique_ptr<TFPrincipal> main;
    TFVisaoGeral *screen = nullptr;
};

inline QStringList keys(const std::vector<Appointment> &rows)
{
    QStringList result;
    for (const Appointment &r : rows)
        result << r.data + QLatin1Char(';') + r.hora + QLatin1Char(';') + r.medico + QLatin1Char(';') +
                      r.paciente;
    return result;
}

inline QStringList journalFile(Fixture &f)
{
    const QString path = f.mirror() + QStringLiteral("/ArqMovA.Txt");
    return QFile::exists(path) ? textfile::readLines(path) : QStringList();
}

} // namespace clinora::test
