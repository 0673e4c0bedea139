// A day at the desk with mirroring on, a lost data folder, and the recovery from the
// mirror on another drive, all through the program's own operations and menus.
#include "agenda/closed_dates.h"
#include "app/session.h"
#include "app/tfprincipal.h"
#include "booking/appointment_editor.h"
#include "booking/tfvisaogeral.h"
#include "core/data_files.h"
#include "core/installation.h"
#include "doctors/doctor_editor.h"
#include "platform/text_file.h"
#include "protection/mirror.h"
#include "protection/tfespelhamento.h"
#include "protection/tfsincronizar.h"
#include "store/journal.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/mouse.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace clinora;
using test::Fixture;
using test::onModal;

namespace {

// One run of the program on the fixture's folders: installation, start-up, main window.
struct Run
{
    explicit Run(Fixture &f)
        : context((installDataDirectory(f.dir()), Paths(f.dir(), f.drives())), f.clock, f.dialogs, f.printer),
          window(context)
    {
        session::startUp(context);
        window.FormCreate();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    void trigger(const char *item) { window.menuItem(QLatin1String(item))->trigger(); }
    AppContext context;
    TFPrincipal window;
};

// A click on a button of a window, where a person clicks it (a radio button on its circle).
void click(QWidget *form, const char *name)
{
    auto *widget = form->findChild<QAbstractButton *>(QLatin1String(name));
    QVERIFY2(widget, name);
    const QPoint at = qobject_cast<QRadioButton *>(widget) ? QPoint(8, widget->height() / 2) : widget->rect().center();
    test::click(widget, at);
}

// A key typed where the keyboard is.
void press(Qt::Key key)
{
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, key);
}

// "Definir Local e Status": mirroring on, on drive F:.
void mirrorOnDriveF(Run &run)
{
    onModal<TFEspelhamento>([](TFEspelhamento *d) {
        click(d, "RGEspelho_0");
        click(d, "BAlterar");
        // The drive list takes the keyboard as it opens.
        QCOMPARE(QApplication::focusWidget(), d->findChild<QComboBox *>(QStringLiteral("CBDrive")));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("F"));
        click(d, "BSair");
    });
    run.trigger("EscolherLocalizao1");
    QVERIFY(run.context.ended);
}

TypedAppointment typed(const AppContext &c, const QString &name)
{
    AppointmentEditor e(const_cast<AppContext &>(c));
    return {name, QStringLiteral("3333-4444"), e.situationItems().value(0), QStringLiteral("retorno\nem jejum")};
}

// The appointment dialog on a day-sheet cell, and one of its operations.
bool onCell(AppContext &c, int day, int slot, const std::function<bool(AppointmentEditor &)> &operation)
{
    AppointmentEditor e(c);
    e.prepare({day, slot, 5});
    e.activate();
    return operation(e);
}

QByteArray bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// Every file of a folder, byte for byte.
QMap<QString, QByteArray> folderBytes(const QString &dir)
{
    QMap<QString, QByteArray> result;
    for (const QString &name : QDir(dir).entryList(QDir::Files))
        result.insert(name, bytes(dir + QLatin1Char('/') + name));
    return result;
}

// A data folder in use, written over its mirror on E: (mirroring on).
AppContext &startWritten(Fixture &f)
{
    f.addDoctor(3, QStringLiteral("Dr. Paulo Lima"));
    f.setTimes(3, 4, {QStringLiteral("08:00"), QStringLiteral("08:30")});
    f.write(files::kClosedDates, {QStringLiteral("24/12/2026"), QStringLiteral("25/12/2026")});
    f.addRows({{QStringLiteral("09/12/26"), QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("Ana Lima"),
                QStringLiteral("3333-4444"), QStringLiteral("1"), QString()}});
    f.mirroringOn();
    AppContext &c = f.start();
    if (!mirror::writeSystem(c, false))
        qFatal("the mirror was not written");
    return c;
}

Appointment booked(int day, int slot, int doctor)
{
    return {QStringLiteral("%1/12/26").arg(day, 2, 10, QLatin1Char('0')), QString::number(slot),
            QString::number(doctor), QStringLiteral("Paciente %1-%2-%3").arg(day).arg(slot).arg(doctor),
            QStringLiteral("3333-4444"), QStringLiteral("1"), QString()};
}

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { test::closeModals(); }
    void aLostDataFolderComesBackFromTheMirror();
    void aDamagedMirrorCopyIsRefused_data();
    void aDamagedMirrorCopyIsRefused();
    void recoveryTellsHowRecentTheJournalIsAndShowsItsProgress();
    void aDamagedTableIsKeptAsideAndComesBackThroughTheMenu();
};

