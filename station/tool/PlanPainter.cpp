#include "station/tool/PlanPainter.h"

#include "data/Failure.h"
#include "station/tool/PixelFont.h"

#include <QImageWriter>
#include <QLineF>
#include <QPainter>

#include <utility>
#include <vector>

namespace station {

namespace {

// Sixteen colours: those the plans use, then the rest of the Windows base
// colours, so the colour table is a familiar one.
const std::vector<std::pair<const char*, QRgb>>& palette()
{
    static const std::vector<std::pair<const char*, QRgb>> colours = {
        {"paper", qRgb(246, 244, 232)},  {"track", qRgb(0, 0, 0)},        {"siding", qRgb(128, 128, 128)},
        {"name", qRgb(0, 0, 128)},       {"number", qRgb(128, 0, 0)},     {"signal", qRgb(255, 0, 0)},
        {"note", qRgb(64, 64, 64)},      {"platform", qRgb(192, 192, 192)}, {"ramp", qRgb(206, 186, 140)},
        {"title", qRgb(0, 0, 0)},        {"blue", qRgb(0, 0, 255)},      {"white", qRgb(255, 255, 255)},  {"green", qRgb(0, 128, 0)},
        {"olive", qRgb(128, 128, 0)},    {"teal", qRgb(0, 128, 128)},     {"purple", qRgb(128, 0, 128)},
        {"yellow", qRgb(255, 255, 0)},
    };
    return colours;
}

QVector<QRgb> colourTable()
{
    QVector<QRgb> table;
    for (const auto& [name, rgb] : palette()) {
        if (!table.contains(rgb))
            table << rgb;
    }
    return table;
}

QPen pen(const QString& colour, int width)
{
    QPen p(PlanPainter::colour(colour), width);
    p.setCapStyle(Qt::FlatCap);
    p.setJoinStyle(Qt::MiterJoin);
    return p;
}

// The unit direction of the rails through `at`, (1, 0) when none pass there.
QPointF railDirection(const PlanScript& plan, QPoint at)
{
    for (const PlanScript::Track& t : plan.tracks) {
        for (qsizetype i = 0; i + 1 < t.points.size(); ++i) {
            const QLineF seg(t.points.at(i), t.points.at(i + 1));
            const QLineF toStart(seg.p1(), at);
            const QLineF toEnd(at, seg.p2());
            if (std::abs(toStart.length() + toEnd.length() - seg.length()) < 0.01)
                return (seg.p2() - seg.p1()) / seg.length();
        }
    }
    return {1, 0};
}

} // namespace

QColor PlanPainter::colour(const QString& name)
{
    for (const auto& [n, rgb] : palette()) {
        if (name == QLatin1String(n))
            return QColor(rgb);
    }
    throw data::Failure(QStringLiteral("EStationSource"), QStringLiteral("No plan colour %1").arg(name));
}

void PlanPainter::drawTrack(QPainter& p, const PlanScript::Track& t)
{
    p.setPen(t.section.isEmpty() ? pen(QStringLiteral("siding"), 2) : pen(QStringLiteral("track"), 3));
    p.drawPolyline(t.points);
}

void PlanPainter::drawJoint(QPainter& p, const PlanScript& plan, QPoint at)
{
    const QPointF d = railDirection(plan, at);
    const QPointF across(-d.y() * 7, d.x() * 7);
    p.setPen(pen(QStringLiteral("track"), 2));
    p.drawLine(QPointF(at) - across, QPointF(at) + across);
}

void PlanPainter::drawTurnout(QPainter& p, const PlanScript::Turnout& t)
{
    const int w = PixelFont::width(t.number, 1);
    const QPoint at(t.at.x() + t.shift - w / 2, t.above ? t.at.y() - 17 : t.at.y() + 10);
    PixelFont::draw(p, at, 1, colour(QStringLiteral("number")), t.number);
}

void PlanPainter::drawSignal(QPainter& p, const PlanScript::Signal& s)
{
    // The post clears the joint's stroke; the name stands beyond the head.
    const int side = s.above ? -1 : 1;
    const int dir = s.facesRight ? 1 : -1;
    const int x = s.at.x();
    const int arm = s.at.y() + side * 15;
    p.setPen(pen(QStringLiteral("track"), 1));
    p.drawLine(x, s.at.y() + side * 9, x, s.at.y() + side * 20);
    p.drawLine(x, arm, x + dir * 5, arm);
    const QPoint head(x + dir * 9, arm);
    p.setBrush(colour(QStringLiteral("signal")));
    p.drawEllipse(head, 4, 4);
    p.setBrush(Qt::NoBrush);
    const int w = PixelFont::width(s.name, 1);
    const int textY = s.above ? arm - 6 - PixelFont::capHeight : arm + 7;
    PixelFont::draw(p, QPoint(head.x() - w / 2, textY), 1, colour(QStringLiteral("title")), s.name);
}

void PlanPainter::drawBuffer(QPainter& p, const PlanScript::Buffer& b)
{
    const int back = b.right ? -4 : 4;
    p.setPen(pen(QStringLiteral("track"), 3));
    p.drawLine(b.at.x(), b.at.y() - 7, b.at.x(), b.at.y() + 7);
    p.setPen(pen(QStringLiteral("track"), 2));
    p.drawLine(b.at.x(), b.at.y() - 6, b.at.x() + back, b.at.y() - 6);
    p.drawLine(b.at.x(), b.at.y() + 6, b.at.x() + back, b.at.y() + 6);
}

void PlanPainter::drawBox(QPainter& p, const PlanScript::Box& b)
{
    const bool platform = b.kind == QLatin1String("platform");
    p.setPen(pen(QStringLiteral("siding"), 1));
    p.setBrush(colour(platform ? QStringLiteral("platform") : b.kind));
    p.drawRect(b.rect);
    p.setBrush(Qt::NoBrush);
}

void PlanPainter::drawLegend(QPainter& p, QPoint at)
{
    const QColor note = colour(QStringLiteral("note"));
    const int row1 = at.y() + 12;
    const int row2 = at.y() + 32;
    int x = at.x() + 10;
    auto caption = [&](int y, const QString& text) {
        PixelFont::draw(p, QPoint(x, y - 3), 1, note, text);
        x += PixelFont::width(text, 1) + 24;
    };
    PixelFont::draw(p, QPoint(x, row1 - 3), 1, colour(QStringLiteral("title")), QStringLiteral("LEGENDA:"));
    x += 60;
    const int legendStart = x;
    drawTrack(p, {QStringLiteral("-"), QPolygon({QPoint(x, row1), QPoint(x + 30, row1)})});
    x += 38;
    caption(row1, QStringLiteral("tor z obwodem torowym"));
    drawTrack(p, {QString(), QPolygon({QPoint(x, row1), QPoint(x + 30, row1)})});
    x += 38;
    caption(row1, QStringLiteral("tor bez obwodu torowego"));
    drawTrack(p, {QStringLiteral("-"), QPolygon({QPoint(x, row1), QPoint(x + 30, row1)})});
    p.setPen(pen(QStringLiteral("track"), 2));
    p.drawLine(x + 15, row1 - 7, x + 15, row1 + 7);
    x += 38;
    caption(row1, QStringLiteral("złącze izolowane (granica odcinków)"));
    drawBuffer(p, {QPoint(x + 4, row1), false});
    x += 16;
    caption(row1, QStringLiteral("kozioł oporowy"));
    const int right = x;

    x = legendStart;
    drawSignal(p, {QPoint(x + 4, row2 + 15), QString(), true, true});
    x += 24;
    caption(row2, QStringLiteral("semafor"));
    PixelFont::draw(p, QPoint(x, row2 - 3), 1, colour(QStringLiteral("number")), QStringLiteral("5"));
    x += 12;
    caption(row2, QStringLiteral("numer rozjazdu"));
    PixelFont::draw(p, QPoint(x, row2 - 3), 1, colour(QStringLiteral("name")), QStringLiteral("Iz5"));
    x += 24;
    caption(row2, QStringLiteral("odcinek zwrotnicowy"));
    PixelFont::draw(p, QPoint(x, row2 - 3), 1, colour(QStringLiteral("name")), QStringLiteral("IT2"));
    x += 24;
    caption(row2, QStringLiteral("odcinek torowy"));

    p.setPen(pen(QStringLiteral("siding"), 1));
    p.drawRect(QRect(at, QPoint(std::max(right, x), row2 + 12)));
}

QImage PlanPainter::paint(const PlanScript& plan)
{
    QImage image(plan.size, QImage::Format_RGB32);
    image.fill(colour(QStringLiteral("paper")));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (const PlanScript::Box& b : plan.boxes)
        drawBox(p, b);
    for (const PlanScript::Track& t : plan.tracks)
        drawTrack(p, t);
    for (const QPoint& j : plan.joints)
        drawJoint(p, plan, j);
    for (const PlanScript::Buffer& b : plan.buffers)
        drawBuffer(p, b);
    for (const PlanScript::Turnout& t : plan.turnouts)
        drawTurnout(p, t);
    for (const PlanScript::Signal& s : plan.signalPosts)
        drawSignal(p, s);
    for (const PlanScript::Text& t : plan.texts)
        PixelFont::draw(p, t.at, t.scale, colour(t.colour), t.text);
    for (const QPoint& at : plan.legends)
        drawLegend(p, at);
    p.end();

    QImage indexed = image.convertToFormat(QImage::Format_Indexed8, colourTable(), Qt::ThresholdDither | Qt::AvoidDither);
    if (indexed.convertToFormat(QImage::Format_RGB32) != image)
        throw data::Failure(QStringLiteral("EStationSource"), QStringLiteral("The plan holds a colour outside its palette"));
    // 96 dots per inch, whatever screen the tool runs on: the header says so.
    indexed.setDotsPerMeterX(3780);
    indexed.setDotsPerMeterY(3780);
    return indexed;
}

void PlanPainter::write(const PlanScript& plan, const QString& path)
{
    QImageWriter writer(path, "bmp");
    if (!writer.write(paint(plan)))
        throw data::Failure(data::Failure::InOut, QStringLiteral("Cannot write %1: %2").arg(path, writer.errorString()));
}

} // namespace station
