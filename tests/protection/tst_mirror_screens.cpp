// The mirror's screens driven offscreen from the main menu: "Definir Local e Status",
// the synchronisation dialog before a guarded screen, the status screen.
#include "app/session.h"
#include "app/tfprincipal.h"
#include "booking/tfvisaogeral.h"
#include "core/data_files.h"
#include "doctors/tfdadosregistro.h"
#include "platform/text_file.h"
#include "protection/mirror.h"
#include "protection/tfespelhamento.h"
#include "protection/tfmostracopias.h"
#include "protection/tfsincronizar.h"
#include "store/appointment_table.h"
#include "store/journal.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/mouse.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace clinora;
using test::Fixture;
using test::onModal;
using Kind = test::ScriptedDialogs::Kind;

namespace {

struct Program
{
    explicit Program(Fixture &f) : window(f.context())
    {
        session::startUp(f.context());
        window.FormCreate();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    void trigger(const char *item) { window.menuItem(QLatin1String(item))->trigger(); }
    bool enabled(const char *item) const { return window.menuItem(QLatin1String(item))->isEnabled(); }
    QString mirroringShown() const
    {
        const auto *state = window.findChild<QLabel *>(QStringLiteral("MirroringState"));
        return state && state->isVisible() ? state->text() : QString();
    }
    TFPrincipal window;
};

template <typename T>
void click(QWidget *form, const char *name)
{
    T *widget = form->findChild<T *>(QLatin1String(name));
    QVERIFY2(widget, name);
    // On the button's circle or the start of its caption, where a person clicks.
    const QPoint at = qobject_cast<QRadioButton *>(widget) ? QPoint(8, widget->height() / 2) : widget->rect().center();
    QVERIFY2(test::widgetUnder(widget, at) == widget, name);
    test::click(widget, at);
}

// A key pressed as a person presses it: into whatever holds the keyboard.
void press(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key);
}

QString mirrorFile(const Fixture &f, const QString &name)
{
    return f.mirror() + QLatin1Char('/') + name;
}

} // namespace

class TestMirrorScreens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { test::closeModals(); }
    void activatingOnTheSameDriveAsksToSynchroniseFirst();
    void aNewMirrorDriveGetsItsFolderFromTheSynchronisation();
    void afterALossGravarWarnsAndAsksAgain_data();
    void afterALossGravarWarnsAndAsksAgain();
    void damagedMirrorJournalOpensWithMirroringOff();
    void choosingAnotherDriveSetsTheLocationAndEnds();
    void switchingOffClosesTheDialog();
    void missingDriveKeepsTheOldStatus();
    void leavingTheSynchronisationSwitchesMirroringOff();
    void mirrorGoneWhileRunningLetsTheScreenOpen();
    void statusScreenShowsTheCopies_data();
    void statusScreenShowsTheCopies();
    void replayEntries_data();
    void replayEntries();
};

void TestMirrorScreens::activatingOnTheSameDriveAsksToSynchroniseFirst()
{
    Fixture f;
    f.mirror();
    Program p(f);
    QVERIFY(!p.enabled("FazeraCpia1"));
    onModal<TFEspelhamento>([](TFEspelhamento *d) {
        QVERIFY(d->findChild<QWidget *>(QStringLiteral("GBEspelho"))->isHidden());
        QCOMPARE(d->findChild<QLineEdit *>(QStringLiteral("EDrive"))->text(), QStringLiteral("E:"));
        click<QRadioButton>(d, "RGEspelho_0");
        click<QPushButton>(d, "BSair");
    });
    p.trigger("EscolherLocalizao1");
    QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("As áreas Espelho e Sistema estão defasadas.\n    É "
                                                           "importante mantê-las sincronizadas. ")});
    QCOMPARE(f.read(files::kSettings).value(3), QStringLiteral("Com"));
    QVERIFY(p.enabled("FazeraCpia1"));
    QVERIFY(p.enabled("Recuperarosdados1"));

    // The booking screen asks to synchronise before it opens.
    bool asked = false;
    bool booking = false;
    onModal<TFSincronizar>([&](TFSincronizar *d) {
        asked = d->windowTitle() == QStringLiteral("Sincronização dos Bancos de Dados");
        click<QRadioButton>(d, "RGSincronizar_1");
    });
    onModal<TFVisaoGeral>([&](TFVisaoGeral *screen) {
        booking = screen->isVisible();
        press(Qt::Key_Escape);
    });
    f.dialogs.answerQuestion(true);
    p.trigger("MarcaodeConsultas1");
    QVERIFY(asked);
    QVERIFY(booking);
    QVERIFY(f.dialogs.texts(Kind::Question).front().startsWith(QStringLiteral("        A cópia será realizada sobre    E:\\Consultas\\Espelho\n")));
    QVERIFY(QFile::exists(mirrorFile(f, QStringLiteral("Medicos3.db"))));
    QCOMPARE(f.read(files::kSystemStamp), textfile::readLines(mirrorFile(f, QStringLiteral("CodEsp.Txt"))));
    // In step now, mirroring stays on and the next screen opens at once.
    QVERIFY(p.enabled("FazeraCpia1"));
    booking = false;
    onModal<TFVisaoGeral>([&](TFVisaoGeral *screen) {
        booking = QApplication::activeModalWidget() == screen;
        press(Qt::Key_Escape);
    });
    p.trigger("MarcaodeConsultas1");
    QVERIFY(booking);
}

