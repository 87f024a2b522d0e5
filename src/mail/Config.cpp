#include "mail/Config.h"

#include "base/IniFile.h"
#include "base/Settings.h"

namespace tarvin {

TConfig::TConfig()
    : IncludeViewerTrailer(Setting::SendMailIncludeViewerTrailer.Default.toBool()),
      SubjectForward(Setting::SendMailSubjectForward.Default.toString()),
      SubjectReply(Setting::SendMailSubjectReply.Default.toString()),
      ViewerTrailer(Setting::SendMailViewerTrailer.Default.toString()),
      LoadRemoteContent(Setting::ViewerLoadRemoteContent.Default.toBool()) {}

void TConfig::LoadFromIni(const TIniFile &ini) {
    IncludeViewerTrailer = ReadBoolSetting(ini, Setting::SendMailIncludeViewerTrailer);
    SubjectForward = ReadTextSetting(ini, Setting::SendMailSubjectForward);
    SubjectReply = ReadTextSetting(ini, Setting::SendMailSubjectReply);
    ViewerTrailer = ReadTextSetting(ini, Setting::SendMailViewerTrailer);
    LoadRemoteContent = ReadBoolSetting(ini, Setting::ViewerLoadRemoteContent);
}

void TConfig::SaveToIni(TIniFile &ini) const {
    WriteTextSetting(ini, Setting::SendMailSubjectForward, SubjectForward);
    WriteTextSetting(ini, Setting::SendMailSubjectReply, SubjectReply);
    WriteTextSetting(ini, Setting::SendMailViewerTrailer, ViewerTrailer);
    WriteBoolSetting(ini, Setting::SendMailIncludeViewerTrailer, IncludeViewerTrailer);
    WriteBoolSetting(ini, Setting::ViewerLoadRemoteContent, LoadRemoteContent);
}

TConfig &AppConfig() {
    static TConfig config;
    return config;
}

} // namespace tarvin
