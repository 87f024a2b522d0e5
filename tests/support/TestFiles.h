#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace tarvin::testing {

// Writes a file for a test, making its folder first; returns the path. A file that cannot be
// written fails the test.
inline QString WriteTestFile(const QString &path, const QByteArray &data,
                             QFile::Permissions permissions = QFile::ReadOwner |
                                                              QFile::WriteOwner) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(data);
    file.close();
    file.setPermissions(permissions);
    return path;
}

} // namespace tarvin::testing