void TestMirrorScreens::aNewMirrorDriveGetsItsFolderFromTheSynchronisation()
{
    // Drive E: is there, empty: no Consultas\Espelho folder on it yet.
    Fixture f;
    QVERIFY(QDir().mkpath(f.drives() + QStringLiteral("/E")));
    const QString folder = f.drives() + QStringLiteral("/E/Consultas/Espelho");
    f.addRows({{QStringLiteral("09/12/26"), QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("Ana"), {},
                QStringLiteral("1"), {}}});
    Program p(f);
    QCOMPARE(p.mirroringShown(), QStringLiteral("Espelhamento desativado"));
    onModal<TFEspelhamento>([](TFEspelhamento *d) {
        click<QRadioButton>(d, "RGEspelho_0");
        click<QPushButton>(d, "BSair");
    });
    p.trigger("EscolherLocalizao1");
    QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("As áreas Espelho e Sistema estão defasadas.\n    É "
                                                           "importante mantê-las sincronizadas. ")});
    QCOMPARE(p.mirroringShown(), QStringLiteral("Espelhamento ativado"));

    // "Marcar Consultas" asks to synchronise, and "Gravar" makes the mirror.
    f.dialogs.clear();
    bool asked = false;
    bool booking = false;
    onModal<TFSincronizar>([&](TFSincronizar *d) {
        asked = true;
        const auto *comparison = d->findChild<QLabel *>(QStringLiteral("Comparison"));
        QVERIFY(comparison && comparison->isHidden());
        click<QRadioButton>(d, "RGSincronizar_1");
    });
    onModal<TFVisaoGeral>([&](TFVisaoGeral *screen) {
        booking = screen->isVisible();
        press(Qt::Key_Escape);
    });
    f.dialogs.answerQuestion(true);
    p.trigger("MarcaodeConsultas1");
    QVERIFY(asked);
    QVERIFY(booking);
    QVERIFY2(!f.dialogs.texts().contains(mirror::kMediaMissing), qPrintable(f.dialogs.texts().join(u'|')));
    QCOMPARE(f.dialogs.texts(Kind::Question).size(), 1);
    QCOMPARE(f.read(files::kSettings).value(3), QStringLiteral("Com"));
    QCOMPARE(textfile::readLines(folder + QStringLiteral("/CodEsp.Txt")), f.read(files::kSystemStamp));
    AppointmentTable copy;
    copy.open(folder + QStringLiteral("/Medicos3.db"), false);
    QCOMPARE(copy.count(), 1);
    QCOMPARE(p.mirroringShown(), QStringLiteral("Espelhamento ativado"));
    QVERIFY(p.enabled("FazeraCpia1"));
}

void TestMirrorScreens::afterALossGravarWarnsAndAsksAgain_data()
{
    QTest::addColumn<QString>("loss");
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("appointments lost, Gravar declined") << "appointments" << false;
    QTest::newRow("appointments lost, Gravar confirmed") << "appointments" << true;
    QTest::newRow("installed anew, Gravar declined") << "installed" << false;
}

