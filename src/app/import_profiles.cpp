#include "app/import_profiles.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "common/atomic_write.h"
#include "common/text_util.h"
#include "intake/code_page.h"

namespace krinu {
namespace {

constexpr qsizetype kMaxNameLength = 100;
constexpr qsizetype kMaxTextLength = 1000;
constexpr qsizetype kMaxHeaderText = 200;

// A separator is one character of the file; line ends and NUL cannot be one.
bool SeparatorValue(const QString& text) {
  return text.size() <= 1 && !text.contains(u'\n') && !text.contains(u'\r') &&
         !text.contains(QChar(0));
}

QString IsoTime(const QDateTime& t) {
  return t.isValid() ? t.toUTC().toString(Qt::ISODate) : QString();
}

QDateTime TimeValue(const QJsonValue& v) {
  return QDateTime::fromString(v.toString().left(40), Qt::ISODate);
}

// ---- writing -------------------------------------------------------------------------

QJsonObject LayoutJson(const TLayoutFingerprint& l) {
  return {{QStringLiteral("codePage"), int(l.CodePage)},
          {QStringLiteral("separator"), l.Separator},
          {QStringLiteral("header"), l.Header},
          {QStringLiteral("fields"), l.FieldCount},
          {QStringLiteral("headerTexts"), QJsonArray::fromStringList(l.HeaderTexts)}};
}

QJsonObject CorrectionsJson(const TInputCorrections& c) {
  QJsonObject o;
  if (c.Separator) o.insert(QStringLiteral("separator"), *c.Separator);
  if (c.Header) o.insert(QStringLiteral("header"), *c.Header);
  QJsonArray columns;
  for (const std::optional<int>& item : c.Columns)
    columns.append(item ? QJsonValue(*item) : QJsonValue());
  o.insert(QStringLiteral("columns"), columns);
  if (c.DateFormat) o.insert(QStringLiteral("dateFormat"), *c.DateFormat);
  if (c.DecSep) o.insert(QStringLiteral("decimal"), *c.DecSep);
  return o;
}

QJsonObject RunJson(const TRememberedRun& r) {
  return {{QStringLiteral("pattern"), r.Pattern},      {QStringLiteral("taxpayer"), r.Adoszam},
          {QStringLiteral("admin"), r.UgyintezoId},    {QStringLiteral("combine"), r.BizSum},
          {QStringLiteral("dropZero"), r.DropZero},    {QStringLiteral("overwrite"), r.OverWrite},
          {QStringLiteral("formVersion"), r.NyomtVer}, {QStringLiteral("quarter"), r.Quarter},
          {QStringLiteral("used"), IsoTime(r.Used)}};
}

QJsonObject ProfileJson(const TImportProfile& p) {
  QJsonArray runs;
  for (const TRememberedRun& r : p.Runs) runs.append(RunJson(r));
  return {{QStringLiteral("name"), p.Name},
          {QStringLiteral("layout"), LayoutJson(p.Layout)},
          {QStringLiteral("corrections"), CorrectionsJson(p.Corrections)},
          {QStringLiteral("saved"), IsoTime(p.Saved)},
          {QStringLiteral("lastUsed"), IsoTime(p.LastUsed)},
          {QStringLiteral("runs"), runs}};
}

// ---- reading: every value is checked, an entry that fails is left out -----------------

// A short text without control characters (a separator's tab is no text of this kind).
std::optional<QString> Text(const QJsonValue& v, qsizetype maxLength) {
  if (!v.isString()) return std::nullopt;
  const QString s = v.toString();
  if (s.size() > maxLength || HasControlCharacter(s)) return std::nullopt;
  return s;
}

std::optional<int> Int(const QJsonValue& v, int lo, int hi) {
  if (!v.isDouble()) return std::nullopt;
  const double d = v.toDouble();
  if (d < lo || d > hi || d != double(int(d))) return std::nullopt;
  return int(d);
}

std::optional<TLayoutFingerprint> LayoutFrom(const QJsonObject& o) {
  TLayoutFingerprint l;
  const std::optional<int> cp = Int(o.value(QStringLiteral("codePage")), 0, 65535);
  const std::optional<int> fields = Int(o.value(QStringLiteral("fields")), -1, kMaxFields);
  const QJsonValue sep = o.value(QStringLiteral("separator"));
  if (!cp || !fields || !sep.isString() || !SeparatorValue(sep.toString()) ||
      !o.value(QStringLiteral("header")).isBool())
    return std::nullopt;
  l.CodePage = quint16(*cp);
  l.FieldCount = *fields;
  l.Separator = sep.toString();
  l.Header = o.value(QStringLiteral("header")).toBool();
  const QJsonArray texts = o.value(QStringLiteral("headerTexts")).toArray();
  if (texts.size() > kMaxFields) return std::nullopt;
  for (const QJsonValue& t : texts) {
    // A header cell may hold anything but a line end; it is compared, never shown raw.
    if (!t.isString() || t.toString().size() > kMaxTextLength) return std::nullopt;
    l.HeaderTexts << t.toString();
  }
  return l;
}

std::optional<TInputCorrections> CorrectionsFrom(const QJsonObject& o) {
  TInputCorrections c;
  if (const QJsonValue v = o.value(QStringLiteral("separator")); !v.isUndefined()) {
    if (!v.isString() || !SeparatorValue(v.toString())) return std::nullopt;
    c.Separator = v.toString();
  }
  if (const QJsonValue v = o.value(QStringLiteral("header")); !v.isUndefined()) {
    if (!v.isBool()) return std::nullopt;
    c.Header = v.toBool();
  }
  const QJsonArray columns = o.value(QStringLiteral("columns")).toArray();
  if (columns.size() > 6) return std::nullopt;
  for (qsizetype i = 0; i < columns.size(); ++i) {
    if (columns[i].isNull()) continue;
    const std::optional<int> item = Int(columns[i], 0, kMaxFields);
    if (!item) return std::nullopt;
    c.Columns[size_t(i)] = *item;
  }
  if (const QJsonValue v = o.value(QStringLiteral("dateFormat")); !v.isUndefined()) {
    c.DateFormat = Text(v, 20);
    if (!c.DateFormat) return std::nullopt;
  }
  if (const QJsonValue v = o.value(QStringLiteral("decimal")); !v.isUndefined()) {
    c.DecSep = Int(v, 0, 1);
    if (!c.DecSep) return std::nullopt;
  }
  return c;
}

std::optional<TRememberedRun> RunFrom(const QJsonObject& o) {
  TRememberedRun r;
  const std::optional<QString> pattern = Text(o.value(QStringLiteral("pattern")), kMaxTextLength);
  const std::optional<QString> taxpayer = Text(o.value(QStringLiteral("taxpayer")), 20);
  const std::optional<QString> version = Text(o.value(QStringLiteral("formVersion")), 20);
  const std::optional<int> admin = Int(o.value(QStringLiteral("admin")), -1, 1 << 30);
  if (!pattern || !taxpayer || !version || !admin) return std::nullopt;
  r.Pattern = *pattern;
  r.Adoszam = *taxpayer;
  r.NyomtVer = *version;
  r.UgyintezoId = *admin;
  r.BizSum = o.value(QStringLiteral("combine")).toBool(true);
  r.DropZero = o.value(QStringLiteral("dropZero")).toBool(false);
  r.OverWrite = o.value(QStringLiteral("overwrite")).toBool(true);
  r.Quarter = o.value(QStringLiteral("quarter")).toBool(false);
  r.Used = TimeValue(o.value(QStringLiteral("used")));
  return r;
}

std::optional<TImportProfile> ProfileFrom(const QJsonObject& o) {
  TImportProfile p;
  const std::optional<QString> name = Text(o.value(QStringLiteral("name")), kMaxNameLength);
  if (!name || ProfileNameProblem(*name)) return std::nullopt;
  p.Name = *name;
  std::optional<TLayoutFingerprint> layout =
      LayoutFrom(o.value(QStringLiteral("layout")).toObject());
  std::optional<TInputCorrections> corrections =
      CorrectionsFrom(o.value(QStringLiteral("corrections")).toObject());
  if (!layout || !corrections) return std::nullopt;
  p.Layout = std::move(*layout);
  p.Corrections = std::move(*corrections);
  p.Saved = TimeValue(o.value(QStringLiteral("saved")));
  p.LastUsed = TimeValue(o.value(QStringLiteral("lastUsed")));
  const QJsonArray runs = o.value(QStringLiteral("runs")).toArray();
  for (qsizetype i = 0; i < runs.size() && i < TImportProfiles::kMaxRuns; ++i)
    if (std::optional<TRememberedRun> r = RunFrom(runs[i].toObject())) p.Runs.push_back(*r);
  return p;
}

// The file moved aside, so that the next write does not lose what a user may still want.
QString SetAside(const QString& fileName) {
  const QString bak = fileName + QStringLiteral(".bak");
  QFile::remove(bak);
  return QFile::rename(fileName, bak) ? bak : QString();
}

QString DamagedNotice(const QString& fileName, const QString& what) {
  const QString bak = SetAside(fileName);
  return QStringLiteral("A mentett beállítások fájlja (%1) %2, ezért a program nem használja")
             .arg(fileName, what) +
         (bak.isEmpty() ? QString() : QStringLiteral("; félretéve: ") + bak);
}

}  // namespace

TLayoutFingerprint LayoutOf(quint16 codePage, const QString& separator, bool header,
                            const TStructureCheck& check) {
  TLayoutFingerprint l;
  l.CodePage = codePage;
  l.Separator = separator;
  l.Header = header;
  if (!check.Status.Ok() || !check.FieldCount) return l;
  l.FieldCount = *check.FieldCount;
  // A header cell is a caption; a cell of megabytes would make the profiles file too large.
  if (header && !check.Preview.Cells.empty())
    for (int col = 0; col < l.FieldCount; ++col)
      l.HeaderTexts << check.Preview.Cells.front().value(col).trimmed().toCaseFolded().left(
          kMaxHeaderText);
  return l;
}

QString LayoutSummary(const TLayoutFingerprint& l) {
  const QString sep = l.Separator == QStringLiteral("\t") ? QStringLiteral("tabulátor")
                                                          : u'\'' + l.Separator + u'\'';
  QString text = CodePageName(l.CodePage) + QStringLiteral(", ") + sep + QStringLiteral(", ") +
                 (l.Header ? QStringLiteral("fejrovat") : QStringLiteral("nincs fejrovat"));
  if (l.FieldCount >= 0) text += QStringLiteral(", %1 mező").arg(l.FieldCount);
  return text;
}

bool TInputCorrections::Empty() const {
  for (const std::optional<int>& c : Columns)
    if (c) return false;
  return !Separator && !Header && !DateFormat && !DecSep;
}

TInputCorrections CorrectionsBetween(const TInputChoices& detected, const TInputChoices& used) {
  TInputCorrections c;
  if (used.Separator != detected.Separator) c.Separator = used.Separator;
  if (used.Header != detected.Header) c.Header = used.Header;
  for (size_t i = 0; i < used.Columns.size(); ++i)
    if (used.Columns[i] != detected.Columns[i]) c.Columns[i] = used.Columns[i];
  if (used.DateFormat != detected.DateFormat) c.DateFormat = used.DateFormat;
  if (used.DecSep != detected.DecSep) c.DecSep = used.DecSep;
  return c;
}

void ApplyStructureCorrections(const TInputCorrections& c, TInputChoices& choices) {
  if (c.Separator) choices.Separator = *c.Separator;
  if (c.Header) choices.Header = *c.Header;
}

void ApplyContentCorrections(const TInputCorrections& c, TInputChoices& choices) {
  for (size_t i = 0; i < c.Columns.size(); ++i)
    if (c.Columns[i]) choices.Columns[i] = *c.Columns[i];
  if (c.DateFormat) choices.DateFormat = *c.DateFormat;
  if (c.DecSep) choices.DecSep = *c.DecSep;
}

QString FileNamePattern(const QString& fileName) {
  static const QRegularExpression digits(QStringLiteral("[0-9]+"));
  return QFileInfo(fileName).fileName().toCaseFolded().replace(digits, QStringLiteral("#"));
}

const TRememberedRun* RememberedRunFor(const TImportProfile& profile, const QString& fileName) {
  const QString pattern = FileNamePattern(fileName);
  for (const TRememberedRun& r : profile.Runs)
    if (r.Pattern == pattern) return &r;
  return nullptr;
}

void RememberRun(TImportProfile& profile, TRememberedRun run) {
  std::erase_if(profile.Runs, [&](const TRememberedRun& r) { return r.Pattern == run.Pattern; });
  profile.Runs.insert(profile.Runs.begin(), std::move(run));
  if (profile.Runs.size() > size_t(TImportProfiles::kMaxRuns))
    profile.Runs.resize(TImportProfiles::kMaxRuns);
}

std::optional<QString> ProfileNameProblem(const QString& name) {
  if (name.trimmed().isEmpty()) return QStringLiteral("A mentett beállítás neve nem lehet üres");
  if (name.size() > kMaxNameLength)
    return QStringLiteral("A mentett beállítás neve legfeljebb %1 karakter lehet")
        .arg(kMaxNameLength);
  if (HasControlCharacter(name))
    return QStringLiteral("A mentett beállítás neve nem tartalmazhat vezérlő karaktert");
  if (name != name.trimmed())
    return QStringLiteral("A mentett beállítás neve nem kezdődhet és nem végződhet szóközzel");
  if (name == QStringLiteral("auto"))
    return QStringLiteral(
        "Az \"auto\" név foglalt: a --profile auto az illeszkedő beállítást "
        "választja");
  return std::nullopt;
}

TImportProfile* TImportProfiles::Find(const QString& name) {
  for (TImportProfile& p : Profiles)
    if (p.Name == name) return &p;
  return nullptr;
}

const TImportProfile* TImportProfiles::Find(const QString& name) const {
  return const_cast<TImportProfiles*>(this)->Find(name);
}

TImportProfile* TImportProfiles::Match(const TLayoutFingerprint& layout) {
  for (TImportProfile& p : Profiles)
    if (p.Layout == layout) return &p;
  return nullptr;
}

bool TImportProfiles::Remove(const QString& name) {
  return std::erase_if(Profiles, [&](const TImportProfile& p) { return p.Name == name; }) > 0;
}

std::optional<QString> TImportProfiles::Rename(const QString& name, const QString& newName) {
  if (std::optional<QString> problem = ProfileNameProblem(newName)) return problem;
  TImportProfile* p = Find(name);
  if (!p) return QStringLiteral("Nincs ilyen nevű mentett beállítás: ") + name;
  if (newName != name && Find(newName))
    return QStringLiteral("Már van ilyen nevű mentett beállítás: ") + newName;
  p->Name = newName;
  return std::nullopt;
}

QString TImportProfiles::UniqueName(const QString& base) const {
  QString name = base;
  for (int n = 2; Find(name); ++n) name = base + QStringLiteral(" (%1)").arg(n);
  return name;
}

std::optional<QString> TImportProfiles::Put(const QString& name, const TLayoutFingerprint& layout,
                                            const TInputCorrections& corrections,
                                            const QDateTime& now) {
  TImportProfile profile;
  if (TImportProfile* same = Match(layout)) profile.Runs = same->Runs;
  std::erase_if(Profiles,
                [&](const TImportProfile& p) { return p.Name == name || p.Layout == layout; });
  if (Profiles.size() >= size_t(kMaxProfiles))
    return QStringLiteral(
               "Legfeljebb %1 mentett beállítás lehet; kérem, töröljön a régiek közül a "
               "\"Mentett beállítások\" ablakban vagy a krinu-cli profile delete paranccsal")
        .arg(kMaxProfiles);
  profile.Name = name;
  profile.Layout = layout;
  profile.Corrections = corrections;
  profile.Saved = now;
  profile.LastUsed = now;
  Profiles.push_back(std::move(profile));
  return std::nullopt;
}

QString ImportProfilesName(const QString& dataDir) {
  return dataDir + QStringLiteral("mentett_beallitasok.json");
}

TProfilesRead ReadImportProfiles(const QString& fileName) {
  TProfilesRead read;
  const QFileInfo info(fileName);
  if (!info.exists()) return read;
  if (!info.isFile() || info.size() > TImportProfiles::kMaxFileBytes) {
    read.Notice = DamagedNotice(
        fileName, QStringLiteral("nagyobb a megengedett %1 MiB-nál vagy nem közönséges fájl")
                      .arg(TImportProfiles::kMaxFileBytes >> 20));
    return read;
  }
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    read.Notice = QStringLiteral("A mentett beállítások fájlja (%1) nem olvasható: %2")
                      .arg(fileName, file.errorString());
    return read;
  }
  // Read up to the bound only: the file may have grown since it was looked at.
  const QByteArray bytes = file.read(TImportProfiles::kMaxFileBytes + 1);
  file.close();
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
  const QJsonArray entries = doc.object().value(QStringLiteral("profiles")).toArray();
  if (bytes.size() > TImportProfiles::kMaxFileBytes || error.error != QJsonParseError::NoError ||
      !doc.isObject()) {
    read.Notice = DamagedNotice(fileName, QStringLiteral("sérült (nem érvényes JSON)"));
    return read;
  }
  if (entries.size() > TImportProfiles::kMaxProfiles) {
    read.Notice = DamagedNotice(
        fileName,
        QStringLiteral("több mint %1 bejegyzést tartalmaz").arg(TImportProfiles::kMaxProfiles));
    return read;
  }
  qsizetype left = 0;
  for (const QJsonValue& entry : entries) {
    std::optional<TImportProfile> p = ProfileFrom(entry.toObject());
    if (!p || read.Profiles.Find(p->Name) || read.Profiles.Match(p->Layout)) {
      ++left;
      continue;
    }
    read.Profiles.Profiles.push_back(std::move(*p));
  }
  if (left > 0) {
    // The good entries stay in place, the whole file as it was goes aside.
    const QString bak = fileName + QStringLiteral(".bak");
    QFile::remove(bak);
    const bool kept = QFile::copy(fileName, bak);
    read.Notice = QStringLiteral(
                      "A mentett beállítások fájljának (%1) %2 hibás bejegyzését a program "
                      "kihagyta")
                      .arg(fileName)
                      .arg(left) +
                  (kept ? QStringLiteral("; az eredeti fájl: ") + bak : QString());
    if (kept)
      if (const std::optional<QString> failed = WriteImportProfiles(fileName, read.Profiles))
        *read.Notice += QStringLiteral("; a javított fájl nem írható ki: ") + *failed;
  }
  return read;
}

