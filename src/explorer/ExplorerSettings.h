#pragma once

#include <QRect>

namespace tarvin {

class TIniFile;

// The explorer window's layout and preferences as "CONFIG.INI" keeps them. -1 keeps the
// window's designed value.
struct TExplorerSettings {
    // Window state as stored: 0 normal, 1 minimised, 2 maximised.
    enum : int { StateNormal = 0, StateMinimized = 1, StateMaximized = 2 };

    int Left = -1;
    int Top = -1;
    int Width = -1;
    int Height = -1;
    int State = StateMinimized; // the default leaves the designed state alone
    int PaneHeight = -1;        // -1: half the client height
    int FoldersWidth = -1;
    int SubjectWidth = 360;
    int DateWidth = 152;
    int SortBy = 2;
    bool SortAscending = true;
    bool QuickViewToolbar = true;
    bool AttachmentWindow = true;
    bool SystemAttachments = true;
    bool QuickViewVisible = true;
    bool IsTimestampUtc = false;
    bool PromptToConvert = true;
    bool ConvertSubfolders = true;

    // The window bounds to apply: each stored edge that is not -1 replaces the designed one;
    // width and height are measured from the new left and top.
    QRect RestoredBounds(const QRect &designed) const;
    // Whether the stored state is applied at start (a minimised window is never restored).
    bool RestoresState() const { return State == StateNormal || State == StateMaximized; }
};

// Reads every explorer key with its default; "Folders/Messages Pane" Height without a value
// gives -1.
TExplorerSettings ReadExplorerSettings(const TIniFile &ini);
// Writes every explorer key. The bounds are left as they are in the file while the window is
// maximised, so the normal bounds survive.
void WriteExplorerSettings(TIniFile &ini, const TExplorerSettings &settings);

} // namespace tarvin
