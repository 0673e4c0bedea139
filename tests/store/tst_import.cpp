// The appointment table of the program a clinic used before (Paradox, written here with
// pxlib) imported at start: every row in its place, the misfits in a report, the
// originals kept untouched.
#include "app/session.h"
#include "core/data_files.h"
#include "platform/errors.h"
#include "platform/text_file.h"
#include "store/appointment_table.h"
#include "store/paradox_table.h"
#include "store/table_import.h"
#include "support/fixture.h"
#include "support/paradox_writer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// pxlib's header declares C functions without saying so.
extern "C" {
#include <paradox.h>
}

using namespace clinora;
using test::Fixture;
using Kind = test::ScriptedDialogs::Kind;

namespace {

Appointment row(const QString &data, const QString &hora, const QString &medico, const QString &paciente,
                const QString &telefone = {}, const QString &situacao = {}, const QString &observacoes = {})
{
    return {data, hora, medico, paciente, telefone, situacao, observacoes};
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A long remark, with accents and line breaks, that takes blocks of its own in the memo file.
QString longRemark()
{
    QString text;
    for (int i = 0; text.size() < 5000; ++i)
        text += QStringLiteral("Linha %1: pressão arterial, glicemia e eletrocardiograma à mão.\r\n").arg(i);
    return text;
}

// The old clinic: a booking with a short remark, a reserved hour, a cancelled row with
// a long remark and blanks after the name, a waiting-list row, a second booking of a
// taken slot and a row without a patient.
std::vector<Appointment> oldRows()
{
    return {
        row("05/01/27", "3", "12", "João da Conceição", "(21)255-0101", "1", "Retorno; trazer exames."),
        row("05/01/27", "4", "12", "R"),
        row("05/01H/", "3", "12", "Ângela Müller   ", "9988-7766", "2", longRemark()),
        row("40312123", "45", "51", "Zé Piauí", "3333-4444", "1", "Prefere manhã"),
        row("05/01/27", "3", "12", "Outra Pessoa", "1111-2222", "1"),
        row("06/01/27", "1", "7", ""),
    };
}

// What the table holds after the import: the first four rows, as the store keeps them.
std::vector<Appointment> importedRows()
{
    return {
        row("05/01/27", "3", "12", "João da Conceição", "(21)255-0101", "1", "Retorno; trazer exames."),
        row("05/01/27", "4", "12", "R"),
        row("05/01H/", "3", "12", "Ângela Müller", "9988-7766", "2", longRemark()),
        row("40312123", "45", "51", "Zé Piauí", "3333-4444", "1", "Prefere manhã"),
    };
}

// A data folder in use whose table is the old program's.
struct OldFolder
{
    OldFolder()
    {
        f.setSetting(3, QStringLiteral("A2026"));
        test::writeParadoxTable(table(), oldRows());
        db = bytesOf(table());
        mb = bytesOf(f.dir() + QStringLiteral("/Medicos.mb"));
    }
    QString table() const { return f.dir() + QStringLiteral("/Medicos.db"); }
    Fixture f;
    QByteArray db;
    QByteArray mb;
};

std::vector<Appointment> sorted(std::vector<Appointment> rows)
{
    std::sort(rows.begin(), rows.end(), [](const Appointment &a, const Appointment &b) {
        return std::tie(a.data, a.hora, a.medico) < std::tie(b.data, b.hora, b.medico);
    });
    return rows;
}

} // namespace

class TestImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oldTableOpensAfterOneQuestion();
    void answeringNoEndsTheStartWithNothingChanged();
    void misfitsAreReported_data();
    void misfitsAreReported();
    void reportShowsEachLineOfARemark();
    void dosCodePageIsRead();
    void workAndMirrorTablesAskedTogether();
    void foundInAnyLetterCase();
    void damagedMemoFileKeepsTheRows();
    void missingMemoFileChangesNothing();
    void damagedBlocksLeaveTheReadableRows_data();
    void damagedBlocksLeaveTheReadableRows();
    void unreadableWorkCopyIsSetAsideOnce();
    void unreadableTableCanBeSetAside_data();
    void unreadableTableCanBeSetAside();
};

