#include "protection/tfmostracopias.h"

#include "protection/mirror_link.h"
#include "protection/synchronisation.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>

namespace clinora {

namespace {

QFrame *shape(const QString &name, const QString &tip, const QColor &colour, QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setToolTip(tip);
    frame->setFrameShape(QFrame::Box);
    frame->setMinimumSize(120, 70);
    frame->setAutoFillBackground(true);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::Window, colour);
    frame->setPalette(palette);
    return frame;
}

QLabel *label(const QString &name, const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

} // namespace

TFMostraCopias::TFMostraCopias(MirroredClinic &context, QWidget *parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("FMostraCopias"));
    setWindowTitle(QStringLiteral("Situação das Cópias de Segurança"));
    auto *system = label(QStringLiteral("Label1"), QStringLiteral("Sistema"), this);
    DriveInt = shape(QStringLiteral("DriveInt"), QStringLiteral("Espelho igual ao Sistema"), QColor(0x9c, 0xd6, 0x9c), this);
    DriveExt = shape(QStringLiteral("DriveExt"), QStringLiteral("Espelho"), QColor(0xd0, 0xd8, 0xf0), this);
    MovDrive = shape(QStringLiteral("MovDrive"), QStringLiteral("Movimento gravado no Espelho"), QColor(0xf0, 0xe0, 0x90), this);
    MovInter = shape(QStringLiteral("MovInter"), QStringLiteral("Cópia não atualizada"), QColor(0xf0, 0x80, 0x80), this);
    Label2 = label(QStringLiteral("Label2"), QStringLiteral("A:"), this);
    Label3 = label(QStringLiteral("Label3"), QStringLiteral("Movimento"), this);
    Label5 = label(QStringLiteral("Label5"), QStringLiteral("A:"), this);
    Label6 = label(QStringLiteral("Label6"), QStringLiteral("CUIDADO!"), this);
    QFont bold = Label6->font();
    bold.setBold(true);
    Label6->setFont(bold);
    auto *layout = new QGridLayout(this);
    layout->addWidget(system, 0, 0);
    layout->addWidget(Label5, 0, 2);
    layout->addWidget(Label2, 0, 2);
    layout->addWidget(shape(QStringLiteral("DriveSist"), QStringLiteral("Sistema"), QColor(0xe0, 0xe0, 0xe0), this), 1, 0);
    layout->addWidget(MovDrive, 1, 1);
    layout->addWidget(MovInter, 1, 1);
    layout->addWidget(DriveInt, 1, 2);
    layout->addWidget(DriveExt, 1, 2);
    layout->addWidget(Label3, 2, 1);
    layout->addWidget(Label6, 3, 1);
}

mirror::CopiesStatus TFMostraCopias::execute()
{
    const mirror::CopiesStatus status = mirror::copiesStatus(m_context);
    m_journalCount = status.journalCount;
    m_notCurrent = status.notCurrent;
    exec();
    return status;
}

void TFMostraCopias::showEvent(QShowEvent *event)
{
    FormActivate();
    QDialog::showEvent(event);
}

void TFMostraCopias::FormActivate()
{
    for (QWidget *w : std::initializer_list<QWidget *>{DriveInt, DriveExt, MovDrive, MovInter, Label2, Label3,
                                                       Label5, Label6})
        w->hide();
    if (m_notCurrent) {
        for (QWidget *w : std::initializer_list<QWidget *>{DriveExt, MovInter, Label2, Label3, Label6})
            w->show();
    } else if (m_journalCount > 0) {
        for (QWidget *w : std::initializer_list<QWidget *>{DriveExt, MovDrive, Label2, Label3})
            w->show();
    } else {
        DriveInt->show();
        Label5->show();
    }
}

} // namespace clinora
