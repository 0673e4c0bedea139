#include "platform/qt_printer.h"

#include "platform/clock.h"
#include "platform/cups_print_system.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/modules.h"
#include "platform/paths.h"
#include "platform/print_dialog.h"
#include "platform/private_files.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

namespace clinora {

namespace {

QFont qfont(const PrintFont &font)
{
    QFont f(font.family);
    if (font.pixelHeight > 0)
        f.setPixelSize(font.pixelHeight);
    else
        f.setPointSize(std::max(1, font.pointSize));
    f.setBold(font.bold);
    return f;
}

// The print dialog, from its module; null when the module cannot be loaded (error says why).
const printdialog::Functions *printDialog(QString *error)
{
    using Entry = const printdialog::Functions *(*)();
    const auto entry = reinterpret_cast<Entry>(modules::entry("clinora_print_dialog", "clinora_print_dialog", error));
    const printdialog::Functions *found = entry ? entry() : nullptr;
    if (found && found->size != sizeof(printdialog::Functions)) {
        *error = QStringLiteral("o módulo de impressão é de outra versão do Clinora");
        return nullptr;
    }
    return found;
}

// The wait for the print system shows on the pointer.
class Waiting
{
public:
    Waiting() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Waiting() { QApplication::restoreOverrideCursor(); }
    Waiting(const Waiting &) = delete;
    Waiting &operator=(const Waiting &) = delete;
};

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QtPrinter::QtPrinter(const Paths &paths, const Clock &clock, Dialogs &dialogs, PrintSystem *system)
    : m_paths(paths),
      m_clock(clock),
      m_dialogs(dialogs),
      m_ownSystem(system ? nullptr : std::make_unique<CupsPrintSystem>()),
      m_system(system ? *system : *m_ownSystem)
{
}

QtPrinter::~QtPrinter() = default;

QString QtPrinter::printFolder() const
{
    return m_paths.file(QStringLiteral("Impressao"));
}

void QtPrinter::setUp(QPdfWriter &writer) const
{
    writer.setResolution(1200);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(m_landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

QPdfWriter &QtPrinter::measure()
{
    // A writer that is never painted on opens no file: it only gives the page's measures.
    if (!m_measure) {
        m_measure = std::make_unique<QPdfWriter>(QString());
        setUp(*m_measure);
    }
    return *m_measure;
}

bool QtPrinter::choose()
{
    m_choice.reset();
    m_known.reset();
    PrinterState state;
    {
        const Waiting waiting;
        state = m_system.state({});
    }
    switch (state.kind) {
    case PrinterState::Kind::NoPrinter:
    case PrinterState::Kind::NotRunning:
    case PrinterState::Kind::NoAnswer:
        // Nothing to choose from: the document goes to a PDF file, and end() says why.
        m_known = state;
        return true;
    default:
        break;
    }
    QString error;
    const printdialog::Functions *dialog = printDialog(&error);
    if (!dialog) {
        m_dialogs.error(QStringLiteral("Não foi possível abrir a janela de impressão (%1).").arg(error));
        return false;
    }
    const printdialog::Choice chosen = dialog->ask(QApplication::activeWindow(), m_landscape);
    if (!chosen.accepted)
        return false;
    Choice choice;
    choice.printer = chosen.printer;
    choice.file = chosen.file;
    choice.options = chosen.options;
    m_choice = choice;
    return true;
}

int QtPrinter::pageWidth()
{
    return measure().width();
}

int QtPrinter::pageHeight()
{
    return measure().height();
}

bool QtPrinter::landscape()
{
    return m_landscape;
}

void QtPrinter::setLandscape(bool on)
{
    m_landscape = on;
    m_measure.reset();
}

void QtPrinter::begin(const QString &title)
{
    privacy::makeFolder(printFolder());
    QString name = title;
    for (QChar &c : name) {
        if (!c.isLetterOrNumber())
            c = QLatin1Char('_');
    }
    const QString stem = printFolder() + QLatin1Char('/') + name + QLatin1Char('-')
                         + m_clock.now().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    m_pdfPath = stem + QStringLiteral(".pdf");
    for (int n = 2; QFile::exists(m_pdfPath); ++n)
        m_pdfPath = stem + QLatin1Char('-') + QString::number(n) + QStringLiteral(".pdf");
    m_title = title;
    m_writer = std::make_unique<QPdfWriter>(m_pdfPath);
    setUp(*m_writer);
    m_writer->setTitle(title);
    m_writer->setCreator(QStringLiteral("Clinora"));
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_writer.get())) {
        m_painter.reset();
        m_writer.reset();
        throw FileError(QStringLiteral("Não foi possível gravar o arquivo %1").arg(native(m_pdfPath)));
    }
}

void QtPrinter::drawText(int x, int y, const QString &text, const PrintFont &font, int width)
{
    if (!m_painter)
        return;
    QFont f = qfont(font);
    QString shown = text;
    if (width > 0) {
        // Blanks that pad a fixed-width field take no room on the page.
        while (shown.endsWith(QLatin1Char(' ')))
            shown.chop(1);
        const int wide = QFontMetrics(f, m_painter->device()).horizontalAdvance(shown);
        if (wide > width) {
            // Down to three quarters of the size first, then cut.
            if (font.pixelHeight > 0)
                f.setPixelSize(std::max(font.pixelHeight * 3 / 4, font.pixelHeight * width / wide));
            const QFontMetrics smaller(f, m_painter->device());
            if (smaller.horizontalAdvance(shown) > width)
                shown = smaller.elidedText(shown, Qt::ElideRight, width);
        }
    }
    m_painter->setFont(f);
    // Text is placed by its top-left corner, as the layouts are given.
    m_painter->drawText(x, y + QFontMetrics(f, m_painter->device()).ascent(), shown);
}

int QtPrinter::lineHeight(const PrintFont &font)
{
    return QFontMetrics(qfont(font), m_writer ? static_cast<QPaintDevice *>(m_writer.get()) : &measure())
        .lineSpacing();
}

void QtPrinter::newPage()
{
    if (m_painter)
        m_writer->newPage();
}

PrintOutcome QtPrinter::end()
{
    if (!m_painter)
        return PrintOutcome::NotPrinted;
    const bool written = m_painter->end();
    m_painter.reset();
    m_writer.reset();
    const std::optional<Choice> choice = m_choice;
    const std::optional<PrinterState> known = m_known;
    m_choice.reset();
    m_known.reset();
    if (!written) {
        QFile::remove(m_pdfPath);
        throw FileError(QStringLiteral("Não foi possível gravar o arquivo %1").arg(native(m_pdfPath)));
    }
    // The lists name patients: the file is its owner's alone, whatever made it.
    QFile::setPermissions(m_pdfPath, privacy::kFile);
    return deliver(choice, known);
}

PrintOutcome QtPrinter::deliver(const std::optional<Choice> &choice, const std::optional<PrinterState> &known)
{
    if (choice && !choice->file.isEmpty()) {
        // "Print to file" in the print dialog: the document goes where the user said.
        QFile::remove(choice->file);
        if (!QFile::rename(m_pdfPath, choice->file))
            throw FileError(QStringLiteral("Não foi possível gravar o arquivo %1").arg(native(choice->file)));
        return PrintOutcome::SavedAsPdf;
    }
    PrinterState state;
    if (known) {
        state = *known;
    } else {
        const Waiting waiting;
        state = m_system.state(choice ? choice->printer : QString());
    }
    switch (state.kind) {
    case PrinterState::Kind::NoPrinter:
        return keptAsPdf(QStringLiteral("Não há impressora instalada."));
    case PrinterState::Kind::NoDefault:
        return keptAsPdf(QStringLiteral("Há impressoras instaladas, mas nenhuma está definida como a "
                                        "impressora padrão."));
    case PrinterState::Kind::NotRunning:
        return keptAsPdf(QStringLiteral("O sistema de impressão (CUPS) não está funcionando: nenhuma "
                                        "impressora pode ser usada."));
    case PrinterState::Kind::NoAnswer:
        return keptAsPdf(QStringLiteral("O sistema de impressão não respondeu em %1 segundos.")
                             .arg(m_system.answerLimitSeconds()));
    case PrinterState::Kind::NotAccepting:
        return refused(state.printer, state.detail);
    case PrinterState::Kind::Stopped:
        if (m_dialogs.question(QStringLiteral("A impressora \"%1\" está parada; o documento ficará na fila e só "
                                              "será impresso quando ela voltar a funcionar.\r\n\r\nGravar o "
                                              "documento em PDF na pasta %2 em vez de imprimir?")
                                   .arg(state.printer, native(printFolder())))) {
            return keptAsPdf({});
        }
        break;
    case PrinterState::Kind::Ready:
        break;
    }
    PrintOptions options{{"media", "A4"}};
    if (choice)
        options += choice->options;
    Submission sent;
    {
        const Waiting waiting;
        sent = m_system.submit(state.printer, m_pdfPath, m_title, options);
    }
    switch (sent.kind) {
    case Submission::Kind::Queued:
        QFile::remove(m_pdfPath);
        return state.kind == PrinterState::Kind::Stopped ? PrintOutcome::Queued : PrintOutcome::Printed;
    case Submission::Kind::Refused:
        return refused(state.printer, sent.detail);
    case Submission::Kind::NoAnswer:
        break;
    }
    return keptAsPdf(QStringLiteral("O sistema de impressão não respondeu em %1 segundos ao receber o "
                                    "documento para a impressora \"%2\": ele pode não ser impresso.")
                         .arg(m_system.answerLimitSeconds())
                         .arg(state.printer));
}

PrintOutcome QtPrinter::keptAsPdf(const QString &why)
{
    const QString where =
        QStringLiteral("O documento foi gravado no arquivo:\r\n%1").arg(native(m_pdfPath));
    m_dialogs.information(why.isEmpty() ? where : why + QLatin1Char(' ') + where);
    return PrintOutcome::SavedAsPdf;
}

PrintOutcome QtPrinter::refused(const QString &printer, const QString &detail)
{
    QString text = QStringLiteral("A impressora \"%1\" recusou o documento: nada foi impresso.").arg(printer);
    if (!detail.isEmpty())
        text += QStringLiteral("\r\n(%1)").arg(detail);
    text += QStringLiteral("\r\n\r\nGravar o documento em PDF na pasta %1?").arg(native(printFolder()));
    if (m_dialogs.question(text))
        return keptAsPdf({});
    QFile::remove(m_pdfPath);
    return PrintOutcome::NotPrinted;
}

PrintOutcome QtPrinter::printImage(const QString &title, const QImage &image)
{
    begin(title);
    const QRect page = m_painter->viewport();
    const QImage scaled = image.scaledToWidth(page.width(), Qt::SmoothTransformation);
    m_painter->drawImage(0, 0, scaled);
    return end();
}

PrintOutcome QtPrinter::printDrawing(const QString &title, QSize size,
                                     const std::function<void(QPainter &)> &draw)
{
    begin(title);
    const QRect page = m_painter->viewport();
    if (size.width() > 0) {
        const double f = static_cast<double>(page.width()) / size.width();
        m_painter->scale(f, f);
    }
    draw(*m_painter);
    return end();
}

} // namespace clinora