void TestRecovery::aLostDataFolderComesBackFromTheMirror()
{
    Fixture f; // Tuesday 8 December 2026
    f.addDoctor(5, QStringLiteral("Dr. Paulo Lima"));
    const QStringList times = {"08:00", "08:30", "09:00", "09:30", "10:00", "10:30", "11:00", "11:30"};
    for (int weekday = 2; weekday <= 6; ++weekday)
        f.setTimes(5, weekday, times);
    f.write(files::kPreparedLimit, {QStringLiteral("07/01/2027")});
    f.write(files::kPreparedLimitCopy, {QStringLiteral("07/01/2027")});
    QDir().mkpath(f.drives() + QStringLiteral("/F"));

    {
        Run first(f);
        mirrorOnDriveF(first);
    }
    std::vector<Appointment> held;
    {
        Run day(f);
        QVERIFY(day.context.settings.mirroringOn());
        AppContext &c = day.context;
        // The first screen asks to synchronise: the system is written over the new mirror.
        onModal<TFSincronizar>([](TFSincronizar *d) { click(d, "RGSincronizar_1"); });
        onModal<TFVisaoGeral>([](TFVisaoGeral *) { press(Qt::Key_Escape); });
        f.dialogs.answerQuestion(true);
        day.trigger("MarcaodeConsultas1");
        QVERIFY(c.settings.mirroringOn());

        // Bookings on Wednesday 9 and Thursday 10, a change, cancellations and a deletion.
        for (int slot = 1; slot <= 8; ++slot) {
            QVERIFY(onCell(c, 9, slot, [&](AppointmentEditor &e) {
                return e.incluir(typed(c, QStringLiteral("Paciente %1").arg(slot)));
            }));
        }
        for (int slot = 1; slot <= 4; ++slot) {
            QVERIFY(onCell(c, 10, slot, [&](AppointmentEditor &e) {
                return e.incluir(typed(c, QStringLiteral("Quinta %1").arg(slot)));
            }));
        }
        QVERIFY(onCell(c, 9, 2, [&](AppointmentEditor &e) { return e.alterar(typed(c, QStringLiteral("Ana Paz"))); }));
        QVERIFY(onCell(c, 9, 3, [&](AppointmentEditor &e) { return e.cancelar(QLatin1Char('P'), typed(c, QStringLiteral("Paciente 3"))); }));
        QVERIFY(onCell(c, 9, 4, [&](AppointmentEditor &e) { return e.cancelar(QLatin1Char('H'), typed(c, QStringLiteral("Paciente 4"))); }));
        QVERIFY(onCell(c, 9, 5, [&](AppointmentEditor &e) { return e.excluir(); }));
        // Thursday closes (its bookings go to the cancelled list) and the doctor takes a
        // leave on the 14th and 15th; both dialogs take the mirror snapshot as they close.
        EntryGrid grid{{QStringLiteral("10/12/26")}, {QString()}};
        const CloseResult closed = closeDates(c, grid);
        QCOMPARE(closed.moved, 4);
        takeMirrorSnapshot(c);
        QVERIFY(onCell(c, 14, 1, [&](AppointmentEditor &e) { return e.incluir(typed(c, QStringLiteral("Segunda"))); }));
        DoctorEditor editor(c);
        DoctorForm form = editor.open();
        form.code = QStringLiteral("5");
        editor.codeChanged(form);
        editor.chooseTemporaryLeave(form);
        form.leaveStart = QStringLiteral("14/12/26");
        form.leaveEnd = QStringLiteral("16/12/26");
        QVERIFY(editor.save(form).completed);
        editor.snapshotIfNeeded();
        editor.writeFiles();
        // After the snapshot: more bookings and a cancellation go into the journal,
        // which reaches the mirror when the booking screen closes.
        for (int slot = 6; slot <= 8; ++slot) {
            QVERIFY(onCell(c, 21, slot, [&](AppointmentEditor &e) {
                return e.incluir(typed(c, QStringLiteral("Semana %1").arg(slot)));
            }));
        }
        QVERIFY(onCell(c, 9, 2, [&](AppointmentEditor &e) { return e.alterar(typed(c, QStringLiteral("Ana Paz Lima"))); }));
        QVERIFY(onCell(c, 9, 6, [&](AppointmentEditor &e) { return e.cancelar(QLatin1Char('P'), typed(c, QStringLiteral("Paciente 6"))); }));
        onModal<TFVisaoGeral>([](TFVisaoGeral *) { press(Qt::Key_Escape); });
        day.trigger("MarcaodeConsultas1");
        QCOMPARE(textfile::lineCount(f.drives() + QStringLiteral("/F/Consultas/Espelho/ArqMovA.Txt")), 7);
        held = c.DMMedicos.table().all();
        QVERIFY(held.size() > 12);
        day.window.close();
    }
    QMap<QString, QByteArray> files;
    for (const QString &name : mirror::fullCopyFiles())
        files.insert(name, bytes(f.dir() + QLatin1Char('/') + name));
    // The close kept mirroring on; the recovery ends with it off.
    QList<QByteArray> settings = files.value(QStringLiteral("Automatica.Txt")).split('\n');
    QCOMPARE(settings.value(3), QByteArray("Com\r"));
    settings[3] = "Sem\r";
    files.insert(QStringLiteral("Automatica.Txt"), settings.join('\n'));

    // The data folder is lost.
    QVERIFY(QDir(f.dir()).removeRecursively());
    {
        Run fresh(f);
        QVERIFY(fresh.context.DMMedicos.table().all().empty());
        mirrorOnDriveF(fresh);
    }
    {
        Run recovery(f);
        QVERIFY(recovery.context.settings.mirroringOn());
        f.dialogs.answerQuestion(true);
        recovery.trigger("Recuperarosdados1");
        QVERIFY(recovery.context.ended);
    }
    QCOMPARE(f.rows(), held);
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        QVERIFY2(bytes(f.dir() + QLatin1Char('/') + it.key()) == it.value(), qPrintable(it.key()));
    QCOMPARE(f.dialogs.unusedAnswers(), 0);
}

