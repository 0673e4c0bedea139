#include "store/paradox_table.h"

#include "platform/errors.h"
#include "platform/modules.h"
#include "platform/text_file.h"
#include "store/pxlib.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <array>
#include <cstring>
#include <iconv.h>
#include <memory>
#include <optional>

namespace clinora::paradox {

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

quint32 le16(QByteArrayView b, qsizetype at)
{
    return static_cast<quint8>(b[at]) | static_cast<quint32>(static_cast<quint8>(b[at + 1])) << 8;
}

quint32 le32(QByteArrayView b, qsizetype at)
{
    return le16(b, at) | le16(b, at + 2) << 16;
}

void putLe16(QByteArray &b, qsizetype at, quint32 value)
{
    b[at] = static_cast<char>(value & 0xFF);
    b[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void putLe32(QByteArray &b, qsizetype at, quint32 value)
{
    putLe16(b, at, value & 0xFFFF);
    putLe16(b, at + 2, value >> 16);
}

// The errors pxlib reports for one document (its warnings are left out).
struct Errors
{
    QString last;
};

void collectError(pxdoc_t *, int type, const char *message, void *data)
{
    if (type != PX_Warning && data)
        static_cast<Errors *>(data)->last = QString::fromLocal8Bit(message);
}

// pxlib trusts the header and the chain of data blocks: it reads past the end of a cut
// file as if the bytes were there, and follows a chain that turns back on itself for
// ever. Both are checked here first. A header that cannot be trusted makes the table
// unreadable (fatal); a damaged chain only loses its damaged part: the blocks reached
// from its first block forwards and from its last block backwards, up to the damage,
// are read (through a mended copy, see Document), and the damage is told.
struct Blocks
{
    std::optional<QString> fatal;
    QString damage;                // why some blocks could not be read; empty when none
    std::vector<quint32> readable; // with damage: the blocks to read, in the chain's order
    qint64 headerSize = 0;
    qint64 blockSize = 0;
};

Blocks checkBlocks(const QString &path)
{
    Blocks result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result; // pxlib says why
    const QByteArray head = file.read(0x78);
    const auto fatal = [&](const QString &why) {
        result.fatal = why;
        return result;
    };
    if (head.size() < 0x78)
        return fatal(QStringLiteral("o cabeçalho está incompleto"));
    const auto fileType = static_cast<quint8>(head[0x04]);
    if (fileType != 0 && fileType != 2)
        return fatal(QStringLiteral("o arquivo não é uma tabela, e sim um arquivo do tipo %1").arg(fileType));
    // A table with a password is read by pxlib as scrambled blocks, which send it astray;
    // the mark 0xFF00FF00 says the key is in the header of the newer versions (from 5).
    const auto version = static_cast<quint8>(head[0x39]);
    quint32 key = le32(head, 0x25);
    if (key == 0xFF00FF00u)
        key = version >= 5 && version <= 12 ? le32(head, 0x5C) : 1;
    if (key != 0)
        return fatal(QStringLiteral("ela está protegida por senha, ou o seu cabeçalho está danificado"));
    result.headerSize = le16(head, 0x02);
    const auto blockUnits = static_cast<quint8>(head[0x05]);
    if (result.headerSize == 0 || blockUnits == 0 || blockUnits > 32)
        return fatal(QStringLiteral("o cabeçalho está danificado"));
    result.blockSize = qint64(blockUnits) * 1024;
    const quint32 blocks = le16(head, 0x0C);
    QStringList damage;
    // The blocks wholly in the file; a cut file loses the rest.
    const qint64 whole = std::max<qint64>(0, (file.size() - result.headerSize) / result.blockSize);
    if (whole < blocks)
        damage << QStringLiteral("o arquivo termina antes do fim dos seus %1 blocos de dados").arg(blocks);
    const auto inFile = [&](quint32 block) { return block >= 1 && block <= blocks && block <= whole; };
    // The neighbours a block names (next, previous), or nothing when it cannot be read.
    const auto links = [&](quint32 block) -> std::optional<std::pair<quint32, quint32>> {
        if (!file.seek(result.headerSize + (block - 1) * result.blockSize))
            return std::nullopt;
        const QByteArray blockHead = file.read(6);
        if (blockHead.size() < 6)
            return std::nullopt;
        return std::make_pair(le16(blockHead, 0), le16(blockHead, 2));
    };
    std::vector<bool> seen(blocks + 1);
    std::vector<quint32> forwards;
    bool wholeChain = true;
    for (quint32 block = le16(head, 0x0E); block != 0;) {
        if (!inFile(block)) {
            // A block cut off with the end of the file is told above.
            if (block > blocks)
                damage << QStringLiteral("a sequência dos blocos de dados passa pelo bloco %1, de %2")
                              .arg(block)
                              .arg(blocks);
            wholeChain = false;
            break;
        }
        if (seen[block]) {
            damage << QStringLiteral("a sequência dos blocos de dados volta ao bloco %1").arg(block);
            wholeChain = false;
            break;
        }
        const auto next = links(block);
        if (!next) {
            damage << QStringLiteral("o bloco de dados %1 não pôde ser lido").arg(block);
            wholeChain = false;
            break;
        }
        seen[block] = true;
        forwards.push_back(block);
        block = next->first;
    }
    if (wholeChain && damage.isEmpty())
        return result;
    // From the last block backwards, up to the damage or a block already read.
    std::vector<quint32> backwards;
    if (!wholeChain) {
        for (quint32 block = le16(head, 0x10); block != 0 && inFile(block) && !seen[block];) {
            const auto linked = links(block);
            if (!linked)
                break;
            seen[block] = true;
            backwards.push_back(block);
            block = linked->second;
        }
    }
    result.readable = forwards;
    result.readable.insert(result.readable.end(), backwards.rbegin(), backwards.rend());
    result.damage = damage.join(QStringLiteral("; "));
    return result;
}

// pxlib, loaded the first time an old table is read and kept for the run. A module that
// cannot be loaded is the installation's fault, not the table's: FileError, so that the
// table is never taken for an unreadable one and set aside.
const PxLib &pxlib()
{
    static const PxLib *lib = nullptr;
    if (lib)
        return *lib;
    QString error;
    using Entry = const PxLib *(*)();
    const auto entry = reinterpret_cast<Entry>(modules::entry("clinora_paradox", "clinora_pxlib", &error));
    const PxLib *found = entry ? entry() : nullptr;
    if (found && found->size != sizeof(PxLib))
        error = QStringLiteral("o módulo é de outra versão do Clinora");
    if (!found || found->size != sizeof(PxLib))
        throw FileError(QStringLiteral("O leitor de tabelas do programa anterior (Paradox) não pôde ser "
                                       "carregado: %1\r\nNada foi alterado. Instale o Clinora de novo.")
                            .arg(error));
    lib = found;
    return *lib;
}

// An open Paradox document, closed and freed with its scope.
class Document
{
public:
    explicit Document(const QString &path) : m_path(path)
    {
        const PxLib &px = pxlib();
        static const bool booted = [&px] {
            px.boot();
            return true;
        }();
        Q_UNUSED(booted);
        m_blocks = checkBlocks(path);
        if (m_blocks.fatal)
            fail(*m_blocks.fatal);
        QString opened = path;
        if (!m_blocks.damage.isEmpty())
            opened = mendedCopy();
        m_doc = px.create(collectError, nullptr, nullptr, nullptr, &m_errors);
        if (!m_doc)
            throw StoreError(QStringLiteral("Não há memória para ler a tabela %1.").arg(shown(path)));
        // The memo file is read by the program itself: Debian's pxlib 0.6.8 overruns its
        // stack when it opens one (a bug mended upstream after that release).
        if (px.openFile(m_doc, QFile::encodeName(opened).constData()) < 0) {
            // The destructor does not run for a document that never opened.
            px.destroy(m_doc);
            fail(QStringLiteral("ela não pôde ser aberta"));
        }
    }
    ~Document()
    {
        // The document exists only once pxlib was loaded.
        pxlib().close(m_doc);
        pxlib().destroy(m_doc);
    }
    Document(const Document &) = delete;
    Document &operator=(const Document &) = delete;

    pxdoc_t *get() const { return m_doc; }
    const Blocks &blocks() const { return m_blocks; }
    // With a damaged chain: the records the header counts.
    int countedRecords() const { return m_counted; }

    [[noreturn]] void fail(const QString &what) const
    {
        throw StoreError(
            QStringLiteral("A tabela Paradox %1 não pôde ser lida: %2.%3")
                .arg(shown(m_path), what,
                     m_errors.last.isEmpty() ? QString() : QStringLiteral("\r\nDetalhe: ") + m_errors.last));
    }

private:
    // pxlib walks the chain of blocks as it opens a table, and would follow the damage: it
    // reads instead a private copy made of the readable blocks alone, linked one after
    // the other, with the header counting what they hold.
    QString mendedCopy()
    {
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly))
            fail(file.errorString());
        QByteArray head = file.read(m_blocks.headerSize);
        const int recordSize = static_cast<int>(le16(head, 0x00));
        m_counted = static_cast<int>(le32(head, 0x06));
        if (recordSize <= 0)
            fail(QStringLiteral("o cabeçalho diz que os registros não têm tamanho"));
        QByteArray blocks;
        quint32 records = 0;
        const auto count = static_cast<quint32>(m_blocks.readable.size());
        for (quint32 i = 0; i < count; ++i) {
            file.seek(m_blocks.headerSize + (m_blocks.readable[i] - 1) * m_blocks.blockSize);
            QByteArray block = file.read(m_blocks.blockSize);
            block.resize(m_blocks.blockSize, '\0');
            // The offset of the block's last record; below zero when the block is empty.
            const auto last = static_cast<qint16>(le16(block, 4));
            records += last < 0 ? 0 : static_cast<quint32>(last / recordSize + 1);
            putLe16(block, 0, i + 1 < count ? i + 2 : 0);
            putLe16(block, 2, i);
            blocks += block;
        }
        putLe32(head, 0x06, records);
        putLe16(head, 0x0A, count);
        putLe16(head, 0x0C, count);
        putLe16(head, 0x0E, count > 0 ? 1 : 0);
        putLe16(head, 0x10, count);
        m_copy = std::make_unique<QTemporaryFile>();
        if (!m_copy->open() || m_copy->write(head + blocks) != head.size() + blocks.size() ||
            !m_copy->flush())
            fail(QStringLiteral("não foi possível fazer a sua cópia de leitura (%1)")
                     .arg(m_copy->errorString()));
        return m_copy->fileName();
    }

    QString m_path;
    Errors m_errors;
    Blocks m_blocks;
    std::unique_ptr<QTemporaryFile> m_copy;
    int m_counted = 0;
    pxdoc_t *m_doc = nullptr;
};

// Text in the code page the table names: Windows-1252 (the Windows tables) read by the
// program's own decoder, a DOS code page (437, 850, 860 ...) through iconv.
class Decoder
{
public:
    explicit Decoder(int codePage)
    {
        if (codePage == 0 || codePage == 1252)
            return;
        const QByteArray name = "CP" + QByteArray::number(codePage);
        m_iconv = iconv_open("UTF-8", name.constData());
        if (m_iconv == reinterpret_cast<iconv_t>(-1)) {
            m_iconv = nullptr;
            m_problem = QStringLiteral("a tabela diz usar a página de código %1, que este computador não "
                                       "converte; os textos foram lidos como Windows-1252")
                            .arg(codePage);
        }
    }
    ~Decoder()
    {
        if (m_iconv)
            iconv_close(m_iconv);
    }
    Decoder(const Decoder &) = delete;
    Decoder &operator=(const Decoder &) = delete;

