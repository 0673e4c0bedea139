#include "doctors/tfdadosmed.h"

#include "app/context.h"
#include "doctors/tfhorarios.h"
#include "platform/clickable_label.h"
#include "platform/text_file.h"
#include "platform/user_action.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTime>
#include <QVBoxLayout>

namespace clinora {

namespace {

constexpr int kColumnWidth = 58;
constexpr int kRowHeight = 19;
constexpr int kSlotHeaderWidth = 26;
constexpr int kFirstTimeItem = 85; // "07:00"

const char *const kWeekdayNames[7] = {"CBSeg", "CBTer", "CBQua", "CBQui", "CBSex", "CBSab", "CBDom"};
const char *const kWeekdayCaptions[7] = {"2ª F", "3ª F", "4ª F", "5ª F", "6ª F", "Sáb", "Dom"};

QLabel *caption(const QString &text, const char *name, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QLineEdit *edit(const char *name, int width, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setFixedWidth(width);
    return e;
}

QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TFDadosMed::TFDadosMed(AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_editor(context)
{
    setObjectName(QStringLiteral("FDadosMed"));
    setWindowTitle(QStringLiteral("Ficha Dados do Médico"));
    buildForm();
    m_editor.setNoticeHandler([this](bool shown) { showNotice(shown); });
}

TFDadosMed::~TFDadosMed() = default;

void TFDadosMed::buildForm()
{
    // The doctor's record.
    auto *record = new QGroupBox(QStringLiteral("Dados do Médico"), this);
    record->setObjectName(QStringLiteral("recordGroup"));
    Label3 = new ClickableLabel(record);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setText(QStringLiteral("Código"));
    Label3->setToolTip(QStringLiteral("Clique para ver a relação dos médicos"));
    Label3->setCursor(Qt::PointingHandCursor);
    QFont underlined = Label3->font();
    underlined.setUnderline(true);
    Label3->setFont(underlined);
    ECod = edit("ECod", 48, record);
    ENome = edit("ENome", 250, record);
    ENome->setMaxLength(25);
    CBEsp = new QComboBox(record);
    CBEsp->setObjectName(QStringLiteral("CBEsp"));
    CBEsp->setMinimumWidth(180);
    CBEsp->setMaxVisibleItems(20);
    ESala = edit("ESala", 56, record);
    ESala->setMaxLength(4);
    EAndar = edit("EAndar", 40, record);
    EAndar->setMaxLength(2);
    ETurno = edit("ETurno", 32, record);
    ETurno->setMaxLength(1);

    auto *recordLayout = new QGridLayout(record);
    recordLayout->setHorizontalSpacing(8);
    recordLayout->addWidget(Label3, 0, 0);
    recordLayout->addWidget(ECod, 0, 1);
    recordLayout->addWidget(caption(QStringLiteral("Nome"), "nameLabel", record), 0, 2, Qt::AlignRight);
    recordLayout->addWidget(ENome, 0, 3, 1, 5);
    recordLayout->addWidget(caption(QStringLiteral("Especialidade"), "specialtyLabel", record), 1, 0);
    recordLayout->addWidget(CBEsp, 1, 1, 1, 3);
    auto *place = new QHBoxLayout;
    place->setSpacing(6);
    place->addSpacing(12);
    place->addWidget(caption(QStringLiteral("Sala"), "roomLabel", record));
    place->addWidget(ESala);
    place->addSpacing(16);
    place->addWidget(caption(QStringLiteral("Andar"), "floorLabel", record));
    place->addWidget(EAndar);
    place->addSpacing(16);
    place->addWidget(caption(QStringLiteral("Turnos"), "shiftLabel", record));
    place->addWidget(ETurno);
    place->addStretch(1);
    recordLayout->addLayout(place, 1, 4, 1, 4);
    recordLayout->setColumnStretch(7, 1);

    // The leave.
    auto *leave = new QGroupBox(QStringLiteral("Afastamento"), this);
    leave->setObjectName(QStringLiteral("leaveGroup"));
    RBTemp = new QRadioButton(QStringLiteral("Afastar temporariamente"), leave);
    RBTemp->setObjectName(QStringLiteral("RBTemp"));
    RBDef = new QRadioButton(QStringLiteral("Afastar definitivamente"), leave);
    RBDef->setObjectName(QStringLiteral("RBDef"));
    RBLimpar = new QRadioButton(QStringLiteral("Limpar caixas"), leave);
    RBLimpar->setObjectName(QStringLiteral("RBLimpar"));
    m_leaveButtons = new QButtonGroup(this);
    for (QRadioButton *rb : {RBTemp, RBDef, RBLimpar})
        m_leaveButtons->addButton(rb);
    ESaida = edit("ESaida", 84, leave);
    ESaida->setMaxLength(8);
    ESaida->setPlaceholderText(QStringLiteral("dd/mm/aa"));
    ERetorno = edit("ERetorno", 84, leave);
    ERetorno->setPlaceholderText(QStringLiteral("dd/mm/aa"));
    leaveEndLabel = caption(QStringLiteral("Retorno"), "leaveEndLabel", leave);
    auto *leaveLayout = new QGridLayout(leave);
    leaveLayout->setVerticalSpacing(4);
    // Each choice as wide as its caption: a click beside the caption is no click on it.
    leaveLayout->addWidget(RBTemp, 0, 0, 1, 2, Qt::AlignLeft);
    leaveLayout->addWidget(RBDef, 1, 0, 1, 2, Qt::AlignLeft);
    leaveLayout->addWidget(RBLimpar, 2, 0, 1, 2, Qt::AlignLeft);
    auto *leaveDates = new QHBoxLayout;
    leaveDates->addWidget(caption(QStringLiteral("Saída"), "leaveStartLabel", leave));
    leaveDates->addWidget(ESaida);
    leaveDates->addSpacing(10);
    leaveDates->addWidget(leaveEndLabel);
    leaveDates->addWidget(ERetorno);
    leaveDates->addStretch(1);
    leaveLayout->addLayout(leaveDates, 3, 0, 1, 2);

    // The timetable, the time list and the free codes.
    QWidget *timetable = buildTimetable();

    auto *times = new QGroupBox(QStringLiteral("Horários"), this);
    times->setObjectName(QStringLiteral("timeListGroup"));
    ListBox1 = new QListWidget(times);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::MultiSelection);
    ListBox1->setFixedWidth(92);
    ListBox1->addItem(QString());
    for (int minutes = 0; minutes < 24 * 60; minutes += 5)
        ListBox1->addItem(QTime(minutes / 60, minutes % 60).toString(QStringLiteral("hh:mm")));
    Button2 = button(QStringLiteral("Limpar"), "Button2", times);
    Button2->setFixedWidth(92);
    times->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    auto *timesLayout = new QVBoxLayout(times);
    timesLayout->addWidget(ListBox1, 1);
    timesLayout->addWidget(Button2);

    // Beside the timetable: its two buttons, the notice, the leave, the free codes and
    // the save, so that the form keeps within a 1366x768 screen.
    auto *gridButtons = new QHBoxLayout;
    BLimpaGrade = button(QStringLiteral("Limpar Grade"), "BLimpaGrade", this);
    BretornaHorarios = button(QStringLiteral("Voltar Horários Iniciais"), "BretornaHorarios", this);
    gridButtons->addWidget(BLimpaGrade);
    gridButtons->addWidget(BretornaHorarios);
    gridButtons->addStretch(1);

    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("noticeLabel"));
    m_notice->setAlignment(Qt::AlignCenter);
    m_notice->setWordWrap(true);
    m_notice->setStyleSheet(QStringLiteral(
        "QLabel { background: #fff4c2; border: 1px solid #c9a400; padding: 8px; font-weight: bold; }"));
    m_notice->setMinimumWidth(250);
    m_notice->hide();

    // The free codes, the save and the way out.
    auto *free = new QGroupBox(this);
    free->setObjectName(QStringLiteral("freeCodesGroup"));
    Label9 = caption(QStringLiteral("Códigos Livres"), "Label9", free);
    QFont bold = Label9->font();
    bold.setBold(true);
    Label9->setFont(bold);
    auto *freeLayout = new QVBoxLayout(free);
    freeLayout->setSpacing(1);
    freeLayout->addWidget(Label9);
    QFont fixedFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixedFont.setPointSizeF(fixedFont.pointSizeF() * 0.9);
    for (QLabel **line : {&Label10, &Label12, &Label13}) {
        *line = new QLabel(free);
        (*line)->setFont(fixedFont);
        (*line)->setStyleSheet(QStringLiteral("color: #c00000;"));
        (*line)->setTextInteractionFlags(Qt::TextSelectableByMouse);
        freeLayout->addWidget(*line);
    }
    Label10->setObjectName(QStringLiteral("Label10"));
    Label12->setObjectName(QStringLiteral("Label12"));
    Label13->setObjectName(QStringLiteral("Label13"));

    BAlterar = button(QStringLiteral("Alterar, Incluir ou Excluir"), "BAlterar", this);
    BAlterar->setMinimumWidth(210);
    Button1 = button(QStringLiteral("Sair"), "Button1", this);
    Button1->setMinimumWidth(210);
    BLimpa = button(QString(), "BLimpa", this);
    BLimpa->hide();
    auto *actions = new QVBoxLayout;
    actions->addWidget(BAlterar, 0, Qt::AlignRight);
    actions->addWidget(Button1, 0, Qt::AlignRight);

    auto *side = new QVBoxLayout;
    side->addSpacing(22);
    side->addLayout(gridButtons);
    side->addWidget(m_notice);
    side->addWidget(leave);
    side->addWidget(free);
    side->addStretch(1);
    side->addLayout(actions);

    auto *middle = new QHBoxLayout;
    middle->addWidget(timetable);
    middle->addWidget(times);
    middle->addLayout(side, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(record);
    layout->addLayout(middle, 1);

    // Events.
    Dialogs &d = m_context.dialogs;
    connect(ECod, &QLineEdit::textChanged, this, guarded(d, [this] { ECodChange(); }));
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, guarded(d, [this] {
                if (!m_rendering)
                    ListBox1Click();
            }));
    connect(SGHorasDias, &QTableWidget::itemChanged, this, [this] {
        if (!m_rendering)
            m_editor.gridTouched();
    });
    connect(BLimpaGrade, &QPushButton::clicked, this, guarded(d, [this] { BLimpaGradeClick(); }));
    connect(BretornaHorarios, &QPushButton::clicked, this, guarded(d, [this] { BretornaHorariosClick(); }));
    connect(Button2, &QPushButton::clicked, this, guarded(d, [this] { resetTimeList(); }));
    connect(RBTemp, &QRadioButton::clicked, this, guarded(d, [this] { RBTempClick(); }));
    connect(RBDef, &QRadioButton::clicked, this, guarded(d, [this] { RBDefClick(); }));
    connect(RBLimpar, &QRadioButton::clicked, this, guarded(d, [this] { RBLimparClick(); }));
    for (QLineEdit *box : {ESaida, ERetorno})
        connect(box, &QLineEdit::textEdited, this, [this, box] {
            if (!m_datesTyped.contains(box))
                m_datesTyped << box;
        });
    connect(BAlterar, &QPushButton::clicked, this, guarded(d, [this] { BAlterarClick(); }));
    connect(Button1, &QPushButton::clicked, this, &QWidget::close);
    connect(Label3, &ClickableLabel::clicked, this, guarded(d, [this] { Label3Click(); }));
    connect(BLimpa, &QPushButton::clicked, this, [this] { showNotice(false); });

    for (QObject *watched : std::initializer_list<QObject *>{ECod, ENome, ESala, EAndar, ETurno, ESaida,
                                                             ERetorno, ListBox1, SGHorasDias->viewport()})
        watched->installEventFilter(this);
}

QWidget *TFDadosMed::buildTimetable()
{
    auto *box = new QGroupBox(QStringLiteral("Horários dos Atendimentos"), this);
    box->setObjectName(QStringLiteral("timetableGroup"));
    box->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    SGHorasDias = new QTableWidget(DoctorRegister::kSlots, 7, box);
    SGHorasDias->setObjectName(QStringLiteral("SGHorasDias"));
    SGHorasDias->horizontalHeader()->hide();
    SGHorasDias->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    SGHorasDias->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SGHorasDias->verticalHeader()->setDefaultSectionSize(kRowHeight);
    SGHorasDias->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SGHorasDias->verticalHeader()->setFixedWidth(kSlotHeaderWidth);
    SGHorasDias->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    SGHorasDias->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SGHorasDias->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int frame = 2 * SGHorasDias->frameWidth();
    SGHorasDias->setFixedSize(kSlotHeaderWidth + 7 * kColumnWidth + frame,
                              DoctorRegister::kSlots * kRowHeight + frame);
    for (int row = 0; row < DoctorRegister::kSlots; ++row)
        for (int col = 0; col < 7; ++col) {
            auto *item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            SGHorasDias->setItem(row, col, item);
        }

    // The weekday boxes sit over the columns they choose.
    auto *boxes = new QHBoxLayout;
    boxes->setSpacing(0);
    boxes->addSpacing(kSlotHeaderWidth + SGHorasDias->frameWidth());
    for (int col = 0; col < 7; ++col) {
        auto *cb = new QCheckBox(QString::fromUtf8(kWeekdayCaptions[col]), box);
        cb->setObjectName(QLatin1String(kWeekdayNames[col]));
        cb->setFixedWidth(kColumnWidth);
        weekdayBoxes[static_cast<std::size_t>(col)] = cb;
        boxes->addWidget(cb);
    }
    boxes->addStretch(1);

    auto *layout = new QVBoxLayout(box);
    layout->addLayout(boxes);
    layout->addWidget(SGHorasDias);
    layout->addStretch(1);
    return box;
}

bool TFDadosMed::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == ECod && type == QEvent::MouseButtonPress) {
        runUserAction(m_context.dialogs, [this] { ECodClick(); });
    } else if (type == QEvent::MouseButtonRelease &&
               (watched == ENome || watched == ESala || watched == EAndar || watched == ETurno)) {
        // A click puts the cursor at the start of the box.
        static_cast<QLineEdit *>(watched)->setCursorPosition(0);
    } else if ((watched == ESaida || watched == ERetorno) && type == QEvent::MouseButtonRelease) {
        // A date the form offers (today, tomorrow, the stored leave) is typed over: a
        // click in it selects it once the click is done (the press placed the cursor).
        // A date the receptionist typed takes the cursor where clicked, and a drag
        // that chose part of a date keeps its choice.
        auto *box = static_cast<QLineEdit *>(watched);
        if (!m_datesTyped.contains(box) && !box->hasSelectedText())
            box->selectAll();
    } else if (watched == ListBox1 && type == QEvent::FocusOut) {
        uncheckWeekdays();
    } else if (watched == SGHorasDias->viewport() && type == QEvent::MouseButtonPress) {
        m_editor.gridTouched();
    }
    return QDialog::eventFilter(watched, event);
}

