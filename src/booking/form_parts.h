// Pieces the appointment dialog and the rebooking dialog build alike: named widgets,
// the captions, the "Consulta" title, the situation box with its hidden code and the
// remarks box.
#pragma once

#include "platform/widget_helpers.h"

#include <QAbstractItemView>
#include <QStringList>

class QComboBox;
class QAbstractItemModel;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QString;
class QTableView;
class QWidget;

namespace clinora::form {

// A grey caption beside a value.
QLabel *caption(const QString &text, const char *name, QWidget *parent);
// The dialog's title "Consulta" (Label8), large and bold: slips print in its font.
QLabel *title(QWidget *parent);
// Labels that show values, in bold.
void bold(std::initializer_list<QLabel *> labels);
// The situation box (DBComboBox1): its items typed over or chosen, the chosen item's
// first character kept in the hidden code box.
QComboBox *situationBox(QWidget *parent, QLineEdit *code);
// Shows a stored situation code as its item ("1  Particular") when the list has it.
void showSituation(QComboBox *box, QLineEdit *code, const QStringList &items, const QString &situacao);
// The remarks box (DBMemo1).
QPlainTextEdit *remarksBox(QWidget *parent);
// The room (Label10) and floor (Label12) with their captions, on one row of a grid.
void addRoomAndFloor(QGridLayout *grid, int row, QLabel *room, QLabel *floor, QWidget *parent);
// The patient's boxes under their captions: name, telephone, situation, remarks.
QGridLayout *patientFields(QWidget *parent, const QString &nameCaption, QLineEdit *name, QLineEdit *phone,
                           QComboBox *situation, QPlainTextEdit *remarks);

// A grid that shows the rows of a list: whole rows selected, nothing edited, no row
// numbers, fixed row heights, the columns at these widths and the last one stretched.
void listGrid(QTableView *grid, QAbstractItemModel *model, QAbstractItemView::SelectionMode selection,
              std::initializer_list<int> widths);
} // namespace clinora::form
