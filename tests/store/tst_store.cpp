// The appointment store: the table and its cursor, the list queries, the journal and
// its buffer, and the purge of past appointments.
#include "agenda/purge.h"
#include "app/session.h"
#include "core/data_files.h"
#include "platform/errors.h"
#include "platform/text_file.h"
#include "store/appointment_table.h"
#include "store/journal.h"
#include "store/table_cursor.h"
#include "support/fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <functional>
#include <random>
#include <sys/stat.h>

using namespace clinora;
using test::Fixture;
using Kind = test::ScriptedDialogs::Kind;

namespace {

Appointment row(const QString &data, const QString &hora, const QString &medico,
                const QString &paciente = QStringLiteral("Maria Souza"))
{
    return {data, hora, medico, paciente, QStringLiteral("2345-6789"), QStringLiteral("1"), QString()};
}

QStringList keys(const std::vector<Appointment> &rows)
{
    QStringList result;
    for (const Appointment &r : rows)
        result << r.data + QLatin1Char(';') + r.hora + QLatin1Char(';') + r.medico;
    return result;
}

struct Table
{
    QTemporaryDir dir;
    AppointmentTable table;
    Table() { table.open(dir.filePath(QStringLiteral("Medicos.db")), true); }
};

} // namespace

class TestStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bookingStoresTheKeyAsText();
    void duplicateKeyIsAKeyViolation();
    void requiredFieldsAndWidths();
    void editMovesTheRowToItsNewKey();
    void cursorWalksInKeyOrder();
    void deleteMovesToTheFollowingRow();
    void cursorPostFailureKeepsTheEdit();
    void movingToTheCancelledListRaisesHora();
    void cancelledListHoldsAtMost99();
    void movingManyRowsInOnePassRaisesPastEachOther();
    void listQueries_data();
    void listQueries();
    void dayRowsAsTheSearchReadsThem();
    void changeStampFollowsEveryWrite();
    void damagedTableNamesTheFile_data();
    void damagedTableNamesTheFile();
    void wholeCheckUnlessClosedCleanAndUnchanged_data();
    void wholeCheckUnlessClosedCleanAndUnchanged();
    void cleanCloseMarkerOnlyAtTheEndOfARun();
    void markerEmptiedByACrashChecksTheWholeFile();
    void storeErrorsSpeakPortugueseNamingTheFile();
    void journalLineLayout();
    void journalKeepsOneChangeOnOneLine();
    void bufferWritesTenLinesWithMirroringOn();
    void bufferKeepsLinesWithMirroringOff();
    void failedFlushKeepsTheLines();
    void failedFlushAtTheTenthLineLosesNothing();
    void purgeKeepsTodayAndLists_data();
    void purgeKeepsTodayAndLists();
    void purgeAsksFirstFromTheMenu();
    void purgeWarnsAboutRowsBeyondTheLimit();
};

void TestStore::bookingStoresTheKeyAsText()
{
    Table t;
    t.table.insert(row(QStringLiteral("05/01/27"), QStringLiteral("3"), QStringLiteral("12")));
    const auto found = t.table.find({QStringLiteral("05/01/27"), QStringLiteral("3"), QStringLiteral("12")});
    QVERIFY(found);
    QCOMPARE(found->paciente, QStringLiteral("Maria Souza"));
    QVERIFY(!t.table.find({QStringLiteral("05/01/27"), QStringLiteral("03"), QStringLiteral("12")}));
}

void TestStore::duplicateKeyIsAKeyViolation()
{
    Table t;
    t.table.insert(row(QStringLiteral("05/01/27"), QStringLiteral("3"), QStringLiteral("12")));
    QVERIFY_THROWS_EXCEPTION(KeyViolation, t.table.insert(row(QStringLiteral("05/01/27"), QStringLiteral("3"),
                                                              QStringLiteral("12"), QStringLiteral("Outro"))));
    QCOMPARE(t.table.count(), 1);
    QCOMPARE(t.table.all().front().paciente, QStringLiteral("Maria Souza"));
}

void TestStore::requiredFieldsAndWidths()
{
    Table t;
    QVERIFY_THROWS_EXCEPTION(StoreError, t.table.insert(row(QStringLiteral("05/01/27"), QStringLiteral("3"),
                                                            QStringLiteral("12"), QStringLiteral("   "))));
    Appointment r = row(QStringLiteral("05/01/27 "), QStringLiteral("3 "), QStringLiteral("12"),
                        QStringLiteral("Maria Aparecida da Silva Santos"));
    r.observacoes = QStringLiteral("Traz exames.  ");
    t.table.insert(r);
    const Appointment stored = t.table.all().front();
    QCOMPARE(stored.key(), (AppointmentKey{QStringLiteral("05/01/27"), QStringLiteral("3"), QStringLiteral("12")}));
    QCOMPARE(stored.paciente, QStringLiteral("Maria Aparecida da Silva"));
    QCOMPARE(stored.observacoes, QStringLiteral("Traz exames."));
}

