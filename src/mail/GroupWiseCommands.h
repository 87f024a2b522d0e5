#pragma once

#include <QString>

#include <initializer_list>
#include <variant>

namespace tarvin {

// The token commands sent to the GroupWise client, built as text such as
// ItemSetText("X00";10;"He said ""yes"".").

// The identifier GroupWise gives the message being composed.
inline constexpr const char *kGWNewMessageID = "X00";

// Who a reply goes to.
enum TGWReplyTo : int { rtSender = 1, rtAll = 7 };

// The text fields of a new message that ItemSetText fills.
enum TGWTextField : int { tfTo = 0, tfCC = 2, tfSubject = 9, tfMessage = 10 };

// The kind of attachment ItemAttachmentAdd adds: a file.
inline constexpr int kGWAttachFile = 114;

// One argument of a command: a number as it is, or a text in double quotes.
using TGWArgument = std::variant<int, QString>;

// `text` in double quotes, each double quote inside doubled.
QString QuoteGWText(const QString &text);

// The one builder of command texts: name(arg;arg;...), texts quoted.
QString GWCommand(const QString &name, std::initializer_list<TGWArgument> arguments = {});

QString EnvUserIDCommand();                                          // EnvUserID(1;0)
QString ItemIsValidCommand(const QString &messageID);                // ItemIsValid("<id>")
QString ItemOpenCommand(const QString &messageID);                   // ItemOpen("<id>")
QString ItemMessageIDFromViewCommand();                              // ItemMessageIDFromView()
QString ItemReplyCommand(TGWReplyTo replyTo, bool includeMessage);   // ItemReply(7;1;"X00")
QString ItemForwardFlatCommand();                                    // ItemForwardFlat()
QString ItemForwardCommand();                                        // ItemForward()
QString NewMailCommand();                                            // NewMail()
QString ItemSetTextCommand(TGWTextField field, const QString &text); // ItemSetText("X00";9;"..")
QString ItemAttachmentAddCommand(const QString &filePath); // ItemAttachmentAdd("X00";114;"..")

// Reads a boolean result (ItemIsValid): a number, non-zero being true, or "True"/"False" in
// any case. Other text raises ConvertError("'<text>' is not a valid boolean value").
bool GWResultToBool(const QString &result);

} // namespace tarvin
