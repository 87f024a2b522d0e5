#include "TestFolders.h"
#include "base/Console.h"
#include "base/Error.h"
#include "base/VersionInfo.h"
#include "convert/ConverterHelper.h"
#include "convert/InteractiveConversion.h"
#include "convert/MessageConverter.h"
#include "support/RecordingDesktop.h"
#include "util/DateTime.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace tarvin;
using namespace tarvin::test;

namespace {

const TDateTime kJan = EncodeDateTime(2003, 1, 15, 10, 30, 0);

// Time stamps vary; they become "<stamp>". The pattern follows the locale's short date and
// long time formats: each run of format letters stands for a word or number.
QString Unstamped(QString text) {
    static const QRegularExpression stamp = [] {
        const QString format = ShortDateFormat() + QLatin1Char(' ') + LongTimeFormat();
        QString pattern;
        for (qsizetype i = 0; i < format.size();) {
            if (format[i].isLetter()) {
                while (i < format.size() && format[i].isLetter())
                    ++i;
                pattern += QStringLiteral("[\\w.]+");
            } else if (format[i] == QLatin1Char('\'')) { // quoted literal text
                qsizetype end = format.indexOf(QLatin1Char('\''), i + 1);
                if (end < 0)
                    end = format.size();
                pattern += QRegularExpression::escape(format.mid(i + 1, end - i - 1));
                i = end + 1;
            } else {
                pattern += QRegularExpression::escape(format.mid(i, 1));
                ++i;
            }
        }
        return QRegularExpression(pattern);
    }();
    return text.replace(stamp, QStringLiteral("<stamp>"));
}

// Log lines as the file holds them: a message with line breaks is several lines there.
QStringList FileLines(const QStringList &lines) {
    QString text = lines.join(QLatin1Char('\n'));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.split(QLatin1Char('\n'));
}

QStringList Unstamped(const QStringList &lines) {
    QStringList result;
    for (const QString &line : lines)
        result.append(Unstamped(line));
    return result;
}

QString LoadError(const QString &path) {
    try {
        ReadMessageFileDate(path);
    } catch (const Error &e) {
        return e.message();
    }
    return QString();
}

QString Header(const QString &title) {
    return QStringLiteral("<stamp>\t%1 (%2 %3 %4)")
        .arg(title, VersionKey(2), VersionKey(9), VersionKey(4));
}

// Changes the current folder for the life of the object.
class ScopedCurrentFolder {
public:
    explicit ScopedCurrentFolder(const QString &folder) : m_old(QDir::currentPath()) {
        QDir::setCurrent(folder);
    }
    ~ScopedCurrentFolder() { QDir::setCurrent(m_old); }

private:
    QString m_old;
};

class ConversionRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_logPath = Path("config/Halvorn/Tarvin/CVTDATES.LOG");
    }
    QString Path(const QString &name) const { return m_dir.filePath(name); }
    QString MakeFolder(const QString &name) const {
        QDir(m_dir.path()).mkpath(name);
        return Path(name);
    }
    TConverterHelper Helper(bool silent = false) const {
        TConverterHelper helper;
        helper.Silent = silent;
        helper.LogPath = m_logPath;
        return helper;
    }
    QStringList LogFileLines() const {
        const QByteArray bytes = ReadAll(m_logPath);
        EXPECT_TRUE(bytes.endsWith("\r\n"));
        QString text = QString::fromUtf8(bytes);
        text.chop(2);
        EXPECT_FALSE(text.contains(QRegularExpression("[^\r]\n")));
        return Unstamped(text.split("\r\n"));
    }

    QTemporaryDir m_dir;
    QString m_logPath;
};

} // namespace