void TestStore::editMovesTheRowToItsNewKey()
{
    Table t;
    t.table.insert(row(QStringLiteral("05/01/27"), QStringLiteral("3"), QStringLiteral("12")));
    t.table.insert(row(QStringLiteral("05/01/27"), QStringLiteral("4"), QStringLiteral("12")));
    TableCursor cursor(t.table);
    cursor.open();
    QVERIFY(cursor.locate({QStringLiteral("05/01/27"), QStringLiteral("3"), QStringLiteral("12")}));
    cursor.edit();
    cursor.setField(Field::Data, QStringLiteral("06/01/27"));
    cursor.post();
    QCOMPARE(cursor.field(Field::Data), QStringLiteral("06/01/27"));
    QCOMPARE(keys(t.table.all()), QStringList({"05/01/27;4;12", "06/01/27;3;12"}));
    // Onto a taken key the post fails and nothing changes.
    cursor.edit();
    cursor.setField(Field::Data, QStringLiteral("05/01/27"));
    cursor.setField(Field::Hora, QStringLiteral("4"));
    QVERIFY_THROWS_EXCEPTION(KeyViolation, cursor.post());
    QCOMPARE(keys(t.table.all()), QStringList({"05/01/27;4;12", "06/01/27;3;12"}));
}

void TestStore::cursorWalksInKeyOrder()
{
    Table t;
    t.table.insertAll({row(QStringLiteral("01/02/27"), QStringLiteral("2"), QStringLiteral("1")),
                       row(QStringLiteral("01/02/27"), QStringLiteral("10"), QStringLiteral("1")),
                       row(QStringLiteral("01/01/27"), QStringLiteral("2"), QStringLiteral("1"))});
    TableCursor cursor(t.table);
    cursor.open();
    QStringList seen;
    for (; !cursor.eof(); cursor.next())
        seen << cursor.field(Field::Data) + QLatin1Char(';') + cursor.field(Field::Hora);
    // The key is text: '10' before '2', and 01/02/27 after 01/01/27.
    QCOMPARE(seen, QStringList({"01/01/27;2", "01/02/27;10", "01/02/27;2"}));
    QCOMPARE(cursor.recordCount(), 3);
}

void TestStore::deleteMovesToTheFollowingRow()
{
    Table t;
    t.table.insertAll({row(QStringLiteral("01/01/27"), QStringLiteral("1"), QStringLiteral("1")),
                       row(QStringLiteral("01/01/27"), QStringLiteral("2"), QStringLiteral("1")),
                       row(QStringLiteral("01/01/27"), QStringLiteral("3"), QStringLiteral("1"))});
    TableCursor cursor(t.table);
    cursor.open();
    QVERIFY(cursor.locate({QStringLiteral("01/01/27"), QStringLiteral("2"), QStringLiteral("1")}));
    cursor.remove();
    QCOMPARE(cursor.field(Field::Hora), QStringLiteral("3"));
    cursor.remove();
    QVERIFY(cursor.eof());
    QCOMPARE(keys(t.table.all()), QStringList{"01/01/27;1;1"});
}

void TestStore::cursorPostFailureKeepsTheEdit()
{
    Table t;
    TableCursor cursor(t.table);
    cursor.open();
    cursor.append();
    cursor.setField(Field::Data, QStringLiteral("05/01/27"));
    cursor.setField(Field::Hora, QStringLiteral("3"));
    cursor.setField(Field::Medico, QStringLiteral("12"));
    QVERIFY_THROWS_EXCEPTION(StoreError, cursor.post()); // no patient yet
    QCOMPARE(cursor.state(), TableCursor::State::Insert);
    cursor.setField(Field::Paciente, QStringLiteral("R"));
    cursor.post();
    QCOMPARE(cursor.state(), TableCursor::State::Browse);
    QCOMPARE(t.table.count(), 1);
    // Closing drops an unposted new row.
    cursor.append();
    cursor.setField(Field::Paciente, QStringLiteral("Nunca gravado"));
    cursor.close();
    QCOMPARE(t.table.count(), 1);
}

