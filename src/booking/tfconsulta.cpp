#include "booking/tfconsulta.h"

#include "app/context.h"
#include "booking/form_parts.h"
#include "platform/user_action.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace clinora {

using form::caption;
using form::named;

TFConsulta::TFConsulta(AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_editor(context)
{
    setObjectName(QStringLiteral("FConsulta"));
    setWindowTitle(QStringLiteral("Consulta"));
    build();
}

void TFConsulta::build()
{
    Label8 = form::title(this);
    Label5 = named(new QLabel(this), "Label5");
    Label6 = named(new QLabel(this), "Label6");
    Label10 = named(new QLabel(this), "Label10");
    Label12 = named(new QLabel(this), "Label12");
    form::bold({Label5, Label6, Label10, Label12});

    DBEdit3 = named(new QLineEdit(this), "DBEdit3");
    DBEdit3->setReadOnly(true);
    DBEdit3->setMaximumWidth(90);
    DBEdit2 = named(new QLineEdit(this), "DBEdit2");
    DBEdit4 = named(new QLineEdit(this), "DBEdit4");
    DBEdit9 = named(new QLineEdit(this), "DBEdit9");
    for (QLineEdit *hidden : {DBEdit2, DBEdit4, DBEdit9})
        hidden->hide();

    DBEdit1 = named(new QLineEdit(this), "DBEdit1");
    DBEdit1->setMaxLength(25);
    DBEdit1->installEventFilter(this);
    DBEdit6 = named(new QLineEdit(this), "DBEdit6");
    DBEdit6->setMaxLength(12);
    DBComboBox1 = form::situationBox(this, DBEdit9);
    DBMemo1 = form::remarksBox(this);

    auto *info = new QGridLayout;
    info->addWidget(caption(QStringLiteral("Médico:"), "Label2", this), 0, 0);
    info->addWidget(Label5, 0, 1, 1, 3);
    info->addWidget(caption(QStringLiteral("Dia:"), "Label3", this), 1, 0);
    info->addWidget(DBEdit3, 1, 1);
    info->addWidget(caption(QStringLiteral("Hora:"), "Label4", this), 1, 2);
    info->addWidget(Label6, 1, 3);
    form::addRoomAndFloor(info, 2, Label10, Label12, this);
    info->setColumnStretch(3, 1);

    QGridLayout *fields = form::patientFields(this, QStringLiteral("Paciente"), DBEdit1, DBEdit6, DBComboBox1, DBMemo1);

    BIncluir = named(new QPushButton(QStringLiteral("Incluir"), this), "BIncluir");
    BAlterar = named(new QPushButton(QStringLiteral("Alterar"), this), "BAlterar");
    BExcluir = named(new QPushButton(QStringLiteral("Excluir"), this), "BExcluir");
    Button1 = named(new QPushButton(QStringLiteral("P"), this), "Button1");
    Button1->setToolTip(QStringLiteral("Paciente"));
    Button2 = named(new QPushButton(QStringLiteral("H"), this), "Button2");
    Button2->setToolTip(QStringLiteral("Hospital"));
    Button3 = named(new QPushButton(QStringLiteral("Imprimir"), this), "Button3");
    BExportar = named(new QPushButton(QStringLiteral("Exportar"), this), "BExportar");
    BImportar = named(new QPushButton(QStringLiteral("Importar"), this), "BImportar");
    BSair = named(new QPushButton(QStringLiteral("Sair/Esc"), this), "BSair");
    for (QPushButton *b : {BIncluir, BAlterar, BExcluir, Button1, Button2, Button3, BExportar, BImportar, BSair})
        b->setAutoDefault(false);

    Dialogs &dialogs = m_context.dialogs;
    connect(BIncluir, &QPushButton::clicked, this, guarded(dialogs, [this] { run(&AppointmentEditor::incluir); }));
    connect(BAlterar, &QPushButton::clicked, this, guarded(dialogs, [this] { run(&AppointmentEditor::alterar); }));
    connect(BExcluir, &QPushButton::clicked, this, guarded(dialogs, [this] { finish(m_editor.excluir()); }));
    connect(Button1, &QPushButton::clicked, this,
            guarded(dialogs, [this] { finish(m_editor.cancelar(QLatin1Char('P'), typed())); }));
    connect(Button2, &QPushButton::clicked, this,
            guarded(dialogs, [this] { finish(m_editor.cancelar(QLatin1Char('H'), typed())); }));
    connect(BExportar, &QPushButton::clicked, this, guarded(dialogs, [this] { run(&AppointmentEditor::exportar); }));
    connect(BImportar, &QPushButton::clicked, this, guarded(dialogs, [this] { finish(m_editor.importar()); }));
    connect(Button3, &QPushButton::clicked, this, guarded(dialogs, [this] { BImprimirClick(); }));
    connect(BSair, &QPushButton::clicked, this, guarded(dialogs, [this] { BSairClick(); }));

    auto *desmarcar = new QVBoxLayout;
    auto *desmarcarLabel = named(new QLabel(QStringLiteral("Desmarcar"), this), "Label7");
    desmarcarLabel->setAlignment(Qt::AlignCenter);
    desmarcar->addWidget(desmarcarLabel);
    auto *ph = new QHBoxLayout;
    ph->addWidget(Button1);
    ph->addWidget(Button2);
    desmarcar->addLayout(ph);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BIncluir, 0, Qt::AlignBottom);
    buttons->addWidget(BAlterar, 0, Qt::AlignBottom);
    buttons->addWidget(BExcluir, 0, Qt::AlignBottom);
    buttons->addLayout(desmarcar);
    buttons->addWidget(BExportar, 0, Qt::AlignBottom);
    buttons->addWidget(BImportar, 0, Qt::AlignBottom);
    buttons->addWidget(Button3, 0, Qt::AlignBottom);
    buttons->addStretch();
    buttons->addWidget(BSair, 0, Qt::AlignBottom);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label8);
    layout->addLayout(info);
    layout->addSpacing(6);
    layout->addLayout(fields);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    resize(640, 380);
}

