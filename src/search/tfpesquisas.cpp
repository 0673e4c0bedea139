#include "search/tfpesquisas.h"

#include "agenda/closed_dates.h"
#include "app/context.h"
#include "booking/form_parts.h"
#include "booking/tfvisaogeral.h"
#include "core/data_files.h"
#include "platform/clickable_label.h"
#include "platform/clock.h"
#include "platform/dates.h"
#include "platform/errors.h"
#include "platform/printer.h"
#include "platform/text_file.h"
#include "platform/user_action.h"
#include "search/hits_grid.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

namespace clinora {

using form::named;
using form::selectedTexts;

namespace {

QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *b = named(new QPushButton(text, parent), name);
    b->setAutoDefault(false);
    return b;
}

QLabel *heading(const QString &text, const char *name, QWidget *parent)
{
    auto *label = named(new QLabel(text, parent), name);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

ClickableLabel *caption(const QString &text, const char *name, QWidget *parent)
{
    auto *label = named(new ClickableLabel(parent), name);
    label->setText(text);
    label->setCursor(Qt::PointingHandCursor);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() + 1);
    f.setUnderline(true);
    label->setFont(f);
    label->setStyleSheet(QStringLiteral("color: #003a8c;"));
    return label;
}

const QString kNothingChosen =
    QStringLiteral("Selecione o(s) médico(s) e a(s) data(s) antes de executar a pesquisa.");

// The code an item of the doctor or specialty list begins with.
QString itemCode(const QString &item)
{
    return item.left(2).trimmed();
}

QString itemText(const QString &item)
{
    return item;
}

// Gives a list new items, keeping chosen (and current) those whose key was chosen
// before, and its scroll. The list's own signals stay quiet: nothing was clicked.
void replaceItems(QListWidget *list, const QStringList &items, QString (*key)(const QString &))
{
    bool same = list->count() == items.size();
    for (int row = 0; same && row < list->count(); ++row)
        same = list->item(row)->text() == items[row];
    if (same)
        return;
    const QSignalBlocker quiet(list);
    QStringList chosen;
    for (const QString &text : selectedTexts(list))
        chosen << key(text);
    const QString current = list->currentItem() ? key(list->currentItem()->text()) : QString();
    const int scroll = list->verticalScrollBar()->value();
    list->clear();
    list->addItems(items);
    for (int row = 0; row < list->count(); ++row) {
        QListWidgetItem *item = list->item(row);
        const QString k = key(item->text());
        if (k == current)
            list->setCurrentItem(item, QItemSelectionModel::NoUpdate);
        if (chosen.contains(k))
            item->setSelected(true);
    }
    list->verticalScrollBar()->setValue(scroll);
}

} // namespace