std::optional<QString> WriteImportProfiles(const QString& fileName,
                                           const TImportProfiles& profiles) {
  QJsonArray entries;
  for (const TImportProfile& p : profiles.Profiles) entries.append(ProfileJson(p));
  const QJsonObject root{{QStringLiteral("version"), 1}, {QStringLiteral("profiles"), entries}};
  const QByteArray bytes = QJsonDocument(root).toJson(QJsonDocument::Indented);
  // A file that would not be read back is not written: the previous one stays.
  if (bytes.size() > TImportProfiles::kMaxFileBytes)
    return QStringLiteral(
               "a fájl nagyobb lenne a megengedett %1 MiB-nál; kérem, töröljön a "
               "mentett beállítások közül")
        .arg(TImportProfiles::kMaxFileBytes >> 20);
  return WriteFileAtomically(fileName, bytes);
}

std::pair<qint64, QDateTime> TProfileStore::Stamp() const {
  const QFileInfo info(fileName_);
  return info.exists() ? std::pair(info.size(), info.lastModified())
                       : std::pair(qint64(-1), QDateTime());
}

void TProfileStore::Read() {
  read_ = true;
  TProfilesRead read = ReadImportProfiles(fileName_);
  profiles_ = std::move(read.Profiles);
  if (read.Notice) notice_ = std::move(read.Notice);
  stamp_ = Stamp();
}

TImportProfiles& TProfileStore::Profiles() {
  if (!read_ && Available()) Read();
  return profiles_;
}

void TProfileStore::Refresh() {
  if (read_ && Available() && Stamp() != stamp_) Read();
}

std::optional<QString> TProfileStore::TakeNotice() {
  std::optional<QString> notice = std::move(notice_);
  notice_.reset();
  return notice;
}

std::optional<QString> TProfileStore::Save() {
  if (!Available()) return QStringLiteral("nincs adatmappa");
  std::optional<QString> failed = WriteImportProfiles(fileName_, Profiles());
  if (!failed) stamp_ = Stamp();
  return failed;
}

std::pair<QDate, QDate> PreviousQuarter(const QDate& today) {
  const QDate current(today.year(), (today.month() - 1) / 3 * 3 + 1, 1);
  return {current.addMonths(-3), current.addDays(-1)};
}

bool IsCalendarQuarter(const QDate& from, const QDate& to) {
  return from.isValid() && from.day() == 1 && (from.month() - 1) % 3 == 0 &&
         to == from.addMonths(3).addDays(-1);
}

}  // namespace krinu
