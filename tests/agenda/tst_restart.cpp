// "Reiniciar o Sistema" and "Reorganizar o Banco de Dados": the groups reset from their
// templates, the checks made before anything changes, the rebuilt table.
#include "agenda/restart.h"
#include "agenda/tfreiniciararquivos.h"
#include "app/session.h"
#include "app/tfprincipal.h"
#include "core/data_files.h"
#include "platform/text_file.h"
#include "protection/local_backup.h"
#include "protection/mirror.h"
#include "store/appointment_table.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/mouse.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace clinora;
using test::Fixture;
using test::onModal;
using Kind = test::ScriptedDialogs::Kind;

namespace {

Appointment row(const QString &data, const QString &hora, const QString &medico)
{
    return {data, hora, medico, QStringLiteral("Maria Souza"), {}, QStringLiteral("1"), {}};
}

void click(QWidget *form, const char *name)
{
    auto *widget = form->findChild<QAbstractButton *>(QLatin1String(name));
    QVERIFY2(widget, name);
    // On the button's circle or the start of its caption, where a person clicks.
    const QPoint at = qobject_cast<QRadioButton *>(widget) ? QPoint(8, widget->height() / 2) : widget->rect().center();
    test::click(widget, at);
}

QStringList mirrorLines(const Fixture &f, const QString &name)
{
    return textfile::readLines(f.mirror() + QLatin1Char('/') + name);
}

} // namespace

class TestRestart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { test::closeModals(); }
    void restartingTheAppointmentsEmptiesTheTableAndSheets();
    void restartingTheDoctorsFreesEveryCode();
    void restartingOnlyTheSpecialties();
    void missingTemplateChangesNothing();
    void confirmationNamesWhatChanges_data();
    void confirmationNamesWhatChanges();
    void reorganiseKeepsEveryRowAndTheBackup();
    void restartingTheStatistics();
};

void TestRestart::restartingTheAppointmentsEmptiesTheTableAndSheets()
{
    Fixture f;
    f.addDoctor(3, QStringLiteral("Dr. Paulo Lima"));
    f.setTimes(3, 4, {QStringLiteral("08:00"), QStringLiteral("08:30")}); // Wednesdays
    f.addRows({row(QStringLiteral("09/12/26"), QStringLiteral("1"), QStringLiteral("3")),
               row(QStringLiteral("09/12H/"), QStringLiteral("2"), QStringLiteral("3"))});
    f.write(files::kClosedDates, {QStringLiteral("25/12/2026")});
    f.write(files::kPreparedLimit, {QStringLiteral("07/01/2027")});
    f.mirroringOn();
    TFPrincipal window(f.context());
    session::startUp(f.context());
    window.FormCreate();
    AppContext &c = f.context();
    f.dialogs.answerQuestion(true);
    QVERIFY(mirror::writeSystem(c, true));
    c.sheets.refreshAll();
    QCOMPARE(c.sheets.sheet(9).cell(1, 3), QStringLiteral("C"));
    c.journal.add(QStringLiteral("I line not yet written"));

    f.dialogs.answerQuestion(true);
    bool shown = false;
    onModal<TFReiniciarArquivos>([&](TFReiniciarArquivos *d) {
        shown = d->windowTitle() == QStringLiteral("Reiniciar Arquivos");
        QVERIFY(!d->findChild<QWidget *>(QStringLiteral("RGEstatisticas"))->isVisible());
        click(d, "RGConsultas_0");
        click(d, "Button1");
        if (d->isVisible()) {
            QTest::qFail(qPrintable(f.dialogs.texts().join(QLatin1Char('|'))), __FILE__, __LINE__);
            d->reject();
        }
    });
    window.menuItem(QStringLiteral("ReiniciaroSistema1"))->trigger();
    QVERIFY(shown);
    QVERIFY(QApplication::activeModalWidget() == nullptr);

    QCOMPARE(f.rows().size(), std::size_t(0));
    QCOMPARE(c.sheets.sheet(9).cell(1, 3), QString());
    QCOMPARE(f.read(files::kClosedDates), QStringList());
    QCOMPARE(f.read(files::kRunJournal), QStringList());
    QCOMPARE(f.read(files::kPreparedLimit), QStringList{QStringLiteral("08/12/2026")});
    QCOMPARE(f.read(files::kPreparedLimitCopy), QStringList{QStringLiteral("08/12/2026")});
    QCOMPARE(c.journal.pending(), 0);
    // The mirror follows: an empty table copy with an empty journal, the same dates.
    AppointmentTable mirrorTable;
    mirrorTable.open(f.mirror() + QStringLiteral("/Medicos3.db"), false);
    QCOMPARE(mirrorTable.count(), 0);
    QCOMPARE(mirrorLines(f, files::kJournal), QStringList());
    QCOMPARE(mirrorLines(f, files::kPreparedLimit), QStringList{QStringLiteral("08/12/2026")});
    QCOMPARE(mirrorLines(f, files::kClosedDates), QStringList());
    // The doctors were kept.
    QCOMPARE(c.doctors.doctor(3).name.trimmed(), QStringLiteral("Dr. Paulo Lima"));
}

