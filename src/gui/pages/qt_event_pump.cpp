#include "gui/pages/qt_event_pump.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace quillet {

void QtEventPump::PumpPending() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtEventPump::WaitPumping(int milliseconds) {
  QDeadlineTimer deadline(milliseconds < 0 ? 0 : milliseconds);
  do {
    // processEvents(flags, ms) returns early when nothing is waiting, so it
    // is combined with a short sleep to avoid spinning on an idle queue.
    QCoreApplication::processEvents(QEventLoop::AllEvents,
                                    static_cast<int>(deadline.remainingTime()));
    const qint64 left = deadline.remainingTime();
    if (left > 0) QThread::msleep(static_cast<unsigned long>(left < 5 ? left : 5));
  } while (!deadline.hasExpired());
}

}  // namespace quillet
