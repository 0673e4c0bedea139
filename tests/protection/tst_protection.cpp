// Data protection: the journal replay, the mirror's full write and recovery, the
// snapshot and the live copies, the consistency check of the stamps.
#include "core/data_files.h"
#include "platform/errors.h"
#include "platform/file_group.h"
#include "platform/text_file.h"
#include "protection/local_backup.h"
#include "protection/mirror.h"
#include "protection/replay.h"
#include "store/appointment_table.h"
#include "store/journal.h"
#include "support/fixture.h"

#include <QDir>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QScopeGuard>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QThread>

#include <csignal>
#include <sys/types.h>

using namespace clinora;
using test::Fixture;
using Kind = test::ScriptedDialogs::Kind;

namespace {

const QString kStamp = QStringLiteral("08/12/2026 10:00");

Appointment row(const QString &data, const QString &hora, const QString &medico,
                const QString &paciente = QStringLiteral("Maria Souza"))
{
    return {data, hora, medico, paciente, QStringLiteral("2345-6789"), QStringLiteral("1"), QString()};
}

QString inserted(const Appointment &r)
{
    return journal::line(QLatin1Char('I'), r, kStamp);
}

QString deleted(const Appointment &r)
{
    return journal::line(QLatin1Char('E'), r, kStamp);
}

QStringList described(const std::vector<Appointment> &rows)
{
    QStringList result;
    for (const Appointment &r : rows)
        result << QStringList{r.data, r.hora, r.medico, r.paciente}.join(QLatin1Char(';'));
    return result;
}

} // namespace

class TestProtection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void replayAppliesEachLine_data();
    void replayAppliesEachLine();
    void replayingTwiceOrOntoTheLiveTableChangesNothing();
    void badLinesAreSkippedAndListed();
    void aFullCancelledListLeavesTheLineOut();
    void replayPutsBackTheSavedLimit();
    void missingJournalChangesNothing();
    void fullWriteCopiesEverythingAndKeepsMirroringOn();
    void fullWriteThatFailsLeavesThePreviousMirror();
    void recoveryBringsBackTablePlusJournalAndFiles();
    void recoveryRefusesAMirrorItCannotUse_data();
    void recoveryRefusesAMirrorItCannotUse();
    void consistencyCheck_data();
    void consistencyCheck();
    void startWithTheDriveButNoMirrorFolderKeepsMirroringOn();
    void startClearsWhatACutWriteLeftInTheMirror_data();
    void startClearsWhatACutWriteLeftInTheMirror();
    void failedLiveCopyKeepsTheFileAndTurnsMirroringOff();
    void snapshotReplacesTableCopyAndJournalTogether();
    void killedFullWriteLeavesAUsableMirror();
    void fullOrReadOnlyMirrorKeepsThePreviousOne_data();
    void fullOrReadOnlyMirrorKeepsThePreviousOne();
    void localBackupAndRestore();
    void restoreRefusesAnIncompleteBackup_data();
    void restoreRefusesAnIncompleteBackup();
    void restoreThatCannotBeWrittenKeepsTheTableInUse();
};

