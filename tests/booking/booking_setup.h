// The clinic the booking tests work on: today is Tuesday 8 December 2026, the agenda
// is prepared up to 7 January 2027, doctor 12 (Cardiologia) sees patients at four
// times on weekdays and doctor 3 (Pediatria) on Mondays only.
#pragma once

#include "support/fixture.h"

namespace clinora::test {

inline void setUpClinic(Fixture &f)
{
    f.write(QStringLiteral("DataIniFim.Txt"), {QStringLiteral("07/01/2027")});
    f.addDoctor(12, QStringLiteral("Dr. Teste Silva"), QStringLiteral("52 Cardiologia"), QStringLiteral("204"),
                QStringLiteral("3"));
    f.addDoctor(3, QStringLiteral("Dra. Paula Ramos"), QStringLiteral("55 Pediatria"), QStringLiteral("110"),
                QStringLiteral("1"));
    const QStringList times{QStringLiteral("08:00"), QStringLiteral("08:30"), QStringLiteral("09:00"),
                            QStringLiteral("09:30")};
    for (int weekday = 2; weekday <= 6; ++weekday)
        f.setTimes(12, weekday, times);
    f.setTimes(3, 2, {QStringLiteral("14:00"), QStringLiteral("14:20")});
}

inline Appointment booking(const QString &data, int slot, int code, const QString &patient = QStringLiteral("Maria Souza"))
{
    return {data, QString::number(slot), QString::number(code), patient, QStringLiteral("3333-4444"),
            QStringLiteral("1"), QString()};
}

} // namespace clinora::test