void TestRecovery::aDamagedMirrorCopyIsRefused_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("damage");
    // The kinds of damage a copy cut short by a crash, an emptied file, a file of the
    // wrong widths or a disk's garbage show; each only where it makes the file unsound.
    const QString all = QStringLiteral("cut emptied wide garbage");
    const QList<std::pair<QString, QString>> files = {
        {"Automatica.Txt", "cut emptied garbage"}, {"CodMed.Txt", all},
        {"Medicos.Txt", all},                      {"DiaMedHora.Txt", all},
        {"Horarios.Txt", "cut emptied garbage"},   {"Esp.Txt", all},
        {"Sit.Txt", all},                          {"ArqFolgas.Txt", "cut wide garbage"},
        {"DataAnt.Txt", all},                      {"IntA.Txt", "emptied wide garbage"},
        {"MedMeses.Txt", all},                     {"EspMeses.Txt", all},
        {"SitMeses.Txt", all},                     {"PrevReal.Txt", all},
        {"Historico.Txt", all},                    {"Semanas.Txt", "cut wide garbage"},
        {"MovMes.Txt", "garbage"},                 {"AnoFindoNovo.Txt", "garbage"},
        {"ArqMovA.Txt", "garbage"},
    };
    for (const auto &[file, damages] : files) {
        for (const QString &damage : damages.split(QLatin1Char(' ')))
            QTest::addRow("%s %s", qPrintable(file), qPrintable(damage)) << file << damage;
    }
}

void TestRecovery::aDamagedMirrorCopyIsRefused()
{
    QFETCH(QString, file);
    QFETCH(QString, damage);
    Fixture f;
    AppContext &c = startWritten(f);
    const QString path = f.mirror() + QLatin1Char('/') + file;
    QByteArray contents = bytes(path);
    if (damage == QLatin1String("cut")) {
        contents = contents.left(contents.size() / 2 + 1);
    } else if (damage == QLatin1String("emptied")) {
        contents.clear();
    } else if (damage == QLatin1String("wide")) {
        QVERIFY(contents.endsWith("\r\n"));
        contents.insert(contents.size() - 2, QByteArray(25, '0'));
    } else {
        contents = QByteArray::fromHex("00ff3a0d0a0102e9000a").repeated(100);
    }
    textfile::writeBytes(path, contents);
    const QMap<QString, QByteArray> before = folderBytes(f.dir());

    QVERIFY(!mirror::recoverSystem(c, true)); // asks nothing
    QVERIFY(!c.ended);
    const QStringList warnings = f.dialogs.texts(test::ScriptedDialogs::Kind::Warning);
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings.front().contains(file), qPrintable(warnings.front()));
    QVERIFY2(warnings.front().count(QStringLiteral("\r\n- ")) == 1, qPrintable(warnings.front()));
    QCOMPARE(folderBytes(f.dir()), before);
}

