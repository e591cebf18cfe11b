#include <QDir>
#include <QSaveFile>
#include <cerrno>

#include "common/write_error.h"

#include "declaration/declaration_run.h"
#include "declaration/main_sheet.h"
#include "declaration/partner_sheet.h"
#include "declaration/xml_document.h"

namespace krinu {

namespace {

void AddDocument(TXmlDocument& doc, const TAdozoAdat& taxpayer, const TUgyintezoAdat& administrator,
                 const TDeclarationParams& params, const TAFAAdatList& list,
                 const QStringList& partnerList) {
  AddDocumentStart(doc);
  AddMainSheet(taxpayer, administrator, doc, params);
  for (const QString& partner : partnerList) AddPartnerSheet(taxpayer, doc, partner, params, list);
  AddDocumentEnd(doc);
}

QString WriteFailure(const QString& fileName, const QString& reason) {
  return QStringLiteral("Nem sikerült kiírni a fájlt: ") + QDir::toNativeSeparators(fileName) +
         u'\n' + reason;
}

}  // namespace

QByteArray BuildDeclarationDocument(const TAdozoAdat& taxpayer, const TUgyintezoAdat& administrator,
                                    const TDeclarationParams& params, const TAFAAdatList& list,
                                    const QStringList& partnerList) {
  // About 210 bytes per row and a few kilobytes per sheet: reserved once rather than grown
  // step by step to a couple of hundred megabytes.
  qsizetype rows = 0;
  for (const TAFAAdat& line : list) rows += line.Enabled ? 1 : 0;
  TXmlDocument doc;
  doc.Reserve(rows * 240 + (partnerList.size() + 1) * 4096);
  AddDocument(doc, taxpayer, administrator, params, list, partnerList);
  return doc.TakeBytes();
}

std::optional<QString> WriteDeclarationDocument(const QString& fileName, const TAdozoAdat& taxpayer,
                                                const TUgyintezoAdat& administrator,
                                                const TDeclarationParams& params,
                                                const TAFAAdatList& list,
                                                const QStringList& partnerList) {
  // Built straight into the file through one small buffer: the whole document would be some
  // two hundred megabytes for a million lines, memory that would have to be fetched afresh
  // only to be copied into the file.
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
    return WriteFailure(fileName, file.errorString());
  TXmlDocument doc;
  int writeErrno = 0;
  doc.SetSink(
      [&file, &writeErrno](QByteArrayView bytes) {
        errno = 0;
        if (file.write(bytes.data(), bytes.size()) == bytes.size()) return true;
        writeErrno = errno;
        return false;
      },
      qsizetype(1) << 20);
  AddDocument(doc, taxpayer, administrator, params, list, partnerList);
  if (!doc.Flush()) {
    const QString reason = WriteErrorReason(file, writeErrno);
    file.cancelWriting();
    return WriteFailure(fileName, reason);
  }
  errno = 0;
  if (!file.commit()) return WriteFailure(fileName, WriteErrorReason(file, errno));
  return std::nullopt;
}

std::optional<QString> WriteDeclarationFile(const QString& fileName, const QByteArray& bytes) {
  const auto failure = [&fileName](const QString& reason) {
    return WriteFailure(fileName, reason);
  };
  // QSaveFile writes a temporary file beside the target and renames it over the target on
  // commit; it never falls back to writing the target in place. Unbuffered, since a write
  // failing in the buffer's flush inside commit() would not be reported.
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return failure(file.errorString());
  errno = 0;
  if (file.write(bytes) != bytes.size()) {
    const QString reason = WriteErrorReason(file, errno);
    file.cancelWriting();
    return failure(reason);
  }
  errno = 0;
  if (!file.commit()) return failure(WriteErrorReason(file, errno));
  return std::nullopt;
}

}  // namespace krinu
