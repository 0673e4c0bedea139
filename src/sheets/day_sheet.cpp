#include "sheets/day_sheet.h"

namespace clinora {

// As designed the grid has 12 rows; every fill sets 51.
DaySheet::DaySheet(int day, QObject *parent) : TextGrid(kColumns, kRows, 12, parent), m_day(day) {}

void DaySheet::setEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    Q_EMIT enabledChanged(enabled);
}

void DaySheet::setLabel(const QString &label)
{
    if (m_label == label)
        return;
    m_label = label;
    Q_EMIT labelChanged(label);
}

DaySheet::Kind DaySheet::kindOf(const QString &text)
{
    if (text.isEmpty())
        return Kind::Free;
    if (text == QLatin1String(" x"))
        return Kind::NoSlot;
    if (text == QLatin1String("x"))
        return Kind::Marked;
    if (text == QLatin1String("C"))
        return Kind::Booked;
    if (text == QLatin1String("R"))
        return Kind::Reserved;
    return Kind::Other;
}

QVariant DaySheet::cellData(const QString &text, int, int, int role) const
{
    if (role == KindRole)
        return static_cast<int>(kindOf(text));
    return {};
}

} // namespace clinora
