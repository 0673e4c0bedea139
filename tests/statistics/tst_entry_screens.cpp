// The statistics entered by hand, through the main window's menu as a receptionist
// opens them: the movement entry in its collective and individual layouts.
#include "doctors/tfhorarios.h"
#include "platform/clickable_label.h"
#include "platform/text_file.h"
#include "statistics/stats_setup.h"
#include "statistics/tfeditarhistorico.h"
#include "statistics/tfentramov.h"
#include "statistics/tffichamed.h"
#include "support/modal.h"
#include "support/mouse.h"
#include "support/typing.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace clinora;
using namespace clinora::test;
using Kind = ScriptedDialogs::Kind;

namespace {

// One collective entry typed box by box and confirmed with a click.
void enter(TFEntraMov *m, const QString &doctor, const QString &situation, const QString &quantity,
           const QString &month)
{
    typeOver(m->Edit1, doctor);
    typeOver(m->Edit2, situation);
    typeOver(m->Edit3, quantity);
    typeOver(m->Edit4, month);
    test::click(m->BConfirma);
}

// The box a double-click opened on a cell of the grid, if any.
QLineEdit *openEditor(const QTableWidget *grid)
{
    for (QLineEdit *editor : grid->viewport()->findChildren<QLineEdit *>()) {
        if (editor->isVisible())
            return editor;
    }
    return nullptr;
}

// Types over a cell of the history grid as a person does: a double-click opens it, the
// old text is erased, the new one typed and Enter ends the cell.
void typeInCell(QTableWidget *grid, int row, int column, const QString &text)
{
    test::doubleClickOn(grid, grid->model()->index(row, column));
    QLineEdit *editor = openEditor(grid);
    QVERIFY(editor);
    typeOver(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The view takes the text from the box once the key has been handled.
    QTRY_COMPARE(grid->item(row, column)->text(), text);
}

QStringList column(const QTableWidget *grid, int c)
{
    QStringList texts;
    for (int r = 0; r < grid->rowCount(); ++r)
        texts << grid->item(r, c)->text();
    return texts;
}

// A history with specialty 55 unnamed in Esp.Txt: its line stays as stored.
void historyWithAGap(Fixture &f, const QString &heading)
{
    QStringList history = f.read(files::kHistory);
    history[0] = heading;
    history[2] = QStringLiteral("52000100002000030");
    history[5] = QStringLiteral("55001110022200333");
    f.write(files::kHistory, history);
    QStringList specialties = f.read(files::kSpecialties);
    specialties[4] = QStringLiteral("55 ");
    f.write(files::kSpecialties, specialties);
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
    void historyEditorShowsChangesAndSaves();
    void historyEditorRefuses_data();
    void historyEditorRefuses();
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
        test::click(m->Label1);
        enter(m, QStringLiteral(" 2"), QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("3"));
        // A correction: "- 3" is taken as -3.
        enter(m, QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("- 3"), QStringLiteral("3"));
        QCOMPARE(m->Edit3->text(), QStringLiteral("-3"));
        QCOMPARE(m->LBEntradas->count(), 3);
        QCOMPARE(f.read(files::kPendingMovements), QStringList());
        test::click(m->Button1);
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
    // The report screen shows the month as posted.
    QString shownOnReport;
    onModal<TFRelatorios>([&](TFRelatorios *s) {
        shownOnReport = reportCell(s, QStringLiteral("Dra. Ana Souza"), 3) + QLatin1Char(' ') +
                        reportCell(s, QStringLiteral("Dr. Bruno Lima"), 3);
        s->Button2->click();
    });
    p.trigger("Relatrios1");
    QCOMPARE(shownOnReport, QStringLiteral("0006 0002"));

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
        test::click(m->Button1);
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
        test::click(m->Button1);
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
        test::click(m->Button4);
        QCOMPARE(m->Edit5->text(), QStringLiteral("09/12/26"));
        TFFichaMed &sheet = m->fichaMed();
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));
        QVERIFY(sheet.BProcessar->isVisible());
        QCOMPARE(sheet.Label28->text(), QStringLiteral("Dra. Ana Souza"));
        QCOMPARE(sheet.times[1]->text(), QStringLiteral("08:30"));
        QCOMPARE(sheet.patients[1]->text(), QStringLiteral("Rita Alves"));
        test::click(sheet.BProcessar);
        QCOMPARE(f.read(files::kPendingMovements), QStringList{QStringLiteral("1 1221")});
        test::click(sheet.BSair);
        test::click(m->Button1);
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
        test::click(m->Button4);
        QVERIFY(!m->fichaMed().isVisible());
        test::click(m->Button1);
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

void TestEntryScreens::historyEditorShowsChangesAndSaves()
{
    Fixture f;
    historyWithAGap(f, QStringLiteral("00 Ano1 Ano2 Ano3"));
    mirrorInStep(f);
    Program p(f);
    onModal<TFEditarHistorico>([&](TFEditarHistorico *h) {
        QTableWidget *grid = h->Grade;
        QVERIFY(h->Memo1->isVisible() && !h->gridShown());
        QVERIFY(!h->BMostrar->isEnabled() && !h->BGravar->isEnabled());
        test::click(h->Memo1);
        QVERIFY(h->gridShown() && grid->isVisible());
        // Years not set yet are the three before this one; the 24 named specialties.
        QCOMPARE(grid->item(0, 1)->text() + grid->item(0, 2)->text() + grid->item(0, 3)->text(),
                 QStringLiteral("202320242025"));
        QCOMPARE(grid->rowCount(), 25);
        QCOMPARE(grid->item(2, 0)->text(), QStringLiteral("Cardiologia"));
        QCOMPARE(grid->item(5, 0)->text(), QStringLiteral("Ortopedia"));
        QCOMPARE(grid->item(2, 3)->text(), QStringLiteral("00030"));
        // The mouse over the grid shows plain numbers.
        test::hoverOn(grid->viewport(), grid->viewport()->rect().center());
        QCOMPARE(column(grid, 3).mid(1, 3), QStringList({"0", "30", "0"}));
        // Nothing can be typed before "Alterar".
        test::doubleClickOn(grid, grid->model()->index(2, 3));
        QVERIFY(!openEditor(grid));

        test::click(h->BIncluir);
        QVERIFY(h->BMostrar->isEnabled() && h->BGravar->isEnabled());
        typeInCell(grid, 2, 3, QStringLiteral("123"));
        typeInCell(grid, 0, 3, QStringLiteral("2026"));
        typeInCell(grid, 1, 1, QString());
        test::click(h->BGravar);
        QVERIFY(!h->BMostrar->isEnabled());
        const QStringList saved = f.read(files::kHistory);
        QCOMPARE(saved.size(), 31);
        for (const QString &line : saved)
            QCOMPARE(line.size(), 17);
        QCOMPARE(saved[0], QStringLiteral("00 2023 2024 2026"));
        QCOMPARE(saved[1], QStringLiteral("51000000000000000"));
        QCOMPARE(saved[2], QStringLiteral("52000100002000123"));
        QCOMPARE(saved[5], QStringLiteral("55001110022200333"));
        QCOMPARE(saved[26], QStringLiteral("76000000000000000"));

        // "Limpar" empties the totals; "Recuperar Dados Iniciais" brings back the file.
        test::click(h->BLimpar);
        QCOMPARE(grid->item(2, 3)->text(), QString());
        QCOMPARE(grid->item(0, 3)->text(), QStringLiteral("2026"));
        test::click(h->BMostrar);
        QCOMPARE(grid->item(2, 3)->text(), QStringLiteral("00123"));
        test::click(h->BLimpar);
        test::click(h->BGravar);
        const QStringList cleared = f.read(files::kHistory);
        QCOMPARE(cleared[2], QStringLiteral("52000000000000000"));
        QCOMPARE(cleared[5], QStringLiteral("55001110022200333"));
        QCOMPARE(cleared.size(), 31);
        test::click(h->Button1);
    });
    p.trigger("EditaroarquivoHistrico1");
    QCOMPARE(
        f.dialogs.texts(),
        QStringList({"1. Faça as alterações necessárias no quadro e depois clique em \"Gravar\" \n2. Para "
                     "voltar à posição inicial, clicar em \"Recuperar Dados Iniciais\" ",
                     "1. Para confirmar a limpeza, clicar em \"Gravar\" \n2. Para voltar à posição "
                     "inicial, clicar em \"Recuperar Dados Iniciais\" ",
                     "1. Para confirmar a limpeza, clicar em \"Gravar\" \n2. Para voltar à posição "
                     "inicial, clicar em \"Recuperar Dados Iniciais\" "}));
    QCOMPARE(textfile::readLines(f.mirror() + QStringLiteral("/Historico.Txt")), f.read(files::kHistory));

    // Closed without saving, the file still goes to the mirror as it stands.
    QFile::remove(f.mirror() + QStringLiteral("/Historico.Txt"));
    onModal<TFEditarHistorico>([](TFEditarHistorico *h) { QTest::keyClick(h, Qt::Key_Escape); });
    p.trigger("EditaroarquivoHistrico1");
    QCOMPARE(textfile::readLines(f.mirror() + QStringLiteral("/Historico.Txt")), f.read(files::kHistory));
}

void TestEntryScreens::historyEditorRefuses_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    const auto total = [](const char *typed) {
        return QStringLiteral("Cardiologia, 2025: \"%1\" não é um total de 0 a 99999. Nada foi gravado.")
            .arg(QLatin1String(typed));
    };
    QTest::newRow("letters") << 2 << 3 << "abc" << total("abc");
    QTest::newRow("a negative") << 2 << 3 << "-5" << total("-5");
    QTest::newRow("over 99,999") << 2 << 3 << "123456" << total("123456");
    QTest::newRow("a fraction") << 2 << 3 << "1,5" << total("1,5");
    QTest::newRow("a heading that is not a year")
        << 0 << 2 << "20x4"
        << "O cabeçalho da coluna 2 deve ser um ano de quatro algarismos, e não \"20x4\". Nada foi gravado.";
    QTest::newRow("a heading of two digits")
        << 0 << 1 << "23"
        << "O cabeçalho da coluna 1 deve ser um ano de quatro algarismos, e não \"23\". Nada foi gravado.";
}

