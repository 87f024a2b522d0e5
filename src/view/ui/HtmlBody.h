#pragma once

#include <QFrame>
#include <QString>
#include <functional>

class QLabel;
class QPushButton;

namespace tarvin {

// The HTML view of a viewer frame, as the frame sees it. The view itself lives in the web
// library (web/HtmlBodyView.h), which links the HTML engine and is loaded the first time an
// HTML body is shown, so that plain-text messages and the explorer never load the engine.
// The interface is plain C++ with call-backs: the frame and the view may come from different
// shared objects, each with its own copy of the project's code.
class IHtmlBody {
public:
    virtual ~IHtmlBody() = default;

    // The widget to place (the view itself).
    virtual QWidget *Widget() = 0;
    // Loads a local file (or about:blank for an empty path).
    virtual void LoadFile(const QString &path) = 0;
    virtual bool IsBusy() const = 0;
    // The folder whose files the page may load; empty allows no local file.
    virtual void SetAllowedFolder(const QString &folder) = 0;
    // The setting "load remote content in messages".
    virtual void SetLoadRemoteContent(bool load) = 0;
    // The user's permission for the message shown; the host withdraws it for the next one.
    virtual bool RemoteContentAllowed() const = 0;
    virtual void SetRemoteContentAllowed(bool allowed) = 0;
    // Whether the page shown (or being loaded) asked for remote content that was blocked.
    virtual bool RemoteContentBlocked() const = 0;
    // Allows remote content for the page shown and loads the page again.
    virtual void LoadRemoteContentNow() = 0;
    // The edit commands on the page.
    virtual bool HasSelection() const = 0;
    virtual void Copy() = 0;
    virtual void SelectAll() = 0;

    // Called on the view's thread: a load ended; RemoteContentBlocked changed; the selection
    // changed.
    std::function<void(bool ok)> OnBodyLoaded;
    std::function<void(bool blocked)> OnRemoteContentBlockedChanged;
    std::function<void()> OnSelectionChanged;
};

// Makes the HTML view of a frame; raises Error when the HTML engine cannot be had.
using THtmlBodyFactory = std::function<IHtmlBody *(QWidget *parent)>;

// Installs the factory the frames use (the composition root installs the one that loads the
// web library). Programs that link the web library's code themselves (the tests) need none.
void SetHtmlBodyFactory(THtmlBodyFactory factory);
// A new HTML view from the installed factory, else from the linked web code; raises Error
// when neither is there.
IHtmlBody *NewHtmlBody(QWidget *parent);

// The slim bar above the HTML view that says remote content was blocked and offers to load it.
class THtmlRemoteContentBar : public QFrame {
    Q_OBJECT
public:
    explicit THtmlRemoteContentBar(QWidget *parent = nullptr);

    QPushButton *LoadButton() const { return m_button; }

signals:
    // The user asked for the remote content of the message shown.
    void LoadClicked();

private:
    QLabel *m_label = nullptr;
    QPushButton *m_button = nullptr;
};

} // namespace tarvin

// Defined by the web library's code where a program links it (see NewHtmlBody).
extern "C" tarvin::IHtmlBody *tarvin_linked_html_body(QWidget *parent) __attribute__((weak));
