#pragma once

#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace ui {

// The stock glyphs of the classic bitmap buttons.
enum class Glyph { None, Ok, Cancel, Close, Ignore, Help };

// Small factories for the plain controls the windows place at fixed spots.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QPoint at);
QLabel* makeFixedLabel(QWidget* parent, const char* name, const QString& caption, const QRect& geometry);
QLineEdit* makeEdit(QWidget* parent, const char* name, const QRect& geometry);
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry,
                        Glyph glyph = Glyph::None);

} // namespace ui
