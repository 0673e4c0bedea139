#include "doctors/tfhorarios.h"

#include "store/clinic.h"
#include "doctors/doctor_lists.h"

#include <QFontDatabase>
#include <QListWidget>
#include <QVBoxLayout>

namespace clinora {

TFHorarios::TFHorarios(Clinic &context, QWidget *parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("FHorarios"));
    setWindowTitle(QStringLiteral("Relação dos Médicos"));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    // The lines are built in fixed-width columns.
    ListBox1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(15, 15, 15, 15);
    layout->addWidget(ListBox1);
    resize(240, 400);
}

void TFHorarios::place(int left, int top, int width, int height)
{
    move(left, top);
    resize(width, height);
}

void TFHorarios::fillDoctorList()
{
    setWindowTitle(QStringLiteral("Relação dos Médicos"));
    ListBox1->clear();
    ListBox1->addItems(doctorLines(m_context.doctors));
}

void TFHorarios::showDoctorList()
{
    fillDoctorList();
    place(330, 120, 310, 420);
    exec();
}

void TFHorarios::fillDoctorsAndSpecialties()
{
    m_context.specialties.load(m_context.paths.dataDir() + QLatin1Char('/'));
    const DoctorsAndSpecialties lists = doctorsAndSpecialtiesLines(m_context.doctors, m_context.specialties);
    ListBox1->clear();
    ListBox1->addItems(lists.doctors);
    // From here on the list is bold, and stays so for later uses of the window.
    QFont bold = ListBox1->font();
    bold.setBold(true);
    ListBox1->setFont(bold);
    ListBox1->addItems(lists.specialties);
    setWindowTitle(QStringLiteral("Relação dos Médicos"));
}

void TFHorarios::showDoctorsAndSpecialties()
{
    fillDoctorsAndSpecialties();
    place(100, 100, 610, 440);
    exec();
    resize(240, 400);
}

} // namespace clinora
