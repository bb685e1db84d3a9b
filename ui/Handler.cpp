#include "ui/Handler.h"

namespace ui {

namespace {
Runner& installedRunner()
{
    static Runner runner;
    return runner;
}
} // namespace

void setHandlerRunner(Runner runner)
{
    installedRunner() = std::move(runner);
}

void runHandler(const std::function<void()>& handler)
{
    const Runner& runner = installedRunner();
    if (runner)
        runner(handler);
    else
        handler(); // no program around it (a unit test): failures reach the caller
}

} // namespace ui
