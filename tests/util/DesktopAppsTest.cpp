// GIO reads the XDG folder variables once per process, so the tests that look up and launch
// applications run in a child process of this executable whose environment points at private
// folders holding the tests' own ".desktop" entries and mimeapps.list. The parent test writes
// those folders, starts the child with --gtest_filter on the DesktopAppsChild suite and checks
// that every child test passed; in the parent's own run the child tests are skipped.
#include "DesktopAppsFixture.h"
#include "support/QtPrinters.h"

#include "base/Error.h"
#include "util/DesktopApps.h"
#include "util/ShellOpen.h"
#include "util/ui/DesktopServicesImpl.h"
#include "util/ui/OpenWithDialog.h"

#include "support/RecordingDesktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using namespace tarvin;
using namespace tarvin::testing;

namespace {

QStringList ids(const QList<TDesktopApp> &apps) {
    QStringList result;
    for (const TDesktopApp &app : apps)
        result.append(app.Id);
    return result;
}

} // namespace

TEST(DesktopApps, LookupsAndLaunchingAgainstPrivateDesktopEntries) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    WriteDesktopFixture(root.path());

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", root.path() + "/data");
    env.insert("XDG_CONFIG_HOME", root.path() + "/config");
    env.insert("XDG_DATA_DIRS", root.path() + "/sysdata");
    env.insert("XDG_CONFIG_DIRS", root.path() + "/sysconfig");
    env.remove("XDG_CURRENT_DESKTOP");
    env.insert("PATH", root.path() + "/bin");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert(kFixtureRootVariable, root.path());
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=DesktopAppsChild.*:OpenWithDialogChild.*"});
    ASSERT_TRUE(child.waitForFinished(300000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_FALSE(output.contains("[  SKIPPED ]")) << output.toStdString();
    // Every child test ran and passed.
    int expected = 0;
    const ::testing::UnitTest *unit = ::testing::UnitTest::GetInstance();
    for (int i = 0; i < unit->total_test_suite_count(); ++i) {
        const QString suite = unit->GetTestSuite(i)->name();
        if (suite == "DesktopAppsChild" || suite == "OpenWithDialogChild")
            expected += unit->GetTestSuite(i)->total_test_count();
    }
    EXPECT_GT(expected, 0);
    EXPECT_TRUE(output.contains(QString("[  PASSED  ] %1 tests.").arg(expected)))
        << output.toStdString();
}

TEST(DesktopAppsChild, LooksUpDefaultsAndListsByType) {
    SKIP_UNLESS_IN_FIXTURE_CHILD();
    EXPECT_EQ(FileMimeType(FixtureRoot() + "/files/report.pdf"), "application/pdf");

    const auto text = DefaultAppForType("text/plain");
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->Id, "tarvin-recorder.desktop");
    EXPECT_EQ(text->Name, "Tarvin Recorder");
    EXPECT_EQ(text->IconNames.value(0), "accessories-text-editor");
    EXPECT_FALSE(DefaultAppForType("application/zip").has_value());

    // The default first, then the others that declare the type; hidden entries never.
    EXPECT_EQ(ids(AppsForType("application/pdf")),
              QStringList({"tarvin-viewer.desktop", "tarvin-recorder.desktop"}));
    const QStringList all = ids(AllApps());
    EXPECT_EQ(all, QStringList({"tarvin-broken.desktop", "tarvin-recorder.desktop",
                                "tarvin-viewer.desktop"}));
}

TEST(DesktopAppsChild, ShellOpenLaunchesTheDefaultWithTheFileAsOneArgument) {
    SKIP_UNLESS_IN_FIXTURE_CHILD();
    // Blanks, quotes, "$" and "%" must reach the program unchanged: no shell in between.
    const QString file = FixtureRoot() + "/files/it's a \"note\" $HOME %f.txt";
    ShellOpen(file);
    QString workingFolder;
    EXPECT_EQ(WaitForRecordedCall(&workingFolder),
              QStringList({FixtureRoot() + "/record.sh", file}));
    EXPECT_EQ(workingFolder, FixtureRoot() + "/files"); // started in the file's folder

    ShellOpenInTextEditor(FixtureRoot() + "/files/archive.zip");
    EXPECT_EQ(WaitForRecordedCall(),
              QStringList({FixtureRoot() + "/record.sh", FixtureRoot() + "/files/archive.zip"}));
}

TEST(DesktopAppsChild, NoAssociatedProgramLeadsToOpenWith) {
    SKIP_UNLESS_IN_FIXTURE_CHILD();
    const QString zip = FixtureRoot() + "/files/archive.zip";
    EXPECT_FALSE(ShellOpen(zip));

    // The program's desktop services then run the Open With dialog (through ExecDialog of the
    // services installed, here the recording ones).
    TRecordingDesktop recording;
    QStringList offered;
    recording.DialogRuns = {[&](QObject *dialog) {
        if (auto *openWith = qobject_cast<TOpenWithDialog *>(dialog))
            offered.append(openWith->FilePath());
        return 0;
    }};
    TDesktopServices().OpenFile(nullptr, zip);
    EXPECT_EQ(recording.Dialogs, std::vector<QString>({"tarvin::TOpenWithDialog"}));
    EXPECT_EQ(offered, QStringList({zip}));

    // Other failures are errors with the system's text, not an Open With offer.
    try {
        ShellOpen(FixtureRoot() + "/files/picture.png");
        ADD_FAILURE() << "broken program reported as started";
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), "Unable to find terminal required for application");
    }
    try {
        ShellOpen(FixtureRoot() + "/files/missing.txt");
        ADD_FAILURE() << "missing file reported as opened";
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), QString::fromLocal8Bit(std::strerror(ENOENT)));
    }
    EXPECT_EQ(recording.Dialogs.size(), 1u);
}

TEST(DesktopAppsChild, PickedProgramsAndNewDefaults) {
    SKIP_UNLESS_IN_FIXTURE_CHILD();
    // A program path with blanks and "%" is escaped for GIO's command line, not expanded.
    const QString program = FixtureRoot() + "/bin dir/my %f prog";
    ASSERT_TRUE(QDir().mkpath(FixtureRoot() + "/bin dir"));
    ASSERT_TRUE(QFile::copy(FixtureRoot() + "/record.sh", program));
    const QString file = FixtureRoot() + "/files/report.pdf";
    const TDesktopApp picked = AppForProgram(program);
    EXPECT_EQ(picked.Name, "my %f prog");
    LaunchApp(picked, file);
    EXPECT_EQ(WaitForRecordedCall(), QStringList({program, file}));

    EXPECT_THROW(AppForProgram(FixtureRoot() + "/files/report.pdf"), Error); // not executable
    EXPECT_THROW(AppForProgram(FixtureRoot() + "/files"), Error);

    const auto viewer = DefaultAppForType("application/pdf");
    ASSERT_TRUE(viewer.has_value());
    SetDefaultAppForType(*viewer, "application/zip");
    const auto zipDefault = DefaultAppForType("application/zip");
    ASSERT_TRUE(zipDefault.has_value());
    EXPECT_EQ(zipDefault->Id, "tarvin-viewer.desktop");

    TDesktopApp gone;
    gone.Id = "tarvin-uninstalled.desktop";
    EXPECT_THROW(LaunchApp(gone, file), Error);
}
