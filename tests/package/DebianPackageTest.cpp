#include "app/FontSubstitutes.h"
#include "app/MainIcon.h"
#include "ui/WinFont.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include <string>


#include <gtest/gtest.h>

namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome run(const QString& program, const QStringList& args,
        const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    Outcome result;
    if (!process.waitForStarted() || !process.waitForFinished(120000)) {
        result.err = program + QStringLiteral(": ") + process.errorString();
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QString packageFile()
{
    const QStringList debs = QDir(QStringLiteral(OBW_PACKAGE_DIR)).entryList({QStringLiteral("obwodnik_*.deb")});
    return debs.size() == 1 ? QStringLiteral(OBW_PACKAGE_DIR "/") + debs.front() : QString();
}

// The run-time files of a station, as the program names them.
QStringList stationFiles()
{
    QStringList names = {QStringLiteral("MER.DBF"),  QStringLiteral("CZESTOTL.DBF"), QStringLiteral("CZESTOTL.MDX"),
                         QStringLiteral("ODCINKI.DBF"), QStringLiteral("kzn1.bmp"),  QStringLiteral("kzn.bmp"),
                         QStringLiteral("Spis.Txt"), QStringLiteral("Tspis.Txt")};
    for (int page = 1; page <= 20; ++page)
        names << QStringLiteral("U%1.txt").arg(page) << QStringLiteral("Dte%1.txt").arg(page);
    return names;
}

QSet<QString> lowered(const QStringList& names)
{
    QSet<QString> set;
    for (const QString& name : names)
        set.insert(name.toLower());
    return set;
}

class DebianPackage : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        deb_ = packageFile();
        ASSERT_FALSE(deb_.isEmpty()) << "expected one obwodnik_*.deb in " OBW_PACKAGE_DIR;
    }

    QString path(const QString& name) const { return dir_.filePath(name); }
    QString root(const QString& inside = QString()) const { return path(QStringLiteral("root")) + inside; }
    QString launcher() const { return root(QStringLiteral("/usr/bin/obwodnik-start")); }
    QString ownCopy() const { return path(QStringLiteral("home/.local/share/obwodnik/station")); }
    QString stationDirFile() const { return path(QStringLiteral("station-dir")); }

    void install()
    {
        const Outcome r = run(QStringLiteral("dpkg"), {QStringLiteral("-x"), deb_, root()});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    }

    // A user's session: a home of its own, nothing configured, and the
    // machine's own /etc left out of it.
    QProcessEnvironment session() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("OBWODNIK_STATION"));
        env.remove(QStringLiteral("XDG_DATA_HOME"));
        env.insert(QStringLiteral("HOME"), path(QStringLiteral("home")));
        env.insert(QStringLiteral("OBWODNIK_STATION_FILE"), stationDirFile());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir_.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return env;
    }

    QTemporaryDir dir_;
    QString deb_;
};

TEST_F(DebianPackage, HoldsTheProgramLauncherMenuEntryIconsAndExampleStation)
{
    const Outcome r = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), deb_});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList files, executables;
    for (const QString& line : r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.front().startsWith(QLatin1Char('d')))
            continue;
        const QString file = fields.back().mid(1); // "./usr/..." -> "/usr/..."
        files << file;
        if (fields.front().startsWith(QLatin1String("-rwxr-xr-x")))
            executables << file;
    }
    const QString station = QStringLiteral("/usr/share/obwodnik/station/");
    QStringList others, inStation;
    for (const QString& file : files)
        (file.startsWith(station) ? inStation : others) << file;

    QStringList expected = {QStringLiteral("/usr/bin/obwodnik"), QStringLiteral("/usr/bin/obwodnik-start"),
                            QStringLiteral("/usr/share/applications/obwodnik.desktop"),
                            QStringLiteral("/usr/share/doc/obwodnik/README.md")};
    for (int size : app::MainIcon::sizes())
        expected << QStringLiteral("/usr/share/icons/hicolor/%1x%1/apps/obwodnik.png").arg(size);
    others.sort();
    expected.sort();
    EXPECT_EQ(others, expected);
    EXPECT_TRUE(executables.contains(QStringLiteral("/usr/bin/obwodnik")));
    EXPECT_TRUE(executables.contains(QStringLiteral("/usr/bin/obwodnik-start")));

    QStringList stationNames;
    for (const QString& file : inStation)
        stationNames << file.mid(station.size());
    EXPECT_EQ(lowered(stationNames), lowered(stationFiles())) << stationNames.join(QLatin1Char(' ')).toStdString();
}

