// The application core: settings, the day window, the doctor register and timetable,
// the prepared limit, the common routines, the installation and the weeks.
#include "core/common.h"
#include "core/data_files.h"
#include "core/day_window.h"
#include "core/doctor_register.h"
#include "core/installation.h"
#include "core/prepared_limit.h"
#include "core/settings.h"
#include "app/session.h"
#include "store/appointment_table.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "statistics/weeks.h"
#include "support/fixture.h"

#include <QDirIterator>
#include <QTest>

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace clinora;
using test::Fixture;
using test::ScriptedDialogs;

namespace {
QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestCore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void settingsKeepNineLines();
    void shortSettingsGiveEmptyLines();
    void dayOfWeekMap_data();
    void dayOfWeekMap();
    void dateOfDay_data();
    void dateOfDay();
    void registerLoadsByCode();
    void registerSkipsCodesOutsideTheRange();
    void damagedFilesAreRefusedByName_data();
    void damagedFilesAreRefusedByName();
    void registerSavesItsFormats();
    void untouchedRecordsKeepTheirBytes();
    void registerWithUnreadLinesIsNotSaved();
    void damagedSettingsAreRefusedAndKept_data();
    void damagedSettingsAreRefusedAndKept();
    void settingsInAnyCaseAreRead();
    void timetableTakesFiveCharacters();
    void preparedLimitReadsBothForms();
    void preparedLimitThatIsNotADateNamesTheFile();
    void normalisesTimes_data();
    void normalisesTimes();
    void wrongTimesAskForCorrection_data();
    void wrongTimesAskForCorrection();
    void mirrorCopyOnlyWhileMirroring_data();
    void mirrorCopyOnlyWhileMirroring();
    void installationNeverOverwrites();
    void installationOfAFolder_data();
    void installationOfAFolder();
    void interruptedFirstRunIsFinishedAtTheNextStart();
    void weeksOfTheYear_data();
    void weeksOfTheYear();
};

void TestCore::settingsKeepNineLines()
{
    Fixture f;
    Settings s;
    s.load(f.dir() + QStringLiteral("/Automatica.Txt"));
    QCOMPARE(s.yearState(), QStringLiteral("A2000"));
    QCOMPARE(s.mirrorDir(), QStringLiteral("E:\\Consultas\\Espelho"));
    s.setClinicName(QStringLiteral("Hospital São Lucas"));
    s.save(f.dir() + QStringLiteral("/Automatica.Txt"));
    const QStringList lines = f.read(QStringLiteral("Automatica.Txt"));
    QCOMPARE(lines.size(), 9);
    QCOMPARE(lines[4], QStringLiteral("Hospital São Lucas"));
    QCOMPARE(lines[8], QStringLiteral("C:\\Consultas\\Foto\\Capa.png"));
}

void TestCore::shortSettingsGiveEmptyLines()
{
    Fixture f;
    f.write(QStringLiteral("Automatica.Txt"), {QStringLiteral("Sim"), QStringLiteral("01/12/2026")});
    Settings s;
    s.load(f.dir() + QStringLiteral("/Automatica.Txt"));
    QCOMPARE(s.automaticEntry(), QStringLiteral("Sim"));
    QCOMPARE(s.mirroring(), QString());
    QCOMPARE(s.coverPhoto(), QString());
}

void TestCore::dayOfWeekMap_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QList<int>>("unmapped");
    QTest::newRow("8 December") << QDate(2026, 12, 8) << QList<int>{};
    QTest::newRow("8 February, common year") << QDate(2027, 2, 8) << QList<int>{29, 30, 31};
    QTest::newRow("1 March") << QDate(2027, 3, 1) << QList<int>{29, 30, 31};
    QTest::newRow("31 January, common year") << QDate(2027, 1, 31) << QList<int>{29, 30};
    QTest::newRow("8 February, leap year") << QDate(2028, 2, 8) << QList<int>{30, 31};
}

