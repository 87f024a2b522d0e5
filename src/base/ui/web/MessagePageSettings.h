#pragma once

class QObject;
class QWebEngineProfile;
class QWebEngineSettings;

namespace tarvin {

// The settings of every HTML engine page that shows a message (the viewer's HTML body and the
// page that prints it): no scripts, plugins, storage or navigation of their own; a local body
// may load pictures, and the pages' request filters decide which.
void ApplyMessagePageSettings(QWebEngineSettings *settings);

// A new profile for message pages: off the record (no storage name, nothing written to disk),
// cache in memory, no cookies kept, no spell checking, with the settings above.
QWebEngineProfile *NewMessageProfile(QObject *parent);

} // namespace tarvin
