#include "util/FileListMime.h"

#include "util/NativePath.h"

#include <QMimeData>

namespace tarvin {

namespace {

QByteArray fileUri(const QString &path) {
    return QByteArrayLiteral("file://") + EncodeNativePath(path).toPercentEncoding("/");
}

} // namespace

QMimeData *FileListMimeData(const QStringList &paths, bool cut) {
    QByteArray uriList;
    QByteArray gnome = cut ? QByteArrayLiteral("cut") : QByteArrayLiteral("copy");
    QString text;
    for (const QString &path : paths) {
        const QByteArray uri = fileUri(path);
        uriList += uri + "\r\n";
        gnome += '\n' + uri;
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += path;
    }
    auto *data = new QMimeData;
    data->setData(QStringLiteral("text/uri-list"), uriList);
    data->setData(QStringLiteral("x-special/gnome-copied-files"), gnome);
    data->setText(text);
    return data;
}

} // namespace tarvin
