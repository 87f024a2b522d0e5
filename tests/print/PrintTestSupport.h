#pragma once

#include "print/ui/MessagePrinter.h"
#include "support/Wait.h"

#include <QProcess>
#include <QStandardPaths>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <gtest/gtest.h>

namespace tarvin::printtest {

// Runs a script in the application's world of the page and waits for its result.
inline QVariant RunScript(QWebEnginePage *page, const QString &script) {
    QVariant result;
    bool done = false;
    page->runJavaScript(script, QWebEngineScript::ApplicationWorld, [&](const QVariant &value) {
        result = value;
        done = true;
    });
    EXPECT_TRUE(testing::WaitFor([&] { return done; }, 20000)) << script.toStdString();
    return result;
}

// Shows the window (not modally) and waits until the print document is built.
inline bool ShowAndBuild(TfrmMessagePrinter &printer) {
    bool built = false, ok = false;
    auto connection =
        QObject::connect(&printer, &TfrmMessagePrinter::DocumentBuilt, [&](bool success) {
            built = true;
            ok = success;
        });
    printer.show();
    testing::WaitFor([&] { return built; }, 30000);
    QObject::disconnect(connection);
    return built && ok;
}

// Prints and waits for the print command to finish; the target it printed to.
inline QString PrintAndWait(TfrmMessagePrinter &printer) {
    bool finished = false;
    QString target;
    auto connection =
        QObject::connect(&printer, &TfrmMessagePrinter::PrintFinished, [&](const QString &where) {
            finished = true;
            target = where;
        });
    printer.PrintAction()->trigger();
    EXPECT_TRUE(testing::WaitFor([&] { return finished; }, 30000));
    QObject::disconnect(connection);
    return target;
}

// The text of a PDF file as pdftotext reads it (layout kept); empty when it cannot.
inline QString PdfText(const QString &path) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!process.waitForFinished(30000))
        return QString();
    // Ligatures ("fi") as their letters.
    return QString::fromUtf8(process.readAllStandardOutput())
        .normalized(QString::NormalizationForm_KC);
}

} // namespace tarvin::printtest
