#pragma once

#include "convert/InteractiveConversion.h"

#include <QString>
#include <memory>

class QWidget;

namespace tarvin {

// The preferences the options dialog edits.
struct TOptionsValues {
    bool PromptToConvert = true;
    bool IsTimestampUtc = false;
    bool ConvertSubfolders = true;
    bool IncludeViewerTrailer = true;
    QString ViewerTrailer;
    bool LoadRemoteContent = false;
};

// The dialogs the explorer starts, provided by the program root (they live in other window
// libraries): the "Convert Dates" question, the wait window of a conversion, the options
// dialog and the about box.
class IExplorerDialogs {
public:
    virtual ~IExplorerDialogs() = default;
    // Shows the "Convert Dates" dialog (the menu layout or the question); `useUtc` and
    // `convertSubfolders` go in as the choices offered and come back as chosen; `promptAgain`
    // is the negation of "Do not ask me this again". True when accepted.
    virtual bool AskConvertDates(QWidget *owner, const QString &displayPath, bool menuLayout,
                                 bool &useUtc, bool &convertSubfolders, bool &promptAgain) = 0;
    // A wait window for one conversion run.
    virtual std::unique_ptr<IConversionProgress> MakeWaitWindow() = 0;
    // The options dialog; the values are changed only when it was closed with OK.
    virtual bool EditOptions(QWidget *owner, TOptionsValues &values) = 0;
    virtual void ShowAbout(QWidget *owner) = 0;
};

} // namespace tarvin
