#include "print/ui/PrintDocumentBuilder.h"

#include "model/GWMessage.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace tarvin {

namespace {

// The steps on the page. The arguments arrive as one JSON object; the result is "" or the
// reason the first failing step gave.
const char *const kBuildScript = R"JS((function (a) {
  var d = document;
  if (!d || !d.documentElement || !d.body) return "Document is not available";
  try {
    d.title = a.title;
    var head = d.head;
    if (!head) {
      head = d.createElement("head");
      d.documentElement.insertBefore(head, d.documentElement.firstChild);
    }
    var sheet = d.createElement("style");
    head.insertBefore(sheet, head.firstChild);
    sheet.textContent = a.style;
    var body = d.body;
    var saved = body.innerHTML;
    body.innerHTML = a.table;
    if (a.html) {
      var cell = body.querySelector('[id="source-html"]');
      if (cell) {
        cell.innerHTML = saved;
        var attributes = Array.prototype.slice.call(body.attributes);
        for (var i = 0; i < attributes.length; ++i)
          cell.setAttribute(attributes[i].name, attributes[i].value);
        while (body.attributes.length > 0) body.removeAttribute(body.attributes[0].name);
      }
    }
    return "";
  } catch (e) {
    return String(e && e.message ? e.message : e);
  }
}))JS";

} // namespace

void BuildPrintDocument(QWebEnginePage *page, const TPrintSettings &settings,
                        const std::function<void(const QString &error)> &done) {
    QJsonObject arguments;
    arguments.insert(QStringLiteral("title"),
                     settings.Message ? PrintDocumentTitle(*settings.Message) : QString());
    arguments.insert(QStringLiteral("style"), GetStyleSheet(settings));
    arguments.insert(QStringLiteral("table"), GetTable(settings));
    arguments.insert(QStringLiteral("html"), settings.HtmlMode);
    const QString script =
        QString::fromUtf8(kBuildScript) + QLatin1Char('(') +
        QString::fromUtf8(QJsonDocument(arguments).toJson(QJsonDocument::Compact)) +
        QLatin1Char(')');
    QPointer<QWebEnginePage> guard(page);
    page->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                        [guard, done](const QVariant &result) {
                            if (!guard)
                                return;
                            if (!result.isValid())
                                done(QStringLiteral("Document is not available"));
                            else
                                done(result.toString());
                        });
}

} // namespace tarvin
