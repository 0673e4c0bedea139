#include "support/fixture.h"

#include "app/session.h"
#include "core/data_files.h"
#include "core/doctor_register.h"
#include "core/installation.h"
#include "platform/text_file.h"
#include "store/appointment_table.h"

#include <QDir>
#include <QFileInfo>

namespace clinora::test {

Fixture::Fixture(QDate today, QTime time) : clock(QDateTime(today, time))
{
    m_dataDir = m_tmp.path() + QStringLiteral("/Consultas");
    installDataDirectory(m_dataDir);
}

QString Fixture::mirror() const
{
    const QString path = drives() + QStringLiteral("/E/Consultas/Espelho");
    QDir().mkpath(path);
    return path;
}

void Fixture::write(const QString &name, const QStringList &lines) const
{
    textfile::writeLines(m_dataDir + QLatin1Char('/') + name, lines);
}

QStringList Fixture::read(const QString &name) const
{
    return textfile::readLines(m_dataDir + QLatin1Char('/') + name);
}

bool Fixture::exists(const QString &name) const
{
    return QFileInfo::exists(m_dataDir + QLatin1Char('/') + name);
}

void Fixture::setSetting(int line, const QString &value) const
{
    QStringList lines = read(files::kSettings);
    while (lines.size() < 9)
        lines << QString();
    lines[line - 1] = value;
    write(files::kSettings, lines);
}

void Fixture::mirroringOn() const
{
    mirror();
    setSetting(4, QStringLiteral("Com"));
}

void Fixture::editRegister(const std::function<void(DoctorRegister &)> &change) const
{
    DoctorRegister reg;
    reg.load(m_dataDir + QLatin1Char('/'));
    change(reg);
    reg.save(m_dataDir);
}

void Fixture::addDoctor(int code, const QString &name, const QString &specialty, const QString &room,
                        const QString &floor) const
{
    editRegister([&](DoctorRegister &reg) {
        Doctor &d = reg.doctor(code);
        d.name = name;
        d.specialty = specialty;
        d.specialtyCode = specialty.left(2);
        d.room = room;
        d.floor = floor;
        d.shift = QStringLiteral("1");
    });
}

void Fixture::setLeave(int code, const QString &start, const QString &end) const
{
    editRegister([&](DoctorRegister &reg) {
        reg.doctor(code).leaveStart = start;
        reg.doctor(code).leaveEnd = end;
    });
}

void Fixture::setTimes(int code, int weekday, const QStringList &times) const
{
    editRegister([&](DoctorRegister &reg) {
        for (int s = 1; s <= DoctorRegister::kSlots; ++s)
            reg.setTime(weekday, code, s, s <= times.size() ? times[s - 1] : QString());
    });
}

void Fixture::addRows(const std::vector<Appointment> &rows) const
{
    AppointmentTable table;
    table.open(m_dataDir + QLatin1Char('/') + files::kTable, true);
    table.insertAll(rows);
}

std::vector<Appointment> Fixture::rows() const
{
    AppointmentTable table;
    table.open(m_dataDir + QLatin1Char('/') + files::kTable, true);
    return table.all();
}

AppContext &Fixture::context()
{
    if (!m_context)
        m_context = std::make_unique<AppContext>(Paths(m_dataDir, drives()), clock, dialogs, printer);
    return *m_context;
}

AppContext &Fixture::start()
{
    AppContext &c = context();
    session::startUp(c);
    session::createMainWindow(c);
    return c;
}

} // namespace clinora::test
