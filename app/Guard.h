#pragma once

#include <QString>

#include <functional>

namespace data {
class Failure;
}

namespace app {

// The one place where failures are shown. Handlers that Qt calls run through
// run(); a failure stops the handler and shows the failure box, and the
// event loop goes on.
class Guard {
public:
    // Routes every guarded handler of the windows through run().
    static void install();
    static void run(const std::function<void()>& handler);

    // The failure box: the message with a full stop appended (always), the
    // application title as caption, the stop icon and OK.
    static void report(const QString& message);
    // The last-resort box of a start-up that cannot go on.
    static void reportFatal(const data::Failure& failure);
    static QString fatalText(const data::Failure& failure);
};

} // namespace app
