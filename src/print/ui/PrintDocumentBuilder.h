#pragma once

#include "print/PrintDocument.h"

#include <QString>
#include <functional>

class QWebEnginePage;

namespace tarvin {

// Turns the page loaded in `page` into the print document: the title, the print style sheet
// before the page's own sheets, the body replaced by the table of header rows, body and
// attachments; in HTML mode the page's own body content and body attributes move into the
// body cell. Runs in the application's own script world (page scripts may be off); every text
// is handed over as JSON. `done` gets an empty text on success, else the failure text
// ("Document is not available", or the failing step's reason; later steps do not run).
// A builder error (Error) is raised at once, before the page is touched.
void BuildPrintDocument(QWebEnginePage *page, const TPrintSettings &settings,
                        const std::function<void(const QString &error)> &done);

} // namespace tarvin
