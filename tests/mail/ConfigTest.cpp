#include "mail/Config.h"
#include "base/IniFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvin;

TEST(Config, DefaultsAndRoundTrip) {
    TConfig config;
    EXPECT_TRUE(config.IncludeViewerTrailer);
    EXPECT_EQ(config.SubjectForward, "Fwd:");
    EXPECT_EQ(config.SubjectReply, "Re:");
    EXPECT_FALSE(config.LoadRemoteContent);
    EXPECT_TRUE(
        config.ViewerTrailer.startsWith("Download a viewer for the attached PML file from "));

    QTemporaryDir dir;
    QString path = dir.filePath("CONFIG.INI");
    config.IncludeViewerTrailer = false;
    config.SubjectForward = QString::fromUtf8("Wg:");
    config.SubjectReply = QString::fromUtf8("Antw: ü");
    config.ViewerTrailer = "Get it.";
    config.LoadRemoteContent = true;
    TIniFile ini(path);
    config.SaveToIni(ini);
    ini.UpdateFile();

    TConfig loaded;
    loaded.LoadFromIni(TIniFile(path));
    EXPECT_FALSE(loaded.IncludeViewerTrailer);
    EXPECT_EQ(loaded.SubjectForward, "Wg:");
    EXPECT_EQ(loaded.SubjectReply, QString::fromUtf8("Antw: ü"));
    EXPECT_EQ(loaded.ViewerTrailer, "Get it.");
    EXPECT_TRUE(loaded.LoadRemoteContent);
}
