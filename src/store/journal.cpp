#include "store/journal.h"

#include "core/common.h"
#include "core/data_files.h"
#include "core/settings.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

namespace clinora {

namespace journal {

using textfile::fixed;

QString encodeRemarks(const QString &remarks)
{
    QString out;
    out.reserve(remarks.size());
    for (QChar c : remarks) {
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else
            out += c;
    }
    return out;
}

QString decodeRemarks(const QString &encoded)
{
    // Most remarks hold no escape: they are taken as they are, without a copy.
    if (!encoded.contains(QLatin1Char('\\')))
        return encoded;
    QString out;
    out.reserve(encoded.size());
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const QChar c = encoded.at(i);
        if (c == QLatin1Char('\\') && i + 1 < encoded.size()) {
            const QChar n = encoded.at(i + 1);
            if (n == QLatin1Char('n') || n == QLatin1Char('r') || n == QLatin1Char('\\')) {
                out += n == QLatin1Char('n') ? QLatin1Char('\n')
                       : n == QLatin1Char('r') ? QLatin1Char('\r')
                                               : QLatin1Char('\\');
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

QString line(QChar op, const Appointment &row, const QString &stamp)
{
    const QString situation = row.situacao.isEmpty() ? QStringLiteral(" ") : row.situacao.left(1);
    return QString(op) + fixed(row.data, 8) + fixed(row.hora, 2) + fixed(row.medico, 2)
           + fixed(row.paciente, 25) + fixed(row.telefone, 12) + situation + fixed(stamp, 16)
           + encodeRemarks(row.observacoes.left(kRemarksWidth));
}

std::optional<Record> parse(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    using textfile::field;
    using textfile::trimRight;
    Record r;
    r.op = text.at(0);
    r.row.data = trimRight(field(text, 1, 8));
    r.row.hora = trimRight(field(text, 9, 2));
    r.row.medico = trimRight(field(text, 11, 2));
    r.row.paciente = trimRight(field(text, 13, 25));
    r.row.telefone = trimRight(field(text, 38, 12));
    r.row.situacao = trimRight(field(text, 50, 1));
    r.stamp = field(text, 51, 16);
    r.row.observacoes = decodeRemarks(text.mid(kHeadWidth));
    return r;
}

} // namespace journal

JournalBuffer::JournalBuffer(const Settings &settings, const Paths &paths, Dialogs &dialogs)
    : m_settings(settings), m_paths(paths), m_dialogs(dialogs)
{
}

void JournalBuffer::add(const QString &line)
{
    // A change is never dropped: lines wait, in order, until a flush writes them.
    m_lines << line;
    if (m_lines.size() < kSize)
        return;
    try {
        flush();
    } catch (const FileError &e) {
        // The change itself is posted; the caller's operation goes on to its end.
        m_dialogs.error(e.message());
    }
}

void JournalBuffer::flush()
{
    if (m_settings.mirroring() == QLatin1String("Sem"))
        return;
    const QString mirror = mirrorDirectory(m_settings, m_paths);
    const auto failed = [this](const QString &reason) {
        return FileError(QStringLiteral("A cópia das alterações para a área Espelho falhou: %1\r\n"
                                        "As %2 alterações continuam guardadas e serão gravadas "
                                        "na próxima tentativa.")
                             .arg(reason)
                             .arg(m_lines.size()));
    };
    if (mirror.isEmpty())
        throw failed(QStringLiteral("o diretório Espelho não está definido."));
    m_dialogs.information(QStringLiteral("Aguarde: Gravando alterações na área Espelho\n\n"
                                         "  Clicar em < OK > para prosseguir"));
    try {
        textfile::appendLines(mirror + QLatin1Char('/') + files::kJournal, m_lines);
    } catch (const FileError &e) {
        throw failed(e.message());
    }
    m_lines.clear();
}

} // namespace clinora
