#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace tarvin {

class IDesktopServices;
class IHtmlBody;
class TGWMessage;

// A frame's message as printing and "Export as PDF..." take it.
struct TFrameMessageOutput {
    // The frame: its printing window and its exporter are kept as its children.
    QWidget *Frame = nullptr;
    const TGWMessage *Message = nullptr;
    QString FileName; // the message file shown ("" for an embedded message)
    QFont BodyFont;   // the plain-text view's
    bool ShowSystemAttachments = false;
    bool RemoteContentAllowed = false;
    bool PlainText = true;
    QString WorkFolder;
    QString HtmlFileName; // the extracted HTML body, for printing in HTML mode
};

// What the web library (tarvin-web.so: the HTML engine and what needs it) does for the window
// part. Only plain data and Qt's own classes cross: the library holds its own copy of the
// project's code, so no project class is shared between the two.
class IWebFeatures {
public:
    // The HTML view of a frame.
    virtual IHtmlBody *NewHtmlBody(QWidget *parent) = 0;
    // Prints the frame's message: its printing window (made on first use as a child of the
    // frame) gets the message and settings and is shown modally.
    virtual void PrintMessage(const TFrameMessageOutput &message) = 0;
    // "Export as PDF..." of a frame: asks for the file (the safe subject + ".pdf", in the
    // folder last used), then writes the message as `collect` tells (nothing when it gives
    // none: the frame went or shows another message).
    virtual void
    ExportMessage(QWidget *frame, const QString &subject,
                  const std::function<std::optional<TFrameMessageOutput>()> &collect) = 0;
    // "Export as PDF..." of message files (see app/ui/ExportWiring.h).
    virtual void ExportMessageFiles(QWidget *owner, const QStringList &files,
                                    bool showSystemAttachments, bool remoteContentAllowed) = 0;
    // "/E:PDF" without a window; returns the exit status.
    virtual int RunCommandLineExport(const QStringList &arguments) = 0;

protected:
    ~IWebFeatures() = default;
};

// What the window part hands the web library when it loads it: the library's code reaches
// the desktop services the window part installed through it.
struct TWebHost {
    IDesktopServices &(*Desktop)() = nullptr;
};

// The web library's entry point (extern "C").
inline constexpr const char *kWebEntryName = "TarvinWebFeatures";
using TWebEntry = IWebFeatures *(*)(const TWebHost *host);
// Its file, beside the window part's.
inline constexpr const char *kWebLibraryName = "tarvin-web.so";

// The web library's features, loaded on first use (the linked code where a program links
// it, as the tests do). Raises Error naming the reason when the library cannot be loaded.
IWebFeatures &WebFeatures();
// Loads the web library before the application object exists (for "/E:PDF"), so that the
// HTML engine sets the process up as it wants; a failure is left for WebFeatures to report.
void PreloadWebFeatures();

} // namespace tarvin

// Defined by the web library's code where a program links it (see WebFeatures).
extern "C" tarvin::IWebFeatures *tarvin_linked_web_features() __attribute__((weak));