void TestImport::oldTableOpensAfterOneQuestion()
{
    OldFolder old;
    QVERIFY(paradox::isParadoxTable(old.table()));
    old.f.dialogs.answerQuestion(true);
    AppContext &c = old.f.start();

    const QStringList questions = old.f.dialogs.texts(Kind::Question);
    QCOMPARE(questions.size(), 1);
    QVERIFY2(questions.first().contains(QStringLiteral("Medicos.db: 6 registros")),
             qPrintable(questions.first()));
    const QStringList told = old.f.dialogs.texts(Kind::Information);
    QCOMPARE(told.size(), 1);
    QVERIFY2(told.first().contains(QStringLiteral("4 de 6 registros importados")), qPrintable(told.first()));
    QVERIFY2(told.first().contains(QStringLiteral("MedicosImportacao.Txt")), qPrintable(told.first()));

    // Every row in its place, and the lists show theirs.
    QCOMPARE(sorted(old.f.rows()), sorted(importedRows()));
    QCOMPARE(c.DMMedicos.table().select(ListQuery::cancelled()).size(), std::size_t(1));
    QCOMPARE(c.DMMedicos.table().select(ListQuery::waiting()).size(), std::size_t(1));

    // The originals, untouched, under their new names; the old names are gone.
    QCOMPARE(bytesOf(old.f.dir() + QStringLiteral("/MedicosAntigo.db")), old.db);
    QCOMPARE(bytesOf(old.f.dir() + QStringLiteral("/MedicosAntigo.mb")), old.mb);
    QVERIFY(!old.f.exists(QStringLiteral("Medicos.mb")));

    // The two rows left out, with every field, so they can be booked again.
    const QString report = old.f.read(QStringLiteral("MedicosImportacao.Txt")).join(QLatin1Char('\n'));
    QVERIFY2(
        report.contains(QStringLiteral("Registro 5: chave repetida: Data 05/01/27, Hora 3, Medico 12 já veio "
                                       "do registro 1")),
        qPrintable(report));
    QVERIFY(report.contains(QStringLiteral("Paciente: Outra Pessoa")));
    QVERIFY(report.contains(QStringLiteral("Telefone: 1111-2222")));
    QVERIFY(report.contains(QStringLiteral("Registro 6: o campo Paciente está vazio")));

    // The next start finds this program's table and asks nothing.
    c.DMMedicos.close();
    Fixture &f = old.f;
    f.dialogs.clear();
    AppContext again(Paths(f.dir(), f.drives()), f.clock, f.dialogs, f.printer);
    session::startUp(again);
    session::createMainWindow(again);
    QVERIFY(f.dialogs.texts(Kind::Question).isEmpty());
}

void TestImport::answeringNoEndsTheStartWithNothingChanged()
{
    OldFolder old;
    const QStringList before = QDir(old.f.dir()).entryList(QDir::Files);
    old.f.dialogs.answerQuestion(false);
    try {
        old.f.start();
        QFAIL("the start went on");
    } catch (const FileError &e) {
        QVERIFY2(e.message().contains(QStringLiteral("não foi importada")), qPrintable(e.message()));
    }
    QCOMPARE(QDir(old.f.dir()).entryList(QDir::Files), before);
    QCOMPARE(bytesOf(old.table()), old.db);
    // Whatever else opens it says what it is, and writes nothing.
    AppointmentTable table;
    try {
        table.open(old.table(), false);
        QFAIL("opened");
    } catch (const StoreError &e) {
        QVERIFY2(e.message().contains(QStringLiteral("programa anterior")), qPrintable(e.message()));
    }
    QCOMPARE(bytesOf(old.table()), old.db);
}