TFPesquisas::TFPesquisas(AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_all(m_slots, SlotGrid::Show::All),
      m_free(m_slots, SlotGrid::Show::Free), m_occupied(m_slots, SlotGrid::Show::Occupied), m_names(context)
{
    setObjectName(QStringLiteral("FPesquisas"));
    setWindowTitle(QStringLiteral("Pesquisas Diversas"));
    setModal(false);
    Dialogs &dialogs = m_context.dialogs;

    Label5 = caption(QStringLiteral("Pesquisas"), "Label5", this);
    QFont title = Label5->font();
    title.setPointSizeF(title.pointSizeF() + 5);
    title.setUnderline(false);
    title.setBold(true);
    Label5->setFont(title);
    Label5->setStyleSheet(QString());
    Label5->setCursor(Qt::ArrowCursor);
    Label1 = caption(QStringLiteral("1. Localizar um paciente"), "Label1", this);
    Label2 = caption(QStringLiteral("2. Consultas por médico"), "Label2", this);
    Label3 = caption(QStringLiteral("3. Consultas por especialidades"), "Label3", this);
    Label8 = caption(QStringLiteral("4. Consultas desmarcadas e em espera "), "Label8", this);
    Button1 = button(QStringLiteral("Sair"), "Button1", this);

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    LEspecialidade = heading(QStringLiteral("Especialidade(s)"), "LEspecialidade", this);
    LMedico = heading(QStringLiteral("Médico(s)"), "LMedico", this);
    LData = heading(QStringLiteral("Data(s)"), "LData", this);
    ListBox3 = named(new QListWidget(this), "ListBox3");
    ListBox1 = named(new QListWidget(this), "ListBox1");
    ListBox2 = named(new QListWidget(this), "ListBox2");
    for (QListWidget *list : {ListBox3, ListBox1, ListBox2}) {
        list->setFont(fixed);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    }
    const int listWidth = QFontMetrics(fixed).horizontalAdvance(QString(31, QLatin1Char('M'))) + 30;
    ListBox1->setFixedWidth(listWidth);
    ListBox3->setFixedWidth(listWidth);
    ListBox2->setFixedWidth(listWidth);
    ListBox3->setFixedHeight(120);
    ListBox2->setFixedHeight(140);
    Edit2 = named(new QLineEdit(this), "Edit2");
    Edit2->setFixedWidth(listWidth);
    Edit2->setPlaceholderText(QStringLiteral("parte do nome do médico"));
    BExecutarCons2 = button(QStringLiteral("Executar"), "BExecutarCons2", this);

    LGrade = heading(QStringLiteral("Relação dos Horários das Consultas"), "LGrade", this);
    Label7 = named(new QLabel(QStringLiteral("Horários"), this), "Label7");
    BTodos = button(QStringLiteral("Todos"), "BTodos", this);
    BLivres = button(QStringLiteral(" Livres"), "BLivres", this);
    BOcupados = button(QStringLiteral("Ocupados"), "BOcupados", this);
    Button2 = button(QStringLiteral("Imprimir"), "Button2", this);
    SGConsultas = resultGrid(m_all, "SGConsultas");
    SGLivres = resultGrid(m_free, "SGLivres");
    SGOcupados = resultGrid(m_occupied, "SGOcupados");

    Panel1 = named(new QFrame(this), "Panel1");
    Panel1->setFrameShape(QFrame::StyledPanel);
    Label6 = heading(QStringLiteral("Pesquisa pelo nome do paciente"), "Label6", Panel1);
    DBGrid1 = named(new QTableView(Panel1), "DBGrid1");
    setUpHitsGrid(DBGrid1, m_names);
    Label4 = named(new QLabel(QStringLiteral("Letras a pesquisar"), Panel1), "Label4");
    Edit1 = named(new QLineEdit(Panel1), "Edit1");
    Edit1->setMaxLength(NameSearch::kMaxLength);
    BProcurar = button(QStringLiteral("Procurar"), "BProcurar", Panel1);
    BSair = button(QStringLiteral("Sair"), "BSair", Panel1);
    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(Label4);
    searchRow->addWidget(Edit1, 1);
    searchRow->addWidget(BProcurar);
    searchRow->addWidget(BSair);
    auto *panelLayout = new QVBoxLayout(Panel1);
    panelLayout->addWidget(Label6);
    panelLayout->addLayout(searchRow);
    panelLayout->addWidget(DBGrid1, 1);

    connect(Label1, &ClickableLabel::clicked, this, guarded(dialogs, [this] { Label1Click(); }));
    connect(Label2, &ClickableLabel::clicked, this, guarded(dialogs, [this] { Label2Click(); }));
    connect(Label3, &ClickableLabel::clicked, this, guarded(dialogs, [this] { Label3Click(); }));
    connect(Label8, &ClickableLabel::clicked, this, guarded(dialogs, [this] { Label8Click(); }));
    connect(ListBox3, &QListWidget::itemSelectionChanged, this,
            guarded(dialogs, [this] { ListBox3Click(); }));
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, [this] { hideResultButtons(true); });
    connect(ListBox2, &QListWidget::itemSelectionChanged, this, [this] { hideResultButtons(false); });
    connect(Edit2, &QLineEdit::textChanged, this,
            guarded(dialogs, [this](const QString &t) { Edit2Change(t); }));
    connect(BExecutarCons2, &QPushButton::clicked, this, guarded(dialogs, [this] { BExecutarCons2Click(); }));
    connect(BTodos, &QPushButton::clicked, this, [this] { showResults(SGConsultas); });
    connect(BLivres, &QPushButton::clicked, this, guarded(dialogs, [this] {
                m_free.refill();
                showResults(SGLivres);
            }));
    connect(BOcupados, &QPushButton::clicked, this, guarded(dialogs, [this] {
                m_occupied.refill();
                showResults(SGOcupados);
            }));
    connect(Button2, &QPushButton::clicked, this, guarded(dialogs, [this] { Button2Click(); }));
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    connect(BProcurar, &QPushButton::clicked, this, guarded(dialogs, [this] { BProcurarClick(); }));
    connect(Edit1, &QLineEdit::returnPressed, this, guarded(dialogs, [this] { BProcurarClick(); }));
    connect(BSair, &QPushButton::clicked, this, [this] { showNamePanel(false); });
    connect(DBGrid1, &QTableView::doubleClicked, this,
            guarded(dialogs, [this](const QModelIndex &index) { DBGrid1DblClick(index.row()); }));
    openOnEnter(DBGrid1, guarded(dialogs, [this](int row) { DBGrid1DblClick(row); }));

    auto *captions = new QVBoxLayout;
    captions->addWidget(Label5);
    captions->addSpacing(18);
    for (QLabel *label : {static_cast<QLabel *>(Label1), static_cast<QLabel *>(Label2),
                          static_cast<QLabel *>(Label3), static_cast<QLabel *>(Label8)}) {
        captions->addWidget(label);
        captions->addSpacing(10);
    }
    captions->addStretch();
    captions->addWidget(Button1, 0, Qt::AlignLeft);

    auto *lists = new QVBoxLayout;
    lists->addWidget(LEspecialidade);
    lists->addWidget(ListBox3);
    lists->addWidget(LMedico);
    lists->addWidget(Edit2);
    lists->addWidget(ListBox1, 1);
    lists->addWidget(LData);
    lists->addWidget(ListBox2);
    lists->addWidget(BExecutarCons2, 0, Qt::AlignLeft);

    auto *resultButtons = new QHBoxLayout;
    resultButtons->addWidget(Label7);
    resultButtons->addWidget(BTodos);
    resultButtons->addWidget(BLivres);
    resultButtons->addWidget(BOcupados);
    resultButtons->addStretch();
    resultButtons->addWidget(Button2);
    auto *results = new QVBoxLayout;
    results->addWidget(LGrade);
    results->addWidget(SGConsultas, 1);
    results->addWidget(SGLivres, 1);
    results->addWidget(SGOcupados, 1);
    results->addLayout(resultButtons);

    m_slotArea = named(new QWidget(this), "slotArea");
    auto *slotLayout = new QHBoxLayout(m_slotArea);
    slotLayout->setContentsMargins(0, 0, 0, 0);
    slotLayout->addLayout(lists);
    slotLayout->addLayout(results, 1);
    // The results keep their place while hidden, so the window does not change size.
    for (QWidget *w : std::initializer_list<QWidget *>{ListBox1, ListBox2, ListBox3, Edit2, LMedico, LData,
                                                       LEspecialidade, BExecutarCons2}) {
        QSizePolicy keep = w->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        w->setSizePolicy(keep);
    }

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setHorizontalSpacing(16);
    layout->addLayout(captions, 0, 0);
    layout->addWidget(m_slotArea, 0, 1);
    layout->addWidget(Panel1, 0, 1);
    layout->setColumnStretch(1, 1);
    resize(1180, 640);
}

