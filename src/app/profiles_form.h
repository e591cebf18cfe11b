#pragma once
// The "Mentett beállítások" window: the import profiles in a table (name, layout, last
// used, taxpayer), renamed or deleted one at a time. krinu-cli's profile commands read the
// same rows.

#include <QString>
#include <vector>

#include "app/controls.h"
#include "app/named_controls.h"
#include "app/session.h"
#include "app/user_interface.h"

namespace krinu {

// A profile as the table and `krinu-cli profile list` show it.
struct TProfileRow {
  QString Name, Layout, LastUsed, Taxpayer;
};
[[nodiscard]] TProfileRow ProfileRowOf(const TImportProfile& profile, const TSession& session);
// Every line of `krinu-cli profile show`: what the profile corrects and what it remembers.
[[nodiscard]] QStringList ProfileDetails(const TImportProfile& profile, const TSession& session);

struct ProfilesState {
  ProfilesState();
  QString Caption;
  TableControl ProfilesSG;
  int Selected = -1;  // the row the user chose in the table
  CaptionControl NevLb;
  TextControl NevEd;
  CaptionControl AtnevezesBtn, TorlesBtn, BezarasBtn;
  bool Closed = false;
  NamedControls Controls() {
    return {{QStringLiteral("ProfilesSG"), &ProfilesSG},
            {QStringLiteral("NevLb"), &NevLb},
            {QStringLiteral("NevEd"), &NevEd},
            {QStringLiteral("AtnevezesBtn"), &AtnevezesBtn},
            {QStringLiteral("TorlesBtn"), &TorlesBtn},
            {QStringLiteral("BezarasBtn"), &BezarasBtn}};
  }
};

class TProfilesForm {
 public:
  TProfilesForm(UserInterface& ui, TSession& session);
  TProfilesForm(const TProfilesForm&) = delete;  // the table reads through this object
  TProfilesForm& operator=(const TProfilesForm&) = delete;

  void FormShow();
  // Another row chosen: its name goes into the edit for renaming.
  void ProfilesSGSelect(int row);
  void AtnevezesBtnClick();
  void TorlesBtnClick();
  void BezarasBtnClick() { State.Closed = true; }

  ProfilesState State;

 private:
  void Refresh();
  // Writes the store; on failure says so and puts the profiles back as they were.
  bool Save(const TImportProfiles& before);

  UserInterface& ui_;
  TSession& session_;
  std::vector<TProfileRow> rows_;
};

}  // namespace krinu