void TestStore::movingToTheCancelledListRaisesHora()
{
    Table t;
    t.table.insertAll({row(QStringLiteral("05/01/27"), QStringLiteral("3"), QStringLiteral("12")),
                       row(QStringLiteral("05/01/26"), QStringLiteral("3"), QStringLiteral("12")),
                       row(QStringLiteral("05/01H/"), QStringLiteral("4"), QStringLiteral("12"))});
    const Appointment first = t.table.moveTo({QStringLiteral("05/01/27"), QStringLiteral("3"), QStringLiteral("12")},
                                             QStringLiteral("05/01H/"));
    QCOMPARE(first.hora, QStringLiteral("3"));
    // The same slot of another year meets 3 and 4 taken and takes 5.
    const Appointment second = t.table.moveTo({QStringLiteral("05/01/26"), QStringLiteral("3"), QStringLiteral("12")},
                                              QStringLiteral("05/01H/"));
    QCOMPARE(second.hora, QStringLiteral("5"));
    QCOMPARE(keys(t.table.all()), QStringList({"05/01H/;3;12", "05/01H/;4;12", "05/01H/;5;12"}));
}

void TestStore::cancelledListHoldsAtMost99()
{
    Table t;
    std::vector<Appointment> rows;
    for (int h = 90; h <= 99; ++h)
        rows.push_back(row(QStringLiteral("05/01P/"), QString::number(h), QStringLiteral("12")));
    rows.push_back(row(QStringLiteral("05/01/27"), QStringLiteral("90"), QStringLiteral("12")));
    t.table.insertAll(rows);
    QVERIFY_THROWS_EXCEPTION(ListFullError, t.table.moveTo({QStringLiteral("05/01/27"), QStringLiteral("90"),
                                                            QStringLiteral("12")},
                                                           QStringLiteral("05/01P/")));
    QVERIFY(t.table.contains({QStringLiteral("05/01/27"), QStringLiteral("90"), QStringLiteral("12")}));
    QCOMPARE(t.table.count(), 11);
}

void TestStore::movingManyRowsInOnePassRaisesPastEachOther()
{
    Table t;
    std::vector<Appointment> rows = {row(QStringLiteral("05/01/26"), QStringLiteral("3"), QStringLiteral("12")),
                                     row(QStringLiteral("05/01/27"), QStringLiteral("3"), QStringLiteral("12")),
                                     row(QStringLiteral("05/01/27"), QStringLiteral("4"), QStringLiteral("12")),
                                     row(QStringLiteral("05/01H/"), QStringLiteral("4"), QStringLiteral("12")),
                                     // Another doctor's entries take nothing from doctor 12.
                                     row(QStringLiteral("05/01H/"), QStringLiteral("5"), QStringLiteral("7")),
                                     row(QStringLiteral("05/01/27"), QStringLiteral("95"), QStringLiteral("13"))};
    for (int h = 90; h <= 99; ++h)
        rows.push_back(row(QStringLiteral("05/01H/"), QString::number(h), QStringLiteral("13")));
    t.table.insertAll(rows);

    TakenHoras taken;
    QStringList horas;
    for (const char *data : {"05/01/26", "05/01/27"}) {
        for (const Appointment &dated : t.table.onDate(QLatin1String(data))) {
            if (dated.medico == QStringLiteral("12"))
                horas << t.table.moveRow(dated, QStringLiteral("05/01H/"), taken).hora;
        }
    }
    // Each takes the first Hora that neither the list nor the rows moved before it hold.
    QCOMPARE(horas, QStringList({"3", "5", "6"}));
    QVERIFY_THROWS_EXCEPTION(
        ListFullError, t.table.moveRow(*t.table.find({QStringLiteral("05/01/27"), QStringLiteral("95"),
                                                      QStringLiteral("13")}),
                                       QStringLiteral("05/01H/"), taken));
    QVERIFY(t.table.contains({QStringLiteral("05/01/27"), QStringLiteral("95"), QStringLiteral("13")}));
    QCOMPARE(t.table.onDate(QStringLiteral("05/01/27")).size(), std::size_t(1));
    QCOMPARE(t.table.count(), int(rows.size()));
}

