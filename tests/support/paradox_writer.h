// Writes a Paradox table with pxlib, the way the program a clinic used before kept its
// appointments (Medicos.db and the memo file Medicos.mb), for the import's tests and
// benchmark.
#pragma once

#include "store/appointment.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace clinora::test {

struct ParadoxField
{
    QByteArray name;
    char type;  // pxlib's field type (1 text, 3 short number, 12 memo)
    int length; // a memo's length counts its first bytes in the record plus 10
};

// The fields of the old appointment table: Data A8, Hora A2, Medico A2, Paciente A25,
// Telefone A12, Situacao A1, Observacoes a memo holding its first 10 bytes.
std::vector<ParadoxField> oldTableFields();

// Writes the rows (the seven fields, in the order of the fields given, matched by
// name) into a new table at path, with its memo file beside it when a field is a memo.
// Texts are written in the code page named (1252, or a DOS one such as 850) and the
// header names it.
void writeParadoxTable(const QString &path, const std::vector<Appointment> &rows,
                       const std::vector<ParadoxField> &fields = oldTableFields(), int codePage = 1252);

} // namespace clinora::test
