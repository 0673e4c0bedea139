#include "platform/modules.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace clinora::modules {

namespace {

// Where a module is: in the program's own library folder beside an installed program;
// for a program of the build tree (tests, benchmarks), where the build put it.
QString moduleFile(const char *module)
{
    const QString name = QStringLiteral("lib%1.so").arg(QLatin1String(module));
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!program.isEmpty() && program.startsWith(QStringLiteral(CLINORA_BUILD_DIR "/")))
        return QStringLiteral(CLINORA_MODULES_BUILT "/") + name;
    return QDir::cleanPath(QFileInfo(program).absolutePath() +
                           QStringLiteral("/" CLINORA_MODULES_INSTALLED "/") + name);
}

} // namespace

void *entry(const char *module, const char *symbol, QString *error)
{
    QLibrary library(moduleFile(module));
    // Never unloaded: what it handed out stays valid for the run.
    void *found = reinterpret_cast<void *>(library.resolve(symbol));
    if (!found && error)
        *error =
            QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(library.fileName()), library.errorString());
    return found;
}

} // namespace clinora::modules