TEST_F(ConversionRunTest, TwoFoldersFirstFailing) {
    WriteBroken(MakeFolder("first") + "/broken.pml");
    WriteMail(MakeFolder("second") + "/ok.pml", kJan);
    const QString error = LoadError(Path("first/broken.pml"));
    ASSERT_FALSE(error.isEmpty());

    tarvin::testing::TRecordingDesktop console;
    TConverterHelper helper = Helper();
    helper.Run({Path("first"), Path("second")});

    const QStringList expectedLog{
        Header("Convert Dates"),
        "\t\t\tUTC file time is Off",
        "\t\t\tRecursive is Off",
        "<stamp>\tFolder: " + Path("first"),
        "<stamp>\t" + error,
        "<stamp>\t0 messages converted",
        "<stamp>\tFolder: " + Path("second"),
        "<stamp>\t1 message converted",
    };
    EXPECT_EQ(Unstamped(helper.Log), expectedLog);
    EXPECT_EQ(LogFileLines(), FileLines(expectedLog));
    EXPECT_EQ(Unstamped(console.ConsoleOutput),
              Header("Convert Dates") +
                  "\n\t\t\tUTC file time is Off\n\t\t\tRecursive is Off\n\n"
                  "<stamp>\tFolder: " +
                  Path("first") +
                  "\n"
                  "\r<stamp>\t1 message(s)"
                  "\n<stamp>\t" +
                  error +
                  "\n"
                  "\n"
                  "<stamp>\tFolder: " +
                  Path("second") +
                  "\n"
                  "\r<stamp>\t1 message(s)"
                  "\n"
                  "Log file: " +
                  m_logPath +
                  "\n"
                  "Press Enter to continue.");
    EXPECT_EQ(console.ConsoleReads, 1);
    EXPECT_EQ(helper.Warnings, 0);
}

TEST_F(ConversionRunTest, ProgressLineIsRewrittenAndSummaryShownOnlyWithoutFiles) {
    for (int i = 0; i < 3; ++i)
        WriteMail(MakeFolder("three") + QString("/m%1.pml").arg(i), kJan);
    MakeFolder("none");

    tarvin::testing::TRecordingDesktop console;
    TConverterHelper helper = Helper();
    helper.Recursive = true;
    helper.Utc = true;
    helper.Run({Path("three"), Path("none")});
    EXPECT_EQ(helper.FilesSeen, 0); // counted per folder name
    EXPECT_EQ(Unstamped(console.ConsoleOutput),
              Header("Convert Dates") +
                  "\n\t\t\tUTC file time is On\n\t\t\tRecursive is On\n\n"
                  "<stamp>\tFolder: " +
                  Path("three") +
                  "\n"
                  "\r<stamp>\t1 message(s)\r<stamp>\t2 message(s)\r<stamp>\t3 message(s)\n"
                  "<stamp>\tFolder: " +
                  Path("none") +
                  "\n"
                  "<stamp>\t0 messages converted\n"
                  "Log file: " +
                  m_logPath +
                  "\n"
                  "Press Enter to continue.");
    EXPECT_EQ(Unstamped(helper.Log).mid(3),
              (QStringList{"<stamp>\tFolder: " + Path("three"), "<stamp>\t3 messages converted",
                           "<stamp>\tFolder: " + Path("none"), "<stamp>\t0 messages converted"}));
}

TEST_F(ConversionRunTest, WarningTotalCarriesOverToLaterFolders) {
    WriteMail(MakeFolder("locked") + "/r.pml", kJan);
    ASSERT_EQ(chmod(QFile::encodeName(Path("locked/r.pml")).constData(), 0444), 0);
    WriteMail(MakeFolder("clean") + "/c.pml", kJan);

    tarvin::testing::TRecordingDesktop console;
    TConverterHelper helper = Helper();
    helper.Run({Path("locked"), Path("clean")});
    const QString readOnlyLine =
        "<stamp>\tFolder has read-only messages that cannot be converted: " + Path("locked") + "/";
    EXPECT_EQ(Unstamped(helper.Log).mid(3),
              (QStringList{"<stamp>\tFolder: " + Path("locked"), readOnlyLine,
                           "<stamp>\t0 messages converted", "<stamp>\t1 warning",
                           "<stamp>\tFolder: " + Path("clean"), "<stamp>\t1 message converted",
                           "<stamp>\t1 warning"}));
    EXPECT_EQ(helper.Warnings, 1);
    EXPECT_TRUE(Unstamped(console.ConsoleOutput)
                    .contains("<stamp>\tFolder: " + Path("locked") + "\n\n" + readOnlyLine +
                              "\n<stamp>\t0 messages converted\n<stamp>\t1 warning\n"));
}

