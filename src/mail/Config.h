#pragma once

#include <QString>

namespace tarvin {

class TIniFile;

// The mail settings of "CONFIG.INI" (section "Send Mail") and the viewer's (section "Viewer").
class TConfig {
public:
    TConfig();

    bool IncludeViewerTrailer;
    QString SubjectForward;
    QString SubjectReply;
    QString ViewerTrailer;
    // Web pictures and media of HTML bodies load in every message.
    bool LoadRemoteContent;

    void LoadFromIni(const TIniFile &ini);
    void SaveToIni(TIniFile &ini) const;
};

// The process-wide settings object, created on first use.
TConfig &AppConfig();

} // namespace tarvin