void TestStore::dayRowsAsTheSearchReadsThem()
{
    Table t;
    t.table.insertAll({{QStringLiteral("05/01/27"), QStringLiteral("3"), QStringLiteral("12"),
                        QStringLiteral("Zé Gonçalves"), QStringLiteral("2345-6789"), QStringLiteral("2"),
                        QStringLiteral("obs")},
                       {QStringLiteral("05/01/27"), QStringLiteral("24"), QStringLiteral("7"),
                        QStringLiteral("R"), QString(), QString(), QString()},
                       // Numbers not written as the program writes them read as 0.
                       row(QStringLiteral("05/01/27"), QStringLiteral("03"), QStringLiteral("12")),
                       row(QStringLiteral("05/01/27"), QStringLiteral("4"), QStringLiteral("1a")),
                       // Other dates, a cancelled entry of the same day among them, are not read.
                       row(QStringLiteral("05/01H/"), QStringLiteral("3"), QStringLiteral("12")),
                       row(QStringLiteral("06/01/27"), QStringLiteral("3"), QStringLiteral("12"))});
    QStringList read;
    t.table.forEachOnDate(QStringLiteral("05/01/27"), [&](const AppointmentTable::DayRow &r) {
        read << QStringLiteral("%1;%2;%3;%4;%5")
                    .arg(r.hora)
                    .arg(r.medico)
                    .arg(QString::fromUtf8(r.paciente), QString::fromUtf8(r.telefone),
                         QString::fromUtf8(r.situacao));
    });
    // In key order: Hora "03" sorts before "24", "24" before "3".
    QCOMPARE(read, QStringList({"0;12;Maria Souza;2345-6789;1", "24;7;R;;", "3;12;Zé Gonçalves;2345-6789;2",
                                "4;0;Maria Souza;2345-6789;1"}));
    // A failing visit leaves the table readable.
    QVERIFY_THROWS_EXCEPTION(StoreError, t.table.forEachOnDate(QStringLiteral("05/01/27"), [](const auto &) {
        throw StoreError(QStringLiteral("parou"));
    }));
    int rows = 0;
    t.table.forEachOnDate(QStringLiteral("06/01/27"), [&](const auto &) { ++rows; });
    QCOMPARE(rows, 1);
}

void TestStore::changeStampFollowsEveryWrite()
{
    Table t;
    const QString path = t.dir.filePath(QStringLiteral("Medicos.db"));
    const Appointment booked = row(QStringLiteral("05/01/27"), QStringLiteral("3"), QStringLiteral("12"));
    AppointmentTable::ChangeStamp stamp = t.table.changeStamp();
    // Reads change nothing.
    t.table.onDate(QStringLiteral("05/01/27"));
    QVERIFY(t.table.changeStamp() == stamp);

    const std::vector<std::pair<const char *, std::function<void()>>> writes = {
        {"insert", [&] { t.table.insert(booked); }},
        {"edit",
         [&] {
             Appointment edited = booked;
             edited.paciente = QStringLiteral("Outra Pessoa");
             t.table.update(booked.key(), edited);
         }},
        {"delete", [&] { QVERIFY(t.table.remove(booked.key())); }},
        {"another connection",
         [&] {
             AppointmentTable other;
             other.open(path, false);
             other.insert(booked);
         }},
        {"closed and opened again",
         [&] {
             t.table.close();
             t.table.open(path, false);
         }},
    };
    for (const auto &[what, write] : writes) {
        write();
        QVERIFY2(!(t.table.changeStamp() == stamp), what);
        stamp = t.table.changeStamp();
        QVERIFY2(t.table.changeStamp() == stamp, what);
    }
}

void TestStore::listQueries_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");
    using K = ListQuery::Kind;
    QTest::newRow("cancelled") << int(K::Cancelled) << QStringList() << QString()
                               << QStringList({"12/05H/;3;5", "12/05HA/;3;7", "12/05P/;4;51"});
    QTest::newRow("not yet told") << int(K::NotNotified) << QStringList() << QString()
                                  << QStringList{"12/05H/;3;5"};
    QTest::newRow("waiting") << int(K::Waiting) << QStringList() << QString()
                             << QStringList({"40001360;05;51", "40001361;10;5"});
    QTest::newRow("cancelled of doctor 5, specialty 51")
        << int(K::CancelledOf) << QStringList({"5", "51"}) << QString()
        << QStringList({"12/05H/;3;5", "12/05P/;4;51"});
    QTest::newRow("waiting of doctor 5, specialty 51")
        << int(K::WaitingOf) << QStringList({"5", "51"}) << QString()
        << QStringList({"40001360;05;51", "40001361;10;5"});
    QTest::newRow("patient name") << int(K::PatientName) << QStringList() << QStringLiteral("souza")
                                  << QStringList({"12/05/27;1;5", "40001360;05;51"});
    QTest::newRow("a percent sign is text") << int(K::PatientName) << QStringList() << QStringLiteral("%")
                                            << QStringList{"12/05P/;4;51"};
}

