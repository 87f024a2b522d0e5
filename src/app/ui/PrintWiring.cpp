#include "app/ui/PrintWiring.h"

#include "app/ui/WebFeatures.h"
#include "base/DesktopServices.h"
#include "base/Error.h"
#include "view/ui/HtmlBody.h"
#include "view/ui/TarvinFrame.h"

#include <QApplication>
#include <QPlainTextEdit>

namespace tarvin {

std::optional<TFrameMessageOutput> FrameMessageOutput(TTarvinFrame *frame, bool extractHtml) {
    if (!frame || !frame->Message())
        return std::nullopt;
    TFrameMessageOutput output;
    output.Frame = frame;
    output.Message = frame->Message();
    output.FileName = frame->FileName();
    output.BodyFont = frame->PlainTextView()->font();
    output.ShowSystemAttachments = frame->ShowSystemAttachments();
    output.RemoteContentAllowed =
        frame->LoadRemoteContent() ||
        (frame->HtmlViewShown() && frame->HtmlView()->RemoteContentAllowed());
    output.PlainText = frame->PlainText();
    if (extractHtml) {
        output.WorkFolder = frame->GetWorkFolder();
        if (!output.PlainText)
            output.HtmlFileName = frame->HtmlFileName();
    }
    return output;
}

void PrintFrameMessage(TTarvinFrame *frame) {
    std::optional<TFrameMessageOutput> output;
    try {
        output = FrameMessageOutput(frame, true);
        if (output)
            WebFeatures().PrintMessage(*output);
    } catch (const Error &error) {
        // Extracting the body file can fail (a full disk), the HTML engine may be missing: say
        // so rather than print nothing.
        Desktop().ShowError(frame, QApplication::applicationName(), error.message());
    }
}

} // namespace tarvin
