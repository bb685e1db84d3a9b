#include "ui/FieldCharValidator.h"

#include "data/Field.h"

namespace ui {

FieldCharValidator::FieldCharValidator(const data::Field* field, QObject* parent) : QValidator(parent), field_(field)
{
}

QValidator::State FieldCharValidator::validate(QString& input, int&) const
{
    for (const QChar c : input) {
        if (!field_->isValidChar(c))
            return Invalid;
    }
    return Acceptable;
}

} // namespace ui