void TestRecovery::recoveryTellsHowRecentTheJournalIsAndShowsItsProgress()
{
    Fixture f; // the full write at 8 December 2026, 10:00
    f.mirroringOn();
    Run run(f);
    AppContext &c = run.context;
    QVERIFY(mirror::writeSystem(c, false));
    // A long journal of bookings made after the copy, the last one on the 11th at 16:45.
    QStringList lines;
    for (int day = 9; day <= 31 && lines.size() < 5000; ++day) {
        for (int slot = 1; slot <= 24 && lines.size() < 5000; ++slot) {
            for (int doctor = 1; doctor <= 10 && lines.size() < 5000; ++doctor)
                lines << journal::line(QLatin1Char('I'), booked(day, slot, doctor), QStringLiteral("09/12/2026 08:10"));
        }
    }
    lines.last() = journal::line(QLatin1Char('I'), booked(31, 24, 10), QStringLiteral("11/12/2026 16:45"));
    textfile::appendLines(f.mirror() + QStringLiteral("/ArqMovA.Txt"), lines);

    // What the main window shows while the recovery runs.
    auto *label2 = run.window.findChild<QLabel *>(QStringLiteral("Label2"));
    auto *label3 = run.window.findChild<QLabel *>(QStringLiteral("Label3"));
    QStringList shown;
    const auto show = c.showProgress;
    c.showProgress = [&](const QString &first, const QString &second) {
        show(first, second);
        shown << label2->text() + QLatin1Char('|') + label3->text();
    };
    f.dialogs.answerQuestion(true);
    QVERIFY(mirror::recoverSystem(c, true));

    const QString question = f.dialogs.texts(test::ScriptedDialogs::Kind::Question).front();
    QVERIFY2(question.contains(QStringLiteral("  Dia:     08/12/2026\n  Hora:    10:00 horas \n")), qPrintable(question));
    QVERIFY2(question.contains(QStringLiteral("\n  Diário:  5000 linha(s) de alterações depois da cópia, a última "
                                              "em 11/12/2026 às 16:45\n")),
             qPrintable(question));
    // The replay tells how far it is, every so many lines and not at each one, and the
    // texts are blank again at the end.
    const QStringList replaying = shown.filter(QStringLiteral("Aguarde ... |Aplicando ArqMovA.Txt: linha "));
    QVERIFY2(replaying.size() >= 2 && replaying.size() <= 10, qPrintable(shown.join(QLatin1Char('\n'))));
    QCOMPARE(replaying.last(), QStringLiteral("Aguarde ... |Aplicando ArqMovA.Txt: linha 5000 de 5000"));
    QVERIFY(replaying.first().endsWith(QStringLiteral(" de 5000")) && replaying.first() != replaying.last());
    QCOMPARE(shown.last(), QStringLiteral("|"));
    QCOMPARE(f.rows().size(), std::size_t(5000));
}

void TestRecovery::aDamagedTableIsKeptAsideAndComesBackThroughTheMenu()
{
    Fixture f;
    f.mirroringOn();
    std::vector<Appointment> held;
    {
        Run day(f);
        AppContext &c = day.context;
        c.DMMedicos.table().insert(booked(9, 1, 3));
        QVERIFY(mirror::writeSystem(c, false));
        // A booking after the copy: only the mirror's journal has it.
        c.DMMedicos.table().insert(booked(10, 2, 3));
        textfile::appendLines(f.mirror() + QStringLiteral("/ArqMovA.Txt"),
                              {journal::line(QLatin1Char('I'), booked(10, 2, 3), QStringLiteral("08/12/2026 11:00"))});
        held = c.DMMedicos.table().all();
        day.window.close();
    }
    const QString table = f.dir() + QStringLiteral("/Medicos.db");
    const QByteArray garbage(8192, '\x5a');
    textfile::writeBytes(table, garbage);

    {
        // The start says where the program's own recovery is, keeps the damaged file
        // and opens on an empty table.
        f.dialogs.answerQuestion(true);
        Run next(f);
        const QString question = f.dialogs.texts(test::ScriptedDialogs::Kind::Question).front();
        QVERIFY2(question.contains(QStringLiteral("Manutenção › Espelhamento › Recuperar Sistema com o Espelho")),
                 qPrintable(question));
        QVERIFY2(question.contains(QDir::toNativeSeparators(table + QStringLiteral(".danificado"))), qPrintable(question));
        QVERIFY(!question.contains(QStringLiteral("recupere-o da pasta Espelho")));
        QCOMPARE(bytes(table + QStringLiteral(".danificado")), garbage);
        QVERIFY(next.context.DMMedicos.table().all().empty());

        // Mirroring on, on the same drive, then the recovery from the menu.
        onModal<TFEspelhamento>([](TFEspelhamento *d) {
            click(d, "RGEspelho_0");
            click(d, "BSair");
        });
        next.trigger("EscolherLocalizao1");
        QVERIFY(next.window.menuItem(QStringLiteral("Recuperarosdados1"))->isEnabled());
        f.dialogs.answerQuestion(true);
        next.trigger("Recuperarosdados1");
        QVERIFY(next.context.ended);
    }
    QCOMPARE(f.rows(), held);
    QCOMPARE(f.dialogs.unusedAnswers(), 0);
}

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