void TestProtection::replayAppliesEachLine_data()
{
    QTest::addColumn<std::vector<Appointment>>("before");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("after");

    const Appointment ana = row(QStringLiteral("05/01/27"), QStringLiteral("8"), QStringLiteral("12"),
                                QStringLiteral("Ana Lima"));
    const Appointment bia = row(QStringLiteral("05/01/27"), QStringLiteral("8"), QStringLiteral("12"),
                                QStringLiteral("Bia Rocha"));
    QTest::newRow("a free slot takes the row as it is")
        << std::vector<Appointment>{} << QStringList{inserted(ana)} << QStringList{"05/01/27;8;12;Ana Lima"};
    QTest::newRow("a taken slot sends the row to the cancelled list above its Hora")
        << std::vector<Appointment>{bia, row(QStringLiteral("05/01H/"), QStringLiteral("9"), QStringLiteral("12"),
                                             QStringLiteral("Caio"))}
        << QStringList{inserted(ana)}
        << QStringList{"05/01/27;8;12;Bia Rocha", "05/01H/;10;12;Ana Lima", "05/01H/;9;12;Caio"};
    QTest::newRow("another doctor's rows on the list neither take its Hora nor stand for it")
        << std::vector<Appointment>{bia, row(QStringLiteral("05/01H/"), QStringLiteral("9"), QStringLiteral("7"),
                                             QStringLiteral("Ana Lima"))}
        << QStringList{inserted(ana)}
        << QStringList{"05/01/27;8;12;Bia Rocha", "05/01H/;9;12;Ana Lima", "05/01H/;9;7;Ana Lima"};
    QTest::newRow("a cancelled row keeps its Data and only raises Hora")
        << std::vector<Appointment>{row(QStringLiteral("05/01H/"), QStringLiteral("8"), QStringLiteral("12"),
                                        QStringLiteral("Caio"))}
        << QStringList{inserted(row(QStringLiteral("05/01H/"), QStringLiteral("8"), QStringLiteral("12"),
                                    QStringLiteral("Ana Lima")))}
        << QStringList{"05/01H/;8;12;Caio", "05/01H/;9;12;Ana Lima"};
    QTest::newRow("a deletion of a row no longer there changes nothing")
        << std::vector<Appointment>{bia} << QStringList{deleted(row(QStringLiteral("06/01/27"), QStringLiteral("8"),
                                                                     QStringLiteral("12")))}
        << QStringList{"05/01/27;8;12;Bia Rocha"};
    QTest::newRow("a deletion removes only its own patient")
        << std::vector<Appointment>{bia} << QStringList{deleted(ana)} << QStringList{"05/01/27;8;12;Bia Rocha"};
    QTest::newRow("a change is a deletion and an insertion")
        << std::vector<Appointment>{ana} << QStringList{deleted(ana), inserted(bia)}
        << QStringList{"05/01/27;8;12;Bia Rocha"};
    // Two real bookings of one patient with one doctor on one day, both slots taken in
    // the older table: the second is no replay of the first and goes to the list too.
    QTest::newRow("a second booking of the same patient that day goes to the list as well")
        << std::vector<Appointment>{bia, row(QStringLiteral("05/01/27"), QStringLiteral("10"), QStringLiteral("12"),
                                             QStringLiteral("Dora"))}
        << QStringList{inserted(ana), inserted(row(QStringLiteral("05/01/27"), QStringLiteral("10"),
                                                   QStringLiteral("12"), QStringLiteral("Ana Lima")))}
        << QStringList{"05/01/27;10;12;Dora", "05/01/27;8;12;Bia Rocha", "05/01H/;11;12;Ana Lima",
                       "05/01H/;9;12;Ana Lima"};
    QTest::newRow("a cancellation by the patient")
        << std::vector<Appointment>{ana}
        << QStringList{deleted(ana), inserted(row(QStringLiteral("05/01P/"), QStringLiteral("8"), QStringLiteral("12"),
                                                  QStringLiteral("Ana Lima")))}
        << QStringList{"05/01P/;8;12;Ana Lima"};
}

void TestProtection::replayAppliesEachLine()
{
    QFETCH(std::vector<Appointment>, before);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, after);
    Fixture f;
    f.addRows(before);
    AppContext &c = f.start();
    const ReplayResult result = applyJournal(c.DMMedicos.table(), lines);
    QCOMPARE(described(c.DMMedicos.table().all()), after);
    QVERIFY(result.skipped.isEmpty());
}

void TestProtection::replayingTwiceOrOntoTheLiveTableChangesNothing()
{
    // A day at the desk: a booking, a change of name, a cancellation by the patient,
    // a deletion, a booking in a slot taken before the copy was made, and a booking in
    // the slot the cancellation freed.
    const Appointment ana = row(QStringLiteral("09/12/26"), QStringLiteral("1"), QStringLiteral("3"),
                                QStringLiteral("Ana Lima"));
    const Appointment anaPaz = row(QStringLiteral("09/12/26"), QStringLiteral("1"), QStringLiteral("3"),
                                   QStringLiteral("Ana Paz"));
    const Appointment beto = row(QStringLiteral("10/12/26"), QStringLiteral("2"), QStringLiteral("3"),
                                 QStringLiteral("Beto"));
    const Appointment betoCancelled = row(QStringLiteral("10/12P/"), QStringLiteral("2"), QStringLiteral("3"),
                                          QStringLiteral("Beto"));
    const Appointment caio = row(QStringLiteral("11/12/26"), QStringLiteral("4"), QStringLiteral("3"),
                                 QStringLiteral("Caio"));
    const Appointment dora = row(QStringLiteral("10/12/26"), QStringLiteral("2"), QStringLiteral("3"),
                                 QStringLiteral("Dora"));
    const Appointment eva = row(QStringLiteral("12/12/26"), QStringLiteral("5"), QStringLiteral("3"),
                                QStringLiteral("Eva"));
    const Appointment taken = row(QStringLiteral("12/12/26"), QStringLiteral("5"), QStringLiteral("3"),
                                  QStringLiteral("Fabio"));
    const QStringList day = {inserted(ana),           deleted(ana),  inserted(anaPaz), deleted(beto),
                             inserted(betoCancelled), deleted(caio), inserted(eva),    inserted(dora)};
    Fixture f;
    f.addRows({beto, caio, taken});
    AppContext &c = f.start();
    AppointmentTable &table = c.DMMedicos.table();
    applyJournal(table, day);
    const QStringList once = described(table.all());
    QCOMPARE(once, (QStringList{"09/12/26;1;3;Ana Paz", "10/12/26;2;3;Dora", "10/12P/;2;3;Beto",
                                "12/12/26;5;3;Fabio", "12/12H/;6;3;Eva"}));
    const ReplayResult again = applyJournal(table, day);
    QCOMPARE(described(table.all()), once);
    QCOMPARE(again.inserted + again.toCancelled + again.deleted, 0);
}

