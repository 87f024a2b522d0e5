#pragma once

#include <QString>

namespace tarvin {

// The rules of the explorer's date check of one folder. A check is prompted (a folder was
// selected) or explicit ("Convert Dates..." from the menu).

// What the check found in the folder.
struct TFolderDateFacts {
    bool HasMessageFiles = false; // at least one "*.pml" file
    bool Converted = false;       // the folder holds its marker (or the last run succeeded)
};

// True when the folder holds at least one message file ("*.pml", any case, not hidden).
bool FolderHasMessageFiles(const QString &folder);

// Whether the "Convert Dates" dialog is shown: always when explicit; when prompted only for an
// unconverted folder with message files while PromptToConvert is on.
bool ShouldAskToConvert(bool prompted, const TFolderDateFacts &facts, bool promptToConvert);

// The date warning of the status bar after a check.
enum class TDateWarning {
    Hidden,     // the folder's dates are right (or there is nothing to date)
    Problems,   // the conversion ran with warnings
    MayBeWrong, // an unconverted folder the user was not asked about, or declined
    Unchanged,  // an explicit check the user declined: the warning stays as it was
};

struct TDateCheckOutcome {
    TDateWarning Warning = TDateWarning::Unchanged;
    bool RefreshList = false; // an explicit check on a folder that needs nothing refreshes
};

// `ran`: the dialog was accepted and the conversion ran; `warnings`: its warning count.
TDateCheckOutcome DateCheckOutcome(bool prompted, const TFolderDateFacts &facts, int warnings,
                                   bool ran);

// The warning's text ("" for Hidden and Unchanged).
QString DateWarningText(TDateWarning warning);

} // namespace tarvin
