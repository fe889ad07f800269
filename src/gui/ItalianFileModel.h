// The file chooser's list in Italian, whatever the desktop's language: the types of its entries
// ("Cartella", "File MDB"), their sizes with the decimal comma and their dates with Italian month names.
// Qt's own texts of the chooser come from its Italian translation; these come from the file system and
// the desktop, which would show them in their own language.
#pragma once

#include <QFileDialog>
#include <QIdentityProxyModel>

namespace viamappa {

class ItalianFileModel : public QIdentityProxyModel {
  Q_OBJECT
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override;
};

// Gives a file chooser the Italian list, a size that shows whole dates, and columns wide enough for
// their titles and values.
void MakeItalian(QFileDialog& dialog);

}  // namespace viamappa