void TestEntryScreens::historyEditorRefuses()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    Fixture f;
    historyWithAGap(f, QStringLiteral("00 2023 2024 2025"));
    Program p(f);
    const auto before = snapshot(f);
    onModal<TFEditarHistorico>([&](TFEditarHistorico *h) {
        test::click(h->BIncluir);
        typeInCell(h->Grade, 1, 1, QStringLiteral("77"));
        typeInCell(h->Grade, row, column, typed);
        test::click(h->BGravar);
        // What was typed stays on the grid, to be corrected.
        QCOMPARE(h->Grade->item(row, column)->text(), typed);
        test::click(h->Button1);
    });
    p.trigger("EditaroarquivoHistrico1");
    QCOMPARE(f.dialogs.texts().last(), message);
    QCOMPARE(snapshot(f), before);

    // A heading stored that is not a year is said when the editor opens.
    historyWithAGap(f, QStringLiteral("00 2023 2024 xx25"));
    f.dialogs.clear();
    onModal<TFEditarHistorico>([](TFEditarHistorico *h) { h->Button1->click(); });
    p.trigger("EditaroarquivoHistrico1");
    QCOMPARE(f.dialogs.texts(Kind::Warning),
             QStringList{"O cabeçalho da coluna 3 de Historico.Txt não é um ano: \"xx25\". Corrija-o em "
                         "\"Alterar\" e grave o quadro."});
}

QTEST_MAIN(TestEntryScreens)
#include "tst_entry_screens.moc"