void TestMirrorScreens::afterALossGravarWarnsAndAsksAgain()
{
    QFETCH(QString, loss);
    QFETCH(bool, confirmed);
    Fixture f;
    f.mirroringOn();
    f.addDoctor(3, QStringLiteral("Dr. Paulo Lima"));
    const bool installed = loss == QLatin1String("installed");
    const Appointment ana{QStringLiteral("09/12/26"), QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("Ana"),
                          {}, QStringLiteral("1"), {}};
    const Appointment bia{QStringLiteral("10/12/26"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("Bia"),
                          {}, QStringLiteral("1"), {}};
    if (!installed)
        f.addRows({ana, bia});
    Program p(f);
    AppContext &c = f.context();
    QVERIFY(mirror::writeSystem(c, false));
    // One more change in the mirror's journal.
    const Appointment caio{QStringLiteral("11/12/26"), QStringLiteral("3"), QStringLiteral("3"),
                           QStringLiteral("Caio"), {}, QStringLiteral("1"), {}};
    textfile::appendLines(mirrorFile(f, QStringLiteral("ArqMovA.Txt")),
                          {journal::line(QLatin1Char('I'), caio, QStringLiteral("08/12/2026 10:00"))});
    const QDateTime mirrorChanged = QFileInfo(mirrorFile(f, QStringLiteral("ArqMovA.Txt"))).lastModified();
    // The data folder is lost: the program starts on a new one, with mirroring on again.
    c.DMMedicos.table().clear();
    if (installed)
        c.doctors.doctor(3).name = QString(25, QLatin1Char(' '));
    f.clock.set(QDateTime(QDate(2026, 12, 9), QTime(8, 0)));
    mirror::stampSystem(c);
    const QDateTime systemChanged = QFileInfo(c.file(files::kTable)).lastModified();
    const QString mirrorHolds = installed ? QStringLiteral("1 consulta") : QStringLiteral("3 consultas");

    QString shown;
    onModal<TFSincronizar>([&](TFSincronizar *d) {
        const auto *comparison = d->findChild<QLabel *>(QStringLiteral("Comparison"));
        QVERIFY(comparison);
        shown = comparison->isVisible() ? comparison->text() : QString();
        click<QRadioButton>(d, "RGSincronizar_1");
    });
    onModal<TFVisaoGeral>([&](TFVisaoGeral *) { press(Qt::Key_Escape); });
    f.dialogs.answerQuestion(true);
    f.dialogs.answerQuestion(confirmed);
    p.trigger("MarcaodeConsultas1");

    const QString format = QStringLiteral("dd/MM/yyyy hh:mm");
    for (const QString &part : {QStringLiteral("Sistema: 0 consultas, última alteração em ") + systemChanged.toString(format),
                                QStringLiteral("Espelho: ") + mirrorHolds + QStringLiteral(", última alteração em ")
                                    + mirrorChanged.toString(format),
                                QStringLiteral("Recuperar Sistema com o Espelho (Sist <-- Esp)")})
        QVERIFY2(shown.contains(part), qPrintable(shown));
    QVERIFY2(shown.contains(installed ? QStringLiteral("acaba de ser instalado") : QStringLiteral("menos consultas")),
             qPrintable(shown));
    const QStringList questions = f.dialogs.texts(Kind::Question);
    QCOMPARE(questions.size(), 2);
    QVERIFY2(questions[1].contains(QStringLiteral("o Espelho em E:\\Consultas\\Espelho tem ") + mirrorHolds),
             qPrintable(questions[1]));
    QVERIFY2(questions[1].contains(QStringLiteral("apaga do Espelho ") + mirrorHolds
                                   + (installed ? QStringLiteral(" e o cadastro de médicos") : QString())),
             qPrintable(questions[1]));
    AppointmentTable copy;
    copy.open(mirrorFile(f, QStringLiteral("Medicos3.db")), false);
    QCOMPARE(copy.count(), confirmed ? 0 : (installed ? 0 : 2));
    QCOMPARE(textfile::lineCount(mirrorFile(f, QStringLiteral("ArqMovA.Txt"))), confirmed ? 0 : 1);
    if (!confirmed)
        QCOMPARE(f.read(files::kSettings).value(3), QStringLiteral("Sem"));
}

void TestMirrorScreens::damagedMirrorJournalOpensWithMirroringOff()
{
    Fixture f;
    f.mirroringOn();
    const QString journalFile = mirrorFile(f, QStringLiteral("ArqMovA.Txt"));
    const QByteArray damaged = QByteArray("I09/12/26 1 3 Ana\r\n") + QByteArray(64, '\0');
    textfile::writeBytes(journalFile, damaged);
    Program p(f);
    QVERIFY(p.window.isVisible());
    const QStringList warnings = f.dialogs.texts(Kind::Warning);
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings.front().contains(QDir::toNativeSeparators(journalFile)), qPrintable(warnings.front()));
    QVERIFY2(warnings.front().contains(QStringLiteral("espelhamento foi desativado")), qPrintable(warnings.front()));
    QVERIFY(f.dialogs.texts(Kind::Error).isEmpty());
    QVERIFY(!f.context().settings.mirroringOn());
    QCOMPARE(p.mirroringShown(), QStringLiteral("Espelhamento desativado"));
    QVERIFY(!p.enabled("FazeraCpia1"));
    // The journal is left as it was found.
    QCOMPARE(QFileInfo(journalFile).size(), qint64(damaged.size()));
}