void TestCore::dayOfWeekMap()
{
    QFETCH(QDate, today);
    QFETCH(QList<int>, unmapped);
    FixedClock clock(QDateTime(today, QTime(9, 0)));
    DayWindow window(clock);
    window.build();
    for (int d = 1; d <= 31; ++d) {
        if (unmapped.contains(d)) {
            QCOMPARE(window.weekday(d), 0);
            continue;
        }
        const QDate date = window.realDateOfDay(d);
        QVERIFY2(date.isValid(), qPrintable(QString::number(d)));
        QCOMPARE(window.weekday(d), date.dayOfWeek() % 7 + 1);
    }
    if (today == QDate(2027, 1, 31))
        QCOMPARE(window.weekday(31), 1); // 31 January 2027 is a Sunday
}

void TestCore::dateOfDay_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("date");
    QTest::addColumn<bool>("exists");
    QTest::newRow("next year") << QDate(2026, 12, 8) << 5 << "05/01/27" << true;
    QTest::newRow("today") << QDate(2026, 12, 8) << 8 << "08/12/26" << true;
    QTest::newRow("end of this month") << QDate(2026, 12, 8) << 31 << "31/12/26" << true;
    QTest::newRow("February lacks 30") << QDate(2027, 1, 31) << 30 << "30/02/27" << false;
    QTest::newRow("leap February has 29") << QDate(2028, 1, 31) << 29 << "29/02/28" << true;
}

void TestCore::dateOfDay()
{
    QFETCH(QDate, today);
    QFETCH(int, day);
    QFETCH(QString, date);
    QFETCH(bool, exists);
    FixedClock clock(QDateTime(today, QTime(9, 0)));
    DayWindow window(clock);
    QCOMPARE(window.dateOfDay(day), date);
    QCOMPARE(window.dayExists(day), exists);
}

void TestCore::registerLoadsByCode()
{
    Fixture f;
    QStringList lines = f.read(QStringLiteral("CodMed.Txt"));
    // Codes out of order (12 first, 1 in line 12); the later line of a repeated code wins.
    lines.swapItemsAt(0, 11);
    lines[0] = QStringLiteral("12") + textfile::fixed(QStringLiteral("Dra. Ana Lima"), 25)
               + textfile::fixed(QStringLiteral("52 Cardiologia"), 15)
               + QStringLiteral("204 3 521") + QStringLiteral("05/04/2706/04/27");
    lines[2] = QStringLiteral("3 Dr. Bruno Reis           51 Clínica Ger 1011 511                  ");
    lines << QStringLiteral("3 Dr. Bruno Reis Filho     51 Clínica Ger 1011 511                  ");
    f.write(QStringLiteral("CodMed.Txt"), lines);
    DoctorRegister reg;
    QVERIFY(reg.load(f.dir() + QLatin1Char('/')).isEmpty());
    QCOMPARE(reg.doctor(12).name, QStringLiteral("Dra. Ana Lima            "));
    QCOMPARE(reg.doctor(12).room, QStringLiteral("204 "));
    QCOMPARE(reg.doctor(12).floor, QStringLiteral("3 "));
    QCOMPARE(reg.doctor(12).specialtyCode, QStringLiteral("52"));
    QCOMPARE(reg.doctor(12).leaveStart, QStringLiteral("05/04/27"));
    QCOMPARE(reg.doctor(12).leaveEnd, QStringLiteral("06/04/27"));
    QCOMPARE(reg.doctor(3).name.trimmed(), QStringLiteral("Dr. Bruno Reis Filho"));
    QVERIFY(!reg.isFree(3));
    QVERIFY(reg.isFree(4));
    QVERIFY(!reg.freeCodeList().contains(QStringLiteral(" 3 ")));
    QVERIFY(reg.freeCodeList().startsWith(QStringLiteral("  1 2 4 5 6 7 8 9 10 11 13")));
}

