// The statistics year commands and the external statistics sets, through the main
// window's menu: "Abrir, Limpar (reiniciar) as Estatísticas", the manual close and
// open, writing and copying sets, and the statistics files to and from the mirror.
#include "platform/clickable_label.h"
#include "platform/file_group.h"
#include "statistics/stats_setup.h"
#include "statistics/tfgravarest.h"
#include "statistics/tflerest.h"
#include "statistics/weeks.h"
#include "support/modal.h"
#include "support/mouse.h"
#include "support/typing.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace clinora;
using namespace clinora::test;
using Kind = ScriptedDialogs::Kind;

namespace {

// A clinic whose statistics of 2012 are still open (year code A2012) when 2013 has
// begun: its weeks, a history, five attendances posted in December for doctor 1 and
// lines still pending for December and November.
void yearBehind(Fixture &f)
{
    openClinic(f, false, QStringLiteral("20/12/2012"));
    f.setSetting(3, QStringLiteral("A2012"));
    createWeeks(f.dir() + QStringLiteral("/Semanas.Txt"), 2012);
    QStringList history = f.read(files::kHistory);
    history[0] = QStringLiteral("00 2009 2010 2011");
    history[1] = QStringLiteral("51000100002000030");
    f.write(files::kHistory, history);
    setPosted(f, 1, 51, 1, 12, 5);
    f.write(files::kPendingMovements, {QStringLiteral("1 1213"), QStringLiteral("2 1122")});
}

QStringList linesOf(const QString &path)
{
    return textfile::readLines(path);
}

// The folder of the sets on a drive of the fixture: E -> drives/E/Consultas/Estatisticas.
QString setsOn(const Fixture &f, const char *drive)
{
    return f.drives() + QLatin1Char('/') + QLatin1String(drive) + QStringLiteral("/Consultas/Estatisticas");
}

const QStringList kSetFiles = {"DiaMedHora.Txt", "CodMed.Txt", "MedMeses.Txt", "SitMeses.Txt",
                               "EspMeses.Txt",   "Esp.Txt",    "Sit.Txt",      "Historico.Txt"};

// Every file of a set equal to the data folder's (or another folder's).
void compareSet(const QString &folder, const QString &source)
{
    for (const QString &name : kSetFiles)
        QCOMPARE(linesOf(folder + QLatin1Char('/') + name), linesOf(source + QLatin1Char('/') + name));
}

void choose(QComboBox *drives, const QString &drive)
{
    const int index = drives->findText(drive);
    QVERIFY2(index >= 0, qPrintable(drive));
    drives->setCurrentIndex(index);
}

} // namespace

class TestYearAndSets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { closeModals(); }
    void abrirLimparClosesTheYearBehind_data();
    void abrirLimparClosesTheYearBehind();
    void abrirLimparResetsTheOpenYearKeepingACopy();
    void abrirLimparAfterAManualClose();
    void manualCloseThenOpen();
    void writingASet();
    void setNamesThatAreNotOneFolder_data();
    void setNamesThatAreNotOneFolder();
    void unwritableTargetKeepsWhatWasThere_data();
    void unwritableTargetKeepsWhatWasThere();
    void copyingASet();
    void copyingASetThatLacksAFile();
    void statisticsToAndFromTheMirror();
    void readingASetLeavesTheOpenYearAsItIs();
    void readingWhereThereIsNoSet();
};

void TestYearAndSets::abrirLimparClosesTheYearBehind_data()
{
    QTest::addColumn<QDate>("today");
    QTest::newRow("10 January") << QDate(2013, 1, 10);
    QTest::newRow("15 February") << QDate(2013, 2, 15);
}