QTableView *TFPesquisas::resultGrid(SlotGrid &model, const char *name)
{
    auto *grid = named(new QTableView(this), name);
    form::listGrid(grid, &model, QAbstractItemView::SingleSelection, {70, 180, 60, 200, 100, 60, 62, 70});
    connect(
        grid, &QTableView::doubleClicked, this,
        guarded(m_context.dialogs, [this, &model](const QModelIndex &i) { resultDblClick(model, i.row()); }));
    openOnEnter(grid, guarded(m_context.dialogs, [this, &model](int row) { resultDblClick(model, row); }));
    return grid;
}

SlotGrid &TFPesquisas::grid(SlotGrid::Show show)
{
    return show == SlotGrid::Show::All ? m_all : show == SlotGrid::Show::Free ? m_free : m_occupied;
}

void TFPesquisas::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_activationError.clear();
    FormActivate();
}

bool TFPesquisas::event(QEvent *event)
{
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate && isVisible())
        refreshOnActivation();
    return handled;
}

void TFPesquisas::FormActivate()
{
    clearResults();
    ListBox2->clear();
    ListBox3->clear();
    setSlotSearchVisible(false, false);
    showNamePanel(false);
    m_listStamp = listFilesStamp();
    if (!readOrTell([this] { fillLists(); }))
        ListBox2->clear();
}