void TFConsulta::prepareFor(const CurrentCell &cell)
{
    m_editor.prepare(cell);
    Label5->setText(m_editor.doctorName());
    Label6->setText(m_editor.timeLabel());
    FormActivate();
}

void TFConsulta::openFor(const CurrentCell &cell)
{
    bool prepared = false;
    runUserAction(m_context.dialogs, [&] {
        prepareFor(cell);
        prepared = true;
    });
    if (prepared)
        exec();
}

void TFConsulta::FormActivate()
{
    for (QPushButton *b : {BIncluir, BAlterar, BExcluir, Button1, Button2, Button3, BExportar, BImportar})
        b->setEnabled(false);
    m_editor.activate();
    const Appointment &row = m_editor.shown();
    const bool existing = m_editor.existing();
    for (QPushButton *b : {BExcluir, BAlterar, Button1, Button2, BExportar, Button3})
        b->setEnabled(existing);
    BIncluir->setEnabled(!existing);
    BImportar->setEnabled(m_editor.importOffered());
    // Enter does the operation on offer: booking a free slot, changing a booked one.
    BIncluir->setDefault(!existing);
    BAlterar->setDefault(existing);

    form::showSituation(DBComboBox1, DBEdit9, m_editor.situationItems(), row.situacao);
    DBEdit1->setText(row.paciente);
    DBEdit2->setText(row.medico);
    DBEdit3->setText(row.data);
    DBEdit4->setText(row.hora);
    DBEdit6->setText(row.telefone);
    DBMemo1->setPlainText(row.observacoes);
    DBEdit2->hide();
    DBEdit4->hide();
    Label10->setText(m_editor.room());
    Label12->setText(m_editor.floor());
    DBEdit1->setFocus();
    DBEdit1->selectAll();
}

TypedAppointment TFConsulta::typed() const
{
    return {DBEdit1->text(), DBEdit6->text(), DBComboBox1->currentText(), DBMemo1->toPlainText()};
}

void TFConsulta::run(bool (AppointmentEditor::*operation)(const TypedAppointment &))
{
    finish((m_editor.*operation)(typed()));
}

void TFConsulta::finish(bool done)
{
    if (done)
        accept();
}

void TFConsulta::BSairClick()
{
    for (QPushButton *b : {BIncluir, BExcluir, BAlterar, Button1, Button2})
        b->setEnabled(false);
    reject();
}

void TFConsulta::BImprimirClick()
{
    m_editor.imprimir();
}

void TFConsulta::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        runUserAction(m_context.dialogs, [this] { BSairClick(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFConsulta::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == DBEdit1 && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F12) {
        reject();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFConsulta::done(int result)
{
    // However the dialog closes, the cursor closes and unposted changes are dropped.
    m_editor.sair();
    DBEdit2->hide();
    DBEdit4->hide();
    QDialog::done(result);
}

} // namespace clinora