void TestStore::listQueries()
{
    QFETCH(int, kind);
    QFETCH(QStringList, codes);
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    Table t;
    t.table.insertAll({row(QStringLiteral("12/05/27"), QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("Ana Souza")),
                       row(QStringLiteral("12/05H/"), QStringLiteral("3"), QStringLiteral("5"), QStringLiteral("Bia")),
                       row(QStringLiteral("12/05HA/"), QStringLiteral("3"), QStringLiteral("7"), QStringLiteral("Caio")),
                       row(QStringLiteral("12/05P/"), QStringLiteral("4"), QStringLiteral("51"), QStringLiteral("Dani 100%")),
                       row(QStringLiteral("40001360"), QStringLiteral("05"), QStringLiteral("51"), QStringLiteral("Edu Souza")),
                       row(QStringLiteral("40001361"), QStringLiteral("10"), QStringLiteral("5"), QStringLiteral("Fabi"))});
    QCOMPARE(keys(t.table.select({static_cast<ListQuery::Kind>(kind), codes, text})), found);
}

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A real table of a few hundred rows, as bytes.
QByteArray tableWithRows()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Medicos.db"));
    {
        AppointmentTable table;
        table.open(path, true);
        std::vector<Appointment> rows;
        for (int i = 0; i < 600; ++i)
            rows.push_back(row(QStringLiteral("%1/01/27").arg(1 + i % 28, 2, 10, QLatin1Char('0')),
                               QString::number(1 + i / 28), QStringLiteral("12"), QString(25, QLatin1Char('p'))));
        table.insertAll(rows);
    }
    return fileBytes(path);
}

QByteArray sqliteFile(const QString &schema)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("outro.db"));
    {
        sql::Database db(path, true);
        db.exec(schema);
    }
    return fileBytes(path);
}

} // namespace

void TestStore::damagedTableNamesTheFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("why");
    QTest::newRow("empty file") << QByteArray() << "vazio";
    QTest::newRow("not a database") << QByteArray(4096, 'x') << "não é um banco de dados";
    QTest::newRow("another program's database")
        << sqliteFile(QStringLiteral("CREATE TABLE Clientes (Nome TEXT)")) << "não tem a tabela Medicos";
    QTest::newRow("a Medicos table of other fields")
        << sqliteFile(QStringLiteral("CREATE TABLE Medicos (Nome TEXT, Crm TEXT)")) << "Nome, Crm";
    QByteArray damaged = tableWithRows();
    std::mt19937 random(8122026);
    for (qsizetype i = 4096; i < 8192; ++i) // a page of random bytes inside the table
        damaged[i] = static_cast<char>(random() & 0xFF);
    QTest::newRow("a page of random bytes") << damaged << "danificado";
}

void TestStore::damagedTableNamesTheFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, why);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Medicos.db"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    AppointmentTable table;
    try {
        table.open(path, true);
        QFAIL("no error");
    } catch (const StoreError &e) {
        QVERIFY2(e.message().contains(QDir::toNativeSeparators(path)), qPrintable(e.message()));
        QVERIFY2(e.message().contains(why), qPrintable(e.message()));
    }
    QVERIFY(!table.isOpen());
    // Nothing was written: the file is left as it was for recovery.
    QCOMPARE(fileBytes(path), bytes);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Medicos.db"});
}

namespace {

// Overwrites a page inside the file with random bytes, the file's size kept.
void damagePage(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(4096));
    std::mt19937 random(11122026);
    QByteArray page(4096, '\0');
    for (char &c : page)
        c = static_cast<char>(random() & 0xFF);
    QCOMPARE(file.write(page), page.size());
}

