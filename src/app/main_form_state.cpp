#include "app/main_form_state.h"

namespace krinu {
namespace {
CaptionControl Cap(const char16_t* text) {
  CaptionControl c;
  c.Caption = QString::fromUtf16(text);
  return c;
}
CheckControl Check(const char16_t* text, bool checked) {
  CheckControl c;
  c.Caption = QString::fromUtf16(text);
  c.Checked = checked;
  return c;
}
}  // namespace

// The designed captions and values, before start-up touches anything.
MainFormState::MainFormState() {
  Caption = QString::fromUtf16(
      u"Könyvelési/ÁFA adatok konvertálása  NAV xx65 (ÁFA bevallás) XML nyomtatványra");
  FileMenu = Cap(u"&File");
  ExitMenu = Cap(u"&Kilépés");
  KotegMenu = Cap(u"Kötegelt &feldolgozás…");
  TorzsMenu = Cap(u"&Törzsadatok");
  AdozokMenu = Cap(u"&Adózók");
  UgyintezokMenu = Cap(u"&Ugyintezok");
  Segtsg1 = Cap(u"&Segítség");
  UserGuideMenu = Cap(u"&Felhasználói Kézikönyv");
  InputTS = Cap(u"  Könyvelési/ÁFA adatok betöltése  ");
  XMLGenTS = Cap(u"  XML ÁFA bevallás készítése");

  SelectFileBtn = Cap(u"Input File kijelölése (CSV formátum)");
  ProfileUndoBtn = Cap(u"Visszavonás");
  ProfileUndoBtn.Enabled = false;
  ProfilesMenu = Cap(u"&Mentett beállítások…");
  SzerkezetPanelTitle = Cap(u"Input Fájl szerkezete");
  HeaderCbx = Check(u"Első sor Fejrovat", false);
  Label5 = Cap(u"Mező elválasztó karakter:");
  Label24 = Cap(u"Kód tábla:");
  CodePageLb = Cap(u"?");
  Label6 = Cap(u"Az input fájl első néhány sora:");
  ColCountPrevLb = Cap(u"Oszlopok száma:");
  RowCountPrevLb = Cap(u"Sorok száma: >=");
  SzerkezetCheckBtn = Cap(u"Input File szerkezetének ellenőrzése");

  TartalomPanelTitle = Cap(u"Input Fájl adatai");
  AdoszamColLb = Cap(u"Partner adószáma");
  MegnevezesColLb = Cap(u"Partner megnevezése");
  DatumColLb = Cap(u"Bizonylat dátuma");
  BizSzamColLb = Cap(u"Bizonylat száma");
  AFAAlapColLb = Cap(u"Nettó összeg");
  AFAColLb = Cap(u"ÁFA összeg");
  Label22 = Cap(u"Formátum");
  AdoszamFormEd.Text = QStringLiteral("99999999(-9-99)");
  Label21 = Cap(u"Dátum formátum:");
  Label19 = Cap(u"Tizedes jegy:");
  Label20 = Cap(u"Ellenőrzés");
  ContentCheckBtn = Cap(u"Input File adatainak ellenőrzése");

  BetoltesPanelTitle = Cap(u"Input Fájl betöltése");
  CsvLoadRowNumLb = Cap(u"Betöltött adatsorok:");
  CsvMissedRowNumLb = Cap(u"Kihagyott adatsorok:");
  ShowMissedBtn = Cap(u"Kihagyott adatsorok megtekintése");
  ShowLoadWarningsBtn = Cap(u"Figyelmeztetések bővebben");
  LoadFileBTn = Cap(u"Input File betöltése");

  Label1 = Cap(u"Válassza ki az Adózót:");
  UjAdozoBtn = Cap(u"Új adózó");
  Label4 = Cap(u"Válassza ki az Ügyintézőt:");
  UjUgyintezoBtn = Cap(u"Új Ügyintező");
  XMLFileSelectBtn = Cap(u"Adja meg a készítendő XML fájl nevét");
  OverWriteXmlFileCbx = Check(u"Ha a fájl létezik, felülírható", true);
  Label2 = Cap(u"Időszak kezdete");
  Label3 = Cap(u"Időszak vége");
  Label23 = Cap(u"Nyomtatv. verzió");
  NyomtVerEd.Text = QStringLiteral("1.0");
  Step1Btn = Cap(u"NAV xx65 XML készítés");
  SummaryBtn = Cap(u"Bevallás összesítő…");
  SummaryBtn.Enabled = false;
  BizSumCbx = Check(u"Bizonylat összesítés", true);
  DropZeroItemsCbx = Check(u"'0'-s tételek kihagyása", false);
  XMLGenMm.Lines = QStringList{QString()};  // the memo starts with one empty line
  NegativePairCbx = Check(u"Negatív számlák párosítása", false);
  Round1000Cbx = Check(u"Kerekítés ezer FT-ra", false);
  DateStrEd.Text = QStringLiteral("2020.03.03");
  DateFormExEd.Text = QStringLiteral("yyyy.mm.dd");
  Button1 = Cap(u"Convert to Date");
}

NamedControls MainFormState::Controls() {
  return {
      {QStringLiteral("FileMenu"), &FileMenu},
      {QStringLiteral("ExitMenu"), &ExitMenu},
      {QStringLiteral("KotegMenu"), &KotegMenu},
      {QStringLiteral("TorzsMenu"), &TorzsMenu},
      {QStringLiteral("AdozokMenu"), &AdozokMenu},
      {QStringLiteral("UgyintezokMenu"), &UgyintezokMenu},
      {QStringLiteral("Segtsg1"), &Segtsg1},
      {QStringLiteral("UserGuideMenu"), &UserGuideMenu},
      {QStringLiteral("InputTS"), &InputTS},
      {QStringLiteral("XMLGenTS"), &XMLGenTS},
      {QStringLiteral("SelectFileBtn"), &SelectFileBtn},
      {QStringLiteral("FileNameEd"), &FileNameEd},
      {QStringLiteral("ProfileNoteLb"), &ProfileNoteLb},
      {QStringLiteral("ProfileUndoBtn"), &ProfileUndoBtn},
      {QStringLiteral("SzerkezetPanelTitle"), &SzerkezetPanelTitle},
      {QStringLiteral("HeaderCbx"), &HeaderCbx},
      {QStringLiteral("Label5"), &Label5},
      {QStringLiteral("CsvSeparatorEd"), &CsvSeparatorEd},
      {QStringLiteral("Label24"), &Label24},
      {QStringLiteral("CodePageLb"), &CodePageLb},
      {QStringLiteral("Label6"), &Label6},
      {QStringLiteral("InputDataSG"), &InputDataSG},
      {QStringLiteral("ColCountPrevLb"), &ColCountPrevLb},
      {QStringLiteral("ColCountPrevEd"), &ColCountPrevEd},
      {QStringLiteral("RowCountPrevLb"), &RowCountPrevLb},
      {QStringLiteral("RowCountPrevEd"), &RowCountPrevEd},
      {QStringLiteral("SzerkezetCheckBtn"), &SzerkezetCheckBtn},
      {QStringLiteral("TartalomPanelTitle"), &TartalomPanelTitle},
      {QStringLiteral("AdoszamColLb"), &AdoszamColLb},
      {QStringLiteral("MegnevezesColLb"), &MegnevezesColLb},
      {QStringLiteral("DatumColLb"), &DatumColLb},
      {QStringLiteral("BizSzamColLb"), &BizSzamColLb},
      {QStringLiteral("AFAAlapColLb"), &AFAAlapColLb},
      {QStringLiteral("AFAColLb"), &AFAColLb},
      {QStringLiteral("AdoszamColCbx"), &AdoszamColCbx},
      {QStringLiteral("MegnevezesColCbx"), &MegnevezesColCbx},
      {QStringLiteral("DatumColCbx"), &DatumColCbx},
      {QStringLiteral("BizSzamColCbx"), &BizSzamColCbx},
      {QStringLiteral("AFAAlapColCbx"), &AFAAlapColCbx},
      {QStringLiteral("AFAColCbx"), &AFAColCbx},
      {QStringLiteral("Label22"), &Label22},
      {QStringLiteral("AdoszamFormEd"), &AdoszamFormEd},
      {QStringLiteral("Label21"), &Label21},
      {QStringLiteral("DateFormEd"), &DateFormEd},
      {QStringLiteral("DateFormChoicesBtn"), &DateFormChoicesBtn},
      {QStringLiteral("DateFormPreviewLb"), &DateFormPreviewLb},
      {QStringLiteral("Label19"), &Label19},
      {QStringLiteral("DecSepCbx"), &DecSepCbx},
      {QStringLiteral("Label20"), &Label20},
      {QStringLiteral("AdoszamCheckBBtn"), &AdoszamCheckBBtn},
      {QStringLiteral("DatumCheckBBtn"), &DatumCheckBBtn},
      {QStringLiteral("OsszegCheckBBtn"), &OsszegCheckBBtn},
      {QStringLiteral("ContentCheckBtn"), &ContentCheckBtn},
      {QStringLiteral("BetoltesPanelTitle"), &BetoltesPanelTitle},
      {QStringLiteral("CsvLoadRowNumLb"), &CsvLoadRowNumLb},
      {QStringLiteral("CsvLoadRowNumEd"), &CsvLoadRowNumEd},
      {QStringLiteral("CsvMissedRowNumLb"), &CsvMissedRowNumLb},
      {QStringLiteral("CsvMissedRowNumEd"), &CsvMissedRowNumEd},
      {QStringLiteral("ShowMissedBtn"), &ShowMissedBtn},
      {QStringLiteral("LoadWarningsLb"), &LoadWarningsLb},
      {QStringLiteral("ShowLoadWarningsBtn"), &ShowLoadWarningsBtn},
      {QStringLiteral("LoadFileBTn"), &LoadFileBTn},
      {QStringLiteral("Label1"), &Label1},
      {QStringLiteral("AdozokCb"), &AdozokCb},
      {QStringLiteral("UjAdozoBtn"), &UjAdozoBtn},
      {QStringLiteral("Label4"), &Label4},
      {QStringLiteral("UgyintezokCb"), &UgyintezokCb},
      {QStringLiteral("UjUgyintezoBtn"), &UjUgyintezoBtn},
      {QStringLiteral("XMLFileSelectBtn"), &XMLFileSelectBtn},
      {QStringLiteral("XMLFileSelectEd"), &XMLFileSelectEd},
      {QStringLiteral("OverWriteXmlFileCbx"), &OverWriteXmlFileCbx},
      {QStringLiteral("Label2"), &Label2},
      {QStringLiteral("IdoszakADtPick"), &IdoszakADtPick},
      {QStringLiteral("Label3"), &Label3},
      {QStringLiteral("IdoszakBDtPick"), &IdoszakBDtPick},
      {QStringLiteral("Label23"), &Label23},
      {QStringLiteral("NyomtVerEd"), &NyomtVerEd},
      {QStringLiteral("Step1Btn"), &Step1Btn},
      {QStringLiteral("SummaryBtn"), &SummaryBtn},
      {QStringLiteral("ProfileRunLb"), &ProfileRunLb},
      {QStringLiteral("ProfilesMenu"), &ProfilesMenu},
      {QStringLiteral("BizSumCbx"), &BizSumCbx},
      {QStringLiteral("DropZeroItemsCbx"), &DropZeroItemsCbx},
      {QStringLiteral("XMLGenMm"), &XMLGenMm},
      {QStringLiteral("NegativePairCbx"), &NegativePairCbx},
      {QStringLiteral("Round1000Cbx"), &Round1000Cbx},
      {QStringLiteral("DateStrEd"), &DateStrEd},
      {QStringLiteral("DateFormExEd"), &DateFormExEd},
      {QStringLiteral("Button1"), &Button1},
      {QStringLiteral("ConvertedEd"), &ConvertedEd},
  };
}

std::vector<ComboControl*> MainFormState::ColumnCombos() {
  return {&AdoszamColCbx, &MegnevezesColCbx, &DatumColCbx,
          &BizSzamColCbx, &AFAAlapColCbx,    &AFAColCbx};
}

std::vector<Control*> MainFormState::ControlsOn(MainPanel panel) {
  switch (panel) {
    case MainPanel::Szerkezet:
      return {&SzerkezetPanelTitle,
              &HeaderCbx,
              &Label5,
              &CsvSeparatorEd,
              &Label24,
              &CodePageLb,
              &Label6,
              &InputDataSG,
              &ColCountPrevLb,
              &ColCountPrevEd,
              &RowCountPrevLb,
              &RowCountPrevEd,
              &SzerkezetCheckBtn};
    case MainPanel::Tartalom:
      return {&TartalomPanelTitle, &AdoszamColLb,
              &AdoszamColCbx,      &MegnevezesColLb,
              &MegnevezesColCbx,   &DatumColLb,
              &DatumColCbx,        &BizSzamColLb,
              &BizSzamColCbx,      &AFAAlapColLb,
              &AFAAlapColCbx,      &AFAColLb,
              &AFAColCbx,          &Label22,
              &AdoszamFormEd,      &Label21,
              &DateFormEd,         &DateFormChoicesBtn,
              &DateFormPreviewLb,  &Label19,
              &DecSepCbx,          &Label20,
              &AdoszamCheckBBtn,   &DatumCheckBBtn,
              &OsszegCheckBBtn,    &ContentCheckBtn};
    case MainPanel::Betoltes:
      return {&BetoltesPanelTitle, &CsvLoadRowNumLb,     &CsvLoadRowNumEd,
              &CsvMissedRowNumLb,  &CsvMissedRowNumEd,   &ShowMissedBtn,
              &LoadWarningsLb,     &ShowLoadWarningsBtn, &LoadFileBTn};
  }
  return {};
}

}  // namespace krinu