void TestImport::misfitsAreReported_data()
{
    QTest::addColumn<Appointment>("old");
    QTest::addColumn<QString>("reason"); // empty: imported
    // A table whose fields are wider than this program's.
    QTest::newRow("name of 25 letters and blanks after it")
        << row("07/01/27", "2", "3", QStringLiteral("A").repeated(25) + "   ") << QString();
    QTest::newRow("name of 26 letters") << row("07/01/27", "2", "3", QStringLiteral("B").repeated(26))
                                        << "o campo Paciente tem 26 caracteres, e nele cabem 25";
    QTest::newRow("slot with three digits")
        << row("07/01/27", "100", "3", "Carla") << "o campo Hora tem 3 caracteres, e nele cabem 2";
    QTest::newRow("telephone of 13") << row("07/01/27", "2", "3", "Dora", "(021)255-0101")
                                     << "o campo Telefone tem 13 caracteres, e nele cabem 12";
    QTest::newRow("no date") << row("", "2", "3", "Elza") << "chave incompleta: o campo Data está vazio";
    QTest::newRow("blank doctor") << row("07/01/27", "2", "  ", "Fábio")
                                  << "chave incompleta: o campo Medico está vazio";
}

void TestImport::misfitsAreReported()
{
    QFETCH(Appointment, old);
    QFETCH(QString, reason);
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("Medicos.db"));
    std::vector<test::ParadoxField> wide = test::oldTableFields();
    for (test::ParadoxField &field : wide)
        field.length = field.type == pxfAlpha ? field.length + 5 : field.length;
    test::writeParadoxTable(path, {old}, wide);

    const TableImport done = importParadoxTable(path, path, QStringLiteral("08/12/2026 10:00:00"));
    AppointmentTable table;
    table.open(path, false);
    if (reason.isEmpty()) {
        QCOMPARE(done.imported, 1);
        QCOMPARE(table.all(), std::vector<Appointment>{AppointmentTable::stored(old)});
    } else {
        QCOMPARE(done.rejected, 1);
        QCOMPARE(table.count(), 0);
        const QStringList report = textfile::readLines(done.report);
        QVERIFY2(report.contains(QStringLiteral("Registro 1: ") + reason), qPrintable(report.join('\n')));
        QVERIFY(report.contains(QStringLiteral("    Paciente: ") + old.paciente));
    }
}

// Remarks typed over several lines, whatever their line ends, are listed in the report one
// line under another, none lost and none run together.
void TestImport::reportShowsEachLineOfARemark()
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("Medicos.db"));
    test::writeParadoxTable(path,
                            {row("", "2", "3", "Elza", {}, {},
                                 QStringLiteral("primeira\r\nsegunda\rterceira\nquarta\r\n\r\nsexta"))},
                            test::oldTableFields());

    const TableImport done = importParadoxTable(path, path, QStringLiteral("08/12/2026 10:00:00"));
    QCOMPARE(done.rejected, 1);
    const QStringList report = textfile::readLines(done.report);
    const qsizetype at = report.indexOf(QStringLiteral("    Observacoes: primeira"));
    QVERIFY2(at >= 0, qPrintable(report.join('\n')));
    const QStringList expected{QStringLiteral("        segunda"), QStringLiteral("        terceira"),
                               QStringLiteral("        quarta"), QStringLiteral("        "),
                               QStringLiteral("        sexta")};
    QCOMPARE(report.mid(at + 1, expected.size()), expected);
}

void TestImport::dosCodePageIsRead()
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("Medicos.db"));
    const Appointment old = row("05/01/27", "3", "12", "Conceição Gonçalves", {}, "1", "Não veio à última");
    test::writeParadoxTable(path, {old}, test::oldTableFields(), 850);
    importParadoxTable(path, path, QStringLiteral("08/12/2026 10:00:00"));
    AppointmentTable table;
    table.open(path, false);
    QCOMPARE(table.all(), std::vector<Appointment>{old});
}

