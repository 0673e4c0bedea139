// The print system behind the printer (CUPS on Linux), as the printer port sees it:
// the state of a printer, and the hand-over of a finished PDF document. Both are asked
// with a time limit, so that a print server that never answers cannot freeze the
// program.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace clinora {

struct PrinterState
{
    enum class Kind {
        Ready,        // takes documents and prints them
        Stopped,      // takes documents, but they wait in its queue
        NotAccepting, // refuses documents
        NoDefault,    // printers exist, none is the default
        NoPrinter,    // no printer is installed
        NotRunning,   // the print system is not running
        NoAnswer,     // the print system did not answer in time
    };
    Kind kind = Kind::NoPrinter;
    QString printer; // the printer's name, when there is one
    QString detail;  // the print system's own words, when it gave any
};

struct Submission
{
    enum class Kind {
        Queued,   // the job reached the printer's queue
        Refused,  // the print system answered with a refusal
        NoAnswer, // no answer in time: the job may or may not have reached it
    };
    Kind kind = Kind::Refused;
    QString detail; // the print system's answer to a refusal
};

using PrintOptions = QList<QPair<QByteArray, QByteArray>>;

class PrintSystem
{
public:
    virtual ~PrintSystem() = default;

    // The state of the named printer, or of the default printer when no name is given.
    virtual PrinterState state(const QString &printer) = 0;
    // Sends a PDF file to the printer as one job with the document's title.
    virtual Submission submit(const QString &printer, const QString &pdfFile, const QString &title,
                              const PrintOptions &options) = 0;
    // The most the program waits for an answer, in seconds.
    virtual int answerLimitSeconds() const = 0;
};

} // namespace clinora
