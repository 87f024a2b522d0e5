#pragma once

#include <QString>

namespace tarvin {

class TIniFile;

// The mail settings of "CONFIG.INI", section "Send Mail".
class TConfig {
public:
    TConfig();

    bool IncludeViewerTrailer;
    QString SubjectForward;
    QString SubjectReply;
    QString ViewerTrailer;

    void LoadFromIni(const TIniFile &ini);
    void SaveToIni(TIniFile &ini) const;
};

// The process-wide settings object, created on first use.
TConfig &AppConfig();

} // namespace tarvin