void TestYearAndSets::abrirLimparClosesTheYearBehind()
{
    QFETCH(QDate, today);
    Fixture f(today);
    yearBehind(f);
    Program p(f);
    f.dialogs.answerQuestion(true);
    p.trigger("ReinicializarEstatsticas1");
    QCOMPARE(
        f.dialogs.texts(Kind::Question),
        QStringList{"   Este procedimento irá abrir o ano de 2013. As Fichas\rde Atendimentos devem estar "
                    "atualizadas.\r\r            Tem certeza que deseja isso?"});
    // The pending lines were posted into 2012 before it was archived.
    const QString archive = f.dir() + QStringLiteral("/Estatisticas/Ano2012/");
    const QStringList archived = linesOf(archive + QStringLiteral("MedMeses.Txt"));
    QCOMPARE(archived[0].right(4), QStringLiteral("0008"));
    QCOMPARE(archived[1].mid(4 + 4 * 10, 4), QStringLiteral("0002"));
    compareSet(archive, archive); // all eight there
    const QStringList history = f.read(files::kHistory);
    QCOMPARE(history[0], QStringLiteral("00 2010 2011 2012"));
    QCOMPARE(history[1], QStringLiteral("51000200003000008"));
    QCOMPARE(history[2], QStringLiteral("52000000000000002"));
    QCOMPARE(f.read(files::kSettings).mid(1, 2), QStringList({"31/12/2012", "A2013"}));
    QCOMPARE(f.read(files::kPendingMovements), QStringList());
    QCOMPARE(f.read(files::kDoctorMonths)[0], QStringLiteral("1 51") + kZeros);
    QCOMPARE(f.read(files::kWeeks).first(), QStringLiteral("31/12/201206/01/2013"));
    checkFixedSizes(f);
    QCOMPARE(
        f.dialogs.texts(Kind::Information),
        QStringList{"As estatísticas de 2012 foram fechadas e guardadas na pasta Estatisticas\\Ano2012; as "
                    "de 2013 estão abertas."});
}

void TestYearAndSets::abrirLimparResetsTheOpenYearKeepingACopy()
{
    Fixture f;
    openClinic(f, false, QStringLiteral("07/12/2026"));
    createWeeks(f.dir() + QStringLiteral("/Semanas.Txt"), 2026);
    setPosted(f, 1, 51, 1, 3, 5);
    f.write(files::kPendingMovements, {QStringLiteral("1 0312")});
    Program p(f);
    const auto before = snapshot(f);
    f.dialogs.answerQuestion(false);
    p.trigger("ReinicializarEstatsticas1");
    QCOMPARE(f.dialogs.texts(),
             QStringList{
                 "Este procedimento irá alterar todos os arquivos de estatística \r\r           Tem certeza "
                 "que deseja isso?"});
    QCOMPARE(snapshot(f), before);

    f.dialogs.answerQuestion(true);
    p.trigger("ReinicializarEstatsticas1");
    QCOMPARE(f.read(files::kDoctorMonths)[0], QStringLiteral("1 51") + kZeros);
    QCOMPARE(f.read(files::kSpecialtyMonths), f.read(QStringLiteral("BaseEspMeses.Txt")));
    QCOMPARE(f.read(files::kPendingMovements), QStringList());
    QCOMPARE(f.read(files::kSettings).mid(1, 2), QStringList({"07/12/2026", "A2026"}));
    QCOMPARE(f.read(files::kWeeks).first(), QStringLiteral("29/12/202504/01/2026"));
    // What the reset replaced waits, as it was, in a folder named after the moment.
    const QString kept = f.dir() + QStringLiteral("/Estatisticas/Reinicio_2026-12-08_10-00-00/");
    QCOMPARE(QDir(kept).entryList(QDir::Files).size(), 11);
    for (const QString name :
         {"MedMeses.Txt", "EspMeses.Txt", "SitMeses.Txt", "MovMes.Txt", "PrevReal.Txt"}) {
        QFile file(kept + name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before.value(name));
    }
    QCOMPARE(f.dialogs.texts().last(),
             QStringLiteral(
                 "As estatísticas de 2026 foram reiniciadas.\r\rOs arquivos como estavam foram guardados "
                 "na pasta Estatisticas\\Reinicio_2026-12-08_10-00-00."));
    // A second reset in the same second keeps its own copy.
    f.dialogs.answerQuestion(true);
    p.trigger("ReinicializarEstatsticas1");
    QVERIFY(QFileInfo::exists(f.dir() +
                              QStringLiteral("/Estatisticas/Reinicio_2026-12-08_10-00-00_2/MedMeses.Txt")));
}