QStringList TFPesquisas::listFilesStamp() const
{
    QStringList stamp{m_context.clock.today().toString(Qt::ISODate)};
    for (const QLatin1String name : {files::kPreparedLimit, files::kClosedDates, files::kSpecialties}) {
        const QFileInfo file(m_context.paths.file(name));
        stamp << (file.exists()
                      ? QStringLiteral("%1 %2").arg(file.size()).arg(file.lastModified().toMSecsSinceEpoch())
                      : QString());
    }
    return stamp;
}

void TFPesquisas::refreshOnActivation()
{
    if (readOrTell([this] {
            // The window is back after its own message box, or after another window:
            // the files are read again only when they changed.
            const QStringList stamp = listFilesStamp();
            if (stamp != m_listStamp) {
                m_listStamp = stamp;
                fillLists();
            } else {
                fillMemoryLists();
            }
            refreshResults();
        }))
        return;
    // What cannot be read is not offered.
    ListBox2->clear();
    clearResults();
}

bool TFPesquisas::readOrTell(const std::function<void()> &read)
{
    QString failure;
    try {
        read();
        m_activationError.clear();
        return true;
    } catch (const Error &e) {
        failure = e.message();
    } catch (const std::exception &e) {
        failure = QString::fromLocal8Bit(e.what());
    } catch (...) {
        failure = QStringLiteral("Erro inesperado.");
    }
    // The error box's closing brings the window to the front again, and the reading
    // fails again: the same error is told once.
    if (failure != m_activationError)
        m_context.dialogs.error(failure);
    m_activationError = failure;
    return false;
}

void TFPesquisas::clearResults()
{
    m_slots.clear();
    for (SlotGrid *model : {&m_all, &m_free, &m_occupied})
        model->clear();
    m_resultCodes.clear();
    m_resultDays.clear();
    hideResults();
}

void TFPesquisas::fillLists()
{
    QStringList days;
    for (const QDate &date : closeddates::openDates(m_context.paths, m_context.clock.today()))
        days << dates::formatShort(date);
    m_context.specialties.load(m_context.paths.dataDir() + QLatin1Char('/'));
    replaceItems(ListBox2, days, itemText);
    fillMemoryLists();
}

void TFPesquisas::fillMemoryLists()
{
    replaceItems(ListBox3, search::specialtyItems(m_context.specialties), itemCode);
    if (m_doctorItems == DoctorItems::All)
        replaceItems(ListBox1, search::doctorItems(m_context.doctors), itemCode);
    else if (m_doctorItems == DoctorItems::OfSpecialties)
        replaceItems(ListBox1, search::doctorItemsOf(m_context.doctors, selectedTexts(ListBox3)), itemCode);
}

