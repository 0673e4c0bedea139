// Clinora: books medical appointments at a clinic's reception desk.
#include "agenda/demo_clinic.h"
#include "app/context.h"
#include "app/session.h"
#include "app/tfprincipal.h"
#include "booking/tfvisaogeral.h"
#include "core/installation.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/instance_lock.h"
#include "platform/private_files.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_printer.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>

#include <thread>

using namespace clinora;

namespace {

class QuitOnFirstPaint : public QObject
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
    // Before anything is written: what the program creates is its user's alone.
    privacy::restrictNewFiles();
    // Made before the application and so ended after it: a translator taken out while
    // the application lives would have every window translated again on the way out.
    QTranslator qtTranslator;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Clinora"));
    QApplication::setApplicationVersion(QStringLiteral("1.1"));
    // The desktop entry and the icon the package installs.
    QGuiApplication::setDesktopFileName(QStringLiteral("br.com.clinora.Clinora"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("br.com.clinora.Clinora")));
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));

    // Qt's own buttons and dialogs in Brazilian Portuguese ("Sim", "Não").
    if (qtTranslator.load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Clinora — marcação de consultas"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dataOption(
        QStringLiteral("dados"), QStringLiteral("Pasta de dados (padrão: %1).").arg(Paths::defaultDataDir()),
        QStringLiteral("pasta"), Paths::defaultDataDir());
    const QCommandLineOption drivesOption(
        QStringLiteral("unidades"),
        QStringLiteral("Pasta com uma subpasta por letra de unidade (E para E:) (padrão: %1).")
            .arg(Paths::defaultDrivesRoot()),
        QStringLiteral("pasta"), Paths::defaultDrivesRoot());
    const QCommandLineOption demoOption(
        QStringLiteral("demo"),
        QStringLiteral("Cria uma clínica de demonstração na pasta (nova ou vazia) e a abre."),
        QStringLiteral("pasta"));
    const QCommandLineOption statisticsOption(
        QStringLiteral("estatisticas"),
        QStringLiteral("Mostra o menu \"Estatísticas\" da janela principal."));
    QCommandLineOption quitWhenShown(QStringLiteral("sair-ao-mostrar"));
    quitWhenShown.setFlags(QCommandLineOption::HiddenFromHelp);
    // For the memory benchmark: the booking screen opened and fully refreshed.
    QCommandLineOption bookingShown(QStringLiteral("com-marcacao"));
    bookingShown.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(dataOption);
    parser.addOption(drivesOption);
    parser.addOption(demoOption);
    parser.addOption(statisticsOption);
    parser.addOption(quitWhenShown);
    parser.addOption(bookingShown);
    parser.process(app);
    // The list of the system's fonts is read (the longest part of showing the first
    // window) on a second processor while the data folder is reserved and read.
    std::jthread fonts([] { QFontDatabase::families(); });

    QtDialogs dialogs;
    SystemClock clock;
    // Resolved once, before anything changes the working directory.
    const QString dataDir = QDir::cleanPath(
        QFileInfo(parser.isSet(demoOption) ? parser.value(demoOption) : parser.value(dataOption))
            .absoluteFilePath());
    try {
        if (parser.isSet(demoOption))
            createDemoClinic(dataDir, parser.value(drivesOption), clock);
        if (!privacy::makeFolder(dataDir))
            throw FileError(QStringLiteral("Não foi possível criar a pasta de dados %1.")
                                .arg(QDir::toNativeSeparators(dataDir)));
    } catch (const Error &e) {
        dialogs.error(e.message());
        return 1;
    }
    // The folder is ours before anything in it is read, finished or written.
    InstanceLock lock(dataDir);
    if (!lock.acquire()) {
        dialogs.warning(lock.refusal());
        return 1;
    }
    try {
        installDataDirectory(dataDir);
    } catch (const Error &e) {
        dialogs.error(e.message() + QStringLiteral("\r\n\r\nO programa será encerrado."));
        return 1;
    }

    Paths paths(dataDir, parser.value(drivesOption));
    QtPrinter printer(paths, clock, dialogs);
    AppContext context(paths, clock, dialogs, printer);
    // A recovery or a new mirror location ends the program without the close sequence.
    context.onEnd = [&lock] {
        lock.release();
        QCoreApplication::exit(0);
    };
    TFPrincipal FPrincipal(context);
    try {
        const QStringList problems = session::startUp(context);
        if (!problems.isEmpty())
            dialogs.warning(problems.join(QStringLiteral("\r\n")));
        FPrincipal.FormCreate();
        if (parser.isSet(statisticsOption))
            FPrincipal.showStatisticsMenu();
    } catch (const Error &e) {
        dialogs.error(e.message() + QStringLiteral("\r\n\r\nO programa será encerrado."));
        return 1;
    }
    // For the start-up benchmark: end at the first paint of the shown window.
    QuitOnFirstPaint quitOnPaint;
    if (parser.isSet(quitWhenShown))
        app.installEventFilter(&quitOnPaint);
    FPrincipal.show();
    if (parser.isSet(bookingShown)) {
        TFVisaoGeral &screen = FPrincipal.visaoGeral();
        screen.prepareMonthTab();
        screen.show();
        screen.BAtualizar0->click();
    }
    const int result = app.exec();
    // The benchmark's run ends at the first paint, without the close sequence: its table
    // is closed as a day's work closes it, so that the next start follows a clean close.
    if (parser.isSet(quitWhenShown))
        context.DMMedicos.closeAtEnd();
    return result;
}