void TestYearAndSets::abrirLimparAfterAManualClose()
{
    // Closed by hand in January: what is pending belongs to 2027 and stays pending.
    Fixture f(QDate(2027, 1, 10));
    openClinic(f, false, QStringLiteral("09/01/2027"));
    f.setSetting(3, QStringLiteral("F2026"));
    setPosted(f, 1, 51, 1, 12, 4);
    f.write(files::kPendingMovements, {QStringLiteral("1 0112")});
    Program p(f);
    f.dialogs.answerQuestion(true);
    p.trigger("ReinicializarEstatsticas1");
    QVERIFY(f.dialogs.texts(Kind::Question)[0].startsWith(
        QStringLiteral("   Este procedimento irá abrir o ano de 2027.")));
    QCOMPARE(linesOf(f.dir() + QStringLiteral("/Estatisticas/Ano2026/MedMeses.Txt"))[0].right(4),
             QStringLiteral("0004"));
    QCOMPARE(f.read(files::kPendingMovements), QStringList{QStringLiteral("1 0112")});
    QCOMPARE(f.read(files::kDoctorMonths)[0], QStringLiteral("1 51") + kZeros);
    QCOMPARE(f.read(files::kSettings).mid(1, 2), QStringList({"31/12/2026", "A2027"}));
    QCOMPARE(f.read(files::kHistory)[1].right(5), QStringLiteral("00004"));

    // A year code ahead of the computer's date is not closed.
    f.setSetting(3, QStringLiteral("A2030"));
    f.context().settings.setYearState(QStringLiteral("A2030"));
    const auto before = snapshot(f);
    f.dialogs.clear();
    p.trigger("ReinicializarEstatsticas1");
    QCOMPARE(f.dialogs.texts(),
             QStringList{
                 "As estatísticas abertas são de 2030, um ano que ainda não chegou (hoje é 2027). Confira a "
                 "data do computador."});
    QCOMPARE(snapshot(f), before);
}

void TestYearAndSets::manualCloseThenOpen()
{
    Fixture f(QDate(2027, 1, 10));
    openClinic(f, false, QStringLiteral("09/01/2027"));
    createWeeks(f.dir() + QStringLiteral("/Semanas.Txt"), 2026);
    QStringList history = f.read(files::kHistory);
    history[0] = QStringLiteral("00 2023 2024 2025");
    history[1] = QStringLiteral("51000100002000030");
    f.write(files::kHistory, history);
    setPosted(f, 1, 51, 1, 11, 5);
    const QStringList pending = {"1 1213", "1 0112", "2 0221"};
    f.write(files::kPendingMovements, pending);
    Program p(f);
    QAction *close = p.window.menuItem(QStringLiteral("FechamentodoAno1"));
    QAction *open = p.window.menuItem(QStringLiteral("AbrirAno1"));
    QAction *reset = p.window.menuItem(QStringLiteral("ReinicializarEstatsticas1"));
    QVERIFY(!close->isVisible() && !close->isEnabled() && !open->isVisible() && !open->isEnabled());
    QVERIFY(reset->isVisible());
    // The pair is delivered hidden and disabled; a clinic that closes by hand has it on.
    close->setVisible(true);
    close->setEnabled(true);

    // The close writes the year's set: here onto the data folder's own drive.
    onModal<TFGravarEst>([&](TFGravarEst *w) {
        QCOMPARE(w->CBDrive->currentText(), QStringLiteral("C:"));
        typeOver(w->ENome, QStringLiteral("2026"));
        test::click(w->Button1);
    });
    p.trigger("FechamentodoAno1");
    QCOMPARE(doctorCount(f, 1, 12), 3);
    QCOMPARE(doctorCount(f, 1, 11), 5);
    QCOMPARE(f.read(files::kPendingMovements), QStringList({"1 0112", "2 0221"}));
    QCOMPARE(f.read(QStringLiteral("Movimento.Txt")), pending);
    QCOMPARE(f.read(files::kSettings)[2], QStringLiteral("F2026"));
    QVERIFY(!reset->isVisible());
    QVERIFY(open->isVisible() && !open->isEnabled());
    compareSet(f.dir() + QStringLiteral("/Estatisticas/2026"), f.dir());
    QCOMPARE(f.dialogs.texts().last(),
             QStringLiteral(
                 "Após a gravação completa, retire o  disquete com a \"Estatística Anual\"\ne recoloque o "
                 "disquete de Operação. Você está pronto?"));

    // A December line still pending stops the open.
    open->setEnabled(true);
    f.write(files::kPendingMovements, {"1 1211", "1 0112", "2 0221"});
    const auto before = snapshot(f);
    p.trigger("AbrirAno1");
    QCOMPARE(f.dialogs.texts().last(),
             QStringLiteral(
                 "Há consultas de dezembro que ainda não foram processadas:\n\n            Você deve fechar "
                 "novamente o ano\n\nOpção: >>>  \"Estatísticas ... Fechar Estatísticas do ano que "
                 "termina\""));
    QCOMPARE(snapshot(f), before);

    f.write(files::kPendingMovements, {"1 0112", "2 0221"});
    p.trigger("AbrirAno1");
    history = f.read(files::kHistory);
    QCOMPARE(history[0], QStringLiteral("00 2024 2025 2026"));
    QCOMPARE(history[1], QStringLiteral("51000200003000008"));
    QCOMPARE(f.read(files::kDoctorMonths)[0], QStringLiteral("1 51") + kZeros);
    QCOMPARE(f.read(files::kPendingMovements), QStringList({"1 0112", "2 0221"}));
    QCOMPARE(f.read(files::kSettings).mid(1, 2), QStringList({"09/01/2027", "A2027"}));
    QCOMPARE(f.read(files::kWeeks).first(), QStringLiteral("28/12/202603/01/2027"));
    checkFixedSizes(f);
    QVERIFY(!close->isVisible() && !open->isVisible() && reset->isVisible());
}

