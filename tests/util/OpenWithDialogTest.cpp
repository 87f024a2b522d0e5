#include "DesktopAppsFixture.h"
#include "support/QtPrinters.h"

#include "util/DesktopApps.h"
#include "util/ui/DesktopServicesImpl.h"
#include "util/ui/OpenWithDialog.h"

#include "support/RecordingDesktop.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace tarvin;
using namespace tarvin::testing;

namespace {

QStringList names(const QList<TDesktopApp> &apps) {
    QStringList result;
    for (const TDesktopApp &app : apps)
        result.append(app.Name);
    return result;
}

// Saves a picture of the dialog when TARVIN_SCREENSHOT_DIR names a folder.
void saveScreenshot(QWidget &widget, const QString &name) {
    const QString folder = qEnvironmentVariable("TARVIN_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    widget.show();
    QApplication::processEvents();
    EXPECT_TRUE(widget.grab().save(folder + "/" + name));
}

QStringList visibleRows(QTreeWidget *tree) {
    QStringList rows;
    for (int g = 0; g < tree->topLevelItemCount(); ++g) {
        QTreeWidgetItem *group = tree->topLevelItem(g);
        rows.append(group->text(0));
        for (int i = 0; i < group->childCount(); ++i)
            rows.append("  " + group->child(i)->text(0));
    }
    return rows;
}

} // namespace

TEST(OpenWithDialogChild, ListsTheTypesProgramsFirstAndStartsTheChoice) {
    TRecordingDesktop desktop; // the dialog's own questions and pickers are stubbed
    SKIP_UNLESS_IN_FIXTURE_CHILD();
    const QString pdf = FixtureRoot() + "/files/report.pdf";
    TOpenWithDialog dialog(pdf);
    EXPECT_EQ(dialog.MimeType(), "application/pdf");
    EXPECT_EQ(visibleRows(dialog.findChild<QTreeWidget *>()),
              QStringList({"Recommended Programs:", "  Tarvin Viewer", "  Tarvin Recorder",
                           "Other Programs:", "  Broken Program"}));
    ASSERT_TRUE(dialog.SelectedApp().has_value()); // the default is preselected
    EXPECT_EQ(dialog.SelectedApp()->Name, "Tarvin Viewer");
    saveScreenshot(dialog, "open-with-fixture.png");

    ASSERT_TRUE(dialog.SelectApp(dialog.RecommendedApps().at(1)));
    QString error;
    ASSERT_TRUE(dialog.LaunchSelected(error)) << error.toStdString();
    EXPECT_EQ(WaitForRecordedCall(), QStringList({FixtureRoot() + "/record.sh", pdf}));

    ASSERT_TRUE(dialog.SelectApp(dialog.OtherApps().at(0)));
    EXPECT_FALSE(dialog.LaunchSelected(error));
    EXPECT_EQ(error, "Unable to find terminal required for application");
}

TEST(OpenWithDialogChild, BrowsedProgramsAndAlwaysUse) {
    TRecordingDesktop desktop; // the dialog's own questions and pickers are stubbed
    SKIP_UNLESS_IN_FIXTURE_CHILD();
    const QString tar = FixtureRoot() + "/files/backup.tar";
    WriteFile(tar, QByteArray(1024, '\0'));
    TOpenWithDialog dialog(tar);
    EXPECT_TRUE(dialog.RecommendedApps().isEmpty());
    EXPECT_EQ(visibleRows(dialog.findChild<QTreeWidget *>()).value(0), "Programs:");
    EXPECT_EQ(names(dialog.OtherApps()),
              QStringList({"Broken Program", "Tarvin Recorder", "Tarvin Viewer"}));
    EXPECT_FALSE(dialog.SelectedApp().has_value());
    QString error;
    EXPECT_FALSE(dialog.LaunchSelected(error));
    EXPECT_FALSE(error.isEmpty());

    EXPECT_FALSE(dialog.AddProgram(tar, error));
    EXPECT_EQ(error, QString("'%1' is not a program file.").arg(tar));
    const QString program = FixtureRoot() + "/record.sh";
    ASSERT_TRUE(dialog.AddProgram(program, error));
    ASSERT_TRUE(dialog.SelectedApp().has_value());
    EXPECT_EQ(dialog.SelectedApp()->ProgramPath, program);
    ASSERT_TRUE(dialog.AddProgram(program, error)); // picked twice, listed once
    EXPECT_EQ(visibleRows(dialog.findChild<QTreeWidget *>()).count("  record.sh"), 1);
    ASSERT_TRUE(dialog.LaunchSelected(error)) << error.toStdString();
    EXPECT_EQ(WaitForRecordedCall(), QStringList({program, tar}));

    ASSERT_TRUE(dialog.SelectApp(dialog.OtherApps().at(2)));
    dialog.SetAlwaysUse(true);
    ASSERT_TRUE(dialog.LaunchSelected(error)) << error.toStdString();
    EXPECT_EQ(WaitForRecordedCall(), QStringList({FixtureRoot() + "/record.sh", tar}));
    const auto now = DefaultAppForType("application/x-tar");
    ASSERT_TRUE(now.has_value());
    EXPECT_EQ(now->Id, "tarvin-viewer.desktop");
}

// Runs against the applications of the machine it runs on.
TEST(OpenWithDialog, ListsEveryApplicationOfTheDesktopOnce) {
    TRecordingDesktop desktop; // the dialog's own questions and pickers are stubbed
    QTemporaryDir temp;
    const QString file = temp.path() + "/attachment.unknown-type";
    WriteFile(file, QByteArray("\x01\x02\x03", 3));
    TOpenWithDialog dialog(file);
    QList<TDesktopApp> listed = dialog.RecommendedApps() + dialog.OtherApps();
    for (const TDesktopApp &app : AllApps()) {
        EXPECT_EQ(listed.count(app), 1) << app.Id.toStdString();
        listed.removeAll(app);
    }
    // Only the type's own programs may come on top of the desktop's visible ones.
    for (const TDesktopApp &app : listed)
        EXPECT_TRUE(dialog.RecommendedApps().contains(app)) << app.Id.toStdString();
    saveScreenshot(dialog, "open-with-machine.png");
}

TEST(OpenWithDialog, OfferedByTheDesktopServices) {
    QTemporaryDir temp;
    const QString file = temp.path() + "/attachment.unknown-type";
    WriteFile(file, "x");
    TRecordingDesktop recording;
    QString shownFor;
    recording.DialogRuns = {[&](QObject *dialog) {
        if (auto *openWith = qobject_cast<TOpenWithDialog *>(dialog))
            shownFor = openWith->FilePath();
        return 0;
    }};
    TDesktopServices().OpenWith(nullptr, file);
    EXPECT_EQ(shownFor, file);
}
