// The print dialog, reached through a small module (clinora_print_dialog) loaded when the
// user first prints: Qt's print support stays out of every ordinary start.
#pragma once

#include "platform/print_system.h"

#include <QString>

#include <cstddef>

class QWidget;

namespace clinora::printdialog {

// What the user chose in the dialog.
struct Choice
{
    bool accepted = false;
    QString printer;
    QString file; // "print to file" chosen in the dialog
    PrintOptions options;
};

struct Functions
{
    std::size_t size; // sizeof(Functions) of the module: a module of another build is refused
    // Shows the dialog for an A4 document over the parent.
    Choice (*ask)(QWidget *parent, bool landscape);
};

} // namespace clinora::printdialog

// The one symbol the module exports.
extern "C" const clinora::printdialog::Functions *clinora_print_dialog();
