#pragma once

#include <QString>

namespace tarvin {

// The per-user application data folder: $XDG_CONFIG_HOME (default ~/.config), the company
// name and the product name, with a trailing "/". Computed once per process; not created.
QString AppDataFolder();
// The same, computed afresh from the environment (for tests and for the first computation).
QString ComputeAppDataFolder();

QString ConfigIniPath();  // "CONFIG.INI"
QString FoldersDatPath(); // "Folders.DAT"
QString ConvertLogPath(); // "CVTDATES.LOG"

// The user's configuration folder: $XDG_CONFIG_HOME when set and absolute, else ~/.config.
QString UserConfigFolder();

// Creates the folder and any missing parents; true when it exists afterwards.
bool ForceDirectories(const QString &path);

} // namespace tarvin
