#include "util/NativePath.h"
#include "util/ui/DesktopServicesImpl.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

using namespace tarvin;

TEST(DesktopServices, ClipboardFileListsForFileManagers) {
    // Blanks and "%" are escaped; a name that is not UTF-8 keeps its bytes.
    const QString plain = "/tmp/a b/report%.pdf";
    const QString latin = DecodeNativePath(QByteArray("/tmp/caf\xe9.txt"));
    const std::unique_ptr<QMimeData> copied(FileListMimeData({plain, latin}, false));
    EXPECT_EQ(copied->data("text/uri-list"),
              "file:///tmp/a%20b/report%25.pdf\r\nfile:///tmp/caf%E9.txt\r\n");
    EXPECT_EQ(copied->data("x-special/gnome-copied-files"),
              "copy\nfile:///tmp/a%20b/report%25.pdf\nfile:///tmp/caf%E9.txt");

    TDesktopServices desktop;
    desktop.SetClipboardFiles({plain}, true);
    const QMimeData *onClipboard = QApplication::clipboard()->mimeData();
    ASSERT_NE(onClipboard, nullptr);
    EXPECT_EQ(onClipboard->data("x-special/gnome-copied-files"),
              "cut\nfile:///tmp/a%20b/report%25.pdf");
    EXPECT_EQ(onClipboard->urls(), QList<QUrl>({QUrl::fromLocalFile(plain)}));

    desktop.SetClipboardText("some text");
    EXPECT_EQ(QApplication::clipboard()->text(), "some text");
}
