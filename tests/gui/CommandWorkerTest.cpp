#include "gui/CommandWorker.h"

#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QSemaphore>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <functional>
#include <stdexcept>

#include "gui/BusyClock.h"
#include "gui/ProgressOverlay.h"
#include "gui/QtUserInterface.h"
#include "gui/ThreadHopInterface.h"
#include "gui/ThreadHopShell.h"
#include "support/ModalDialogs.h"
#include "ui/ProgressDisplay.h"
#include "ui/ScriptedUserInterface.h"
#include "ui/SnapFactorDialog.h"

namespace viamappa {
namespace {

using testing::WhenModalOpens;

bool OnWindowThread() {
  return QThread::currentThread() == QCoreApplication::instance()->thread();
}

// A script that counts the calls that reach it off the window's thread: one of each kind of hop (no
// answer, a yes or no, a path).
class WindowThreadScript : public ScriptedUserInterface {
 public:
  int off_thread_calls = 0;

  void ShowMessage(std::string_view text, MessageIcon icon, std::string_view caption = {}) override {
    Note(), ScriptedUserInterface::ShowMessage(text, icon, caption);
  }
  bool AskOkCancel(std::string_view text, std::string_view caption = {}) override {
    return Note(), ScriptedUserInterface::AskOkCancel(text, caption);
  }
  std::optional<std::string> ChooseOpenFile(const FileChoice& choice) override {
    return Note(), ScriptedUserInterface::ChooseOpenFile(choice);
  }
  void ProgressPercent(int percent) override { Note(), ScriptedUserInterface::ProgressPercent(percent); }
  bool RunSnapFactorDialog(SnapFactorDialog& dialog) override {
    return Note(), ScriptedUserInterface::RunSnapFactorDialog(dialog);
  }

 private:
  void Note() { off_thread_calls += OnWindowThread() ? 0 : 1; }
};

TEST(ThreadHopInterfaceTest, AnEnginesCallsAreAnsweredOnTheWindowsThread) {
  WindowThreadScript script;
  ThreadHopInterface hop(script);
  CommandWorker worker(script);
  script.QueueAnswer(true);
  script.QueueAnswer(false);
  script.QueueFile("strade.shp");
  script.QueueSnapFactor("2,5");
  const FileChoice choice;
  SnapFactorDialog snap;
  const struct {
    const char* call;
    std::function<std::string()> run;
    std::string answer;
  } kCases[] = {
      {"message", [&] { return hop.ShowMessage("Fatto", MessageIcon::Information, "Import"), std::string(); },
       ""},
      {"OK / Cancel", [&] { return std::string(hop.AskOkCancel("Procedo ?") ? "OK" : "Cancel"); }, "OK"},
      {"Yes / No", [&] { return std::string(hop.AskYesNo("Procedo ?") ? "Yes" : "No"); }, "No"},
      {"open file", [&] { return hop.ChooseOpenFile(choice).value_or("none"); }, "strade.shp"},
      {"save file", [&] { return hop.ChooseSaveFile(choice).value_or("none"); }, "none"},
      {"dialog", [&] { return hop.RunSnapFactorDialog(snap) ? snap.text() : std::string("Annulla"); }, "2,5"},
  };
  bool off_thread = false;
  std::vector<std::string> answers;
  ASSERT_TRUE(worker.Run([&] {
    off_thread = !OnWindowThread();
    for (const auto& c : kCases) answers.push_back(c.run());
    ProgressDisplay progress(hop);
    progress.SetProgress(2, 5);
  }));
  EXPECT_TRUE(off_thread);
  ASSERT_EQ(answers.size(), std::size(kCases));
  for (std::size_t i = 0; i < answers.size(); ++i) EXPECT_EQ(answers[i], kCases[i].answer) << kCases[i].call;
  EXPECT_EQ(script.off_thread_calls, 0);
  ASSERT_EQ(script.messages().size(), 3u);
  EXPECT_EQ(script.messages()[0].caption, "Import");
  EXPECT_EQ(script.percents(), std::vector<int>{40});
}

TEST(CommandWorkerTest, RunWaitsForTheWorkOneRunAtATime) {
  ScriptedUserInterface script;
  CommandWorker worker(script);
  WindowThread window;
  // The work waits for a timer of the window's thread: that thread goes on meanwhile, and Run returns
  // only after the work.
  QSemaphore timer_ran;
  bool second_run = true;
  bool ended = false;
  ASSERT_TRUE(worker.Run([&] {
    window.Run([&] {
      EXPECT_TRUE(worker.running() && CommandWorker::AnyRunning());
      second_run = worker.Run([] {});
      QTimer::singleShot(0, [&] { timer_ran.release(); });
    });
    ended = timer_ran.tryAcquire(1, 10000);
  }));
  EXPECT_TRUE(ended);
  EXPECT_FALSE(second_run) << "refused while the first runs";
  EXPECT_FALSE(worker.running() || CommandWorker::AnyRunning());

  // A failure that leaves the work reaches the caller once the thread has ended.
  EXPECT_THROW(worker.Run([] { throw std::runtime_error("guasto"); }), std::runtime_error);
  EXPECT_FALSE(worker.running());
}

// Counts what reaches the main window's widgets: key presses, clicks and the shortcut of an action.
struct InputCounts {
  int keys = 0;
  int clicks = 0;
  int shortcuts = 0;
  bool operator==(const InputCounts&) const = default;
};

class KeyCounter : public QWidget {
 public:
  explicit KeyCounter(int& presses) : presses_(presses) {}