void TestRestart::restartingTheDoctorsFreesEveryCode()
{
    Fixture f;
    f.addDoctor(3, QStringLiteral("Dr. Paulo Lima"));
    f.addDoctor(50, QStringLiteral("Dra. Rita Alves"));
    f.setTimes(3, 4, {QStringLiteral("08:00")});
    f.setSetting(3, QStringLiteral("A2026"));
    // Doctor 3's year so far: 4 attendances posted in January, 2 pending, and his week 2.
    const QString zeros(44, QLatin1Char('0'));
    QStringList months = f.read(files::kDoctorMonths);
    months[2] = QStringLiteral("3 530004") + zeros;
    months[52] = QStringLiteral("5353") + QStringLiteral("0001") + zeros;
    f.write(files::kDoctorMonths, months);
    f.write(files::kPendingMovements, {QStringLiteral("3 0112")});
    QStringList weekly = f.read(files::kWeeklyCounts);
    weekly[50 + 2] = QStringLiteral("00050004");
    f.write(files::kWeeklyCounts, weekly);
    AppContext &c = f.start();
    RestartGroups groups;
    groups.doctors = true;
    f.dialogs.answerQuestion(true);
    QVERIFY(restartSystem(c, groups));
    // A doctor given code 3 later starts from nothing: the old one's months went to his
    // specialty's row, as at a removal, and his weeks are cleared.
    const QStringList restarted = f.read(files::kDoctorMonths);
    QCOMPARE(restarted[2], QStringLiteral("3 00") + QString(48, QLatin1Char('0')));
    QCOMPARE(restarted[52], QStringLiteral("53530007") + zeros);
    QCOMPARE(f.read(files::kPendingMovements), QStringList());
    QCOMPARE(f.read(files::kWeeklyCounts)[50 + 2], QStringLiteral("00000000"));
    QStringList expected;
    for (int code = 1; code <= 50; ++code) {
        QVERIFY2(c.doctors.isFree(code), qPrintable(QString::number(code)));
        expected << QString::number(code);
    }
    QCOMPARE(c.doctors.freeCodeList().split(QLatin1Char(' '), Qt::SkipEmptyParts), expected);
    QVERIFY(!c.doctors.hasSlot(4, 3, 1));
    QCOMPARE(f.read(files::kDoctors), f.read(QStringLiteral("BaseCodMed.Txt")));
    QCOMPARE(f.read(files::kDoctorNames), f.read(QStringLiteral("BaseMedicos.Txt")));
    // An empty line per slot: the form the next start reads, where an empty file is refused.
    QCOMPARE(f.read(files::kTimetable), QStringList(8400, QString()));
}

