#include "dialogs/ui/WaitForm.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace tarvin;

TEST(WaitForm, StartsNotCancelledWithItsCaption) {
    TWaitForm form;
    EXPECT_EQ(form.windowTitle().toStdString(), "Please wait...");
    EXPECT_EQ(form.size(), QSize(320, 98));
    EXPECT_FALSE(form.IsCancelled());
}

TEST(WaitForm, CancelButtonSetsTheFlagForGood) {
    TWaitForm form;
    form.show();
    form.CancelButton()->click();
    EXPECT_TRUE(form.IsCancelled());
    EXPECT_TRUE(form.IsCancelled());
    EXPECT_TRUE(form.isVisible());
}

TEST(WaitForm, EscapeActsAsCancel) {
    TWaitForm form;
    form.show();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&form, &esc);
    EXPECT_TRUE(form.IsCancelled());
    EXPECT_TRUE(form.isVisible());
}

TEST(WaitForm, ClosingTheWindowCancelsButLeavesItToTheRun) {
    TWaitForm form;
    form.show();
    form.close();
    EXPECT_TRUE(form.IsCancelled());
    EXPECT_TRUE(form.isVisible());
    form.hide();
    EXPECT_FALSE(form.isVisible());
}

TEST(WaitForm, StatusTextShowsUnicodeAsPlainText) {
    TWaitForm form;
    const QString text = QStringLiteral("Message: <b>Grüße</b> \u65e5\u672c.pml");
    form.SetStatusText(text);
    EXPECT_EQ(form.StatusLabel()->text(), text);
    EXPECT_EQ(form.StatusLabel()->textFormat(), Qt::PlainText);
}

TEST(WaitForm, AnimatesOnlyWhileShownAndDisablesOthers) {
    QWidget other;
    other.show();
    TWaitForm form;
    EXPECT_FALSE(form.AnimationRunning());
    form.show();
    EXPECT_TRUE(form.AnimationRunning());
    EXPECT_FALSE(other.isEnabled());
    const int first = form.AnimationFrame();
    QEventLoop loop;
    QTimer::singleShot(250, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_NE(form.AnimationFrame(), first);
    form.hide();
    EXPECT_FALSE(form.AnimationRunning());
    EXPECT_TRUE(other.isEnabled());
}

TEST(WaitForm, Screenshot) {
    TWaitForm form;
    form.SetStatusText(QStringLiteral("Message: Quarterly report [2241000a1b2c].pml"));
    form.show();
    const QImage image = form.grab().toImage();
    EXPECT_EQ(image.size(), QSize(320, 98));
    const QString dir = qEnvironmentVariable("TARVIN_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        image.save(dir + QStringLiteral("/wait.png"));
}