void TestMirrorScreens::choosingAnotherDriveSetsTheLocationAndEnds()
{
    Fixture f;
    f.mirror();
    QDir().mkpath(f.drives() + QStringLiteral("/F"));
    Program p(f);
    onModal<TFEspelhamento>([](TFEspelhamento *d) {
        click<QRadioButton>(d, "RGEspelho_0");
        click<QPushButton>(d, "BAlterar");
        auto *drives = d->findChild<QComboBox *>(QStringLiteral("CBDrive"));
        QVERIFY(drives->isVisible());
        QCOMPARE(QApplication::focusWidget(), drives);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("F"));
        click<QPushButton>(d, "BSair");
    });
    p.trigger("EscolherLocalizao1");
    QVERIFY(f.context().ended);
    const QStringList settings = f.read(files::kSettings);
    QCOMPARE(settings.value(7), QStringLiteral("F:\\Consultas\\Espelho"));
    QCOMPARE(settings.value(3), QStringLiteral("Com"));
    QVERIFY(QDir(f.drives() + QStringLiteral("/F/Consultas/Espelho")).exists());
    QVERIFY(f.dialogs.texts(Kind::Information).last().contains(QStringLiteral("Reinicie a Aplicação")));
}

void TestMirrorScreens::switchingOffClosesTheDialog()
{
    Fixture f;
    f.mirroringOn();
    f.clock.set(QDateTime(QDate(2026, 12, 8), QTime(9, 15, 30)));
    Program p(f);
    onModal<TFEspelhamento>([](TFEspelhamento *d) { click<QRadioButton>(d, "RGEspelho_1"); });
    p.trigger("EscolherLocalizao1");
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QCOMPARE(f.read(files::kSettings).value(3), QStringLiteral("Sem"));
    QCOMPARE(f.read(files::kSystemStamp), QStringList{QStringLiteral("08/12/2026 09:15:30")});
    QVERIFY(!p.enabled("FazeraCpia1"));
    QVERIFY(!p.enabled("Recuperarosdados1"));
}

void TestMirrorScreens::missingDriveKeepsTheOldStatus()
{
    Fixture f; // no drive E:
    Program p(f);
    onModal<TFEspelhamento>([](TFEspelhamento *d) {
        click<QRadioButton>(d, "RGEspelho_0");
        click<QPushButton>(d, "BSair");
    });
    p.trigger("EscolherLocalizao1");
    QCOMPARE(f.dialogs.texts(),
             QStringList{QStringLiteral("Operação não executada porque a mídia Espelho não está instalada.")});
    QCOMPARE(f.read(files::kSettings).value(3), QStringLiteral("Sem"));
    QVERIFY(!f.context().settings.mirroringOn());
    QVERIFY(!p.enabled("FazeraCpia1"));
}

void TestMirrorScreens::leavingTheSynchronisationSwitchesMirroringOff()
{
    Fixture f;
    f.mirroringOn(); // a mirror never written: its stamp will be "1155"
    f.clock.set(QDateTime(QDate(2026, 12, 8), QTime(9, 15, 30)));
    Program p(f);
    QCOMPARE(textfile::readLines(mirrorFile(f, QStringLiteral("CodEsp.Txt"))), QStringList{QStringLiteral("1155")});
    bool registerOpened = false;
    onModal<TFSincronizar>([](TFSincronizar *d) { click<QPushButton>(d, "Button1"); });
    onModal<TFDadosEsp>([&](TFDadosEsp *d) {
        registerOpened = true;
        d->reject();
    });
    p.trigger("Especialidades1");
    QVERIFY(registerOpened);
    QCOMPARE(f.read(files::kSettings).value(3), QStringLiteral("Sem"));
    QCOMPARE(f.read(files::kSystemStamp), QStringList{QStringLiteral("08/12/2026 09:15:30")});
    QVERIFY(!p.enabled("FazeraCpia1"));
}

