#include "data/Failure.h"

namespace data {

Failure::Failure(QString kind, QString message)
    : std::runtime_error(message.toStdString()),
      kind_(std::move(kind)),
      message_(std::move(message)),
      address_(__builtin_return_address(0))
{
}

} // namespace data
