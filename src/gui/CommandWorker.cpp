#include "gui/CommandWorker.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QThread>
#include <QWidget>
#include <QWindow>
#include <exception>
#include <memory>

namespace viamappa {

namespace {

int active_runs = 0;  // touched on the window's thread only

bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      return true;
    default:
      return false;
  }
}

// Whether receiver (a window of the window system, a widget, or an action or shortcut of a widget) is
// part of the top-level widget top.
bool PartOf(QObject* receiver, const QWidget* top) {
  if (!top) return false;
  if (receiver->isWindowType()) return receiver == top->windowHandle();
  for (QObject* object = receiver; object; object = object->parent()) {
    if (object->isWidgetType()) return static_cast<QWidget*>(object)->window() == top;
  }
  return false;
}

// Drops input while a command runs, except input to the dialog the command shows (and its pop-ups):
// the main window's menus, toolbar, keys and map window would start other work on the database.
class InputHold : public QObject {
 public:
  InputHold() { qApp->installEventFilter(this); }
  ~InputHold() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!IsInput(event->type())) return false;
    return !PartOf(watched, QApplication::activeModalWidget()) &&
           !PartOf(watched, QApplication::activePopupWidget());
  }
};

}  // namespace

bool CommandWorker::AnyRunning() {
  return active_runs > 0;
}

bool CommandWorker::Run(const std::function<void()>& work) {
  if (running_) return false;
  running_ = true;
  ++active_runs;
  std::exception_ptr failure;
  {
    InputHold hold;
    QEventLoop loop;
    bool done = false;
    std::unique_ptr<QThread> thread(QThread::create([&work, &failure] {
      try {
        work();
      } catch (...) {
        failure = std::current_exception();
      }
    }));
    QObject::connect(thread.get(), &QThread::finished, &loop, [&] {
      done = true;
      loop.quit();
    });
    thread->start();
    // A request to leave every event loop (the application's exit) must not leave the thread running
    // with nobody to answer its calls.
    while (!done) loop.exec();
    thread->wait();
  }
  --active_runs;
  running_ = false;
  ui_.EndBusy();
  if (failure) std::rethrow_exception(failure);
  return true;
}

}  // namespace viamappa
