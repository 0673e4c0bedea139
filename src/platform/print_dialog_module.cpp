// The module that links Qt's print support: the print dialog and what it chose.
#include "platform/print_dialog.h"

#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrinter>

namespace {

// The print dialog's choices of the print system's own (page ranges, pages per sheet),
// as Qt's print engine keeps them: name and value in turn.
constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

clinora::printdialog::Choice ask(QWidget *parent, bool landscape)
{
    clinora::printdialog::Choice choice;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return choice;
    choice.accepted = true;
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        choice.file = printer.outputFileName();
        return choice;
    }
    choice.printer = printer.printerName();
    if (printer.copyCount() > 1) {
        choice.options.emplaceBack("copies", QByteArray::number(printer.copyCount()));
        if (printer.collateCopies())
            choice.options.emplaceBack("Collate", "True");
    }
    if (printer.duplex() == QPrinter::DuplexLongSide)
        choice.options.emplaceBack("sides", "two-sided-long-edge");
    else if (printer.duplex() == QPrinter::DuplexShortSide)
        choice.options.emplaceBack("sides", "two-sided-short-edge");
    const QStringList cups = printer.printEngine()->property(kCupsOptions).toStringList();
    for (int i = 0; i + 1 < cups.size(); i += 2)
        choice.options.emplaceBack(cups[i].toUtf8(), cups[i + 1].toUtf8());
    return choice;
}

} // namespace

extern "C" __attribute__((visibility("default"))) const clinora::printdialog::Functions *clinora_print_dialog()
{
    static const clinora::printdialog::Functions functions{sizeof(clinora::printdialog::Functions), &ask};
    return &functions;
}