void TestProtection::badLinesAreSkippedAndListed()
{
    Fixture f;
    AppContext &c = f.start();
    Appointment remarks = row(QStringLiteral("09/12/26"), QStringLiteral("3"), QStringLiteral("7"));
    remarks.observacoes = QStringLiteral("Trazer exames\nem jejum");
    const QString good = inserted(row(QStringLiteral("09/12/26"), QStringLiteral("2"), QStringLiteral("7")));
    QString badHora = inserted(row(QStringLiteral("09/12/26"), QStringLiteral("4"), QStringLiteral("7")));
    badHora.replace(9, 2, QStringLiteral("x "));
    QString noName = inserted(row(QStringLiteral("09/12/26"), QStringLiteral("5"), QStringLiteral("7")));
    noName.replace(13, 25, QString(25, QLatin1Char(' ')));
    const QString unknown = QStringLiteral("X") + good.mid(1);
    const QString torn = inserted(row(QStringLiteral("09/12/26"), QStringLiteral("6"), QStringLiteral("7"))).left(30);
    const QString journalPath = c.file(files::kRunJournal);
    textfile::writeLines(journalPath, {good, QString(), badHora, unknown, inserted(remarks), noName, torn});

    const ReplayResult result = replayJournal(c, journalPath);

    const std::vector<Appointment> rows = c.DMMedicos.table().all();
    QCOMPARE(described(rows), (QStringList{"09/12/26;2;7;Maria Souza", "09/12/26;3;7;Maria Souza"}));
    QCOMPARE(rows[1].observacoes, QStringLiteral("Trazer exames\nem jejum"));
    QCOMPARE(result.skipped.size(), 5);
    const QStringList warnings = f.dialogs.texts(Kind::Warning);
    QCOMPARE(warnings.size(), 1);
    for (const char *part : {"ArqMov.Txt", "linha 2:", "linha 3:", "linha 4:", "linha 6:", "linha 7:"})
        QVERIFY2(warnings.front().contains(QLatin1String(part)), part);
}

void TestProtection::aFullCancelledListLeavesTheLineOut()
{
    Fixture f;
    std::vector<Appointment> rows{row(QStringLiteral("05/01/27"), QStringLiteral("8"), QStringLiteral("12"))};
    for (int hora = 9; hora <= 99; ++hora)
        rows.push_back(row(QStringLiteral("05/01H/"), QString::number(hora), QStringLiteral("12")));
    f.addRows(rows);
    AppContext &c = f.start();
    const ReplayResult result = applyJournal(
        c.DMMedicos.table(),
        {inserted(row(QStringLiteral("05/01/27"), QStringLiteral("8"), QStringLiteral("12"), QStringLiteral("Ana"))),
         inserted(row(QStringLiteral("06/01/27"), QStringLiteral("8"), QStringLiteral("12"), QStringLiteral("Bia")))});
    QCOMPARE(result.skipped.size(), 1);
    QVERIFY2(result.skipped.front().startsWith(QLatin1String("linha 1: Ana")), qPrintable(result.skipped.front()));
    QCOMPARE(result.inserted, 1);
    QCOMPARE(c.DMMedicos.table().count(), int(rows.size()) + 1);
}

void TestProtection::replayPutsBackTheSavedLimit()
{
    Fixture f;
    f.write(files::kPreparedLimit, {QStringLiteral("31/12/2026")});
    f.write(files::kPreparedLimitCopy, {QStringLiteral("20/12/2026")});
    AppContext &c = f.start();
    textfile::writeLines(c.file(files::kRunJournal), {});
    replayJournal(c, c.file(files::kRunJournal));
    QCOMPARE(f.read(files::kPreparedLimit), QStringList{QStringLiteral("20/12/2026")});
    QVERIFY(f.dialogs.shown().isEmpty());
}

void TestProtection::missingJournalChangesNothing()
{
    Fixture f;
    f.write(files::kPreparedLimit, {QStringLiteral("31/12/2026")});
    f.write(files::kPreparedLimitCopy, {QStringLiteral("20/12/2026")});
    f.addRows({row(QStringLiteral("09/12/26"), QStringLiteral("1"), QStringLiteral("1"))});
    AppContext &c = f.start();
    QFile::remove(c.file(files::kRunJournal));
    QVERIFY_THROWS_EXCEPTION(FileError, replayJournal(c, c.file(files::kRunJournal)));
    QCOMPARE(f.read(files::kPreparedLimit), QStringList{QStringLiteral("31/12/2026")});
    QCOMPARE(c.DMMedicos.table().count(), 1);
}

