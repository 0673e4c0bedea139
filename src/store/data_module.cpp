#include "store/data_module.h"

#include "core/common.h"
#include "core/data_files.h"
#include "platform/errors.h"
#include "platform/paths.h"

namespace clinora {

LiveQuery::LiveQuery(AppointmentTable &table, QString initialText)
    : m_table(table), m_text(std::move(initialText))
{
}

void LiveQuery::open(const ListQuery &query)
{
    m_rows = m_table.select(query);
    m_open = true;
}

void LiveQuery::close()
{
    m_rows.clear();
    m_open = false;
}

void LiveQuery::removeAt(int i)
{
    const AppointmentKey key = m_rows.at(static_cast<std::size_t>(i)).key();
    m_table.remove(key);
    m_rows.erase(m_rows.begin() + i);
}

TDMMedicos::TDMMedicos(const Paths &paths)
    : m_paths(paths),
      TMedicos(m_table),
      QMedicos(m_table, QStringLiteral("Select * from Medicos")),
      QMedicos2(m_table, QStringLiteral("Select * From Medicos"))
{
}

void TDMMedicos::open()
{
    m_table.open(m_paths.file(files::kTable), true, AppointmentTable::WholeCheck::UnlessClosedClean);
}

AppointmentTable &TDMMedicos::workTable()
{
    if (!m_workTable.isOpen())
        m_workTable.open(m_paths.file(files::kWorkTable), true);
    return m_workTable;
}

void TDMMedicos::close()
{
    TMedicos.close();
    QMedicos.close();
    QMedicos2.close();
    m_workTable.close();
    m_table.close();
}

void TDMMedicos::closeAtEnd()
{
    TMedicos.close();
    QMedicos.close();
    QMedicos2.close();
    m_workTable.close();
    m_table.closeClean();
}

QString TDMMedicos::aliasDirectory(const QString &alias, const Paths &paths, const Settings &settings)
{
    if (alias.compare(QLatin1String("MedicosBK"), Qt::CaseInsensitive) == 0)
        return mirrorDirectory(settings, paths);
    if (alias.compare(QLatin1String("Medicos"), Qt::CaseInsensitive) == 0)
        return paths.dataDir();
    throw StoreError(QStringLiteral("Alias não existe: %1").arg(alias));
}

} // namespace clinora