void TestYearAndSets::writingASet()
{
    Fixture f;
    openClinic(f, false, QStringLiteral("07/12/2026"));
    setPosted(f, 1, 51, 1, 3, 5);
    QDir().mkpath(f.drives() + QStringLiteral("/E"));
    Program p(f);
    const QString target = setsOn(f, "E") + QStringLiteral("/2026");
    onModal<TFGravarEst>([&](TFGravarEst *w) {
        QCOMPARE(w->windowTitle(), QStringLiteral("Gravar Estatísticas"));
        // Another drive than the data folder's comes first.
        QCOMPARE(w->CBDrive->currentText(), QStringLiteral("E:"));
        typeOver(w->ENome, QStringLiteral("2026"));
        test::click(w->Button1);
    });
    p.trigger("GravarEstatsticas1");
    compareSet(target, f.dir());
    QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral(
                                    "As estatísticas foram gravadas em E:\\Consultas\\Estatisticas\\2026.")});
    // Written again after a change: No keeps the set and the window; Yes writes.
    setPosted(f, 1, 51, 1, 3, 9);
    const QStringList old = linesOf(target + QStringLiteral("/MedMeses.Txt"));
    f.dialogs.answerQuestion(false);
    f.dialogs.answerQuestion(true);
    onModal<TFGravarEst>([&](TFGravarEst *w) {
        typeOver(w->ENome, QStringLiteral("2026"));
        test::click(w->Button1);
        QVERIFY(w->isVisible());
        QCOMPARE(linesOf(target + QStringLiteral("/MedMeses.Txt")), old);
        test::click(w->Button1);
        QVERIFY(!w->isVisible());
    });
    p.trigger("GravarEstatsticas1");
    QCOMPARE(f.dialogs.texts(Kind::Question),
             QStringList(2, QStringLiteral("Este Diretório já existe, deseja gravar sobre ele?")));
    compareSet(target, f.dir());
}

void TestYearAndSets::setNamesThatAreNotOneFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    const auto notOne = [](const char *name) {
        return QStringLiteral(
                   "\"%1\" não serve de nome de diretório: use um nome só, sem \\ / : * ? \" < > |, nem "
                   "\".\" ou \"..\".")
            .arg(QString::fromUtf8(name));
    };
    QTest::newRow("empty") << ""
                           << "Digite o nome do diretório das estatísticas.";
    QTest::newRow("blanks") << "   "
                            << "Digite o nome do diretório das estatísticas.";
    QTest::newRow("dot") << "." << notOne(".");
    QTest::newRow("the folder above") << ".." << notOne("..");
    QTest::newRow("a path") << "a/b" << notOne("a/b");
    QTest::newRow("a Windows path") << "..\\x" << notOne("..\\x");
    QTest::newRow("a drive") << "C:x" << notOne("C:x");
}