TEST_F(DebianPackage, DependsOnQtSqliteAndThePackagesOfEveryFontItDrawsIn)
{
    const Outcome r = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb_, QStringLiteral("Depends")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QSet<QString> depends;
    for (const QString& alternatives : r.out.trimmed().split(QLatin1Char(',')))
        for (const QString& one : alternatives.split(QLatin1Char('|')))
            depends.insert(one.trimmed().section(QLatin1Char(' '), 0, 0));
    for (const char* library : {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libsqlite3-0"})
        EXPECT_TRUE(depends.contains(QLatin1String(library))) << library;

    app::FontSubstitutes::install();
    for (const char* design : {"System", "MS Sans Serif", "Arial", "Arial Rounded MT Bold"}) {
        SCOPED_TRACE(design);
        const QString family = QFontInfo(ui::winFont(QString::fromLatin1(design), 13)).family();
        const Outcome file = run(QStringLiteral("fc-match"), {QStringLiteral("-f"), QStringLiteral("%{file}"), family});
        ASSERT_EQ(file.exitCode, 0) << file.err.toStdString();
        const Outcome owner = run(QStringLiteral("dpkg"), {QStringLiteral("-S"), file.out});
        ASSERT_EQ(owner.exitCode, 0) << owner.err.toStdString();
        const QString package = owner.out.section(QLatin1Char(':'), 0, 0);
        EXPECT_TRUE(depends.contains(package)) << family.toStdString() << " comes from " << package.toStdString();
    }
}

TEST_F(DebianPackage, MenuEntryRunsTheLauncherWithTheDrawnIcon)
{
    install();
    const QString entry = root(QStringLiteral("/usr/share/applications/obwodnik.desktop"));
    const Outcome valid = run(QStringLiteral("desktop-file-validate"), {entry});
    EXPECT_EQ(valid.exitCode, 0);
    EXPECT_EQ(valid.out + valid.err, QString());

    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    EXPECT_TRUE(lines.contains(QStringLiteral("Exec=/usr/bin/obwodnik-start")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Icon=obwodnik")));

    for (int size : app::MainIcon::sizes()) {
        SCOPED_TRACE(size);
        const QImage png(root(QStringLiteral("/usr/share/icons/hicolor/%1x%1/apps/obwodnik.png").arg(size)));
        EXPECT_EQ(png.convertToFormat(QImage::Format_ARGB32), app::MainIcon::image(size));
    }
}

// What the installed program shows when started from its menu entry's
// command on a new user's first start, on a screen of each scale.
TEST_F(DebianPackage, StartsOnACopyOfTheExampleStationShowingOnlyThePlan)
{
    install();
    for (const char* scale : {"1", "2"}) {
        SCOPED_TRACE(testing::Message() << "scale " << scale);
        QProcessEnvironment env = session();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(scale));
        const Outcome r = run(QStringLiteral("xvfb-run"),
                          {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1280x1024x24"),
                           QStringLiteral("sh"), QStringLiteral(OBW_PACKAGE_TEST_DIR "/seen-on-screen.sh"),
                           QStringLiteral("Plan stacji"), QStringLiteral("30"), QStringLiteral("-"), launcher()},
                          env);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QStringList seen = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QStringList windows;
        for (const QString& line : seen)
            if (line.startsWith(QLatin1String("window: ")))
                windows << line.mid(8);
        EXPECT_EQ(windows, QStringList{QStringLiteral("Plan stacji")}) << r.out.toStdString() << r.err.toStdString();
        // The window carries the drawn icon (at scale 2 as the pixels of the larger sizes).
        EXPECT_TRUE(seen.contains(QStringLiteral("icon: 32 x 32")));
        EXPECT_TRUE(seen.contains(QStringLiteral("cwd: ") + QFileInfo(ownCopy()).canonicalFilePath()));
        EXPECT_TRUE(seen.contains(QStringLiteral("running")));
    }

    // The copy is the user's to write.
    QStringList copied = QDir(ownCopy()).entryList(QDir::Files);
    EXPECT_EQ(lowered(copied), lowered(stationFiles()));
    for (const QString& name : copied)
        EXPECT_TRUE(QFileInfo(ownCopy() + QLatin1Char('/') + name).isWritable()) << name.toStdString();
}

struct Choice {
    const char* what;
    bool variable;          // OBWODNIK_STATION names the "variable" folder
    const char* fileText;   // the administrator's file, %1 for the "shared" folder; null: no file
    bool copyExists;        // the user already has a copy, holding one file of theirs
    const char* chosen;     // "variable", "shared" or "copy"
};

const Choice choices[] = {
    {"nothing configured: the user's own copy", false, nullptr, false, "copy"},
    {"an existing copy is used as it is", false, nullptr, true, "copy"},
    {"the administrator's folder, comments and blanks passed over", false, "# where the tables are\n\n   %1  \n/elsewhere\n", false, "shared"},
    {"the variable before the administrator's folder", true, "%1\n", false, "variable"},
    {"a file of comments only: the user's copy", false, "# none yet\n", true, "copy"},
};

void PrintTo(const Choice& c, std::ostream* os)
{
    *os << c.what;
}

class LauncherChoice : public DebianPackage, public ::testing::WithParamInterface<Choice> {};

// The folder the launcher starts the program in: the program's own
// working directory, read once it runs.
TEST_P(LauncherChoice, StartsTheProgramInTheChosenFolder)
{
    const Choice& c = GetParam();
    install();
    QProcessEnvironment env = session();
    const QMap<QString, QString> folders = {{QStringLiteral("variable"), path(QStringLiteral("variable"))},
                                            {QStringLiteral("shared"), path(QStringLiteral("shared"))},
                                            {QStringLiteral("copy"), ownCopy()}};
    ASSERT_TRUE(QDir().mkpath(folders[QStringLiteral("variable")]));
    ASSERT_TRUE(QDir().mkpath(folders[QStringLiteral("shared")]));
    if (c.variable)
        env.insert(QStringLiteral("OBWODNIK_STATION"), folders[QStringLiteral("variable")]);
    if (c.fileText) {
        QFile file(stationDirFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QString::fromLatin1(c.fileText).arg(folders[QStringLiteral("shared")]).toUtf8());
    }
    if (c.copyExists) {
        ASSERT_TRUE(QDir().mkpath(ownCopy()));
        QFile mine(ownCopy() + QStringLiteral("/mine.txt"));
        ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    }

    QProcess launched;
    launched.setProcessEnvironment(env);
    launched.start(launcher(), {});
    ASSERT_TRUE(launched.waitForStarted());
    const QString program = QFileInfo(root(QStringLiteral("/usr/bin/obwodnik"))).canonicalFilePath();
    const QString proc = QStringLiteral("/proc/%1/").arg(launched.processId());
    QString cwd;
    for (int i = 0; i < 300 && launched.state() == QProcess::Running; ++i) {
        if (QFile::symLinkTarget(proc + QStringLiteral("exe")) == program) {
            cwd = QFile::symLinkTarget(proc + QStringLiteral("cwd"));
            break;
        }
        QThread::msleep(50);
    }
    launched.kill();
    launched.waitForFinished();
    EXPECT_EQ(cwd, QFileInfo(folders[QLatin1String(c.chosen)]).canonicalFilePath())
        << launched.readAllStandardError().toStdString();
    if (c.copyExists) {
        EXPECT_EQ(QDir(ownCopy()).entryList(QDir::Files), QStringList{QStringLiteral("mine.txt")});
    }
    if (QLatin1String(c.chosen) != QLatin1String("copy")) {
        EXPECT_FALSE(QFileInfo::exists(ownCopy()));
    }
}

INSTANTIATE_TEST_SUITE_P(Folders, LauncherChoice, ::testing::ValuesIn(choices),
                         [](const testing::TestParamInfo<Choice>& info) { return "case" + std::to_string(info.index); });

TEST_F(DebianPackage, LauncherRefusesAFolderThatIsNotThere)
{
    install();
    for (bool inFile : {false, true}) {
        SCOPED_TRACE(inFile ? "named in the file" : "named by the variable");
        QProcessEnvironment env = session();
        const QString nowhere = path(QStringLiteral("nowhere"));
        if (inFile) {
            QFile file(stationDirFile());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(nowhere.toUtf8() + '\n');
        } else {
            env.insert(QStringLiteral("OBWODNIK_STATION"), nowhere);
        }
        const Outcome r = run(launcher(), {}, env);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, QStringLiteral("obwodnik-start: the station folder %1 does not exist\n").arg(nowhere));
        EXPECT_FALSE(QFileInfo::exists(ownCopy()));
    }
}

} // namespace
