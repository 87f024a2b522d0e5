#pragma once

#include "explorer/ui/ExplorerDialogs.h"

namespace tarvin {

// The explorer's dialogs: "Convert Dates", the wait window, options and the about box.
class TExplorerDialogs : public IExplorerDialogs {
public:
    bool AskConvertDates(QWidget *owner, const QString &displayPath, bool menuLayout, bool &useUtc,
                         bool &convertSubfolders, bool &promptAgain) override;
    std::unique_ptr<IConversionProgress> MakeWaitWindow() override;
    bool EditOptions(QWidget *owner, TOptionsValues &values) override;
    void ShowAbout(QWidget *owner) override;
};

} // namespace tarvin
