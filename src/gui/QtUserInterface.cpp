#include "gui/QtUserInterface.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QThread>
#include <algorithm>

#include "gui/BulkRenameDialogView.h"
#include "gui/BusyClock.h"
#include "gui/CommandWorker.h"
#include "gui/HighlightCriteriaDialogView.h"
#include "gui/ItalianFileModel.h"
#include "gui/ProgressOverlay.h"
#include "gui/RouteResultDialogView.h"
#include "gui/SnapFactorDialogView.h"
#include "gui/StreetListDialog.h"
#include "gui/ToponymSearchDialogView.h"

namespace viamappa {

namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon QtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Stop:
      return QMessageBox::Critical;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

// While a dialog waits for the person, the pointer is the ordinary arrow even during long work. When
// the dialog closes, the keyboard goes back to the widget that had it (the map window, whose keys then
// act at once), also on a desktop whose window manager does not give it back, or that has none.
class ArrowWhileAsking {
 public:
  ArrowWhileAsking(bool busy, QWidget* window)
      : busy_(busy), window_(window), focus_(QApplication::focusWidget()) {
    if (busy_) QApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  ~ArrowWhileAsking() {
    if (busy_) QApplication::restoreOverrideCursor();
    QWidget* back = focus_ && focus_->isVisible() ? focus_.data() : nullptr;
    QWidget* window = back ? back->window() : window_.data();
    if (!window || !window->isVisible()) return;
    // Without a window manager the window system keeps its own focus on the window while the program
    // forgets it: the program is told again which window is active.
    QApplication::setActiveWindow(window);
    window->activateWindow();
    if (back) back->setFocus(Qt::ActiveWindowFocusReason);
  }
  ArrowWhileAsking(const ArrowWhileAsking&) = delete;
  ArrowWhileAsking& operator=(const ArrowWhileAsking&) = delete;

 private:
  bool busy_;
  QPointer<QWidget> window_;
  QPointer<QWidget> focus_;
};

// How often the idle check looks again while a dialog of the work is open.
constexpr int kIdleRecheckMs = 100;

}  // namespace

QStringList QtNameFilters(std::string_view filter) {
  const QStringList parts = FromUtf8(filter).split(QLatin1Char('|'));
  static const QRegularExpression trailing_patterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString name = parts[i].trimmed();
    if (name.isEmpty()) break;
    QStringList patterns;
    for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      const QString trimmed = pattern.trimmed();
      patterns << (trimmed == QStringLiteral("*.*") ? QStringLiteral("*") : trimmed);
    }
    if (patterns.isEmpty()) patterns << QStringLiteral("*");
    name.remove(trailing_patterns);
    filters << name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return filters;
}

QtUserInterface::QtUserInterface(QString title) : title_(std::move(title)) {
  idle_check_.setSingleShot(true);
  QObject::connect(&idle_check_, &QTimer::timeout, [this] { CheckIdle(); });
}

QtUserInterface::~QtUserInterface() {
  if (cursor_set_) QApplication::restoreOverrideCursor();
}

void QtUserInterface::Attach(QWidget* window, QWidget* client, BusyClock* clock) {
  window_ = window;
  client_ = client;
  clock_ = clock;
}

int QtUserInterface::RunMessageBox(std::string_view text, MessageIcon icon, std::string_view caption,
                                   int buttons) {
  QMessageBox box(QtIcon(icon), caption.empty() ? title_ : FromUtf8(caption), FromUtf8(text),
                  QMessageBox::StandardButtons(buttons), window_);
  // Paths and database descriptions are shown as they are, never read as markup.
  box.setTextFormat(Qt::PlainText);
  const struct {
    QMessageBox::StandardButton button;
    const char* text;
  } kTexts[] = {{QMessageBox::Ok, "OK"},
                {QMessageBox::Cancel, "Annulla"},
                {QMessageBox::Yes, "Sì"},
                {QMessageBox::No, "No"}};
  for (const auto& entry : kTexts) {
    if (QAbstractButton* button = box.button(entry.button)) button->setText(QString::fromUtf8(entry.text));
  }
  if (buttons & QMessageBox::Ok) box.setDefaultButton(QMessageBox::Ok);
  if (buttons & QMessageBox::Yes) box.setDefaultButton(QMessageBox::Yes);
  if (buttons & QMessageBox::Cancel) box.setEscapeButton(QMessageBox::Cancel);
  if (buttons & QMessageBox::No) box.setEscapeButton(QMessageBox::No);
  ArrowWhileAsking arrow(cursor_set_, window_);
  return box.exec();
}

void QtUserInterface::ShowMessage(std::string_view text, MessageIcon icon, std::string_view caption) {
  RunMessageBox(text, icon, caption, QMessageBox::Ok);
}

bool QtUserInterface::AskOkCancel(std::string_view text, std::string_view caption) {
  return RunMessageBox(text, MessageIcon::Question, caption, QMessageBox::Ok | QMessageBox::Cancel) ==
         QMessageBox::Ok;
}