void TestCore::registerSkipsCodesOutsideTheRange()
{
    Fixture f;
    QStringList lines = f.read(QStringLiteral("CodMed.Txt"));
    lines[4] = QStringLiteral("51Dr. Fora da Faixa");
    lines[5] = QStringLiteral("0 Dr. Zero");
    lines[6] = QStringLiteral("abDr. Sem Número");
    f.write(QStringLiteral("CodMed.Txt"), lines);
    DoctorRegister reg;
    const QStringList problems = reg.load(f.dir() + QLatin1Char('/'));
    QCOMPARE(problems.size(), 3);
    QVERIFY(problems[0].contains(QStringLiteral("CodMed.Txt, linha 5")));
    QVERIFY(problems[0].contains(QStringLiteral("\"51\"")));
    QVERIFY(problems[2].contains(QStringLiteral("\"ab\"")));
    for (int c = 1; c <= 50; ++c)
        QVERIFY(!reg.doctor(c).name.contains(QStringLiteral("Dr.")));
}

void TestCore::damagedFilesAreRefusedByName_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("damage");  // empty, half (cut in the middle of a line), tail, text
    QTest::addColumn<QString>("said");    // in Portuguese, after the file's name
    QTest::addColumn<QString>("library"); // the library's own words: only as the detail line
    QTest::newRow("CodMed.Txt empty") << "CodMed.Txt"
                                      << "empty"
                                      << "está incompleto: tem 0 linhas, e são 50 (uma por código)"
                                      << "";
    QTest::newRow("CodMed.Txt cut in half") << "CodMed.Txt"
                                            << "half"
                                            << "está incompleto: tem 26 linhas, e são 50"
                                            << "";
    QTest::newRow("CodMed.Txt without the end of its last line")
        << "CodMed.Txt"
        << "tail"
        << "está incompleto: a sua última linha foi cortada (47 de 67 caracteres)"
        << "";
    // As a restart of the doctors left it before: no doctor, no hours to lose.
    QTest::newRow("DiaMedHora.Txt empty, no doctor registered") << "DiaMedHora.Txt"
                                                                << "empty, no doctor"
                                                                << ""
                                                                << "";
    QTest::newRow("DiaMedHora.Txt empty") << "DiaMedHora.Txt"
                                          << "empty"
                                          << "está incompleto: tem 0 linhas, e são 8400 (uma por horário)"
                                          << "";
    QTest::newRow("DiaMedHora.Txt cut in half") << "DiaMedHora.Txt"
                                                << "half"
                                                << "está incompleto: tem 4201 linhas, e são 8400"
                                                << "";
    QTest::newRow("a table that is not a database")
        << "Medicos.db"
        << "text"
        << "não pôde ser aberto como tabela de consultas: o arquivo não é um banco de dados."
        << "file is not a database";
}

