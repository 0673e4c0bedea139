#include "support/paradox_writer.h"

#include "platform/text_file.h"

#include <QFile>
#include <QFileInfo>

// pxlib's header declares C functions without saying so.
extern "C" {
#include <paradox.h>
}

#include <cstring>
#include <iconv.h>
#include <stdexcept>

namespace clinora::test {

namespace {

QByteArray encoded(const QString &text, int codePage)
{
    if (codePage == 1252)
        return textfile::encode(text);
    const QByteArray name = "CP" + QByteArray::number(codePage);
    iconv_t cd = iconv_open(name.constData(), "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("code page not known to iconv");
    QByteArray in = text.toUtf8();
    QByteArray out(in.size() + 1, '\0');
    char *from = in.data();
    std::size_t fromLeft = static_cast<std::size_t>(in.size());
    char *to = out.data();
    std::size_t toLeft = static_cast<std::size_t>(out.size());
    iconv(cd, &from, &fromLeft, &to, &toLeft);
    iconv_close(cd);
    out.truncate(to - out.data());
    return out;
}

} // namespace

std::vector<ParadoxField> oldTableFields()
{
    return {{"Data", pxfAlpha, 8},           {"Hora", pxfAlpha, 2},      {"Medico", pxfAlpha, 2},
            {"Paciente", pxfAlpha, 25},      {"Telefone", pxfAlpha, 12}, {"Situacao", pxfAlpha, 1},
            {"Observacoes", pxfMemoBLOb, 20}};
}

void writeParadoxTable(const QString &path, const std::vector<Appointment> &rows,
                       const std::vector<ParadoxField> &fields, int codePage)
{
    QFile::remove(path);
    pxdoc_t *px = PX_new();
    const int count = static_cast<int>(fields.size());
    auto *described = static_cast<pxfield_t *>(px->malloc(px, sizeof(pxfield_t) * fields.size(), "fields"));
    bool memo = false;
    for (int i = 0; i < count; ++i) {
        described[i].px_fname = PX_strdup(px, fields[i].name.constData());
        described[i].px_ftype = fields[i].type;
        described[i].px_flen = fields[i].length;
        described[i].px_fdc = 0;
        memo = memo || fields[i].type == pxfMemoBLOb;
    }
    if (PX_create_file(px, described, count, QFile::encodeName(path).constData(), pxfFileTypIndexDB) < 0)
        throw std::runtime_error("pxlib could not create the table");
    px->px_head->px_doscodepage = codePage;
    PX_set_tablename(px, QFileInfo(path).completeBaseName().toLatin1().constData());
    if (memo) {
        const QString mb = QFileInfo(path).path() + QLatin1Char('/') + QFileInfo(path).completeBaseName() +
                           QStringLiteral(".mb");
        QFile::remove(mb);
        if (PX_set_blob_file(px, QFile::encodeName(mb).constData()) < 0)
            throw std::runtime_error("pxlib could not create the memo file");
    }
    QByteArray record(PX_get_recordsize(px), '\0');
    for (const Appointment &row : rows) {
        record.fill('\0');
        int offset = 0;
        for (const ParadoxField &f : fields) {
            char *data = record.data() + offset;
            offset += f.length;
            QByteArray value;
            try {
                value = encoded(row.value(fieldByName(QString::fromLatin1(f.name))), codePage);
            } catch (const std::exception &) {
                continue;
            }
            if (value.isEmpty())
                continue;
            if (f.type == pxfAlpha)
                PX_put_data_alpha(px, data, f.length, value.data());
            else if (f.type == pxfShort)
                PX_put_data_short(px, data, f.length, static_cast<short>(value.toInt()));
            else if (f.type == pxfMemoBLOb)
                PX_put_data_blob(px, data, f.length, value.data(), static_cast<int>(value.size()));
        }
        if (PX_put_record(px, record.data()) < 0)
            throw std::runtime_error("pxlib could not write a record");
    }
    PX_close(px);
    PX_delete(px);
}

} // namespace clinora::test
