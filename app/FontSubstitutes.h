#pragma once

namespace app {

// The windows ask for fonts by the names of their design: "System",
// "MS Sans Serif", "Arial", "Arial Rounded MT Bold". Where no font of that
// name is installed, each is drawn in the Debian font nearest to it in widths,
// with Polish letters; the pixel heights stay as designed.
//
//   Arial                 -> Liberation Sans        (fonts-liberation; metric-compatible)
//   MS Sans Serif         -> DejaVu Sans Condensed  (fonts-dejavu-extra)
//   System                -> DejaVu Sans            (fonts-dejavu-core)
//   Arial Rounded MT Bold -> Quicksand              (fonts-quicksand)
//
// A substitution maps a family, never a weight: the System font's heavy raster
// strokes have no regular-weight match, so System takes the face whose
// widths at 13 pixels match its own (a bold face would overrun the designed
// boxes by about a tenth).
class FontSubstitutes {
public:
    // Call once, before the first window is built.
    static void install();
};

} // namespace app