void TestImport::workAndMirrorTablesAskedTogether()
{
    OldFolder old;
    Fixture &f = old.f;
    test::writeParadoxTable(f.dir() + QStringLiteral("/medicos2.db"), {row("01/12/26", "1", "1", "Antiga")});
    test::writeParadoxTable(f.mirror() + QStringLiteral("/Medicos3.db"), oldRows());
    f.dialogs.answerQuestion(true);
    f.start();

    const QStringList questions = f.dialogs.texts(Kind::Question);
    QCOMPARE(questions.size(), 1);
    for (const QString &listed : {QStringLiteral("Medicos.db: 6"), QStringLiteral("medicos2.db: 1"),
                                  QStringLiteral("Medicos3.db no Espelho")})
        QVERIFY2(questions.first().contains(listed), qPrintable(questions.first()));
    AppointmentTable work;
    work.open(f.dir() + QStringLiteral("/medicos2.db"), false);
    QCOMPARE(work.count(), 1);
    AppointmentTable mirror;
    mirror.open(f.mirror() + QStringLiteral("/Medicos3.db"), false);
    QCOMPARE(sorted(mirror.all()), sorted(importedRows()));
    QVERIFY(QFile::exists(f.mirror() + QStringLiteral("/Medicos3Antigo.mb")));
}

void TestImport::foundInAnyLetterCase()
{
    Fixture f;
    f.setSetting(3, QStringLiteral("A2026"));
    QVERIFY(QFile::remove(f.dir() + QStringLiteral("/Medicos.db")));
    test::writeParadoxTable(f.dir() + QStringLiteral("/MEDICOS.DB"), oldRows());
    QVERIFY(QFile::rename(f.dir() + QStringLiteral("/MEDICOS.mb"), f.dir() + QStringLiteral("/MEDICOS.MB")));
    f.dialogs.answerQuestion(true);
    f.start();
    QCOMPARE(sorted(f.rows()), sorted(importedRows()));
    QVERIFY(f.exists(QStringLiteral("MedicosAntigo.DB")));
    QVERIFY(f.exists(QStringLiteral("MedicosAntigo.MB")));
    QVERIFY(!f.exists(QStringLiteral("MEDICOS.DB")));
}

void TestImport::damagedMemoFileKeepsTheRows()
{
    OldFolder old;
    // Only the memo file's head is left.
    QFile mb(old.f.dir() + QStringLiteral("/Medicos.mb"));
    QVERIFY(mb.resize(4096));
    old.f.dialogs.answerQuestion(true);
    old.f.start();
    const std::vector<Appointment> rows = sorted(old.f.rows());
    QCOMPARE(rows.size(), std::size_t(4));
    // Each keeps the beginning of its remark that the table holds.
    QCOMPARE(rows[0].observacoes, QStringLiteral("Retorno; t"));
    QCOMPARE(rows[2].observacoes, QStringLiteral("Linha 0: p"));
    QVERIFY(old.f.dialogs.texts(Kind::Information)
                .first()
                .contains(QStringLiteral("3 tiveram as observações lidas só em parte")));
    const QString report = old.f.read(QStringLiteral("MedicosImportacao.Txt")).join(QLatin1Char('\n'));
    QVERIFY2(report.contains(QStringLiteral("Registro 1 (Data 05/01/27, Hora 3, Medico 12): ")),
             qPrintable(report));
}

void TestImport::missingMemoFileChangesNothing()
{
    OldFolder old;
    QVERIFY(QFile::remove(old.f.dir() + QStringLiteral("/Medicos.mb")));
    const QStringList before = QDir(old.f.dir()).entryList(QDir::Files);
    old.f.dialogs.answerQuestion(true);
    // Not to start with an empty table instead.
    old.f.dialogs.answerQuestion(false);
    try {
        old.f.start();
        QFAIL("the start went on");
    } catch (const Error &e) {
        QVERIFY2(e.message().contains(QStringLiteral("Medicos.mb")), qPrintable(e.message()));
    }
    QCOMPARE(QDir(old.f.dir()).entryList(QDir::Files), before);
    QCOMPARE(bytesOf(old.table()), old.db);
}

