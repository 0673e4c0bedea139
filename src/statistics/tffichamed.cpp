#include "statistics/tffichamed.h"

#include "app/context.h"
#include "platform/dates.h"
#include "platform/printer.h"
#include "platform/user_action.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace clinora {

namespace {

// Rows 1 to 22 follow on from one number; rows 23 and 24 have names of their own.
QString rowName(const char *prefix, int k, int first, int row23, int row24)
{
    const int number = k <= 22 ? first + k - 1 : (k == 23 ? row23 : row24);
    return QLatin1String(prefix) + QString::number(number);
}

QLabel *boldLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

QString TFFichaMed::timeLabelName(int k)
{
    return rowName("Label", k, 1, 31, 33);
}
QString TFFichaMed::patientName(int k)
{
    return rowName("Edit", k, 1, 69, 70);
}
QString TFFichaMed::telephoneName(int k)
{
    return rowName("Edit", k, 45, 71, 72);
}
QString TFFichaMed::situationName(int k)
{
    return rowName("Edit", k, 23, 67, 68);
}
QString TFFichaMed::presenceName(int k)
{
    return rowName("CheckBox", k, 1, 23, 24);
}

TFFichaMed::TFFichaMed(AppContext &context, QWidget *parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("FFichaMed"));
    setWindowTitle(QStringLiteral("Ficha de Atendimentos"));
    setAutoFillBackground(true);

    Label28 = boldLabel(QString(), this);
    Label28->setObjectName(QStringLiteral("Label28"));
    Label30 = boldLabel(QString(), this);
    Label30->setObjectName(QStringLiteral("Label30"));
    auto *heading = new QHBoxLayout;
    heading->addWidget(new QLabel(QStringLiteral("Médico: "), this));
    heading->addWidget(Label28, 1);
    heading->addWidget(new QLabel(QStringLiteral("Data: "), this));
    heading->addWidget(Label30);

    auto *rows = new QGridLayout;
    rows->setVerticalSpacing(1);
    rows->setHorizontalSpacing(6);
    rows->addWidget(boldLabel(QStringLiteral("Horários"), this), 0, 0);
    rows->addWidget(boldLabel(QStringLiteral("Paciente"), this), 0, 1);
    rows->addWidget(boldLabel(QStringLiteral("Telefone"), this), 0, 2);
    rows->addWidget(boldLabel(QStringLiteral("Situação"), this), 0, 3);
    rows->addWidget(boldLabel(QStringLiteral("Presença"), this), 0, 4);

    // The presence boxes sit in their own column box, as on the paper sheet.
    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    // No frame and no title room: its boxes line up with the rows beside them.
    GroupBox1->setStyleSheet(QStringLiteral("QGroupBox { border: 0; margin: 0; padding: 0; }"));
    auto *presenceColumn = new QVBoxLayout(GroupBox1);
    presenceColumn->setContentsMargins(0, 0, 0, 0);
    presenceColumn->setSpacing(1);

    const int rowHeight = 21;
    for (int k = 1; k <= AttendanceSheet::kRows; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        times[i] = new QLabel(this);
        times[i]->setObjectName(timeLabelName(k));
        times[i]->setMinimumWidth(44);
        times[i]->setFixedHeight(rowHeight);
        const auto edit = [this](const QString &name, int width, int maxLength) {
            auto *box = new QLineEdit(this);
            box->setObjectName(name);
            box->setFixedHeight(rowHeight);
            box->setMinimumWidth(width);
            box->setMaxLength(maxLength);
            return box;
        };
        patients[i] = edit(patientName(k), 220, 25);
        telephones[i] = edit(telephoneName(k), 110, 12);
        situations[i] = edit(situationName(k), 34, 1);
        situations[i]->setMaximumWidth(40);
        presences[i] = new QCheckBox(GroupBox1);
        presences[i]->setObjectName(presenceName(k));
        presences[i]->setFixedHeight(rowHeight);
        presenceColumn->addWidget(presences[i]);
        patients[i]->installEventFilter(this);
        rows->addWidget(times[i], k, 0);
        rows->addWidget(patients[i], k, 1);
        rows->addWidget(telephones[i], k, 2);
        rows->addWidget(situations[i], k, 3);
        // A tick on a patient without a situation makes him a situation-1 patient.
        connect(presences[i], &QCheckBox::toggled, this, [this, i](bool ticked) {
            if (ticked && situations[i]->text().isEmpty())
                situations[i]->setText(QStringLiteral("1"));
        });
    }
    rows->addWidget(GroupBox1, 1, 4, AttendanceSheet::kRows, 1, Qt::AlignHCenter);

