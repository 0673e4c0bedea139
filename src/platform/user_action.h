// The one place that catches what a user action throws: file, conversion and store
// errors end the action, the standard error box shows why, and the program goes on.
#pragma once

#include "platform/dialogs.h"

#include <functional>
#include <type_traits>
#include <utility>

namespace clinora {

// Runs the action; returns false when it ended with an error (already shown).
bool runUserAction(Dialogs &dialogs, const std::function<void()> &action);

// Wraps a handler for connect(): every signal handler of a form goes through here.
// The signal's arguments are passed on when the handler takes them.
template <typename F, typename... Args>
void callHandler(const F &handler, Args &&...args)
{
    if constexpr (std::is_invocable_v<const F &, Args...>)
        handler(std::forward<Args>(args)...);
    else
        handler();
}

template <typename F>
auto guarded(Dialogs &dialogs, F handler)
{
    // (The choice is made in a template of its own: clang compiles both branches of it
    // inside the lambda.)
    return [&dialogs, handler = std::move(handler)](auto &&...args) {
        runUserAction(dialogs, [&] { callHandler(handler, std::forward<decltype(args)>(args)...); });
    };
}

} // namespace clinora
