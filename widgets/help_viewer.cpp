// SPDX-License-Identifier: MIT
#include "widgets/help_viewer.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

#include "engine/places/embedded_resources.h"
#include "platform/shell_open.h"

namespace cf::widgets {
namespace {

constexpr char kTopicProperty[] = "cfHelpTopic";

QPointer<HelpViewer> viewer;

int PageResource(const QString& fileName)
{
    if (fileName == QLatin1String(kCommandLineHelpTopic))
        return kCommandLineHelpResource;
    if (fileName == QLatin1String(kCodeHelpTopic))
        return kCodeHelpResource;
    return 0;
}

// F1 pressed in any widget of the application: the key goes first to the
// widget with the focus, whose topic (or its window's) is shown.
class HelpKeyFilter : public QObject {
public:
    HelpKeyFilter(QObject* owner, QString fallback) : QObject(owner), fallback_(std::move(fallback)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
            return false;
        ShowHelp(HelpTopicFor(static_cast<QWidget*>(watched), fallback_));
        return true;
    }

private:
    QString fallback_;
};

}  // namespace

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("HelpBrowser"));
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::onLinkClicked);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name)
{
    if (type == QTextDocument::HtmlResource) {
        const int resource = PageResource(name.fileName());
        if (resource == 0)
            return {};
        const auto bytes = ResourceBytes(resource);
        return QString::fromUtf8(reinterpret_cast<const char*>(bytes.data()),
                                 static_cast<qsizetype>(bytes.size()));
    }
    return QTextBrowser::loadResource(type, name);
}

void HelpBrowser::onLinkClicked(const QUrl& link)
{
    // A link inside a page, or to the other page, stays here; anything else
    // (mailto:, https:) belongs to the desktop.
    if (link.scheme().isEmpty() && (link.path().isEmpty() || PageResource(link.fileName()) != 0))
        setSource(source().resolved(link));
    else
        platform::OpenUrl(link);
}

HelpViewer::HelpViewer(QWidget* parent) : QMainWindow(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    browser_ = new HelpBrowser(this);
    setCentralWidget(browser_);
    setFocusProxy(browser_);
    resize(760, 620);
    connect(browser_, &QTextBrowser::sourceChanged, this,
            [this] { setWindowTitle(browser_->documentTitle()); });
}

void HelpViewer::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void ShowHelp(const QString& topic)
{
    if (!viewer) {
        viewer = new HelpViewer;
        // A window without a parent: it goes when the program ends.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, viewer, [] { delete viewer.data(); });
    }
    viewer->browser()->setSource(QUrl(topic));
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
}

HelpViewer* OpenHelpViewer()
{
    return viewer;
}

void SetHelpTopic(QWidget* window, const QString& topic)
{
    window->setProperty(kTopicProperty, topic);
}

QString HelpTopicFor(const QWidget* focused, const QString& fallback)
{
    for (const QWidget* widget = focused; widget; widget = widget->parentWidget()) {
        const QVariant topic = widget->property(kTopicProperty);
        if (topic.isValid())
            return topic.toString();
    }
    return fallback;
}

void InstallHelpKey(QWidget* owner, const QString& fallback)
{
    qApp->installEventFilter(new HelpKeyFilter(owner, fallback));
}

}  // namespace cf::widgets
