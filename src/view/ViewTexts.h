#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "util/DateTime.h"

namespace tarvin {

// Header type of a frame without a message.
constexpr int kNoHeaderType = 6;

// The name of a message type as shown to users: "Mail", "Appointment", "Task",
// "Reminder Note", "Phone", "Document Reference"; empty for any other type.
QString NotPostedTypeName(int messageType);
// The name of a message type with its box type: posted items (box type 3) read
// "Posted Message", "Posted Appointment", ... "Posted Phone Message"; a document reference
// is never called posted.
QString MessageTypeName(int messageType, int boxtype);

// Measures the width of a text in pixels (a font's metrics in the windows; any monotone
// measure in tests).
using TTextMeasure = std::function<int(const QString &)>;

// Lines the values of a properties text up on one column: a tab that opens a line alone becomes
// four spaces; the other tabs get as many more tabs as it takes for the value to start at the
// fifth stop (stops every `tabWidth` pixels; a tab moves to the next stop strictly right of the
// label as shown, indent included). A label reaching past that stop keeps its tabs.
QString TweakFormat(const QString &text, const TTextMeasure &measure, int tabWidth = 64);

// The text of the properties tab before tab formatting: the stored properties (or the
// "no properties" sentence) and, for a message file, the block naming the file.
QString PropertiesText(const QString &bodyProperties, const QString &fileName);

// The lines of the save-log tab.
QString SaveLogText(TDateTime dateSaved, int status, const QStringList &items,
                    bool hasEmbeddedMessage);

// The viewer window's title: type name, " From: " and the sender, or `fallback` when either
// is empty.
QString ViewerTitle(const QString &typeName, const QString &from, const QString &fallback);

// The status-bar hint of a viewer window: the subject, or for an embedded message
// "Attached message - " and the subject.
QString StatusHint(bool attachedMessage, const QString &subject);

// Shortens `text` to fit `maxWidth` by replacing its middle by "...", keeping as much of
// its start and end as fits. A text that fits is returned unchanged.
QString ShortenText(const QString &text, int maxWidth, const TTextMeasure &measure);

// Breaks a caption into at most two lines of `maxWidth`: the first ends after the last blank,
// "-", "_", "." or "/" that lets it fit (else wherever it must), the second is shortened by
// ShortenText when the rest does not fit either.
QStringList WrapCaption(const QString &text, int maxWidth, const TTextMeasure &measure);

} // namespace tarvin
