#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>

namespace tarvin {

// What the interactive run needs of its wait window.
class IConversionProgress {
public:
    virtual ~IConversionProgress() = default;
    virtual void ShowProgress() = 0;
    virtual void HideProgress() = 0;
    // Processes pending window events, then tells whether the user cancelled.
    virtual bool IsCancelled() = 0;
    // Shows the text and processes pending window events.
    virtual void SetStatusText(const QString &text) = 0;
};

// The explorer's date-conversion state: its preferences and the current run.
struct TConvertDatesInfo {
    int32_t Warnings = 0;             // problems of the current interactive run
    bool PromptToConvert = true;      // offer the conversion for unconverted folders
    bool ConvertSubfolders = true;    // the subfolder choice offered first
    bool IsTimestampUtc = false;      // the UTC choice offered first
    std::unique_ptr<QStringList> Log; // the log of the current run; exists only during it
};

// Converts a folder chosen in the explorer, with the wait window showing each file and
// offering Cancel, and saves the log. `folderPath` is the file-system path, `displayPath`
// what the log shows. `info.Warnings` counts failed files and read-only folders; the caller
// sets it to 0 and gives `info.Log` a new empty list (one is created when missing).
// Returns the result of TMessageConverter::Convert, or nothing when an error escaped it
// (the folder-converted flag then keeps its earlier value). Raises "Cannot create file %s"
// when the log cannot be saved; the wait window is hidden in every case.
std::optional<bool> RunInteractiveConversion(const QString &folderPath, const QString &displayPath,
                                             bool useUtc, bool convertSubfolders,
                                             TConvertDatesInfo &info,
                                             IConversionProgress &progress);
// As above with the log saved to `logPath`.
std::optional<bool> RunInteractiveConversion(const QString &folderPath, const QString &displayPath,
                                             bool useUtc, bool convertSubfolders,
                                             TConvertDatesInfo &info, IConversionProgress &progress,
                                             const QString &logPath);

// The information text the explorer shows after an interactive run with warnings, before it
// opens the log in the text editor.
QString ConversionProblemsMessage();

} // namespace tarvin
