#include "support/RecordingDesktop.h"
#include "view/ui/AttachmentIcons.h"
#include "view/ui/web/HtmlBodyView.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvin;

TEST(HtmlRequestFilter, OnlyWorkFolderFilesAndAllowedWebPictures) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    QDir(root.path()).mkdir("work");
    QDir(root.path()).mkdir("workshop");
    const QString work = root.path() + "/work/";
    for (const QString &name : {work + "text.htm", work + "logo.png", root.path() + "/secret.txt",
                                root.path() + "/workshop/x.png"}) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QFile::link(root.path() + "/secret.txt", work + "link.txt");

    THtmlRequestFilter filter;
    using R = QWebEngineUrlRequestInfo;
    auto file = [](const QString &path) { return QUrl::fromLocalFile(path); };
    // No folder set: no local file at all.
    EXPECT_FALSE(filter.Allows(file(work + "text.htm"), R::ResourceTypeMainFrame));

    filter.SetAllowedFolder(work);
    EXPECT_TRUE(filter.Allows(file(work + "text.htm"), R::ResourceTypeMainFrame));
    EXPECT_TRUE(filter.Allows(file(work + "logo.png"), R::ResourceTypeImage));
    // Outside the folder, by "..", by a sibling with the same prefix, or by a link.
    EXPECT_FALSE(filter.Allows(file(root.path() + "/secret.txt"), R::ResourceTypeImage));
    EXPECT_FALSE(filter.Allows(QUrl("file://" + work + "../secret.txt"), R::ResourceTypeImage));
    EXPECT_FALSE(filter.Allows(file(root.path() + "/workshop/x.png"), R::ResourceTypeImage));
    EXPECT_FALSE(filter.Allows(file(work + "link.txt"), R::ResourceTypeImage));
    EXPECT_FALSE(filter.Allows(file(work + "missing.png"), R::ResourceTypeImage));
    // The web: nothing until remote content is allowed, then pictures and media only.
    EXPECT_FALSE(filter.Allows(QUrl("https://example.org/a.png"), R::ResourceTypeImage));
    EXPECT_FALSE(filter.Allows(QUrl("http://example.org/a.mp3"), R::ResourceTypeMedia));
    filter.SetRemoteAllowed(true);
    EXPECT_TRUE(filter.Allows(file(work + "logo.png"), R::ResourceTypeImage));
    EXPECT_TRUE(filter.Allows(QUrl("https://example.org/a.png"), R::ResourceTypeImage));
    EXPECT_TRUE(filter.Allows(QUrl("http://example.org/a.mp3"), R::ResourceTypeMedia));
    EXPECT_FALSE(filter.Allows(QUrl("https://example.org/a.js"), R::ResourceTypeScript));
    EXPECT_FALSE(filter.Allows(QUrl("https://example.org/"), R::ResourceTypeMainFrame));
    EXPECT_FALSE(filter.Allows(QUrl("https://example.org/s.css"), R::ResourceTypeStylesheet));
    EXPECT_FALSE(filter.Allows(QUrl("https://example.org/f"), R::ResourceTypeSubFrame));
    EXPECT_FALSE(filter.Allows(QUrl("ftp://example.org/a.png"), R::ResourceTypeImage));
}

TEST(AttachmentIcons, CachedByExtensionIgnoringCase) {
    TAttachmentIcons icons;
    EXPECT_EQ(icons.Count(), 7);
    int pdf = icons.IndexForExtension(".pdf");
    EXPECT_EQ(pdf, 7);
    EXPECT_EQ(icons.IndexForExtension(".PDF"), pdf);
    int txt = icons.IndexForExtension(".txt");
    EXPECT_EQ(txt, 8);
    EXPECT_EQ(icons.Count(), 9);
    EXPECT_FALSE(icons.Icon(pdf).isNull());
    // An unknown type still gets a picture.
    EXPECT_FALSE(icons.Icon(icons.IndexForExtension(".zz9unknown")).isNull());
    EXPECT_FALSE(icons.Icon(icons.IndexForExtension("")).isNull());
    icons.Reset();
    EXPECT_EQ(icons.Count(), 7);
    EXPECT_EQ(icons.IndexForExtension(".txt"), 7);
}

namespace {
// Makes the page's navigation decision callable.
class ExposedPage : public THtmlBodyPage {
public:
    using THtmlBodyPage::acceptNavigationRequest;
    using THtmlBodyPage::createWindow;
    using THtmlBodyPage::THtmlBodyPage;
};
} // namespace

TEST(HtmlBodyPage, LinksOpenOnTheDesktopNotInTheView) {
    tarvin::testing::TRecordingDesktop desktop;
    const std::vector<QUrl> &opened = desktop.Urls;
    {
        THtmlBodyView view;
        ExposedPage page(nullptr);
        page.LinkHandler = view.BodyPage()->LinkHandler;
        using P = QWebEnginePage;
        EXPECT_FALSE(page.acceptNavigationRequest(QUrl("https://example.org/x"),
                                                  P::NavigationTypeLinkClicked, true));
        EXPECT_FALSE(page.acceptNavigationRequest(QUrl("mailto:ann@example.org"),
                                                  P::NavigationTypeLinkClicked, true));
        // Local files and other schemes are not handed to the desktop.
        EXPECT_FALSE(page.acceptNavigationRequest(QUrl("file:///usr/bin/env"),
                                                  P::NavigationTypeLinkClicked, true));
        EXPECT_FALSE(page.acceptNavigationRequest(QUrl("javascript:alert(1)"),
                                                  P::NavigationTypeLinkClicked, true));
        // Forms are never sent.
        EXPECT_FALSE(page.acceptNavigationRequest(QUrl("https://example.org/form"),
                                                  P::NavigationTypeFormSubmitted, true));
        // The frame's own loads go ahead.
        EXPECT_TRUE(page.acceptNavigationRequest(QUrl("file:///tmp/text.htm"),
                                                 P::NavigationTypeTyped, true));
        ASSERT_EQ(opened.size(), 2u);
        EXPECT_EQ(opened[0], QUrl("https://example.org/x"));
        EXPECT_EQ(opened[1], QUrl("mailto:ann@example.org"));
        // A link asking for a new window gets a page that only passes the address on.
        EXPECT_NE(page.createWindow(P::WebBrowserTab), nullptr);
    }
}
