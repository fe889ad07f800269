#include "gui/ItalianFileModel.h"

#include <QFileSystemModel>
#include <QHeaderView>
#include <QLocale>
#include <QTreeView>

namespace viamappa {

namespace {

// The columns of the chooser's detailed list.
enum Column { kName = 0, kSize = 1, kType = 2, kDate = 3 };

QLocale Italian() {
  return QLocale(QLocale::Italian, QLocale::Italy);
}

}  // namespace

QVariant ItalianFileModel::data(const QModelIndex& index, int role) const {
  const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
  if (role != Qt::DisplayRole || !files || !index.isValid() || index.column() == kName)
    return QIdentityProxyModel::data(index, role);
  const QFileInfo info = files->fileInfo(mapToSource(index));
  switch (index.column()) {
    case kSize:
      return info.isDir() ? QString() : Italian().formattedDataSize(info.size());
    case kType:
      if (info.isDir()) return QStringLiteral("Cartella");
      return info.suffix().isEmpty() ? QStringLiteral("File")
                                     : QStringLiteral("File ") + info.suffix().toUpper();
    case kDate:
      return Italian().toString(info.lastModified(), QStringLiteral("d MMM yyyy HH:mm"));
    default:
      return QIdentityProxyModel::data(index, role);
  }
}

void MakeItalian(QFileDialog& dialog) {
  dialog.setProxyModel(new ItalianFileModel(&dialog));
  dialog.resize(dialog.sizeHint().expandedTo(QSize(860, 520)));
  if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    QHeaderView* header = list->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(kName, QHeaderView::Stretch);
    for (const int column : {kSize, kType, kDate})
      header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
}

}  // namespace viamappa
