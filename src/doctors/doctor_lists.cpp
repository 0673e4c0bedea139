#include "doctors/doctor_lists.h"

#include "core/doctor_register.h"
#include "core/registers.h"
#include "platform/text_file.h"

namespace clinora {

using textfile::fixed;

QStringList doctorLines(const DoctorRegister &doctors)
{
    QStringList lines;
    for (int c = 1; c <= DoctorRegister::kDoctors; ++c) {
        const Doctor &d = doctors.doctor(c);
        if (d.name.isEmpty() || d.isFree())
            continue;
        lines << fixed(QString::number(c), 2) + QStringLiteral("   ") + fixed(d.name, 25)
                     + QStringLiteral("    ") + fixed(d.specialty, 15);
    }
    return lines;
}

QStringList specialtyLines(const SpecialtyTable &specialties)
{
    QStringList lines;
    for (int code = SpecialtyTable::kFirst; code <= SpecialtyTable::kLast; ++code) {
        const QString name = specialties.name(code);
        if (name.isEmpty() || name.startsWith(QLatin1Char(' ')))
            continue;
        lines << QString::number(code) + QStringLiteral("   ") + fixed(name, 15);
    }
    return lines;
}

DoctorsAndSpecialties doctorsAndSpecialtiesLines(const DoctorRegister &doctors,
                                                 const SpecialtyTable &specialties)
{
    DoctorsAndSpecialties lists;
    lists.doctors << QStringLiteral(" ") << QStringLiteral("              Relação de Médicos e Especialidades")
                  << QStringLiteral(" ") << doctorLines(doctors);
    lists.specialties << QStringLiteral(" ") << QStringLiteral("                       Especialidades ")
                      << QStringLiteral(" ") << specialtyLines(specialties);
    return lists;
}

} // namespace clinora