void TestCore::damagedFilesAreRefusedByName()
{
    QFETCH(QString, file);
    QFETCH(QString, damage);
    QFETCH(QString, said);
    QFETCH(QString, library);
    Fixture f;
    f.setSetting(3, QStringLiteral("A2026"));
    if (!damage.endsWith(QLatin1String("no doctor")))
        f.addDoctor(7, QStringLiteral("Dra. Ana Souza"));
    const QString path = f.dir() + QLatin1Char('/') + file;
    QFile damaged(path);
    QVERIFY(damaged.open(QIODevice::ReadWrite));
    const QByteArray bytes = damaged.readAll();
    if (damage.startsWith(QLatin1String("empty")))
        QVERIFY(damaged.resize(0));
    else if (damage == QLatin1String("half"))
        QVERIFY(damaged.resize(bytes.size() / 2 + 1));
    else if (damage == QLatin1String("tail"))
        QVERIFY(damaged.resize(bytes.size() - 22));
    else {
        QVERIFY(damaged.resize(0));
        damaged.write(QByteArray("Agenda de dezembro, copiada por engano.\r\n").repeated(200));
    }
    damaged.close();
    const QByteArray left = bytesOf(path);
    // A damaged table is offered to be kept aside: "No" keeps it as it is.
    if (file == QLatin1String("Medicos.db"))
        f.dialogs.answerQuestion(false);
    try {
        AppContext &c = f.start();
        QVERIFY2(said.isEmpty(), "the start went on");
        QVERIFY(!c.doctors.hasSlot(2, 1, 1));
    } catch (const Error &e) {
        const QString text = e.message();
        QVERIFY2(!said.isEmpty(), qPrintable(text));
        QVERIFY2(text.contains(QDir::toNativeSeparators(path) + QLatin1Char(' ') + said), qPrintable(text));
        const qsizetype detail = text.indexOf(QStringLiteral("\r\nDetalhe: "));
        if (!library.isEmpty()) {
            QVERIFY2(detail > 0, qPrintable(text));
            QVERIFY2(text.indexOf(library) > detail, qPrintable(text));
            QCOMPARE(
                text.indexOf(QLatin1String("\r\n"), detail + 2) < 0
                    ? text.mid(detail + 11)
                    : text.mid(detail + 11, text.indexOf(QLatin1String("\r\n"), detail + 2) - detail - 11),
                library);
        }
    }
    // Refused as it is: nothing written over it.
    QCOMPARE(bytesOf(path), left);
    QCOMPARE(f.dialogs.unusedAnswers(), 0);
}

void TestCore::registerSavesItsFormats()
{
    Fixture f;
    DoctorRegister reg;
    reg.load(f.dir() + QLatin1Char('/'));
    reg.doctor(7).code = QStringLiteral("99"); // the code column comes from the position
    reg.doctor(7).name = QStringLiteral("Dra. Carla Dias");
    reg.doctor(7).specialty = QStringLiteral("55 Pediatria");
    reg.setTime(2, 7, 1, QStringLiteral("08:00"));
    reg.save(f.dir());
    const QStringList codMed = f.read(QStringLiteral("CodMed.Txt"));
    QCOMPARE(codMed.size(), 50);
    QCOMPARE(codMed[6], QStringLiteral("7 Dra. Carla Dias          55 Pediatria   ") + QString(25, QLatin1Char(' ')));
    for (const QString &line : codMed)
        QCOMPARE(line.size(), 67);
    const QStringList names = f.read(QStringLiteral("Medicos.Txt"));
    QCOMPARE(names.size(), 51);
    QCOMPARE(names[0], QString());
    QCOMPARE(names[7], QStringLiteral("7 Dra. Carla Dias          "));
    const QStringList times = f.read(QStringLiteral("DiaMedHora.Txt"));
    QCOMPARE(times.size(), 8400);
    QCOMPARE(times[1200 + 6 * 24], QStringLiteral("08:00"));
}

void TestCore::untouchedRecordsKeepTheirBytes()
{
    Fixture f;
    // A legacy record with the five bytes Windows-1252 leaves undefined.
    const QString path = f.dir() + QStringLiteral("/CodMed.Txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = file.readAll().split('\n');
    file.close();
    const QByteArray legacy = QByteArray("3 Dr. Jo\x81o \x8D\x8F\x90\x9D Reis") + QByteArray(7, ' ')
                              + QByteArray("51 Cl\xEDnica Ger 1011 511                 \r");
    lines[2] = legacy;
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(lines.join('\n'));
    file.close();

    DoctorRegister reg;
    reg.load(f.dir() + QLatin1Char('/'));
    reg.doctor(7).name = QStringLiteral("Dra. Carla Dias");
    reg.save(f.dir());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().split('\n').at(2), legacy);
    QCOMPARE(textfile::readLines(f.dir() + QStringLiteral("/Medicos.Txt")).at(3).toLatin1(),
             QByteArray("3 Dr. Jo\x81o \x8D\x8F\x90\x9D Reis       "));
}