void TFDadosMed::execute()
{
    FormShow();
    exec();
}

void TFDadosMed::FormShow()
{
    const DoctorForm form = m_editor.open();
    uncheckLeaveButtons();
    ESaida->setEnabled(false);
    ERetorno->setEnabled(false);
    ERetorno->setVisible(true);
    leaveEndLabel->setVisible(true);
    showNotice(false);
    resetTimeList();
    uncheckWeekdays();
    showFreeCodes();
    m_rendering = true;
    CBEsp->clear();
    CBEsp->addItems(m_editor.specialtyItems());
    ECod->clear();
    m_rendering = false;
    render(form);
    ECod->setFocus();
}

QString TFDadosMed::noticeText() const
{
    return m_notice->isHidden() ? QString() : m_notice->text();
}

DoctorForm TFDadosMed::readForm() const
{
    DoctorForm form;
    form.code = ECod->text();
    form.name = ENome->text();
    form.specialty = CBEsp->currentIndex() < 0 ? QString() : CBEsp->currentText();
    form.room = ESala->text();
    form.floor = EAndar->text();
    form.shift = ETurno->text();
    form.leaveStart = ESaida->text();
    form.leaveEnd = ERetorno->text();
    for (int col = 0; col < 7; ++col)
        for (int row = 0; row < DoctorRegister::kSlots; ++row)
            form.grid[col][row] = SGHorasDias->item(row, col)->text();
    form.leave = RBTemp->isChecked()     ? LeaveChoice::Temporary
                 : RBDef->isChecked()    ? LeaveChoice::Definitive
                 : RBLimpar->isChecked() ? LeaveChoice::Clear
                                         : LeaveChoice::None;
    return form;
}

