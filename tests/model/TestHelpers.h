#pragma once

#include "base/Error.h"
#include "model/GWMessage.h"
#include "support/QtPrinters.h"

#include <QString>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace tarvin {

inline QString DataPath(const QString &name) {
    return QStringLiteral(TARVIN_TEST_DATA_DIR "/") + name;
}

inline std::unique_ptr<TGWMessage> LoadData(const QString &name) {
    auto msg = std::make_unique<TGWMessage>();
    msg->LoadFromFile(DataPath(name));
    return msg;
}

// The message of the Error raised by `action`, or "<no error>".
inline QString ErrorOf(const std::function<void()> &action) {
    try {
        action();
    } catch (const Error &e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

inline QString LoadError(const QString &path) {
    return ErrorOf([&] {
        TGWMessage msg;
        msg.LoadFromFile(path);
    });
}

inline QString LoadXmlError(const QByteArray &xml) {
    return ErrorOf([&] {
        TGWMessage msg;
        msg.LoadFromXml(QString::fromUtf8(xml));
    });
}

} // namespace tarvin