TEST_F(ConversionRunTest, RelativeAndMissingFoldersAreLoggedAsGiven) {
    WriteMail(MakeFolder("archive/2003") + "/m.pml", kJan);
    ScopedCurrentFolder current(Path("archive"));

    tarvin::testing::TRecordingDesktop console;
    TConverterHelper helper = Helper();
    helper.Run({"2003", "missing", "./2003/"});
    EXPECT_EQ(Unstamped(helper.Log).mid(3),
              (QStringList{"<stamp>\tFolder: 2003", "<stamp>\t1 message converted",
                           "<stamp>\tFolder: missing (not found)", "<stamp>\tFolder: ./2003/",
                           "<stamp>\t1 message converted"}));
    EXPECT_TRUE(TMessageConverter::MarkerExists(Path("archive/2003")));
    EXPECT_DOUBLE_EQ(MTimeAsDateTime(Path("archive/2003/m.pml")), kJan);
    EXPECT_TRUE(
        Unstamped(console.ConsoleOutput).contains("<stamp>\tFolder: missing (not found)\n<stamp>"));
}

TEST_F(ConversionRunTest, SilentRunWritesOnlyTheLog) {
    WriteMail(MakeFolder("a") + "/m.pml", kJan);
    WriteBroken(Path("a/broken.pml"));
    tarvin::testing::TRecordingDesktop console;
    TConverterHelper helper = Helper(true);
    helper.Run({Path("a"), Path("missing")});
    EXPECT_TRUE(console.ConsoleOutput.isEmpty());
    EXPECT_EQ(console.ConsoleReads, 0);
    QStringList log = LogFileLines();
    ASSERT_GE(log.size(), 7);
    EXPECT_EQ(log[3], "<stamp>\tFolder: " + Path("a"));
    EXPECT_EQ(log[log.size() - 2], "<stamp>\t1 message converted");
    EXPECT_EQ(log.last(), "<stamp>\tFolder: " + Path("missing") + " (not found)");
    EXPECT_TRUE(TMessageConverter::MarkerExists(Path("a")));
}

TEST_F(ConversionRunTest, MarkerErrorIsLoggedAndTheRunGoesOn) {
    WriteMail(MakeFolder("blocked") + "/m.pml", kJan);
    MakeFolder("blocked/pmlver.000");
    tarvin::testing::TRecordingDesktop console;
    TConverterHelper helper = Helper();
    helper.Run({Path("blocked")});
    const QString errorLine = "<stamp>\tCannot create file " + Path("blocked") + "/pmlver.000";
    EXPECT_EQ(Unstamped(helper.Log).mid(3),
              (QStringList{"<stamp>\tFolder: " + Path("blocked"), errorLine,
                           "<stamp>\t1 message converted"}));
    EXPECT_TRUE(Unstamped(console.ConsoleOutput)
                    .contains("\r<stamp>\t1 message(s)\n" + errorLine + "\n\nLog file: "));
}

TEST_F(ConversionRunTest, LogThatCannotBeSavedEscapes) {
    WriteMail(MakeFolder("a") + "/m.pml", kJan);
    WriteBytes(Path("config"), "a file where the folder should be");
    tarvin::testing::TRecordingDesktop console;
    TConverterHelper helper = Helper();
    try {
        helper.Run({Path("a")});
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), "Cannot create file " + m_logPath);
    }
    EXPECT_FALSE(console.ConsoleOutput.contains("Log file:"));
    EXPECT_EQ(console.ConsoleReads, 0);
    EXPECT_TRUE(TMessageConverter::MarkerExists(Path("a"))); // the conversion itself happened
}

namespace {

// A wait window stand-in: records texts, cancels after a number of files.
class FakeProgress : public IConversionProgress {
public:
    void ShowProgress() override { ++shown; }
    void HideProgress() override { ++hidden; }
    bool IsCancelled() override { return cancelAfter >= 0 && texts.size() >= cancelAfter; }
    void SetStatusText(const QString &text) override { texts.append(text); }

    int shown = 0, hidden = 0;
    int cancelAfter = -1;
    QStringList texts;
};

} // namespace

