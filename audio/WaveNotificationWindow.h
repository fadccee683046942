#pragma once

// The component's hidden notification window: a private queue that devices post into from any
// thread. The owning thread's event loop hands each notification to the component; a component
// waiting for its device can take its own notifications without running any other event.

#include "audio/WaveOutDevice.h"

#include <QDeadlineTimer>
#include <QMutex>
#include <QObject>
#include <QWaitCondition>

#include <deque>
#include <optional>

class WaveNotificationWindow : public QObject, public WaveNotificationTarget {
    Q_OBJECT
public:
    using Handler = std::function<void(const WaveNotification&)>;

    explicit WaveNotificationWindow(Handler handler);

    void post(const WaveNotification& notification) override;

    // Takes the oldest notification, waiting for one until `deadline`, and hands it to the
    // handler. Returns false when none arrived in time.
    bool dispatchNext(QDeadlineTimer deadline);
    // Drops every queued notification (their headers are about to go).
    void discardPending();

protected:
    bool event(QEvent* event) override;

private:
    std::optional<WaveNotification> take(QDeadlineTimer deadline);

    mutable QMutex m_mutex;
    QWaitCondition m_arrived;
    std::deque<WaveNotification> m_queue;
    Handler m_handler;
};
