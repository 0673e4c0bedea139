// The report screen "Relatórios de Atendimentos": the year's attendances month by month
// per doctor, situation or specialty, or the three-year history per specialty, narrowed
// to one specialty, turned into percentages, and charted by a double-click. It shows
// the data folder's statistics or a set read from another folder.
#pragma once

#include "statistics/report_tables.h"
#include "statistics/statistics_set.h"

#include <QDialog>
#include <array>
#include <memory>

class QLabel;
class QPushButton;
class QTableView;

namespace clinora {

class AppContext;
class ClickableLabel;
class RadioGroup;
class ReportModel;
class TFGrafico;
class TFGraficoHz;

class TFRelatorios : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFRelatorios)

public:
    explicit TFRelatorios(AppContext &context, QWidget *parent = nullptr);
    ~TFRelatorios() override;

    // The open year's statistics of the data folder, modal.
    void showDataFolder();
    // The statistics written in another folder, read into their own objects, modal:
    // the run's register, timetable and tables stay as they are. A folder that holds
    // no statistics, or a damaged file, throws FileError before anything is shown.
    void showSet(const QString &folder);
    // A set already read.
    void showSet(StatisticsSet set);

    const reports::ReportTable &table() const { return m_table; }
    const StatisticsSet &set() const { return m_set; }
    int filter() const { return m_filter; }
    TFGrafico &grafico();
    TFGraficoHz &graficoHz();
    // The label of a specialty code 51 to 80.
    ClickableLabel *specialtyLabel(int code) const;
    static QString specialtyLabelName(int code);

    QLabel *Label1 = nullptr;          // the heading
    ClickableLabel *Label3 = nullptr;  // "Todos"
    ClickableLabel *Label4 = nullptr;  // "Histo"
    QLabel *Label44 = nullptr;         // the arrow of the specialty choice
    ClickableLabel *Label2 = nullptr;  // "Médicos"
    ClickableLabel *Label41 = nullptr; // "Situações"
    ClickableLabel *Label42 = nullptr; // "Especialidades"
    QLabel *Label43 = nullptr;         // the arrow of the table choice
    RadioGroup *RGGrafico = nullptr;
    QTableView *Grade = nullptr;
    QPushButton *BPercentagem = nullptr;
    QPushButton *Button2 = nullptr;

public Q_SLOTS:
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void run(StatisticsSet set);
    void FormActivate();
    void Label3Click();
    void SpecialtyClick(int code);
    void Label2Click();
    void Label41Click();
    void Label42Click();
    void Label4Click();
    void BPercentagemClick();
    void GradeMouseMove();
    void GradeDblClick(int row, int column);
    // Shows a table in the grid, placed and sized for it.
    void showTable(reports::ReportTable table);
    void emptyGrid();
    void pointArrow(QLabel *arrow, QWidget *at);
    reports::Orientation orientation() const;

    AppContext &m_context;
    StatisticsSet m_set;
    reports::ReportTable m_table;
    int m_filter = 0;
    std::unique_ptr<ReportModel> m_model;
    std::array<ClickableLabel *, 30> m_specialties{};
    TFGrafico *FGrafico = nullptr;
    TFGraficoHz *FGraficoHz = nullptr;
};

} // namespace clinora