namespace {

std::vector<Appointment> mirrorRows(const Fixture &f)
{
    AppointmentTable table;
    table.open(f.mirror() + QStringLiteral("/Medicos3.db"), false);
    return table.all();
}

QStringList mirrorLines(const Fixture &f, const QString &name)
{
    return textfile::readLines(f.mirror() + QLatin1Char('/') + name);
}

const std::vector<Appointment> kRows = {
    row(QStringLiteral("09/12/26"), QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("Ana Lima")),
    row(QStringLiteral("10/12/26"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("Beto Souza")),
    row(QStringLiteral("10/12P/"), QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("Caio Reis"))};

// Mirroring on and the system written over the mirror once.
AppContext &startWritten(Fixture &f)
{
    f.mirroringOn();
    f.addRows(kRows);
    AppContext &c = f.start();
    f.dialogs.answerQuestion(true);
    if (!mirror::writeSystem(c, true))
        QTest::qFail("the first full write did not happen", __FILE__, __LINE__);
    f.dialogs.clear();
    return c;
}

} // namespace

void TestProtection::fullWriteCopiesEverythingAndKeepsMirroringOn()
{
    Fixture f;
    f.write(files::kCurrencyMark, {QStringLiteral("Sim")});
    AppContext &c = startWritten(f);
    for (const QString &name : mirror::fullCopyFiles()) {
        if (name != files::kJournal && name != files::kCurrencyMark)
            QCOMPARE(mirrorLines(f, name), f.read(name));
    }
    QCOMPARE(described(mirrorRows(f)), described(kRows));
    QCOMPARE(mirrorLines(f, files::kJournal), QStringList());
    QCOMPARE(mirrorLines(f, files::kCurrencyMark), QStringList{QStringLiteral("Nao")});
    QCOMPARE(f.read(files::kCurrencyMark), QStringList{QStringLiteral("Nao")});
    QCOMPARE(mirrorLines(f, files::kMirrorStamp), QStringList{QStringLiteral("08/12/2026 10:00:00")});
    QCOMPARE(f.read(files::kSystemStamp), mirrorLines(f, files::kMirrorStamp));
    // The mirror now follows every change: mirroring stays on, the stamps agree.
    QVERIFY(c.settings.mirroringOn());
    QCOMPARE(mirror::checkStamps(c), mirror::Check::InStep);
    QVERIFY(!QDir(f.mirror()).entryList({QStringLiteral("*~"), FileGroup::listName()}).size());
}

void TestProtection::fullWriteThatFailsLeavesThePreviousMirror()
{
    Fixture f;
    AppContext &c = startWritten(f);
    const QStringList stamp = mirrorLines(f, files::kMirrorStamp);
    c.DMMedicos.table().insert(row(QStringLiteral("11/12/26"), QStringLiteral("5"), QStringLiteral("3")));
    textfile::appendLines(f.mirror() + QStringLiteral("/ArqMovA.Txt"), {QStringLiteral("journal line")});
    // Historico.Txt cannot be written in the mirror.
    QDir().mkpath(FileGroup::temporaryPath(f.mirror() + QStringLiteral("/Historico.Txt")));
    f.clock.set(QDateTime(QDate(2026, 12, 8), QTime(11, 0)));
    f.dialogs.answerQuestion(true);
    try {
        mirror::writeSystem(c, true);
        QFAIL("the full write reported success");
    } catch (const FileError &e) {
        QVERIFY2(e.message().contains(QLatin1String("Historico.Txt")), qPrintable(e.message()));
    }
    QCOMPARE(described(mirrorRows(f)), described(kRows));
    QCOMPARE(mirrorLines(f, files::kJournal), QStringList{QStringLiteral("journal line")});
    QCOMPARE(mirrorLines(f, files::kMirrorStamp), stamp);
    QCOMPARE(f.read(files::kSystemStamp), stamp);
    QVERIFY(mirror::recoveryProblems(c).isEmpty());
}

void TestProtection::recoveryBringsBackTablePlusJournalAndFiles()
{
    Fixture f;
    AppContext &c = startWritten(f);
    // Changes after the full write: journal lines in the mirror, a live copy of a file.
    const Appointment dora = row(QStringLiteral("11/12/26"), QStringLiteral("5"), QStringLiteral("3"),
                                 QStringLiteral("Dora"));
    c.DMMedicos.table().insert(dora);
    c.DMMedicos.table().remove(kRows[0].key());
    textfile::appendLines(f.mirror() + QStringLiteral("/ArqMovA.Txt"), {inserted(dora), deleted(kRows[0])});
    f.write(files::kClosedDates, {QStringLiteral("24/12/2026")});
    mirror::copy(c, files::kClosedDates);
    const std::vector<Appointment> held = c.DMMedicos.table().all();
    QStringList settings = f.read(files::kSettings);

    // The disk is lost: every row and file goes.
    c.DMMedicos.table().clear();
    for (const QString &name : mirror::fullCopyFiles())
        f.write(name, {QStringLiteral("perdido")});
    f.dialogs.answerQuestion(true);
    QVERIFY(mirror::recoverSystem(c, true));

    QVERIFY(f.dialogs.texts(Kind::Question).front().contains(QLatin1String("  Dia:     08/12/2026\n  Hora:    10:00 horas ")));
    QVERIFY(c.ended);
    QVERIFY(!c.DMMedicos.table().isOpen());
    QCOMPARE(f.rows(), held);
    QCOMPARE(f.read(files::kClosedDates), QStringList{QStringLiteral("24/12/2026")});
    settings[3] = QStringLiteral("Sem");
    QCOMPARE(f.read(files::kSettings), settings);
    QCOMPARE(f.read(files::kSystemStamp), mirrorLines(f, files::kMirrorStamp));
    QCOMPARE(f.dialogs.texts(Kind::Information).last(),
             QStringLiteral("A Aplicação será encerrada para recuperar os dados.\r"
                            "               Se desejar, reinicie em seguida"));
}

void TestProtection::recoveryRefusesAMirrorItCannotUse_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("contents"); // empty: the file is deleted
    QTest::addColumn<QString>("named");
    QTest::newRow("a data file missing") << "Sit.Txt" << QByteArray() << "Sit.Txt";
    QTest::newRow("never written") << "CodEsp.Txt" << QByteArray("1155\r\n") << "1155";
    QTest::newRow("stamp missing") << "CodEsp.Txt" << QByteArray() << "CodEsp.Txt";
    QTest::newRow("table missing") << "Medicos3.db" << QByteArray() << "Medicos3.db";
    QTest::newRow("table damaged") << "Medicos3.db" << QByteArray(4096, 'x') << "Medicos3.db";
}

