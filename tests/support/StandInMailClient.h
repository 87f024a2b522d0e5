#pragma once

#include "support/Wait.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtGlobal>

namespace tarvin::testing {

// A recording stand-in for xdg-email, first on PATH for its lifetime. When run it copies each
// "--attach" file as it finds it (attach1, attach2, ...), then writes its arguments (each
// followed by a NUL byte) to "args"; with an exit status set it prints the error text to
// standard error and ends with that status.
class TStandInMailClient {
public:
    TStandInMailClient() : m_oldPath(qgetenv("PATH")) {
        const QString bin = m_dir.filePath(QStringLiteral("bin"));
        QDir().mkpath(bin);
        const QString record = m_dir.filePath(QStringLiteral("record"));
        QDir().mkpath(record);
        m_record = record + QLatin1Char('/');
        QFile script(bin + QStringLiteral("/xdg-email"));
        script.open(QIODevice::WriteOnly);
        script.write(QStringLiteral("#!/bin/sh\n"
                                    "r='%1'\n"
                                    "prev=; n=0\n"
                                    "for a in \"$@\"; do\n"
                                    "  if [ \"$prev\" = --attach ]; then n=$((n+1)); "
                                    "cp -- \"$a\" \"${r}attach$n\"; fi\n"
                                    "  prev=$a\n"
                                    "done\n"
                                    "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > "
                                    "\"${r}args.tmp\"\n"
                                    "mv \"${r}args.tmp\" \"${r}args\"\n"
                                    "if [ -f \"${r}status\" ]; then cat \"${r}errtext\" >&2; "
                                    "exit \"$(cat \"${r}status\")\"; fi\n"
                                    "exit 0\n")
                         .arg(m_record)
                         .toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", bin.toLocal8Bit() + ':' + m_oldPath);
    }
    ~TStandInMailClient() { qputenv("PATH", m_oldPath); }

    // Makes the desktop settings of this test process a private set in which a program is the
    // default handler of "mailto" links and nothing of the machine's own configuration counts.
    // Call it before anything looks up desktop applications (they are read once per process).
    static void InstallMailtoHandler() {
        static QTemporaryDir xdg;
        const QString root = xdg.path();
        auto write = [](const QString &path, const QByteArray &bytes) {
            QDir().mkpath(QFileInfo(path).absolutePath());
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            file.write(bytes);
        };
        write(root + QStringLiteral("/config/mimeapps.list"),
              "[Default Applications]\nx-scheme-handler/mailto=standin-mail.desktop\n");
        write(root + QStringLiteral("/data/applications/standin-mail.desktop"),
              "[Desktop Entry]\nType=Application\nName=Stand-in Mail\nExec=/bin/true %u\n"
              "MimeType=x-scheme-handler/mailto;\n");
        qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", (root + QStringLiteral("/data")).toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", (root + QStringLiteral("/none")).toLocal8Bit());
        qputenv("XDG_DATA_DIRS", (root + QStringLiteral("/none")).toLocal8Bit());
    }

    // The next run ends with this status, printing the text to standard error.
    void FailWith(int status, const QByteArray &errorText) {
        write(QStringLiteral("errtext"), errorText);
        write(QStringLiteral("status"), QByteArray::number(status));
    }
    bool WaitForRun(int msecs = 20000) const {
        return WaitFor([this] { return QFile::exists(m_record + QStringLiteral("args")); }, msecs);
    }
    // A file of the record ("args", "attach1", ...), to remove it before another run.
    QString RecordPath(const QString &name) const { return m_record + name; }
    bool HasRun() const { return QFile::exists(m_record + QStringLiteral("args")); }
    QStringList Arguments() const {
        QStringList arguments;
        QByteArray bytes = read(QStringLiteral("args"));
        if (bytes.endsWith('\0'))
            bytes.chop(1);
        if (bytes.isEmpty())
            return arguments;
        for (const QByteArray &argument : bytes.split('\0'))
            arguments << QString::fromUtf8(argument);
        return arguments;
    }
    // The content of the n-th attachment (from 1) as it was when the stand-in ran.
    QByteArray Attachment(int n) const { return read(QStringLiteral("attach%1").arg(n)); }
    // The value after the first occurrence of `option`, or "".
    QString Value(const QString &option) const {
        const QStringList arguments = Arguments();
        const qsizetype at = arguments.indexOf(option);
        return at >= 0 && at + 1 < arguments.size() ? arguments.at(at + 1) : QString();
    }
    // All values given with `option`, in order.
    QStringList Values(const QString &option) const {
        const QStringList arguments = Arguments();
        QStringList values;
        for (qsizetype i = 0; i + 1 < arguments.size(); ++i) {
            if (arguments.at(i) == option)
                values << arguments.at(++i);
        }
        return values;
    }

private:
    void write(const QString &name, const QByteArray &bytes) const {
        QFile file(m_record + name);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    QByteArray read(const QString &name) const {
        QFile file(m_record + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    QString m_record;
    QByteArray m_oldPath;
};

} // namespace tarvin::testing
