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
#include "support/fixture.h"
#include "support/modal.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
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

void click(QWidget *form, const char *name)
{
    auto *widget = form->findChild<QAbstractButton *>(QLatin1String(name));
    QVERIFY2(widget, name);
    const QPoint at = qobject_cast<QRadioButton *>(widget) ? QPoint(8, widget->height() / 2) : widget->rect().center();
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
}

// "Definir Local e Status": mirroring on, on drive F:.
void mirrorOnDriveF(Run &run)
{
    onModal<TFEspelhamento>([](TFEspelhamento *d) {
        click(d, "RGEspelho_0");
        click(d, "BAlterar");
        QTest::keyClicks(d->findChild<QComboBox *>(QStringLiteral("CBDrive")), QStringLiteral("F"));
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

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { test::closeModals(); }
    void aLostDataFolderComesBackFromTheMirror();
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
        onModal<TFVisaoGeral>([](TFVisaoGeral *s) { QTest::keyClick(s, Qt::Key_Escape); });
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
        onModal<TFVisaoGeral>([](TFVisaoGeral *s) { QTest::keyClick(s, Qt::Key_Escape); });
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

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
