#include "statistics/tfrelatorios.h"

#include "app/context.h"
#include "core/common.h"
#include "platform/clickable_label.h"
#include "platform/dialogs.h"
#include "platform/radio_group.h"
#include "platform/user_action.h"
#include "statistics/tfgrafico.h"

#include <QAbstractTableModel>
#include <QDir>
#include <QEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>

namespace clinora {

// The grid's cells: row 0 of the table is the heading row, the rest are the rows.
class ReportModel final : public QAbstractTableModel
{
public:
    explicit ReportModel(const reports::ReportTable &table) : m_table(table) {}

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : std::max(0, m_table.rowCount() - 1);
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_table.columnCount();
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid())
            return {};
        if (role == Qt::DisplayRole)
            return m_table.cell(index.row() + 1, index.column());
        if (role == Qt::TextAlignmentRole && index.column() > 0)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < m_table.columnCount())
            return m_table.cell(0, section);
        return {};
    }
    void reset()
    {
        beginResetModel();
        endResetModel();
    }
    void cellsChanged()
    {
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
    }

private:
    const reports::ReportTable &m_table;
};

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 560;
// The grid's place, centred in the window: the doctors' names whole, then twelve
// months and the year of 49 pixels each.
constexpr int kGridWidth = 890;
constexpr int kGridArea = (kWidth - kGridWidth) / 2;
constexpr int kGridTop = 220;
constexpr int kDataColumn = 49;
constexpr int kRowHeight = 20;
constexpr int kButtonsTop = kGridTop + 290 + 12;

// Each specialty label: row and column in the panel.
constexpr int kLabelColumns = 8;
constexpr int kLabelStep = 110;
constexpr int kLabelLeft = 26;

QPoint specialtyPlace(int code)
{
    const int i = code - 51;
    return {kLabelLeft + (i % kLabelColumns) * kLabelStep, 8 + (i / kLabelColumns) * 25};
}

ClickableLabel *choice(const QString &name, const QString &caption, QWidget *parent, QPoint at, int width)
{
    auto *label = new ClickableLabel(parent);
    label->setObjectName(name);
    label->setText(caption);
    label->setGeometry(at.x(), at.y(), width, 20);
    return label;
}

QLabel *arrow(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(QStringLiteral("=>"), parent);
    label->setObjectName(name);
    QPalette red = label->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(red);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->resize(20, 20);
    return label;
}

} // namespace

QString TFRelatorios::specialtyLabelName(int code)
{
    // The first three rows run from Label17; the fourth row from Label5.
    return QStringLiteral("Label%1").arg(code <= 74 ? 17 + code - 51 : 5 + code - 75);
}