QTableView *TFPesquisas::shownResults() const
{
    for (QTableView *grid : {SGConsultas, SGLivres, SGOcupados}) {
        if (grid->isVisible())
            return grid;
    }
    return nullptr;
}

void TFPesquisas::refreshResults()
{
    QTableView *shown = shownResults();
    if (!shown)
        return;
    // The result's dates still open and its doctors still registered.
    QStringList days;
    for (const QString &day : m_resultDays) {
        if (!ListBox2->findItems(day, Qt::MatchExactly).isEmpty())
            days << day;
    }
    QStringList codes;
    for (const QString &code : m_resultCodes) {
        const int number = code.trimmed().toInt();
        if (DoctorRegister::validCode(number) && !m_context.doctors.isFree(number))
            codes << code;
    }
    if (codes.isEmpty() || days.isEmpty()) {
        clearResults();
        return;
    }
    // Nothing it rests on changed: the result stays as it is, where the receptionist left it.
    if (days == m_resultDays && codes == m_resultCodes && m_slots.isCurrent(m_context))
        return;
    m_resultDays = days;
    m_resultCodes = codes;
    const int scroll = shown->verticalScrollBar()->value();
    const int current = shown->currentIndex().row();
    m_slots.run(m_context, codes, days);
    for (SlotGrid *model : {&m_all, &m_free, &m_occupied})
        model->refill();
    if (current >= 0 && current < shown->model()->rowCount())
        shown->setCurrentIndex(shown->model()->index(current, 0));
    shown->verticalScrollBar()->setValue(scroll);
}

void TFPesquisas::showNamePanel(bool shown)
{
    // The panel takes the place of the slot search: only one of them may be there to
    // receive the clicks.
    m_slotArea->setVisible(!shown);
    Panel1->setVisible(shown);
}

void TFPesquisas::setSlotSearchVisible(bool lists, bool specialties)
{
    for (QWidget *w :
         std::initializer_list<QWidget *>{ListBox1, Edit2, ListBox2, BExecutarCons2, LMedico, LData})
        w->setVisible(lists);
    ListBox3->setVisible(specialties);
    LEspecialidade->setVisible(specialties);
}

void TFPesquisas::hideResults()
{
    for (QWidget *w : std::initializer_list<QWidget *>{LGrade, SGConsultas, SGLivres, SGOcupados})
        w->hide();
    hideResultButtons(true);
}

void TFPesquisas::hideResultButtons(bool all)
{
    BTodos->hide();
    BLivres->hide();
    Button2->hide();
    if (all) {
        BOcupados->hide();
        Label7->hide();
    }
}

void TFPesquisas::Label1Click()
{
    showNamePanel(true);
    Edit1->clear();
    setSlotSearchVisible(false, false);
    hideResults();
    Edit1->setFocus();
}

void TFPesquisas::Label2Click()
{
    m_slots.clear();
    m_all.clear();
    ListBox1->clear();
    ListBox1->addItems(search::doctorItems(m_context.doctors));
    m_doctorItems = DoctorItems::All;
    setSlotSearchVisible(true, false);
    hideResults();
    showNamePanel(false);
    Edit2->setFocus();
}

void TFPesquisas::Label3Click()
{
    m_slots.clear();
    m_all.clear();
    hideResults();
    setSlotSearchVisible(true, true);
    showNamePanel(false);
}

void TFPesquisas::Label8Click()
{
    goToBookingScreen([](TFVisaoGeral &screen) {
        screen.PageControl1->setCurrentWidget(screen.TabEmEspera);
        screen.PageControl1->setCurrentWidget(screen.TabDesmarcadas);
    });
}

void TFPesquisas::ListBox3Click()
{
    hideResultButtons(true);
    ListBox1->clear();
    ListBox1->addItems(search::doctorItemsOf(m_context.doctors, selectedTexts(ListBox3)));
    m_doctorItems = DoctorItems::OfSpecialties;
}

