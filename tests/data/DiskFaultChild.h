#pragma once

#include <QString>

#include <functional>

namespace dbf_test {

// Runs a piece of a test in a forked child, for what must not touch the test
// process itself: a lower file-size limit, lost file permissions. The child
// reports a text back; the parent makes the checks. Its body uses the data
// layer only (no windows).
class DiskFaultChild {
public:
    // What `body` returned in the child; a data::Failure it threw comes back
    // as "failure: " and its message. A child that dies or cannot report is
    // a test failure, and its status comes back instead.
    static QString run(const std::function<QString()>& body);

    // In the child: root loses its power to read and write any file whatever
    // its permissions. For a user without that power it changes nothing.
    static void dropFileOverride();

    // In the child: writes past `bytes` from the start of any file fail with
    // EFBIG instead of killing the process.
    static void limitFileSize(qint64 bytes);
};

} // namespace dbf_test
