#include "gui/QtUserInterface.h"

#include <gtest/gtest.h>

#include <utime.h>
#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QHeaderView>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "gui/BusyClock.h"
#include "gui/CommandWorker.h"
#include "gui/MainApp.h"
#include "gui/ProgressOverlay.h"
#include "gui/ThreadHopInterface.h"
#include "support/ModalDialogs.h"
#include "support/TempDir.h"
#include "ui/ProgressDisplay.h"

namespace viamappa {
namespace {

using testing::WhenModalOpens;

using testing::TempDir;

TEST(QtNameFiltersTest, FilterListsBecomeQtNameFilters) {
  // A label that names its patterns keeps them; "*.*" is every file; ";" separates patterns.
  EXPECT_EQ(QtNameFilters("Database JET (*.mdb)|*.mdb|Sfondo|*.sfx|Tutti i files (*.*)|*.*||").join('|'),
            QStringLiteral("Database JET (*.mdb)|Sfondo (*.sfx)|Tutti i files (*)"));
  EXPECT_EQ(QtNameFilters("Immagini|*.bmp;*.jpg||"), QStringList({QStringLiteral("Immagini (*.bmp *.jpg)")}));
  EXPECT_TRUE(QtNameFilters("").isEmpty());
  EXPECT_TRUE(QtNameFilters("Senza modello").isEmpty());
}

class QtUserInterfaceTest : public ::testing::Test {
 protected:
  QtUserInterfaceTest() : ui_(QStringLiteral("Viamappa")) {
    window_.resize(800, 600);
    client_ = new QWidget(&window_);
    window_.setCentralWidget(client_);
    clock_ = new BusyClock(&window_);
    ui_.Attach(&window_, client_, clock_);
    window_.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window_));
  }

  QMainWindow window_;
  QWidget* client_ = nullptr;
  BusyClock* clock_ = nullptr;
  QtUserInterface ui_;
};

// What the next message box showed; it is answered with the button given.
struct SeenBox {
  QStringList buttons;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString caption;
  Qt::TextFormat format = Qt::AutoText;
};

void AnswerNextBox(QMessageBox::StandardButton answer, SeenBox& seen) {
  WhenModalOpens([answer, &seen](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    seen = {{}, box->icon(), box->windowTitle(), box->textFormat()};
    for (QAbstractButton* button : box->buttons()) seen.buttons << button->text();
    seen.buttons.sort();
    box->button(answer)->click();
  });
}

TEST_F(QtUserInterfaceTest, MessageBoxesShowItalianButtonsTheIconAndPlainText) {
  SeenBox seen;
  AnswerNextBox(QMessageBox::Ok, seen);
  ui_.ShowMessage("Il file <b>a.mdb</b> manca", MessageIcon::Stop, "Connessione");
  EXPECT_EQ(seen.buttons, QStringList({QStringLiteral("OK")}));
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.caption, QStringLiteral("Connessione"));
  EXPECT_EQ(seen.format, Qt::PlainText);

  AnswerNextBox(QMessageBox::Cancel, seen);
  EXPECT_FALSE(ui_.AskOkCancel("Confermi ?"));
  EXPECT_EQ(seen.buttons, QStringList({QStringLiteral("Annulla"), QStringLiteral("OK")}));
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_EQ(seen.caption, QStringLiteral("Viamappa"));  // no caption: the program's title

  AnswerNextBox(QMessageBox::Yes, seen);
  EXPECT_TRUE(ui_.AskYesNo("Procedo ?"));
  EXPECT_EQ(seen.buttons, QStringList({QStringLiteral("No"), QString::fromUtf8("Sì")}));
}

