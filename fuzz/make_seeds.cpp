// Writes the seed corpus of every fuzz target into a folder (fuzz/corpus in the source
// tree): the installation files, the demonstration clinic's files and journal lines,
// and old Paradox tables as the import's tests write them. Run again when a format
// changes: fuzz_seeds fuzz/corpus
#include "agenda/demo_clinic.h"
#include "platform/clock.h"
#include "platform/text_file.h"
#include "store/appointment_table.h"
#include "store/journal.h"
#include "support/paradox_writer.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using namespace clinora;

namespace {

const QByteArray kSeparator("\n=====\n");
QString g_corpus;
QString g_install;
QString g_demo;

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        std::exit(1);
    }
    return file.readAll();
}

QByteArray install(const QString &name) { return fileBytes(g_install + QLatin1Char('/') + name); }
QByteArray demo(const QString &name) { return fileBytes(g_demo + QLatin1Char('/') + name); }

// One seed, named by its contents as libFuzzer names the inputs it keeps.
void seed(const QString &target, const QByteArray &bytes)
{
    const QString dir = g_corpus + QLatin1Char('/') + target;
    QDir().mkpath(dir);
    const QString name = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
    QFile file(dir + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
}

void both(const QString &target, const QString &name)
{
    seed(target, install(name));
    seed(target, demo(name));
}

void pair(const QString &target, const QString &first, const QString &second)
{
    seed(target, install(first) + kSeparator + install(second));
    seed(target, demo(first) + kSeparator + demo(second));
}

Appointment row(const char *data, const char *hora, const char *medico, const QString &paciente,
                const char *telefone = "", const char *situacao = "", const QString &observacoes = {})
{
    return {QString::fromLatin1(data), QString::fromLatin1(hora), QString::fromLatin1(medico), paciente,
            QString::fromLatin1(telefone), QString::fromLatin1(situacao), observacoes};
}

// An old table as the program used before kept it, with its memo file after the separator.
QByteArray paradoxSeed(const QString &dir, const std::vector<Appointment> &rows, int codePage)
{
    const QString path = dir + QStringLiteral("/Medicos.db");
    QFile::remove(path);
    QFile::remove(dir + QStringLiteral("/Medicos.mb"));
    test::writeParadoxTable(path, rows, test::oldTableFields(), codePage);
    QByteArray bytes = fileBytes(path) + kSeparator;
    if (QFile::exists(dir + QStringLiteral("/Medicos.mb")))
        bytes += fileBytes(dir + QStringLiteral("/Medicos.mb"));
    return bytes;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "uso: fuzz_seeds <pasta do corpus> <pasta resources/install>\n");
        return 2;
    }
    g_corpus = QString::fromLocal8Bit(argv[1]);
    g_install = QString::fromLocal8Bit(argv[2]);
    QTemporaryDir tmp;
    g_demo = tmp.path() + QStringLiteral("/demo");
    const FixedClock clock(QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
    createDemoClinic(g_demo, tmp.path() + QStringLiteral("/drives"), clock);

    both(QStringLiteral("settings"), QStringLiteral("Automatica.Txt"));
    pair(QStringLiteral("register"), QStringLiteral("CodMed.Txt"), QStringLiteral("DiaMedHora.Txt"));
    both(QStringLiteral("prepared_limit"), QStringLiteral("DataIniFim.Txt"));
    seed(QStringLiteral("prepared_limit"), QByteArray("1/5/27\r\n"));
    both(QStringLiteral("closed_dates"), QStringLiteral("ArqFolgas.Txt"));
    pair(QStringLiteral("registers"), QStringLiteral("Esp.Txt"), QStringLiteral("Sit.Txt"));
    pair(QStringLiteral("day_sheets"), QStringLiteral("Medicos.Txt"), QStringLiteral("Horarios.Txt"));
    both(QStringLiteral("doctor_months"), QStringLiteral("MedMeses.Txt"));
    both(QStringLiteral("esp_meses"), QStringLiteral("EspMeses.Txt"));
    both(QStringLiteral("situation_months"), QStringLiteral("SitMeses.Txt"));
    both(QStringLiteral("weekly_counts"), QStringLiteral("PrevReal.Txt"));
    seed(QStringLiteral("weeks"), install(QStringLiteral("BaseSemanas.Txt")));
    seed(QStringLiteral("weeks"), demo(QStringLiteral("Semanas.Txt")));
    both(QStringLiteral("history"), QStringLiteral("Historico.Txt"));

    // The pending movements: the clinic's, and lines of every kind the posting meets.
    const QByteArray movements("7 033\r\n12121-2\r\n 1019999\r\n5012-999\r\n99011\r\n3 13x\r\n7 0300\r\n");
    for (const QString &target : {QStringLiteral("pending_movements"), QStringLiteral("posting")}) {
        both(target, QStringLiteral("MovMes.Txt"));
        seed(target, movements);
    }

    // The external set: the first byte chooses the file.
    const QStringList setFiles = {QStringLiteral("CodMed.Txt"),   QStringLiteral("DiaMedHora.Txt"),
                                  QStringLiteral("MedMeses.Txt"), QStringLiteral("SitMeses.Txt"),
                                  QStringLiteral("EspMeses.Txt"), QStringLiteral("Esp.Txt"),
                                  QStringLiteral("Sit.Txt"),      QStringLiteral("Historico.Txt")};
    for (int k = 0; k < setFiles.size(); ++k)
        seed(QStringLiteral("external_set"), QByteArray(1, char(k)) + demo(setFiles[k]));

    // Journal lines of the clinic's rows: each kind of row inserted, one deleted, one torn.
    AppointmentTable table;
    table.open(g_demo + QStringLiteral("/Medicos.db"), false);
    std::vector<Appointment> rows;
    for (const Appointment &r : table.all()) {
        const bool wanted = (r.isDated() && r.isReserved() && rows.size() < 2) || r.isCancelled() || r.isWaiting()
                            || (r.isDated() && !r.isReserved() && rows.size() < 6);
        if (wanted && rows.size() < 10)
            rows.push_back(r);
    }
    rows.push_back(row("09/12/26", "3", "2", QStringLiteral("Luíza Brandão"), "3222-0000", "1",
                       QStringLiteral("traz exames\r\nem jejum \\ manhã")));
    const QString stamp = QStringLiteral("08/12/2026 10:00");
    QStringList journal;
    for (const Appointment &r : rows) {
        const QString line = journal::line(QLatin1Char('I'), r, stamp);
        journal << line;
        seed(QStringLiteral("journal_line"), textfile::encode(line));
    }
    journal << journal::line(QLatin1Char('E'), rows.front(), stamp);
    journal << journal::line(QLatin1Char('I'), rows.front(), stamp).left(40);
    seed(QStringLiteral("journal_line"), textfile::encode(journal.last()));
    seed(QStringLiteral("journal_replay"), textfile::encode(journal.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    seed(QStringLiteral("journal_replay"), demo(QStringLiteral("ArqMov.Txt")));

    // The old tables, as the import's tests write them: a few rows of every kind with a
    // remark long enough for memo blocks of its own, a DOS code page, an empty table.
    QString remark;
    for (int i = 0; remark.size() < 700; ++i)
        remark += QStringLiteral("Linha %1: pressão arterial à mão.\r\n").arg(i);
    const std::vector<Appointment> old = {
        row("05/01/27", "3", "12", QStringLiteral("João da Conceição"), "(21)255-0101", "1",
            QStringLiteral("Retorno; trazer exames.")),
        row("05/01/27", "4", "12", QStringLiteral("R")),
        row("05/01H/", "3", "12", QStringLiteral("Ângela Müller   "), "9988-7766", "2", remark),
        row("40312123", "45", "51", QStringLiteral("Zé Piauí"), "3333-4444", "1", QStringLiteral("Prefere manhã")),
        row("05/01/27", "3", "12", QStringLiteral("Outra Pessoa"), "1111-2222", "1"),
        row("06/01/27", "1", "7", QString()),
    };
    seed(QStringLiteral("old_tables"), paradoxSeed(tmp.path(), old, 1252));
    seed(QStringLiteral("old_tables"), paradoxSeed(tmp.path(), {old[0], old[3]}, 850));
    seed(QStringLiteral("old_tables"), paradoxSeed(tmp.path(), {}, 1252));
    return 0;
}