void TestImport::damagedBlocksLeaveTheReadableRows_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("told"); // in the report
    QTest::addColumn<bool>("lost");    // the last block's rows could not be read
    QTest::newRow("chain turns back") << "loop"
                                      << "a sequência dos blocos de dados volta ao bloco 3" << false;
    QTest::newRow("file cut in its last block")
        << "cut"
        << "o arquivo termina antes do fim dos seus 5 blocos de dados" << true;
}

void TestImport::damagedBlocksLeaveTheReadableRows()
{
    QFETCH(QString, damage);
    QFETCH(QString, told);
    QFETCH(bool, lost);
    Fixture f;
    f.setSetting(3, QStringLiteral("A2026"));
    const QString path = f.dir() + QStringLiteral("/Medicos.db");
    // Enough rows for five data blocks.
    std::vector<Appointment> rows;
    QFile file(path);
    for (int n = 1;; ++n) {
        rows.push_back(row(QStringLiteral("05/01/27"), QString::number(n % 24 + 1),
                           QString::number(n / 24 + 1), QStringLiteral("Paciente %1").arg(n)));
        if (n % 10 != 0)
            continue;
        test::writeParadoxTable(path, rows);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray head = file.read(0x10);
        file.close();
        if (static_cast<quint8>(head[0x0C]) + (static_cast<quint8>(head[0x0D]) << 8) >= 5)
            break;
    }
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray head = file.read(0x10);
    const qint64 recordSize = static_cast<quint8>(head[0x00]) + (static_cast<quint8>(head[0x01]) << 8);
    const qint64 headerSize = static_cast<quint8>(head[0x02]) + (static_cast<quint8>(head[0x03]) << 8);
    const qint64 blockSize = qint64(static_cast<quint8>(head[0x05])) * 1024;
    qint64 lastBlockRows = 0;
    if (damage == QLatin1String("loop")) {
        // Block 4 names block 3 as its next.
        QVERIFY(file.seek(headerSize + 3 * blockSize));
        QVERIFY(file.write(QByteArray("\x03\x00", 2)) == 2);
    } else {
        QVERIFY(file.seek(headerSize + 4 * blockSize + 4));
        const QByteArray last = file.read(2);
        const qint16 offset =
            static_cast<qint16>(static_cast<quint8>(last[0]) | (static_cast<quint8>(last[1]) << 8));
        lastBlockRows = offset / recordSize + 1;
        QVERIFY(file.resize(headerSize + 4 * blockSize + blockSize / 2));
    }
    file.close();

    f.dialogs.answerQuestion(true);
    f.start();
    const QString report = f.read(QStringLiteral("MedicosImportacao.Txt")).join(QLatin1Char('\n'));
    QVERIFY2(report.contains(told), qPrintable(report));
    const std::size_t expected = rows.size() - static_cast<std::size_t>(lastBlockRows);
    QCOMPARE(f.rows().size(), expected);
    const QString message = f.dialogs.texts(Kind::Information).join(QLatin1Char('\n'));
    QVERIFY2(message.contains(
                 QStringLiteral("%1 registros que ela conta não puderam ser lidos").arg(lastBlockRows)),
             qPrintable(message));
    QVERIFY(message.contains(QStringLiteral("MedicosImportacao.Txt")));
    QCOMPARE(lost, lastBlockRows > 0);
}

namespace {
// A table whose header says it has a password: no program reads it.
void lockWithPassword(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(0x25));
    QVERIFY(file.write(QByteArray("\x12\x34\x56\x78", 4)) == 4);
}
} // namespace