void TFPesquisas::Edit2Change(const QString &text)
{
    if (text.isEmpty())
        return;
    QStringList items;
    for (int row = 0; row < ListBox1->count(); ++row)
        items << ListBox1->item(row)->text();
    ListBox1->clearSelection();
    const QList<int> found = search::matchingItems(items, text);
    for (const int row : found) {
        ListBox1->item(row)->setSelected(true);
        ListBox1->scrollToItem(ListBox1->item(row), QAbstractItemView::PositionAtTop);
    }
}

void TFPesquisas::BExecutarCons2Click()
{
    const QStringList doctors = selectedTexts(ListBox1);
    const QStringList days = selectedTexts(ListBox2);
    if (doctors.isEmpty() || days.isEmpty()) {
        m_context.dialogs.information(kNothingChosen);
        return;
    }
    QStringList codes;
    for (const QString &item : doctors)
        codes << item.left(2);
    textfile::writeLines(m_context.file(QStringLiteral("ArqMed.Txt")), codes);
    textfile::writeLines(m_context.file(QStringLiteral("ArqDia.Txt")), days);
    m_free.clear();
    m_occupied.clear();
    m_resultCodes = codes;
    m_resultDays = days;
    m_slots.run(m_context, codes, days);
    m_all.refill();
    showResults(SGConsultas);
    for (QWidget *w : std::initializer_list<QWidget *>{LGrade, Button2, BTodos, BLivres, BOcupados, Label7})
        w->show();
}

void TFPesquisas::showResults(QTableView *grid)
{
    for (QTableView *g : {SGConsultas, SGLivres, SGOcupados})
        g->setVisible(g == grid);
    LGrade->show();
}

void TFPesquisas::Button2Click()
{
    const SlotGrid &shown = SGOcupados->isVisible() ? m_occupied : SGLivres->isVisible() ? m_free : m_all;
    if (shown.rowCount() == 0) {
        m_context.dialogs.information(QStringLiteral("A relação está vazia: não há horários para imprimir."));
        return;
    }
    m_context.printer.printList(shown.printed());
}

void TFPesquisas::goToBookingScreen(std::function<void(TFVisaoGeral &)> then)
{
    done(QDialog::Accepted);
    if (openBookingScreen)
        openBookingScreen(std::move(then));
}

void TFPesquisas::resultDblClick(const SlotGrid &model, int row)
{
    if (row < 0 || row >= model.rowCount())
        return;
    const QString date = model.text(row, SlotGrid::Data);
    const int slot = model.text(row, SlotGrid::CodHora).toInt();
    const int code = model.text(row, SlotGrid::CodMed).toInt();
    // Told here, before this window closes, when the sheets do not hold the slot.
    const QString refusal = m_context.sheets.jumpRefusal(date, slot, code);
    if (!refusal.isEmpty()) {
        m_context.dialogs.information(refusal);
        return;
    }
    goToBookingScreen([date, slot, code](TFVisaoGeral &screen) { screen.goToAppointment(date, slot, code); });
}

void TFPesquisas::BProcurarClick()
{
    m_names.search(Edit1->text());
}

void TFPesquisas::DBGrid1DblClick(int row)
{
    const std::optional<AppointmentKey> key = m_names.hit(row);
    if (!key)
        return;
    if (!key->isWaiting() && !key->isCancelled()) {
        const QString refusal =
            m_context.sheets.jumpRefusal(key->data, key->hora.toInt(), key->medico.toInt());
        if (!refusal.isEmpty()) {
            m_context.dialogs.information(refusal);
            return;
        }
    }
    goToBookingScreen([key = *key](TFVisaoGeral &screen) { screen.showAppointment(key); });
}

void TFPesquisas::done(int result)
{
    m_context.DMMedicos.TMedicos.close();
    QDialog::done(result);
}

} // namespace clinora