    const QString &problem() const { return m_problem; }

    QString operator()(QByteArrayView bytes) const
    {
        if (!m_iconv || bytes.isEmpty())
            return textfile::decode(bytes);
        iconv(m_iconv, nullptr, nullptr, nullptr, nullptr);
        QByteArray out(bytes.size() * 4, Qt::Uninitialized);
        char *in = const_cast<char *>(bytes.data());
        std::size_t inLeft = static_cast<std::size_t>(bytes.size());
        char *to = out.data();
        std::size_t outLeft = static_cast<std::size_t>(out.size());
        while (inLeft > 0) {
            if (iconv(m_iconv, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1))
                break;
            // A byte the code page does not define is read as Windows-1252 reads it.
            const QByteArray one = textfile::decode(QByteArrayView(in, 1)).toUtf8();
            if (outLeft < static_cast<std::size_t>(one.size()))
                break;
            std::memcpy(to, one.constData(), static_cast<std::size_t>(one.size()));
            to += one.size();
            outLeft -= static_cast<std::size_t>(one.size());
            ++in;
            --inLeft;
        }
        return QString::fromUtf8(out.constData(), to - out.constData());
    }

private:
    iconv_t m_iconv = nullptr;
    QString m_problem;
};

// A field's bytes up to its first zero byte (Paradox pads texts with zeros).
QByteArrayView untilZero(const char *text, qsizetype length)
{
    const void *zero = std::memchr(text, 0, static_cast<std::size_t>(length));
    return {text, zero ? static_cast<const char *>(zero) - text : length};
}

struct Column
{
    std::optional<Field> field; // none: a field of another kind, left out
    char type = 0;
    int offset = 0;
    int length = 0;
};

bool isMemo(char type)
{
    return type == pxfMemoBLOb || type == pxfFmtMemoBLOb;
}

bool isReadable(char type)
{
    return type == pxfAlpha || isMemo(type) || type == pxfShort || type == pxfLong || type == pxfAutoInc;
}

QString fieldName(const char *name)
{
    return textfile::decode(QByteArrayView(name, static_cast<qsizetype>(std::strlen(name))));
}

QByteArray readWhole(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw StoreError(
            QStringLiteral("Não foi possível ler o arquivo %1: %2").arg(shown(path), file.errorString()));
    return file.readAll();
}

} // namespace

