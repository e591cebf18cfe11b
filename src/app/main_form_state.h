#pragma once
// Every control of the main window that the workflow reads or writes, named as the window
// names it. The Qt window renders this and writes user edits back into it.

#include <QString>
#include <vector>

#include "app/controls.h"
#include "app/named_controls.h"

namespace krinu {

enum class MainPanel { Szerkezet, Tartalom, Betoltes };

struct MainFormState {
  MainFormState();

  QString Caption;
  int MainPCActivePage = 0;  // 0: InputTS, 1: XMLGenTS
  QString FocusedControl;    // objectName of the control that should have the keyboard focus
  bool CloseRequested = false;

  // Menu and tab captions.
  CaptionControl FileMenu, ExitMenu, KotegMenu, TorzsMenu, AdozokMenu, UgyintezokMenu, Segtsg1,
      UserGuideMenu;
  CaptionControl InputTS, XMLGenTS;

  // Tab InputTS.
  CaptionControl SelectFileBtn;
  TextControl FileNameEd;
  // Under the file: what became of the layout's import profile, and its undo (shown while
  // enabled).
  CaptionControl ProfileNoteLb, ProfileUndoBtn;

  CaptionControl SzerkezetPanelTitle;
  CheckControl HeaderCbx;
  CaptionControl Label5;
  TextControl CsvSeparatorEd;
  CaptionControl Label24, CodePageLb, Label6;
  GridControl InputDataSG;
  CaptionControl ColCountPrevLb;
  TextControl ColCountPrevEd;
  CaptionControl RowCountPrevLb;
  TextControl RowCountPrevEd;
  CaptionControl SzerkezetCheckBtn;

  CaptionControl TartalomPanelTitle;
  CaptionControl AdoszamColLb, MegnevezesColLb, DatumColLb, BizSzamColLb, AFAAlapColLb, AFAColLb;
  ComboControl AdoszamColCbx, MegnevezesColCbx, DatumColCbx, BizSzamColCbx, AFAAlapColCbx,
      AFAColCbx;
  CaptionControl Label22;
  TextControl AdoszamFormEd;
  CaptionControl Label21;
  TextControl DateFormEd;
  // Beside DateFormEd: the formats that read every preview date, to pick from, and how the
  // first preview date reads with the format typed.
  ListControl DateFormChoicesBtn;
  CaptionControl DateFormPreviewLb;
  CaptionControl Label19;
  ComboControl DecSepCbx;
  CaptionControl Label20;
  CheckButtonControl AdoszamCheckBBtn, DatumCheckBBtn, OsszegCheckBBtn;
  CaptionControl ContentCheckBtn;

  CaptionControl BetoltesPanelTitle;
  CaptionControl CsvLoadRowNumLb;
  TextControl CsvLoadRowNumEd;
  CaptionControl CsvMissedRowNumLb;
  TextControl CsvMissedRowNumEd;
  CaptionControl ShowMissedBtn;
  // The load's warnings in a line each, and the button that lists what they are about.
  CaptionControl LoadWarningsLb, ShowLoadWarningsBtn;
  CaptionControl LoadFileBTn;  // never shown

  // Tab XMLGenTS.
  CaptionControl Label1;
  ComboControl AdozokCb;
  CaptionControl UjAdozoBtn, Label4;
  ComboControl UgyintezokCb;
  CaptionControl UjUgyintezoBtn, XMLFileSelectBtn;
  TextControl XMLFileSelectEd;
  CheckControl OverWriteXmlFileCbx;
  CaptionControl Label2;
  DateControl IdoszakADtPick;
  CaptionControl Label3;
  DateControl IdoszakBDtPick;
  CaptionControl Label23;
  TextControl NyomtVerEd;
  CaptionControl Step1Btn;
  CaptionControl SummaryBtn;    // the summary of the job's last return
  CaptionControl ProfileRunLb;  // what the import profile preselected on this tab
  CaptionControl ProfilesMenu;  // the "Mentett beállítások" window
  CheckControl BizSumCbx, DropZeroItemsCbx;
  MemoControl XMLGenMm;
  // Never shown: two options the run does not read, and the date-conversion test panel.
  CheckControl NegativePairCbx, Round1000Cbx;
  TextControl DateStrEd, DateFormExEd;
  CaptionControl Button1;
  TextControl ConvertedEd;

  // Every control above under its widget's objectName.
  NamedControls Controls();
  // The six column combos in data-column order.
  std::vector<ComboControl*> ColumnCombos();
  // Every control placed directly on a panel, its title bar included.
  std::vector<Control*> ControlsOn(MainPanel panel);
};

}  // namespace krinu