TEST_F(ConversionRunTest, InteractiveRunLogsProblemsAsWarnings) {
    const QString folder = MakeFolder("mail");
    WriteMail(folder + "/ok.pml", kJan);
    WriteBroken(folder + "/broken.pml");
    WriteMail(MakeFolder("mail/locked") + "/r.pml", kJan);
    ASSERT_EQ(chmod(QFile::encodeName(Path("mail/locked/r.pml")).constData(), 0444), 0);

    TConvertDatesInfo info;
    info.Log = std::make_unique<QStringList>();
    FakeProgress progress;
    std::optional<bool> result = RunInteractiveConversion(folder + "/", "Archive/mail", true, true,
                                                          info, progress, m_logPath);
    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(*result);
    EXPECT_EQ(info.Warnings, 2);
    EXPECT_EQ(progress.shown, 1);
    EXPECT_EQ(progress.hidden, 1);
    QStringList texts = progress.texts;
    texts.sort();
    EXPECT_EQ(texts, (QStringList{"Message: broken.pml", "Message: ok.pml"}));

    QStringList log = Unstamped(*info.Log);
    ASSERT_EQ(log.size(), 9);
    EXPECT_EQ(log.mid(0, 4),
              (QStringList{Header("Convert Dates utility"), "\t\t\tUTC file time is On",
                           "\t\t\tRecursive is On", "<stamp>\tFolder: Archive/mail"}));
    EXPECT_EQ(log[4], "<stamp>\t" + LoadError(folder + "/broken.pml"));
    EXPECT_EQ(log.mid(5), (QStringList{"<stamp>\tFolder has read-only messages that cannot be "
                                       "converted:",
                                       "\t\t\t" + folder + "/locked/",
                                       "<stamp>\t1 message converted", "<stamp>\t2 warnings"}));
    EXPECT_EQ(LogFileLines(), FileLines(log));
}

TEST_F(ConversionRunTest, InteractiveRunCancelledKeepsWhatWasDone) {
    const QString folder = MakeFolder("mail");
    for (int i = 0; i < 5; ++i) {
        WriteMail(folder + QString("/m%1.pml").arg(i), kJan);
        SetMTimeMarker(folder + QString("/m%1.pml").arg(i));
    }
    TConvertDatesInfo info; // no log yet: the run makes one
    FakeProgress progress;
    progress.cancelAfter = 2;
    std::optional<bool> result =
        RunInteractiveConversion(folder, folder, false, false, info, progress, m_logPath);
    ASSERT_TRUE(result.has_value());
    EXPECT_FALSE(*result);
    EXPECT_EQ(progress.texts.size(), 2);
    int converted = 0;
    for (int i = 0; i < 5; ++i)
        converted += MTimeMSecs(folder + QString("/m%1.pml").arg(i)) != 86400000;
    EXPECT_EQ(converted, 2);
    EXPECT_FALSE(TMessageConverter::MarkerExists(folder));
    ASSERT_TRUE(info.Log);
    EXPECT_EQ(Unstamped(info.Log->last()), "<stamp>\t2 messages converted");
    EXPECT_EQ(info.Warnings, 0);
    EXPECT_EQ(LogFileLines(), FileLines(Unstamped(*info.Log)));
}

TEST_F(ConversionRunTest, InteractiveRunEscapedErrorAndUnsavableLog) {
    const QString folder = MakeFolder("mail");
    WriteMail(folder + "/m.pml", kJan);
    MakeFolder("mail/pmlver.000");
    TConvertDatesInfo info;
    FakeProgress progress;
    std::optional<bool> result =
        RunInteractiveConversion(folder, "mail", false, false, info, progress, m_logPath);
    EXPECT_FALSE(result.has_value()); // the folder-converted flag keeps its value
    EXPECT_EQ(info.Warnings, 0);
    QStringList log = Unstamped(*info.Log);
    EXPECT_EQ(log.mid(4), (QStringList{"Cannot create file " + folder + "/pmlver.000",
                                       "<stamp>\t1 message converted"}));

    // The log cannot be saved: the error reaches the caller, the wait window is hidden.
    QDir(folder).rmdir("pmlver.000");
    WriteBytes(Path("blocked"), "stands where the log's folder should be");
    m_logPath = Path("blocked/Tarvin/CVTDATES.LOG");
    TConvertDatesInfo again;
    FakeProgress progress2;
    EXPECT_THROW(
        RunInteractiveConversion(folder, "mail", false, false, again, progress2, m_logPath), Error);
    EXPECT_EQ(progress2.hidden, 1);
}
