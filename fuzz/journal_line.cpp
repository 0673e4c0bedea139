// One line of the movement journal (ArqMov.Txt, ArqMovA.Txt): the fixed-width head and
// the escaped remarks. A line read, written again and read back gives the same change.
#include "support.h"

#include "platform/text_file.h"
#include "store/journal.h"

using namespace clinora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = textfile::decode(QByteArrayView(data, static_cast<qsizetype>(size)));
    const std::optional<journal::Record> record = journal::parse(text);
    fuzz::require(record.has_value() == !text.isEmpty(), "a line parsed as nothing, or nothing as a line");
    if (!record || record->row.observacoes.size() > journal::kRemarksWidth)
        return 0;
    const QString written = journal::line(record->op, record->row, record->stamp);
    const std::optional<journal::Record> again = journal::parse(written);
    fuzz::require(again && again->op == record->op && again->row == record->row
                      && textfile::trimRight(again->stamp) == textfile::trimRight(record->stamp),
                  "a journal line does not read back the same", written);
    fuzz::require(journal::decodeRemarks(journal::encodeRemarks(text)) == text,
                  "remarks do not decode to what was encoded");
    return 0;
}
