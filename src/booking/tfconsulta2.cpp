#include "booking/tfconsulta2.h"

#include "app/context.h"
#include "booking/form_parts.h"
#include "platform/user_action.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
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

namespace {

QLineEdit *box(QWidget *parent, const char *name, int maxLength, int width)
{
    auto *edit = named(new QLineEdit(parent), name);
    edit->setMaxLength(maxLength);
    if (width > 0)
        edit->setMaximumWidth(width);
    return edit;
}

} // namespace

TFConsulta2::TFConsulta2(AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_editor(context)
{
    setObjectName(QStringLiteral("FConsulta2"));
    setWindowTitle(QStringLiteral("FConsulta2"));
    build();
}

void TFConsulta2::build()
{
    Label8 = form::title(this);
    Label5 = named(new QLabel(this), "Label5");
    Label6 = named(new QLabel(this), "Label6");
    Label10 = named(new QLabel(this), "Label10");
    Label12 = named(new QLabel(this), "Label12");
    form::bold({Label5, Label6, Label10, Label12});

    DBEdit3 = box(this, "DBEdit3", 8, 90);
    DBEdit4 = box(this, "DBEdit4", 2, 40);
    DBEdit2 = box(this, "DBEdit2", 2, 40);
    DBEdit1 = box(this, "DBEdit1", 25, 0);
    DBEdit6 = box(this, "DBEdit6", 12, 0);
    DBEdit9 = box(this, "DBEdit9", 1, 0);
    DBEdit9->hide();
    DBComboBox1 = form::situationBox(this, DBEdit9);
    DBMemo1 = form::remarksBox(this);

    auto *diaCaption = caption(QStringLiteral("Dia:"), "Label3", this);
    auto *horaCaption = caption(QStringLiteral("Hora:"), "Label4", this);
    m_keyBoxes = {diaCaption, DBEdit3, horaCaption, DBEdit4};

    // The boxes read, left to right and down, in the order of a rebooking: the new day,
    // the slot, the doctor, then the patient.
    auto *info = new QGridLayout;
    info->addWidget(diaCaption, 0, 0);
    info->addWidget(DBEdit3, 0, 1);
    info->addWidget(horaCaption, 0, 2);
    info->addWidget(DBEdit4, 0, 3);
    info->addWidget(Label6, 0, 4);
    info->addWidget(caption(QStringLiteral("Médico:"), "Label2", this), 1, 0);
    info->addWidget(DBEdit2, 1, 1);
    info->addWidget(Label5, 1, 2, 1, 3);
    form::addRoomAndFloor(info, 2, Label10, Label12, this);
    info->setColumnStretch(4, 1);

    QGridLayout *fields =
        form::patientFields(this, QStringLiteral("Nome"), DBEdit1, DBEdit6, DBComboBox1, DBMemo1);

    BIncluir = named(new QPushButton(QStringLiteral("Incluir"), this), "BIncluir");
    BAlterar = named(new QPushButton(QStringLiteral("Alterar"), this), "BAlterar");
    BExportar = named(new QPushButton(QStringLiteral("Exportar"), this), "BExportar");
    Button3 = named(new QPushButton(QStringLiteral("Imprimir"), this), "Button3");
    BSair = named(new QPushButton(QStringLiteral("Sair/Esc"), this), "BSair");
    NoticeFrame = named(new QFrame(this), "NoticeFrame");
    NoticeFrame->setFrameShape(QFrame::Box);
    BAviso =
        named(new QPushButton(QStringLiteral("Avisar desmarcação e clicar aqui"), NoticeFrame), "BAviso");
    auto *noticeLayout = new QHBoxLayout(NoticeFrame);
    noticeLayout->setContentsMargins(4, 4, 4, 4);
    noticeLayout->addWidget(BAviso);
    Label7 = named(new QLabel(QStringLiteral("Desmarcação Comunicada"), this), "Label7");
    Label7->setStyleSheet(QStringLiteral("color: #006000; font-weight: bold;"));
    for (QPushButton *b : {BIncluir, BAlterar, BAviso, BExportar, Button3, BSair})
        b->setAutoDefault(false);

    Dialogs &dialogs = m_context.dialogs;
    connect(BIncluir, &QPushButton::clicked, this,
            guarded(dialogs, [this] { run(&RebookingEditor::incluir); }));
    connect(BAlterar, &QPushButton::clicked, this,
            guarded(dialogs, [this] { run(&RebookingEditor::alterar); }));
    connect(BExportar, &QPushButton::clicked, this,
            guarded(dialogs, [this] { run(&RebookingEditor::exportar); }));
    connect(BAviso, &QPushButton::clicked, this, guarded(dialogs, [this] { run(&RebookingEditor::avisar); }));
    connect(Button3, &QPushButton::clicked, this, guarded(dialogs, [this] { m_editor.imprimir(typed()); }));
    connect(BSair, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BIncluir);
    buttons->addWidget(BAlterar);
    buttons->addWidget(NoticeFrame);
    buttons->addWidget(Label7);
    buttons->addWidget(BExportar);
    buttons->addWidget(Button3);
    buttons->addStretch();
    buttons->addWidget(BSair);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label8);
    layout->addLayout(info);
    layout->addSpacing(6);
    layout->addLayout(fields);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    NoticeFrame->hide();
    Label7->hide();

    // Tab follows the same order, whatever order the boxes were made in.
    const QList<QWidget *> chain{DBEdit3,  DBEdit4,  DBEdit2, DBEdit1,   DBEdit6, DBComboBox1, DBMemo1,
                                 BIncluir, BAlterar, BAviso,  BExportar, Button3, BSair};
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
    // The labels follow what is typed: the time told to the patient is the new slot's.
    for (QLineEdit *edit : {DBEdit3, DBEdit4, DBEdit2})
        connect(edit, &QLineEdit::textChanged, this, guarded(dialogs, [this] { showLabels(); }));
    resize(700, 400);
}

