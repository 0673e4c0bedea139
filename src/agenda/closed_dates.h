// The closed dates ("Dias sem atendimentos"): the file ArqFolgas.Txt, one date
// dd/MM/yyyy per line, and the operations of the dialog that closes dates (moving their
// appointments to the cancelled list) and opens them again.
#pragma once

#include "core/closed_dates_file.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace clinora {

class AppContext;
class AppointmentTable;
class Paths;

// "Consultar": the closed dates as dd/MM/yy, in file order.
QStringList closedDatesShown(const AppContext &context);

// What closing one date did to the appointment table.
struct DateClosing
{
    int moved = 0;        // appointments moved to the cancelled list
    int deleted = 0;      // reserved hours and empty records deleted
    QStringList notMoved; // why each appointment left on the date could not be moved
};

// Moves the appointments of a date to the cancelled list (dd/mmH/, Hora raised until the
// key is free) and deletes its reserved hours, reading the date's rows once and writing
// them in one transaction. An appointment whose Hora would pass 99 stays where it is.
DateClosing closeDateInTable(AppointmentTable &table, QDate date);

// The entry grid of the dialog: the typed dates (column 0) and the "Salta" marks of
// the rows refused (column 1), row by row.
struct EntryGrid
{
    QStringList dates;
    QStringList marks;
};

struct CloseResult
{
    bool done = false; // false: an invalid date stopped everything before any change
    bool tableChanged = false;
    int moved = 0;
    int deleted = 0;
};

// "Incluir": checks the typed dates and writes them dd/MM/yy, adds those from today to
// the prepared limit to ArqFolgas.Txt (sorted, each once), moves their appointments to
// the cancelled list and disables their day sheets. Refused rows are told and marked
// "Salta". The grid is changed as the steps go and emptied when the run completes.
CloseResult closeDates(AppContext &context, EntryGrid &grid);

// "Excluir": opens again the dates selected in the list (dd/MM/yy texts) and pre-fills
// their day sheets. False, after telling the user, when nothing was selected.
bool reopenDates(AppContext &context, const QStringList &selected);

} // namespace clinora
