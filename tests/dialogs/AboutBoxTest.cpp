#include "base/VersionInfo.h"
#include "dialogs/AboutTexts.h"
#include "dialogs/ui/AboutBoxForm.h"
#include "base/ui/WindowSupport.h"
#include "dialogs/ui/ProductImages.h"
#include "dialogs/ui/SplashScreen.h"
#include "util/DateTime.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <utime.h>

using namespace tarvin;

namespace {

std::string S(const QString &s) {
    return s.toStdString();
}

} // namespace

TEST(AboutTexts, VersionLineStopsBeforeTheSecondDot) {
    EXPECT_EQ(S(AboutVersionLine(QStringLiteral("2.0.3.0"))), "Version 2.0");
    EXPECT_EQ(S(AboutVersionLine(QStringLiteral("10.25.1"))), "Version 10.25");
    EXPECT_EQ(S(AboutVersionLine(QStringLiteral("3.1."))), "Version 3.1");
}

TEST(AboutTexts, VersionLineWithoutASecondDotIsVersionAlone) {
    EXPECT_EQ(S(AboutVersionLine(QStringLiteral("2.0"))), "Version ");
    EXPECT_EQ(S(AboutVersionLine(QStringLiteral("2"))), "Version ");
    EXPECT_EQ(S(AboutVersionLine(QString())), "Version ");
}

TEST(AboutTexts, CaptionNamesTheProduct) {
    EXPECT_EQ(S(AboutCaption(QStringLiteral("Tarvin"))), "About Tarvin");
}

TEST(AboutTexts, ReleaseTextHasVersionFileDateAndFullPath) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("tarvin"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    // 2024-02-29 13:00 local time.
    const QDateTime when(QDate(2024, 2, 29), QTime(13, 0));
    struct utimbuf times {};
    times.actime = times.modtime = when.toSecsSinceEpoch();
    ASSERT_EQ(utime(QFile::encodeName(path).constData(), &times), 0);

    // A relative path with ".." still shows the full path.
    const QString roundabout = dir.path() + QStringLiteral("/../") +
                               QFileInfo(dir.path()).fileName() + QStringLiteral("/tarvin");
    const QString text = AboutReleaseText(QStringLiteral("2.0.3.0"), roundabout);
    const QString expected = QStringLiteral("2.0.3.0, ") +
                             QLocale::system().toString(QDate(2024, 2, 29), ShortDateFormat()) +
                             QStringLiteral("\r\n(") + QFileInfo(path).canonicalFilePath() +
                             QStringLiteral(")");
    EXPECT_EQ(S(text), S(expected));
}

TEST(AboutBox, TextsComeFromTheVersionInformation) {
    TAboutBoxForm box;
    EXPECT_EQ(S(box.windowTitle()), "About " + S(VersionKey(9)));
    EXPECT_EQ(S(box.windowTitle()), "About Tarvin");
    EXPECT_EQ(S(box.VersionLabel()->text()), S(AboutVersionLine(VersionKey(4))));
    EXPECT_EQ(S(box.VersionLabel()->text()), "Version 2.0");
    EXPECT_FALSE(box.CopyrightLabel()->text().isEmpty());
    EXPECT_EQ(S(box.CopyrightLabel()->text()), S(VersionValue(QStringLiteral("LegalCopyright"))));
    const QString release = box.ReleaseLabel()->text();
    EXPECT_TRUE(release.startsWith(VersionKey(4) + QStringLiteral(", ")));
    EXPECT_TRUE(release.contains(QStringLiteral("\n(") +
                                 QFileInfo(ProgramFilePath()).canonicalFilePath() +
                                 QStringLiteral(")")));
    EXPECT_EQ(box.size(), QSize(491, 244));
    EXPECT_TRUE(box.OkButton()->isDefault());
    EXPECT_EQ(S(box.OkButton()->text()), "&OK");
}

TEST(AboutBox, OkClosesTheBox) {
    TAboutBoxForm box;
    box.show();
    box.OkButton()->click();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST(SplashScreen, IsTheAboutBoxCutOffAboveItsButtons) {
    TSplashScreen splash;
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(splash.OkButton()->isEnabled());
    EXPECT_TRUE(splash.OkButton()->isHidden() || splash.OkButton()->parentWidget()->isHidden());
    EXPECT_EQ(splash.width(), 491);
    EXPECT_LT(splash.height(), 244);
    EXPECT_EQ(S(splash.VersionLabel()->text()), "Version 2.0");
}

TEST(SplashScreen, DisablesOtherWindowsWhileShown) {
    QWidget shown;
    shown.show();
    QWidget alreadyDisabled;
    alreadyDisabled.setEnabled(false);
    alreadyDisabled.show();
    QWidget hidden;

    TSplashScreen splash;
    splash.show();
    EXPECT_FALSE(shown.isEnabled());
    EXPECT_TRUE(hidden.isEnabled());
    EXPECT_TRUE(splash.isEnabled());
    splash.hide();
    EXPECT_TRUE(shown.isEnabled());
    // A window that was disabled before stays disabled.
    EXPECT_FALSE(alreadyDisabled.isEnabled());
}

TEST(ProductImages, HaveTheirSizes) {
    EXPECT_EQ(ProductBanner().size(), QSize(360, 42));
    EXPECT_FALSE(ProductIcon().isNull());
    EXPECT_FALSE(ProductIcon().pixmap(32, 32).toImage().isNull());
    for (int i = 0; i < kGlobeFrameCount; ++i)
        EXPECT_EQ(GlobeFrame(i).size(), QSize(60, 57));
    // The globe turns: neighbouring frames differ.
    EXPECT_NE(GlobeFrame(0).toImage(), GlobeFrame(1).toImage());
    // The banner is drawn, not left transparent.
    EXPECT_EQ(ProductBanner().toImage().pixelColor(5, 5).alpha(), 255);
}

// Grabs the windows as a user sees them; with TARVIN_SCREENSHOT_DIR set the pictures are
// kept there for a look.
TEST(AboutBox, RendersBannerAndTexts) {
    TAboutBoxForm box;
    box.show();
    const QImage image = box.grab().toImage();
    ASSERT_EQ(image.size(), QSize(491, 244));
    // The banner strip spans the top; the info panel below it is white.
    EXPECT_NE(image.pixelColor(5, 20), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(480, 20), image.pixelColor(480, 40));
    EXPECT_EQ(image.pixelColor(480, 60), QColor(Qt::white));

    TSplashScreen splash;
    splash.show();
    const QImage splashImage = splash.grab().toImage();
    EXPECT_EQ(splashImage.height(), splash.height());

    const QString dir = qEnvironmentVariable("TARVIN_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        image.save(dir + QStringLiteral("/about.png"));
        splashImage.save(dir + QStringLiteral("/splash.png"));
    }
}
