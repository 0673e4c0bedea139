// The day list "Consultas do Dia": one doctor's day at a glance, the booked and
// reserved slots with the patient, the free slots with their times, and its printout.
#pragma once

#include <QString>
#include <QStringList>

namespace clinora {

class AppContext;

struct DayList
{
    int day = 0;
    int code = 0;
    QString date;       // dd/mm/yy
    QStringList booked; // ListBox1: Hora, four blanks, time, two blanks, Paciente
    QStringList free;   // ListBox2: slot, four blanks, time

    // The lines of the printout, in order; the first kHeadLines (the doctor, the date
    // and the column headings) start every page.
    QStringList printLines() const;
    static constexpr int kHeadLines = 8;
    // The slot number of a line of either list (its first two characters).
    static int slotOfLine(const QString &line);
};

// Reads the doctor's row on the day's sheet: cells neither empty nor " x" are looked up
// in the table (a cell without a row, such as a not-bookable "x", is left out), empty
// cells of an enabled sheet whose slot has a time are free slots.
DayList makeDayList(AppContext &context, int day, int code);

} // namespace clinora