void TestRestart::restartingOnlyTheSpecialties()
{
    Fixture f;
    f.mirroringOn();
    QStringList specialties = f.read(files::kSpecialties);
    specialties[0] = QStringLiteral("51 Cardiologia");
    f.write(files::kSpecialties, specialties);
    f.addRows({row(QStringLiteral("09/12/26"), QStringLiteral("1"), QStringLiteral("3"))});
    const QStringList doctors = f.read(files::kDoctors);
    AppContext &c = f.start();
    RestartGroups groups;
    groups.specialties = true;
    f.dialogs.answerQuestion(true);
    QVERIFY(restartSystem(c, groups));
    QCOMPARE(f.read(files::kSpecialties), f.read(QStringLiteral("BaseEsp.Txt")));
    QCOMPARE(mirrorLines(f, files::kSpecialties), f.read(QStringLiteral("BaseEsp.Txt")));
    QCOMPARE(c.specialties.entry(51).name, f.read(QStringLiteral("BaseEsp.Txt")).value(0).mid(3));
    QCOMPARE(f.read(files::kDoctors), doctors);
    QCOMPARE(c.DMMedicos.table().count(), 1);
}

void TestRestart::missingTemplateChangesNothing()
{
    Fixture f;
    f.addDoctor(3, QStringLiteral("Dr. Paulo Lima"));
    f.addRows({row(QStringLiteral("09/12/26"), QStringLiteral("1"), QStringLiteral("3"))});
    QFile::remove(f.dir() + QStringLiteral("/BaseSemanas.Txt"));
    const QStringList doctors = f.read(files::kDoctors);
    AppContext &c = f.start();
    RestartGroups groups;
    groups.doctors = true;
    groups.appointments = true;
    QVERIFY(!restartSystem(c, groups)); // no question is asked
    QCOMPARE(f.dialogs.texts(Kind::Warning).size(), 1);
    QVERIFY(f.dialogs.texts(Kind::Warning).front().contains(QLatin1String("BaseSemanas.Txt")));
    QCOMPARE(f.read(files::kDoctors), doctors);
    QCOMPARE(c.DMMedicos.table().count(), 1);
}

void TestRestart::confirmationNamesWhatChanges_data()
{
    QTest::addColumn<bool>("mirroring");
    QTest::addColumn<QString>("text");
    QTest::newRow("mirroring off")
        << false
        << QStringLiteral("Este procedimento irá alterar os seguintes arquivos:\r\r\rSituações\r\r"
                          "Consultas Marcadas e Datas do Sistema\r\r\r                 Tem certeza que deseja isso?");
    QTest::newRow("mirroring on")
        << true
        << QStringLiteral("  Este procedimento irá alterar os  arquivos que você selecionou.\r\rComo o espelhamento "
                          "está ativado, as alterações também modificarão\ro conteúdo do drive E: onde está a "
                          "cópia de segurança.\r\r                 Tem certeza que deseja isso?");
}

void TestRestart::confirmationNamesWhatChanges()
{
    QFETCH(bool, mirroring);
    QFETCH(QString, text);
    Fixture f;
    if (mirroring)
        f.mirroringOn();
    f.addRows({row(QStringLiteral("09/12/26"), QStringLiteral("1"), QStringLiteral("3"))});
    AppContext &c = f.start();
    RestartGroups groups;
    groups.situations = true;
    groups.appointments = true;
    f.dialogs.answerQuestion(false);
    QVERIFY(!restartSystem(c, groups));
    QCOMPARE(f.dialogs.texts(Kind::Question), QStringList{text});
    QCOMPARE(c.DMMedicos.table().count(), 1);
}