void TestCore::registerWithUnreadLinesIsNotSaved()
{
    Fixture f;
    QStringList lines = f.read(QStringLiteral("CodMed.Txt"));
    lines[5] = QStringLiteral("abDr. Sem Número");
    f.write(QStringLiteral("CodMed.Txt"), lines);
    DoctorRegister reg;
    QCOMPARE(reg.load(f.dir() + QLatin1Char('/')).size(), 1);
    reg.doctor(7).name = QStringLiteral("Dra. Carla Dias");
    try {
        reg.save(f.dir());
        QFAIL("saved over lines it could not read");
    } catch (const DamagedFileError &e) {
        QVERIFY2(e.message().contains(QStringLiteral("CodMed.Txt")), qPrintable(e.message()));
    }
    QCOMPARE(f.read(QStringLiteral("CodMed.Txt")), lines);
    QVERIFY(!f.read(QStringLiteral("Medicos.Txt")).join(QString()).contains(QStringLiteral("Carla")));
}

void TestCore::settingsInAnyCaseAreRead()
{
    Fixture f;
    const QStringList lines{"nao", "01/01/2026", "f2025", "cOM", "Clínica", "", "", "E:\\Consultas\\Espelho", ""};
    f.write(QStringLiteral("Automatica.Txt"), lines);
    Settings settings;
    settings.load(f.dir() + QStringLiteral("/Automatica.Txt"));
    QCOMPARE(settings.yearState(), QStringLiteral("f2025"));
    QCOMPARE(settings.mirrorDir(), QStringLiteral("E:\\Consultas\\Espelho"));
}

void TestCore::damagedSettingsAreRefusedAndKept_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("named");
    QTest::newRow("nine lines of other text")
        << QStringList(9, QStringLiteral("lorem ipsum dolor")) << "a linha 1";
    QTest::newRow("a year state that is not one")
        << QStringList{"Nao", "01/01/2026", "2026", "Sem", "Clínica", "", "", "E:\\Consultas\\Espelho", ""}
        << "a linha 3";
    QTest::newRow("a mirroring state that is not one")
        << QStringList{"Sim", "01/01/2026", "A2026", "Talvez", "Clínica", "", "", "", ""} << "a linha 4";
    QTest::newRow("a year of three digits")
        << QStringList{"Sim", "01/01/2026", "F202", "Com", "Clínica", "", "", "", ""} << "a linha 3";
    QTest::newRow("a year of five digits")
        << QStringList{"Sim", "01/01/2026", "A20266", "Com", "Clínica", "", "", "", ""} << "a linha 3";
    QTest::newRow("a year with a letter")
        << QStringList{"Sim", "01/01/2026", "A202x", "Com", "Clínica", "", "", "", ""} << "a linha 3";
    QTest::newRow("a yes with more after it")
        << QStringList{"Simm", "01/01/2026", "A2026", "Com", "Clínica", "", "", "", ""} << "a linha 1";
}

void TestCore::damagedSettingsAreRefusedAndKept()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, named);
    Fixture f;
    f.write(QStringLiteral("Automatica.Txt"), lines);
    Settings settings;
    const QString path = f.dir() + QStringLiteral("/Automatica.Txt");
    try {
        settings.load(path);
        QFAIL("damaged settings read");
    } catch (const DamagedFileError &e) {
        QVERIFY2(e.message().contains(QStringLiteral("Automatica.Txt")) && e.message().contains(named),
                 qPrintable(e.message()));
    }
    QVERIFY_THROWS_EXCEPTION(DamagedFileError, settings.save(path));
    QCOMPARE(f.read(QStringLiteral("Automatica.Txt")), lines);
}

void TestCore::timetableTakesFiveCharacters()
{
    Fixture f;
    QStringList times = f.read(QStringLiteral("DiaMedHora.Txt"));
    times[0] = QStringLiteral("08:30xyz");
    f.write(QStringLiteral("DiaMedHora.Txt"), times);
    DoctorRegister reg;
    reg.load(f.dir() + QLatin1Char('/'));
    QCOMPARE(reg.time(1, 1, 1), QStringLiteral("08:30"));
    QVERIFY(reg.hasSlot(1, 1, 1));
    QVERIFY(!reg.hasSlot(7, 50, 24));
}