void TestImport::unreadableWorkCopyIsSetAsideOnce()
{
    Fixture f;
    f.setSetting(3, QStringLiteral("A2026"));
    const QString work = f.dir() + QStringLiteral("/medicos2.db");
    test::writeParadoxTable(work, {row("01/12/26", "1", "1", "Antiga")});
    lockWithPassword(work);
    const QByteArray damaged = bytesOf(work);
    f.start();
    QCOMPARE(f.dialogs.texts(Kind::Error), QStringList());
    const QStringList told = f.dialogs.texts(Kind::Information);
    QCOMPARE(told.size(), 1);
    QVERIFY2(told.first().contains(QStringLiteral("medicos2.db")) &&
                 told.first().contains(
                     QDir::toNativeSeparators(f.dir() + QStringLiteral("/medicos2Danificado.db"))),
             qPrintable(told.first()));
    QCOMPARE(bytesOf(f.dir() + QStringLiteral("/medicos2Danificado.db")), damaged);
    QVERIFY(!f.exists(QStringLiteral("medicos2.db")));

    // The next start says nothing more.
    f.context().DMMedicos.close();
    f.dialogs.clear();
    AppContext again(Paths(f.dir(), f.drives()), f.clock, f.dialogs, f.printer);
    session::startUp(again);
    session::createMainWindow(again);
    QCOMPARE(f.dialogs.texts(), QStringList());
}

void TestImport::unreadableTableCanBeSetAside_data()
{
    QTest::addColumn<bool>("password"); // or a header counting more records than it holds
    QTest::addColumn<bool>("yes");
    QTest::newRow("No: the start ends, nothing changed") << true << false;
    QTest::newRow("Yes: an empty table, the old one kept") << true << true;
    QTest::newRow("records missing, No") << false << false;
    QTest::newRow("records missing, Yes") << false << true;
}

void TestImport::unreadableTableCanBeSetAside()
{
    QFETCH(bool, password);
    QFETCH(bool, yes);
    OldFolder old;
    if (password) {
        lockWithPassword(old.table());
    } else {
        // The header counts 60 records; the library finds 6.
        QFile file(old.table());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(0x06));
        QVERIFY(file.write(QByteArray("\x3C\x00\x00\x00", 4)) == 4);
        file.close();
        // Offered first, as the header counts them.
        old.f.dialogs.answerQuestion(true);
    }
    const QByteArray damaged = bytesOf(old.table());
    const QStringList before = QDir(old.f.dir()).entryList(QDir::Files);
    old.f.dialogs.answerQuestion(yes);
    try {
        old.f.start();
        QVERIFY2(yes, "the start went on");
    } catch (const FileError &e) {
        QVERIFY2(!yes, qPrintable(e.message()));
        QVERIFY2(e.message().contains(QStringLiteral("Nada foi alterado")), qPrintable(e.message()));
    }
    const QStringList questions = old.f.dialogs.texts(Kind::Question);
    QCOMPARE(questions.size(), password ? 1 : 2);
    const QString asked = questions.last();
    QVERIFY2(asked.contains(QStringLiteral("A tabela Paradox %1 não pôde ser lida: ")
                                .arg(QDir::toNativeSeparators(old.table()))),
             qPrintable(asked));
    QVERIFY2(asked.endsWith(QStringLiteral("Começar com a tabela vazia?")), qPrintable(asked));
    if (!password) {
        // The library's words only as a detail line of their own.
        const qsizetype detail = asked.indexOf(QStringLiteral("\r\nDetalhe: "));
        const qsizetype said = asked.indexOf(QStringLiteral("o registro 7 não pôde ser lido."));
        QVERIFY2(said > 0 && detail > said, qPrintable(asked));
    }
    if (!yes) {
        QCOMPARE(QDir(old.f.dir()).entryList(QDir::Files), before);
        QCOMPARE(bytesOf(old.table()), damaged);
        return;
    }
    QCOMPARE(old.f.rows().size(), std::size_t(0));
    QCOMPARE(bytesOf(old.f.dir() + QStringLiteral("/MedicosDanificado.db")), damaged);
    QCOMPARE(bytesOf(old.f.dir() + QStringLiteral("/MedicosDanificado.mb")), old.mb);
}

QTEST_APPLESS_MAIN(TestImport)
#include "tst_import.moc"