    BProcessar = new QPushButton(QStringLiteral("Gravar Presenças"), this);
    BProcessar->setObjectName(QStringLiteral("BProcessar"));
    BImprimir = new QPushButton(QStringLiteral("Imprimir Ficha"), this);
    BImprimir->setObjectName(QStringLiteral("BImprimir"));
    BSair = new QPushButton(QStringLiteral("Sair"), this);
    BSair->setObjectName(QStringLiteral("BSair"));
    for (QPushButton *button : {BProcessar, BImprimir, BSair})
        button->setAutoDefault(false);
    connect(BProcessar, &QPushButton::clicked, this,
            guarded(m_context.dialogs, [this] { BProcessarClick(); }));
    connect(BImprimir, &QPushButton::clicked, this, guarded(m_context.dialogs, [this] { BImprimirClick(); }));
    connect(BSair, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BProcessar);
    buttons->addWidget(BImprimir);
    buttons->addWidget(BSair);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setSpacing(6);
    layout->addLayout(heading);
    layout->addLayout(rows);
    layout->addLayout(buttons);
    // The rows keep their height, so each presence box stays beside its patient.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFFichaMed::showView(QDate date, int doctor)
{
    m_sheet.fillForView(m_context.DMMedicos.table(), m_context.doctors, date, doctor);
    BProcessar->hide();
    setModal(true);
    exec();
}

void TFFichaMed::showEntry(QDate date, int doctor)
{
    m_sheet.fillForEntry(m_context.DMMedicos.table(), m_context.doctors, date, doctor);
    BProcessar->show();
    setModal(false);
    show();
    raise();
    activateWindow();
}

void TFFichaMed::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TFFichaMed::FormActivate()
{
    m_recorded = false;
    setWhite(false);
    BImprimir->show();
    BSair->show();
    Label28->setText(m_context.doctors.doctor(m_sheet.doctor()).name.trimmed());
    Label30->setText(dates::formatShort(m_sheet.date()));
    const auto boxes = m_sheet.openingBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        times[i]->setText(boxes[i].time);
        patients[i]->setText(boxes[i].patient);
        telephones[i]->setText(boxes[i].telephone);
        situations[i]->setText(boxes[i].situation);
        presences[i]->setChecked(boxes[i].present);
    }
}

void TFFichaMed::BProcessarClick()
{
    std::array<SheetBoxes, AttendanceSheet::kRows> boxes;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i] = {times[i]->text(), patients[i]->text(), telephones[i]->text(), situations[i]->text(),
                    presences[i]->isChecked()};
    // A sheet recorded before, in this showing or another, is asked about and replaced:
    // a correction made after recording is recorded by pressing again.
    if (!recordSheet(m_context, m_sheet, boxes))
        return;
    m_recorded = true;
    if (recordedSheet)
        recordedSheet();
}

void TFFichaMed::BImprimirClick()
{
    if (!m_context.printer.choose())
        return;
    // The doctor ticks the presences on paper: the boxes print empty, and the sheet on
    // the screen keeps the presences the receptionist has marked.
    std::array<bool, AttendanceSheet::kRows> ticked{};
    for (std::size_t i = 0; i < presences.size(); ++i) {
        ticked[i] = presences[i]->isChecked();
        const QSignalBlocker quiet(presences[i]);
        presences[i]->setChecked(false);
    }
    const bool entry = BProcessar->isVisible();
    // A name the cursor has selected prints as plain text, not highlighted.
    if (auto *focused = qobject_cast<QLineEdit *>(QApplication::focusWidget()))
        focused->deselect();
    setWhite(true);
    for (QPushButton *button : {BProcessar, BImprimir, BSair})
        button->hide();
    const QImage image = grab().toImage();
    for (std::size_t i = 0; i < presences.size(); ++i) {
        const QSignalBlocker quiet(presences[i]);
        presences[i]->setChecked(ticked[i]);
    }
    setWhite(false);
    BImprimir->show();
    BSair->show();
    BProcessar->setVisible(entry);
    m_context.printer.printImage(windowTitle(), image);
}

void TFFichaMed::setWhite(bool white)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, white ? QColor(Qt::white) : QApplication::palette().color(QPalette::Button));
    setPalette(p);
}

void TFFichaMed::PatientDblClick(int k)
{
    const SheetRow &row = m_sheet.row(k);
    if (row.isEmpty())
        return;
    // The row's own slot: in the view the rows are packed, so row k is not slot k.
    const int day = row.date.left(2).toInt();
    const int slot = row.slot.toInt();
    const int doctor = m_sheet.doctor();
    done(QDialog::Accepted);
    if (goToSlot)
        goToSlot(day, slot, doctor);
}

bool TFFichaMed::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int k = 1; k <= AttendanceSheet::kRows; ++k) {
            if (watched == patients[static_cast<std::size_t>(k - 1)]) {
                runUserAction(m_context.dialogs, [this, k] { PatientDblClick(k); });
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFFichaMed::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F3 || event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFFichaMed::done(int result)
{
    BProcessar->show();
    for (std::size_t i = 0; i < patients.size(); ++i) {
        patients[i]->clear();
        telephones[i]->clear();
        situations[i]->clear();
        times[i]->clear();
        presences[i]->setChecked(false);
    }
    m_sheet.clear();
    QDialog::done(result);
}

} // namespace clinora
