#include "tests/support/ModalWatch.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace testsupport {

namespace {
int g_expectations = 0;
}

void closeModal(QWidget* modal)
{
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->done(QDialog::Accepted);
    else
        modal->close();
}

void onNextModal(std::function<void(QWidget*)> inspect, int timeoutMs)
{
    ++g_expectations;
    auto* timer = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, inspect, timeoutMs] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr && clock->elapsed() <= timeoutMs)
            return;
        timer->stop();
        timer->deleteLater();
        --g_expectations;
        if (modal == nullptr) {
            ADD_FAILURE() << "expected a modal window, none appeared";
            return;
        }
        QPointer<QWidget> guard(modal);
        inspect(modal);
        if (guard && guard->isVisible())
            closeModal(guard);
    });
    timer->start();
}

void startUnexpectedModalWatchdog(int graceMs)
{
    struct State
    {
        QElapsedTimer clock;
        QPointer<QWidget> seen;
    };
    auto* timer = new QTimer(qApp);
    auto state = std::make_shared<State>();
    timer->setInterval(50);
    QObject::connect(timer, &QTimer::timeout, timer, [state, graceMs] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || g_expectations > 0) {
            state->seen = nullptr;
            return;
        }
        if (state->seen != modal) {
            state->seen = modal;
            state->clock.start();
            return;
        }
        if (state->clock.elapsed() > graceMs) {
            ADD_FAILURE() << "unexpected modal window left open: "
                          << modal->metaObject()->className() << " '"
                          << modal->windowTitle().toStdString() << "'";
            closeModal(modal);
            state->seen = nullptr;
        }
    });
    timer->start();
}

} // namespace testsupport
