#include "gui/PlaceholderWindow.h"

#include <QLabel>

#include "db/Engine.h"

namespace viamappa {

PlaceholderWindow::PlaceholderWindow(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("VIAMAPPA"));
  auto* label = new QLabel(this);
  label->setAlignment(Qt::AlignCenter);
  label->setText(QStringLiteral("<h2>Viamappa - \u201cGestione Grafo Stradale\u201d</h2>"
                                "<p>Il programma è in costruzione.</p><p>Motore del database: %1</p>")
                     .arg(QString::fromStdString(EngineVersion())));
  setCentralWidget(label);
  resize(640, 360);
}

}  // namespace viamappa