TFRelatorios::TFRelatorios(AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_table(reports::emptyTable()),
      m_model(std::make_unique<ReportModel>(m_table))
{
    setObjectName(QStringLiteral("FRelatorios"));
    setWindowTitle(QStringLiteral("Relatórios de Atendimentos"));
    setFixedSize(kWidth, kHeight);
    // Blue text; a choice that is not available greys out as usual.
    QPalette blue = palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        blue.setColor(group, QPalette::WindowText, Qt::blue);
        blue.setColor(group, QPalette::ButtonText, Qt::blue);
    }
    setPalette(blue);

    Label1 = new QLabel(QStringLiteral("ESTATÍSTICAS  DE ATENDIMENTOS"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = Label1->font();
    heading.setPointSize(13);
    heading.setBold(true);
    Label1->setFont(heading);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(0, 6, kWidth, 28);

    auto *Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setGeometry(8, 40, kWidth - 16, 110);
    for (int code = 51; code <= 80; ++code) {
        // As wide as the step between labels allows: a 15-letter name shows whole.
        ClickableLabel *label =
            choice(specialtyLabelName(code), QString(), Panel1, specialtyPlace(code), kLabelStep - 4);
        m_specialties[static_cast<std::size_t>(code - 51)] = label;
        connect(label, &ClickableLabel::clicked, this,
                guarded(m_context.dialogs, [this, code] { SpecialtyClick(code); }));
    }
    const int sideColumn = kLabelLeft + kLabelColumns * kLabelStep;
    Label3 = choice(QStringLiteral("Label3"), QStringLiteral("Todos"), Panel1, {sideColumn, 8}, 60);
    Label4 = choice(QStringLiteral("Label4"), QStringLiteral("Histo"), Panel1, {sideColumn, 58}, 60);
    Label44 = arrow(QStringLiteral("Label44"), Panel1);

    auto *Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameShape(QFrame::Panel);
    Panel2->setFrameShadow(QFrame::Raised);
    Panel2->setGeometry(kGridArea, 158, 400, 52);
    Label2 = choice(QStringLiteral("Label2"), QStringLiteral("Médicos"), Panel2, {26, 16}, 80);
    Label41 = choice(QStringLiteral("Label41"), QStringLiteral("Situações"), Panel2, {140, 16}, 90);
    Label42 = choice(QStringLiteral("Label42"), QStringLiteral("Especialidades"), Panel2, {266, 16}, 120);
    Label43 = arrow(QStringLiteral("Label43"), Panel2);
    QFont bold = Label2->font();
    bold.setBold(true);
    for (ClickableLabel *label : {Label3, Label4, Label2, Label41, Label42})
        label->setFont(bold);

    RGGrafico = new RadioGroup(QStringLiteral("RGGrafico"), QStringLiteral("Orientação do Gráfico"),
                               {QStringLiteral("Vertical"), QStringLiteral("Horizontal")}, 2, this);
    RGGrafico->setGeometry(kGridArea + 420, 152, 300, 58);
    RGGrafico->setItemIndex(0);

    Grade = new QTableView(this);
    Grade->setObjectName(QStringLiteral("Grade"));
    Grade->setModel(m_model.get());
    Grade->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grade->setSelectionMode(QAbstractItemView::SingleSelection);
    Grade->setSelectionBehavior(QAbstractItemView::SelectItems);
    Grade->verticalHeader()->hide();
    Grade->verticalHeader()->setMinimumSectionSize(16);
    Grade->verticalHeader()->setDefaultSectionSize(kRowHeight);
    Grade->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grade->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grade->horizontalHeader()->setMinimumSectionSize(20);
    Grade->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Grade->horizontalHeader()->setHighlightSections(false);
    Grade->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grade->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QFont small = Grade->font();
    small.setPointSize(8);
    Grade->setFont(small);
    Grade->horizontalHeader()->setFont(small);
    Grade->viewport()->setMouseTracking(true);
    Grade->viewport()->installEventFilter(this);
    connect(Grade, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        runUserAction(m_context.dialogs, [this, index] { GradeDblClick(index.row() + 1, index.column()); });
    });

    BPercentagem = new QPushButton(QStringLiteral("Percentagem"), this);
    BPercentagem->setObjectName(QStringLiteral("BPercentagem"));
    Button2 = new QPushButton(QStringLiteral("Sair"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(kGridArea + kGridWidth - 100, kButtonsTop, 100, 30);
    for (QPushButton *button : {BPercentagem, Button2})
        button->setAutoDefault(false);
    connect(BPercentagem, &QPushButton::clicked, this,
            guarded(m_context.dialogs, [this] { BPercentagemClick(); }));
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    connect(Label3, &ClickableLabel::clicked, this, guarded(m_context.dialogs, [this] { Label3Click(); }));
    connect(Label4, &ClickableLabel::clicked, this, guarded(m_context.dialogs, [this] { Label4Click(); }));
    connect(Label2, &ClickableLabel::clicked, this, guarded(m_context.dialogs, [this] { Label2Click(); }));
    connect(Label41, &ClickableLabel::clicked, this, guarded(m_context.dialogs, [this] { Label41Click(); }));
    connect(Label42, &ClickableLabel::clicked, this, guarded(m_context.dialogs, [this] { Label42Click(); }));

    pointArrow(Label44, Label3);
    pointArrow(Label43, Label2);
    emptyGrid();
}

TFRelatorios::~TFRelatorios()
{
    // The view lets go of the model before the model goes.
    Grade->setModel(nullptr);
}

ClickableLabel *TFRelatorios::specialtyLabel(int code) const
{
    return code >= 51 && code <= 80 ? m_specialties[static_cast<std::size_t>(code - 51)] : nullptr;
}

TFGrafico &TFRelatorios::grafico()
{
    if (!FGrafico)
        FGrafico = new TFGrafico(m_context, this);
    return *FGrafico;
}

TFGraficoHz &TFRelatorios::graficoHz()
{
    if (!FGraficoHz)
        FGraficoHz = new TFGraficoHz(m_context, this);
    return *FGraficoHz;
}

void TFRelatorios::showDataFolder()
{
    run(readDataFolderStatistics(m_context));
}

void TFRelatorios::showSet(const QString &folder)
{
    run(readStatisticsSet(folder));
}

void TFRelatorios::showSet(StatisticsSet set)
{
    run(std::move(set));
}

void TFRelatorios::run(StatisticsSet set)
{
    m_set = std::move(set);
    FormActivate();
    exec();
}

void TFRelatorios::FormActivate()
{
    RGGrafico->setItemIndex(0);
    for (int code = 51; code <= 80; ++code) {
        ClickableLabel *label = specialtyLabel(code);
        const QString name = m_set.specialtyName(code);
        label->setText(name);
        label->setEnabled(!name.isEmpty());
    }
    for (ClickableLabel *label : {Label2, Label41, Label42})
        label->setEnabled(true);
    Label3Click();
    Label2Click();
}

void TFRelatorios::pointArrow(QLabel *arrow, QWidget *at)
{
    arrow->move(at->x() - arrow->width() - 2, at->y());
    arrow->raise();
}

reports::Orientation TFRelatorios::orientation() const
{
    return RGGrafico->itemIndex() == 1 ? reports::Orientation::Horizontal : reports::Orientation::Vertical;
}

void TFRelatorios::showTable(reports::ReportTable table)
{
    m_table = std::move(table);
    const bool history = m_table.isHistory();
    const int left = kGridArea + (history ? 256 : 3);
    const int width = history ? 332 : kGridWidth;
    Grade->setGeometry(left, kGridTop, width, m_table.gridHeight);
    BPercentagem->setGeometry(kGridArea + (history ? 260 : 3), kButtonsTop, 110, 30);
    m_model->reset();
    // The names take what the month columns leave, the scroll bar included when the
    // rows do not fit.
    const int columns = m_table.columnCount();
    const int frame = 2 * Grade->frameWidth();
    const int heading = Grade->horizontalHeader()->sizeHint().height();
    const bool scrolls = (m_table.rowCount() - 1) * kRowHeight + heading + frame > m_table.gridHeight;
    const int bar = scrolls ? Grade->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, Grade) : 0;
    for (int c = 1; c < columns; ++c)
        Grade->setColumnWidth(c, kDataColumn);
    Grade->setColumnWidth(0, std::max(60, width - frame - bar - (columns - 1) * kDataColumn));
}

void TFRelatorios::emptyGrid()
{
    showTable(reports::emptyTable());
}

void TFRelatorios::Label3Click()
{
    m_filter = 0;
    for (ClickableLabel *label : {Label2, Label41, Label42})
        label->setEnabled(true);
    pointArrow(Label44, Label3);
}

void TFRelatorios::SpecialtyClick(int code)
{
    m_filter = code;
    pointArrow(Label44, specialtyLabel(code));
    emptyGrid();
    Label2->setEnabled(true);
    Label41->setEnabled(true);
    // The specialty table has one row per specialty: a filter leaves nothing to compare.
    Label42->setEnabled(false);
}

void TFRelatorios::Label2Click()
{
    Label43->show();
    pointArrow(Label43, Label2);
    showTable(reports::doctorTable(m_set, m_filter));
}

void TFRelatorios::Label41Click()
{
    Label43->show();
    pointArrow(Label43, Label41);
    showTable(reports::situationTable(m_set, m_filter));
}

void TFRelatorios::Label42Click()
{
    Label43->show();
    pointArrow(Label43, Label42);
    showTable(reports::specialtyTable(m_set));
}

void TFRelatorios::Label4Click()
{
    pointArrow(Label44, Label4);
    // The history is a table of its own: none of the three choices is shown.
    Label43->hide();
    Label2->setEnabled(false);
    Label41->setEnabled(false);
    Label42->setEnabled(true);
    showTable(reports::historyTable(m_set));
}

void TFRelatorios::BPercentagemClick()
{
    switch (reports::takePercentages(m_table, orientation())) {
    case reports::PercentOutcome::AlreadyTaken:
        m_context.dialogs.information(reports::kPercentAgain);
        emptyGrid();
        return;
    case reports::PercentOutcome::HistoryOnlyVertical:
        m_context.dialogs.information(reports::kPercentHistory);
        RGGrafico->setItemIndex(0);
        return;
    case reports::PercentOutcome::Done: m_model->cellsChanged(); return;
    }
}

void TFRelatorios::GradeMouseMove()
{
    if (reports::dropLeadingZeros(m_table))
        m_model->cellsChanged();
}

void TFRelatorios::GradeDblClick(int row, int column)
{
    const reports::ChartChoice chart = reports::chartAt(m_table, row, column, orientation());
    switch (chart.kind) {
    case reports::ChartChoice::Kind::Nothing: return;
    case reports::ChartChoice::Kind::Refused: m_context.dialogs.information(chart.message); return;
    case reports::ChartChoice::Kind::Chart:
        if (chart.data.orientation == reports::Orientation::Vertical)
            grafico().showChart(chart.data);
        else
            graficoHz().showChart(chart.data);
        return;
    }
}

bool TFRelatorios::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Grade->viewport() && event->type() == QEvent::MouseMove)
        GradeMouseMove();
    return QDialog::eventFilter(watched, event);
}