TEST_F(QtUserInterfaceTest, SaveDialogAppendsTheDefaultExtension) {
  TempDir dir;
  FileChoice save{"Creazione", "Database JET (*.mdb)|*.mdb|Tutti i files (*.*)|*.*||", "MDB", "*.MDB", false,
                  true};
  QStringList filters;
  WhenModalOpens([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    filters = dialog->nameFilters();
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    dialog->setDirectory(QString::fromStdString(dir.path()));
    dialog->selectFile(QStringLiteral("rete"));
    QMetaObject::invokeMethod(dialog, "accept");
  });
  const auto saved = ui_.ChooseSaveFile(save);
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(*saved, dir.File("rete.MDB"));
  EXPECT_EQ(filters, QtNameFilters(save.filter));
}

// Lets the event loop run until done() holds, without sleeping; a guard timer keeps a fault from
// hanging the tests.
bool ProcessEventsUntil(const std::function<bool()>& done) {
  QTimer guard;
  guard.setSingleShot(true);
  guard.start(5000);
  while (!done() && guard.isActive()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  return done();
}

// The chooser's list speaks Italian whatever the desktop's language, and its columns are wide enough for
// their titles.
TEST_F(QtUserInterfaceTest, TheFileChooserListsInItalian) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("cartella"));
  std::ofstream(dir.File("rete.mdb")) << std::string(3000, 'x');
  const struct utimbuf august { 1723716000, 1723716000 };  // 15 August 2024, 10:00 UTC
  ASSERT_EQ(utime(dir.File("rete.mdb").c_str(), &august), 0);
  std::vector<QStringList> rows;
  WhenModalOpens([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    dialog->setDirectory(QString::fromStdString(dir.path()));
    auto* list = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
    ASSERT_NE(list, nullptr);
    QAbstractItemModel* model = list->model();
    ProcessEventsUntil([&] { return model->rowCount(list->rootIndex()) == 2; });
    for (int row = 0; row < model->rowCount(list->rootIndex()); ++row) {
      QStringList texts;
      for (int column = 0; column < 4; ++column)
        texts << model->index(row, column, list->rootIndex()).data().toString();
      rows.push_back(texts);
    }
    QHeaderView* header = list->header();
    for (int column = 0; column < 4; ++column) {
      const QString title = model->headerData(column, Qt::Horizontal).toString();
      EXPECT_GE(header->sectionSize(column), header->fontMetrics().horizontalAdvance(title))
          << title.toStdString();
    }
    dialog->reject();
  });
  ui_.ChooseOpenFile({"Apertura", "Database JET (*.mdb)|*.mdb||", "MDB", "*.MDB", true, false});
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][2], QStringLiteral("Cartella"));
  EXPECT_EQ(rows[1][0], QStringLiteral("rete.mdb"));
  EXPECT_EQ(rows[1][1], QStringLiteral("2,93 KiB"));
  EXPECT_EQ(rows[1][2], QStringLiteral("File MDB"));
  EXPECT_TRUE(rows[1][3].startsWith(QStringLiteral("15 ago 2024"))) << rows[1][3].toStdString();
}

TEST_F(QtUserInterfaceTest, BusyClockStartsOnceShowsElapsedTimeAndGoesAwayWhenIdle) {
  ui_.BeginBusy(true);
  ASSERT_TRUE(clock_->running());
  EXPECT_TRUE(clock_->isVisible());
  EXPECT_EQ(clock_->Text(), QStringLiteral("00:00"));
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  clock_->SetElapsedOffset(75);
  ui_.BeginBusy(true);  // a second start changes nothing
  EXPECT_EQ(clock_->Text(), QStringLiteral("01:15"));

  // Back in the event loop, with no call of EndBusy, the clock and the wait cursor go.
  EXPECT_TRUE(ProcessEventsUntil([this] { return !ui_.busy(); }));
  EXPECT_FALSE(clock_->running() || clock_->isVisible() || ui_.busy());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // A new start begins from zero again.
  ui_.BeginBusy(true);
  EXPECT_EQ(clock_->Text(), QStringLiteral("00:00"));
  ui_.EndBusy();
  EXPECT_FALSE(clock_->isVisible());
}

