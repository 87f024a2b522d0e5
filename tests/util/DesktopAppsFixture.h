#pragma once

#include "support/TestFiles.h"
#include "support/Wait.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace tarvin::testing {

// Set in the child process to the fixture's root folder.
inline constexpr const char *kFixtureRootVariable = "TARVIN_TEST_DESKTOP_ROOT";

inline QString FixtureRoot() {
    return qEnvironmentVariable(kFixtureRootVariable);
}

#define SKIP_UNLESS_IN_FIXTURE_CHILD()                                                             \
    do {                                                                                           \
        if (::tarvin::testing::FixtureRoot().isEmpty())                                            \
            GTEST_SKIP() << "runs in the child process of "                                        \
                            "DesktopApps.LookupsAndLaunchingAgainstPrivateDesktopEntries";         \
    } while (0)

inline void WriteFile(const QString &path, const QByteArray &data,
                      QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner) {
    WriteTestFile(path, data, permissions);
}

// The folders the child's XDG variables point at:
//   data/applications/   four entries: a recorder (text/plain, application/pdf; the text
//                        default), a viewer (application/pdf default), a broken one whose
//                        program cannot start (image/png default), a hidden one, and the
//                        index of their MIME types
//   config/mimeapps.list the defaults
//   sysdata/mime         the system's MIME database, so file types are still recognised,
//                        while the system's own applications stay out of the lists
//   bin/                 the child's PATH, empty
//   record.sh            writes its working folder and arguments, one a line, to
//                        recorded-<pid>.txt
//   files/               files to open
inline void WriteDesktopFixture(const QString &root) {
    const QByteArray r = QFile::encodeName(root);
    const auto entry = [&](const QByteArray &name, const QByteArray &body) {
        WriteFile(root + "/data/applications/" + name,
                  "[Desktop Entry]\nType=Application\nTerminal=false\n" + body);
    };
    // Exec quotes the path: the fixture root may hold characters special to the Exec key.
    const QByteArray exec = "Exec=\"" + r + "/record.sh\" %f\n";
    entry("tarvin-recorder.desktop", "Name=Tarvin Recorder\nIcon=accessories-text-editor\n" + exec +
                                         "MimeType=text/plain;application/pdf;\n");
    entry("tarvin-viewer.desktop",
          "Name=Tarvin Viewer\nIcon=" + r + "/viewer.png\n" + exec + "MimeType=application/pdf;\n");
    // GIO leaves out entries whose program is missing; this one fails at launch because the
    // child's PATH holds no terminal.
    entry("tarvin-broken.desktop",
          "Name=Broken Program\nTerminal=true\n" + exec + "MimeType=image/png;\n");
    // GIO takes the types of entries from this index (update-desktop-database writes it).
    WriteFile(root + "/data/applications/mimeinfo.cache",
              "[MIME Cache]\napplication/pdf=tarvin-recorder.desktop;tarvin-viewer.desktop;"
              "tarvin-hidden.desktop;\ntext/plain=tarvin-recorder.desktop;\n"
              "image/png=tarvin-broken.desktop;\n");
    entry("tarvin-hidden.desktop",
          "Name=Hidden Helper\nNoDisplay=true\n" + exec + "MimeType=application/pdf;\n");
    WriteFile(root + "/config/mimeapps.list",
              "[Default Applications]\ntext/plain=tarvin-recorder.desktop\n"
              "application/pdf=tarvin-viewer.desktop\nimage/png=tarvin-broken.desktop\n");
    QDir().mkpath(root + "/sysdata");
    QDir().mkpath(root + "/sysconfig");
    QDir().mkpath(root + "/bin");
    QFile::link("/usr/share/mime", root + "/sysdata/mime");
    WriteFile(root + "/record.sh",
              "#!/bin/sh\nout=\"" + r +
                  "/recorded-$$\"\n"
                  "printf '%s\\n' \"$PWD\" \"$0\" \"$@\" > \"$out.tmp\" && /bin/mv \"$out.tmp\" "
                  "\"$out.txt\"\n",
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    WriteFile(root + "/files/report.pdf", "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n");
    WriteFile(root + "/files/archive.zip", QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0'));
    WriteFile(root + "/files/picture.png", "\x89PNG\r\n\x1a\n");
    WriteFile(root + "/files/it's a \"note\" $HOME %f.txt", "plain text\n");
}

// Waits for the recorder to report one call and returns its lines (program, arguments);
// empty after 20 s. `workingFolder` receives the folder the program ran in.
inline QStringList WaitForRecordedCall(QString *workingFolder = nullptr) {
    const QDir root(FixtureRoot());
    if (!WaitFor([&] { return !root.entryList({"recorded-*.txt"}, QDir::Files).isEmpty(); }))
        return {};
    QFile file(root.filePath(root.entryList({"recorded-*.txt"}, QDir::Files).first()));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    file.remove();
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    const QString folder = lines.isEmpty() ? QString() : lines.takeFirst();
    if (workingFolder)
        *workingFolder = folder;
    return lines;
}

} // namespace tarvin::testing
