#include "base/RunMode.h"

namespace tarvin {

namespace {
TStartupOptions g_options;
}

TRunMode RunMode() {
    return g_options.Mode;
}
bool SilentFlag() {
    return g_options.Silent;
}
bool RecursiveOption() {
    return g_options.Recursive;
}
bool UtcOption() {
    return g_options.Utc;
}
QStringList FolderList() {
    return g_options.Folders;
}

const TStartupOptions &StartupOptions() {
    return g_options;
}
void SetStartupOptions(const TStartupOptions &options) {
    g_options = options;
}

} // namespace tarvin
