#include "dialogs/ui/OptionsForm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace tarvin;

TEST(OptionsForm, PagesControlsAndTheOptionsFrameInItsGroup) {
    auto *frame = new QLabel("frame");
    TOptionsForm form(frame);
    EXPECT_EQ(form.windowTitle(), "Options");
    EXPECT_EQ(form.size(), QSize(466, 360));
    ASSERT_EQ(form.pgOptions->count(), 3);
    EXPECT_EQ(form.pgOptions->tabText(0), "Message Date");
    EXPECT_EQ(form.pgOptions->tabText(1), "Reply/Forward");
    EXPECT_EQ(form.pgOptions->tabText(2), "Viewer");
    EXPECT_EQ(form.pgOptions->currentIndex(), 0);
    EXPECT_EQ(frame->parentWidget(), form.grpConvertDates);
    EXPECT_EQ(form.grpConvertDates->title(), " Convert Dates Utility ");
    EXPECT_EQ(form.cbAskToConvert->text(), "Ask to convert dates when old messages are found");
    EXPECT_EQ(form.cbLoadRemoteContent->text(), "Load remote content in messages");
}

TEST(OptionsForm, TrailerLinesEndInCrLfAndSurviveOkWithoutChanges) {
    TOptionsForm form(nullptr);
    // One line gains its line break, once.
    form.SetViewerTrailer("Get a viewer");
    EXPECT_EQ(form.ViewerTrailer(), "Get a viewer\r\n");
    form.SetViewerTrailer(form.ViewerTrailer());
    EXPECT_EQ(form.ViewerTrailer(), "Get a viewer\r\n");
    // Every kind of line break splits; each line ends in CR LF.
    form.SetViewerTrailer("one\r\ntwo\rthree\nfour");
    EXPECT_EQ(form.edViewerTrailer->toPlainText(), "one\ntwo\nthree\nfour");
    EXPECT_EQ(form.ViewerTrailer(), "one\r\ntwo\r\nthree\r\nfour\r\n");
    // An empty line inside is kept; an empty text stays empty.
    form.SetViewerTrailer("a\r\n\r\nb");
    EXPECT_EQ(form.ViewerTrailer(), "a\r\n\r\nb\r\n");
    form.SetViewerTrailer("");
    EXPECT_EQ(form.ViewerTrailer(), "");
}