void TestCore::preparedLimitReadsBothForms()
{
    Fixture f;
    const Paths paths(f.dir(), f.drives());
    f.write(QStringLiteral("DataIniFim.Txt"), {QStringLiteral("14/01/2027")});
    QCOMPARE(readPreparedLimit(paths), QDate(2027, 1, 14));
    f.write(QStringLiteral("DataIniFim.Txt"), {QStringLiteral("14/01/27")});
    QCOMPARE(readPreparedLimit(paths), QDate(2027, 1, 14));
}

void TestCore::preparedLimitThatIsNotADateNamesTheFile()
{
    Fixture f;
    f.write(QStringLiteral("DataIniFim.Txt"), {QStringLiteral("amanhã")});
    try {
        readPreparedLimit(Paths(f.dir(), f.drives()));
        QFAIL("no error");
    } catch (const ConversionError &e) {
        QVERIFY(e.message().contains(QStringLiteral("DataIniFim.Txt")));
    }
}

void TestCore::normalisesTimes_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("time");
    QTest::newRow("one-digit hour") << "8:30" << "08:30";
    QTest::newRow("full") << "14:05" << "14:05";
    QTest::newRow("midnight at the end") << "24:00" << "24:00";
    QTest::newRow("one-digit minute") << "7:5" << "07:50";
    QTest::newRow("two-digit hour, one-digit minute") << "07:5" << "07:50";
}

void TestCore::normalisesTimes()
{
    QFETCH(QString, typed);
    QFETCH(QString, time);
    ScriptedDialogs dialogs;
    QCOMPARE(normaliseTime(typed, dialogs), time);
    QVERIFY(dialogs.shown().isEmpty());
}

void TestCore::wrongTimesAskForCorrection_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shownText");
    QTest::newRow("after midnight") << "24:30" << "24:30";
    QTest::newRow("no colon") << "830" << "8300";
    QTest::newRow("no colon, four digits") << "0730" << "07300";
    QTest::newRow("minutes above 59") << "10:75" << "10:75";
    QTest::newRow("negative hour") << "-1:30" << "-1:30";
    QTest::newRow("negative minutes") << "10:-5" << "10:-5";
    QTest::newRow("signed hour") << "+5:30" << "+5:30";
    QTest::newRow("blank before the hour") << " 8:30" << " 8:30";
    QTest::newRow("blank in the minutes") << "8: 5" << "08: 5";
    QTest::newRow("a letter in the minutes") << "8:3a" << "08:3a";
    QTest::newRow("two colons") << "10:30:00" << "10:30";
}

void TestCore::wrongTimesAskForCorrection()
{
    QFETCH(QString, typed);
    QFETCH(QString, shownText);
    ScriptedDialogs dialogs;
    dialogs.answerInput(QStringLiteral("09:15"));
    QCOMPARE(normaliseTime(typed, dialogs), QStringLiteral("09:15"));
    QCOMPARE(dialogs.shown().size(), 1);
    QCOMPARE(dialogs.shown()[0].title, QStringLiteral("Correção de Hora"));
    QCOMPARE(dialogs.shown()[0].text,
             QStringLiteral("Hora errada: %1 Formato Esperado: hh:mm").arg(shownText));
}

void TestCore::mirrorCopyOnlyWhileMirroring_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("mirrorDir");
    QTest::addColumn<bool>("copied");
    QTest::newRow("on") << "Com" << "E:\\Consultas\\Espelho" << true;
    QTest::newRow("off") << "Sem" << "E:\\Consultas\\Espelho" << false;
    QTest::newRow("on without a directory") << "Com" << "" << false;
}

