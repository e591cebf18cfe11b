// profile list / show / delete: the import profiles of the data folder, as the "Mentett
// beállítások" window shows them.

#include "app/profiles_form.h"
#include "cli/cli.h"
#include "common/text_util.h"

namespace krinu::cli {
namespace {

// The profiles of the data folder; a damaged file has been set aside, which is said first.
TImportProfiles& Profiles(CliContext& c) {
  TImportProfiles& profiles = c.Session.ImportProfiles.Profiles();
  if (const std::optional<QString> notice = c.Session.ImportProfiles.TakeNotice()) {
    c.Err << "krinu-cli: figyelmeztetés: " << EscapeControlCharacters(notice.value(), false)
          << '\n';
    c.Err.flush();
  }
  return profiles;
}

int NoSuchProfile(CliContext& c, const QString& name) {
  c.Err << "krinu-cli: nincs ilyen nevű mentett beállítás: " << EscapeControlCharacters(name, false)
        << '\n';
  c.Err.flush();
  return kFailed;
}

CommandReader WithName(std::function<int(CliContext&, const QString&)> run) {
  return [run](const QCommandLineParser& args) -> FromArgs<CommandRun> {
    const QString name = args.positionalArguments().value(0);
    return CommandRun([run, name](CliContext& c) { return run(c, name); });
  };
}

const std::pair<QString, QString> kNameArgument{QStringLiteral("NÉV"),
                                                QStringLiteral("a mentett beállítás neve")};

}  // namespace

void AddProfileCommands(std::vector<CliCommand>& commands) {
  commands.push_back(
      {.Name = QStringLiteral("profile list"),
       .Help = QStringLiteral("a mentett beállítások, soronként egy: Név / Fájlformátum / "
                              "Utoljára használva / Adózó"),
       .Read = Always([](CliContext& c) {
         for (const TImportProfile& p : Profiles(c).Profiles) {
           const TProfileRow row = ProfileRowOf(p, c.Session);
           c.Out << EscapeControlCharacters(
                        QStringList{row.Name, row.Layout, row.LastUsed, row.Taxpayer}.join(
                            QStringLiteral(" / ")),
                        false)
                 << '\n';
         }
         return kOk;
       })});
  commands.push_back(
      {.Name = QStringLiteral("profile show"),
       .Usage = QStringLiteral("NÉV"),
       .Help = QStringLiteral("egy mentett beállítás: fájlformátum, javítások, utolsó bevallások"),
       .Argument = kNameArgument,
       .Read = WithName([](CliContext& c, const QString& name) {
         const TImportProfile* p = Profiles(c).Find(name);
         if (!p) return NoSuchProfile(c, name);
         for (const QString& line : ProfileDetails(*p, c.Session))
           c.Out << EscapeControlCharacters(line, false) << '\n';
         return kOk;
       })});
  commands.push_back({.Name = QStringLiteral("profile delete"),
                      .Usage = QStringLiteral("NÉV"),
                      .Help = QStringLiteral("törli a mentett beállítást"),
                      .Argument = kNameArgument,
                      .Read = WithName([](CliContext& c, const QString& name) {
                        if (!Profiles(c).Remove(name)) return NoSuchProfile(c, name);
                        if (const std::optional<QString> failed = c.Session.ImportProfiles.Save()) {
                          c.Ui.Error(QStringLiteral("A mentett beállítások nem írhatók ki: ") +
                                     *failed);
                          return kFailed;
                        }
                        return kOk;
                      })});
}

}  // namespace krinu::cli