bool isParadoxTable(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(0x78);
    if (head.size() < 0x58 || head.startsWith(QByteArrayView("SQLite format 3", 16)))
        return false;
    const quint32 recordSize = le16(head, 0x00);
    const quint32 headerSize = le16(head, 0x02);
    const auto fileType = static_cast<quint8>(head[0x04]);
    const auto blockSize = static_cast<quint8>(head[0x05]);
    const quint32 fields = le16(head, 0x21);
    const auto version = static_cast<quint8>(head[0x39]);
    const bool knownBlock = blockSize == 1 || blockSize == 2 || blockSize == 3 || blockSize == 4 ||
                            blockSize == 8 || blockSize == 16 || blockSize == 32;
    // A table (keyed or not), never one of its index files.
    return (fileType == 0 || fileType == 2) && knownBlock && version >= 3 && version <= 12 &&
           recordSize > 0 && fields > 0 && fields <= 255 && headerSize >= 0x58 && headerSize <= file.size();
}

QString companion(const QString &tablePath, const QString &suffix)
{
    const QFileInfo table(tablePath);
    const QString wanted = table.completeBaseName() + QLatin1Char('.') + suffix;
    const QStringList found = table.dir().entryList({wanted}, QDir::Files);
    for (const QString &name : found) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return table.dir().filePath(name);
    }
    return {};
}

