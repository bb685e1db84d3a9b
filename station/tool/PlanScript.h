#pragma once

#include <QPoint>
#include <QPolygon>
#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

namespace station {

// A station plan picture described as text (kzn1.plan, kzn.plan): the rails
// of each track section as polylines, insulated joints, turnouts, signals,
// buffer stops, names and notes. PlanPainter draws it; the tests ask it
// which section lies under a point and which sections meet at a joint.
class PlanScript {
public:
    struct Track {
        QString section;  // empty for rails without a track circuit
        QPolygon points;
    };
    struct Turnout {
        QPoint at;
        QString number;
        bool above = true;
        int shift = 0; // of the number, to the right
    };
    struct Signal {
        QPoint at;
        QString name;
        bool facesRight = true;
        bool above = true;
    };
    struct Buffer {
        QPoint at;
        bool right = true;
    };
    struct Text {
        QPoint at;
        int scale = 1;
        QString colour;
        QString text;
    };
    struct Box {
        QRect rect;
        QString kind; // "platform" or a colour name
    };

    // Parses the description in `path`; an unknown command or a malformed
    // argument is a Failure naming the line.
    static PlanScript read(const QString& path);
    static PlanScript parse(const QString& text, const QString& fileName);

    QSize size;
    std::vector<Track> tracks;
    std::vector<QPoint> joints;
    std::vector<Turnout> turnouts;
    std::vector<Signal> signalPosts;
    std::vector<Buffer> buffers;
    std::vector<Text> texts;   // section names included, in the colour "name"
    std::vector<Box> boxes;
    std::vector<QPoint> legends;

    // The section whose rails pass nearest to `p`, when within `within`
    // pixels; empty otherwise.
    QString sectionNear(QPointF p, double within) const;
    // Distance from `p` to the nearest rails of `section` (a large number
    // when the plan does not hold it).
    double distanceTo(QPointF p, const QString& section) const;
    // For each joint, the sections whose rails end there (a joint to rails
    // without a track circuit names one).
    std::vector<QStringList> sectionsAtJoints() const;
    // The sections this plan draws.
    QStringList sections() const;

private:
    void command(const QStringList& words, int line, const QString& fileName);
};

} // namespace station
