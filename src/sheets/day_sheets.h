// The 31 day sheets of the booking screen and what fills them: the date of a day
// number, the refresh, the fill from the register, timetable, closed dates and table,
// the row rebuild, the jumps and the reason a disabled sheet gives.
#pragma once

#include "sheets/day_sheet.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

namespace clinora {

class Clinic;

class DaySheets
{
public:
    static constexpr int kDays = 31;
    static const QStringList kMonthNames;
    // Weekday abbreviations by weekday number 0 to 7 (0 = no date).
    static const QStringList kWeekdayNames;

    // The reasons a disabled sheet gives.
    static const QString kNoSuchDay;       // "   O mês não tem este dia "
    static const QString kSunday;          // "DOMINGO"
    static const QString kSaturday;        // "SÁBADO"
    static const QString kClosed;          // "Dia Sem Atendimento"
    static const QString kWorkingWeekend;  // "Haverá Expediente"
    static const QString kNotPrepared;     // "Sistema NÃO PREPARADO"

    explicit DaySheets(Clinic &context);
    ~DaySheets();

    DaySheet &sheet(int day) { return *m_sheets.at(static_cast<std::size_t>(day - 1)); }
    const DaySheet &sheet(int day) const { return *m_sheets.at(static_cast<std::size_t>(day - 1)); }

    // The date of day number d as dd/mm/yy (see DayWindow::dateOfDay).
    QString dateOfDay(int day) const;
    // The weekday (1 = Sunday ... 7 = Saturday) of the date of day number d, 0 when its
    // month lacks the day. Taken from the date itself: a prepared day at the end of the
    // month must show its slots even where the start-up map has no weekday for it.
    int weekdayOfDay(int day) const;

    // "Atualizar": the label, the month-length rule, then the fill or, beyond the
    // prepared limit, the sheet disabled.
    void refresh(int day);
    void refresh(int day, QDate preparedLimit);
    // Fills a sheet for a date dd/mm/yy: closed dates disable it; otherwise doctor
    // names, headings, the slots without times or inside a leave, the bookings.
    void fill(DaySheet &sheet, const QString &date);
    // Refreshes days 1 to 31 in order, reading the files they share once; progress is
    // told the number of days done after each.
    void refreshAll(const std::function<void(int)> &progress = {});

    enum class Mode { Limpar, NaoLimpar };
    // Rebuilds the rows of one doctor (or all, code 0) on one enabled day (or all,
    // day 0). NaoLimpar keeps the cells holding "C" and "R".
    void rebuildRows(int day, int code, Mode mode);

    // Why a jump to a slot of a date (dd/mm/yy) cannot land on a sheet, or an empty text
    // when it can: the tab of the date's day number must stand for that very date, and
    // the slot (1 to 24) and the doctor (1 to 50) must be real.
    QString jumpRefusal(const QString &date, int slot, int code) const;

    // The reason a disabled sheet gives when the mouse passes over its tab.
    QString reasonText(int day) const;
    // The reasons of days 1 to 31 (index 0 unused), reading the files once.
    QStringList reasonTexts() const;

    // The doctor row a "Cód" jump goes to (0 for none); throws ConversionError for a
    // text that is not a number.
    static int codeJump(const QString &text);
    // The first doctor whose 25-character name holds the text (0 for none).
    int nameJump(const QString &text) const;
    // Whether a doctor's name, taken at 25 characters, holds the text at a start from 1
    // to 25 minus its length; an empty text or one of 25 characters or more never does.
    static bool nameHolds(const QString &name, const QString &text);

    // Heading cells 1 to 24: F1 puts the start times of a doctor on the day's weekday,
    // F2 the slot numbers.
    void showTimes(int day, int code);
    void showSlotNumbers(int day);

    // Column 0 texts from Medicos.Txt (index = row 0 to 50); empty texts and the
    // warning when the file is missing.
    QStringList doctorColumn() const;

    // What every fill reads besides the table (the closed dates, Medicos.Txt and
    // Horarios.Txt), read once for a refresh of several days, each then refreshed from it.
    struct Sources
    {
        QList<QDate> closed;
        QStringList doctorColumn;
        bool headingsFound = false;
        QStringList headings;
    };
    Sources readSources() const;
    void refreshWith(int day, QDate preparedLimit, const Sources &sources);

private:
    void fillWith(DaySheet &sheet, const QString &date, const Sources &sources);
    QString reasonWith(int day, const QList<QDate> &closed, QDate preparedLimit) const;

    Clinic &m_context;
    std::array<std::unique_ptr<DaySheet>, kDays> m_sheets;
};

} // namespace clinora
