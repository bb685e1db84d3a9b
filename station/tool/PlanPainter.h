#pragma once

#include "station/tool/PlanScript.h"

#include <QImage>
#include <QString>

class QPainter;

namespace station {

// Draws a PlanScript as a 256-colour picture in the style of a signalling
// plan: rails in black, insulated joints across them, turnout numbers,
// signals, section names in navy. No smoothing, so every pixel keeps one of
// the palette's colours.
class PlanPainter {
public:
    static QImage paint(const PlanScript& plan);
    // Paints `plan` and writes it to `path` as a Windows bitmap with a colour table.
    static void write(const PlanScript& plan, const QString& path);

    // The named colours a plan uses, in palette order.
    static QColor colour(const QString& name);

private:
    static void drawTrack(QPainter& p, const PlanScript::Track& t);
    static void drawJoint(QPainter& p, const PlanScript& plan, QPoint at);
    static void drawTurnout(QPainter& p, const PlanScript::Turnout& t);
    static void drawSignal(QPainter& p, const PlanScript::Signal& s);
    static void drawBuffer(QPainter& p, const PlanScript::Buffer& b);
    static void drawBox(QPainter& p, const PlanScript::Box& b);
    static void drawLegend(QPainter& p, QPoint at);
};

} // namespace station