bool QtUserInterface::AskYesNo(std::string_view text, std::string_view caption) {
  return RunMessageBox(text, MessageIcon::Question, caption, QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

bool QtUserInterface::RunSnapFactorDialog(SnapFactorDialog& dialog) {
  SnapFactorDialogView view(
      window_, dialog, [this](const std::string& warning) { ShowMessage(warning, MessageIcon::Warning); });
  ArrowWhileAsking arrow(cursor_set_, window_);
  return view.exec() == QDialog::Accepted;
}

void QtUserInterface::RunBulkRenameDialog(BulkRenameDialog& dialog) {
  BulkRenameDialogView view(window_, dialog);
  ArrowWhileAsking arrow(cursor_set_, window_);
  view.exec();
}

std::optional<std::string> QtUserInterface::RunFileDialog(const FileChoice& choice, bool save) {
  QFileDialog dialog(window_, FromUtf8(choice.title));
  // The program's own dialog behaves the same on every desktop: filters, default extension and the
  // question before overwriting.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  MakeItalian(dialog);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile
                          : (choice.must_exist ? QFileDialog::ExistingFile : QFileDialog::AnyFile));
  if (save && !choice.confirm_overwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  const QStringList filters = QtNameFilters(choice.filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  if (!choice.default_extension.empty()) dialog.setDefaultSuffix(FromUtf8(choice.default_extension));
  if (!last_directory_.isEmpty()) dialog.setDirectory(last_directory_);
  // A name with wildcards is a pattern that the filters already show; only a plain name is proposed.
  const QString initial = FromUtf8(choice.default_name);
  if (!initial.isEmpty() && !initial.contains(QLatin1Char('*')) && !initial.contains(QLatin1Char('?'))) {
    dialog.selectFile(initial);
  }
  ArrowWhileAsking arrow(cursor_set_, window_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty() || files.front().isEmpty()) return std::nullopt;
  last_directory_ = QFileInfo(files.front()).absolutePath();
  return QFile::encodeName(files.front()).toStdString();
}

std::optional<std::string> QtUserInterface::ChooseOpenFile(const FileChoice& choice) {
  return RunFileDialog(choice, false);
}

std::optional<std::string> QtUserInterface::ChooseSaveFile(const FileChoice& choice) {
  return RunFileDialog(choice, true);
}

bool QtUserInterface::RunStreetListDialog(StreetListDialogModel& dialog) {
  StreetListDialog view(dialog, *this, window_);
  ArrowWhileAsking arrow(cursor_set_, window_);
  return view.exec() == QDialog::Accepted;
}

bool QtUserInterface::RunToponymSearchDialog(ToponymSearchDialog& dialog) {
  ToponymSearchDialogView view(dialog, *this, window_);
  ArrowWhileAsking arrow(cursor_set_, window_);
  return view.exec() == QDialog::Accepted;
}

bool QtUserInterface::RunHighlightCriteriaDialog(HighlightCriteriaDialog& dialog) {
  HighlightCriteriaDialogView view(dialog, window_);
  ArrowWhileAsking arrow(cursor_set_, window_);
  return view.exec() == QDialog::Accepted;
}

RouteDialogChoice QtUserInterface::RunRouteResultDialog(const RouteResultDialog& dialog) {
  RouteResultDialogView view(window_, dialog);
  ArrowWhileAsking arrow(cursor_set_, window_);
  view.exec();
  return view.choice();
}

void QtUserInterface::BeginBusy(bool with_clock) {
  if (!busy_) busy_loop_level_ = QThread::currentThread()->loopLevel();
  busy_ = true;
  if (!cursor_set_) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    cursor_set_ = true;
  }
  if (with_clock && clock_ && !clock_->running()) clock_->Start();
  idle_check_.start(0);
}

void QtUserInterface::EndBusy() {
  busy_ = false;
  idle_check_.stop();
  if (clock_) clock_->Stop();
  if (cursor_set_) {
    QApplication::restoreOverrideCursor();
    cursor_set_ = false;
  }
}

void QtUserInterface::CheckIdle() {
  if (!busy_ || CommandWorker::AnyRunning()) return;
  if (QThread::currentThread()->loopLevel() > std::max(busy_loop_level_, 1)) {
    idle_check_.start(kIdleRecheckMs);
    return;
  }
  EndBusy();
}

void QtUserInterface::ProgressBegin() {
  if (progress_depth_++ > 0 || !client_) return;
  progress_ = std::make_unique<ProgressOverlay>(client_);
}

void QtUserInterface::ProgressPhase(std::string_view phase) {
  if (progress_) progress_->SetPhase(FromUtf8(phase));
}

void QtUserInterface::ProgressPercent(int percent) {
  if (progress_) progress_->SetPercent(percent);
}

void QtUserInterface::ProgressEnd() {
  if (progress_depth_ == 0) return;
  if (--progress_depth_ == 0) progress_.reset();
}

}  // namespace viamappa
