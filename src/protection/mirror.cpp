#include "protection/mirror.h"

#include "app/context.h"
#include "core/common.h"
#include "core/data_files.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFile>

#include <filesystem>

namespace clinora {

void takeMirrorSnapshot(AppContext &context)
{
    context.dialogs.information(
        QStringLiteral("       Aguarde alguns instantes; o Sistema está realizando \na cópia do "
                       "Banco de Dados.\n\n       Para prosseguir, clicar em [ OK ]"));
    const QString mirror = mirrorDirectory(context.settings, context.paths);
    if (mirror.isEmpty() || !QDir(mirror).exists())
        throw FileError(QStringLiteral("O diretório Espelho %1 não existe.")
                            .arg(QDir::toNativeSeparators(mirror)));
    // The backup writes a new file beside the old and replaces it whole.
    const QString target = mirror + QLatin1Char('/') + files::kMirrorTable;
    const QString fresh = target + QStringLiteral(".novo");
    QFile::remove(fresh);
    context.DMMedicos.table().database().backupTo(fresh);
    std::error_code failure;
    std::filesystem::rename(QFile::encodeName(fresh).toStdString(),
                            QFile::encodeName(target).toStdString(), failure);
    if (failure)
        throw FileError(QStringLiteral("Não foi possível gravar %1").arg(QDir::toNativeSeparators(target)));
    textfile::writeLines(context.file(files::kRunJournal), {});
    mirrorCopy(context.settings, context.paths, files::kRunJournal, files::kJournal);
    context.journal.discard();
}

} // namespace clinora
