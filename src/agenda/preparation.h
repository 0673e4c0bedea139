// The preparation of the agenda ("Agenda Futura"): moves the prepared limit date
// forward, closes the weekends and holidays of the new days, pre-fills their day sheets
// and keeps DataIniFim.Txt, DataAnt.Txt and ArqFolgas.Txt (with their mirror copies).
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace clinora {

class AppContext;

// The furthest limit a preparation may reach on a given day: one calendar month ahead
// (clamped to the end of a shorter month), less one day, except on the days where
// the month step already ends on the last day of the next month.
QDate maximumLimit(QDate today);

// The limit the dialog starts from: DataIniFim.Txt, or yesterday when it has expired,
// so that an expired preparation starts again from today. Nothing is written.
QDate limitShown(const AppContext &context);

struct PreparationRequest
{
    QDate currentLimit;   // as the dialog shows it
    QString newLimit;     // as typed
    QStringList holidays; // the holiday cells, empty ones included
};

struct PreparationResult
{
    bool done = false;       // false: a check refused the input and nothing was written
    QString newLimitText;    // what the new-limit field holds afterwards (the clamp changes it)
    QDate preparedLimit;     // the limit written, when done
    QList<QDate> openedDays; // the new working days whose sheets were pre-filled
    QList<QDate> closedDays; // the new days closed, in the order appended to ArqFolgas.Txt
};

// "Executar": checks the input (telling the user what is wrong), then rewrites
// ArqFolgas.Txt without its past dates and with the new closed days, writes the limit to
// DataIniFim.Txt and DataAnt.Txt, pre-fills the sheets and mirror-copies the files.
PreparationResult prepareAgenda(AppContext &context, const PreparationRequest &request);

// Makes the day sheet of a date bookable: enabled, 51 rows, slot numbers as headings,
// one row per doctor, and "x" on the hours without a time that weekday or on every
// hour of a doctor on leave. The other cells keep their text.
void prefillDaySheet(AppContext &context, QDate date);

} // namespace clinora
