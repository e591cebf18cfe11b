#pragma once
// The manifest of a batch: one job a row, in a ";"-separated UTF-8 file a spreadsheet can
// edit. krinu-cli batch reads it; the batch window opens and saves it.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "common/result.h"

namespace krinu {

// The manifest's columns, in the order a saved manifest writes them.
enum TManifestColumn {
  mcBemenet,
  mcAdoszam,
  mcUgyintezo,
  mcKezdete,
  mcVege,
  mcKimenet,
  mcNaplo,
  mcOsszesito,
  mcProfil,
  mcOsszevonas,
  mcNullasKihagyas,
  kManifestColumns
};

// The column's header text, as the manifest must name it.
[[nodiscard]] QString ManifestColumnName(TManifestColumn column);
// Whether a manifest must have the column.
[[nodiscard]] bool ManifestColumnRequired(TManifestColumn column);

// One job of a batch: the cells of its row as written (paths made absolute when read).
struct TBatchRow {
  std::array<QString, kManifestColumns> Cells;
  int Line = 0;  // the manifest line it stood on; 0 for a row made in the window
  [[nodiscard]] const QString& operator[](TManifestColumn c) const { return Cells[size_t(c)]; }
  [[nodiscard]] QString& operator[](TManifestColumn c) { return Cells[size_t(c)]; }
};

// The rows of a manifest's bytes, relative paths taken from `folder`. A manifest that is no
// UTF-8 text, lacks a required column, names an unknown one or has a row longer than its
// header is refused with the reason.
[[nodiscard]] TResult<std::vector<TBatchRow>> ParseManifest(const QByteArray& bytes,
                                                            const QString& folder);
// The same read from a file (relative paths from the file's folder).
[[nodiscard]] TResult<std::vector<TBatchRow>> ReadManifest(const QString& file);

// The manifest of the rows, with a byte-order mark (a spreadsheet then reads it as UTF-8):
// paths inside `folder` written relative to it.
[[nodiscard]] QByteArray ManifestBytes(const std::vector<TBatchRow>& rows, const QString& folder);

// An empty manifest: the header and one commented example row.
[[nodiscard]] QByteArray ManifestTemplate();

// igen/nem cells: the value, or nothing for an empty cell (the default), or a failure.
enum class TYesNo { Default, Yes, No, Invalid };
[[nodiscard]] TYesNo ReadYesNo(const QString& cell);

}  // namespace krinu