void TestCore::mirrorCopyOnlyWhileMirroring()
{
    QFETCH(QString, state);
    QFETCH(QString, mirrorDir);
    QFETCH(bool, copied);
    Fixture f;
    const QString mirror = f.mirror();
    Settings s;
    s.setMirroring(state);
    s.setMirrorDir(mirrorDir);
    mirrorCopy(s, Paths(f.dir(), f.drives()), QStringLiteral("Esp.Txt"));
    QCOMPARE(QFile::exists(mirror + QStringLiteral("/Esp.Txt")), copied);
}

void TestCore::installationNeverOverwrites()
{
    Fixture f;
    f.write(QStringLiteral("Esp.Txt"), {QStringLiteral("51 Minha")});
    QFile::remove(f.dir() + QStringLiteral("/Sit.Txt"));
    QVERIFY(installDataDirectory(f.dir()).isEmpty());
    QCOMPARE(f.read(QStringLiteral("Esp.Txt")), QStringList{QStringLiteral("51 Minha")});
    // A lost file of an existing installation is reported, not silently replaced.
    QVERIFY(!f.exists(QStringLiteral("Sit.Txt")));

    QTemporaryDir fresh;
    const QString dir = fresh.filePath(QStringLiteral("nova/Consultas"));
    const QStringList written = installDataDirectory(dir);
    QVERIFY(written.contains(QStringLiteral("Automatica.Txt")));
    QVERIFY(written.contains(QStringLiteral("Foto/Capa.png")));
    QCOMPARE(textfile::readLines(dir + QStringLiteral("/CodMed.Txt")).size(), 50);
    QCOMPARE(textfile::readLines(dir + QStringLiteral("/DiaMedHora.Txt")).size(), 8400);
    QCOMPARE(textfile::readLines(dir + QStringLiteral("/PrevReal.Txt")).size(), 2700);
    QCOMPARE(textfile::readLines(dir + QStringLiteral("/SitMeses.Txt")).size(), 300);
    QCOMPARE(textfile::readLines(dir + QStringLiteral("/Esp.Txt")).size(), 30);
    QCOMPARE(textfile::readLines(dir + QStringLiteral("/Sit.Txt")).size(), 9);
}

namespace {

QStringList filesIn(const QString &dir)
{
    QStringList names;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        names << QDir(dir).relativeFilePath(it.next());
    names.sort();
    return names;
}

} // namespace

void TestCore::installationOfAFolder_data()
{
    QTest::addColumn<QStringList>("present");   // installation files there before
    QTest::addColumn<bool>("changedRegister");  // Medicos.Txt holds a clinic's doctors
    QTest::addColumn<bool>("table");            // Medicos.db exists
    QTest::addColumn<QString>("refusal");       // "" when the folder is installed or kept
    const QStringList all = installationFiles();
    QStringList withoutSettingsAndRegister = all;
    withoutSettingsAndRegister.removeAll(QStringLiteral("Automatica.Txt"));
    withoutSettingsAndRegister.removeAll(QStringLiteral("CodMed.Txt"));
    QTest::newRow("a new folder") << QStringList{} << false << false << QString();
    QTest::newRow("an installation that never finished") << all.mid(0, 5) << false << false << QString();
    QTest::newRow("the same, with its settings") << all.mid(0, 12) << false << false << QString();
    QTest::newRow("a clinic that lost its settings and register")
        << withoutSettingsAndRegister << true << true << "Automatica.Txt, CodMed.Txt";
    QTest::newRow("the same, table gone too")
        << withoutSettingsAndRegister << true << false << "Automatica.Txt, CodMed.Txt";
}