void TestProtection::recoveryRefusesAMirrorItCannotUse()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, contents);
    QFETCH(QString, named);
    Fixture f;
    AppContext &c = startWritten(f);
    const QString path = f.mirror() + QLatin1Char('/') + file;
    if (contents.isEmpty())
        QFile::remove(path);
    else
        textfile::writeBytes(path, contents);
    const QStringList settings = f.read(files::kSettings);
    QVERIFY(!mirror::recoverSystem(c, true));
    QVERIFY(!c.ended);
    const QStringList warnings = f.dialogs.texts(Kind::Warning);
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings.front().contains(named), qPrintable(warnings.front()));
    QCOMPARE(described(c.DMMedicos.table().all()), described(kRows));
    QCOMPARE(f.read(files::kSettings), settings);
}

void TestProtection::consistencyCheck_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("expected");
    QTest::newRow("stamps equal") << "" << int(mirror::Check::InStep);
    QTest::newRow("system stamped again") << "system" << int(mirror::Check::OutOfStep);
    QTest::newRow("system stamp missing") << "no system stamp" << int(mirror::Check::OutOfStep);
    QTest::newRow("mirror stamp missing") << "no mirror stamp" << int(mirror::Check::OutOfStep);
    QTest::newRow("mirror drive removed") << "no drive" << int(mirror::Check::MediaMissing);
    // The drive is there: a new, empty mirror, which the synchronisation's "Gravar" fills.
    QTest::newRow("mirror folder removed") << "no folder" << int(mirror::Check::OutOfStep);
}

void TestProtection::consistencyCheck()
{
    QFETCH(QString, change);
    QFETCH(int, expected);
    Fixture f;
    AppContext &c = startWritten(f);
    if (change == QLatin1String("system"))
        f.write(files::kSystemStamp, {QStringLiteral("08/12/2026 10:30:00")});
    else if (change == QLatin1String("no system stamp"))
        QFile::remove(c.file(files::kSystemStamp));
    else if (change == QLatin1String("no mirror stamp"))
        QFile::remove(f.mirror() + QStringLiteral("/CodEsp.Txt"));
    else if (change == QLatin1String("no drive"))
        QDir(f.drives() + QStringLiteral("/E")).removeRecursively();
    else if (change == QLatin1String("no folder"))
        QDir(f.drives() + QStringLiteral("/E/Consultas")).removeRecursively();
    QCOMPARE(int(mirror::checkStamps(c)), expected);
    if (expected == int(mirror::Check::MediaMissing)) {
        QCOMPARE(f.dialogs.texts(), QStringList{mirror::kMediaMissing});
        QVERIFY(!c.settings.mirroringOn());
        QCOMPARE(int(mirror::checkStamps(c)), int(mirror::Check::Off));
    } else {
        QVERIFY(f.dialogs.shown().isEmpty());
    }
}

