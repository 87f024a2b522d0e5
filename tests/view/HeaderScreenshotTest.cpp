#include "view/ui/HeaderPanels.h"
#include "view/ui/ViewImages.h"

#include "model/GWMessage.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace tarvin;

// Every bundled sample loads and its header panel paints. With TARVIN_SCREENSHOT_DIR set the
// panels are kept there as PNG files for a look.
TEST(HeaderScreenshots, EverySampleShowsItsPanel) {
    const QDir samples(QStringLiteral(TARVIN_SOURCE_DIR "/samples"));
    const QStringList files = samples.entryList({QStringLiteral("*.pml")}, QDir::Files);
    ASSERT_GE(files.size(), 6);
    const QString out = qEnvironmentVariable("TARVIN_SCREENSHOT_DIR");
    QSet<int> types;
    for (const QString &file : files) {
        SCOPED_TRACE(file.toStdString());
        TGWMessage msg;
        msg.LoadFromFile(samples.filePath(file));
        types.insert(int(msg.MessageType));
        auto panel = CreateHeaderPanel(msg.MessageType, nullptr);
        ASSERT_NE(panel, nullptr);
        for (int width : {443, 640}) {
            panel->resize(width, panel->height());
            panel->show();
            panel->SetMessage(&msg);
            const QImage image = panel->grab().toImage();
            EXPECT_EQ(image.width(), width);
            EXPECT_EQ(image.height(), panel->height());
            // The panel's grey shows at the right edge below the date.
            EXPECT_EQ(image.pixelColor(width - 2, image.height() - 2), QColor(220, 220, 220));
            if (!out.isEmpty())
                image.save(QStringLiteral("%1/header-%2-%3.png")
                               .arg(out, QFileInfo(file).completeBaseName().left(24))
                               .arg(width));
        }
    }
    EXPECT_EQ(types.size(), 6);
}

TEST(ViewImages, FixedPicturesHaveTheirSizes) {
    for (int i = 0; i < kAttachmentImageCount; ++i) {
        const QPixmap image = AttachmentImage(i);
        EXPECT_EQ(image.size(), QSize(32, 32)) << i;
        // Drawn, not blank: the centre column holds opaque pixels.
        const QImage picture = image.toImage();
        bool painted = false;
        for (int y = 0; y < 32 && !painted; ++y)
            painted = picture.pixelColor(16, y).alpha() == 255;
        EXPECT_TRUE(painted) << i;
    }
    EXPECT_TRUE(AttachmentImage(7).isNull());
    EXPECT_EQ(GenericFileImage().size(), QSize(32, 32));
    EXPECT_NE(GenericFileImage().toImage(), AttachmentImage(6).toImage());
    EXPECT_TRUE(AttachmentImage(-1).isNull());
    for (int i = 0; i < kToolbarImageCount; ++i) {
        const QIcon icon = ToolbarImage(i);
        EXPECT_FALSE(icon.isNull()) << i;
        EXPECT_EQ(icon.pixmap(22, 22).size(), QSize(22, 22)) << i;
    }
    EXPECT_TRUE(ToolbarImage(9).isNull());
    // All pictures differ from each other.
    for (int i = 0; i < kAttachmentImageCount; ++i)
        for (int j = i + 1; j < kAttachmentImageCount; ++j)
            EXPECT_NE(AttachmentImage(i).toImage(), AttachmentImage(j).toImage()) << i << j;
}
