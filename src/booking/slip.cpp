#include "booking/slip.h"

namespace clinora {

QStringList Slip::lines() const
{
    const QString title = indented ? QString(20, QLatin1Char(' ')) : QString();
    const QString margin = indented ? QString(10, QLatin1Char(' ')) : QString();
    return {QStringLiteral(" "),
            title + QStringLiteral("Marcação de Consulta"),
            QStringLiteral(" "),
            margin + QStringLiteral("Médico:  ") + doctor,
            QStringLiteral(" "),
            margin + QStringLiteral("Data:  ") + data + QStringLiteral("   ") + QStringLiteral("Hora:  ") +
                time,
            QStringLiteral(" "),
            margin + QStringLiteral("Sala: ") + room + QStringLiteral("   ") + QStringLiteral("Andar:  ") +
                floor};
}

void Slip::print(Printer &printer) const
{
    PrintFont font;
    font.pointSize = 14;
    font.bold = true;
    printer.printLines(QStringLiteral("Consulta"), lines(), font);
}

} // namespace clinora
