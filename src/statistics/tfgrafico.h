// The two bar-chart windows of the report screen: "Gráfico de Consultas" (TFGrafico)
// charts a column, one bar per row; "Gráfico na Horizontal" (TFGraficoHz) charts a row,
// one bar per column. Both draw with QPainter from the chart layout and print the
// window drawn again at the printer's resolution.
#pragma once

#include "statistics/chart_layout.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace clinora {

class Clinic;

class ChartWindow : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChartWindow)

public:
    static constexpr int kWidth = 760;

    // Shows the chart of the data beside the report screen, or redraws it when shown.
    void showChart(const reports::ChartData &data);
    const reports::ChartLayout &layout() const { return m_layout; }
    const reports::ChartData &data() const { return m_data; }

    QLabel *Label4 = nullptr; // "Gráfico de Consultas"
    QLabel *Label1 = nullptr; // the month, year or name charted
    QFrame *Panel1 = nullptr;
    QLabel *Label2 = nullptr; // "TOTAL" / "Total"
    QLabel *Label3 = nullptr; // the total
    QPushButton *BImprimir = nullptr;
    QPushButton *BSair = nullptr;

protected:
    ChartWindow(Clinic &context, const QString &name, const QString &caption, const QString &totalCaption,
                QWidget *parent);
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void BImprimirClick();
    // White for the paper, the button face on screen.
    void setPrinting(bool printing);

    Clinic &m_context;
    reports::ChartData m_data;
    reports::ChartLayout m_layout;
};

// Draws a chart layout: the axis, the hatched bars, the ticks, labels and values.
void paintChart(QPainter &painter, const reports::ChartLayout &layout, const QPalette &palette);

class TFGrafico final : public ChartWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFGrafico)

public:
    explicit TFGrafico(Clinic &context, QWidget *parent = nullptr);
};

class TFGraficoHz final : public ChartWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFGraficoHz)

public:
    explicit TFGraficoHz(Clinic &context, QWidget *parent = nullptr);
};

} // namespace clinora
