#include "gui/QtUserInterface.h"

#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <fstream>
#include <functional>

#include "gui/BusyClock.h"
#include "gui/MainApp.h"
#include "gui/ProgressOverlay.h"
#include "support/TempDir.h"
#include "ui/ProgressDisplay.h"

namespace viamappa {
namespace {

using testing::TempDir;

// Runs inspect on the modal dialog that the next call opens, once it shows.
void WhenModalOpens(std::function<void(QWidget*)> inspect) {
  QTimer::singleShot(0, [inspect] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return WhenModalOpens(inspect);
    inspect(modal);
  });
}

QStringList ButtonTexts(QMessageBox* box) {
  QStringList texts;
  for (QAbstractButton* button : box->buttons()) texts << button->text();
  texts.sort();
  return texts;
}

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
    seen = {ButtonTexts(box), box->icon(), box->windowTitle(), box->textFormat()};
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

  AnswerNextBox(QMessageBox::Ok, seen);
  ui_.ShowMessage("Errore creazione finestra principale", MessageIcon::None);
  EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
}

TEST_F(QtUserInterfaceTest, SaveDialogAppendsTheDefaultExtensionAndOpenDialogNeedsAnExistingFile) {
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

  WhenModalOpens([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    dialog->reject();
  });
  EXPECT_FALSE(ui_.ChooseOpenFile({"Apertura", save.filter, "MDB", "*.MDB", true, false}).has_value());
}

TEST_F(QtUserInterfaceTest, BusyClockStartsOnceShowsElapsedTimeAndGoesAwayWhenIdle) {
  ui_.BeginBusy(true);
  ASSERT_TRUE(clock_->running());
  EXPECT_TRUE(clock_->isVisible());
  EXPECT_EQ(clock_->Text(), QStringLiteral("00:00"));
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  // Centred over the main window.
  EXPECT_LE((clock_->geometry().center() - window_.rect().center()).manhattanLength(), 2);
  clock_->SetElapsedOffset(75);
  ui_.BeginBusy(true);  // a second start changes nothing
  EXPECT_EQ(clock_->Text(), QStringLiteral("01:15"));

  // Back in the event loop, with no call of EndBusy, the clock and the wait cursor go.
  QTest::qWait(50);
  EXPECT_FALSE(clock_->running() || clock_->isVisible() || ui_.busy());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // A new start begins from zero again.
  ui_.BeginBusy(true);
  EXPECT_EQ(clock_->Text(), QStringLiteral("00:00"));
  ui_.EndBusy();
  EXPECT_FALSE(clock_->isVisible());
}

// Runs body inside an event loop, as a command runs inside the application's loop, then lets that
// loop go on for a while.
void RunInEventLoop(const std::function<void()>& body, int wait_after_ms) {
  QEventLoop loop;
  QTimer::singleShot(0, [&] {
    body();
    QTimer::singleShot(wait_after_ms, &loop, &QEventLoop::quit);
  });
  loop.exec();
}

TEST_F(QtUserInterfaceTest, ClockKeepsRunningInADialogOfTheWorkAndStopsInTheLoopItBeganIn) {
  RunInEventLoop(
      [&] {
        ui_.BeginBusy(true);
        // A dialog opened by the work runs a nested loop: the work is not over.
        QEventLoop dialog;
        QTimer::singleShot(300, &dialog, &QEventLoop::quit);
        dialog.exec();
        EXPECT_TRUE(clock_->running());
      },
      300);
  EXPECT_FALSE(clock_->running());

  // Work that begins before the application's loop runs (start-up) ends when that loop is idle.
  ui_.BeginBusy(true);
  RunInEventLoop([] {}, 300);
  EXPECT_FALSE(clock_->running());
}

TEST_F(QtUserInterfaceTest, ProgressBarAlongTheBottomAndBannerAboveIt) {
  {
    ProgressDisplay progress(ui_);
    ProgressOverlay* overlay = ui_.progress();
    ASSERT_NE(overlay, nullptr);
    const QRect bar = overlay->bar()->geometry();
    EXPECT_EQ(bar, QRect(0, client_->height() - 20, client_->width(), 20));

    progress.SetPhase("Importazione Archi Stradali");
    progress.SetPercent(40);
    EXPECT_EQ(overlay->bar()->value(), 40);
    PhaseBanner* banner = overlay->banner();
    ASSERT_TRUE(banner->isVisible());
    const QFontMetrics metrics(client_->font());
    EXPECT_EQ(banner->geometry().bottom() + 1, client_->height() - 21);
    EXPECT_EQ(banner->geometry().size(), QSize(client_->width(), metrics.height() + 10));
    const int text_width = metrics.horizontalAdvance(QStringLiteral("Importazione Archi Stradali"));
    EXPECT_EQ(banner->text_x(), (client_->width() - text_width) / 2);
    const QImage drawn = banner->grab().toImage();
    EXPECT_EQ(QColor(drawn.pixel(2, 2)), QColor(0, 0, 192));

    // A phase wider than the window starts at its left edge.
    progress.SetPhase(std::string(400, 'W'));
    EXPECT_EQ(banner->text_x(), 0);

    // A resize takes the banner away until the next phase.
    window_.resize(700, 500);
    QTest::qWait(20);
    EXPECT_FALSE(banner->isVisible());
    EXPECT_EQ(overlay->bar()->geometry(), QRect(0, client_->height() - 20, client_->width(), 20));
    progress.SetPhase("Registrazione Nodi del Grafo");
    EXPECT_TRUE(banner->isVisible());
  }
  EXPECT_EQ(ui_.progress(), nullptr);
  EXPECT_TRUE(client_->findChildren<QProgressBar*>().isEmpty());
}

// A widget that counts the key presses it receives.
class KeyCounter : public QWidget {
 public:
  int presses = 0;

 protected:
  void keyPressEvent(QKeyEvent*) override { ++presses; }
};

TEST_F(QtUserInterfaceTest, LongWorkRepaintsAndTicksButUserInputWaits) {
  auto* target = new KeyCounter;
  target->setParent(client_);
  target->setFocusPolicy(Qt::StrongFocus);
  target->resize(100, 100);
  target->show();
  target->setFocus();
  window_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  ASSERT_TRUE(target->hasFocus());

  ui_.BeginBusy(true);
  int ticks = 0;
  QTimer timer;
  timer.setInterval(0);
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start();
  {
    ProgressDisplay progress(ui_);
    // A key pressed during the work, queued as the window system queues it.
    QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
        window_.windowHandle(), QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    progress.SetPhase("Fase 1");
    for (int i = 0; i <= 100; i += 10) {
      QTest::qSleep(15);
      progress.SetPercent(i);
    }
    progress.SetPhase("Fase 2");
    EXPECT_GT(ticks, 0);               // timers ran during the work
    EXPECT_EQ(target->presses, 0);     // the key did not
    EXPECT_TRUE(clock_->isVisible());  // nor did the idle check stop the clock
  }
  timer.stop();
  QApplication::processEvents();
  EXPECT_EQ(target->presses, 1);  // once the work is over the key arrives
  EXPECT_TRUE(QTest::qWaitFor([this] { return !clock_->isVisible(); }, 1000));
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

TEST(TranslationsTest, QtsOwnTextsAreItalian) {
  QTranslator translator;
  if (!InstallItalianTranslations(translator)) GTEST_SKIP() << "Qt's Italian translations are not installed";
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Annulla"));
  EXPECT_NE(QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?"),
            QStringLiteral("%1 already exists.\nDo you want to replace it?"));
  QCoreApplication::removeTranslator(&translator);
}

}  // namespace
}  // namespace viamappa
