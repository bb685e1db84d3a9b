#pragma once

#include <functional>
#include <utility>

namespace ui {

// Every event handler that Qt calls (a click, a menu command, a key) runs
// through the runner that app/ installs, which shows a failure in the
// program's message box and lets the event loop go on. Handlers that our own
// code calls directly are plain calls, so a failure there stops the caller
// too, as it must.
using Runner = std::function<void(const std::function<void()>&)>;

void setHandlerRunner(Runner runner);
void runHandler(const std::function<void()>& handler);

// A no-argument slot that runs `handler` through the runner; connects to any signal.
template <class F>
auto guarded(F handler)
{
    return [h = std::move(handler)]() { runHandler(h); };
}

} // namespace ui