void TestMirrorScreens::mirrorGoneWhileRunningLetsTheScreenOpen()
{
    Fixture f;
    f.mirroringOn();
    Program p(f);
    f.dialogs.answerQuestion(true);
    p.trigger("FazeraCpia1");
    QVERIFY(p.enabled("FazeraCpia1"));
    QDir(f.drives() + QStringLiteral("/E")).removeRecursively();
    f.dialogs.clear();
    bool booking = false;
    onModal<TFVisaoGeral>([&](TFVisaoGeral *screen) {
        booking = screen->isVisible();
        press(Qt::Key_Escape);
    });
    p.trigger("MarcaodeConsultas1");
    QVERIFY(booking);
    QCOMPARE(f.dialogs.texts(Kind::Information), QStringList{mirror::kMediaMissing});
    QVERIFY(f.dialogs.texts(Kind::Error).isEmpty());
    QVERIFY(!p.enabled("FazeraCpia1"));
}

void TestMirrorScreens::statusScreenShowsTheCopies_data()
{
    QTest::addColumn<int>("journalLines");
    QTest::addColumn<bool>("notCurrent");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("in step") << 0 << false << QStringList{"DriveInt", "Label5"};
    QTest::newRow("changes in the journal") << 3 << false << QStringList{"DriveExt", "Label2", "Label3", "MovDrive"};
    QTest::newRow("not current") << 3 << true << QStringList{"DriveExt", "Label2", "Label3", "Label6", "MovInter"};
}

void TestMirrorScreens::statusScreenShowsTheCopies()
{
    QFETCH(int, journalLines);
    QFETCH(bool, notCurrent);
    QFETCH(QStringList, shown);
    Fixture f;
    f.mirroringOn();
    textfile::writeLines(mirrorFile(f, QStringLiteral("ArqMovA.Txt")), QStringList(journalLines, QStringLiteral("I")));
    f.write(files::kCurrencyMark, {notCurrent ? QStringLiteral("Sim") : QStringLiteral("Nao")});
    Program p(f);
    QStringList visible;
    onModal<TFMostraCopias>([&](TFMostraCopias *d) {
        for (const char *name : {"DriveInt", "DriveExt", "MovDrive", "MovInter", "Label2", "Label3", "Label5", "Label6"}) {
            if (d->findChild<QWidget *>(QLatin1String(name))->isVisible())
                visible << QLatin1String(name);
        }
        d->reject();
    });
    p.trigger("Situao1");
    visible.sort();
    shown.sort();
    QCOMPARE(visible, shown);
    QCOMPARE(f.dialogs.texts(Kind::Warning).size(), notCurrent ? 1 : 0);
}

void TestMirrorScreens::replayEntries_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("mirroring");
    QTest::addColumn<bool>("replayed");
    QTest::newRow("Do HD: the run journal") << "DoHD1" << false << true;
    QTest::newRow("Do Disquete: the mirror's journal") << "DoDisquete2" << true << true;
    QTest::newRow("Do Disquete with mirroring off") << "DoDisquete2" << false << false;
}

void TestMirrorScreens::replayEntries()
{
    QFETCH(QString, item);
    QFETCH(bool, mirroring);
    QFETCH(bool, replayed);
    Fixture f;
    if (mirroring)
        f.mirroringOn();
    Program p(f);
    const Appointment ana{QStringLiteral("09/12/26"), QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("Ana"),
                          {}, QStringLiteral("1"), {}};
    const QString line = journal::line(QLatin1Char('I'), ana, QStringLiteral("08/12/2026 10:00"));
    const QString journalFile = item == QLatin1String("DoHD1") ? f.dir() + QStringLiteral("/ArqMov.Txt")
                                                               : f.mirror() + QStringLiteral("/ArqMovA.Txt");
    textfile::writeLines(journalFile, {line});
    p.window.menuItem(item)->trigger();
    QCOMPARE(f.rows().size(), std::size_t(replayed ? 1 : 0));
    QVERIFY(f.dialogs.texts(Kind::Error).isEmpty());
}

QTEST_MAIN(TestMirrorScreens)
#include "tst_mirror_screens.moc"
