#pragma once

#include <QString>

#include <stdexcept>

namespace data {

// The one failure type of the program. `kind` names the class of failure as
// the "Application Error" box shows it (EDBEngineError, EConvertError, ...),
// `message` is the exact text the user reads.
class Failure : public std::runtime_error {
public:
    Failure(QString kind, QString message);

    const QString& kind() const { return kind_; }
    const QString& message() const { return message_; }
    // Code address the failure was raised from, for the last-resort box.
    const void* address() const { return address_; }

    // Kinds used across the program.
    static inline const char* const Engine = "EDBEngineError";
    static inline const char* const Database = "EDatabaseError";
    static inline const char* const Convert = "EConvertError";
    static inline const char* const InOut = "EInOutError";
    static inline const char* const FileOpen = "EFOpenError";
    static inline const char* const Graphic = "EInvalidGraphic";

private:
    QString kind_;
    QString message_;
    const void* address_;
};

} // namespace data
