// The statistics tests' clinic and what they read back: an open statistics year with
// two doctors linked to their rows, the counts of the monthly files, their fixed
// sizes and a snapshot of the data directory's files.
#pragma once

#include "app/session.h"
#include "app/tfprincipal.h"
#include "core/data_files.h"
#include "platform/text_file.h"
#include "statistics/tfrelatorios.h"
#include "store/appointment.h"
#include "support/fixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTableView>
#include <QTest>

namespace clinora::test {

inline const QString kZeros = QString(48, QLatin1Char('0'));

inline Appointment booked(const QString &data, int slot, int doctor, const QString &situation,
                          const QString &patient = QStringLiteral("Paciente"))
{
    return {data,    QString::number(slot),       QString::number(doctor),
            patient, QStringLiteral("3333-4444"), situation,
            {}};
}

// The month count of a line of a monthly file ("0007" -> 7), month 1 to 12.
inline int count(const Fixture &f, const QString &file, int line, int month, int codeWidth)
{
    return f.read(file).at(line - 1).mid(codeWidth + 4 * (month - 1), 4).toInt();
}
inline int doctorCount(const Fixture &f, int row, int month)
{
    return count(f, files::kDoctorMonths, row, month, 4);
}
inline int specialtyCount(const Fixture &f, int code, int month)
{
    return count(f, files::kSpecialtyMonths, code - 50, month, 2);
}

// The SitMeses.Txt count of a situation and specialty.
inline int situationCount(const Fixture &f, int situation, int specialty, int month)
{
    const QStringList lines = f.read(files::kSituationMonths);
    const QString codes = QString::number(situation) + QString::number(specialty);
    for (const QString &line : lines) {
        if (line.startsWith(codes))
            return line.mid(3 + 4 * (month - 1), 4).toInt();
    }
    return -1;
}

// Every statistics file at its fixed size.
inline void checkFixedSizes(const Fixture &f)
{
    const struct
    {
        QLatin1String name;
        int lines;
        int width;
    } sizes[] = {{files::kDoctorMonths, 80, 52},
                 {files::kSpecialtyMonths, 30, 50},
                 {files::kSituationMonths, 300, 51},
                 {files::kWeeklyCounts, 2700, 8},
                 {files::kHistory, 31, 17}};
    for (const auto &s : sizes) {
        const QStringList lines = f.read(s.name);
        QCOMPARE(lines.size(), s.lines);
        for (const QString &line : lines)
            QCOMPARE(line.size(), s.width);
    }
}

// The bytes of every file of the data directory.
inline QMap<QString, QByteArray> snapshot(const Fixture &f)
{
    QMap<QString, QByteArray> result;
    for (const QString &name : QDir(f.dir()).entryList(QDir::Files)) {
        QFile file(f.dir() + QLatin1Char('/') + name);
        if (name.endsWith(QLatin1String(".db")) || name == QLatin1String("Clinora.lock") ||
            !file.open(QIODevice::ReadOnly))
            continue;
        result.insert(name, file.readAll());
    }
    return result;
}

// A clinic whose statistics year 2026 is open: two doctors of specialties 51 and 52,
// their MedMeses.Txt rows linked, the weeks of 2026.
inline void openClinic(Fixture &f, bool automatic, const QString &lastCounted)
{
    f.addDoctor(1, QStringLiteral("Dra. Ana Souza"), QStringLiteral("51 Clínica Geral"));
    f.addDoctor(2, QStringLiteral("Dr. Bruno Lima"), QStringLiteral("52 Cardiologia"));
    QStringList months = f.read(files::kDoctorMonths);
    months[0] = QStringLiteral("1 51") + kZeros;
    months[1] = QStringLiteral("2 52") + kZeros;
    f.write(files::kDoctorMonths, months);
    f.setSetting(1, automatic ? QStringLiteral("Sim") : QStringLiteral("Nao"));
    f.setSetting(2, lastCounted);
    f.setSetting(3, QStringLiteral("A2026"));
}

// Counts already posted: a doctor's month, and the same month of his specialty row and
// of his situation row, as a posting of that many attendances leaves them.
inline void setPosted(Fixture &f, int doctor, int specialty, int situation, int month, int value)
{
    const auto setCell = [&f, month, value](const QString &file, int line, int codeWidth) {
        QStringList lines = f.read(file);
        lines[line - 1].replace(codeWidth + 4 * (month - 1), 4,
                                QStringLiteral("%1").arg(value, 4, 10, QLatin1Char('0')));
        f.write(file, lines);
    };
    setCell(files::kDoctorMonths, doctor, 4);
    setCell(files::kSpecialtyMonths, specialty - 50, 2);
    const QStringList lines = f.read(files::kSituationMonths);
    const QString codes = QString::number(situation) + QString::number(specialty);
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith(codes)) {
            setCell(files::kSituationMonths, i + 1, 3);
            return;
        }
    }
    QFAIL("no such situation row");
}

// Start-up and the main window with its statistics menu (--estatisticas).
struct Program
{
    explicit Program(Fixture &f) : window(f.context())
    {
        session::startUp(f.context());
        window.FormCreate();
        window.showStatisticsMenu();
        window.show();
        // Active before any dialog opens, so that the window never takes the focus
        // back from one.
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    void trigger(const char *item) { window.menuItem(QLatin1String(item))->trigger(); }
    TFPrincipal window;
};

// The mirror holds the system's stamp: the consistency check lets the command go on.
inline void mirrorInStep(Fixture &f)
{
    f.mirroringOn();
    textfile::writeLines(f.mirror() + QStringLiteral("/CodEsp.Txt"), f.read(files::kSystemStamp));
}

// What the report screen's grid shows in a month column (1 to 12) of the row with that
// name; "?" when no row has it.
inline QString reportCell(const TFRelatorios *s, const QString &name, int month)
{
    const QAbstractItemModel *model = s->Grade->model();
    for (int r = 0; r < model->rowCount(); ++r) {
        if (model->index(r, 0).data().toString() == name)
            return model->index(r, month).data().toString();
    }
    return QStringLiteral("?");
}

} // namespace clinora::test
