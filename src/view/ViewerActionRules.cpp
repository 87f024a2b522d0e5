#include "view/ViewerActionRules.h"

namespace tarvin {

TViewerActionStates ViewerActionStates(const TViewerFrameState &state) {
    TViewerActionStates s;
    const bool explorer = state.Host == TViewerHost::Explorer;
    const bool hasMessage = state.HasFrame && state.HasMessage;
    // The explorer offers the tabs and the mail actions for the chosen file, the viewer window
    // for the message it shows.
    const bool itemChosen = explorer ? state.HasFrame && state.QuickViewFileSet : hasMessage;
    const bool messageTab = hasMessage && state.ActivePage == fpMessage;

    s.Copy.Enabled = state.HasFrame && state.CanCopy;
    s.SelectAll.Enabled = state.HasFrame && state.CanSelectAll;

    s.Close.Enabled = true;
    s.Help.Enabled = true;
    s.About.Enabled = true;
    s.Print.Enabled = state.Features.Print && (explorer ? state.ListRowSelected : hasMessage);
    s.FindInMessages.Enabled = state.Features.Find;

    s.Toolbar = {state.HasFrame, state.HasFrame && state.ToolbarVisible, true};
    s.AttachmentWindow = {state.HasFrame, state.HasFrame && state.AttachmentsVisible, true};
    s.SystemAttachments = {state.HasFrame, state.HasFrame && state.ShowSystemAttachments, true};

    if (state.HasFrame) {
        s.Message.Checked = state.ActivePage != fpProperties && state.ActivePage != fpSaveLog;
        s.Properties.Checked = state.ActivePage == fpProperties;
        s.SaveLog.Checked = state.ActivePage == fpSaveLog;
        s.Html.Checked = !state.PlainText;
        s.PlainText.Checked = state.PlainText;
    }
    s.Message.Enabled = s.Properties.Enabled = s.SaveLog.Enabled = itemChosen;
    s.Html.Enabled = messageTab && state.HasHtmlBody;
    s.PlainText.Enabled = messageTab && state.HasPlainBody;

    const bool selected = state.HasFrame && state.AttachmentSelected;
    s.OpenAttachment = {selected && state.SelectedAttachmentHasData, false, selected};
    s.SaveAs = s.OpenAttachment;
    s.Font.Enabled = messageTab && state.PlainText;

    s.Mail.Enabled = state.Features.Mail && itemChosen;
    // Both act on the message the frame shows (in the explorer, the list has its own).
    s.ExportPdf.Enabled = state.Features.Export && hasMessage;
    s.SaveAllAttachments.Enabled = hasMessage && state.AttachmentDataListed;
    return s;
}

TListExportStates ListExportStates(bool rowsSelected, bool exportServed) {
    TListExportStates s;
    s.ExportPdf.Enabled = exportServed && rowsSelected;
    s.SaveAllAttachments.Enabled = rowsSelected;
    return s;
}

} // namespace tarvin