void TestProtection::startWithTheDriveButNoMirrorFolderKeepsMirroringOn()
{
    Fixture f;
    f.setSetting(3, QStringLiteral("A2026"));
    f.setSetting(4, QStringLiteral("Com"));
    QVERIFY(QDir().mkpath(f.drives() + QStringLiteral("/E")));
    AppContext &c = f.start();
    QVERIFY(f.dialogs.shown().isEmpty());
    QVERIFY(c.settings.mirroringOn());
    QCOMPARE(mirror::checkStamps(c), mirror::Check::OutOfStep);
    QVERIFY(f.dialogs.shown().isEmpty());
    QVERIFY(!QFileInfo::exists(f.drives() + QStringLiteral("/E/Consultas")));
}

void TestProtection::startClearsWhatACutWriteLeftInTheMirror_data()
{
    QTest::addColumn<QString>("mirroring");
    QTest::newRow("mirroring on") << "Com";
    // As a killed recovery leaves it: mirroring saved off.
    QTest::newRow("mirroring off") << "Sem";
}

void TestProtection::startClearsWhatACutWriteLeftInTheMirror()
{
    QFETCH(QString, mirroring);
    Fixture f;
    f.setSetting(3, QStringLiteral("A2026"));
    f.setSetting(4, mirroring);
    const QString mirrorDir = f.mirror();
    textfile::writeLines(mirrorDir + QStringLiteral("/IntA.Txt"), {QStringLiteral("Nao")});
    textfile::writeBytes(mirrorDir + QStringLiteral("/IntA.Txt.novo~"), "Sim\r\n");
    textfile::writeBytes(mirrorDir + QStringLiteral("/Medicos3.db.novo~"), QByteArray(4096, 'x'));
    f.start();
    QCOMPARE(QDir(mirrorDir).entryList({QStringLiteral("*.novo~")}, QDir::Files | QDir::Hidden), QStringList());
    QCOMPARE(textfile::readLines(mirrorDir + QStringLiteral("/IntA.Txt")), QStringList{QStringLiteral("Nao")});
    QVERIFY(f.dialogs.shown().isEmpty());
}

void TestProtection::failedLiveCopyKeepsTheFileAndTurnsMirroringOff()
{
    Fixture f;
    AppContext &c = startWritten(f);
    QDir(f.drives() + QStringLiteral("/E")).removeRecursively();
    f.write(files::kClosedDates, {QStringLiteral("24/12/2026")});
    mirror::copy(c, files::kClosedDates);
    QCOMPARE(f.read(files::kClosedDates), QStringList{QStringLiteral("24/12/2026")});
    QCOMPARE(f.dialogs.texts(Kind::Warning).size(), 1);
    QVERIFY(f.dialogs.texts(Kind::Warning).front().startsWith(QStringLiteral("A cópia no Espelho falhou")));
    QVERIFY(!c.settings.mirroringOn());
    QCOMPARE(f.read(files::kSettings).value(3), QStringLiteral("Sem"));
    QCOMPARE(f.read(files::kCurrencyMark), QStringList{QStringLiteral("Sim")});
    // Off now: a later copy neither tries nor warns again.
    mirror::copy(c, files::kClosedDates);
    QCOMPARE(f.dialogs.texts(Kind::Warning).size(), 1);
}

void TestProtection::snapshotReplacesTableCopyAndJournalTogether()
{
    Fixture f;
    AppContext &c = startWritten(f);
    c.DMMedicos.table().remove(kRows[1].key());
    textfile::appendLines(f.mirror() + QStringLiteral("/ArqMovA.Txt"), {deleted(kRows[1])});
    c.journal.add(deleted(kRows[1]));
    takeMirrorSnapshot(c);
    QCOMPARE(described(mirrorRows(f)), described(c.DMMedicos.table().all()));
    QCOMPARE(mirrorLines(f, files::kJournal), QStringList());
    QCOMPARE(c.journal.pending(), 0);
    QVERIFY(c.settings.mirroringOn());
}

namespace {

void copyDirectory(const QString &from, const QString &to)
{
    QDir(to).removeRecursively();
    QDir().mkpath(to);
    for (const QString &name : QDir(from).entryList(QDir::Files))
        QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name);
}

} // namespace

