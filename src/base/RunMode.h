#pragma once

#include <QStringList>

namespace tarvin {

enum TRunMode { rmNone, rmViewer, rmConvert, rmExportPdf };

// Start-up state, set once from the command line.
struct TStartupOptions {
    TRunMode Mode = rmNone;
    bool Silent = false;
    bool Recursive = false;
    bool Utc = false;
    QStringList Folders;  // arguments that are not switches, in order, as given
    QString OutputFolder; // "/O": where "/E:PDF" writes
};

TRunMode RunMode();
bool SilentFlag();
bool RecursiveOption();
bool UtcOption();
QStringList FolderList();

const TStartupOptions &StartupOptions();
void SetStartupOptions(const TStartupOptions &options);

} // namespace tarvin
