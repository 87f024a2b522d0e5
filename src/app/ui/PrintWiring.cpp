#include "app/ui/PrintWiring.h"

#include "base/DesktopServices.h"
#include "base/Error.h"
#include "print/ui/MessagePrinter.h"
#include "view/ui/HtmlBodyView.h"
#include "view/ui/TarvinFrame.h"

#include <QApplication>
#include <QPlainTextEdit>

namespace tarvin {

namespace {
const char *const kPrinterName = "MessagePrinter";
}

TfrmMessagePrinter *PrinterOfFrame(TTarvinFrame *frame) {
    auto *printer = frame->findChild<TfrmMessagePrinter *>(QLatin1String(kPrinterName),
                                                           Qt::FindDirectChildrenOnly);
    if (!printer) {
        printer = new TfrmMessagePrinter(frame);
        printer->setObjectName(QLatin1String(kPrinterName));
    }
    return printer;
}

void PrintFrameMessage(TTarvinFrame *frame) {
    if (!frame || !frame->Message())
        return;
    TfrmMessagePrinter *printer = PrinterOfFrame(frame);
    try {
        printer->SetMessage(frame->Message());
        printer->SetBodyFont(frame->PlainTextView()->font());
        printer->SetShowSystemAttachments(frame->ShowSystemAttachments());
        printer->SetWorkFolder(frame->GetWorkFolder());
        printer->SetRemoteContentAllowed(
            frame->LoadRemoteContent() ||
            (frame->HtmlViewShown() && frame->HtmlView()->RemoteContentAllowed()));
        if (frame->PlainText()) {
            printer->SetHtmlMode(false);
        } else {
            printer->SetBodyFileName(frame->HtmlFileName());
            printer->SetHtmlMode(true);
        }
    } catch (const Error &error) {
        // Extracting the body file can fail (a full disk): say so rather than print nothing.
        Desktop().ShowError(frame, QApplication::applicationName(), error.message());
        return;
    }
    printer->Execute();
}

} // namespace tarvin
