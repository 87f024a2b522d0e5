#pragma once

#include "base/Error.h"
#include "view/ui/FrameDesktop.h"

#include "support/Wait.h"

#include <functional>
#include <vector>

namespace tarvin::viewtest {

using tarvin::testing::Settle;
using tarvin::testing::WaitFor;

// A desktop that records what the viewer asks of it instead of starting programs or
// showing dialogs.
struct RecordingDesktop {
    std::vector<QString> Opened, OpenedInEditor, Errors;
    std::vector<TSaveDialogRequest> SaveRequests;
    QString SaveAnswer;   // the path the save dialog "chooses"; "" cancels
    QString FailOpenWith; // when set, opening raises an error with this text

    TFrameDesktop Desktop() {
        TFrameDesktop desktop;
        desktop.OpenFile = [this](const QString &path) {
            if (!FailOpenWith.isEmpty())
                throw Error(FailOpenWith);
            Opened.push_back(path);
        };
        desktop.OpenInTextEditor = [this](const QString &path) { OpenedInEditor.push_back(path); };
        desktop.AskSaveFileName = [this](QWidget *, const TSaveDialogRequest &request) {
            SaveRequests.push_back(request);
            return SaveAnswer;
        };
        desktop.ShowError = [this](QWidget *, const QString &, const QString &text) {
            Errors.push_back(text);
        };
        return desktop;
    }
};

} // namespace tarvin::viewtest
