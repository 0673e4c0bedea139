// The specialties and situations registers driven offscreen: opening, saving, moving
// rows, leaving without saving, and the tables the rest of the program loads.
#include "app/context.h"
#include "core/registers.h"
#include "doctors/tfdadosregistro.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/mouse.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <memory>

using namespace clinora;
using test::Fixture;
using test::onModal;

namespace {

// Drags a row of the grid by its handle in the row header and drops it in another
// row's place (on that row's upper part going up, its lower part going down), as the
// mouse does.
void dragRow(QTableWidget *grid, int from, int to)
{
    QHeaderView *header = grid->verticalHeader();
    grid->scrollToItem(grid->item(from, 0));
    QWidget *handle = header->viewport();
    const auto at = [header](int row, int quarter) {
        return QPoint(header->width() / 2,
                      header->sectionViewportPosition(row) + header->sectionSize(row) * quarter / 4);
    };
    // The points on the dialog's window, where the mouse really goes.
    QPoint start = at(from, 2);
    QPoint nudge = start + QPoint(0, to < from ? -6 : 6);
    QPoint drop = at(to, to < from ? 1 : 3);
    QWindow *window = test::windowPoint(handle, start);
    test::windowPoint(handle, nudge);
    test::windowPoint(handle, drop);
    QTest::mousePress(window, Qt::LeftButton, {}, start);
    QTest::mouseMove(window, nudge);
    QTest::mouseMove(window, drop);
    QTest::mouseRelease(window, Qt::LeftButton, {}, drop);
}

} // namespace

class TestRegisters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void specialtiesOpenSaveAndMove();
    void usedSpecialtyKeepsItsCode_data();
    void usedSpecialtyKeepsItsCode();
    void leavingWithoutSaving_data();
    void leavingWithoutSaving();
    void situationsByCode();
    void missingFileKeepsTheRowNumbers();
    void unreadFileIsNeverWrittenOver_data();
    void unreadFileIsNeverWrittenOver();
    void tablesLoadByPosition();
};

void TestRegisters::specialtiesOpenSaveAndMove()
{
    Fixture f;
    f.mirroringOn();
    AppContext &c = f.start();
    TFDadosEsp window(c);
    onModal<TFDadosEsp>([](TFDadosEsp *w) {
        QCOMPARE(w->windowTitle(), QStringLiteral("Cadastro das Especialidades"));
        QCOMPARE(w->Grade->rowCount(), 30);
        QCOMPARE(w->Grade->horizontalHeaderItem(1)->text(), QStringLiteral("Especialidades"));
        QCOMPARE(w->Grade->item(2, 0)->text(), QStringLiteral("3"));
        QCOMPARE(w->Grade->item(2, 1)->text(), QStringLiteral("Dermatologia"));
        w->Grade->item(29, 1)->setText(QStringLiteral("Medicina do Trabalho")); // 20 characters
        // The row of code 53 dragged above the first row takes code 51.
        dragRow(w->Grade, 2, 0);
        test::click(w->Button1);
    });
    window.open();
    const QStringList lines = f.read(QStringLiteral("Esp.Txt"));
    QCOMPARE(lines.size(), 30);
    QCOMPARE(lines.mid(0, 3), QStringList({"51 Dermatologia", "52 Clínica Geral", "53 Cardiologia"}));
    QCOMPARE(lines[26], QStringLiteral("77 "));
    QCOMPARE(lines[29], QStringLiteral("80 Medicina do Tra"));
    QCOMPARE(c.specialties.name(51), QStringLiteral("Dermatologia"));
    QVERIFY(QFile::exists(f.mirror() + QStringLiteral("/Esp.Txt")));
}

void TestRegisters::usedSpecialtyKeepsItsCode_data()
{
    QTest::addColumn<int>("from"); // rows counted from 0: row r holds code 51 + r
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("refused"); // the specialties the message names
    QTest::addColumn<QStringList>("firstLines");
    // Doctors use 52 Cardiologia and 55 Pediatria.
    QTest::newRow("a used specialty dragged up")
        << 1 << 0 << QStringList{"52 Cardiologia passaria a ter o código 51"} << QStringList{};
    QTest::newRow("an unused one dragged over a used one")
        << 6 << 3 << QStringList{"55 Pediatria passaria a ter o código 56"} << QStringList{};
    QTest::newRow("unused rows move freely")
        << 9 << 5 << QStringList{}
        << QStringList{"51 Clínica Geral", "52 Cardiologia", "53 Dermatologia", "54 Ginecologia",
                       "55 Pediatria", "56 Psiquiatria", "57 Ortopedia"};
}

void TestRegisters::usedSpecialtyKeepsItsCode()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, refused);
    QFETCH(QStringList, firstLines);
    Fixture f;
    f.addDoctor(12, QStringLiteral("Dr. Teste Silva"), QStringLiteral("52 Cardiologia"));
    f.addDoctor(3, QStringLiteral("Dra. Paula Ramos"), QStringLiteral("55 Pediatria"));
    AppContext &c = f.start();
    const QStringList before = f.read(QStringLiteral("Esp.Txt"));
    TFDadosEsp window(c);
    bool stayedOpen = false;
    onModal<TFDadosEsp>([&](TFDadosEsp *w) {
        dragRow(w->Grade, from, to);
        QCOMPARE(w->Grade->verticalHeader()->visualIndex(from), to);
        test::click(w->Button1);
        stayedOpen = w->isVisible();
        if (stayedOpen)
            test::click(w->Button2);
    });
    window.open();
    QVERIFY(!window.isVisible());
    const QStringList warnings = f.dialogs.texts(test::ScriptedDialogs::Kind::Warning);
    if (refused.isEmpty()) {
        QVERIFY(!stayedOpen);
        QVERIFY(warnings.isEmpty());
        QCOMPARE(f.read(QStringLiteral("Esp.Txt")).mid(0, firstLines.size()), firstLines);
        return;
    }
    QVERIFY(stayedOpen);
    QCOMPARE(warnings.size(), 1);
    for (const QString &named : refused)
        QVERIFY2(warnings.first().contains(named), qPrintable(warnings.first()));
    QCOMPARE(f.read(QStringLiteral("Esp.Txt")), before);
}

