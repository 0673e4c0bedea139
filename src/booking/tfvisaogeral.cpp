#include "booking/tfvisaogeral.h"

#include "app/context.h"
#include "booking/grid_view.h"
#include "booking/list_tab_widget.h"
#include "booking/tfaviso.h"
#include "booking/tfconsulta.h"
#include "booking/tfconsulta2.h"
#include "booking/tfconsultasdia.h"
#include "core/prepared_limit.h"
#include "doctors/tfgradehoras.h"
#include "doctors/tfhorarios.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/user_action.h"
#include "search/tfprocuranome.h"
#include "statistics/tffichamed.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace clinora {

namespace {

template <typename T>
T *named(T *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

QLineEdit *jumpEdit(QWidget *parent, const QString &name, int width)
{
    auto *edit = named(new QLineEdit(parent), name);
    edit->setFixedWidth(width);
    return edit;
}

QString pageName(int day)
{
    return QStringLiteral("TabSheet%1").arg(day <= 30 ? day + 1 : 33);
}

QString limparName(int day)
{
    return day <= 3 ? QStringLiteral("BLimpar%1").arg(day) : QStringLiteral("Button%1").arg(2 * day - 7);
}

} // namespace

TFVisaoGeral::TFVisaoGeral(AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_overview(context)
{
    setObjectName(QStringLiteral("FVisaoGeral"));
    setWindowTitle(QStringLiteral("Marcação de Consultas"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    FConsulta = new TFConsulta(context, this);
    FConsultasDia = new TFConsultasDia(context, this);
    FConsultasDia->goToSlot = [this](const QString &date, int slot, int code) {
        goToAppointment(date, slot, code);
    };
    FAviso = new TFAviso(this);
    FFichaMed = std::make_unique<TFFichaMed>(context);
    FFichaMed->goToSlot = [this](int day, int slot, int code) { goToSlot(day, slot, code); };
    FGradeHoras = new TFGradeHoras(context, this);
    FHorarios = new TFHorarios(context, this);
    FProcuraNome = new TFProcuraNome(context, this);

    PageControl1 = named(new QTabWidget(this), QStringLiteral("PageControl1"));
    PageControl1->setUsesScrollButtons(true);
    PageControl1->setDocumentMode(true);
    buildMonthTab();
    for (int day = 1; day <= 31; ++day)
        buildDayTab(day);
    FConsulta2 = new TFConsulta2(context, this);
    m_desmarcadas = new ListTabWidget(context, ListTab::Kind::Cancelled, *FConsulta2);
    m_emEspera = new ListTabWidget(context, ListTab::Kind::Waiting, *FConsulta2);
    TabDesmarcadas = m_desmarcadas;
    TabEmEspera = m_emEspera;
    PageControl1->addTab(TabDesmarcadas, QStringLiteral("Desmarcadas"));
    PageControl1->addTab(TabEmEspera, QStringLiteral("Em Espera"));
    for (ListTabWidget *list : {m_desmarcadas, m_emEspera})
        list->showDoctorsAndSpecialties = [this] { FHorarios->showDoctorsAndSpecialties(); };
    // A cancellation in the appointment dialog shows the cancelled list as it now is.
    FConsulta->editor().cancelledListChanged = [this] { m_desmarcadas->refresh(); };

    Dialogs &dialogs = m_context.dialogs;
    // Coming back to the month shows the sheets as they stand now.
    connect(PageControl1, &QTabWidget::currentChanged, this, guarded(dialogs, [this](int index) {
                // Another page begins a new visit: its notice may show once.
                m_noticeVisit = 0;
                m_showAgainArmed = false;
                if (PageControl1->widget(index) == TabSheet1 && isVisible())
                    m_overview.computeSummary();
                focusCurrentSheet();
            }));
    BitBtn4 = named(new QPushButton(QStringLiteral("Início"), this), QStringLiteral("BitBtn4"));
    BitBtn3 = named(new QPushButton(QStringLiteral("Final"), this), QStringLiteral("BitBtn3"));
    Button10 = named(new QPushButton(QStringLiteral("Médicos e Especialidades"), this), QStringLiteral("Button10"));
    BitBtn1 = named(new QPushButton(QStringLiteral("Menu Principal"), this), QStringLiteral("BitBtn1"));
    for (QPushButton *b : {BitBtn4, BitBtn3, Button10, BitBtn1})
        b->setAutoDefault(false);
    connect(BitBtn4, &QPushButton::clicked, this, guarded(dialogs, [this] {
                PageControl1->setCurrentWidget(TabSheet1);
                prepareMonthTab();
            }));
    connect(BitBtn3, &QPushButton::clicked, this, [this] {
        PageControl1->setCurrentWidget(TabEmEspera);
        PageControl1->setCurrentWidget(m_days[31].page);
    });
    connect(Button10, &QPushButton::clicked, this,
            guarded(dialogs, [this] { FHorarios->showDoctorsAndSpecialties(); }));
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(BitBtn4);
    bottom->addWidget(BitBtn3);
    bottom->addStretch();
    bottom->addWidget(Button10);
    bottom->addWidget(BitBtn1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(bottom);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, guarded(dialogs, [this] { Timer1Timer(); }));

    // Creation of the screen: the journal buffer starts empty.
    m_context.journal.discard();
    DateTimePicker1->setDate(m_context.clock.today());
    // Within a 1366x768 screen with its title bar and taskbar.
    resize(1120, 660);
}

TFVisaoGeral::~TFVisaoGeral()
{
    // The dialog hides its children as it goes, and the grid's header and scroll bar
    // signal it: the today mark of a screen being taken down is not placed.
    StringGrid1->horizontalHeader()->disconnect(this);
    StringGrid1->horizontalScrollBar()->disconnect(this);
}

void TFVisaoGeral::buildMonthTab()
{
    Dialogs &dialogs = m_context.dialogs;
    TabSheet1 = named(new QWidget, QStringLiteral("TabSheet1"));
    TabSheet1->setMouseTracking(true);
    TabSheet1->installEventFilter(this);

    ComboBox1 = named(new QComboBox(TabSheet1), QStringLiteral("ComboBox1"));
    ComboBox1->setMinimumContentsLength(20);
    ComboBox1->installEventFilter(this);
    // The first press of a double-click opens the list over the box: the second lands
    // on the list.
    ComboBox1->view()->viewport()->installEventFilter(this);
    connect(ComboBox1, &QComboBox::activated, this, guarded(dialogs, [this] { ComboBox1Click(); }));

    Edit3 = jumpEdit(TabSheet1, QStringLiteral("Edit3"), 50);
    Edit4 = jumpEdit(TabSheet1, QStringLiteral("Edit4"), 150);
    Edit5 = jumpEdit(TabSheet1, QStringLiteral("Edit5"), 50);
    Edit6 = jumpEdit(TabSheet1, QStringLiteral("Edit6"), 150);
    auto *cod = new QLabel(QStringLiteral("Cód"), TabSheet1);
    auto *nome = new QLabel(QStringLiteral("Nome"), TabSheet1);

    BAtualizar0 = named(new QPushButton(QStringLiteral("Atualização Completa"), TabSheet1),
                        QStringLiteral("BAtualizar0"));
    BAtualizar0->setAutoDefault(false);
    connect(BAtualizar0, &QPushButton::clicked, this, guarded(dialogs, [this] { BAtualizar0Click(); }));
    ProgressBar1 = named(new QProgressBar(TabSheet1), QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 31);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedWidth(150);
    DateTimePicker1 = named(new QDateEdit(TabSheet1), QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    DateTimePicker1->setCalendarPopup(true);
    Label5 = named(new QLabel(TabSheet1), QStringLiteral("Label5"));
    QFont notice = Label5->font();
    notice.setBold(true);
    Label5->setFont(notice);
    Label5->setStyleSheet(QStringLiteral("color: #b00000;"));
    BSair = named(new QPushButton(QStringLiteral("Sair"), TabSheet1), QStringLiteral("BSair"));
    BSair->setAutoDefault(false);
    connect(BSair, &QPushButton::clicked, this, guarded(dialogs, [this] {
                closeScreen(false);
                QDialog::reject();
            }));

    StringGrid1 = named(new GridView(GridView::Style::Month, TabSheet1), QStringLiteral("StringGrid1"));
    StringGrid1->setGrid(&m_overview.grid());
    SGMascara = named(new GridView(GridView::Style::Filtered, TabSheet1), QStringLiteral("SGMascara"));
    SGMascara->setGrid(&m_overview.filtered());
    for (GridView *grid : {StringGrid1, SGMascara}) {
        grid->viewport()->installEventFilter(this);
        connect(grid, &GridView::cellDoubleClicked, this, guarded(dialogs, [this, grid](int col, int row) {
                    const bool filtered = grid == SGMascara;
                    const int code = filtered ? m_overview.doctorOfFilteredRow(row) : row;
                    if (code > 0)
                        showDayList(col, code, filtered);
                }));
    }
    connect(StringGrid1, &GridView::focusEntered, this, guarded(dialogs, [this] { prepareMonthTab(); }));
    connect(SGMascara, &GridView::focusEntered, this, [this] {
        m_overview.filtered().beginChanges();
        for (int d = 1; d <= 31; ++d)
            m_overview.filtered().setCell(d, 0, QString::number(d));
        m_overview.filtered().endChanges();
    });
    connect(SGMascara, &QTableView::clicked, this, guarded(dialogs, [this] { m_overview.computeSummary(); }));

    connect(Edit3, &QLineEdit::textChanged, this,
            guarded(dialogs, [this](const QString &text) {
                if (const int row = DaySheets::codeJump(text))
                    StringGrid1->setTopRow(row);
            }));
    connect(Edit4, &QLineEdit::textChanged, this, guarded(dialogs, [this](const QString &text) {
                if (const int row = m_context.sheets.nameJump(text))
                    StringGrid1->setTopRow(row);
            }));
    connect(Edit5, &QLineEdit::textChanged, this, guarded(dialogs, [this](const QString &text) {
                if (const int row = m_overview.filteredCodeJump(text))
                    SGMascara->setTopRow(row);
            }));
    connect(Edit6, &QLineEdit::textChanged, this, guarded(dialogs, [this](const QString &text) {
                if (const int row = m_overview.filteredNameJump(text))
                    SGMascara->setTopRow(row);
            }));

    PHoje = named(new QLabel(QStringLiteral("H"), TabSheet1), QStringLiteral("PHoje"));
    PHoje->setAlignment(Qt::AlignCenter);
    PHoje->setStyleSheet(QStringLiteral("background: #00ff00; color: black; font-weight: bold;"));
    PHoje->setToolTip(QStringLiteral("Hoje"));
    PHoje->setFixedSize(22, 14);
    StringGrid1->horizontalScrollBar()->installEventFilter(this);
    connect(StringGrid1->horizontalHeader(), &QHeaderView::geometriesChanged, this, [this] { placeTodayMark(); });
    connect(StringGrid1->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { placeTodayMark(); });

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Especialidade"), TabSheet1));
    top->addWidget(ComboBox1);
    top->addSpacing(8);
    top->addWidget(cod);
    top->addWidget(Edit3);
    top->addWidget(Edit5);
    top->addWidget(nome);
    top->addWidget(Edit4);
    top->addWidget(Edit6);
    top->addStretch();
    top->addWidget(DateTimePicker1);
    auto *second = new QHBoxLayout;
    second->addWidget(BAtualizar0);
    second->addWidget(ProgressBar1);
    second->addSpacing(12);
    second->addWidget(Label5);
    second->addStretch();
    second->addWidget(BSair);
    auto *strip = new QWidget(TabSheet1);
    strip->setFixedHeight(16);
    PHoje->setParent(strip);
    auto *layout = new QVBoxLayout(TabSheet1);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top);
    layout->addLayout(second);
    layout->addWidget(strip);
    layout->addWidget(StringGrid1, 1);
    layout->addWidget(SGMascara, 1);
    showFilteredGrid(false);
    PageControl1->addTab(TabSheet1, QStringLiteral("Mês"));
}

void TFVisaoGeral::buildDayTab(int day)
{
    Dialogs &dialogs = m_context.dialogs;
    DayTab &tab = m_days[static_cast<std::size_t>(day)];
    DaySheet &sheet = m_context.sheets.sheet(day);
    tab.page = named(new QWidget, pageName(day));
    tab.page->installEventFilter(this);
    tab.label = named(new QLabel(sheet.label(), tab.page), QStringLiteral("Label%1").arg(day + 5));
    QFont big = tab.label->font();
    big.setPointSize(big.pointSize() + 3);
    big.setBold(true);
    tab.label->setFont(big);
    tab.grid = named(new GridView(GridView::Style::DaySheet, tab.page), QStringLiteral("StringGrid%1").arg(day + 1));
    tab.grid->setGrid(&sheet);
    tab.grid->setEnabled(sheet.isEnabled());
    tab.grid->viewport()->setMouseTracking(true);
    tab.grid->viewport()->installEventFilter(this);
    tab.limpar = named(new QPushButton(QStringLiteral("Limpar"), tab.page), limparName(day));
    tab.atualizar = named(new QPushButton(QStringLiteral("Atualizar"), tab.page), QStringLiteral("BAtualizar%1").arg(day));
    for (QPushButton *b : {tab.limpar, tab.atualizar})
        b->setAutoDefault(false);
    tab.cod = jumpEdit(tab.page, QStringLiteral("Edit%1").arg(2 * day + 5), 50);
    tab.nome = jumpEdit(tab.page, QStringLiteral("Edit%1").arg(2 * day + 6), 150);

    connect(&sheet, &DaySheet::labelChanged, tab.label, &QLabel::setText);
    connect(&sheet, &DaySheet::enabledChanged, tab.grid, &QWidget::setEnabled);
    connect(tab.limpar, &QPushButton::clicked, this, [day, this] { m_context.sheets.sheet(day).clearSlots(); });
    connect(tab.atualizar, &QPushButton::clicked, this, guarded(dialogs, [day, this] { m_context.sheets.refresh(day); }));
    connect(tab.grid, &GridView::cellDoubleClicked, this,
            guarded(dialogs, [day, this](int col, int row) { openAppointment(day, col, row); }));
    GridView *grid = tab.grid;
    connect(tab.cod, &QLineEdit::textChanged, this, guarded(dialogs, [grid](const QString &text) {
                if (const int row = DaySheets::codeJump(text))
                    grid->setTopRow(row);
            }));
    connect(tab.nome, &QLineEdit::textChanged, this, guarded(dialogs, [grid, this](const QString &text) {
                if (const int row = m_context.sheets.nameJump(text))
                    grid->setTopRow(row);
            }));

    auto *top = new QHBoxLayout;
    top->addWidget(tab.label);
    top->addStretch();
    top->addWidget(new QLabel(QStringLiteral("Cód"), tab.page));
    top->addWidget(tab.cod);
    top->addWidget(new QLabel(QStringLiteral("Nome"), tab.page));
    top->addWidget(tab.nome);
    top->addSpacing(12);
    top->addWidget(tab.limpar);
    top->addWidget(tab.atualizar);
    auto *layout = new QVBoxLayout(tab.page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top);
    layout->addWidget(tab.grid, 1);
    PageControl1->addTab(tab.page, QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0')));
}

void TFVisaoGeral::keyPressEvent(QKeyEvent *event)
{
    // The function keys reach the screen from whichever of its controls has the focus.
    switch (event->key()) {
    case Qt::Key_F1:
    case Qt::Key_F2:
    case Qt::Key_F3:
    case Qt::Key_F4:
    case Qt::Key_F5:
    case Qt::Key_F6:
        runUserAction(m_context.dialogs, [this, event] { functionKey(event->key()); });
        event->accept();
        return;
    default: QDialog::keyPressEvent(event);
    }
}

int TFVisaoGeral::showScreen(std::function<void()> then)
{
    m_afterActivate = std::move(then);
    return exec();
}

void TFVisaoGeral::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    const bool activated = runUserAction(m_context.dialogs, [this] { FormActivate(); });
    std::function<void()> then = std::exchange(m_afterActivate, {});
    if (activated && then)
        runUserAction(m_context.dialogs, then);
}

void TFVisaoGeral::FormActivate()
{
    Label5->show();
    m_ticks = 0;
    Timer1->start();
    PageControl1->setCurrentWidget(TabSheet1);
    m_overview.grid().setGridRowCount(MonthOverview::kRows);
    m_limitText = dates::formatShort(readPreparedLimit(m_context.paths));
    const QStringList items = m_overview.filterItems();
    ComboBox1->clear();
    ComboBox1->addItem(MonthOverview::kAllDoctors);
    ComboBox1->addItems(items);
    ComboBox1->setMaxVisibleItems(MonthOverview::dropDownCount(items) + 1);
    placeTodayMark();
    // The sheets are filled each time the screen opens: a sheet left blank but enabled
    // would offer closed and unprepared days for booking, and the doctor editor, the
    // preparation and the closed dates may have changed them since the last showing.
    BAtualizar0Click();
}

void TFVisaoGeral::Timer1Timer()
{
    const QString text = QStringLiteral("Sistema Preparado até ") + m_limitText;
    Label5->setText(m_ticks % 2 == 0 ? text : text + QStringLiteral("..."));
    if (m_firstTick) {
        Label5->adjustSize();
        m_firstTick = false;
    }
    QApplication::restoreOverrideCursor();
    if (++m_ticks >= 10) {
        Label5->hide();
        Label5->lower();
        Timer1->stop();
    }
}

void TFVisaoGeral::prepareMonthTab()
{
    m_overview.prepare();
}

void TFVisaoGeral::closeScreen(bool closeQueries)
{
    Timer1->stop();
    // The windows left open beside the screen go with it: a day list or a notice shown
    // over the main menu would speak of a screen no longer there.
    FConsultasDia->reject();
    FAviso->hide();
    if (m_context.journal.pending() > 0)
        runUserAction(m_context.dialogs, [this] { m_context.journal.flush(); });
    m_context.DMMedicos.TMedicos.close();
    if (closeQueries) {
        m_context.DMMedicos.QMedicos.close();
        m_context.DMMedicos.QMedicos2.close();
        // The lists open again with "Atualizar", as the table then stands.
        m_desmarcadas->tab().entries().close();
        m_emEspera->tab().entries().close();
    }
}

void TFVisaoGeral::reject()
{
    closeScreen(true);
    QDialog::reject();
}

void TFVisaoGeral::BAtualizar0Click()
{
    // The bar moves only once the refresh has lasted long enough for a person to see
    // it: painting it after each of the 31 days costs more than reading a day's rows.
    constexpr qint64 kShownEveryMs = 100;
    QElapsedTimer sinceShown;
    sinceShown.start();
    const auto progress = [this, &sinceShown](int done) {
        if (done == 0 || sinceShown.elapsed() >= kShownEveryMs) {
            ProgressBar1->setValue(done);
            sinceShown.restart();
        }
    };
    m_overview.completeRefresh(progress);
    markDays();
}

void TFVisaoGeral::showFilteredGrid(bool filtered)
{
    StringGrid1->setVisible(!filtered);
    Edit3->setVisible(!filtered);
    Edit4->setVisible(!filtered);
    SGMascara->setVisible(filtered);
    Edit5->setVisible(filtered);
    Edit6->setVisible(filtered);
    PHoje->setVisible(!filtered);
}

void TFVisaoGeral::ComboBox1Click()
{
    if (ComboBox1->currentIndex() <= 0) {
        ComboBox1DblClick();
        return;
    }
    showFilteredGrid(true);
    m_overview.applyFilter(ComboBox1->currentText());
    markDays();
}

void TFVisaoGeral::ComboBox1DblClick()
{
    showFilteredGrid(false);
    ComboBox1->setCurrentIndex(0);
}

void TFVisaoGeral::markDays()
{
    const std::vector<MonthOverview::DayMark> marks = m_overview.markDays();
    StringGrid1->setColumnMarks(marks);
    SGMascara->setColumnMarks(marks);
    m_lastMarks = QDateTime::currentMSecsSinceEpoch();
}

void TFVisaoGeral::placeTodayMark()
{
    const int section = m_context.clock.today().day() - 1;
    QHeaderView *header = StringGrid1->horizontalHeader();
    const int x = StringGrid1->verticalHeader()->width() + header->sectionViewportPosition(section) + StringGrid1->frameWidth();
    PHoje->setFixedWidth(std::max(12, header->sectionSize(section)));
    PHoje->move(x, 1);
}

int TFVisaoGeral::activeDay() const
{
    for (int day = 1; day <= 31; ++day) {
        if (PageControl1->currentWidget() == m_days[static_cast<std::size_t>(day)].page)
            return day;
    }
    return 0;
}

void TFVisaoGeral::functionKey(int key)
{
    // F4 finds a patient from the month, any day sheet and the two lists.
    if (key == Qt::Key_F4) {
        openNameSearch();
        return;
    }
    if (PageControl1->currentWidget() == TabSheet1)
        monthKey(key);
    else if (const int day = activeDay())
        dayKey(day, key);
}

void TFVisaoGeral::monthKey(int key)
{
    const bool filtered = SGMascara->isVisible();
    GridView *grid = filtered ? SGMascara : StringGrid1;
    const int day = grid->currentColumn();
    const int code = filtered ? m_overview.doctorOfFilteredRow(grid->currentRow()) : grid->currentRow();
    switch (key) {
    case Qt::Key_F1: m_overview.showDayNumbers(); break;
    case Qt::Key_F2: m_overview.showWeekdays(); break;
    case Qt::Key_F3: showSheet(day, code); break;
    case Qt::Key_F5:
        if (code > 0)
            FGradeHoras->showTimetable(code);
        break;
    case Qt::Key_F6:
        if (code > 0 && day > 0)
            showDayList(day, code, false);
        break;
    default: break;
    }
}

void TFVisaoGeral::dayKey(int day, int key)
{
    const GridView *grid = m_days[static_cast<std::size_t>(day)].grid;
    switch (key) {
    case Qt::Key_F1: m_context.sheets.showTimes(day, grid->currentRow()); break;
    case Qt::Key_F2: m_context.sheets.showSlotNumbers(day); break;
    case Qt::Key_F3: showSheet(day, grid->currentRow()); break;
    default: break;
    }
}

void TFVisaoGeral::showSheet(int day, int code)
{
    const QString refusal = sheetRefusal(m_context.doctors, m_context.days, day, code);
    if (!refusal.isEmpty()) {
        m_context.dialogs.information(refusal);
        return;
    }
    FFichaMed->showView(m_context.days.realDateOfDay(day), code);
}

void TFVisaoGeral::showDayList(int day, int code, bool modal)
{
    FConsultasDia->showList(day, code, modal);
}

void TFVisaoGeral::focusCurrentSheet()
{
    // The keyboard goes to the sheet's current cell, whatever held it before: a button
    // or box of another page, or one this page had last time, would take the Enter and
    // the name typed next.
    GridView *grid = nullptr;
    if (PageControl1->currentWidget() == TabSheet1)
        grid = SGMascara->isVisibleTo(TabSheet1) ? SGMascara : StringGrid1;
    else if (const int day = activeDay())
        grid = m_days[static_cast<std::size_t>(day)].grid;
    if (!grid)
        return;
    if (!grid->isEnabled()) {
        // A disabled sheet takes no keys: they stay with the tabs, to go on to the next.
        PageControl1->tabBar()->setFocus();
        return;
    }
    if (grid->currentRow() == 0)
        grid->goToCell(1, 1);
    grid->setFocus();
}

void TFVisaoGeral::goToSlot(int day, int slot, int code)
{
    if (day < 1 || day > 31)
        return;
    const DayTab &tab = m_days[static_cast<std::size_t>(day)];
    PageControl1->setCurrentWidget(tab.page);
    tab.grid->goToCell(slot, code);
    tab.grid->setTopRow(code);
    tab.grid->setFocus();
    // Sent here from a window beside the screen (the day list, the attendance sheet):
    // the keyboard comes back to the screen, on the slot.
    activateWindow();
}

bool TFVisaoGeral::goToAppointment(const QString &date, int slot, int code)
{
    const QString refusal = m_context.sheets.jumpRefusal(date, slot, code);
    if (!refusal.isEmpty()) {
        m_context.dialogs.information(refusal);
        return false;
    }
    goToSlot(dates::parseOrThrow(date).day(), slot, code);
    return true;
}

bool TFVisaoGeral::showAppointment(const AppointmentKey &key)
{
    if (key.isWaiting() || key.isCancelled()) {
        if (showListEntry(key))
            return true;
        m_context.dialogs.information(ListTab::kGone);
        return false;
    }
    bool slotOk = false;
    bool codeOk = false;
    const int slot = key.hora.toInt(&slotOk);
    const int code = key.medico.toInt(&codeOk);
    return goToAppointment(key.data, slotOk ? slot : 0, codeOk ? code : 0);
}

void TFVisaoGeral::openNameSearch()
{
    if (const std::optional<AppointmentKey> key = FProcuraNome->choose())
        showAppointment(*key);
}

bool TFVisaoGeral::showListEntry(const AppointmentKey &key)
{
    ListTabWidget *list = key.isCancelled() ? m_desmarcadas : key.isWaiting() ? m_emEspera : nullptr;
    if (!list)
        return false;
    PageControl1->setCurrentWidget(list);
    return list->showEntry(key);
}

void TFVisaoGeral::openAppointment(int day, int slot, int code)
{
    FConsulta->openFor({day, slot, code});
}

bool TFVisaoGeral::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseMove
        && (watched == TabSheet1 || watched == StringGrid1->viewport() || watched == SGMascara->viewport())) {
        // The marks follow the closed dates and the limit as they stand on disk.
        if (QDateTime::currentMSecsSinceEpoch() - m_lastMarks > 500)
            runUserAction(m_context.dialogs, [this] { markDays(); });
    } else if (type == QEvent::MouseButtonDblClick &&
               (watched == ComboBox1 || watched == ComboBox1->view()->viewport())) {
        ComboBox1->hidePopup();
        ComboBox1DblClick();
        return true;
    } else if (type == QEvent::Enter || type == QEvent::MouseMove || type == QEvent::Leave) {
        disabledDayEvent(watched, type);
    }
    return QDialog::eventFilter(watched, event);
}

void TFVisaoGeral::disabledDayEvent(QObject *watched, QEvent::Type type)
{
    const int day = activeDay();
    if (day == 0 || m_context.sheets.sheet(day).isEnabled())
        return;
    const DayTab &tab = m_days[static_cast<std::size_t>(day)];
    if (watched == tab.page && type == QEvent::Enter) {
        // The mouse over the page of a disabled day tells why, once per visit: closing
        // the notice sends the page a new Enter, which must not open it again.
        if (m_noticeVisit == day)
            return;
        m_noticeVisit = day;
        m_showAgainArmed = false;
        QString reason;
        if (runUserAction(m_context.dialogs, [&] { reason = m_context.sheets.reasonText(day); }))
            FAviso->showNotice(reason);
    } else if (watched == tab.grid->viewport()) {
        // Over the sheet itself the notice comes back without blocking, each time the
        // mouse comes back to the sheet from elsewhere; going to the notice to close it
        // is not going elsewhere.
        if (type == QEvent::Leave) {
            m_showAgainArmed = m_noticeVisit == day && !FAviso->isVisible();
        } else if (type == QEvent::MouseMove && m_showAgainArmed && !FAviso->isVisible()) {
            m_showAgainArmed = false;
            FAviso->showAgain();
        }
    }
}

} // namespace clinora
