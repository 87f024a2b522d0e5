#include "mail/GroupWiseCommands.h"
#include "base/Error.h"
#include "util/NumberFormat.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace tarvin;

TEST(GroupWiseCommands, CommandTexts) {
    EXPECT_EQ(EnvUserIDCommand(), "EnvUserID(1;0)");
    EXPECT_EQ(ItemIsValidCommand("4A1B.dom.po.100.1"), "ItemIsValid(\"4A1B.dom.po.100.1\")");
    EXPECT_EQ(ItemOpenCommand("4A1B"), "ItemOpen(\"4A1B\")");
    EXPECT_EQ(ItemMessageIDFromViewCommand(), "ItemMessageIDFromView()");
    EXPECT_EQ(ItemReplyCommand(rtSender, true), "ItemReply(1;1;\"X00\")");
    EXPECT_EQ(ItemReplyCommand(rtAll, false), "ItemReply(7;0;\"X00\")");
    EXPECT_EQ(ItemForwardFlatCommand(), "ItemForwardFlat()");
    EXPECT_EQ(ItemForwardCommand(), "ItemForward()");
    EXPECT_EQ(NewMailCommand(), "NewMail()");
    EXPECT_EQ(ItemSetTextCommand(tfSubject, "Re: budget"), "ItemSetText(\"X00\";9;\"Re: budget\")");
    EXPECT_EQ(ItemSetTextCommand(tfTo, ""), "ItemSetText(\"X00\";0;\"\")");
    EXPECT_EQ(ItemAttachmentAddCommand("/tmp/tarvin/_vwr0000/a;b).txt"),
              "ItemAttachmentAdd(\"X00\";114;\"/tmp/tarvin/_vwr0000/a;b).txt\")");
}

TEST(GroupWiseCommands, InnerQuotesAreDoubled) {
    EXPECT_EQ(QuoteGWText("He said \"yes\""), "\"He said \"\"yes\"\"\"");
    EXPECT_EQ(QuoteGWText("\""), "\"\"\"\"");
    EXPECT_EQ(ItemSetTextCommand(tfMessage, "Line \"1\"\r\nLine 2"),
              "ItemSetText(\"X00\";10;\"Line \"\"1\"\"\r\nLine 2\")");
    EXPECT_EQ(ItemSetTextCommand(tfCC, "\"Doe, Jane\" <jane@example.org>"),
              "ItemSetText(\"X00\";2;\"\"\"Doe, Jane\"\" <jane@example.org>\")");
    // Identifiers are quoted the same way, so none can end the argument early.
    EXPECT_EQ(ItemIsValidCommand("id\");Quit(\""), "ItemIsValid(\"id\"\");Quit(\"\"\")");
    EXPECT_EQ(GWCommand("Any", {3, QString("x"), -1}), "Any(3;\"x\";-1)");
}

TEST(GroupWiseCommands, BooleanResults) {
    EXPECT_TRUE(GWResultToBool("1"));
    EXPECT_TRUE(GWResultToBool("-1"));
    EXPECT_TRUE(GWResultToBool("2.5"));
    EXPECT_FALSE(GWResultToBool("0"));
    EXPECT_FALSE(GWResultToBool(" 0 "));
    EXPECT_TRUE(GWResultToBool("True"));
    EXPECT_TRUE(GWResultToBool("tRUE"));
    EXPECT_FALSE(GWResultToBool("FALSE"));
    for (const QString &text : {QString("yes"), QString(""), QString("1x"), QString("nan")}) {
        try {
            GWResultToBool(text);
            ADD_FAILURE() << "accepted " << text.toStdString();
        } catch (const ConvertError &e) {
            EXPECT_EQ(e.message(), QString("'%1' is not a valid boolean value").arg(text));
        }
    }
}

TEST(GroupWiseCommands, BooleanNumbersUseTheDecimalSeparator) {
    const QChar saved = DecimalSeparator();
    SetDecimalSeparator(',');
    EXPECT_TRUE(GWResultToBool("0,5"));
    EXPECT_FALSE(GWResultToBool("0,0"));
    EXPECT_THROW(GWResultToBool("0.5"), ConvertError);
    SetDecimalSeparator(saved);
}
