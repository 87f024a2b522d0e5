#include "app/ui/StartupTrace.h"

#include "view/ui/HtmlBody.h"
#include "view/ui/TarvinFrame.h"

#include <QApplication>
#include <QEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSet>
#include <QWidget>
#include <cstdio>
#include <ctime>

namespace tarvin {

namespace {

void stamp(const char *event, const char *detail) {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(stderr, "tarvin-trace %s %lld.%06ld %s\n", event,
                 static_cast<long long>(now.tv_sec), now.tv_nsec / 1000, detail);
    std::fflush(stderr);
}

void stamp(const char *event, const QObject *object) {
    stamp(event, object->metaObject()->className());
}

// Watches paint events: the first one of a window, and the first one of a frame's body once
// the body is there (the plain text set, or the HTML page loaded).
class TStartupTrace : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *object, QEvent *event) override {
        if (event->type() != QEvent::Paint || !object->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(object);
        QWidget *window = widget->window();
        if (!m_windows.contains(window)) {
            m_windows.insert(window);
            connect(window, &QObject::destroyed, this,
                    [this, window] { m_windows.remove(window); });
            stamp("paint", window);
        }
        TTarvinFrame *frame = nullptr;
        for (QWidget *parent = widget; parent && !frame; parent = parent->parentWidget())
            frame = qobject_cast<TTarvinFrame *>(parent);
        if (!frame)
            return false;
        if (!m_frames.contains(frame)) {
            m_frames.insert(frame);
            connect(frame, &QObject::destroyed, this, [this, frame] {
                m_frames.remove(frame);
                m_waiting.remove(frame);
            });
            connect(frame, &TTarvinFrame::BodyShown, this,
                    [this, frame] { m_waiting.insert(frame); });
            // A plain-text body is set before the window is first painted.
            if (frame->Message() && frame->PlainText())
                m_waiting.insert(frame);
        }
        if (!m_waiting.contains(frame))
            return false;
        QWidget *body =
            frame->HtmlViewShown() ? frame->HtmlView()->Widget() : frame->PlainTextView();
        if (body == widget || body->isAncestorOf(widget)) {
            m_waiting.remove(frame);
            stamp("body", frame);
        }
        return false;
    }

private:
    QSet<QObject *> m_windows;
    QSet<QObject *> m_frames;
    QSet<QObject *> m_waiting;
};

} // namespace

void TraceStartup(const char *event, const char *detail) {
    if (!qEnvironmentVariableIsEmpty("TARVIN_TRACE_STARTUP"))
        stamp(event, detail);
}

void InstallStartupTrace() {
    if (qEnvironmentVariableIsEmpty("TARVIN_TRACE_STARTUP") || !qApp)
        return;
    stamp("app", qApp);
    qApp->installEventFilter(new TStartupTrace(qApp));
}

} // namespace tarvin