void TFDadosMed::render(const DoctorForm &form)
{
    m_rendering = true;
    ENome->setText(form.name);
    renderSpecialty(form.specialty);
    ESala->setText(form.room);
    EAndar->setText(form.floor);
    ETurno->setText(form.shift);
    ESaida->setText(form.leaveStart);
    ERetorno->setText(form.leaveEnd);
    m_datesTyped.clear();
    m_rendering = false;
    renderGrid(form.grid);
}

void TFDadosMed::renderGrid(const TimetableGrid &grid)
{
    m_rendering = true;
    for (int col = 0; col < 7; ++col)
        for (int row = 0; row < DoctorRegister::kSlots; ++row)
            SGHorasDias->item(row, col)->setText(grid[col][row]);
    m_rendering = false;
}

void TFDadosMed::renderSpecialty(const QString &specialty)
{
    if (specialty.trimmed().isEmpty()) {
        CBEsp->setCurrentIndex(-1);
        return;
    }
    // The record holds the entry cut to 15 characters.
    const QString stored = textfile::fixed(specialty, 15);
    for (int i = 0; i < CBEsp->count(); ++i) {
        if (textfile::fixed(CBEsp->itemText(i), 15) == stored) {
            CBEsp->setCurrentIndex(i);
            return;
        }
    }
    CBEsp->addItem(specialty);
    CBEsp->setCurrentIndex(CBEsp->count() - 1);
}

