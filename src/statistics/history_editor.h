// What the history editor shows and saves of Historico.Txt: the three year headings
// and, for each named specialty, its three yearly totals. A save checks every cell
// first and writes all 31 lines or nothing.
#pragma once

#include <QList>
#include <QString>
#include <array>

namespace clinora {

class MirroredClinic;

struct HistoryTable
{
    struct Row
    {
        int code = 0;                  // 51 to 80
        QString name;                  // as in Esp.Txt
        std::array<QString, 3> totals; // as stored ("00123"), or as typed
    };
    // The oldest, middle and newest year, four digits; a heading that is not a year
    // is shown as it is stored, for the user to correct.
    std::array<QString, 3> headings;
    // The named specialties in code order.
    QList<Row> rows;
};

// Reads Historico.Txt and the specialties register. A heading "Ano1", "Ano2" or "Ano3"
// stands for a year not yet set: the year 36, 24 or 12 months before today. When a
// heading is neither that nor a year, the message saying so is put in warning.
HistoryTable loadHistoryTable(MirroredClinic &context, QString *warning = nullptr);

// Writes the table: the heading line "00" and the three years, then one line per
// specialty 51 to 80 (31 lines always), the named ones with their totals (an empty
// cell is 00000), the others as they were stored. Every heading must be a year of four
// digits and every total a whole number from 0 to 99,999: otherwise the message names
// the first cell that is not, and nothing is written. Empty text when written.
QString saveHistoryTable(MirroredClinic &context, const HistoryTable &table);

// The text of a cell as the plain number it holds ("00123" -> "123"); other text as
// it is.
QString plainNumber(const QString &cell);

} // namespace clinora
