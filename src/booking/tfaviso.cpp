#include "booking/tfaviso.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace clinora {

TFAviso::TFAviso(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FAviso"));
    setWindowTitle(QStringLiteral("Aviso"));
    Label1 = new QLabel(QStringLiteral("AVISO: "), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    QFont big = Label1->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    Label1->setFont(big);
    Button1 = new QPushButton(QStringLiteral("Sair"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    connect(Button1, &QPushButton::clicked, this, [this] {
        m_leaving = true;
        accept();
        m_leaving = false;
    });
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 28, 20, 14);
    layout->addWidget(Label1, 1);
    layout->addWidget(Button1, 0, Qt::AlignRight);
    resize(460, 170);
}

void TFAviso::placeAtTop()
{
    if (const QWidget *main = parentWidget() ? parentWidget()->window() : QApplication::activeWindow())
        move(main->geometry().center().x() - width() / 2, main->geometry().top());
}

void TFAviso::showNotice(const QString &text)
{
    m_hint = false;
    Label1->setText(text);
    placeAtTop();
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    exec();
}

void TFAviso::showAgain()
{
    placeAtTop();
    // Beside the booking screen, it must not take the keyboard from it.
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    show();
    raise();
}

void TFAviso::keyPressEvent(QKeyEvent *event)
{
    // Esc does not close the notice; it tells how to go on.
    if (event->key() == Qt::Key_Escape)
        m_hint = true;
    update();
    event->accept();
}

void TFAviso::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    if (!m_hint)
        return;
    QPainter painter(this);
    painter.setPen(QColor(0xb0, 0x20, 0x20));
    painter.drawText(8, 4 + painter.fontMetrics().ascent(),
                     QStringLiteral("Para prosseguir, \"clique\" no botão |SAIR| >>>"));
}

void TFAviso::closeEvent(QCloseEvent *event)
{
    if (m_leaving)
        event->accept();
    else
        event->ignore();
}

void TFAviso::reject()
{
    if (m_leaving)
        QDialog::reject();
}

} // namespace clinora
