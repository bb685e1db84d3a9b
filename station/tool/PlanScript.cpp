#include "station/tool/PlanScript.h"

#include "data/Failure.h"

#include <QFile>
#include <QFileInfo>
#include <QLineF>

#include <algorithm>
#include <cmath>
#include <limits>

namespace station {

namespace {

data::Failure scriptError(const QString& file, int line, const QString& what)
{
    return data::Failure(QStringLiteral("EStationSource"), QStringLiteral("%1 line %2: %3").arg(file).arg(line).arg(what));
}

// Words of a line; a double-quoted run is one word without its quotes.
QStringList wordsOf(const QString& line)
{
    QStringList words;
    QString word;
    bool quoted = false;
    bool any = false;
    for (QChar c : line) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            any = true;
        } else if (c.isSpace() && !quoted) {
            if (any)
                words << word;
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any)
        words << word;
    return words;
}

double distanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF d = b - a;
    const double len2 = QPointF::dotProduct(d, d);
    const double t = len2 == 0 ? 0 : std::clamp(QPointF::dotProduct(p - a, d) / len2, 0.0, 1.0);
    return QLineF(p, a + t * d).length();
}

} // namespace

PlanScript PlanScript::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw data::Failure(data::Failure::InOut, QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    return parse(QString::fromUtf8(file.readAll()), QFileInfo(path).fileName());
}

PlanScript PlanScript::parse(const QString& text, const QString& fileName)
{
    PlanScript plan;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        plan.command(wordsOf(line), i + 1, fileName);
    }
    if (plan.size.isEmpty())
        throw scriptError(fileName, int(lines.size()), QStringLiteral("no size"));
    return plan;
}

void PlanScript::command(const QStringList& words, int line, const QString& fileName)
{
    const QString& name = words.first();
    auto point = [&](int i) {
        const QStringList xy = words.value(i).split(QLatin1Char(','));
        bool okX = false;
        bool okY = false;
        const QPoint p(xy.value(0).toInt(&okX), xy.value(1).toInt(&okY));
        if (xy.size() != 2 || !okX || !okY)
            throw scriptError(fileName, line, QStringLiteral("'%1' is not a point x,y").arg(words.value(i)));
        return p;
    };
    auto count = [&](int n) {
        if (words.size() != n)
            throw scriptError(fileName, line, QStringLiteral("%1 takes %2 words").arg(name).arg(n - 1));
    };
    auto either = [&](int i, const char* yes, const char* no) {
        if (words.value(i) != QLatin1String(yes) && words.value(i) != QLatin1String(no))
            throw scriptError(fileName, line, QStringLiteral("'%1' is neither %2 nor %3").arg(words.value(i), yes, no));
        return words.value(i) == QLatin1String(yes);
    };
    if (name == QLatin1String("size")) {
        count(3);
        size = QSize(words.at(1).toInt(), words.at(2).toInt());
    } else if (name == QLatin1String("track") || name == QLatin1String("siding")) {
        const bool section = name == QLatin1String("track");
        const int first = section ? 2 : 1;
        if (words.size() < first + 2)
            throw scriptError(fileName, line, QStringLiteral("a track needs two points at least"));
        Track t;
        t.section = section ? words.at(1) : QString();
        for (int i = first; i < words.size(); ++i)
            t.points << point(i);
        tracks.push_back(t);
    } else if (name == QLatin1String("joint")) {
        count(2);
        joints.push_back(point(1));
    } else if (name == QLatin1String("turnout")) {
        if (words.size() != 4 && words.size() != 5)
            throw scriptError(fileName, line, QStringLiteral("turnout takes 3 or 4 words"));
        turnouts.push_back({point(1), words.at(2), either(3, "above", "below"), words.value(4, QStringLiteral("0")).toInt()});
    } else if (name == QLatin1String("signal")) {
        count(5);
        signalPosts.push_back({point(1), words.at(2), either(3, "right", "left"), either(4, "above", "below")});
    } else if (name == QLatin1String("buffer")) {
        count(3);
        buffers.push_back({point(1), either(2, "right", "left")});
    } else if (name == QLatin1String("name")) {
        count(3);
        texts.push_back({point(2), 2, QStringLiteral("name"), words.at(1)});
    } else if (name == QLatin1String("text")) {
        count(5);
        texts.push_back({point(1), words.at(2).toInt(), words.at(3), words.at(4)});
    } else if (name == QLatin1String("platform") || name == QLatin1String("rect")) {
        count(name == QLatin1String("rect") ? 4 : 3);
        boxes.push_back({QRect(point(1), point(2)), name == QLatin1String("rect") ? words.at(3) : name});
    } else if (name == QLatin1String("legend")) {
        count(2);
        legends.push_back(point(1));
    } else {
        throw scriptError(fileName, line, QStringLiteral("unknown command %1").arg(name));
    }
}

double PlanScript::distanceTo(QPointF p, const QString& section) const
{
    double best = std::numeric_limits<double>::max();
    for (const Track& t : tracks) {
        if (t.section != section)
            continue;
        for (qsizetype i = 0; i + 1 < t.points.size(); ++i)
            best = std::min(best, distanceToSegment(p, t.points.at(i), t.points.at(i + 1)));
    }
    return best;
}

QString PlanScript::sectionNear(QPointF p, double within) const
{
    QString nearest;
    double best = within;
    for (const QString& s : sections()) {
        const double d = distanceTo(p, s);
        if (d <= best) {
            best = d;
            nearest = s;
        }
    }
    return nearest;
}

std::vector<QStringList> PlanScript::sectionsAtJoints() const
{
    std::vector<QStringList> out;
    for (const QPoint& j : joints) {
        QStringList meeting;
        for (const Track& t : tracks) {
            if (t.points.first() != j && t.points.last() != j)
                continue;
            const QString s = t.section.isEmpty() ? QStringLiteral("-") : t.section;
            if (!meeting.contains(s))
                meeting << s;
        }
        out.push_back(meeting);
    }
    return out;
}

QStringList PlanScript::sections() const
{
    QStringList out;
    for (const Track& t : tracks) {
        if (!t.section.isEmpty() && !out.contains(t.section))
            out << t.section;
    }
    return out;
}

} // namespace station
