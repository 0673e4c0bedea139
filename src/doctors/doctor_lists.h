// The lines of the doctor lists: registered doctors, and doctors with specialties.
#pragma once

#include <QStringList>

namespace clinora {

class DoctorRegister;
class SpecialtyTable;

// Code (2), three blanks, name (25), four blanks, specialty (15) of every doctor whose
// name does not begin with a blank, in code order.
QStringList doctorLines(const DoctorRegister &doctors);
// Code (2), three blanks, name (15) of every specialty with a name, codes 51 to 80.
QStringList specialtyLines(const SpecialtyTable &specialties);

struct DoctorsAndSpecialties
{
    QStringList doctors;     // with the title lines before them
    QStringList specialties; // with the title lines before them, shown bold
};
DoctorsAndSpecialties doctorsAndSpecialtiesLines(const DoctorRegister &doctors,
                                                 const SpecialtyTable &specialties);

} // namespace clinora
