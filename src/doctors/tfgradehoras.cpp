#include "doctors/tfgradehoras.h"

#include "store/clinic.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace clinora {

TFGradeHoras::TFGradeHoras(Clinic &context, QWidget *parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("FGradeHoras"));
    setWindowTitle(QStringLiteral("Horários do Médico"));
    Label1 = new QLabel(QStringLiteral("Médico(a):"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);

    SGGradeHoras = new QTableWidget(24, 7, this);
    SGGradeHoras->setObjectName(QStringLiteral("SGGradeHoras"));
    SGGradeHoras->setHorizontalHeaderLabels({QStringLiteral("2ª F"), QStringLiteral("3ª F"),
                                             QStringLiteral("4ª F"), QStringLiteral("5ª F"),
                                             QStringLiteral("6ª F"), QStringLiteral("Sab"),
                                             QStringLiteral("Dom")});
    SGGradeHoras->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    SGGradeHoras->verticalHeader()->setDefaultSectionSize(20);

    Button1 = new QPushButton(QStringLiteral("Sair"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

    auto *top = new QHBoxLayout;
    top->addWidget(Label1);
    top->addWidget(Label2, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(SGGradeHoras, 1);
    layout->addWidget(Button1, 0, Qt::AlignRight);
    resize(520, 600);
}

void TFGradeHoras::fill(int code)
{
    Label2->setText(DoctorRegister::validCode(code) ? m_context.doctors.doctor(code).name.trimmed() : QString());
    // Columns Monday (weekday 2) to Saturday (7), then Sunday (1).
    for (int col = 0; col < 7; ++col) {
        const int weekday = col == 6 ? 1 : col + 2;
        for (int slot = 1; slot <= 24; ++slot) {
            const QString time = DoctorRegister::validCode(code) ? m_context.doctors.time(weekday, code, slot)
                                                                 : QString();
            SGGradeHoras->setItem(slot - 1, col, new QTableWidgetItem(time));
        }
    }
}

void TFGradeHoras::showTimetable(int code)
{
    fill(code);
    exec();
}

void TFGradeHoras::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F5) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace clinora