QStringList tableFiles(const QString &tablePath)
{
    const QFileInfo table(tablePath);
    QStringList result{table.absoluteFilePath()};
    // Memo, primary index, secondary indexes (X01, Y01, XG0, YG0 ...), checks, view,
    // family and lock files of the same table.
    const QStringList suffixes = {QStringLiteral("mb"), QStringLiteral("px"), QStringLiteral("val"),
                                  QStringLiteral("tv"), QStringLiteral("fam")};
    const QStringList names = table.dir().entryList(QDir::Files);
    for (const QString &name : names) {
        const QFileInfo other(table.dir().filePath(name));
        if (other.completeBaseName().compare(table.completeBaseName(), Qt::CaseInsensitive) != 0 ||
            other.absoluteFilePath() == table.absoluteFilePath())
            continue;
        const QString suffix = other.suffix().toLower();
        const bool index = suffix.size() == 3 &&
                           (suffix.startsWith(QLatin1Char('x')) || suffix.startsWith(QLatin1Char('y'))) &&
                           (suffix.at(1).isDigit() || suffix.at(1) == QLatin1Char('g')) &&
                           suffix.at(2).isDigit();
        if (suffixes.contains(suffix) || index)
            result << other.absoluteFilePath();
    }
    return result;
}

int recordCount(const QString &path)
{
    const Document doc(path);
    return pxlib().numRecords(doc.get());
}

