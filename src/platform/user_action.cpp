#include "platform/user_action.h"

#include "platform/errors.h"

#include <exception>

namespace clinora {

bool runUserAction(Dialogs &dialogs, const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (const Error &e) {
        dialogs.error(e.message());
    } catch (const std::exception &e) {
        dialogs.error(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        dialogs.error(QStringLiteral("Erro inesperado."));
    }
    return false;
}

} // namespace clinora
