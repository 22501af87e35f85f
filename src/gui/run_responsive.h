#pragma once

// Runs a blocking call (a request, a file) on a worker thread while the
// calling GUI thread keeps handling its events in a nested loop, so the
// window repaints and moves; the caller disables whatever would re-enter.

#include <QEventLoop>
#include <QThread>
#include <optional>
#include <type_traits>
#include <utility>

namespace quillet {

template <typename Work>
auto RunResponsive(Work&& work) -> std::invoke_result_t<Work&> {
  using Result = std::invoke_result_t<Work&>;
  std::optional<Result> result;
  QEventLoop loop;
  QThread* thread = QThread::create([&] { result.emplace(work()); });
  QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
  thread->start();
  if (!thread->isFinished()) loop.exec();
  thread->wait();
  delete thread;
  return std::move(*result);
}

}  // namespace quillet