void TestRestart::reorganiseKeepsEveryRowAndTheBackup()
{
    Fixture f;
    f.addRows({row(QStringLiteral("09/12/26"), QStringLiteral("1"), QStringLiteral("3")),
               row(QStringLiteral("10/12/26"), QStringLiteral("2"), QStringLiteral("3"))});
    f.write(files::kPreparedLimit, {QStringLiteral("07/01/2027")});
    AppContext &c = f.start();
    backup::writeLocalBackup(c);
    c.DMMedicos.table().insert(row(QStringLiteral("11/12/26"), QStringLiteral("3"), QStringLiteral("3")));
    c.DMMedicos.table().remove(row(QStringLiteral("09/12/26"), QStringLiteral("1"), QStringLiteral("3")).key());
    const std::vector<Appointment> held = c.DMMedicos.table().all();
    textfile::writeLines(c.file(files::kRunJournal), {QStringLiteral("I")});
    reorganiseTable(c);
    QCOMPARE(c.DMMedicos.table().all(), held);
    QCOMPARE(f.rows(), held);
    QCOMPARE(f.read(files::kPreparedLimitCopy), QStringList{QStringLiteral("07/01/2027")});
    QCOMPARE(f.read(files::kRunJournal), QStringList());
    AppointmentTable backupTable;
    backupTable.open(c.file(files::kWorkTable), false);
    QCOMPARE(backupTable.count(), 2);
    QVERIFY(backupTable.contains(row(QStringLiteral("09/12/26"), QStringLiteral("1"), QStringLiteral("3")).key()));
}

void TestRestart::restartingTheStatistics()
{
    Fixture f;
    f.addDoctor(1, QStringLiteral("Dra. Ana Souza"));
    f.setSetting(2, QStringLiteral("01/12/2026"));
    f.setSetting(3, QStringLiteral("A2026"));
    QStringList months = f.read(files::kDoctorMonths);
    months[0] = QStringLiteral("1 510007") + QString(44, QLatin1Char('0'));
    f.write(files::kDoctorMonths, months);
    f.write(files::kPendingMovements, {QStringLiteral("1 0311")});
    const QStringList doctors = f.read(files::kDoctors);
    TFPrincipal window(f.context());
    session::startUp(f.context());
    window.FormCreate();
    const auto group = [](QWidget *d) { return d->findChild<QWidget *>(QStringLiteral("RGEstatisticas")); };
    // Offered only where the statistics wing is shown (--estatisticas).
    bool hidden = false;
    onModal<TFReiniciarArquivos>([&](TFReiniciarArquivos *d) {
        hidden = !group(d)->isVisible();
        d->reject();
    });
    window.menuItem(QStringLiteral("ReiniciaroSistema1"))->trigger();
    QVERIFY(hidden);

    window.showStatisticsMenu();
    f.dialogs.answerQuestion(true);
    onModal<TFReiniciarArquivos>([&](TFReiniciarArquivos *d) {
        QVERIFY(group(d)->isVisible());
        click(d, "RGEstatisticas_0");
        click(d, "Button1");
        QVERIFY2(!d->isVisible(), qPrintable(f.dialogs.texts().join(QLatin1Char('|'))));
    });
    window.menuItem(QStringLiteral("ReiniciaroSistema1"))->trigger();
    QCOMPARE(f.dialogs.texts(Kind::Question),
             QStringList{"Este procedimento irá alterar os seguintes arquivos:\r\r\r\r\r\rEstatísticas\r\r"
                         "                 Tem certeza que deseja isso?"});
    QCOMPARE(f.read(files::kDoctorMonths)[0], QStringLiteral("1 51") + QString(48, QLatin1Char('0')));
    QCOMPARE(f.read(files::kPendingMovements), QStringList());
    QCOMPARE(f.read(files::kSettings).mid(1, 2), QStringList({"07/12/2026", "A2026"}));
    // What was reset is kept, and nothing else changed.
    QCOMPARE(textfile::readLines(f.dir() + QStringLiteral("/Estatisticas/Reinicio_2026-12-08_10-00-00/MedMeses.Txt")),
             months);
    QCOMPARE(f.read(files::kDoctors), doctors);
}

QTEST_MAIN(TestRestart)
#include "tst_restart.moc"