QByteArray memoBytes(QByteArrayView field, QByteArrayView memoFile, QString *problem)
{
    if (field.size() < 10)
        return {};
    const qsizetype leader = field.size() - 10;
    const quint32 pointer = le32(field, leader);
    const qsizetype size = static_cast<qsizetype>(le32(field, leader + 4));
    const QByteArrayView inRecord = untilZero(field.data(), leader);
    if (size == 0)
        return {};
    if (size <= leader)
        return field.first(size).toByteArray();
    const auto broken = [&](const QString &why) {
        if (problem)
            *problem = why;
        return inRecord.toByteArray();
    };
    const qsizetype offset = pointer & 0xFFFFFF00u;
    const quint32 index = pointer & 0xFFu;
    if (offset == 0 || offset + 12 > memoFile.size())
        return broken(QStringLiteral("o arquivo de observações não tem o bloco %1").arg(offset));
    const auto type = static_cast<quint8>(memoFile[offset]);
    if (type == 2) {
        // One memo in a run of blocks: a 9-byte head (type, blocks, size, modification).
        if (index != 0xFF || static_cast<qsizetype>(le32(memoFile, offset + 3)) != size)
            return broken(
                QStringLiteral("o bloco %1 do arquivo de observações não é desta observação").arg(offset));
        if (offset + 9 + size > memoFile.size())
            return broken(QStringLiteral("o arquivo de observações termina antes do fim da observação"));
        return memoFile.sliced(offset + 9, size).toByteArray();
    }
    if (type == 3) {
        // Small memos sharing a block: a table of 64 five-byte entries after the 12-byte
        // head; an entry gives the start and the length in 16-byte units and the rest.
        if (index >= 64)
            return broken(
                QStringLiteral("a observação aponta para a entrada %1 de um bloco de 64").arg(index));
        const qsizetype entry = offset + 12 + index * 5;
        if (entry + 5 > memoFile.size())
            return broken(QStringLiteral("o arquivo de observações termina no meio de um bloco"));
        const auto start = static_cast<quint8>(memoFile[entry]);
        const auto units = static_cast<quint8>(memoFile[entry + 1]);
        const auto rest = static_cast<quint8>(memoFile[entry + 4]);
        const qsizetype length = (static_cast<qsizetype>(units) - 1) * 16 + rest;
        if (units == 0 || length != size)
            return broken(
                QStringLiteral("a entrada %1 do bloco %2 do arquivo de observações não é desta observação")
                    .arg(index)
                    .arg(offset));
        if (offset + start * 16 + size > memoFile.size())
            return broken(QStringLiteral("o arquivo de observações termina antes do fim da observação"));
        return memoFile.sliced(offset + start * 16, size).toByteArray();
    }
    return broken(QStringLiteral("o bloco %1 do arquivo de observações é de um tipo desconhecido (%2)")
                      .arg(offset)
                      .arg(type));
}

