#include "explorer/FolderDateCheck.h"

#include "explorer/MessageFolderReader.h"
#include "util/NativePath.h"

#include <atomic>

namespace tarvin {

namespace {
// Stops the listing at the first message file.
struct TFoundOne {};
} // namespace

bool FolderHasMessageFiles(const QString &folder) {
    std::atomic<bool> cancel{false};
    bool found = false;
    try {
        ReadMessageFolder(
            EncodeNativePath(folder), cancel,
            [&](TMessageRows &&rows) {
                if (!rows.isEmpty()) {
                    found = true;
                    cancel = true;
                }
            },
            1);
    } catch (...) {
        return found;
    }
    return found;
}

bool ShouldAskToConvert(bool prompted, const TFolderDateFacts &facts, bool promptToConvert) {
    if (!prompted)
        return true;
    return !facts.Converted && facts.HasMessageFiles && promptToConvert;
}

TDateCheckOutcome DateCheckOutcome(bool prompted, const TFolderDateFacts &facts, int warnings,
                                   bool ran) {
    if (!facts.HasMessageFiles || (facts.Converted && warnings == 0))
        return {TDateWarning::Hidden, !prompted};
    if (ran)
        return {TDateWarning::Problems, false};
    if (prompted)
        return {TDateWarning::MayBeWrong, false};
    return {TDateWarning::Unchanged, false};
}

QString DateWarningText(TDateWarning warning) {
    switch (warning) {
    case TDateWarning::Problems:
        return QStringLiteral("Convert Dates: there were problems while converting this folder");
    case TDateWarning::MayBeWrong:
        return QStringLiteral("The Date column may display incorrect dates for this folder");
    default:
        return {};
    }
}

} // namespace tarvin
