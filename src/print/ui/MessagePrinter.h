#pragma once

#include "print/PrintDocument.h"

#include <QByteArray>
#include <QDialog>
#include <QFont>
#include <QMutex>
#include <QPageLayout>
#include <QWebEngineUrlRequestInterceptor>
#include <functional>
#include <optional>

class QAction;
class QPrinter;
class QToolBar;
class QWebEngineView;
class QWebEnginePage;

namespace tarvin {

// Lets the print page reach only files inside the work folder and, when the view it prints
// from allowed remote content, web pictures and media.
class TPrintRequestFilter : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void SetAllowedFolder(const QString &folder);
    void SetRemoteAllowed(bool allowed);
    void interceptRequest(QWebEngineUrlRequestInfo &info) override;

private:
    QMutex m_mutex;
    QString m_folder; // canonical, with a trailing "/"
    bool m_remoteAllowed = false;
};

// A page as the printing window uses: its own off-the-record profile, scripts off, pictures
// on, following no link and opening no window.
QWebEnginePage *NewPrintPage(QObject *parent);

// The page layout the print document is laid out in when no page setup was chosen: the
// locale's paper (A4, Letter in the United States) with 15 mm margins.
QPageLayout DefaultPrintLayout();

// The printing window: shows the print document of a message in an HTML view and prints it
// (at once, on the default printer), previews it or sets up the page. Every showing loads
// the page again and rebuilds the document from the current message and settings.
class TfrmMessagePrinter : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMessagePrinter(QWidget *owner = nullptr);
    ~TfrmMessagePrinter() override;

    // A different message clears the body file.
    void SetMessage(const TGWMessage *message);
    const TGWMessage *Message() const { return m_settings.Message; }
    // Copies the font's family and whole point size; the font counts as given from then on.
    void SetBodyFont(const QFont &font);
    void SetShowSystemAttachments(bool show) { m_settings.ShowSystemAttachments = show; }
    void SetBodyFileName(const QString &path) { m_bodyFileName = path; }
    QString BodyFileName() const { return m_bodyFileName; }
    // Switching to plain text clears the body file.
    void SetHtmlMode(bool html);
    bool HtmlMode() const { return m_settings.HtmlMode; }
    // The folder whose files the page may load (the body file's work folder).
    void SetWorkFolder(const QString &folder);
    // The remote-content permission of the view printed from.
    void SetRemoteContentAllowed(bool allowed);
    const TPrintSettings &Settings() const { return m_settings; }

    // Shows the window modally; true only when it was closed with OK, which none of its
    // controls does.
    bool Execute();

    // The page address printed in the footer: the body file, or "about:blank".
    QString PageAddress() const;
    // Whether the print document has been built in the loaded page.
    bool DocumentReady() const { return m_documentReady; }
    QWebEngineView *View() const { return m_view; }
    QWebEnginePage *Page() const;
    // The page layout chosen with Page Setup (none until then).
    std::optional<QPageLayout> ChosenPageLayout() const { return m_pageLayout; }

    QAction *PrintAction() const { return m_actPrint; }
    QAction *PrintPreviewAction() const { return m_actPrintPreview; }
    QAction *PageSetupAction() const { return m_actPageSetup; }
    QAction *CloseAction() const { return m_actClose; }

    // The commands.
    void Print();
    void PrintPreview();
    void PageSetup();

signals:
    // The print document was built (ok) or its building failed (the error was shown).
    void DocumentBuilt(bool ok);
    // A print command finished: the pages went to `target` (a printer or a PDF file), or
    // it failed, was cancelled or had nothing to print (`target` empty).
    void PrintFinished(const QString &target);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void loadPage();
    void pageLoaded(bool ok);
    void updateActions();
    void showFailure(const QString &text);
    // A printer for the default print queue in the kept page layout; with no printer
    // installed, the user may choose a PDF file instead (null: nothing to print to).
    std::unique_ptr<QPrinter> makePrinter(bool askForFile);
    QPageLayout layoutFor(QPrinter &printer) const;
    // Renders the page in `layout` and calls `use` with the PDF (empty on failure).
    void renderPages(const QPageLayout &layout, std::function<void(const QByteArray &)> use);

    TPrintSettings m_settings;
    QFont m_bodyFont;
    QString m_bodyFileName;
    QWebEngineView *m_view = nullptr;
    TPrintRequestFilter *m_filter = nullptr;
    QToolBar *m_toolBar = nullptr;
    QAction *m_actPageSetup = nullptr;
    QAction *m_actPrint = nullptr;
    QAction *m_actPrintPreview = nullptr;
    QAction *m_actClose = nullptr;
    bool m_documentReady = false;
    bool m_busy = false; // a print or preview is being prepared
    bool m_cursorSet = false;
    std::optional<QPageLayout> m_pageLayout;
};

} // namespace tarvin
