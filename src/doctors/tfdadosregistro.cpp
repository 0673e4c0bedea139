#include "doctors/tfdadosregistro.h"

#include "protection/mirror_link.h"
#include "core/common.h"
#include "core/data_files.h"
#include "core/registers.h"
#include "protection/mirror.h"
#include "platform/user_action.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace clinora {

TFDadosRegistro::TFDadosRegistro(MirroredClinic &context, Kind kind, QWidget *parent)
    : QDialog(parent), m_context(context), m_kind(std::move(kind))
{
    setObjectName(QLatin1String(m_kind.objectName));
    setWindowTitle(m_kind.caption);

    Grade = new QTableWidget(m_kind.rows, 2, this);
    Grade->setObjectName(QStringLiteral("Grade"));
    Grade->setHorizontalHeaderLabels({QStringLiteral("Códigos"), m_kind.heading});
    Grade->verticalHeader()->hide();
    Grade->verticalHeader()->setDefaultSectionSize(22);
    Grade->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    Grade->setColumnWidth(0, 70);
    if (m_kind.rowsMovable) {
        // Rows are dragged by their code cell's row handle; the code of a name is the
        // row it stands in when saved.
        Grade->verticalHeader()->show();
        Grade->verticalHeader()->setSectionsMovable(true);
        Grade->horizontalHeader()->setSectionsMovable(true);
    }

    Button1 = new QPushButton(QStringLiteral("Gravar e Sair"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Sair sem gravar"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    connect(Button1, &QPushButton::clicked, this, guarded(m_context.dialogs, [this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Grade, 1);
    layout->addLayout(buttons);
    resize(380, m_kind.rows > 10 ? 640 : 330);
}

void TFDadosRegistro::load()
{
    // Each opening starts from the file: rows back in code order, the row numbers
    // first (they stay when the file cannot be read), then the names read so far.
    QHeaderView *rows = Grade->verticalHeader();
    for (int r = 0; r < m_kind.rows; ++r)
        rows->moveSection(rows->visualIndex(r), r);
    QStringList names(m_kind.rows);
    m_readFailed = !runUserAction(m_context.dialogs, [&] { readNames(names); });
    for (int r = 0; r < m_kind.rows; ++r) {
        auto *code = new QTableWidgetItem(QString::number(r + 1));
        code->setFlags(code->flags() & ~Qt::ItemIsEditable);
        Grade->setItem(r, 0, code);
        Grade->setItem(r, 1, new QTableWidgetItem(names[r]));
    }
}

void TFDadosRegistro::open()
{
    load();
    exec();
}

QList<int> TFDadosRegistro::rowOrder() const
{
    QList<int> order;
    for (int visual = 0; visual < m_kind.rows; ++visual)
        order << Grade->verticalHeader()->logicalIndex(visual);
    return order;
}

QStringList TFDadosRegistro::namesByRow() const
{
    QStringList names;
    for (int row = 0; row < m_kind.rows; ++row) {
        const QTableWidgetItem *item = Grade->item(row, 1);
        names << (item ? item->text() : QString());
    }
    return names;
}

QStringList TFDadosRegistro::namesInRowOrder() const
{
    const QStringList byRow = namesByRow();
    QStringList names;
    for (const int row : rowOrder())
        names << byRow.value(row);
    return names;
}

void TFDadosRegistro::Button1Click()
{
    if (m_readFailed) {
        m_context.dialogs.warning(
            QStringLiteral("O arquivo %1 não foi gravado: a sua leitura falhou quando esta janela "
                           "abriu, e o que não pôde ser lido se perderia.\r\nCorrija-o ou recupere-o "
                           "da pasta Espelho ou de uma cópia de segurança.")
                .arg(m_kind.file));
        return;
    }
    if (!orderAccepted())
        return;
    writeNames(namesInRowOrder());
    mirror::copy(m_context, m_kind.file);
    accept();
}

TFDadosEsp::TFDadosEsp(MirroredClinic &context, QWidget *parent)
    : TFDadosRegistro(context,
                      {"FDadosEsp", QStringLiteral("Cadastro das Especialidades"),
                       QStringLiteral("Especialidades"), files::kSpecialties, 30, true},
                      parent)
{
}

void TFDadosEsp::readNames(QStringList &names)
{
    readSpecialtyNames(m_context.file(files::kSpecialties), names);
}

void TFDadosEsp::writeNames(const QStringList &names)
{
    writeSpecialtyNames(m_context.file(files::kSpecialties), names);
    m_context.specialties.load(m_context.paths.dataDir() + QLatin1Char('/'));
}

bool TFDadosEsp::orderAccepted()
{
    const QString refusal = specialtyOrderRefusal(rowOrder(), namesByRow(), m_context.doctors);
    if (refusal.isEmpty())
        return true;
    m_context.dialogs.warning(refusal);
    return false;
}

TFDadosSit::TFDadosSit(MirroredClinic &context, QWidget *parent)
    : TFDadosRegistro(context,
                      {"FDadosSit", QStringLiteral("Cadastro das Situações"), QStringLiteral("Situações"),
                       files::kSituations, 9, false},
                      parent)
{
}

void TFDadosSit::readNames(QStringList &names)
{
    readSituationNames(m_context.file(files::kSituations), names);
}

void TFDadosSit::writeNames(const QStringList &names)
{
    writeSituationNames(m_context.file(files::kSituations), names);
    m_context.situations.load(m_context.paths.dataDir() + QLatin1Char('/'));
}

} // namespace clinora