void TFConsulta2::showKeyBoxes(bool shown)
{
    for (QWidget *w : m_keyBoxes)
        w->setVisible(shown);
}

bool TFConsulta2::prepareEntry(const AppointmentKey &key, RebookingEditor::Origin origin)
{
    if (!m_editor.openEntry(key, origin))
        return false;
    // A waiting entry is rebooked through "Exportar"; a cancelled one shows its date and
    // slot to be typed over, whatever was opened before.
    showKeyBoxes(origin != RebookingEditor::Origin::Waiting);
    FormActivate();
    NoticeFrame->setVisible(origin == RebookingEditor::Origin::Cancelled && m_editor.noticeOffered());
    return true;
}

void TFConsulta2::prepareNewWaiting()
{
    m_editor.newWaitingEntry();
    showKeyBoxes(false);
    NoticeFrame->hide();
    FormActivate();
}

bool TFConsulta2::openEntry(const AppointmentKey &key, RebookingEditor::Origin origin, int *result)
{
    bool prepared = false;
    runUserAction(m_context.dialogs, [&] { prepared = prepareEntry(key, origin); });
    if (!prepared)
        return false;
    const int r = exec();
    if (result)
        *result = r;
    return true;
}

int TFConsulta2::openNewWaiting()
{
    bool prepared = false;
    runUserAction(m_context.dialogs, [&] {
        prepareNewWaiting();
        prepared = true;
    });
    return prepared ? exec() : QDialog::Rejected;
}

void TFConsulta2::FormActivate()
{
    const Appointment &row = m_editor.shown();
    const bool existing = m_editor.existing();
    BIncluir->setEnabled(!existing);
    for (QPushButton *b : {BAlterar, BExportar, Button3})
        b->setEnabled(existing);
    // Enter adds a new waiting entry, or changes (rebooks) the one shown.
    BIncluir->setDefault(!existing);
    BAlterar->setDefault(existing);

    form::showSituation(DBComboBox1, DBEdit9, m_editor.situationItems(), row.situacao);

    BAviso->setVisible(m_editor.noticeOffered());
    BAviso->setEnabled(m_editor.noticeOffered());
    Label7->setVisible(m_editor.noticeGiven());

    DBEdit3->setText(row.data);
    DBEdit4->setText(row.hora);
    DBEdit2->setText(row.medico);
    DBEdit1->setText(row.paciente);
    DBEdit6->setText(row.telefone);
    DBMemo1->setPlainText(row.observacoes);
    showLabels();
    // A cancelled entry opens on its day, to be typed over with the new one; a waiting
    // entry on the patient; a new waiting entry on the doctor wanted.
    if (!existing) {
        DBEdit2->setFocus();
    } else if (m_editor.origin() == RebookingEditor::Origin::Cancelled) {
        DBEdit3->setFocus();
        DBEdit3->selectAll();
    } else {
        DBEdit1->setFocus();
    }
}

void TFConsulta2::showLabels()
{
    const RebookingEditor::Labels labels = m_editor.labelsFor(typed());
    Label5->setText(labels.name);
    Label6->setText(labels.time);
    Label10->setText(labels.room);
    Label12->setText(labels.floor);
}

TypedEntry TFConsulta2::typed() const
{
    return {DBEdit3->text(),       DBEdit4->text(), DBEdit2->text(),
            DBEdit1->text(),       DBEdit6->text(), DBComboBox1->currentText(),
            DBMemo1->toPlainText()};
}

void TFConsulta2::run(bool (RebookingEditor::*operation)(const TypedEntry &))
{
    if ((m_editor.*operation)(typed()))
        accept();
}

void TFConsulta2::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFConsulta2::done(int result)
{
    // However the dialog closes, the next entry opens with every box in view.
    NoticeFrame->hide();
    showKeyBoxes(true);
    QDialog::done(result);
}

} // namespace clinora
