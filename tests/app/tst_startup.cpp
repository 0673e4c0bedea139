// The start of the real program as a receptionist starts it: what it loads before the
// main window is shown.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void startLoadsNoLibraryOfARareOperation_data();
    void startLoadsNoLibraryOfARareOperation();

private:
    // Runs the program until its main window is first painted; its standard error.
    QByteArray run(const QStringList &arguments, const QProcessEnvironment &extra = {});

    QTemporaryDir m_tmp;
    QString m_data;
    QByteArray m_loaded; // the dynamic loader's trace of an ordinary start
};

QByteArray TestStartup::run(const QStringList &arguments, const QProcessEnvironment &extra)
{
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_tmp.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const QString &name : extra.keys())
        env.insert(name, extra.value(name));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(CLINORA_EXE), arguments + QStringList{QStringLiteral("--sair-ao-mostrar")});
    if (!program.waitForFinished(240000) || program.exitCode() != 0) {
        qWarning("%s", program.readAllStandardError().constData());
        return {};
    }
    return program.readAllStandardError();
}

void TestStartup::initTestCase()
{
    QVERIFY(m_tmp.isValid());
    m_data = m_tmp.filePath(QStringLiteral("Consultas"));
    const QString drives = m_tmp.filePath(QStringLiteral("drives"));
    // The first start makes the clinic; the next is a day's ordinary start.
    run({QStringLiteral("--demo"), m_data, QStringLiteral("--unidades"), drives});
    QVERIFY(QFileInfo::exists(m_data + QStringLiteral("/Medicos.db")));
    QProcessEnvironment trace;
    trace.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("libs"));
    m_loaded = run({QStringLiteral("--dados"), m_data, QStringLiteral("--unidades"), drives}, trace);
    QVERIFY(m_loaded.contains("calling init"));
    QVERIFY(m_loaded.contains("libQt6Widgets.so"));
}

void TestStartup::startLoadsNoLibraryOfARareOperation_data()
{
    QTest::addColumn<QByteArray>("library");
    // Loaded when an old table is found in the data folder.
    QTest::newRow("old tables' reader (pxlib)") << QByteArray("/libpx.so");
    QTest::newRow("what pxlib brings (libgsf)") << QByteArray("/libgsf-1.so");
    // Loaded by the first question to the print server.
    QTest::newRow("print system (libcups)") << QByteArray("/libcups.so");
    QTest::newRow("what libcups brings (GnuTLS)") << QByteArray("/libgnutls.so");
    // Loaded when the user first prints.
    QTest::newRow("the print dialog (Qt's print support)") << QByteArray("/libQt6PrintSupport.so");
}

void TestStartup::startLoadsNoLibraryOfARareOperation()
{
    QFETCH(QByteArray, library);
    QVERIFY2(!m_loaded.contains(library), library.constData());
}

QTEST_APPLESS_MAIN(TestStartup)
#include "tst_startup.moc"
