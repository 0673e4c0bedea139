// The statistics entered by hand, through the main window's menu as a receptionist
// opens them: the movement entry in its collective and individual layouts.
#include "app/session.h"
#include "app/tfprincipal.h"
#include "doctors/tfhorarios.h"
#include "platform/clickable_label.h"
#include "platform/text_file.h"
#include "statistics/stats_setup.h"
#include "statistics/tfentramov.h"
#include "statistics/tffichamed.h"
#include "support/modal.h"
#include "support/typing.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace clinora;
using namespace clinora::test;
using Kind = ScriptedDialogs::Kind;

namespace {

// Start-up and the main window with its statistics menu (--estatisticas).
struct Program
{
    explicit Program(Fixture &f) : window(f.context())
    {
        session::startUp(f.context());
        window.FormCreate();
        window.showStatisticsMenu();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    void trigger(const char *item) { window.menuItem(QLatin1String(item))->trigger(); }
    TFPrincipal window;
};

// One collective entry typed box by box and confirmed with a click.
void enter(TFEntraMov *m, const QString &doctor, const QString &situation, const QString &quantity,
           const QString &month)
{
    typeOver(m->Edit1, doctor);
    typeOver(m->Edit2, situation);
    typeOver(m->Edit3, quantity);
    typeOver(m->Edit4, month);
    QTest::mouseClick(m->BConfirma, Qt::LeftButton);
}

// The mirror holds the system's stamp: the consistency check lets the command go on.
void mirrorInStep(Fixture &f)
{
    f.mirroringOn();
    textfile::writeLines(f.mirror() + QStringLiteral("/CodEsp.Txt"), f.read(files::kSystemStamp));
}

const QString kNotOpen = QStringLiteral(
    "   Para realizar a gravação desta Ficha, você precisa primeiro\nabrir as estatísticas do ano de 2025\n\n"
    "         == use a opção [ Abrir, Limpar (reiniciar) as Estatísticas ] == ");

} // namespace

class TestEntryScreens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void collectiveEntryIsPostedOnClosing();
    void collectiveEntryRefuses_data();
    void collectiveEntryRefuses();
    void correctionsCountWhatIsPendingAndCollected();
    void individualEntryRecordsTheSheetAndPostsOnClosing();
    void individualEntryRefuses_data();
    void individualEntryRefuses();
    void entryByHandSwitchesTheAutomaticEntryOff_data();
    void entryByHandSwitchesTheAutomaticEntryOff();
};

void TestEntryScreens::collectiveEntryIsPostedOnClosing()
{
    Fixture f;
    openClinic(f, false, QStringLiteral("07/12/2026"));
    setPosted(f, 1, 51, 1, 3, 5);
    Program p(f);
    bool listShown = false;
    onModal<TFEntraMov>([&](TFEntraMov *m) {
        QCOMPARE(m->windowTitle(), QStringLiteral("Entrada de Movimentos"));
        QCOMPARE(m->Label8->text(), QStringLiteral("Entrada Coletiva das Fichas"));
        QVERIFY(m->Edit1->isVisible() && m->BConfirma->isVisible());
        QVERIFY(!m->Edit5->isVisible() && !m->Button4->isVisible() && !m->Button2->isVisible());
        QCOMPARE(m->Edit3->text(), QStringLiteral("1"));
        QCOMPARE(m->Edit7->text(), QStringLiteral("2026"));
        enter(m, QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("4"), QStringLiteral("3"));
        // The doctor list between two entries keeps the entries made.
        onModal<TFHorarios>([&](TFHorarios *list) {
            listShown = true;
            QCOMPARE(list->windowTitle(), QStringLiteral("Relação dos Médicos"));
            QCOMPARE(list->ListBox1->count(), 2);
            QVERIFY(list->ListBox1->item(1)->text().startsWith(QStringLiteral("2    Dr. Bruno Lima")));
            list->reject();
        });
        QTest::mouseClick(m->Label1, Qt::LeftButton);
        enter(m, QStringLiteral(" 2"), QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("3"));
        // A correction: "- 3" is taken as -3.
        enter(m, QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("- 3"), QStringLiteral("3"));
        QCOMPARE(m->Edit3->text(), QStringLiteral("-3"));
        QCOMPARE(m->LBEntradas->count(), 3);
        QCOMPARE(f.read(files::kPendingMovements), QStringList());
        QTest::mouseClick(m->Button1, Qt::LeftButton);
    });
    p.trigger("EntradacoletivadeFichasMdicas1");
    QVERIFY(listShown);
    QVERIFY(!p.window.findChild<TFEntraMov *>()->isVisible());
    QCOMPARE(f.dialogs.shown().size(), 0);
    // Posted on closing: 5 + 4 - 3 for doctor 1 in March, 2 for doctor 2.
    QCOMPARE(f.read(files::kPendingMovements), QStringList());
    QCOMPARE(doctorCount(f, 1, 3), 6);
    QCOMPARE(doctorCount(f, 2, 3), 2);
    QCOMPARE(specialtyCount(f, 51, 3), 6);
    QCOMPARE(specialtyCount(f, 52, 3), 2);
    QCOMPARE(situationCount(f, 1, 51, 3), 6);
    QCOMPARE(situationCount(f, 2, 52, 3), 2);
    checkFixedSizes(f);

    // Opened again, the list starts empty and closing without an entry writes nothing.
    const auto before = snapshot(f);
    onModal<TFEntraMov>([&](TFEntraMov *m) {
        QCOMPARE(m->LBEntradas->count(), 0);
        m->Button1->click();
    });
    p.trigger("EntradacoletivadeFichasMdicas1");
    QCOMPARE(snapshot(f), before);
}

