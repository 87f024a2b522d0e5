#include "explorer/FolderViewStore.h"

#include "base/Error.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace tarvin {

namespace {
const QString kViews = QStringLiteral("views");
const QString kExpanded = QStringLiteral("expanded");
const QString kSelected = QStringLiteral("selected");
const QString kFocused = QStringLiteral("focused");
const QString kTop = QStringLiteral("top");
} // namespace

TFolderViews LoadFolderViews(const QString &fileName) {
    TFolderViews views;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return views;
    // The file is small; anything larger than a few megabytes is not ours.
    if (file.size() > 16 * 1024 * 1024)
        return views;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    const QJsonObject all = document.object().value(kViews).toObject();
    for (auto it = all.begin(); it != all.end(); ++it) {
        const QJsonObject entry = it.value().toObject();
        TFolderView view;
        for (const QJsonValue &folder : entry.value(kExpanded).toArray())
            if (folder.isString())
                view.Expanded.append(folder.toString());
        view.Selected = entry.value(kSelected).toString();
        view.Focused = entry.value(kFocused).toString();
        view.Top = entry.value(kTop).toString();
        views.insert(it.key(), view);
    }
    return views;
}

void SaveFolderViews(const QString &fileName, const TFolderViews &views) {
    QJsonObject all;
    for (auto it = views.begin(); it != views.end(); ++it) {
        QJsonObject entry;
        entry.insert(kExpanded, QJsonArray::fromStringList(it->Expanded));
        entry.insert(kSelected, it->Selected);
        entry.insert(kFocused, it->Focused);
        entry.insert(kTop, it->Top);
        all.insert(it.key(), entry);
    }
    QJsonObject root;
    root.insert(kViews, all);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(QJsonDocument(root).toJson(QJsonDocument::Indented)) < 0 || !file.commit())
        throw Error(QStringLiteral("Cannot create file %1").arg(fileName));
}

} // namespace tarvin
