#pragma once

#include "data/Failure.h"

#include <QString>

namespace data {

// Every message the index module gives. Each names the index file on a line
// of its own, as the table module's messages do.
class MdxErrors {
public:
    static Failure missing(const QString& file);
    static Failure cannotOpen(const QString& file, int error);
    static Failure locked(const QString& file);
    static Failure damaged(const QString& file, const QString& detail);
    // True for a failure that damaged() made.
    static bool isDamage(const Failure& failure);
    static Failure readFailed(const QString& file, int error);
    static Failure writeFailed(const QString& file, const QString& detail);
    static Failure noSuchTag(const QString& file, int tag);
    static Failure cannotIndex(const QString& file, const QString& field, const QString& reason);
    // Why writes to the table are refused: `reason` follows the tag and its key.
    static Failure refusal(const QString& file, const QString& tag, const QString& expression, const QString& reason);

private:
    static Failure engine(const QString& text, const QString& file);
};

} // namespace data