Table read(const QString &path)
{
    const Document doc(path);
    pxdoc_t *px = doc.get();
    const PxLib &lib = pxlib();
    Table table;
    table.codePage = px->px_head ? px->px_head->px_doscodepage : 0;
    const Decoder decode(table.codePage);
    table.codePageProblem = decode.problem();

    // The fields by name, wherever the table has them.
    std::vector<Column> columns;
    const int count = lib.numFields(px);
    const pxfield_t *fields = lib.fields(px);
    if (count <= 0 || !fields)
        doc.fail(QStringLiteral("ela não descreve os seus campos"));
    std::array<bool, 7> present{};
    int offset = 0;
    for (int i = 0; i < count; ++i) {
        Column c;
        c.type = fields[i].px_ftype;
        c.offset = offset;
        c.length = fields[i].px_flen;
        offset += c.length;
        const QString name = fieldName(fields[i].px_fname);
        try {
            c.field = fieldByName(name);
        } catch (const StoreError &) {
            table.otherFields << name;
            columns.push_back(c);
            continue;
        }
        // Remarks may be a memo or text; the other fields text or a whole number.
        if (!isReadable(c.type) || (isMemo(c.type) && c.field != Field::Observacoes))
            doc.fail(QStringLiteral("o campo %1 é de um tipo (%2) que não guarda texto")
                         .arg(name)
                         .arg(int(c.type)));
        present[static_cast<std::size_t>(*c.field)] = true;
        columns.push_back(c);
    }
    QStringList missing;
    const char *const required[] = {"Data", "Hora", "Medico", "Paciente"};
    for (std::size_t f = 0; f < 4; ++f) {
        if (!present[f])
            missing << QLatin1String(required[f]);
    }
    if (!missing.isEmpty())
        doc.fail(QStringLiteral("faltam nela os campos %1 da tabela de consultas")
                     .arg(missing.join(QStringLiteral(", "))));
    const int recordSize = lib.recordSize(px);
    if (offset > recordSize)
        doc.fail(QStringLiteral("os seus campos não cabem nos registros"));

    QByteArray memoFile;
    bool memoFileRead = false;
    const QString memoPath = companion(path, QStringLiteral("mb"));

    if (recordSize <= 0)
        doc.fail(QStringLiteral("o cabeçalho diz que os registros não têm tamanho"));
    const int records = lib.numRecords(px);
    if (!doc.blocks().damage.isEmpty()) {
        table.blockDamage = doc.blocks().damage;
        table.unreadRecords = std::max(0, doc.countedRecords() - records);
    }
    // The header's count is only a claim: room is made for what the file can hold, and a
    // record that is not there stops the reading below.
    const qint64 room = QFileInfo(path).size() / recordSize;
    table.records.reserve(static_cast<std::size_t>(std::clamp<qint64>(records, 0, room)));
    QByteArray buffer(recordSize, '\0');
    for (int n = 0; n < records; ++n) {
        if (!lib.record(px, n, buffer.data()))
            doc.fail(QStringLiteral("o registro %1 não pôde ser lido").arg(n + 1));
        Record record;
        record.number = n + 1;
        for (const Column &c : columns) {
            if (!c.field)
                continue;
            char *data = buffer.data() + c.offset;
            QString &value = record.row.value(*c.field);
            if (c.type == pxfAlpha) {
                char *text = nullptr;
                if (lib.dataAlpha(px, data, c.length, &text) > 0 && text) {
                    value = decode(untilZero(text, c.length));
                    px->free(px, text);
                }
            } else if (c.type == pxfShort) {
                short number = 0;
                if (lib.dataShort(px, data, c.length, &number) > 0)
                    value = QString::number(number);
            } else if (c.type == pxfLong || c.type == pxfAutoInc) {
                long number = 0;
                if (lib.dataLong(px, data, c.length, &number) > 0)
                    value = QString::number(number);
            } else {
                const QByteArrayView field(data, c.length);
                const qsizetype leader = c.length - 10;
                const bool inFile =
                    c.length >= 10 && static_cast<qsizetype>(le32(field, leader + 4)) > leader;
                if (inFile && !memoFileRead) {
                    if (memoPath.isEmpty())
                        throw StoreError(
                            QStringLiteral("Falta, ao lado da tabela Paradox %1, o seu arquivo de "
                                           "observações %2.mb. Copie-o da pasta do programa "
                                           "anterior e abra o Clinora de novo. Nada foi alterado.")
                                .arg(shown(path), QFileInfo(path).completeBaseName()));
                    memoFile = readWhole(memoPath);
                    memoFileRead = true;
                }
                QByteArray bytes = memoBytes(field, memoFile, &record.memoProblem);
                while (bytes.endsWith('\0'))
                    bytes.chop(1);
                value = decode(bytes);
            }
        }
        table.records.push_back(std::move(record));
    }
    return table;
}

} // namespace clinora::paradox
