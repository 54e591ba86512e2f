#include "layout/TLayoutStore.h"

#include "layout/DisplayMetrics.h"
#include "layout/IniLayoutKeys.h"
#include "layout/PlacementKeys.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QWindow>
#include <algorithm>
#include <utility>

namespace {

const QString kFormVersion = QStringLiteral("FormVersion");
const QString kVisible = QStringLiteral("Visible");

bool hasFixedSize(const QWidget &window) { return window.minimumSize() == window.maximumSize(); }

} // namespace

TLayoutStore::TLayoutStore(QWidget *window) : QObject(window), m_window(window), m_placer(window)
{
    window->installEventFilter(this);
}

TLayoutStore::~TLayoutStore()
{
    if (m_window)
        m_window->removeEventFilter(this);
    for (LayoutClient *client : std::exchange(m_clients, {}))
        client->layoutStorageGone();
}

QString TLayoutStore::iniFileName() const
{
    if (!m_iniFileName.isEmpty())
        return m_iniFileName;
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + QStringLiteral(".INI");
}

QString TLayoutStore::iniSection() const
{
    if (!m_iniSection.isEmpty() || !m_window)
        return m_iniSection;
    // The linked grids name their sections after the same class.
    return QString::fromLatin1(m_window->metaObject()->className());
}

void TLayoutStore::linkClient(LayoutClient *client)
{
    if (client && std::find(m_clients.begin(), m_clients.end(), client) == m_clients.end())
        m_clients.push_back(client);
}

void TLayoutStore::unlinkClient(LayoutClient *client)
{
    m_clients.erase(std::remove(m_clients.begin(), m_clients.end(), client), m_clients.end());
}

void TLayoutStore::restoreLayout()
{
    m_saved = false;
    if (!m_window)
        return;
    IniLayoutKeys keys(iniFileName());
    // Always true with version 0, also with no file at all.
    if (keys.readInteger(iniSection(), kFormVersion, 0) >= m_version) {
        restorePlacement(keys);
        for (LayoutClient *client : std::vector(m_clients))
            client->loadLayout(keys);
        m_restored = true;
        emit placementRestored();
    }
    m_restored = true;
    adjustMaxPosition();
}

void TLayoutStore::restorePlacement(const IniLayoutKeys &keys)
{
    if (m_options & Option::Position)
        restorePosition(keys);
    if ((m_options & Option::State) && !restoreState(keys))
        return;
    m_window->update();
}

void TLayoutStore::restorePosition(const IniLayoutKeys &keys)
{
    const DisplayMetrics display = currentDisplayMetrics();
    const WindowPlacement current = m_placer.placement();
    const placementkeys::StoredPosition stored = placementkeys::readPosition(keys, iniSection(), current, display);
    // Pixels at another density would put the window somewhere else at another size.
    if (!stored.found || stored.pixelsPerInch != display.pixelsPerInch)
        return;
    WindowPlacement placement = stored.placement;
    if (hasFixedSize(*m_window)) {
        placement.right = placement.left + (current.right - current.left);
        placement.bottom = placement.top + (current.bottom - current.top);
    }
    if (placement.left < placement.right)
        m_placer.setPlacement(placement);
}

bool TLayoutStore::restoreState(const IniLayoutKeys &keys)
{
    const Qt::WindowStates others = m_window->windowState() & ~kSizedStates;
    const Qt::WindowState state =
        windowStateForShowCommand(placementkeys::readShowCommand(keys, iniSection()), Qt::WindowNoState);
    if (state == Qt::WindowMinimized) {
        // The whole application starts minimized: the window opens normal and is minimized
        // once the event loop runs, which is after it has been shown.
        m_window->setWindowState(others);
        QMetaObject::invokeMethod(
            m_window, [window = m_window] { window->setWindowState(window->windowState() | Qt::WindowMinimized); },
            Qt::QueuedConnection);
        return false;
    }
    m_window->setWindowState(others | state);
    return true;
}

// The maximized frame's border lies just outside the screen.
void TLayoutStore::adjustMaxPosition()
{
    const QWindow *handle = m_window->windowHandle();
    if (!handle)
        return;
    const QMargins border = handle->frameMargins();
    m_placer.setMaxPosition(QPoint(-border.left(), -border.bottom()));
}

void TLayoutStore::saveLayout()
{
    if ((m_active && !m_restored) || !m_window)
        return;
    IniLayoutKeys keys(iniFileName());
    const QString section = iniSection();
    keys.writeInteger(section, kFormVersion, m_version);
    if (m_options & (Option::State | Option::Position))
        placementkeys::write(keys, section, m_placer.placement(), currentDisplayMetrics());
    keys.write(section, kVisible, m_destroying ? QStringLiteral("1") : QStringLiteral("0"));
    for (LayoutClient *client : std::vector(m_clients))
        client->saveLayout(keys);
    emit placementSaved();
    m_saved = true;
}

void TLayoutStore::formDestroy()
{
    if (!m_active || m_saved)
        return;
    m_destroying = true;
    reportingErrors([this] { saveLayout(); });
    m_destroying = false;
}

template <class Action> void TLayoutStore::reportingErrors(Action action)
{
    try {
        action();
    } catch (const std::exception &error) {
        if (m_errorHandler)
            m_errorHandler(error);
        else
            qWarning("%s", error.what());
    }
}

bool TLayoutStore::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::Show:
        // A spontaneous show is the window coming back from minimized, not being shown.
        if (m_active && !event->spontaneous())
            reportingErrors([this] { restoreLayout(); });
        return false;
    case QEvent::Close:
        closeQuery(static_cast<QCloseEvent *>(event));
        return true;
    default:
        return false;
    }
}

// The window's own close handler decides first whether it may close; the layout is saved
// only for a close that goes through.
void TLayoutStore::closeQuery(QCloseEvent *event)
{
    static_cast<QObject *>(m_window.data())->event(event);
    if (event->isAccepted() && m_active && m_window && m_window->windowHandle())
        reportingErrors([this] { saveLayout(); });
}
