#include "audio/WaveNotificationWindow.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

QEvent::Type wakeEventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

} // namespace

WaveNotificationWindow::WaveNotificationWindow(Handler handler)
    : m_handler(std::move(handler))
{
}

void WaveNotificationWindow::post(const WaveNotification& notification)
{
    {
        QMutexLocker lock(&m_mutex);
        m_queue.push_back(notification);
        m_arrived.wakeAll();
    }
    // One wake per notification; a wake that finds the queue already emptied by a waiting
    // component does nothing.
    QCoreApplication::postEvent(this, new QEvent(wakeEventType()));
}

bool WaveNotificationWindow::dispatchNext(QDeadlineTimer deadline)
{
    const auto notification = take(deadline);
    if (!notification)
        return false;
    m_handler(*notification);
    return true;
}

void WaveNotificationWindow::discardPending()
{
    QMutexLocker lock(&m_mutex);
    m_queue.clear();
}

bool WaveNotificationWindow::event(QEvent* event)
{
    if (event->type() != wakeEventType())
        return QObject::event(event);
    dispatchNext(QDeadlineTimer(0));
    return true;
}

std::optional<WaveNotification> WaveNotificationWindow::take(QDeadlineTimer deadline)
{
    QMutexLocker lock(&m_mutex);
    while (m_queue.empty()) {
        if (deadline.hasExpired())
            return std::nullopt;
        m_arrived.wait(&m_mutex, deadline);
    }
    const WaveNotification notification = m_queue.front();
    m_queue.pop_front();
    return notification;
}