void TFRelatorios::done(int result)
{
    for (QWidget *chart : {static_cast<QWidget *>(FGrafico), static_cast<QWidget *>(FGraficoHz)}) {
        if (chart)
            chart->close();
    }
    pointArrow(Label44, Label3);
    pointArrow(Label43, Label2);
    Label43->show();
    emptyGrid();
    m_context.statisticsUpToDate = false;
    // A set read from the floppy while the mirror is on the floppy: the system's disk
    // goes back in.
    const QString floppySets =
        QDir::cleanPath(m_context.paths.drive(QLatin1Char('A')) + QStringLiteral("/Consultas/Estatisticas"));
    QString mirror = m_context.settings.mirrorDir().trimmed();
    mirror.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const bool floppyMirror =
        mirror.compare(QStringLiteral("A:/Consultas/Espelho/"), Qt::CaseInsensitive) == 0 ||
        mirror.compare(QStringLiteral("A:/Consultas/Espelho"), Qt::CaseInsensitive) == 0;
    const bool floppySet = m_set.external && QDir::cleanPath(m_set.folder).startsWith(floppySets);
    m_set = StatisticsSet();
    QDialog::done(result);
    if (floppyMirror && floppySet)
        m_context.dialogs.information(QStringLiteral("Recolocar o disquete de Operação do Sistema"));
}

} // namespace clinora