void TestRegisters::leavingWithoutSaving_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Sair sem gravar") << false;
    QTest::newRow("Esc") << true;
}

void TestRegisters::leavingWithoutSaving()
{
    QFETCH(bool, escape);
    Fixture f;
    AppContext &c = f.start();
    const QStringList before = f.read(QStringLiteral("Sit.Txt"));
    TFDadosSit window(c);
    onModal<TFDadosSit>([escape](TFDadosSit *w) {
        w->Grade->item(0, 1)->setText(QStringLiteral("Mudado"));
        if (escape)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else
            test::click(w->Button2);
    });
    window.open();
    QVERIFY(!window.isVisible());
    QCOMPARE(f.read(QStringLiteral("Sit.Txt")), before);
}

void TestRegisters::situationsByCode()
{
    Fixture f;
    f.write(QStringLiteral("Sit.Txt"), {QStringLiteral("5  Quinta"), QStringLiteral("1  Primeira")});
    AppContext &c = f.start();
    TFDadosSit window(c);
    onModal<TFDadosSit>([](TFDadosSit *w) {
        QCOMPARE(w->windowTitle(), QStringLiteral("Cadastro das Situações"));
        QCOMPARE(w->Grade->item(4, 1)->text(), QStringLiteral("Quinta"));
        QCOMPARE(w->Grade->item(0, 1)->text(), QStringLiteral("Primeira"));
        QCOMPARE(w->Grade->item(1, 1)->text(), QString());
        test::click(w->Button1);
    });
    window.open();
    QCOMPARE(f.read(QStringLiteral("Sit.Txt")),
             QStringList({"1  Primeira", "2  ", "3  ", "4  ", "5  Quinta", "6  ", "7  ", "8  ", "9  "}));
    QCOMPARE(c.situations.entry(5).name, QStringLiteral("Quinta"));
}

void TestRegisters::missingFileKeepsTheRowNumbers()
{
    Fixture f;
    AppContext &c = f.start();
    QFile::remove(f.dir() + QStringLiteral("/Esp.Txt"));
    TFDadosEsp window(c);
    onModal<TFDadosEsp>([](TFDadosEsp *w) {
        QCOMPARE(w->Grade->item(29, 0)->text(), QStringLiteral("30"));
        test::click(w->Button2);
    });
    window.open();
    QCOMPARE(f.dialogs.texts(test::ScriptedDialogs::Kind::Error).size(), 1);
    QVERIFY(f.dialogs.texts().first().contains(QStringLiteral("Esp.Txt")));
}

void TestRegisters::unreadFileIsNeverWrittenOver_data()
{
    QTest::addColumn<bool>("specialties");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("specialties with a code that is not one")
        << true << QByteArray("51 Cl\xEDnica Geral\r\nxx Lixo\r\n53 Pediatria\r\n");
    QTest::newRow("situations of random bytes") << false << QByteArray("\x01\x9F\x00\xFE\x07lixo", 10);
}

void TestRegisters::unreadFileIsNeverWrittenOver()
{
    QFETCH(bool, specialties);
    QFETCH(QByteArray, bytes);
    Fixture f;
    AppContext &c = f.start();
    const QString name = specialties ? QStringLiteral("Esp.Txt") : QStringLiteral("Sit.Txt");
    QFile file(f.dir() + QLatin1Char('/') + name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    std::unique_ptr<TFDadosRegistro> window;
    if (specialties)
        window = std::make_unique<TFDadosEsp>(c);
    else
        window = std::make_unique<TFDadosSit>(c);
    bool stayedOpen = false;
    onModal<TFDadosRegistro>([&](TFDadosRegistro *w) {
        test::click(w->Button1);
        stayedOpen = w->isVisible();
        test::click(w->Button2);
    });
    window->open();
    QVERIFY(stayedOpen);
    const QStringList warnings = f.dialogs.texts(test::ScriptedDialogs::Kind::Warning);
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings.first().contains(name + QStringLiteral(" não foi gravado")), qPrintable(warnings.first()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
}

void TestRegisters::tablesLoadByPosition()
{
    Fixture f;
    SpecialtyTable specialties;
    specialties.load(f.dir() + QLatin1Char('/'));
    QCOMPARE(specialties.entry(52).code, QStringLiteral("52"));
    QCOMPARE(specialties.name(52), QStringLiteral("Cardiologia"));
    QCOMPARE(specialties.name(81), QString());
    SituationTable situations;
    situations.load(f.dir() + QLatin1Char('/'));
    QCOMPARE(situations.entry(2).name, QStringLiteral("Convênio"));
}

QTEST_MAIN(TestRegisters)
#include "tst_registers.moc"
