#include "app/ui/PrintWiring.h"

#include "print/ui/MessagePrinter.h"
#include "view/ui/HtmlBodyView.h"
#include "view/ui/TarvinFrame.h"

#include <QPlainTextEdit>
#include <QPointer>

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
    QPointer<TfrmMessagePrinter> printer = PrinterOfFrame(frame);
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
    printer->Execute();
}

} // namespace tarvin
