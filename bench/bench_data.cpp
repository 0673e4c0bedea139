#include "bench_data.h"

#include "core/doctor_register.h"
#include "core/installation.h"
#include "platform/dates.h"
#include "store/appointment_table.h"

#include <algorithm>
#include <chrono>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace clinora::bench {

void installFullRegister(const QString &dir)
{
    installDataDirectory(dir);
    DoctorRegister reg;
    reg.load(dir + QLatin1Char('/'));
    for (int c = 1; c <= 50; ++c) {
        Doctor &d = reg.doctor(c);
        d.name = QStringLiteral("Dr(a). Médico %1").arg(c);
        d.specialty = QStringLiteral("%1 Especialidade").arg(51 + c % 30);
        d.specialtyCode = d.specialty.left(2);
        d.room = QString::number(100 + c);
        d.floor = QString::number(1 + c % 5);
        d.shift = QStringLiteral("1");
        for (int w = 1; w <= 7; ++w) {
            for (int s = 1; s <= 24; ++s)
                reg.setTime(w, c, s, QTime(7, 0).addSecs((s - 1) * 20 * 60).toString(QStringLiteral("hh:mm")));
        }
    }
    reg.save(dir);
}

int bookFullMonth(const QString &dir, QDate today)
{
    std::vector<Appointment> rows;
    rows.reserve(31 * 50 * 24);
    for (int day = 0; day < 31; ++day) {
        const QString data = dates::formatShort(today.addDays(day));
        for (int c = 1; c <= 50; ++c) {
            for (int s = 1; s <= 24; ++s)
                rows.push_back({data, QString::number(s), QString::number(c),
                                s == 24 ? QStringLiteral("R") : QStringLiteral("Paciente %1-%2").arg(c).arg(s),
                                QStringLiteral("3333-4444"), QStringLiteral("1"), QString()});
        }
    }
    AppointmentTable table;
    table.open(dir + QStringLiteral("/Medicos.db"), true);
    table.insertAll(rows);
    return static_cast<int>(rows.size());
}

int addLists(const QString &dir, int cancelled, int waiting)
{
    std::vector<Appointment> rows;
    for (int i = 0; i < cancelled; ++i)
        rows.push_back({QStringLiteral("%1/%2H/").arg(1 + i % 28, 2, 10, QLatin1Char('0')).arg(1 + (i / 28) % 12, 2, 10, QLatin1Char('0')),
                        QString::number(1 + (i / 336) % 99), QString::number(1 + i % 50),
                        QStringLiteral("Desmarcado %1").arg(i), {}, QStringLiteral("1"), {}});
    for (int i = 0; i < waiting; ++i)
        rows.push_back({QStringLiteral("4%1%2").arg(6000 + i / 100).arg(36000 + i % 100),
                        QString::number(10 + i % 90), QString::number(1 + i % 50),
                        QStringLiteral("Espera %1").arg(i), {}, QStringLiteral("1"), {}});
    AppointmentTable table;
    table.open(dir + QStringLiteral("/Medicos.db"), true);
    table.insertAll(rows);
    return static_cast<int>(rows.size());
}

ProcessRun runProcess(const std::vector<std::string> &args)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char *> argv;
        for (const std::string &a : args)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "%s ended with status %d\n", args[0].c_str(), status);
    return {std::chrono::duration<double, std::milli>(end - start).count(), usage.ru_maxrss / 1024.0};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

} // namespace clinora::bench
