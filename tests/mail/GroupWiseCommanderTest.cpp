#include "StandInGroupWise.h"

#include "base/Error.h"
#include "mail/GroupWiseCommander.h"
#include "mail/GroupWiseCommands.h"

#include "support/Wait.h"
#include "support/QtPrinters.h"

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
    client.SetAnswer(EnvUserIDCommand(), {1, "jdoe"});
    client.SetAnswer(ItemIsValidCommand("4A1B"), {1, "True"});
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
    EXPECT_EQ(client.Commands(), QStringList({"EnvUserID(1;0)", "ItemIsValid(\"4A1B\")",
                                              ItemSetTextCommand(tfMessage, body)}));
    EXPECT_EQ(client.Connections(), 2); // the running check, then one for the commander
}

TEST_F(GroupWiseCommanderTest, FailureStatusCarriesTheReason) {
    TStandInGroupWise client(socketPath());
    ASSERT_TRUE(client.Listen());
    client.SetAnswer(EnvUserIDCommand(), {0, "No user is logged in"});
    client.SetAnswer(ItemOpenCommand("gone"), {-3, "Item not found"});
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

    client.SetMode(TStandInGroupWise::Behaviour::HangUp);
    EXPECT_EQ(commander.Execute(NewMailCommand(), result), 0);
    EXPECT_EQ(result, "The GroupWise client closed the connection without answering.");

    client.SetMode(TStandInGroupWise::Behaviour::Garbage);
    EXPECT_EQ(commander.Execute(NewMailCommand(), result), 0);
    EXPECT_EQ(result, "The GroupWise client sent an answer that cannot be read.");

    client.SetMode(TStandInGroupWise::Behaviour::Silent);
    commander.SetTimeout(300);
    EXPECT_EQ(commander.Execute(NewMailCommand(), result), 0);
    EXPECT_EQ(result, "The GroupWise client did not answer within 0.3 seconds.");

    // Each failure dropped the connection; the next command starts afresh and works.
    client.SetMode(TStandInGroupWise::Behaviour::Answer);
    client.SetDefault({1, "done"});
    EXPECT_EQ(commander.Execute(ItemForwardCommand(), result), 1);
    EXPECT_EQ(result, "done");
    EXPECT_EQ(client.Connections(), 4);
    EXPECT_EQ(client.Commands().size(), 4);
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
        EXPECT_EQ(client.Commands(), QStringList({"NewMail()"}));
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

namespace {

// Collects a channel's answers in the order they arrive.
struct AnswerLog {
    explicit AnswerLog(TGroupWiseChannel &channel) {
        QObject::connect(&channel, &TGroupWiseChannel::Answered,
                         [this](quint64 id, const TGWReply &reply) {
                             Ids.push_back(id);
                             Replies.push_back(reply);
                         });
    }
    std::vector<quint64> Ids;
    std::vector<TGWReply> Replies;
};

} // namespace

TEST_F(GroupWiseCommanderTest, ChannelAnswersQueuedCommandsInOrderWithoutWaiting) {
    TStandInGroupWise client(socketPath());
    ASSERT_TRUE(client.Listen());
    client.SetAnswer(EnvUserIDCommand(), {1, "jdoe"});
    client.SetAnswer(ItemOpenCommand("gone"), {-3, "Item not found"});

    TGroupWiseChannel channel(socketPath());
    AnswerLog log(channel);
    const quint64 first = channel.Send(EnvUserIDCommand());
    const quint64 second = channel.Send(ItemOpenCommand("gone"));
    const quint64 third = channel.Send(NewMailCommand());
    // Nothing is answered before the caller is back in the event loop.
    EXPECT_TRUE(log.Ids.empty());
    EXPECT_EQ(channel.Pending(), 3);
    ASSERT_TRUE(WaitFor([&] { return log.Ids.size() == 3; }));
    EXPECT_EQ(log.Ids, (std::vector<quint64>{first, second, third}));
    EXPECT_EQ(log.Replies[0].Result, "jdoe");
    EXPECT_EQ(log.Replies[1].Status, -3);
    EXPECT_TRUE(log.Replies[2].Succeeded());
    EXPECT_EQ(client.Commands(),
              QStringList({"EnvUserID(1;0)", "ItemOpen(\"gone\")", "NewMail()"}));
    EXPECT_EQ(client.Connections(), 1);
}

TEST_F(GroupWiseCommanderTest, ChannelFailuresDropTheConnectionAndTheNextCommandReconnects) {
    TGroupWiseChannel channel(socketPath());
    AnswerLog log(channel);
    channel.Send(NewMailCommand());
    ASSERT_TRUE(WaitFor([&] { return log.Replies.size() == 1; }));
    EXPECT_EQ(log.Replies[0].Result, "The GroupWise client is not running.");

    TStandInGroupWise client(socketPath());
    ASSERT_TRUE(client.Listen());
    client.SetMode(TStandInGroupWise::Behaviour::HangUp);
    channel.Send(NewMailCommand());
    ASSERT_TRUE(WaitFor([&] { return log.Replies.size() == 2; }));
    EXPECT_EQ(log.Replies[1].Result,
              "The GroupWise client closed the connection without answering.");

    client.SetMode(TStandInGroupWise::Behaviour::Silent);
    channel.SetTimeout(300);
    channel.Send(NewMailCommand());
    ASSERT_TRUE(WaitFor([&] { return log.Replies.size() == 3; }));
    EXPECT_EQ(log.Replies[2].Result, "The GroupWise client did not answer within 0.3 seconds.");

    client.SetMode(TStandInGroupWise::Behaviour::Garbage);
    channel.Send(NewMailCommand());
    ASSERT_TRUE(WaitFor([&] { return log.Replies.size() == 4; }));
    EXPECT_EQ(log.Replies[3].Result, "The GroupWise client sent an answer that cannot be read.");

    client.SetMode(TStandInGroupWise::Behaviour::Answer);
    client.SetDefault({1, "done"});
    channel.Send(ItemForwardCommand());
    ASSERT_TRUE(WaitFor([&] { return log.Replies.size() == 5; }));
    EXPECT_EQ(log.Replies[4].Result, "done");
    EXPECT_EQ(client.Connections(), 4);
}

TEST_F(GroupWiseCommanderTest, ChannelMayBeDeletedByWhoeverTakesTheAnswer) {
    TStandInGroupWise client(socketPath());
    ASSERT_TRUE(client.Listen());
    auto *channel = new TGroupWiseChannel(socketPath());
    int answers = 0;
    QObject::connect(channel, &TGroupWiseChannel::Answered, [&](quint64, const TGWReply &) {
        ++answers;
        delete channel; // the window that asked closed meanwhile
    });
    channel->Send(NewMailCommand());
    channel->Send(NewMailCommand());
    ASSERT_TRUE(WaitFor([&] { return answers == 1; }));
    Settle();
    EXPECT_EQ(answers, 1);
    EXPECT_EQ(client.Commands(), QStringList({"NewMail()"}));
}
