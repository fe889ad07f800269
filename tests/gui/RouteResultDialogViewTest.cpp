#include "gui/RouteResultDialogView.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "gui/QtUserInterface.h"
#include "support/ModalDialogs.h"

namespace viamappa {
namespace {

QPushButton* Button(QWidget* dialog, const QString& text) {
  for (QPushButton* button : dialog->findChildren<QPushButton*>())
    if (button->text() == text) return button;
  return nullptr;
}

TEST(RouteResultDialogViewTest, ShowsTheModelAndTellsWhichButtonClosedIt) {
  const RouteResultDialog model("Il percorso minimo identificato misura 1.20 Km",
                                {"Km  0.45 - VIA ROMA - Località Piano", "Km  1.20 - VIA <B>VERDI</B> -  "});
  for (const auto& [text, choice] :
       {std::pair{"OK", RouteDialogChoice::Ok}, std::pair{"Annulla", RouteDialogChoice::Cancel},
        std::pair{"Salva", RouteDialogChoice::Save}}) {
    RouteResultDialogView view(nullptr, model);
    QPushButton* button = Button(&view, QString::fromUtf8(text));
    ASSERT_NE(button, nullptr) << text;
    QTimer::singleShot(0, button, [button] { button->click(); });
    view.exec();
    EXPECT_EQ(view.choice(), choice) << text;
  }
  RouteResultDialogView view(nullptr, model);
  EXPECT_EQ(view.length_label()->textFormat(), Qt::PlainText);
  ASSERT_EQ(view.list()->count(), 2);
  EXPECT_EQ(view.list()->item(1)->text(), QStringLiteral("Km  1.20 - VIA <B>VERDI</B> -  "));
  // Through the port, as the core shows it.
  QtUserInterface ui(QStringLiteral("VIAMAPPA"));
  testing::WhenModalOpens([](QWidget* modal) { Button(modal, QStringLiteral("Salva"))->click(); });
  EXPECT_EQ(ui.RunRouteResultDialog(model), RouteDialogChoice::Save);
}

}  // namespace
}  // namespace viamappa