void TestEntryScreens::collectiveEntryRefuses_data()
{
    QTest::addColumn<QString>("doctor");
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("message");
    const QString empty = QStringLiteral("Todos os campos devem ser preenchidos");
    const QString whole =
        QStringLiteral("O campo Quantidade deve ser um número inteiro.\n\nEle pode variar de -999 até 9999.");
    const QString places = QStringLiteral(
        "O campo Quantidade deve ter no máximo, 4 posições.\n\nEle pode variar de -999 até 9999.");
    const QString month = QStringLiteral("Mês inválido: de 1 a 12");
    const QString doctor = QStringLiteral("Código do Médico Inexistente");
    const QString situation = QStringLiteral("Código de Situação Inexistente");
    QTest::newRow("no doctor") << ""
                               << "1"
                               << "1"
                               << "3"
                               << "2026" << empty;
    QTest::newRow("a blank quantity") << "1"
                                      << "1"
                                      << " "
                                      << "3"
                                      << "2026" << empty;
    QTest::newRow("no year") << "1"
                             << "1"
                             << "1"
                             << "3"
                             << "" << empty;
    QTest::newRow("letters") << "1"
                             << "1"
                             << "abc"
                             << "3"
                             << "2026" << whole;
    QTest::newRow("a fraction") << "1"
                                << "1"
                                << "1.5"
                                << "3"
                                << "2026" << whole;
    QTest::newRow("two minus signs") << "1"
                                     << "1"
                                     << "--3"
                                     << "3"
                                     << "2026" << whole;
    QTest::newRow("five places") << "1"
                                 << "1"
                                 << "10000"
                                 << "3"
                                 << "2026" << places;
    QTest::newRow("month 0") << "1"
                             << "1"
                             << "1"
                             << "0"
                             << "2026" << month;
    QTest::newRow("month 13") << "1"
                              << "1"
                              << "1"
                              << "13"
                              << "2026" << month;
    QTest::newRow("month x") << "1"
                             << "1"
                             << "1"
                             << "x"
                             << "2026" << month;
    QTest::newRow("situation 0") << "1"
                                 << "0"
                                 << "1"
                                 << "3"
                                 << "2026" << situation;
    QTest::newRow("situation a") << "1"
                                 << "a"
                                 << "1"
                                 << "3"
                                 << "2026" << situation;
    QTest::newRow("an unnamed situation") << "1"
                                          << "9"
                                          << "1"
                                          << "3"
                                          << "2026" << situation;
    QTest::newRow("doctor 0") << "0"
                              << "1"
                              << "1"
                              << "3"
                              << "2026" << doctor;
    QTest::newRow("doctor 51") << "51"
                               << "1"
                               << "1"
                               << "3"
                               << "2026" << doctor;
    QTest::newRow("a free code") << "7"
                                 << "1"
                                 << "1"
                                 << "3"
                                 << "2026" << doctor;
    QTest::newRow("another year") << "1"
                                  << "1"
                                  << "1"
                                  << "3"
                                  << "2025" << kNotOpen;
    // Five posted and two pending for doctor 1 in March, all in situation 1.
    QTest::newRow("below the doctor's month")
        << "1"
        << "1"
        << "-8"
        << "3"
        << "2026" << QStringLiteral("No mês considerado há apenas 7 consultas para o médico");
    QTest::newRow("below the situation's month")
        << "1"
        << "2"
        << "-1"
        << "3"
        << "2026" << QStringLiteral("No mês considerado há apenas 0 consultas na situação 2");
}

