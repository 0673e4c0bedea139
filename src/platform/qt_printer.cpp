#include "platform/qt_printer.h"

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/private_files.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

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

} // namespace

QtPrinter::QtPrinter(const Paths &paths, const Clock &clock, Dialogs &dialogs)
    : m_paths(paths), m_clock(clock), m_dialogs(dialogs)
{
}

QtPrinter::~QtPrinter() = default;

bool QtPrinter::toPdf() const
{
    return QPrinterInfo::defaultPrinter().isNull();
}

QString QtPrinter::printFolder() const
{
    return m_paths.file(QStringLiteral("Impressao"));
}

QPrinter &QtPrinter::device()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setPageSize(QPageSize(QPageSize::A4));
        m_printer->setPageOrientation(m_landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        if (toPdf())
            m_printer->setOutputFormat(QPrinter::PdfFormat);
    }
    return *m_printer;
}

bool QtPrinter::choose()
{
    if (toPdf())
        return true;
    QPrintDialog dialog(&device(), QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

int QtPrinter::pageWidth()
{
    return device().width();
}

int QtPrinter::pageHeight()
{
    return device().height();
}

bool QtPrinter::landscape()
{
    return device().pageLayout().orientation() == QPageLayout::Landscape;
}

void QtPrinter::setLandscape(bool on)
{
    m_landscape = on;
    if (m_printer)
        m_printer->setPageOrientation(on ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void QtPrinter::begin(const QString &title)
{
    QPrinter &printer = device();
    printer.setDocName(title);
    m_pdfPath.clear();
    if (toPdf()) {
        privacy::makeFolder(printFolder());
        QString name = title;
        for (QChar &c : name) {
            if (!c.isLetterOrNumber())
                c = QLatin1Char('_');
        }
        m_pdfPath = printFolder() + QLatin1Char('/') + name + QLatin1Char('-')
                    + m_clock.now().toString(QStringLiteral("yyyyMMdd-hhmmss")) + QStringLiteral(".pdf");
        printer.setOutputFileName(m_pdfPath);
    }
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(&printer)) {
        m_painter.reset();
        throw FileError(m_pdfPath.isEmpty()
                            ? QStringLiteral("Não foi possível iniciar a impressão.")
                            : QStringLiteral("Não foi possível gravar o arquivo %1")
                                  .arg(QDir::toNativeSeparators(m_pdfPath)));
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
    return QFontMetrics(qfont(font), &device()).lineSpacing();
}

void QtPrinter::newPage()
{
    if (m_painter)
        device().newPage();
}

void QtPrinter::end()
{
    if (!m_painter)
        return;
    m_painter->end();
    m_painter.reset();
    m_printer.reset();
    // The lists name patients: the file is its owner's alone, whatever made it.
    if (!m_pdfPath.isEmpty())
        QFile::setPermissions(m_pdfPath, privacy::kFile);
    if (!m_pdfPath.isEmpty())
        m_dialogs.information(QStringLiteral("Não há impressora instalada. O documento foi "
                                             "gravado no arquivo:\r\n%1")
                                  .arg(QDir::toNativeSeparators(m_pdfPath)));
}

void QtPrinter::printImage(const QString &title, const QImage &image)
{
    begin(title);
    const QRect page = m_painter->viewport();
    const QImage scaled = image.scaledToWidth(page.width(), Qt::SmoothTransformation);
    m_painter->drawImage(0, 0, scaled);
    end();
}

void QtPrinter::printDrawing(const QString &title, QSize size, const std::function<void(QPainter &)> &draw)
{
    begin(title);
    const QRect page = m_painter->viewport();
    if (size.width() > 0) {
        const double f = static_cast<double>(page.width()) / size.width();
        m_painter->scale(f, f);
    }
    draw(*m_painter);
    end();
}

} // namespace clinora
