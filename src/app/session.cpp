#include "app/session.h"

#include <QDir>
#include <QFileInfo>
#include <exception>
#include <stdexcept>

#include "app/settings.h"
#include "masterdata/master_database.h"

namespace krinu {

TSession::TSession(AppEnvironment env)
    : Env(std::move(env)),
      ProgramDir(FolderOf(Env.ProgramPath)),
      UserGuideFile(ProgramFile(ProgramDir, QStringLiteral("Help/Kezikonyv.html"))) {}

TStartup TSession::Start(UserInterface& ui) {
  if (startup_ != TStartup::NotStarted) return startup_;
  OutputLocale = QLocale::system();
  const auto failed = [&](const QString& reason) {
    ui.Error(QStringLiteral("Probléma merült fel a program inicializálása közben: ") + reason);
    return startup_ = TStartup::Failed;
  };
  try {
    IniFileName = Env.IniFileName.isEmpty() ? ProgramFile(ProgramDir, QStringLiteral("krinu.ini"))
                                            : Env.IniFileName;
    const QFileInfo ini(IniFileName);
    if (ini.exists() && (!ini.isFile() || ini.size() > kMaxIniBytes)) {
      // A FIFO would block the start, a device or a huge file would fill the memory.
      Notice(QStringLiteral("A program 'INI' fájlja (") + IniFileName +
             QStringLiteral(") nem közönséges fájl, vagy nagyobb 1 MiB-nál; nem került "
                            "beolvasásra, a beépített fejléc minták érvényesek"));
      HeaderMasks = BuiltInHeaderMasks();
    } else if (ini.exists()) {
      QStringList skipped;
      std::optional<THeaderMasks> masks = LoadHeaderMasks(IniFileName, &skipped);
      if (!skipped.isEmpty())
        Notice(QStringLiteral("A program 'INI' fájlja (") + IniFileName +
               QStringLiteral(") csak részben került beolvasásra: a(z) ") +
               skipped.join(QStringLiteral(", ")) +
               QStringLiteral(". sor nem érvényes UTF-8 szöveg, ezért kimaradt"));
      if (!masks) {
        ui.Error(QStringLiteral("Probléma a program 'INI' fájljában(") + IniFileName +
                 QStringLiteral(")!"));
        return startup_ = TStartup::Aborted;
      }
      HeaderMasks = std::move(*masks);
    }
    const qsizetype before = Notices.size();
    FindDataDir();
    if (!DataDir.isEmpty()) ImportProfiles.SetFile(ImportProfilesName(DataDir));
    Log.Write(LogSource::Startup, QStringLiteral("NAV ÁFA bevallás készítő program elindult"));
    Log.Write(LogSource::Startup, QStringLiteral("Adat könyvtár: ") + DataDir);
    for (qsizetype i = before; i < Notices.size(); ++i) {
      QString line = Notices[i];
      line[0] = line[0].toUpper();  // a line of its own here
      Log.Write(LogSource::Startup, line);
    }
    TResult<std::unique_ptr<TSQLiteDatabase>> db = OpenMasterDatabase(DataDir, ProgramDir, Log);
    if (!db) return failed(db.Message());
    Db = std::move(db).Take();
    // A database that cannot be read is not used at all: no register opens on it and
    // nothing is written into it.
    const auto unreadable = [&](const TStatus& loaded) {
      AdozokList.Clear();
      UgyintezokList.Clear();
      Db.reset();
      return failed(loaded.Message());
    };
    if (const TStatus loaded = LoadAdozok(*Db, AdozokList); !loaded) return unreadable(loaded);
    if (const TStatus loaded = LoadUgyintezok(*Db, UgyintezokList); !loaded)
      return unreadable(loaded);
    return startup_ = TStartup::Started;
  } catch (const std::exception& e) {
    return failed(QString::fromUtf8(e.what()));
  }
}

// The per-user folder's ".Krinu" subfolder, created one level deep when missing; the
// program's own folder when there is no per-user folder or it cannot be made. A folder
// named on the command line is used or refused, never swapped for another behind the
// user's back.
void TSession::FindDataDir() {
  if (!Env.DataDirOverride.isEmpty()) {
    const QString dir = WithTrailingSeparator(QFileInfo(Env.DataDirOverride).absoluteFilePath());
    const QFileInfo info(dir);
    if (!QDir().mkpath(dir) || !info.isDir() || !info.isWritable())
      throw std::runtime_error(
          QString(QStringLiteral("a megadott adat könyvtár (") + dir +
                  QStringLiteral(") nem hozható létre, vagy nem írható; semmi nem változott"))
              .toStdString());
    DataDir = dir;
    return;
  }
  DataDir = ProgramDir;
  // The program folder holds another register than the user's: said, not done silently.
  const QString instead = QStringLiteral("az adat könyvtár a program saját mappája (") +
                          ProgramDir + QStringLiteral("), nem a felhasználóé: ");
  if (Env.UserProfile.isEmpty()) {
    Notices << instead + QStringLiteral("a(z) %1 környezeti változó üres vagy nincs megadva")
                             .arg(QLatin1String(kUserProfileVariable));
    return;
  }
  const QString folder =
      WithTrailingSeparator(WithTrailingSeparator(Env.UserProfile) + QStringLiteral(".Krinu"));
  if (QFileInfo(folder).isDir() || QDir().mkdir(folder))
    DataDir = folder;
  else
    Notices << instead + QStringLiteral("a(z) ") + folder +
                   QStringLiteral(" mappa nem hozható létre");
}

void TSession::Notice(const QString& text) {
  Log.Write(LogSource::Startup, text);
  Notices << text;
}

void TSession::Close() {
  AdozokList.Clear();
  UgyintezokList.Clear();
  Db.reset();  // rolls back an open transaction first
}

}  // namespace krinu
