#include <QDir>
#include <algorithm>

#include "common/atomic_write.h"
#include "common/output_file.h"

#include "declaration/declaration_run.h"
#include "declaration/main_sheet.h"
#include "declaration/partner_sheet.h"
#include "declaration/xml_document.h"

namespace krinu {

namespace {

// `reached`, when given, follows the list entry where the sheet being written starts. A sink
// that failed (or was stopped) ends the walk: the rest would only be dropped.
void AddDocument(TXmlDocument& doc, const TReturn& r, std::size_t* reached = nullptr) {
  AddDocumentStart(doc);
  AddMainSheet(doc, r);
  for (const TPartnerSheet& sheet : r.Sheets) {
    if (doc.SinkFailed()) return;
    if (reached) *reached = sheet.First;
    AddPartnerSheet(doc, r, sheet);
  }
  AddDocumentEnd(doc);
}

TFailure WriteFailure(const QString& fileName, const QString& reason) {
  return Fail(TFailureKind::Access, QStringLiteral("Nem sikerült kiírni a fájlt: ") +
                                        QDir::toNativeSeparators(fileName) + u'\n' + reason);
}

}  // namespace

QByteArray BuildDeclarationDocument(const TReturn& r) {
  // About 210 bytes per row and a few kilobytes per sheet: reserved once rather than grown
  // step by step to a couple of hundred megabytes.
  qsizetype rows = 0;
  for (const TPartnerSheet& sheet : r.Sheets) rows += sheet.RowCount;
  TXmlDocument doc;
  doc.Reserve(rows * 240 + qsizetype(r.Sheets.size() + 1) * 4096);
  AddDocument(doc, r);
  return doc.TakeBytes();
}

QByteArray BuildDeclarationDocument(const TAdozoAdat& taxpayer, const TUgyintezoAdat& administrator,
                                    const TDeclarationParams& params, const TAFAAdatList& list,
                                    const QStringList& partnerList) {
  return BuildDeclarationDocument(BuildReturn(taxpayer, administrator, params, list, partnerList));
}

TStatus WriteDeclarationDocument(const QString& fileName, const TAdozoAdat& taxpayer,
                                 const TUgyintezoAdat& administrator,
                                 const TDeclarationParams& params, const TAFAAdatList& list,
                                 const QStringList& partnerList) {
  return WriteDeclarationDocument(
      fileName, BuildReturn(taxpayer, administrator, params, list, partnerList), {}, {});
}

TStatus WriteDeclarationDocument(const QString& fileName, const TReturn& r,
                                 const CancellableProgressFn& sheets, const ProgressFn& writing) {
  // Built straight into the file through one small buffer: the whole document would be some
  // two hundred megabytes for a million lines, memory that would have to be fetched afresh
  // only to be copied into the file.
  TOutputFile file(fileName);
  if (const std::optional<QString> refused = file.Open()) return WriteFailure(fileName, *refused);
  bool cancelled = false;
  TXmlDocument doc;
  // Asked once a megabyte, between two writes of the buffer: often enough to keep a window
  // alive, rarely enough to cost nothing.
  std::size_t reached = 0;
  bool finishing = false;  // the last write can no longer be stopped
  TProgressTicker ticker(sheets);
  const qint64 total = qint64(r.Lines ? r.Lines->size() : 0);
  doc.SetSink(
      [&](QByteArrayView bytes) {
        if (!file.Write(bytes)) return false;
        if (finishing || ticker.Now(qint64(reached), total)) return true;
        cancelled = true;
        return false;
      },
      qsizetype(1) << 20);
  if (ticker.Now(0, total))
    AddDocument(doc, r, &reached);
  else
    cancelled = true;
  if (cancelled) {
    file.Cancel();  // the temporary file goes; the target was never touched
    return Fail(TFailureKind::Cancelled, QString());
  }
  finishing = true;
  if (writing) writing(0, 0);
  if (!doc.Flush()) {
    const QString reason = file.Reason();
    file.Cancel();
    return WriteFailure(fileName, reason);
  }
  if (const std::optional<QString> reason = file.Commit()) return WriteFailure(fileName, *reason);
  return {};
}

TStatus WriteDeclarationFile(const QString& fileName, const QByteArray& bytes) {
  if (const std::optional<QString> reason = WriteFileAtomically(fileName, bytes))
    return WriteFailure(fileName, *reason);
  return {};
}

}  // namespace krinu