void TestEntryScreens::collectiveEntryRefuses()
{
    QFETCH(QString, doctor);
    QFETCH(QString, situation);
    QFETCH(QString, quantity);
    QFETCH(QString, month);
    QFETCH(QString, year);
    QFETCH(QString, message);
    Fixture f;
    openClinic(f, false, QStringLiteral("07/12/2026"));
    setPosted(f, 1, 51, 1, 3, 5);
    f.write(files::kPendingMovements, {QStringLiteral("1 0312")});
    Program p(f);
    const auto before = snapshot(f);
    onModal<TFEntraMov>([&](TFEntraMov *m) {
        typeOver(m->Edit7, year);
        enter(m, doctor, situation, quantity, month);
        QCOMPARE(m->LBEntradas->count(), 0);
        QTest::mouseClick(m->Button1, Qt::LeftButton);
    });
    p.trigger("EntradacoletivadeFichasMdicas1");
    QCOMPARE(f.dialogs.texts(), QStringList{message});
    // Nothing was written: the pending line still waits, the tables are as they were.
    QCOMPARE(snapshot(f), before);
}

void TestEntryScreens::correctionsCountWhatIsPendingAndCollected()
{
    Fixture f;
    openClinic(f, false, QStringLiteral("07/12/2026"));
    setPosted(f, 1, 51, 1, 3, 5);
    f.write(files::kPendingMovements, {QStringLiteral("1 0312")});
    Program p(f);
    onModal<TFEntraMov>([&](TFEntraMov *m) {
        // Seven wait for March: all seven may be taken back, and then not one more.
        enter(m, QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("-7"), QStringLiteral("3"));
        enter(m, QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("-1"), QStringLiteral("03"));
        QCOMPARE(f.dialogs.texts(),
                 QStringList{QStringLiteral("No mês considerado há apenas 0 consultas para o médico")});
        // A positive entry collected first makes room for its own correction.
        enter(m, QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("9999"), QStringLiteral("4"));
        enter(m, QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("-999"), QStringLiteral("4"));
        QCOMPARE(m->LBEntradas->count(), 3);
        QTest::mouseClick(m->Button1, Qt::LeftButton);
    });
    p.trigger("EntradacoletivadeFichasMdicas1");
    QCOMPARE(f.dialogs.texts().size(), 1);
    QCOMPARE(f.read(files::kPendingMovements), QStringList());
    QCOMPARE(doctorCount(f, 1, 3), 0);
    QCOMPARE(situationCount(f, 1, 51, 3), 0);
    QCOMPARE(specialtyCount(f, 51, 3), 0);
    QCOMPARE(doctorCount(f, 2, 4), 9000);
    QCOMPARE(situationCount(f, 1, 52, 4), 9000);
    checkFixedSizes(f);
}

void TestEntryScreens::individualEntryRecordsTheSheetAndPostsOnClosing()
{
    Fixture f;
    openClinic(f, false, QStringLiteral("07/12/2026"));
    f.setTimes(1, 4, {QStringLiteral("08:00"), QStringLiteral("08:30")});
    f.addRows({booked(QStringLiteral("09/12/26"), 2, 1, QStringLiteral("2"), QStringLiteral("Rita Alves"))});
    Program p(f);
    onModal<TFEntraMov>([&](TFEntraMov *m) {
        QCOMPARE(m->Label8->text(), QStringLiteral("Entrada Individual das Fichas"));
        QVERIFY(m->Edit5->isVisible() && m->Edit6->isVisible() && m->Button4->isVisible());
        QVERIFY(!m->Edit1->isVisible() && !m->BConfirma->isVisible() && !m->Button2->isVisible());
        QCOMPARE(m->Edit5->text(), QStringLiteral("08/12/26"));
        typeOver(m->Edit5, QStringLiteral("9/12/2026"));
        typeOver(m->Edit6, QStringLiteral("1"));
        QTest::mouseClick(m->Button4, Qt::LeftButton);
        QCOMPARE(m->Edit5->text(), QStringLiteral("09/12/26"));
        TFFichaMed &sheet = m->fichaMed();
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));
        QVERIFY(sheet.BProcessar->isVisible());
        QCOMPARE(sheet.Label28->text(), QStringLiteral("Dra. Ana Souza"));
        QCOMPARE(sheet.times[1]->text(), QStringLiteral("08:30"));
        QCOMPARE(sheet.patients[1]->text(), QStringLiteral("Rita Alves"));
        QTest::mouseClick(sheet.BProcessar, Qt::LeftButton);
        QCOMPARE(f.read(files::kPendingMovements), QStringList{QStringLiteral("1 1221")});
        QTest::mouseClick(sheet.BSair, Qt::LeftButton);
        QTest::mouseClick(m->Button1, Qt::LeftButton);
    });
    p.trigger("UsandoasFichasMdicas1");
    QVERIFY(f.dialogs.shown().isEmpty());
    // The recorded sheet was posted when the form closed.
    QCOMPARE(f.read(files::kPendingMovements), QStringList());
    QCOMPARE(doctorCount(f, 1, 12), 1);
    QCOMPARE(situationCount(f, 2, 51, 12), 1);
    QCOMPARE(f.read(files::kWeeklyCounts)[49 * 50], QStringLiteral("00010001"));
}

