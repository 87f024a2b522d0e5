#pragma once

#include "util/DateTime.h"

#include <QString>
#include <QStringList>

namespace tarvin {

class TGWMessage;

// Texts shown in the header panels, kept free of widgets so they can be checked headless.

// Every CR LF, lone CR and U+2028 becomes a LF.
QString NormalizeLineBreaks(const QString &text);

// The text without leading and trailing white space and control characters.
QString TrimBlanksAndControls(const QString &text);

// One entry of a recipient row: the display name, else the address, else "Not available",
// each trimmed of white space and control characters.
QString RecipientEntryText(const QString &displayName, const QString &address);

// The entries of the message's recipients of a type (0 To, 1 CC, 2 BC), in stored order.
QStringList RecipientEntries(const TGWMessage &message, int recipientType);

// The date label: short date, a blank and the long time; no time at exactly midnight.
// A message without a date (0) shows nothing.
QString HeaderDateText(TDateTime value);

// A task's start or due date: the short date alone; nothing for a missing date (0).
QString HeaderShortDateText(TDateTime value);

// " (1 Day 2 Hours 5 Minutes)" for the time between the two dates, in either order;
// empty when it is under a minute. Seconds are dropped.
QString DurationText(TDateTime start, TDateTime end);

// An appointment's "When:" value: long date, "at", long time, then the duration text.
QString WhenText(TDateTime start, TDateTime end);

// The phone message's attributes: the phrases of the set flags joined by ", ".
struct TPhoneAttributes {
    bool Telephoned = false;
    bool PleaseCall = false;
    bool WillCall = false;
    bool ReturnedCall = false;
    bool WantsSee = false;
    bool CameToSee = false;
    bool Urgent = false;
};
QString PhoneAttributesText(const TPhoneAttributes &attributes);

} // namespace tarvin