 protected:
  void keyPressEvent(QKeyEvent*) override { ++presses_; }

 private:
  int& presses_;
};

// The window of a long command: a client area with a focused widget and a button, an action on
// Ctrl+V, the busy clock and the Qt interface.
class CommandWindowTest : public ::testing::Test {
 protected:
  CommandWindowTest() : ui_(QStringLiteral("Viamappa")), hop_(ui_), worker_(ui_) {
    window_.resize(800, 600);
    auto* client = new QWidget(&window_);
    window_.setCentralWidget(client);
    target_ = new KeyCounter(counts_.keys);
    target_->setParent(client);
    target_->setFocusPolicy(Qt::StrongFocus);
    target_->setGeometry(0, 0, 100, 100);
    button_ = new QPushButton(QStringLiteral("Sconnetti"), client);
    button_->setGeometry(200, 0, 100, 30);
    QObject::connect(button_, &QPushButton::clicked, [this] { ++counts_.clicks; });
    auto* action = new QAction(&window_);
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    window_.addAction(action);
    QObject::connect(action, &QAction::triggered, [this] { ++counts_.shortcuts; });
    clock_ = new BusyClock(&window_);
    ui_.Attach(&window_, client, clock_);
    window_.show();
    window_.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
    target_->setFocus();
  }

  // Presses a key on the focused widget, Ctrl+V and the button, as the window system (and a test
  // sending to a widget) would.
  void PressEverything() {
    using Window = QWindowSystemInterface;
    QTest::keyClick(target_, Qt::Key_A);
    Window::handleKeyEvent<Window::SynchronousDelivery>(window_.windowHandle(), QEvent::KeyPress, Qt::Key_B,
                                                        Qt::NoModifier, QStringLiteral("b"));
    QTest::keyClick(&window_, Qt::Key_V, Qt::ControlModifier);
    const QPointF at = button_->mapTo(&window_, button_->rect().center());
    const QPointF global = window_.mapToGlobal(at);
    Window::handleMouseEvent<Window::SynchronousDelivery>(window_.windowHandle(), at, global, Qt::LeftButton,
                                                          Qt::LeftButton, QEvent::MouseButtonPress);
    Window::handleMouseEvent<Window::SynchronousDelivery>(window_.windowHandle(), at, global, Qt::NoButton,
                                                          Qt::LeftButton, QEvent::MouseButtonRelease);
  }

  QMainWindow window_;
  InputCounts counts_;
  KeyCounter* target_ = nullptr;
  QPushButton* button_ = nullptr;
  BusyClock* clock_ = nullptr;
  QtUserInterface ui_;
  ThreadHopInterface hop_;
  CommandWorker worker_;
  WindowThread window_thread_;
};

TEST_F(CommandWindowTest, TheWindowShowsProgressWhileOnlyTheCommandsDialogTakesInput) {
  struct {
    int bar = -1;
    QString banner;
    bool clock = false;
    bool cursor = false;
  } seen;
  bool answer = true;
  ASSERT_TRUE(worker_.Run([&] {
    hop_.BeginBusy(true);
    ProgressDisplay progress(hop_);
    progress.SetPhase("Importazione Archi Stradali");
    progress.SetPercent(40);
    window_thread_.Run([&] {
      seen.bar = ui_.progress()->bar()->value();
      seen.banner = ui_.progress()->banner()->text();
      seen.clock = clock_->isVisible();
      seen.cursor =
          QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
      PressEverything();
      // The question is answered with Escape, typed into its box.
      WhenModalOpens([](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); });
    });
    answer = hop_.AskOkCancel("Confermi ?");
  }));
  EXPECT_EQ(seen.bar, 40);
  EXPECT_EQ(seen.banner, QStringLiteral("Importazione Archi Stradali"));
  EXPECT_TRUE(seen.clock && seen.cursor);
  EXPECT_FALSE(answer) << "Escape reached the box: Cancel";
  EXPECT_EQ(counts_, InputCounts{}) << "nothing reached the main window";
  EXPECT_EQ(window_.focusWidget(), target_) << "a click does not even move the focus";