// Runs body inside depth nested event loops: the application's loop, a dialog's loop inside it...
void InLoops(int depth, const std::function<void()>& body) {
  if (depth <= 0) return body();
  QEventLoop loop;
  QTimer::singleShot(0, &loop, [&] {
    InLoops(depth - 1, body);
    loop.quit();
  });
  loop.exec();
}

TEST_F(QtUserInterfaceTest, TheBusyStateEndsBackInTheLoopTheWorkBeganIn) {
  const struct {
    int began;    // event loops running at BeginBusy
    int checked;  // event loops running at the idle check
    bool busy;
  } kCases[] = {
      {0, 0, false},                 // start-up work before the application's loop
      {0, 1, false},                 // ... ends once that loop runs
      {1, 1, false},                 // a command, back in the application's loop
      {1, 2, true},                  // a dialog opened by the work runs a loop of its own
      {1, 3, true},  {2, 1, false},  // work begun in a dialog, which has closed
  };
  for (const auto& c : kCases) {
    bool busy = false;
    const auto check = [&] {
      ui_.CheckIdle();
      busy = ui_.busy();
    };
    InLoops(std::min(c.began, c.checked), [&] {
      if (c.began <= c.checked) {
        ui_.BeginBusy(true);
        InLoops(c.checked - c.began, check);
      } else {
        InLoops(c.began - c.checked, [this] { ui_.BeginBusy(true); });
        check();
      }
    });
    EXPECT_EQ(busy, c.busy) << c.began << " " << c.checked;
    EXPECT_EQ(clock_->running(), c.busy);
    ui_.EndBusy();
  }

  // Inside a worker's run, the busy state waits for the run's end.
  CommandWorker worker(ui_);
  WindowThread window;
  bool busy_in_run = false;
  worker.Run([&] {
    window.Run([&] {
      ui_.BeginBusy(true);
      ui_.CheckIdle();
      busy_in_run = ui_.busy();
    });
  });
  EXPECT_TRUE(busy_in_run);
  EXPECT_FALSE(ui_.busy() || clock_->running());
}

// The banner of a phase stays within the window and goes at a resize until the next phase; the bar follows
// the resize.
TEST_F(QtUserInterfaceTest, ProgressBarAlongTheBottomAndBannerAboveIt) {
  {
    ProgressDisplay progress(ui_);
    ProgressOverlay* overlay = ui_.progress();
    ASSERT_NE(overlay, nullptr);
    progress.SetPhase(std::string(400, 'W'));
    PhaseBanner* banner = overlay->banner();
    ASSERT_TRUE(banner->isVisible());
    EXPECT_EQ(banner->text_x(), 0) << "a phase wider than the window starts at its left edge";

    window_.resize(700, 500);
    ASSERT_TRUE(ProcessEventsUntil([this] { return client_->width() < 800; }));
    EXPECT_FALSE(banner->isVisible());
    EXPECT_EQ(overlay->bar()->geometry(), QRect(0, client_->height() - 20, client_->width(), 20));
    progress.SetPhase("Registrazione Nodi del Grafo");
    EXPECT_TRUE(banner->isVisible());
  }
  EXPECT_EQ(ui_.progress(), nullptr);
  EXPECT_TRUE(client_->findChildren<QProgressBar*>().isEmpty());
}

TEST(NumericLocaleTest, DataFormattingIgnoresThePersonsLocale) {
  if (!std::setlocale(LC_NUMERIC, "it_IT.UTF-8")) GTEST_SKIP() << "no Italian locale";
  char text[16];
  std::snprintf(text, sizeof text, "%.1f", 1.5);
  ASSERT_STREQ(text, "1,5");
  UseNeutralNumericLocale();
  std::snprintf(text, sizeof text, "%.1f", 1.5);
  EXPECT_STREQ(text, "1.5");
}

}  // namespace
}  // namespace viamappa