void TFDadosMed::showFreeCodes()
{
    const std::array<QString, 3> lines = m_editor.freeCodeLines();
    Label10->setText(lines[0]);
    Label12->setText(lines[1]);
    Label13->setText(lines[2]);
}

void TFDadosMed::showNotice(bool shown)
{
    if (shown) {
        m_notice->setText(QStringLiteral("Aguarde alguns segundos ...\nVerificando e incluindo o médico."));
        m_notice->show();
        // Painted now: the check that follows keeps the event loop busy.
        m_notice->repaint();
    } else {
        m_notice->clear();
        m_notice->hide();
    }
}

void TFDadosMed::uncheckWeekdays()
{
    for (QCheckBox *cb : weekdayBoxes)
        cb->setChecked(false);
}

void TFDadosMed::uncheckLeaveButtons()
{
    m_leaveButtons->setExclusive(false);
    for (QRadioButton *rb : {RBTemp, RBDef, RBLimpar})
        rb->setChecked(false);
    m_leaveButtons->setExclusive(true);
}

void TFDadosMed::resetTimeList()
{
    m_rendering = true;
    for (int i = 1; i < ListBox1->count(); ++i)
        ListBox1->item(i)->setSelected(false);
    m_rendering = false;
    ListBox1->scrollToItem(ListBox1->item(kFirstTimeItem), QAbstractItemView::PositionAtTop);
}