struct stat fileTimes(const QString &path)
{
    struct stat st = {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}

void setFileTimes(const QString &path, const struct stat &st, int shiftSeconds = 0)
{
    timespec times[2] = {st.st_atim, st.st_mtim};
    times[1].tv_sec += shiftSeconds;
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

} // namespace

void TestStore::wholeCheckUnlessClosedCleanAndUnchanged_data()
{
    QTest::addColumn<bool>("closedClean");   // the last run ended with a clean close
    QTest::addColumn<bool>("damaged");       // a page of the file overwritten afterwards
    QTest::addColumn<int>("sizeChange");     // bytes added to the file
    QTest::addColumn<int>("mtimeShift");     // seconds the modification time moved
    QTest::addColumn<bool>("refused");
    QTest::newRow("clean close, unchanged: not read whole") << true << false << 0 << 0 << false;
    // Changed behind the program's back without a change of size or time: trusted.
    QTest::newRow("clean close, damaged, size and time put back") << true << true << 0 << 0 << false;
    QTest::newRow("clean close, damaged, time changed") << true << true << 0 << 60 << true;
    QTest::newRow("clean close, damaged, size changed") << true << true << 4096 << 0 << true;
    QTest::newRow("no clean close, damaged, size and time put back") << false << true << 0 << 0 << true;
}

void TestStore::wholeCheckUnlessClosedCleanAndUnchanged()
{
    QFETCH(bool, closedClean);
    QFETCH(bool, damaged);
    QFETCH(int, sizeChange);
    QFETCH(int, mtimeShift);
    QFETCH(bool, refused);
    using Whole = AppointmentTable::WholeCheck;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Medicos.db"));
    const QString marker = dir.filePath(QStringLiteral("Medicos.db.ok"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(tableWithRows());
    }
    AppointmentTable table;
    table.open(path, true, Whole::UnlessClosedClean);
    QVERIFY(table.checkedWhole()); // no marker yet
    table.insert(row(QStringLiteral("01/02/27"), QStringLiteral("1"), QStringLiteral("12")));
    if (closedClean)
        table.closeClean();
    else
        table.close(); // as a crash or a kill leaves it: no marker
    QCOMPARE(QFile::exists(marker), closedClean);

    const struct stat before = fileTimes(path);
    if (damaged)
        damagePage(path);
    if (sizeChange > 0) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write(QByteArray(sizeChange, '\0'));
    }
    if (damaged || sizeChange > 0 || mtimeShift != 0)
        setFileTimes(path, before, mtimeShift);
    const QByteArray bytes = fileBytes(path);

    try {
        table.open(path, true, Whole::UnlessClosedClean);
        QVERIFY2(!refused, "the damaged table was opened");
        QCOMPARE(table.checkedWhole(), false);
        QCOMPARE(table.count(), 601);
    } catch (const StoreError &e) {
        QVERIFY2(refused, qPrintable(e.message()));
        QVERIFY2(e.message().contains(QDir::toNativeSeparators(path)), qPrintable(e.message()));
        QVERIFY2(e.message().contains(QStringLiteral("o arquivo está danificado.")), qPrintable(e.message()));
        QVERIFY(!table.isOpen());
        QCOMPARE(fileBytes(path), bytes); // nothing written: left for the recovery
    }
    // While the table is open (and after a refusal) no marker vouches for it.
    QVERIFY(!QFile::exists(marker));
}

void TestStore::cleanCloseMarkerOnlyAtTheEndOfARun()
{
    Fixture f;
    AppContext &c = f.start();
    const QString marker = QStringLiteral("Medicos.db.ok");
    QVERIFY(c.DMMedicos.table().checkedWhole()); // the first start checks
    QVERIFY(!f.exists(marker));
    session::closeMainWindow(c);
    QVERIFY(f.exists(marker));

    // The next run trusts the table, and the marker is gone while it runs: a kill -9
    // now leaves the start after it to check the whole file.
    c.DMMedicos.open();
    QVERIFY(!c.DMMedicos.table().checkedWhole());
    QVERIFY(!f.exists(marker));
    c.DMMedicos.table().insert(row(QStringLiteral("01/02/27"), QStringLiteral("1"), QStringLiteral("12")));
    c.DMMedicos.open();
    QVERIFY(c.DMMedicos.table().checkedWhole());

    // A close that replaces or restores files is not the end of a run: no marker.
    c.DMMedicos.close();
    QVERIFY(!f.exists(marker));
    c.DMMedicos.open();
    QVERIFY(c.DMMedicos.table().checkedWhole());
    session::endApplication(c);
    QVERIFY(f.exists(marker));
}

void TestStore::markerEmptiedByACrashChecksTheWholeFile()
{
    // The marker is not forced to the disk: a crash right after the close may leave it
    // empty, and the next start then checks the whole file.
    using Whole = AppointmentTable::WholeCheck;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Medicos.db"));
    AppointmentTable table;
    table.open(path, true, Whole::UnlessClosedClean);
    table.closeClean();
    const QString marker = AppointmentTable::cleanCloseMarker(path);
    QVERIFY(QFile::exists(marker));
    QVERIFY(QFile(marker).resize(0));
    table.open(path, true, Whole::UnlessClosedClean);
    QVERIFY(table.checkedWhole());
}

void TestStore::storeErrorsSpeakPortugueseNamingTheFile()
{
    Table t;
    // Another program holds the table: the write waits for it, then gives up.
    sql::Database other(t.table.path(), false);
    other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    try {
        t.table.insert(row(QStringLiteral("05/01/27"), QStringLiteral("3"), QStringLiteral("12")));
        QFAIL("no error");
    } catch (const StoreError &e) {
        const QString shown = e.message();
        QVERIFY2(shown.contains(QDir::toNativeSeparators(t.table.path())), qPrintable(shown));
        QVERIFY2(shown.contains(QStringLiteral("bloqueado por outro programa")), qPrintable(shown));
        // SQLite's own text is only the detail, after the Portuguese.
        QVERIFY2(shown.indexOf(QStringLiteral("database is locked")) > shown.indexOf(QStringLiteral("Detalhe")),
                 qPrintable(shown));
    }
    other.exec(QStringLiteral("ROLLBACK"));
}

void TestStore::journalLineLayout()
{
    Appointment r = row(QStringLiteral("05/01/27"), QStringLiteral("3"), QStringLiteral("12"));
    r.observacoes = QString(250, QLatin1Char('o'));
    const QString e = journal::line(QLatin1Char('E'), r, QStringLiteral("08/12/2026 10:00:00"));
    QCOMPARE(e.left(journal::kHeadWidth),
             QStringLiteral("E05/01/273 12Maria Souza              2345-6789   108/12/2026 10:00"));
    QCOMPARE(e.size(), journal::kHeadWidth + 200);
    r.data = QStringLiteral("05/01P/");
    r.situacao.clear();
    const QString i = journal::line(QLatin1Char('I'), r, QStringLiteral("08/12/2026 10:00:00"));
    QCOMPARE(i.mid(1, 8), QStringLiteral("05/01P/ "));
    QCOMPARE(i.at(50), QLatin1Char(' '));
}

void TestStore::journalKeepsOneChangeOnOneLine()
{
    Appointment r = row(QStringLiteral("05/01/27"), QStringLiteral("3"), QStringLiteral("12"));
    r.observacoes = QStringLiteral("Primeira linha\nSegunda\r\ncom \\ barra");
    const QString l = journal::line(QLatin1Char('I'), r, QStringLiteral("08/12/2026 10:00:00"));
    QVERIFY(!l.contains(QLatin1Char('\n')) && !l.contains(QLatin1Char('\r')));
    const auto parsed = journal::parse(l);
    QVERIFY(parsed);
    QCOMPARE(parsed->op, QLatin1Char('I'));
    QCOMPARE(parsed->row, r);
    QCOMPARE(parsed->stamp, QStringLiteral("08/12/2026 10:00"));
}

void TestStore::bufferWritesTenLinesWithMirroringOn()
{
    Fixture f;
    f.mirroringOn();
    AppContext &c = f.start();
    const QString journalFile = f.mirror() + QStringLiteral("/ArqMovA.Txt");
    for (int i = 1; i <= 9; ++i)
        c.journal.add(QStringLiteral("I linha %1").arg(i));
    QVERIFY(!QFile::exists(journalFile));
    c.journal.add(QStringLiteral("I linha 10"));
    QCOMPARE(textfile::readLines(journalFile).size(), 10);
    QCOMPARE(c.journal.pending(), 0);
    QCOMPARE(f.dialogs.texts(Kind::Information),
             QStringList{"Aguarde: Gravando alterações na área Espelho\n\n  Clicar em < OK > para prosseguir"});
    c.journal.add(QStringLiteral("I linha 11"));
    c.journal.flush();
    QCOMPARE(textfile::readLines(journalFile).size(), 11);
}

void TestStore::bufferKeepsLinesWithMirroringOff()
{
    Fixture f;
    AppContext &c = f.start();
    for (int i = 1; i <= 12; ++i)
        c.journal.add(QStringLiteral("I linha %1").arg(i));
    // No change is dropped: they wait for mirroring to be switched on.
    QCOMPARE(c.journal.pending(), 12);
    QCOMPARE(c.journal.lines().last(), QStringLiteral("I linha 12"));
    QVERIFY(!QFile::exists(f.mirror() + QStringLiteral("/ArqMovA.Txt")));
    QVERIFY(f.dialogs.shown().isEmpty());
}

void TestStore::failedFlushKeepsTheLines()
{
    Fixture f;
    f.mirroringOn();
    AppContext &c = f.start();
    QDir(f.mirror()).removeRecursively(); // the mirror medium went away
    c.journal.add(QStringLiteral("I linha"));
    QVERIFY_THROWS_EXCEPTION(FileError, c.journal.flush());
    QCOMPARE(c.journal.pending(), 1);
}

void TestStore::failedFlushAtTheTenthLineLosesNothing()
{
    Fixture f;
    f.mirroringOn();
    AppContext &c = f.start();
    const QString mirror = f.mirror();
    QDir(mirror).removeRecursively(); // the mirror medium went away
    for (int i = 1; i <= 10; ++i)
        c.journal.add(QStringLiteral("I linha %1").arg(i)); // the tenth does not throw
    QCOMPARE(f.dialogs.texts(Kind::Error).size(), 1);
    QVERIFY(f.dialogs.texts(Kind::Error).first().startsWith(
        QStringLiteral("A cópia das alterações para a área Espelho falhou")));
    QCOMPARE(c.journal.pending(), 10);

    // Later changes are kept too, and all reach the journal, in order, once the mirror
    // is back.
    c.journal.add(QStringLiteral("I linha 11"));
    QCOMPARE(c.journal.pending(), 11);
    QDir().mkpath(mirror);
    c.journal.add(QStringLiteral("I linha 12"));
    QCOMPARE(c.journal.pending(), 0);
    QStringList expected;
    for (int i = 1; i <= 12; ++i)
        expected << QStringLiteral("I linha %1").arg(i);
    QCOMPARE(textfile::readLines(mirror + QStringLiteral("/ArqMovA.Txt")), expected);
}

void TestStore::purgeKeepsTodayAndLists_data()
{
    QTest::addColumn<int>("keepDays");
    QTest::addColumn<QString>("limit");
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<bool>("warned");
    // A Data that is not a real date is never guessed at: it stays with the lists.
    const QStringList lists{"07/09H/;3;1", "07/09HA/;4;1", "07/09P/;5;1", "40001360;05;1", "31/02/26;2;1"};
    QTest::newRow("menu, keep none") << 0 << "07/01/2027" << QStringList({"08/12/26;1;1"}) + lists << false;
    QTest::newRow("close, keep ten days")
        << 10 << "07/01/2027" << QStringList({"07/12/26;1;1", "08/12/26;1;1", "28/11/26;1;1"}) + lists
        << false;
    // A limit that lapsed long ago (the installation's) never takes the lists with it.
    QTest::newRow("limit lapsed, menu") << 0 << "01/01/2000" << QStringList({"08/12/26;1;1"}) + lists << true;
    QTest::newRow("limit lapsed, close")
        << 10 << "01/01/2000" << QStringList({"07/12/26;1;1", "08/12/26;1;1", "28/11/26;1;1"}) + lists
        << true;
}

void TestStore::purgeKeepsTodayAndLists()
{
    QFETCH(int, keepDays);
    QFETCH(QString, limit);
    QFETCH(QStringList, kept);
    QFETCH(bool, warned);
    Fixture f; // today 08/12/2026
    f.write(QStringLiteral("DataIniFim.Txt"), {limit});
    f.addRows({row(QStringLiteral("08/12/26"), QStringLiteral("1"), QStringLiteral("1")),
               row(QStringLiteral("07/12/26"), QStringLiteral("1"), QStringLiteral("1")),
               row(QStringLiteral("28/11/26"), QStringLiteral("1"), QStringLiteral("1")),
               row(QStringLiteral("27/11/26"), QStringLiteral("1"), QStringLiteral("1")),
               row(QStringLiteral("07/09H/"), QStringLiteral("3"), QStringLiteral("1")),
               row(QStringLiteral("07/09HA/"), QStringLiteral("4"), QStringLiteral("1")),
               row(QStringLiteral("07/09P/"), QStringLiteral("5"), QStringLiteral("1")),
               row(QStringLiteral("40001360"), QStringLiteral("05"), QStringLiteral("1")),
               row(QStringLiteral("31/02/26"), QStringLiteral("2"), QStringLiteral("1"))});
    AppContext &c = f.start();
    c.purgeKeepDays = keepDays;
    purgePastAppointments(c, false);
    kept.sort();
    QCOMPARE(keys(f.rows()), kept);
    QCOMPARE(f.dialogs.texts(Kind::Information).size(), warned ? 1 : 0);
}

void TestStore::purgeAsksFirstFromTheMenu()
{
    Fixture f;
    f.addRows({row(QStringLiteral("07/12/26"), QStringLiteral("1"), QStringLiteral("1"))});
    AppContext &c = f.start();
    f.dialogs.answerQuestion(false);
    QVERIFY(purgePastAppointments(c, true).cancelled);
    QCOMPARE(f.rows().size(), std::size_t(1));
    f.dialogs.answerQuestion(true);
    QCOMPARE(purgePastAppointments(c, true).deleted, 1);
    QCOMPARE(f.dialogs.texts(Kind::Question).first(),
             QStringLiteral("Este procedimento irá excluir as consultas anteriores à data de hoje.\n\n"
                            "                                 Prosseguir?"));
}

void TestStore::purgeWarnsAboutRowsBeyondTheLimit()
{
    Fixture f;
    f.write(QStringLiteral("DataIniFim.Txt"), {QStringLiteral("10/12/2026")});
    f.addRows({row(QStringLiteral("11/12/26"), QStringLiteral("1"), QStringLiteral("1"))});
    AppContext &c = f.start();
    const PurgeResult result = purgePastAppointments(c, false);
    QVERIFY(result.beyondLimit);
    QCOMPARE(f.rows().size(), std::size_t(1));
    QCOMPARE(f.dialogs.texts(Kind::Information),
             QStringList{"                          CUIDADO\n  Existe Registro além da Data Limite de Preparação"});
}

QTEST_APPLESS_MAIN(TestStore)
#include "tst_store.moc"
