// A temporary data directory built from the installation files, a fixed clock, the
// scripted dialogs and the recording printer, and the application context on them.
#pragma once

#include "app/context.h"
#include "platform/clock.h"
#include "store/appointment.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"

#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

namespace clinora::test {

class Fixture
{
public:
    // Today is 8 December 2026 at 10:00 unless a test says otherwise.
    explicit Fixture(QDate today = QDate(2026, 12, 8), QTime time = QTime(10, 0));

    QString dir() const { return m_dataDir; }
    QString drives() const { return m_tmp.path() + QStringLiteral("/drives"); }
    // The local directory of the installed mirror path E:\Consultas\Espelho, created.
    QString mirror() const;

    void write(const QString &name, const QStringList &lines) const;
    QStringList read(const QString &name) const;
    bool exists(const QString &name) const;
    // Changes one line (1 to 9) of Automatica.Txt on disk.
    void setSetting(int line, const QString &value) const;
    // Mirroring on, with the mirror directory created.
    void mirroringOn() const;

    // A doctor in CodMed.Txt and Medicos.Txt (before the start).
    void addDoctor(int code, const QString &name, const QString &specialty = QStringLiteral("51 Clínica Geral"),
                   const QString &room = QStringLiteral("101"), const QString &floor = QStringLiteral("1")) const;
    void setLeave(int code, const QString &start, const QString &end) const;
    // The doctor's start times on a weekday (1 = Sunday ... 7 = Saturday).
    void setTimes(int code, int weekday, const QStringList &times) const;
    // Rows written straight into Medicos.db (before the start).
    void addRows(const std::vector<Appointment> &rows) const;
    // Every row of Medicos.db in key order.
    std::vector<Appointment> rows() const;

    AppContext &context();
    // Start-up and the main window's creation step, as the program runs them.
    AppContext &start();

    FixedClock clock;
    ScriptedDialogs dialogs;
    RecordingPrinter printer;

private:
    void editRegister(const std::function<void(class DoctorRegister &)> &change) const;

    QTemporaryDir m_tmp;
    QString m_dataDir;
    std::unique_ptr<AppContext> m_context;
};

} // namespace clinora::test
