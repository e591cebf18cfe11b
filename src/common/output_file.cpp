#include "common/output_file.h"

#include <QFileInfo>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "common/write_error.h"
#include "common/writeback.h"

namespace krinu {

namespace {

std::filesystem::file_status StatusOf(const QString& name) {
  std::error_code error;
  return std::filesystem::status(std::filesystem::path(QFile::encodeName(name).toStdString()),
                                 error);
}

}  // namespace

bool NamesSpecialFile(const QString& name) {
  if (name.isEmpty()) return false;
  const std::filesystem::file_status status = StatusOf(name);
  return std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
         !std::filesystem::is_directory(status);
}

TOutputFile::TOutputFile(const QString& name) : name_(name) {}

std::optional<QString> TOutputFile::Open() {
  const std::filesystem::file_status status = StatusOf(name_);
  if (std::filesystem::is_character_file(status) || std::filesystem::is_fifo(status)) {
    stream_.emplace(name_);
    errno = 0;
    if (stream_->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return std::nullopt;
    errno_ = errno;
    return Reason();
  }
  if (NamesSpecialFile(name_)) {
    refused_ = QStringLiteral(
        "ez a név nem közönséges fájlt jelöl (hanem például blokkos eszközt vagy socketet); "
        "a program ide nem ír");
    return refused_;
  }
  // Unbuffered: a write held in the buffer would fail only inside commit(), which does not
  // report it, and a cut-off file would stand in place of the old one. QSaveFile never
  // falls back to writing the target in place.
  save_.emplace(name_);
  errno = 0;
  if (save_->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return std::nullopt;
  errno_ = errno;
  return save_->errorString();
}

bool TOutputFile::Write(QByteArrayView bytes) {
  QFileDevice* device = stream_ ? static_cast<QFileDevice*>(&*stream_)
                                : static_cast<QFileDevice*>(save_ ? &*save_ : nullptr);
  if (!device) return false;
  errno = 0;
  if (device->write(bytes.data(), bytes.size()) == bytes.size()) {
    // A file being made goes to the disk while the rest is written: the commit's sync has
    // less to wait for.
    if (save_) StartWriteback(save_->handle(), written_, bytes.size());
    written_ += bytes.size();
    return true;
  }
  errno_ = errno;
  return false;
}

std::optional<QString> TOutputFile::Commit() {
  errno = 0;
  if (stream_) {
    stream_->close();
    if (stream_->error() == QFileDevice::NoError) return std::nullopt;
    errno_ = errno;
    return Reason();
  }
  if (!save_) return Reason();
  if (save_->commit()) return std::nullopt;
  errno_ = errno;
  return Reason();
}

void TOutputFile::Cancel() {
  if (save_) save_->cancelWriting();
  if (stream_) stream_->close();
}

QString TOutputFile::Reason() const {
  if (!refused_.isEmpty()) return refused_;
  if (stream_) return WriteErrorReason(*stream_, errno_);
  if (save_) return WriteErrorReason(*save_, errno_);
  return qt_error_string(errno_);
}

}  // namespace krinu
