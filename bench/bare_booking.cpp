// The baseline of the booking screen's memory: a bare Qt program holding the same
// widgets and data as the program with its booking screen open and filled - a main
// window with a menu and the cover picture, a dialog of tabs (the month with its two
// grids and controls, 31 day sheets with a grid, labels and buttons each, the two list
// tabs), an appointment dialog, the cells filled from the 31 days' rows read with the
// SQLite C API and the doctors' names from Medicos.Txt. Ends at its first paint.
#include <QAbstractTableModel>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <sqlite3.h>
#include <vector>

namespace {

class Cells : public QAbstractTableModel
{
public:
    Cells(int rows, int columns) : m_rows(rows), m_columns(columns), m_cells(static_cast<std::size_t>(rows * columns)) {}
    int rowCount(const QModelIndex & = {}) const override { return m_rows; }
    int columnCount(const QModelIndex & = {}) const override { return m_columns; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        return m_cells[static_cast<std::size_t>(index.row() * m_columns + index.column())];
    }
    void set(int row, int column, const QString &text)
    {
        m_cells[static_cast<std::size_t>(row * m_columns + column)] = text;
    }

private:
    int m_rows;
    int m_columns;
    std::vector<QString> m_cells;
};

class QuitOnPaint : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        return false;
    }
};

QTableView *grid(QWidget *parent, Cells *cells)
{
    auto *view = new QTableView(parent);
    view->setModel(cells);
    return view;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    QMainWindow window;
    QMenu *menu = window.menuBar()->addMenu(QStringLiteral("Manutenção"));
    for (int i = 0; i < 20; ++i)
        menu->addAction(QStringLiteral("Item %1").arg(i));
    auto *cover = new QLabel(&window);
    cover->setPixmap(QPixmap(dir + QStringLiteral("/Foto/Capa.png")).scaled(480, 300, Qt::KeepAspectRatio));
    window.setCentralWidget(cover);
    window.resize(720, 560);
    window.show();

    QStringList names;
    QFile doctors(dir + QStringLiteral("/Medicos.Txt"));
    if (doctors.open(QIODevice::ReadOnly))
        for (const QByteArray &line : doctors.readAll().split('\n'))
            names << QString::fromLatin1(line).trimmed();

    QDialog screen(&window);
    auto *tabs = new QTabWidget(&screen);
    auto *month = new QWidget;
    auto *monthCells = new Cells(51, 32);
    auto *maskCells = new Cells(51, 32);
    auto *monthLayout = new QVBoxLayout(month);
    monthLayout->addWidget(new QComboBox(month));
    monthLayout->addWidget(new QPushButton(QStringLiteral("Atualização Completa"), month));
    monthLayout->addWidget(new QProgressBar(month));
    monthLayout->addWidget(new QDateEdit(month));
    monthLayout->addWidget(grid(month, monthCells));
    monthLayout->addWidget(grid(month, maskCells));
    tabs->addTab(month, QStringLiteral("Mês"));

    sqlite3 *db = nullptr;
    sqlite3_open_v2((dir + QStringLiteral("/Medicos.db")).toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *read = nullptr;
    sqlite3_prepare_v2(db, "SELECT Hora, Medico, Paciente FROM Medicos WHERE Data = ?1", -1, &read, nullptr);
    const QDate today = QDate::currentDate();
    for (int d = 0; d < 31; ++d) {
        const QDate date = today.addDays(d);
        auto *page = new QWidget;
        auto *cells = new Cells(51, 25);
        for (int r = 1; r <= 50; ++r)
            cells->set(r, 0, names.value(r));
        const QByteArray key = date.toString(QStringLiteral("dd/MM/yy")).toLatin1();
        sqlite3_bind_text(read, 1, key.constData(), -1, SQLITE_STATIC);
        std::vector<int> taken(51, 0);
        while (sqlite3_step(read) == SQLITE_ROW) {
            const int hora = sqlite3_column_int(read, 0), medico = sqlite3_column_int(read, 1);
            const char *patient = reinterpret_cast<const char *>(sqlite3_column_text(read, 2));
            if (medico >= 1 && medico <= 50 && hora >= 1 && hora <= 24) {
                cells->set(medico, hora, QString::fromLatin1(patient) == QLatin1String("R") ? QStringLiteral("R")
                                                                                           : QStringLiteral("C"));
                ++taken[static_cast<std::size_t>(medico)];
            }
        }
        sqlite3_reset(read);
        for (int r = 1; r <= 50; ++r) {
            monthCells->set(r, 0, names.value(r));
            monthCells->set(r, date.day(), QString::number(24 - taken[static_cast<std::size_t>(r)]));
        }
        auto *layout = new QVBoxLayout(page);
        layout->addWidget(new QLabel(date.toString(QStringLiteral("dddd dd/MM/yyyy")), page));
        layout->addWidget(new QLineEdit(page));
        layout->addWidget(new QLineEdit(page));
        layout->addWidget(grid(page, cells));
        layout->addWidget(new QPushButton(QStringLiteral("Limpar"), page));
        layout->addWidget(new QPushButton(QStringLiteral("Atualizar"), page));
        tabs->addTab(page, QString::number(date.day()));
    }
    sqlite3_finalize(read);
    sqlite3_close(db);
    for (const QString &list : {QStringLiteral("Desmarcadas"), QStringLiteral("Em Espera")}) {
        auto *page = new QWidget;
        auto *layout = new QVBoxLayout(page);
        layout->addWidget(new QLabel(list, page));
        layout->addWidget(grid(page, new Cells(1, 7)));
        tabs->addTab(page, list);
    }
    auto *screenLayout = new QVBoxLayout(&screen);
    screenLayout->addWidget(tabs);
    for (const char *caption : {"Início", "Final", "Médicos e Especialidades", "Menu Principal"})
        screenLayout->addWidget(new QPushButton(QString::fromUtf8(caption), &screen));

    QDialog appointment(&screen);
    auto *fields = new QVBoxLayout(&appointment);
    for (int i = 0; i < 6; ++i)
        fields->addWidget(new QLineEdit(&appointment));
    fields->addWidget(new QComboBox(&appointment));
    fields->addWidget(new QPlainTextEdit(&appointment));
    for (const char *caption : {"Incluir", "Alterar", "Excluir", "P", "H", "Exportar", "Importar", "Sair"})
        fields->addWidget(new QPushButton(QString::fromUtf8(caption), &appointment));

    QuitOnPaint quit;
    screen.resize(1120, 700);
    screen.show();
    app.installEventFilter(&quit);
    return app.exec();
}
