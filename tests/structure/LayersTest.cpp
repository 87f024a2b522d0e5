// Guards of the source tree's layers. Arrows only point down: the bottom library (base) uses
// nothing of ours; the headless cores (src/<name>/*.cpp) use QtCore at most and no window
// code; a window library (src/<name>/ui) reaches another subsystem's windows only through
// the composition root (app), except for the shared window support of base/ui and the
// viewer frame that the explorer embeds; and tests wait only through tests/support/Wait.h,
// where every wait has a deadline.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

const QString kSource = QStringLiteral(TARVIN_SOURCE_DIR);

// The files below `folder` (relative to the source tree) whose names end in one of `suffixes`.
QStringList sourceFiles(const QString &folder, const QStringList &suffixes) {
    QStringList files;
    QDirIterator it(kSource + QLatin1Char('/') + folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        for (const QString &suffix : suffixes)
            if (path.endsWith(suffix))
                files << QDir(kSource).relativeFilePath(path);
    }
    files.sort();
    return files;
}

QString readText(const QString &relativePath) {
    QFile file(kSource + QLatin1Char('/') + relativePath);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The names between the delimiters of every #include line.
QStringList includes(const QString &relativePath) {
    static const QRegularExpression line(QStringLiteral(R"(^\s*#\s*include\s*[<"]([^>"]+)[>"])"),
                                         QRegularExpression::MultilineOption);
    QStringList names;
    auto matches = line.globalMatch(readText(relativePath));
    while (matches.hasNext())
        names << matches.next().captured(1);
    return names;
}

// The subsystem a source file belongs to ("model" for src/model/x.cpp), and whether it is
// window code (src/<name>/ui/..., or src/app/web/..., the wiring that links the HTML engine).
QString subsystemOf(const QString &relativePath) {
    return relativePath.section(QLatin1Char('/'), 1, 1);
}
bool isWindowCode(const QString &relativePath) {
    const QString part = relativePath.section(QLatin1Char('/'), 2, 2);
    return part == QLatin1String("ui") || part == QLatin1String("web");
}

// True when a Qt header of that name belongs to a module that needs a display.
bool isGuiHeader(const QString &name) {
    static const QStringList modules = {
        "QtGui",          "QtWidgets", "QtWebEngineCore", "QtWebEngineWidgets",
        "QtPrintSupport", "QtSvg",     "QtPdf",           "QtOpenGL"};
    const QString headers = QStringLiteral(TARVIN_QT_HEADERS);
    for (const QString &module : modules) {
        if (name.startsWith(module + QLatin1Char('/')))
            return true;
        if (!name.contains(QLatin1Char('/')) && name.startsWith(QLatin1Char('Q')) &&
            QFileInfo::exists(headers + QLatin1Char('/') + module + QLatin1Char('/') + name))
            return true;
    }
    return false;
}

const QStringList kCode = {QStringLiteral(".cpp"), QStringLiteral(".h")};

} // namespace

TEST(Layers, QtHeadersOfGuiModulesAreFound) {
    // The guard below is only worth something while it can tell these apart.
    EXPECT_TRUE(isGuiHeader("QWidget"));
    EXPECT_TRUE(isGuiHeader("QPixmap"));
    EXPECT_TRUE(isGuiHeader("QtWidgets/QDialog"));
    EXPECT_FALSE(isGuiHeader("QString"));
    EXPECT_FALSE(isGuiHeader("QLocalSocket"));
}

TEST(Layers, HeadlessLibrariesUseNoWindowCode) {
    for (const QString &file : sourceFiles("src", kCode)) {
        const QString subsystem = subsystemOf(file);
        if (isWindowCode(file) || subsystem == QLatin1String("app") ||
            !file.section(QLatin1Char('/'), 2).contains(QLatin1Char('.')) ||
            file == QLatin1String("src/main.cpp"))
            continue;
        for (const QString &name : includes(file)) {
            EXPECT_FALSE(isGuiHeader(name))
                << file.toStdString() << " includes " << name.toStdString();
            EXPECT_FALSE(name.contains(QLatin1String("/ui/")))
                << file.toStdString() << " includes " << name.toStdString();
        }
    }
}

TEST(Layers, NothingBelowTheRootUsesIt) {
    for (const QString &file : sourceFiles("src", kCode)) {
        const QString subsystem = subsystemOf(file);
        if (subsystem == QLatin1String("app") || file == QLatin1String("src/main.cpp"))
            continue;
        for (const QString &name : includes(file)) {
            EXPECT_FALSE(name.startsWith(QLatin1String("app/")))
                << file.toStdString() << " includes " << name.toStdString();
            // The bottom library stands on Qt alone.
            if (subsystem == QLatin1String("base") && name.contains(QLatin1Char('/')) &&
                !name.startsWith(QLatin1String("Qt"))) {
                EXPECT_TRUE(name.startsWith(QLatin1String("base/")))
                    << file.toStdString() << " includes " << name.toStdString();
            }
        }
    }
}

TEST(Layers, WindowLibrariesMeetOnlyThroughTheRoot) {
    for (const QString &file : sourceFiles("src", kCode)) {
        if (!isWindowCode(file))
            continue;
        const QString subsystem = subsystemOf(file);
        if (subsystem == QLatin1String("app"))
            continue;
        for (const QString &name : includes(file)) {
            const QStringList parts = name.split(QLatin1Char('/'));
            if (parts.size() < 3 ||
                (parts.at(1) != QLatin1String("ui") && parts.at(1) != QLatin1String("web")))
                continue;
            const QString other = parts.at(0);
            const bool allowed =
                other == subsystem || other == QLatin1String("base") ||
                (subsystem == QLatin1String("explorer") && other == QLatin1String("view"));
            EXPECT_TRUE(allowed) << file.toStdString() << " includes " << name.toStdString();
        }
    }
    // The same for what the libraries link.
    static const QRegularExpression uiLib(QStringLiteral(R"(\btarvin_(\w+)_ui\b)"));
    for (const QString &file : sourceFiles("src", {QStringLiteral("CMakeLists.txt")})) {
        const QString subsystem = subsystemOf(file);
        if (subsystem == QLatin1String("app") || subsystem == QLatin1String("CMakeLists.txt"))
            continue;
        auto matches = uiLib.globalMatch(readText(file));
        while (matches.hasNext()) {
            const QString other = matches.next().captured(1);
            const bool allowed =
                other == subsystem || other == QLatin1String("base") ||
                (subsystem == QLatin1String("explorer") && other == QLatin1String("view"));
            EXPECT_TRUE(allowed) << file.toStdString() << " links tarvin_" << other.toStdString()
                                 << "_ui";
        }
    }
}

TEST(Layers, TestsWaitOnlyWithADeadline) {
    // Spelled in pieces so that this file does not match itself.
    static const QRegularExpression sleeping(
        QStringLiteral(R"(\b(u?sleep|m?sleep|sleep_for|sleep_until|q)") + QStringLiteral("Wait") +
        QStringLiteral(R"()\s*\()"));
    for (const QString &file : sourceFiles("tests", kCode)) {
        if (file == QLatin1String("tests/support/Wait.h"))
            continue;
        const QString text = readText(file);
        auto match = sleeping.match(text);
        EXPECT_FALSE(match.hasMatch())
            << file.toStdString()
            << " waits without a deadline: " << match.captured(0).toStdString()
            << " (use tests/support/Wait.h)";
    }
}