void TestEntryScreens::individualEntryRefuses_data()
{
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("message");
    const QString doctor = QStringLiteral("Código do Médico Inexistente");
    QTest::newRow("doctor 0") << "09/12/26"
                              << "0" << doctor;
    QTest::newRow("doctor 51") << "09/12/26"
                               << "51" << doctor;
    QTest::newRow("a free code") << "09/12/26"
                                 << "7" << doctor;
    QTest::newRow("no code") << "09/12/26"
                             << "" << doctor;
    QTest::newRow("letters for a code") << "09/12/26"
                                        << "x" << doctor;
    QTest::newRow("no such day") << "32/12/26"
                                 << "1"
                                 << "\"32/12/26\" não é uma data: digite o dia como dd/mm/aa.";
    QTest::newRow("letters for a day") << "abc"
                                       << "1"
                                       << "\"abc\" não é uma data: digite o dia como dd/mm/aa.";
}

void TestEntryScreens::individualEntryRefuses()
{
    QFETCH(QString, day);
    QFETCH(QString, code);
    QFETCH(QString, message);
    Fixture f;
    openClinic(f, false, QStringLiteral("07/12/2026"));
    Program p(f);
    const auto before = snapshot(f);
    onModal<TFEntraMov>([&](TFEntraMov *m) {
        typeOver(m->Edit5, day);
        typeOver(m->Edit6, code);
        QTest::mouseClick(m->Button4, Qt::LeftButton);
        QVERIFY(!m->fichaMed().isVisible());
        QTest::mouseClick(m->Button1, Qt::LeftButton);
    });
    p.trigger("UsandoasFichasMdicas1");
    QCOMPARE(f.dialogs.texts(), QStringList{message});
    QCOMPARE(snapshot(f), before);
}

void TestEntryScreens::entryByHandSwitchesTheAutomaticEntryOff_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("question");
    QTest::addColumn<bool>("yes");
    const QString individual = QStringLiteral(
        "A partir de agora, as entradas das Fichas de Atendimentos não serão mais automáticas. "
        "Você terá que entrá-las manualmente.  ");
    const QString collective =
        QStringLiteral("A partir de hoje as entradas das Fichas de Atendimentos não serão mais automáticas. "
                       "Você terá que entrá-las manualmente.  ");
    QTest::newRow("individual, yes") << "UsandoasFichasMdicas1" << individual << true;
    QTest::newRow("individual, no") << "UsandoasFichasMdicas1" << individual << false;
    QTest::newRow("collective, yes") << "EntradacoletivadeFichasMdicas1" << collective << true;
    QTest::newRow("collective, no") << "EntradacoletivadeFichasMdicas1" << collective << false;
}

void TestEntryScreens::entryByHandSwitchesTheAutomaticEntryOff()
{
    QFETCH(QString, item);
    QFETCH(QString, question);
    QFETCH(bool, yes);
    Fixture f;
    openClinic(f, true, QStringLiteral("08/12/2026"));
    mirrorInStep(f);
    Program p(f);
    QAction *automatic = p.window.menuItem(QStringLiteral("EntradaAutomticadasFichasMdicas1"));
    QVERIFY(automatic->isChecked());
    bool opened = false;
    onModal<TFEntraMov>([&](TFEntraMov *m) {
        opened = true;
        m->Button1->click();
    });
    f.dialogs.answerQuestion(yes);
    p.window.menuItem(item)->trigger();
    QCOMPARE(f.dialogs.texts(), QStringList{question});
    QCOMPARE(opened, yes);
    QCOMPARE(automatic->isChecked(), !yes);
    const QString line = yes ? QStringLiteral("Nao") : QStringLiteral("Sim");
    QCOMPARE(f.read(files::kSettings)[0], line);
    if (yes)
        QCOMPARE(textfile::readLines(f.mirror() + QStringLiteral("/Automatica.Txt"))[0], line);
    // Off, the next opening asks nothing.
    if (yes) {
        onModal<TFEntraMov>([](TFEntraMov *m) { m->Button1->click(); });
        p.window.menuItem(item)->trigger();
        QCOMPARE(f.dialogs.texts().size(), 1);
    }
}

QTEST_MAIN(TestEntryScreens)
#include "tst_entry_screens.moc"