  // The end of the run ends the busy state and lets input through again.
  EXPECT_FALSE(clock_->isVisible() || ui_.busy());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(ui_.progress(), nullptr);
  QApplication::processEvents();
  EXPECT_EQ(counts_, InputCounts{}) << "what was pressed during the run is not replayed";
  window_.activateWindow();  // the box has gone
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  PressEverything();
  EXPECT_EQ(counts_, (InputCounts{2, 1, 1}));
}

// Releases drawn once the clock has drawn text.
class DrawnWatch : public QObject {
 public:
  DrawnWatch(BusyClock* clock, QString text) : clock_(clock), text_(std::move(text)) {
    clock->installEventFilter(this);
  }
  QSemaphore drawn;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      // Looked at once the paint is over.
      QMetaObject::invokeMethod(
          this,
          [this] {
            if (clock_->Drawn() == text_) drawn.release();
          },
          Qt::QueuedConnection);
    }
    return false;
  }

 private:
  BusyClock* clock_;
  QString text_;
};

TEST_F(CommandWindowTest, TheClockTicksWhileTheWorkerRuns) {
  DrawnWatch watch(clock_, QStringLiteral("01:15"));
  bool ticked = false;
  ASSERT_TRUE(worker_.Run([&] {
    hop_.BeginBusy(true);
    window_thread_.Run([&] {
      EXPECT_EQ(clock_->Drawn(), QStringLiteral("00:00"));
      clock_->SetElapsedOffset(75);
    });
    // Only the clock's own timer draws the new time.
    ticked = watch.drawn.tryAcquire(1, 10000);
  }));
  EXPECT_TRUE(ticked);
  EXPECT_FALSE(clock_->running());
}

// A window that notes, for each call, whether it ran on the window's thread.
class ShellRecord : public MapDataShell {
 public:
  explicit ShellRecord(bool connected) : connected_(connected) {}
  std::vector<std::string> calls;

  void UpdateTitle() override { Note("title"); }
  void DropMap() override { Note("drop"); }
  void DiscardMap() override { Note("discard"); }
  void Redraw() override { Note("redraw"); }
  bool ReleaseMapData() override { return Note("release"), connected_; }
  std::unique_ptr<LayerSet> LoadMapData() override { return Note("load"), std::make_unique<LayerSet>(); }
  void InstallMapData(std::unique_ptr<LayerSet> data) override { Note(data ? "install" : "install none"); }

 private:
  void Note(const char* call) {
    calls.push_back(std::string(call) + (OnWindowThread() ? "" : " on the worker"));
  }
  bool connected_;
};

TEST(ThreadHopShellTest, OnlyTheMapLoadingStaysOnTheWorker) {
  const struct {
    bool from_worker;
    bool connected;
    std::vector<std::string> calls;
  } kCases[] = {
      {true, true, {"title", "drop", "discard", "release", "load on the worker", "install", "redraw"}},
      {true, false, {"title", "drop", "discard", "release", "redraw"}},
      {false, true, {"title", "drop", "discard", "release", "load", "install", "redraw"}},
  };
  for (const auto& c : kCases) {
    ShellRecord window(c.connected);
    ThreadHopShell shell(window);
    const auto commands = [&shell] {
      shell.UpdateTitle();
      shell.DropMap();
      shell.DiscardMap();
      shell.RebuildMap();
      shell.Redraw();
    };
    ScriptedUserInterface script;
    CommandWorker worker(script);
    if (c.from_worker) {
      ASSERT_TRUE(worker.Run(commands));
    } else {
      commands();
    }
    EXPECT_EQ(window.calls, c.calls) << c.from_worker << c.connected;
  }
}

}  // namespace
}  // namespace viamappa
