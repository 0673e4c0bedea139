#include "statistics/tfgrafico.h"

#include "store/clinic.h"
#include "platform/printer.h"
#include "platform/user_action.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPolygon>
#include <QPushButton>
#include <QScreen>

namespace clinora {

namespace {

const QColor kAqua(0, 255, 255);
const QColor kNavy(0, 0, 128);

QFont boldFont(QFont font, int points)
{
    font.setPointSize(points);
    font.setBold(true);
    return font;
}

} // namespace

void paintChart(QPainter &painter, const reports::ChartLayout &layout, const QPalette &palette)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 1, Qt::SolidLine));
    painter.drawLine(layout.axis);
    const QPen barPen(Qt::blue);
    const QPen hatchPen(kAqua);
    const QPen tickPen(palette.color(QPalette::ToolTipText));
    const QPen textPen(Qt::black);
    const QFontMetrics metrics = painter.fontMetrics();
    const int ascent = metrics.ascent();
    const reports::LabelPlan plan = reports::planLabels(
        layout, [&metrics](const QString &text) { return metrics.horizontalAdvance(text); },
        metrics.height());
    int index = -1;
    for (const reports::ChartLayout::Bar &bar : layout.bars) {
        ++index;
        const int axis = reports::ChartLayout::kAxisY;
        painter.setPen(hatchPen);
        painter.drawLines(reports::hatching(bar));
        painter.setPen(barPen);
        const QPoint corners[] = {
            {bar.x, axis}, {bar.x, bar.top}, {bar.x + bar.width, bar.top}, {bar.x + bar.width, axis}};
        painter.drawPolygon(corners, 4);
        if (bar.hasLabel && plan.turned) {
            if (plan.shows(index)) {
                const int middle = bar.tick.x1();
                painter.setPen(tickPen);
                painter.drawLine(middle, axis, middle, axis + 4);
                painter.save();
                // The line's glyphs lie across the tick, centred on it.
                painter.translate(middle - (metrics.ascent() - metrics.descent()) / 2, axis + 6);
                painter.rotate(90);
                painter.drawText(0, 0, metrics.elidedText(bar.label, Qt::ElideRight, plan.room));
                painter.restore();
            }
        } else if (bar.hasLabel) {
            painter.setPen(tickPen);
            painter.drawLine(bar.tick);
            painter.drawText(bar.labelAt.x(), bar.labelAt.y() + ascent, bar.label);
        }
        if (bar.steppedAside) {
            painter.setPen(kAqua);
            painter.drawLine(bar.connector);
        }
        if (!bar.text.isEmpty()) {
            painter.setPen(textPen);
            painter.drawText(bar.textAt.x(), bar.textAt.y() + ascent, bar.text);
        }
    }
    painter.restore();
}

ChartWindow::ChartWindow(Clinic &context, const QString &name, const QString &caption,
                         const QString &totalCaption, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(name);
    setWindowTitle(caption);
    setAutoFillBackground(true);
    setFixedSize(kWidth, reports::ChartLayout::kHeight);

    Label4 = new QLabel(QStringLiteral("Gráfico de Consultas"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setFont(boldFont(font(), 12));
    Label4->setAlignment(Qt::AlignCenter);
    Label4->setGeometry(32, 4, 550, 24);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(boldFont(font(), 10));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(32, 28, 550, 20);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setAutoFillBackground(true);
    Panel1->setGeometry(630, 60, 116, 62);
    Label2 = new QLabel(totalCaption, Panel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(boldFont(font(), 10));
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setGeometry(4, 4, 108, 22);
    Label3 = new QLabel(Panel1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setFont(boldFont(font(), 11));
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setAutoFillBackground(true);
    Label3->setGeometry(8, 30, 100, 26);

    BImprimir = new QPushButton(QStringLiteral("Imprimir"), this);
    BImprimir->setObjectName(QStringLiteral("BImprimir"));
    BImprimir->setGeometry(640, 140, 96, 30);
    BSair = new QPushButton(QStringLiteral("Sair"), this);
    BSair->setObjectName(QStringLiteral("BSair"));
    BSair->setGeometry(640, 180, 96, 30);
    for (QPushButton *button : {BImprimir, BSair})
        button->setAutoDefault(false);
    connect(BImprimir, &QPushButton::clicked, this, guarded(m_context.dialogs, [this] { BImprimirClick(); }));
    connect(BSair, &QPushButton::clicked, this, &QWidget::close);
    setPrinting(false);
}

void ChartWindow::showChart(const reports::ChartData &data)
{
    m_data = data;
    m_layout = reports::layoutChart(data);
    Label1->setText(data.subtitle);
    Label3->setText(data.total);
    setFixedSize(kWidth, m_layout.windowHeight);
    if (!isVisible()) {
        if (const QScreen *screen = QApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    show();
    raise();
    activateWindow();
    update();
}

void ChartWindow::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    QFont small = font();
    small.setPointSize(8);
    painter.setFont(small);
    paintChart(painter, m_layout, palette());
}

void ChartWindow::setPrinting(bool printing)
{
    QPalette window = palette();
    window.setColor(QPalette::Window,
                    printing ? QColor(Qt::white) : QApplication::palette().color(QPalette::Button));
    setPalette(window);
    Panel1->setPalette(window);
    // The total stands out in white on the screen and prints in black on white.
    QPalette total = Label3->palette();
    total.setColor(QPalette::Window, printing ? QColor(Qt::white) : kNavy);
    total.setColor(QPalette::WindowText, printing ? QColor(Qt::black) : QColor(Qt::white));
    Label3->setPalette(total);
    BImprimir->setVisible(!printing);
    BSair->setVisible(!printing);
}

void ChartWindow::BImprimirClick()
{
    if (!m_context.printer.choose())
        return;
    setPrinting(true);
    // The window draws itself again on the printer's page: at its resolution, not as
    // the pixels of the screen.
    try {
        m_context.printer.printDrawing(windowTitle(), size(), [this](QPainter &painter) {
            render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
        });
    } catch (...) {
        // A printer that failed leaves the chart on the screen as it was.
        setPrinting(false);
        throw;
    }
    close();
}

void ChartWindow::hideEvent(QHideEvent *event)
{
    setPrinting(false);
    QDialog::hideEvent(event);
}

void ChartWindow::closeEvent(QCloseEvent *event)
{
    setPrinting(false);
    QDialog::closeEvent(event);
}

void ChartWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

TFGrafico::TFGrafico(Clinic &context, QWidget *parent)
    : ChartWindow(context, QStringLiteral("FGrafico"), QStringLiteral("Gráfico de Consultas"),
                  QStringLiteral("TOTAL"), parent)
{
}

TFGraficoHz::TFGraficoHz(Clinic &context, QWidget *parent)
    : ChartWindow(context, QStringLiteral("FGraficoHz"), QStringLiteral("Gráfico na Horizontal"),
                  QStringLiteral("Total"), parent)
{
}

} // namespace clinora