void TestProtection::killedFullWriteLeavesAUsableMirror()
{
    // The mirror holds state A (its table, a journal line, stamp A); the system then
    // holds state B, which a child program writes over the mirror and is killed.
    Fixture f;
    AppContext &c = startWritten(f);
    std::vector<Appointment> bulk;
    for (int day = 1; day <= 28; ++day)
        for (int code = 1; code <= 50; ++code)
            for (int slot = 1; slot <= 24; ++slot)
                bulk.push_back(row(QStringLiteral("%1/01/27").arg(day, 2, 10, QLatin1Char('0')),
                                   QString::number(slot), QString::number(code)));
    c.DMMedicos.table().insertAll(bulk);
    takeMirrorSnapshot(c);
    textfile::appendLines(f.mirror() + QStringLiteral("/ArqMovA.Txt"), {inserted(kRows[0])});
    const std::vector<Appointment> stateA = mirrorRows(f);
    const QStringList stampA = mirrorLines(f, files::kMirrorStamp);
    const QString pristine = f.dir() + QStringLiteral("/../mirrorA");
    copyDirectory(f.mirror(), pristine);
    c.DMMedicos.table().insert(row(QStringLiteral("02/02/27"), QStringLiteral("1"), QStringLiteral("1")));
    const std::vector<Appointment> stateB = c.DMMedicos.table().all();
    c.saveSettings(); // mirroring on for the child too
    c.DMMedicos.close();

    // How long an unhindered write takes, from the child's "begin".
    const auto spawn = [&](QProcess &child) {
        child.start(QStringLiteral(FULL_WRITE_CHILD), {f.dir(), f.drives()});
        QVERIFY(child.waitForStarted());
        while (!child.canReadLine())
            QVERIFY2(child.waitForReadyRead(20000), "the child never began");
        QCOMPARE(child.readLine().trimmed(), QByteArray("begin"));
    };
    QElapsedTimer timer;
    {
        QProcess child;
        spawn(child);
        timer.start();
        QVERIFY(child.waitForFinished(60000));
        QVERIFY2(child.exitCode() == 0, child.readAll() + child.readAllStandardError());
    }
    const qint64 span = qMax<qint64>(timer.elapsed(), 10);
    int sawOld = 0;
    int sawNew = 0;
    for (int step = 0; step <= 10; ++step) {
        copyDirectory(pristine, f.mirror());
        QProcess child;
        spawn(child);
        QThread::msleep(static_cast<unsigned long>(span * step / 10));
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        child.waitForFinished(10000);
        // As the next start does: a write cut short after its commit list is finished.
        QVERIFY(mirror::recoveryProblems(c).isEmpty());
        const std::vector<Appointment> rows = mirrorRows(f);
        const QStringList stamp = mirrorLines(f, files::kMirrorStamp);
        const QStringList journal = mirrorLines(f, files::kJournal);
        if (stamp == stampA) {
            ++sawOld;
            QVERIFY(rows == stateA);
            QCOMPARE(journal, QStringList{inserted(kRows[0])});
        } else {
            ++sawNew;
            QCOMPARE(stamp, QStringList{QStringLiteral("08/12/2026 11:00:00")});
            QVERIFY(rows == stateB);
            QCOMPARE(journal, QStringList());
        }
    }
    qInfo("killed during a write of %lld ms: %d old mirrors, %d new ones", span, sawOld, sawNew);
    QVERIFY(sawOld > 0);
}

void TestProtection::fullOrReadOnlyMirrorKeepsThePreviousOne_data()
{
    QTest::addColumn<QString>("mount");
    QTest::newRow("disk full") << "size=400k";
    QTest::newRow("read-only") << "ro";
}

void TestProtection::fullOrReadOnlyMirrorKeepsThePreviousOne()
{
    QFETCH(QString, mount);
    Fixture f;
    // The mirror's drive is a small filesystem of its own.
    const QString drive = f.drives() + QStringLiteral("/E");
    QDir().mkpath(drive);
    if (QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                    QStringLiteral("size=400k"), QStringLiteral("tmpfs"), drive})
        != 0)
        QSKIP("mounting a small filesystem needs root");
    const auto unmount = qScopeGuard([&] { QProcess::execute(QStringLiteral("umount"), {drive}); });
    AppContext &c = startWritten(f);
    const std::vector<Appointment> before = mirrorRows(f);
    const QStringList stamp = mirrorLines(f, files::kMirrorStamp);
    std::vector<Appointment> bulk;
    for (int day = 1; day <= 28; ++day)
        for (int code = 1; code <= 50; ++code)
            for (int slot = 1; slot <= 4; ++slot)
                bulk.push_back(row(QStringLiteral("%1/01/27").arg(day, 2, 10, QLatin1Char('0')),
                                   QString::number(slot), QString::number(code)));
    c.DMMedicos.table().insertAll(bulk);
    if (mount == QLatin1String("ro"))
        QCOMPARE(QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("remount,ro"), drive}), 0);
    f.clock.set(QDateTime(QDate(2026, 12, 8), QTime(11, 0)));
    try {
        mirror::writeSystem(c, false);
        QFAIL("the full write reported success");
    } catch (const FileError &e) {
        QVERIFY2(e.message().contains(QStringLiteral("o Espelho anterior continua como estava")), qPrintable(e.message()));
        QVERIFY2(e.message().contains(QDir::toNativeSeparators(f.mirror())), qPrintable(e.message()));
    }
    QVERIFY(mirrorRows(f) == before);
    QCOMPARE(mirrorLines(f, files::kMirrorStamp), stamp);
    QCOMPARE(f.read(files::kSystemStamp), stamp);
    QCOMPARE(QDir(f.mirror()).entryList({QStringLiteral("*~")}, QDir::Files), QStringList());
    QVERIFY(mirror::recoveryProblems(c).isEmpty());
}