void TFDadosMed::ECodClick()
{
    const DoctorForm form = m_editor.codeClicked();
    ESaida->setEnabled(false);
    ERetorno->setEnabled(false);
    ERetorno->setVisible(true);
    leaveEndLabel->setVisible(true);
    m_leaveButtons->setExclusive(false);
    RBTemp->setChecked(false);
    RBDef->setChecked(false);
    m_leaveButtons->setExclusive(true);
    ECod->clear();
    render(form);
}

void TFDadosMed::ECodChange()
{
    DoctorForm form = readForm();
    m_editor.codeChanged(form);
    ESaida->setEnabled(false);
    ERetorno->setEnabled(false);
    ERetorno->setVisible(true);
    leaveEndLabel->setVisible(true);
    uncheckLeaveButtons();
    uncheckWeekdays();
    render(form);
}

void TFDadosMed::ListBox1Click()
{
    QStringList selected;
    for (int i = 0; i < ListBox1->count(); ++i) {
        if (ListBox1->item(i)->isSelected())
            selected << ListBox1->item(i)->text();
    }
    std::array<bool, 7> checked{};
    for (std::size_t col = 0; col < checked.size(); ++col)
        checked[col] = weekdayBoxes[col]->isChecked();
    DoctorForm form = readForm();
    m_editor.timesChosen(form, selected, checked);
    renderGrid(form.grid);
}

