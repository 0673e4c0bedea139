#include "booking/tfconsultasdia.h"

#include "app/context.h"
#include "platform/printer.h"
#include "platform/user_action.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace clinora {

TFConsultasDia::TFConsultasDia(AppContext &context, QWidget *parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("FConsultasDia"));
    setWindowTitle(QStringLiteral("Consultas do Dia"));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox2 = new QListWidget(this);
    ListBox2->setObjectName(QStringLiteral("ListBox2"));
    for (QListWidget *list : {ListBox1, ListBox2}) {
        list->setFont(fixed);
        connect(list, &QListWidget::itemDoubleClicked, this,
                guarded(m_context.dialogs, [this, list] { ListBoxDblClick(list); }));
    }
    BImprimir = new QPushButton(QStringLiteral("Imprimir"), this);
    BImprimir->setObjectName(QStringLiteral("BImprimir"));
    BSair = new QPushButton(QStringLiteral("Sair"), this);
    BSair->setObjectName(QStringLiteral("BSair"));
    connect(BImprimir, &QPushButton::clicked, this, guarded(m_context.dialogs, [this] { BImprimirClick(); }));
    connect(BSair, &QPushButton::clicked, this, &QDialog::reject);

    auto bold = [this](const QString &text) {
        auto *label = new QLabel(text, this);
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
        return label;
    };
    auto *layout = new QGridLayout(this);
    layout->addWidget(bold(QStringLiteral("Consultas Marcadas")), 0, 0);
    layout->addWidget(bold(QStringLiteral("Horários Livres")), 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("Horário      Paciente"), this), 1, 0);
    layout->addWidget(new QLabel(QStringLiteral("Código    Hora"), this), 1, 1);
    layout->addWidget(ListBox1, 2, 0);
    layout->addWidget(ListBox2, 2, 1);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BImprimir);
    buttons->addWidget(BSair);
    layout->addLayout(buttons, 3, 0, 1, 2);
    resize(620, 520);
}

void TFConsultasDia::fill(int day, int code)
{
    m_list = makeDayList(m_context, day, code);
    ListBox1->clear();
    ListBox1->addItems(m_list.booked);
    ListBox2->clear();
    ListBox2->addItems(m_list.free);
    setWindowTitle(QStringLiteral("Consultas do Dia — %1 — %2")
                       .arg(m_list.date,
                            DoctorRegister::validCode(code) ? m_context.doctors.doctor(code).name.trimmed()
                                                            : QString()));
}

void TFConsultasDia::showList(int day, int code, bool modal)
{
    fill(day, code);
    if (modal) {
        exec();
    } else {
        show();
        raise();
        activateWindow();
    }
}

void TFConsultasDia::ListBoxDblClick(QListWidget *list)
{
    const QListWidgetItem *item = list->currentItem();
    if (!item)
        return;
    const int slot = DayList::slotOfLine(item->text());
    const QString date = m_list.date;
    const int code = m_list.code;
    done(QDialog::Accepted);
    if (goToSlot)
        goToSlot(date, slot, code);
}

void TFConsultasDia::BImprimirClick()
{
    if (!m_context.printer.choose())
        return;
    PrintFont font;
    font.family = ListBox1->font().family();
    font.pointSize = 14;
    m_context.printer.printLines(QStringLiteral("Consultas do Dia"), m_list.printLines(), font,
                                 DayList::kHeadLines);
}

void TFConsultasDia::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F6 || event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace clinora
