#include "convert/ui/ConvertDatesForm.h"
#include "TestFolders.h"
#include "convert/ui/ConvertDatesOptionsFrame.h"
#include "support/RecordingDesktop.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace tarvin;

namespace {

// Saves a picture of the widget when TARVIN_SCREENSHOT_DIR names a folder.
void SaveScreenshot(QWidget &widget, const QString &name) {
    const QString folder = qEnvironmentVariable("TARVIN_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        widget.grab().save(QDir(folder).filePath(name + ".png"));
}

// Runs `action` once the dialog's modal loop has started.
// Scripts the form's run through the recording desktop: the form is shown, the action plays
// the user's part, and the form's result is the run's.
void WhenShown(tarvin::testing::TRecordingDesktop &desktop, TConvertDatesForm &form,
               std::function<void()> action) {
    desktop.DialogRuns.push_back([&form, action](QObject *dialog) {
        EXPECT_EQ(dialog, &form);
        form.show();
        QApplication::processEvents();
        if (form.isVisible())
            action();
        else
            form.reject();
        return form.result();
    });
}

void PressKey(QWidget *target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

// The visible controls from top to bottom must not overlap.
void ExpectStacked(const std::vector<QWidget *> &controls) {
    for (size_t i = 1; i < controls.size(); ++i)
        EXPECT_LE(controls[i - 1]->geometry().bottom(), controls[i]->geometry().top())
            << controls[i - 1]->metaObject()->className() << " over "
            << controls[i]->metaObject()->className() << " #" << i;
}

} // namespace

TEST(ConvertDatesOptionsFrame, TextsDefaultsAndChoices) {
    TConvertDatesOptionsFrame frame;
    EXPECT_EQ(frame.lblHeading->text(), "Convert dates for optimal display in:");
    EXPECT_EQ(frame.rbnTarvin->text(), "Tarvin (recommended)");
    EXPECT_EQ(frame.rbnFileExplorer->text(), "File Explorer");
    EXPECT_EQ(frame.lblTarvinInfo->text(),
              "Use this option to ensure that Tarvin always displays the same date for an item "
              "in the message list as in the message view.");
    EXPECT_EQ(frame.lblFileExplorerInfo->text(),
              "Use this option when you want to use File Explorer to find message files by "
              "date.  The date displayed may differ from that in the message view when daylight "
              "saving begins/ends, or if your time zone changes.");
    EXPECT_EQ(frame.chkConvertSubfolders->text(), "Convert subfolders");
    EXPECT_TRUE(frame.rbnTarvin->font().bold());
    EXPECT_TRUE(frame.rbnFileExplorer->font().bold());
    EXPECT_FALSE(frame.lblTarvinInfo->font().bold());

    EXPECT_FALSE(frame.UseUtc());
    EXPECT_FALSE(frame.ConvertSubfolders());
    frame.SetUseUtc(true);
    frame.SetConvertSubfolders(true);
    EXPECT_TRUE(frame.UseUtc());
    EXPECT_TRUE(frame.rbnFileExplorer->isChecked());
    EXPECT_FALSE(frame.rbnTarvin->isChecked());
    EXPECT_TRUE(frame.ConvertSubfolders());
    frame.SetUseUtc(false);
    EXPECT_TRUE(frame.rbnTarvin->isChecked());
    EXPECT_FALSE(frame.UseUtc());

    EXPECT_EQ(frame.width(), 380);
    EXPECT_GE(frame.height(), 160);
    ExpectStacked({frame.lblHeading, frame.rbnTarvin, frame.lblTarvinInfo, frame.rbnFileExplorer,
                   frame.lblFileExplorerInfo, frame.chkConvertSubfolders});
    EXPECT_LE(frame.chkConvertSubfolders->geometry().bottom(), frame.height());
    SaveScreenshot(frame, "convert-options-frame");
}

TEST(ConvertDatesForm, PromptLayout) {
    TConvertDatesForm form;
    EXPECT_EQ(form.windowTitle(), "Convert Dates");
    EXPECT_FALSE(form.IsMenuLayout());
    EXPECT_EQ(form.lblQuestion->text(),
              "This folder contains messages which may appear with incorrect dates in the "
              "message list Date column. Do you wish to convert these dates now?");
    EXPECT_EQ(form.lblPurpose->text(),
              "Convert Dates is a tool for converting message files so that their dates will be "
              "displayed correctly, to suit the viewer that you prefer: either Tarvin or File "
              "Explorer.");
    EXPECT_EQ(form.lblDuration->text(),
              "Conversion may take some time with more than a few hundred messages. You may "
              "wish to consult an Administrator, especially if the messages are shared.");
    EXPECT_EQ(form.lblFolder->text(), "Folder:");
    EXPECT_TRUE(form.edtFolder->isReadOnly());
    EXPECT_EQ(form.chkDoNotAsk->text(), "Do not ask me this again");
    EXPECT_FALSE(form.chkDoNotAsk->isChecked());
    EXPECT_EQ(form.btnYes->text(), "Yes");
    EXPECT_EQ(form.btnNo->text(), "No");
    EXPECT_TRUE(form.btnYes->isDefault());
    ASSERT_NE(form.ConvertDatesOptions(), nullptr);

    form.edtFolder->setText("/home/ann/Archive/2003");
    form.show();
    EXPECT_TRUE(form.lblQuestion->isVisible());
    EXPECT_TRUE(form.chkDoNotAsk->isVisible());
    // Fixed size, 408 wide; designed tops where the desktop font leaves them.
    EXPECT_EQ(form.width(), 408);
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_GE(form.height(), 386);
    EXPECT_EQ(form.lblQuestion->geometry().topLeft(), QPoint(14, 12));
    EXPECT_EQ(form.lblQuestion->width(), 380);
    EXPECT_GE(form.lblPurpose->y(), 46);
    EXPECT_GE(form.ConvertDatesOptions()->y(), 172);
    ExpectStacked({form.lblQuestion, form.lblPurpose, form.lblDuration, form.edtFolder,
                   form.ConvertDatesOptions(), form.chkDoNotAsk, form.btnYes});
    EXPECT_EQ(form.btnYes->y(), form.btnNo->y());
    EXPECT_LT(form.btnYes->x(), form.btnNo->x());
    EXPECT_LE(form.btnNo->geometry().right(), 408);
    EXPECT_LE(form.btnNo->geometry().bottom(), form.height());
    SaveScreenshot(form, "convert-dates-prompt");
}

TEST(ConvertDatesForm, MenuLayout) {
    TConvertDatesForm prompt;
    TConvertDatesForm form;
    form.chkDoNotAsk->setChecked(true);
    form.SetMenuLayout(true);
    EXPECT_TRUE(form.IsMenuLayout());
    EXPECT_EQ(form.btnYes->text(), "OK");
    EXPECT_EQ(form.btnNo->text(), "Cancel");
    // The hidden box is unticked, so the answer always turns prompting back on.
    EXPECT_TRUE(form.PromptAgain());

    form.edtFolder->setText("/home/ann/Archive/2003");
    form.show();
    EXPECT_FALSE(form.lblQuestion->isVisible());
    EXPECT_FALSE(form.chkDoNotAsk->isVisible());
    EXPECT_EQ(form.width(), 408);
    EXPECT_GE(form.height(), 332);
    EXPECT_EQ(form.lblPurpose->geometry().topLeft(), QPoint(14, 12));
    EXPECT_GE(form.lblDuration->y(), 60);
    EXPECT_GE(form.ConvertDatesOptions()->y(), 138);
    ExpectStacked({form.lblPurpose, form.lblDuration, form.edtFolder, form.ConvertDatesOptions(),
                   form.btnYes});
    // The menu layout is the prompt without the question and the check box row (the box and
    // the gap of 3 pixels below it).
    EXPECT_EQ(prompt.height() - form.height(),
              prompt.lblPurpose->y() - form.lblPurpose->y() + prompt.chkDoNotAsk->height() + 3);
    SaveScreenshot(form, "convert-dates-menu");

    form.SetMenuLayout(false);
    EXPECT_EQ(form.btnYes->text(), "Yes");
    EXPECT_EQ(form.height(), prompt.height());
}

TEST(ConvertDatesForm, ExecuteAnswers) {
    tarvin::testing::TRecordingDesktop desktop;
    {
        TConvertDatesForm form;
        WhenShown(desktop, form, [&] {
            EXPECT_EQ(form.edtFolder->text(), "/data/mail");
            EXPECT_TRUE(form.btnYes->hasFocus() || !QApplication::focusWidget());
            form.btnYes->click();
        });
        EXPECT_TRUE(form.Execute("/data/mail"));
        EXPECT_TRUE(form.PromptAgain());
    }
    {
        TConvertDatesForm form;
        WhenShown(desktop, form, [&] {
            form.chkDoNotAsk->setChecked(true);
            form.btnNo->click();
        });
        EXPECT_FALSE(form.Execute("/data/mail"));
        EXPECT_FALSE(form.PromptAgain()); // "No" with the box ticked turns prompting off
    }
    {
        TConvertDatesForm form;
        WhenShown(desktop, form, [&] { PressKey(&form, Qt::Key_Escape); });
        EXPECT_FALSE(form.Execute("/data/mail"));
    }
    {
        TConvertDatesForm form;
        form.SetMenuLayout(true);
        form.ConvertDatesOptions()->SetUseUtc(true);
        WhenShown(desktop, form, [&] { PressKey(form.btnYes, Qt::Key_Return); });
        EXPECT_TRUE(form.Execute("/data/mail"));
        EXPECT_TRUE(form.ConvertDatesOptions()->UseUtc());
        EXPECT_FALSE(form.ConvertDatesOptions()->ConvertSubfolders());
    }
}
