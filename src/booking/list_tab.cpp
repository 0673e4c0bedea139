#include "booking/list_tab.h"

#include "protection/mirror_link.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/printer.h"
#include "platform/text_file.h"
#include "protection/mirror.h"

#include <algorithm>

namespace clinora {

using textfile::fixed;

const QString ListTab::kNothingSelected =
    QStringLiteral("Você deve selecionar os registros a serem excluídos");
const QString ListTab::kIncomplete = QStringLiteral("Não é possível apresentar nenhum registro");
const QString ListTab::kGone = QStringLiteral("O registro não existe mais");
const QString ListTab::kNothingToPrint = QStringLiteral(
    "A lista está vazia: abra-a com \"Atualizar\", \"Avisar\" ou \"Candidatos\" antes de imprimir.");

namespace {

// Lists longer than this ask for some of their entries to be deleted.
constexpr int kLongList = 100;

int codeOf(const QString &text)
{
    bool ok = false;
    const int code = text.trimmed().toInt(&ok);
    return ok ? code : 0;
}

} // namespace

ListTab::ListTab(MirroredClinic &context, Kind kind) : m_context(context), m_kind(kind)
{
}

ListQuery ListTab::allQuery() const
{
    return m_kind == Kind::Cancelled ? ListQuery::cancelled() : ListQuery::waiting();
}

void ListTab::open(const ListQuery &query)
{
    m_entries.open(m_context.DMMedicos.table(), query, m_context.clock.today());
}

void ListTab::reopen()
{
    if (!m_entries.isOpen() || m_entries.query().kind == allQuery().kind)
        openAll();
    else
        open(m_entries.query());
}

QString ListTab::deleteQuestion(int count)
{
    return count == 1 ? QStringLiteral("Excluir a consulta selecionada?")
                      : QStringLiteral("Excluir as %1 consultas selecionadas?").arg(count);
}

void ListTab::openAll()
{
    open(allQuery());
    const int n = m_entries.count();
    if (n > kLongList) {
        m_countWarning = QStringLiteral("Há ") + QString::number(n) +
                         (m_kind == Kind::Cancelled ? QStringLiteral(" consultas desmarcadas")
                                                    : QStringLiteral(" consultas em espera"));
        m_adviceWarning = QStringLiteral("É recomendável excluir algumas delas");
    }
}

void ListTab::openNotNotified()
{
    open(ListQuery::notNotified());
}

bool ListTab::openCandidates(const QString &typed)
{
    const int code = codeOf(typed);
    if (!DoctorRegister::validCode(code)) {
        m_context.dialogs.information(
            QStringLiteral("Digite o código do médico (1 a 50) para listar os candidatos."));
        return false;
    }
    // The doctor's own entries and those filed under the doctor's specialty.
    QStringList codes{QString::number(code)};
    const Doctor &doctor = m_context.doctors.doctor(code);
    const QString specialty =
        (doctor.specialtyCode.trimmed().isEmpty() ? doctor.specialty.left(2) : doctor.specialtyCode)
            .trimmed();
    if (!specialty.isEmpty())
        codes << specialty;
    open(m_kind == Kind::Cancelled ? ListQuery::cancelledOf(codes) : ListQuery::waitingOf(codes));
    return true;
}

void ListTab::deleteSelected(const std::vector<int> &rows)
{
    if (rows.empty()) {
        m_context.dialogs.information(kNothingSelected);
        return;
    }
    // Nothing brings a deleted entry back: "No" is the answer Enter gives.
    if (!m_context.dialogs.questionDefaultNo(deleteQuestion(static_cast<int>(rows.size()))))
        return;
    std::vector<AppointmentKey> keys;
    keys.reserve(rows.size());
    for (const int row : rows)
        keys.push_back(m_entries.key(row));
    m_changed = true;
    m_context.DMMedicos.table().removeListed(allQuery(), keys);
    m_entries.close();
}

QStringList ListTab::cancelledRow(int row, bool selected) const
{
    const ListEntries &e = m_entries;
    const QString medico = e.text(row, ListEntries::Medico);
    const int code = codeOf(medico);
    QString doctor;
    QString specialty;
    if (code > DoctorRegister::kDoctors) {
        // The two ways of printing have always told an unknown doctor apart like this.
        doctor = selected ? QStringLiteral("     Indefinido") : QStringLiteral(" Indefinido");
        specialty = (medico + QLatin1Char(' ') + m_context.specialties.name(code)).left(15);
    } else if (DoctorRegister::validCode(code)) {
        const Doctor &d = m_context.doctors.doctor(code);
        doctor = fixed(medico + QLatin1Char(' ') + d.name, 28);
        specialty = fixed(d.specialty, 15);
    } else {
        doctor = fixed(medico, 28);
    }
    return {e.text(row, ListEntries::Data).left(8),
            e.text(row, ListEntries::Hora).left(2),
            doctor,
            specialty,
            e.text(row, ListEntries::Paciente).left(25),
            e.text(row, ListEntries::Telefone).left(12)};
}

QStringList ListTab::waitingRow(int row) const
{
    const ListEntries &e = m_entries;
    const QString medico = e.text(row, ListEntries::Medico);
    const int code = codeOf(medico);
    QString doctor;
    QString specialty;
    if (code > DoctorRegister::kDoctors) {
        doctor = QStringLiteral("--") + QLatin1Char(' ') + QString(25, QLatin1Char(' '));
        specialty = m_context.specialties.name(code);
    } else if (DoctorRegister::validCode(code)) {
        const Doctor &d = m_context.doctors.doctor(code);
        doctor = medico + QLatin1Char(' ') + fixed(d.name, 25);
        specialty = fixed(d.specialty.mid(2), 13);
    } else {
        doctor = medico;
    }
    return {doctor, specialty, e.text(row, ListEntries::Paciente).left(25),
            e.text(row, ListEntries::Telefone).left(12)};
}

DrawnList ListTab::printedList(const std::vector<int> &rows) const
{
    DrawnList list;
    const bool selected = !rows.empty();
    std::vector<int> printed = rows;
    if (!selected) {
        printed.resize(static_cast<std::size_t>(m_entries.count()));
        for (int i = 0; i < m_entries.count(); ++i)
            printed[static_cast<std::size_t>(i)] = i;
    }
    std::sort(printed.begin(), printed.end());
    if (m_kind == Kind::Cancelled) {
        list.title = QStringLiteral("Consultas Desmarcadas");
        list.head = {{600, 130, QStringLiteral("RELAÇÃO DAS CONSULTAS DESMARCADAS")},
                     {200, 200, QStringLiteral("Data")},
                     {400, 200, QStringLiteral("Hora")},
                     {550, 200, QStringLiteral("Medico")},
                     {1050, 200, QStringLiteral("Especialidade")},
                     {1400, 200, QStringLiteral("Paciente")},
                     {2000, 200, QStringLiteral("Telefone")}};
        list.columns = {200, 430, 550, 1050, 1400, 2000};
        for (const int row : printed)
            list.rows << cancelledRow(row, selected);
    } else {
        list.title = QStringLiteral("Lista de Espera");
        list.head = {{500, 130, QStringLiteral("RELAÇÃO DAS CONSULTAS NA FILA DE ESPERA")},
                     {300, 200, QStringLiteral("Medico")},
                     {600, 200, QStringLiteral("Especialidade")},
                     {900, 200, QStringLiteral("Paciente")},
                     {1350, 200, QStringLiteral("Telefone")}};
        list.columns = {300, 600, 900, 1350};
        for (const int row : printed)
            list.rows << waitingRow(row);
    }
    return list;
}

void ListTab::print(const std::vector<int> &rows)
{
    if (rows.empty() && m_entries.count() == 0) {
        // A closed or empty list would print a page of headings only.
        m_context.dialogs.information(kNothingToPrint);
        return;
    }
    m_context.specialties.load(m_context.paths.dataDir() + QLatin1Char('/'));
    // A list that did not come out stays open, to be printed again.
    if (!delivered(m_context.printer.printList(printedList(rows))))
        return;
    m_entries.close();
}

std::optional<AppointmentKey> ListTab::entryToOpen(int row)
{
    const AppointmentKey key = m_entries.key(row);
    if (key.data.isEmpty() || key.hora.isEmpty() || key.medico.isEmpty()) {
        m_context.dialogs.information(kIncomplete);
        return std::nullopt;
    }
    if (!m_context.DMMedicos.table().contains(key)) {
        // Deleted or moved since the list was read: the list is read again rather than
        // opening whatever row took its place.
        m_context.dialogs.information(kGone);
        reopen();
        return std::nullopt;
    }
    return key;
}

void ListTab::enter()
{
    m_changed = false;
    m_countWarning.clear();
    m_adviceWarning.clear();
}

void ListTab::leave()
{
    if (!m_changed)
        return;
    m_changed = false;
    if (m_context.settings.mirroringOn())
        takeMirrorSnapshot(m_context);
}

} // namespace clinora
