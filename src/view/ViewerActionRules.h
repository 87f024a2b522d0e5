#pragma once

namespace tarvin {

// Tab pages of a viewer frame.
enum TFramePage { fpMessage = 0, fpProperties = 1, fpSaveLog = 2 };

// Which window the viewer actions serve: a viewer window, or the explorer's quick-view pane.
enum class TViewerHost { Viewer, Explorer };

// The seven reply and forward actions.
enum class TMailAction {
    Reply, // asks whom to reply to
    ReplyToSenderInc,
    ReplyToSender,
    ReplyToAllInc,
    ReplyToAll,
    ForwardAsAttachment,
    Forward,
};

// The features behind actions that other parts of the program serve; an action whose feature
// is not wired up stays disabled.
struct TViewerFeatures {
    bool Print = false;
    bool Find = false;
    bool Mail = false;
    bool Export = false; // "Export as PDF..."
};

// What the enabled, checked and visible states of the viewer actions depend on: the frame's
// state and what the host offers.
struct TViewerFrameState {
    TViewerHost Host = TViewerHost::Viewer;
    TViewerFeatures Features;
    bool HasFrame = false;
    bool HasMessage = false;
    int ActivePage = fpMessage;
    bool PlainText = false;
    bool HasHtmlBody = false;
    bool HasPlainBody = false;
    bool AttachmentSelected = false;
    bool SelectedAttachmentHasData = false;
    bool AttachmentDataListed = false; // an attachment with data is in the list
    bool ToolbarVisible = false;
    bool AttachmentsVisible = false;
    bool ShowSystemAttachments = false;
    bool CanCopy = false;      // the view the edit actions act on has a selection
    bool CanSelectAll = false; // ... and not all of its text is selected
    // The explorer's: a quick-view file is chosen (even when it failed to load), and the
    // message list's focused row is selected.
    bool QuickViewFileSet = false;
    bool ListRowSelected = false;
};

struct TActionState {
    bool Enabled = false;
    bool Checked = false;
    bool Visible = true;
};

// One state per viewer action.
struct TViewerActionStates {
    TActionState Copy, SelectAll;
    TActionState Close, Print, FindInMessages, Help, About;
    TActionState Toolbar, AttachmentWindow, SystemAttachments;
    TActionState Message, Properties, SaveLog; // one radio group
    TActionState Html, PlainText;              // another radio group
    TActionState OpenAttachment, SaveAs, Font;
    TActionState Mail; // all seven reply and forward actions
    TActionState ExportPdf, SaveAllAttachments;
};

// The enabled, checked and visible states of the viewer actions for a frame state.
TViewerActionStates ViewerActionStates(const TViewerFrameState &state);

// "Export as PDF..." and "Save All Attachments..." of a message list: for the selected rows
// (one or several), export only where the program serves it.
struct TListExportStates {
    TActionState ExportPdf, SaveAllAttachments;
};
TListExportStates ListExportStates(bool rowsSelected, bool exportServed);

} // namespace tarvin