void TestYearAndSets::setNamesThatAreNotOneFolder()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    Fixture f;
    openClinic(f, false, QStringLiteral("07/12/2026"));
    QDir().mkpath(setsOn(f, "E"));
    Program p(f);
    onModal<TFGravarEst>([&](TFGravarEst *w) {
        typeOver(w->ENome, name);
        test::click(w->Button1);
        QVERIFY(w->isVisible());
        w->Button2->click();
    });
    p.trigger("GravarEstatsticas1");
    QCOMPARE(f.dialogs.texts(), QStringList{message});
    QCOMPARE(QDir(f.drives() + QStringLiteral("/E")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("Consultas")});
    QCOMPARE(QDir(setsOn(f, "E")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void TestYearAndSets::unwritableTargetKeepsWhatWasThere_data()
{
    QTest::addColumn<bool>("existing");
    QTest::newRow("a new set whose folder cannot be made") << false;
    QTest::newRow("a set whose file cannot be written") << true;
}

void TestYearAndSets::unwritableTargetKeepsWhatWasThere()
{
    QFETCH(bool, existing);
    Fixture f;
    openClinic(f, false, QStringLiteral("07/12/2026"));
    const QString target = setsOn(f, "E") + QStringLiteral("/2026");
    if (existing) {
        QDir().mkpath(target);
        for (const QString &name : kSetFiles)
            textfile::writeLines(target + QLatin1Char('/') + name, {QStringLiteral("antigo")});
        // The history cannot be written, as on a full disk, after the files before it.
        QDir().mkpath(target + QStringLiteral("/Historico.Txt.novo~/x"));
    } else {
        // Where the folder should go there is a file.
        QDir().mkpath(f.drives() + QStringLiteral("/E/Consultas"));
        textfile::writeLines(setsOn(f, "E"), {QStringLiteral("x")});
    }
    Program p(f);
    f.dialogs.answerQuestion(true);
    onModal<TFGravarEst>([&](TFGravarEst *w) {
        typeOver(w->ENome, QStringLiteral("2026"));
        test::click(w->Button1);
        QVERIFY(w->isVisible());
        w->Button2->click();
    });
    p.trigger("GravarEstatsticas1");
    QCOMPARE(f.dialogs.texts(Kind::Error).size(), 1);
    QVERIFY2(f.dialogs.texts(Kind::Error)[0].startsWith(QStringLiteral("Não foi possível gravar o arquivo")),
             qPrintable(f.dialogs.texts(Kind::Error)[0]));
    if (existing) {
        for (const QString &name : kSetFiles)
            QCOMPARE(linesOf(target + QLatin1Char('/') + name), QStringList{QStringLiteral("antigo")});
    } else {
        QCOMPARE(linesOf(setsOn(f, "E")), QStringList{QStringLiteral("x")});
    }
    QVERIFY(!QFileInfo::exists(f.dir() + QLatin1Char('/') + FileGroup::listName()));
}

void TestYearAndSets::copyingASet()
{
    Fixture f;
    openClinic(f, false, QStringLiteral("07/12/2026"));
    const QString source = f.dir() + QStringLiteral("/Estatisticas/Ano2025");
    QDir().mkpath(source);
    for (const QString &name : kSetFiles)
        QFile::copy(f.dir() + QLatin1Char('/') + name, source + QLatin1Char('/') + name);
    QDir().mkpath(f.drives() + QStringLiteral("/E"));
    Program p(f);
    onModal<TFCopiarEst>([&](TFCopiarEst *w) {
        QCOMPARE(w->DriveIni->currentText(), QStringLiteral("C:"));
        QCOMPARE(w->DiretorioIni->count(), 1);
        QListWidgetItem *set = w->DiretorioIni->item(0);
        QCOMPARE(set->text(), QStringLiteral("Ano2025"));
        // No line chosen.
        test::click(w->Button1);
        test::click(w->DiretorioIni->viewport(), w->DiretorioIni->visualItemRect(set).center());
        // Onto itself.
        choose(w->DriveFim, QStringLiteral("C:"));
        test::click(w->Button1);
        QVERIFY(w->isVisible());
        choose(w->DriveFim, QStringLiteral("E:"));
        test::click(w->Button1);
        QVERIFY(!w->isVisible());
    });
    p.trigger("CopiarEstatsticas1");
    QCOMPARE(
        f.dialogs.texts(),
        QStringList(
            {"Selecione o diretório da Estatística",
             "A origem e o destino são o mesmo diretório (C:\\Consultas\\Estatisticas\\Ano2025): escolha "
             "outro drive de destino.",
             "As estatísticas foram gravadas em E:\\Consultas\\Estatisticas\\Ano2025."}));
    compareSet(setsOn(f, "E") + QStringLiteral("/Ano2025"), source);
}

void TestYearAndSets::copyingASetThatLacksAFile()
{
    Fixture f;
    openClinic(f, false, QStringLiteral("07/12/2026"));
    const QString source = f.dir() + QStringLiteral("/Estatisticas/Ano2025");
    QDir().mkpath(source);
    for (const QString &name : kSetFiles) {
        if (name != QLatin1String("Esp.Txt"))
            QFile::copy(f.dir() + QLatin1Char('/') + name, source + QLatin1Char('/') + name);
    }
    QDir().mkpath(f.drives() + QStringLiteral("/E"));
    Program p(f);
    onModal<TFCopiarEst>([&](TFCopiarEst *w) {
        QListWidgetItem *set = w->DiretorioIni->item(0);
        test::click(w->DiretorioIni->viewport(), w->DiretorioIni->visualItemRect(set).center());
        choose(w->DriveFim, QStringLiteral("E:"));
        test::click(w->Button1);
        w->Button2->click();
    });
    p.trigger("CopiarEstatsticas1");
    QCOMPARE(f.dialogs.texts().size(), 1);
    QVERIFY(f.dialogs.texts()[0].startsWith(QStringLiteral("Faltam arquivos das estatísticas em ")));
    QVERIFY(f.dialogs.texts()[0].endsWith(QStringLiteral(": Esp.Txt. Nada foi gravado.")));
    QVERIFY(!QFileInfo::exists(setsOn(f, "E") + QStringLiteral("/Ano2025")));
}

void TestYearAndSets::statisticsToAndFromTheMirror()
{
    Fixture f;
    openClinic(f, false, QStringLiteral("07/12/2026"));
    setPosted(f, 1, 51, 1, 3, 5);
    createWeeks(f.dir() + QStringLiteral("/Semanas.Txt"), 2026);
    const QStringList nine = {"MedMeses.Txt",  "EspMeses.Txt",     "SitMeses.Txt",
                              "MovMes.Txt",    "AnoFindoNovo.Txt", "Semanas.Txt",
                              "Historico.Txt", "PrevReal.Txt",     "Automatica.Txt"};
    Program p(f);
    // Mirroring off: nothing to copy to.
    f.dialogs.answerQuestion(true);
    p.trigger("SalvarEstatsticasnoDisquete1");
    QCOMPARE(f.dialogs.texts(),
             QStringList({"Se estiver usando o disquete, instale-o agora... Você está pronto?",
                          "O espelhamento está desativado: nada foi copiado."}));

    mirrorInStep(f);
    f.context().settings.setMirroring(QStringLiteral("Com"));
    f.dialogs.clear();
    f.dialogs.answerQuestion(true);
    p.trigger("SalvarEstatsticasnoDisquete1");
    for (const QString &name : nine)
        QCOMPARE(linesOf(f.mirror() + QLatin1Char('/') + name), f.read(name));

    // Back from the mirror, whole.
    QStringList months = linesOf(f.mirror() + QStringLiteral("/MedMeses.Txt"));
    months[0] = QStringLiteral("1 510009") + QString(44, QLatin1Char('0'));
    textfile::writeLines(f.mirror() + QStringLiteral("/MedMeses.Txt"), months);
    f.dialogs.clear();
    f.dialogs.answerQuestion(true);
    p.trigger("RecuperarEstatsticasdoDisquete1");
    QCOMPARE(f.dialogs.texts()[0],
             QStringLiteral("Se estiver usando o disquete, instale-o agora....Você está pronto?"));
    QCOMPARE(f.read(files::kDoctorMonths), months);

    // A damaged file in the mirror is named, and nothing comes back.
    QStringList situations = linesOf(f.mirror() + QStringLiteral("/SitMeses.Txt"));
    situations.removeLast();
    textfile::writeLines(f.mirror() + QStringLiteral("/SitMeses.Txt"), situations);
    months[0] = QStringLiteral("1 510001") + QString(44, QLatin1Char('0'));
    textfile::writeLines(f.mirror() + QStringLiteral("/MedMeses.Txt"), months);
    const auto before = snapshot(f);
    f.dialogs.clear();
    f.dialogs.answerQuestion(true);
    p.trigger("RecuperarEstatsticasdoDisquete1");
    QCOMPARE(f.dialogs.texts(Kind::Error).size(), 1);
    QVERIFY(f.dialogs.texts(Kind::Error)[0].contains(QStringLiteral("SitMeses.Txt")));
    QCOMPARE(snapshot(f), before);
}

void TestYearAndSets::readingASetLeavesTheOpenYearAsItIs()
{
    Fixture f;
    openClinic(f, false, QStringLiteral("07/12/2026"));
    setPosted(f, 1, 51, 1, 3, 5);
    QDir().mkpath(f.drives() + QStringLiteral("/E"));
    Program p(f);
    onModal<TFGravarEst>([&](TFGravarEst *w) {
        typeOver(w->ENome, QStringLiteral("2026"));
        test::click(w->Button1);
    });
    p.trigger("GravarEstatsticas1");
    // The open year goes on after the set was written.
    setPosted(f, 1, 51, 1, 3, 9);
    const auto before = snapshot(f);
    const QStringList doctors = f.context().doctors.codMedLines();

    QString fromSet;
    onModal<TFLerEst>([&](TFLerEst *r) {
        QCOMPARE(r->windowTitle(), QStringLiteral("Ler Estatísticas"));
        QVERIFY(!r->LBDiretorio->isVisible() && !r->Button2->isVisible());
        choose(r->CBDrive, QStringLiteral("E:"));
        test::click(r->Panel1);
        QVERIFY(r->LBDiretorio->isVisible());
        QCOMPARE(r->LBDiretorio->count(), 1);
        QCOMPARE(r->LBDiretorio->item(0)->text(), QStringLiteral("2026"));
        test::doubleClickOn(r->LBDiretorio, r->LBDiretorio->model()->index(0, 0));
        QVERIFY(r->Button2->isVisible());
        test::click(r->Button2);
    });
    onModal<TFRelatorios>([&](TFRelatorios *s) {
        fromSet = reportCell(s, QStringLiteral("Dra. Ana Souza"), 3);
        s->Button2->click();
    });
    p.trigger("LerEstatsticas1");
    QCOMPARE(fromSet, QStringLiteral("0005"));
    QVERIFY(f.dialogs.texts(Kind::Error).isEmpty());
    // The open year's files and register are as they were, and its report shows them.
    QCOMPARE(snapshot(f), before);
    QCOMPARE(f.context().doctors.codMedLines(), doctors);
    QString openYear;
    onModal<TFRelatorios>([&](TFRelatorios *s) {
        openYear = reportCell(s, QStringLiteral("Dra. Ana Souza"), 3);
        s->Button2->click();
    });
    p.trigger("Relatrios1");
    QCOMPARE(openYear, QStringLiteral("0009"));
}

void TestYearAndSets::readingWhereThereIsNoSet()
{
    Fixture f;
    openClinic(f, false, QStringLiteral("07/12/2026"));
    QDir().mkpath(f.drives() + QStringLiteral("/E"));
    QDir().mkpath(setsOn(f, "F") + QStringLiteral("/vazio"));
    Program p(f);
    bool reportShown = false;
    onModal<TFRelatorios>([&](TFRelatorios *s) {
        reportShown = true;
        s->Button2->click();
    });
    onModal<TFLerEst>([&](TFLerEst *r) {
        choose(r->CBDrive, QStringLiteral("E:"));
        test::click(r->Panel1);
        QVERIFY(!r->LBDiretorio->isVisible());
        // A folder that holds no statistics.
        choose(r->CBDrive, QStringLiteral("F:"));
        test::click(r->Panel1);
        test::doubleClickOn(r->LBDiretorio, r->LBDiretorio->model()->index(0, 0));
        test::click(r->Button2);
        QVERIFY(r->isVisible() && !r->LBDiretorio->isVisible());
        test::click(r->Button1);
    });
    p.trigger("LerEstatsticas1");
    QCOMPARE(f.dialogs.texts(),
             QStringList({"Não existe o Diretório Consultas\\Estatisticas no drive E:",
                          "Não há estatísticas no Diretório F:\\Consultas\\Estatisticas\\vazio"}));
    QVERIFY(!reportShown);
}

QTEST_MAIN(TestYearAndSets)
#include "tst_year_and_sets.moc"
