#pragma once

#include <QIcon>

namespace ui {

// The navigator's ten buttons, in the order they stand.
enum class NavigatorButton { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };
inline constexpr int navigatorButtonCount = 10;

// The small black glyph a navigator button shows; Qt greys it when disabled.
QIcon navigatorGlyph(NavigatorButton button);

} // namespace ui
