#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace tarvin::testing {

// The Qt libraries that need a display (widgets, drawing, the HTML engine) among those the
// dynamic loader reports loading when a program runs with LD_DEBUG=files.
inline QStringList DisplayLibrariesLoaded(const QString &loaderReport) {
    static const QRegularExpression file(
        QStringLiteral(R"(file=(\S*(?:Qt6Gui|Qt6Widgets|Qt6WebEngine\w*|Qt6Quick)\.so\S*))"));
    QStringList names;
    auto matches = file.globalMatch(loaderReport);
    while (matches.hasNext())
        names.append(matches.next().captured(1));
    names.removeDuplicates();
    return names;
}

} // namespace tarvin::testing
