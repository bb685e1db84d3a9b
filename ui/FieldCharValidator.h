#pragma once

#include <QValidator>

namespace data {
class Field;
}

namespace ui {

// Takes only characters that suit the field's kind, as a bound edit box does.
class FieldCharValidator : public QValidator {
    Q_OBJECT
public:
    FieldCharValidator(const data::Field* field, QObject* parent);
    State validate(QString& input, int& pos) const override;

private:
    const data::Field* field_;
};

} // namespace ui