void TFDadosMed::BLimpaGradeClick()
{
    uncheckWeekdays();
    DoctorForm form = readForm();
    DoctorEditor::clearGrid(form);
    renderGrid(form.grid);
}

void TFDadosMed::BretornaHorariosClick()
{
    uncheckWeekdays();
    DoctorForm form = readForm();
    m_editor.restoreTimes(form);
    renderGrid(form.grid);
}

void TFDadosMed::RBTempClick()
{
    DoctorForm form = readForm();
    m_editor.chooseTemporaryLeave(form);
    ESaida->setEnabled(true);
    ERetorno->setEnabled(true);
    ERetorno->setVisible(true);
    leaveEndLabel->setVisible(true);
    render(form);
    focusLeaveStart();
}

void TFDadosMed::RBDefClick()
{
    DoctorForm form = readForm();
    m_editor.chooseDefinitiveLeave(form);
    ESaida->setEnabled(true);
    ERetorno->setVisible(false);
    leaveEndLabel->setVisible(false);
    render(form);
    focusLeaveStart();
}

void TFDadosMed::focusLeaveStart()
{
    // Today's date is offered, typed over by the first key.
    ESaida->setFocus();
    ESaida->selectAll();
}

void TFDadosMed::RBLimparClick()
{
    DoctorForm form = readForm();
    m_editor.clearLeave(form);
    ESaida->setEnabled(true);
    ERetorno->setVisible(false);
    leaveEndLabel->setVisible(false);
    render(form);
}

void TFDadosMed::BAlterarClick()
{
    DoctorForm form = readForm();
    // Whatever the save did before it stopped shows on the form.
    const auto show = [this, &form](const SaveResult &result) {
        if (result.weekdaysUnchecked)
            uncheckWeekdays();
        render(form);
        showFreeCodes();
        if (result.recordWritten)
            ECod->setFocus();
    };
    SaveResult result;
    try {
        result = m_editor.save(form);
    } catch (...) {
        // A save that threw tells nothing of how far it went: the form shows its values.
        show(SaveResult{});
        throw;
    }
    show(result);
}

void TFDadosMed::Label3Click()
{
    if (!m_list)
        m_list = new TFHorarios(m_context, this);
    m_list->showDoctorList();
}

void TFDadosMed::reject()
{
    runUserAction(m_context.dialogs, [this] { m_editor.snapshotIfNeeded(); });
    if (!runUserAction(m_context.dialogs, [this] { m_editor.writeFiles(); }))
        return;
    QDialog::reject();
}

} // namespace clinora
