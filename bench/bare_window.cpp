// The baseline of the start-up benchmark: a bare Qt program that shows an empty main
// window with a menu bar and ends at its first paint.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

namespace {
class QuitOnPaint : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        return false;
    }
};
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QuitOnPaint quit;
    app.installEventFilter(&quit);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("Menu"))->addAction(QStringLiteral("Item"));
    window.resize(720, 560);
    window.show();
    return app.exec();
}