void TestCore::installationOfAFolder()
{
    QFETCH(QStringList, present);
    QFETCH(bool, changedRegister);
    QFETCH(bool, table);
    QFETCH(QString, refusal);
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("Consultas"));
    {
        QTemporaryDir source;
        installDataDirectory(source.path());
        QDir().mkpath(dir + QStringLiteral("/Foto"));
        for (const QString &name : present)
            QVERIFY(QFile::copy(source.filePath(name), dir + QLatin1Char('/') + name));
    }
    if (changedRegister) {
        QStringList names = textfile::readLines(dir + QStringLiteral("/Medicos.Txt"));
        names[1] = QStringLiteral("1 Dra. Ana Lima            ");
        textfile::writeLines(dir + QStringLiteral("/Medicos.Txt"), names);
    }
    if (table)
        AppointmentTable::createFile(dir + QStringLiteral("/Medicos.db"));
    const QStringList before = filesIn(dir);

    if (refusal.isEmpty()) {
        const QStringList written = installDataDirectory(dir);
        QStringList expected = installationFiles();
        for (const QString &name : present)
            expected.removeAll(name);
        QCOMPARE(written, expected);
        QStringList everything = installationFiles() << QStringLiteral("Medicos.db");
        everything.sort();
        QCOMPARE(filesIn(dir), everything);
        AppointmentTable opened;
        opened.open(dir + QStringLiteral("/Medicos.db"), false);
        QCOMPARE(opened.count(), 0);
    } else {
        try {
            installDataDirectory(dir);
            QFAIL("a folder in use was installed anew");
        } catch (const FileError &e) {
            QVERIFY2(e.message().contains(refusal), qPrintable(e.message()));
        }
        QCOMPARE(filesIn(dir), before);
    }
}

void TestCore::interruptedFirstRunIsFinishedAtTheNextStart()
{
    // A first start is killed at a random moment; the next one must open the folder
    // with every file in place and the first run done once.
    const auto startProgram = [](const QString &dir) {
        installDataDirectory(dir);
        FixedClock clock(QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
        ScriptedDialogs dialogs;
        test::RecordingPrinter printer;
        AppContext context(Paths(dir, dir + QStringLiteral("/../drives")), clock, dialogs, printer);
        session::startUp(context);
        session::createMainWindow(context);
        context.DMMedicos.close();
    };
    std::mt19937 random(18);
    for (int round = 0; round < 30; ++round) {
        QTemporaryDir tmp;
        const QString dir = tmp.filePath(QStringLiteral("Consultas"));
        const pid_t child = fork();
        if (child == 0) {
            startProgram(dir);
            _exit(0);
        }
        QVERIFY(child > 0);
        ::usleep(std::uniform_int_distribution<useconds_t>(0, 60000)(random));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        startProgram(dir);
        QStringList expected = installationFiles() << QStringLiteral("Medicos.db") << QStringLiteral("Semanas.Txt");
        expected.sort();
        QCOMPARE(filesIn(dir), expected);
        const QStringList settings = textfile::readLines(dir + QStringLiteral("/Automatica.Txt"));
        QCOMPARE(settings.at(2), QStringLiteral("A2026"));
        QCOMPARE(textfile::readLines(dir + QStringLiteral("/Semanas.Txt")).size(), weeksOfYear(2026).size());
    }
}

void TestCore::weeksOfTheYear_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("first");
    QTest::addColumn<int>("weeks");
    // 1 January 2023 falls in the week that began on Monday 26 December.
    QTest::newRow("1 January a Sunday") << 2023 << "26/12/202201/01/2023" << 53;
    QTest::newRow("1 January a Saturday") << 2022 << "27/12/202102/01/2022" << 53;
    QTest::newRow("1 January a Thursday") << 2026 << "29/12/202504/01/2026" << 53;
}

void TestCore::weeksOfTheYear()
{
    QFETCH(int, year);
    QFETCH(QString, first);
    QFETCH(int, weeks);
    const QStringList lines = weeksOfYear(year);
    QCOMPARE(lines.first(), first);
    QCOMPARE(lines.size(), weeks);
    for (const QString &line : lines)
        QCOMPARE(line.size(), 20);
}

QTEST_APPLESS_MAIN(TestCore)
#include "tst_core.moc"