void TestProtection::localBackupAndRestore()
{
    Fixture f;
    f.addDoctor(3, QStringLiteral("Dr. Paulo Lima"));
    f.addRows(kRows);
    f.write(files::kPreparedLimit, {QStringLiteral("07/01/2027")});
    AppContext &c = f.start();
    backup::writeLocalBackup(c);
    QCOMPARE(f.read(QStringLiteral("CopiaArqFolgas.Txt")), f.read(files::kClosedDates));
    QCOMPARE(f.read(files::kPreparedLimitCopy), QStringList{QStringLiteral("07/01/2027")});
    const QStringList doctors = f.read(files::kDoctors);

    // Later the table, the register and the closed dates change.
    c.DMMedicos.table().clear();
    c.doctors.doctor(3).name = QStringLiteral("Outro Nome");
    c.doctors.save(f.dir());
    f.write(files::kClosedDates, {QStringLiteral("24/12/2026")});
    f.dialogs.answerQuestion(true);
    QVERIFY(backup::restoreLocalBackup(c));
    QCOMPARE(described(c.DMMedicos.table().all()), described(kRows));
    QCOMPARE(f.read(files::kDoctors), doctors);
    QCOMPARE(c.doctors.doctor(3).name.trimmed(), QStringLiteral("Dr. Paulo Lima"));
    QCOMPARE(f.read(files::kClosedDates), f.read(QStringLiteral("CopiaArqFolgas.Txt")));
    QCOMPARE(f.read(files::kPreparedLimit), QStringList{QStringLiteral("07/01/2027")});
}

void TestProtection::restoreRefusesAnIncompleteBackup_data()
{
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QByteArray>("contents"); // empty: the file is deleted
    QTest::newRow("a copy of a file") << "CopiaSit.Txt" << QByteArray();
    QTest::newRow("the table copy") << "medicos2.db" << QByteArray();
    QTest::newRow("a copy cut short") << "CopiaCodMed.Txt" << QByteArray("1 Dr. Paulo Lima\r\n2");
    QTest::newRow("a copy of the limit emptied") << "CopiaDataAnt.Txt" << QByteArray("\r\n");
}

void TestProtection::restoreRefusesAnIncompleteBackup()
{
    QFETCH(QString, missing);
    QFETCH(QByteArray, contents);
    Fixture f;
    f.addRows(kRows);
    AppContext &c = f.start();
    backup::writeLocalBackup(c);
    c.DMMedicos.table().remove(kRows[0].key());
    c.DMMedicos.closeWorkTable();
    if (contents.isEmpty())
        QVERIFY(QFile::remove(c.file(missing)));
    else
        textfile::writeBytes(c.file(missing), contents);
    QVERIFY(!backup::restoreLocalBackup(c)); // asks nothing
    QCOMPARE(f.dialogs.texts(Kind::Warning).size(), 1);
    QVERIFY(f.dialogs.texts(Kind::Warning).front().contains(missing));
    QCOMPARE(c.DMMedicos.table().count(), 2);
}

void TestProtection::restoreThatCannotBeWrittenKeepsTheTableInUse()
{
    Fixture f;
    f.addRows(kRows);
    AppContext &c = f.start();
    backup::writeLocalBackup(c);
    c.DMMedicos.table().remove(kRows[0].key());
    // The closed dates cannot be written back (their temporary is taken by a folder).
    QVERIFY(QDir().mkpath(FileGroup::temporaryPath(c.file(files::kClosedDates))));
    f.dialogs.answerQuestion(true);
    try {
        backup::restoreLocalBackup(c);
        QFAIL("the restore reported success");
    } catch (const FileError &e) {
        QVERIFY2(e.message().contains(files::kClosedDates), qPrintable(e.message()));
    }
    // The table as it was, open for the next booking, and nothing staged left behind.
    QCOMPARE(c.DMMedicos.table().count(), static_cast<int>(kRows.size()) - 1);
    c.DMMedicos.table().insert(kRows[0]);
    QCOMPARE(described(c.DMMedicos.table().all()), described(kRows));
    QCOMPARE(QDir(f.dir()).entryList({QStringLiteral("*.novo~")}, QDir::Files), QStringList());
}

QTEST_MAIN(TestProtection)
#include "tst_protection.moc"
