#include "StandInGroupWise.h"

#include "mail/GroupWiseCommander.h"
#include "mail/GroupWiseCommands.h"
#include "util/Error.h"

#include "util/TestPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace tarvin;
using namespace tarvin::testing;

namespace {

class GroupWiseCommanderTest : public ::testing::Test {
protected:
    QTemporaryDir temp;
    QString socketPath() const { return temp.path() + "/GroupWiseCommander"; }
};

} // namespace

TEST_F(GroupWiseCommanderTest, SendsCommandsAndReturnsStatusAndResult) {
    TStandInGroupWise client(socketPath());
    ASSERT_TRUE(client.Listen());
    client.Answers[EnvUserIDCommand()] = {1, "jdoe"};
    client.Answers[ItemIsValidCommand("4A1B")] = {1, "True"};
    EXPECT_TRUE(IsGroupWiseRunning(socketPath()));

    TGroupWiseCommander commander(socketPath());
    QString result;
    EXPECT_EQ(commander.Execute(EnvUserIDCommand(), result), 1);
    EXPECT_EQ(result, "jdoe");
    const TGWReply valid = commander.Execute(ItemIsValidCommand("4A1B"));
    EXPECT_TRUE(valid.Succeeded());
    EXPECT_TRUE(GWResultToBool(valid.Result));

    // Long, multi-line, non-Latin text passes unchanged.
    const QString body = QString("Grüße, \"Jürgen\" – ") + QString(200000, 'x') + "\r\nEnd €";
    EXPECT_EQ(commander.Execute(ItemSetTextCommand(tfMessage, body), result), 1);
    EXPECT_EQ(result, "");
    EXPECT_EQ(client.Commands, QStringList({"EnvUserID(1;0)", "ItemIsValid(\"4A1B\")",
                                            ItemSetTextCommand(tfMessage, body)}));
    EXPECT_EQ(client.Connections, 2); // the running check, then one for the commander
}

TEST_F(GroupWiseCommanderTest, FailureStatusCarriesTheReason) {
    TStandInGroupWise client(socketPath());
    ASSERT_TRUE(client.Listen());
    client.Answers[EnvUserIDCommand()] = {0, "No user is logged in"};
    client.Answers[ItemOpenCommand("gone")] = {-3, "Item not found"};
    TGroupWiseCommander commander(socketPath());

    const TGWReply user = commander.Execute(EnvUserIDCommand());
    EXPECT_FALSE(user.Succeeded());
    try {
        CheckGWReply(user, "TSendMailHelper", "GetUserID");
        ADD_FAILURE() << "failure not raised";
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), "TSendMailHelper.GetUserID: No user is logged in");
    }
    QString result;
    EXPECT_EQ(commander.Execute(ItemOpenCommand("gone"), result), -3);
    EXPECT_EQ(result, "Item not found");
    EXPECT_NO_THROW(
        CheckGWReply(commander.Execute(NewMailCommand()), "TSendMailHelper", "ExecuteNative"));
}

TEST_F(GroupWiseCommanderTest, NotRunning) {
    EXPECT_FALSE(IsGroupWiseRunning(socketPath()));
    TGroupWiseCommander commander(socketPath());
    QString result;
    EXPECT_EQ(commander.Execute(NewMailCommand(), result), 0);
    EXPECT_EQ(result, "The GroupWise client is not running.");

    // A socket left behind by a client that ended refuses connections.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(socketPath());
    ASSERT_LT(size_t(path.size()), sizeof(address.sun_path));
    memcpy(address.sun_path, path.constData(), path.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
    ::close(fd);
    EXPECT_FALSE(IsGroupWiseRunning(socketPath()));
    EXPECT_EQ(commander.Execute(NewMailCommand(), result), 0);
    EXPECT_EQ(result, "The GroupWise client is not running.");
}

TEST_F(GroupWiseCommanderTest, LostAndGarbledAnswers) {
    TStandInGroupWise client(socketPath());
    ASSERT_TRUE(client.Listen());
    TGroupWiseCommander commander(socketPath());
    QString result;

    client.Mode = TStandInGroupWise::Behaviour::HangUp;
    EXPECT_EQ(commander.Execute(NewMailCommand(), result), 0);
    EXPECT_EQ(result, "The GroupWise client closed the connection without answering.");

    client.Mode = TStandInGroupWise::Behaviour::Garbage;
    EXPECT_EQ(commander.Execute(NewMailCommand(), result), 0);
    EXPECT_EQ(result, "The GroupWise client sent an answer that cannot be read.");

    client.Mode = TStandInGroupWise::Behaviour::Silent;
    commander.SetTimeout(300);
    EXPECT_EQ(commander.Execute(NewMailCommand(), result), 0);
    EXPECT_EQ(result, "The GroupWise client did not answer within 0.3 seconds.");

    // Each failure dropped the connection; the next command starts afresh and works.
    client.Mode = TStandInGroupWise::Behaviour::Answer;
    client.Default = {1, "done"};
    EXPECT_EQ(commander.Execute(ItemForwardCommand(), result), 1);
    EXPECT_EQ(result, "done");
    EXPECT_EQ(client.Connections, 4);
    EXPECT_EQ(client.Commands.size(), 4);
}

TEST_F(GroupWiseCommanderTest, SocketLiesInThePrivateTemporaryFolder) {
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(temp.path()));
    EXPECT_EQ(GroupWiseSocketPath(), temp.path() + "/tarvin/GroupWiseCommander");
    EXPECT_FALSE(IsGroupWiseRunning());
    {
        TStandInGroupWise client(GroupWiseSocketPath());
        ASSERT_TRUE(client.Listen());
        EXPECT_TRUE(IsGroupWiseRunning());
        TGroupWiseCommander commander;
        EXPECT_TRUE(commander.Execute(NewMailCommand()).Succeeded());
        EXPECT_EQ(client.Commands, QStringList({"NewMail()"}));
    }
    if (saved.isNull())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", saved);
}

TEST_F(GroupWiseCommanderTest, InstalledMeansAnExecutableOnPath) {
    const QByteArray savedPath = qgetenv("PATH");
    const QString bin = temp.path() + "/bin";
    ASSERT_TRUE(QDir().mkpath(bin));
    qputenv("PATH", QFile::encodeName(bin));
    EXPECT_FALSE(IsGroupWiseInstalled());

    QFile program(bin + "/grpwise");
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write("#!/bin/sh\n");
    program.close();
    EXPECT_FALSE(IsGroupWiseInstalled()); // not executable
    program.setPermissions(program.permissions() | QFile::ExeOwner);
    EXPECT_TRUE(IsGroupWiseInstalled());
    qputenv("PATH", QFile::encodeName("/nonexistent:" + temp.path() + ":" + bin));
    EXPECT_TRUE(IsGroupWiseInstalled());
    qputenv("PATH", savedPath);
}
