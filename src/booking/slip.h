// The appointment slip both appointment dialogs print: eight plain text lines with the
// doctor, the date and time, the room and the floor, in the font of the dialogs' title.
#pragma once

#include "platform/printer.h"

#include <QString>
#include <QStringList>

namespace clinora {

struct Slip
{
    QString doctor;
    QString data;
    QString time;
    QString room;
    QString floor;
    // The appointment dialog sets its lines in from the left margin.
    bool indented = false;

    QStringList lines() const;
    // Prints the lines on one page, in the title's font.
    void print(Printer &printer) const;
};

} // namespace clinora
