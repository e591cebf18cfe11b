#include "gui/ugyintezok_torzs_dialog.h"

#include <QLineEdit>

#include "masterdata/registers.h"

namespace krinu {

UgyintezokTorzsDialog::UgyintezokTorzsDialog(TSession& session, QWidget* parent)
    : RegisterDialog(parent), form_(session, Ui()) {
  auto& s = form_.State;
  BindState(s.Controls());
  QLineEdit* nev = AddEdit(QStringLiteral("Név:"), QStringLiteral("NevEd"), kNevMaxLength);
  AddEdit(QStringLiteral("Telefonszám:"), QStringLiteral("TelefonEd"), kTelefonMaxLength);
  QLineEdit* azonosito =
      AddEdit(QStringLiteral("Azonosító:"), QStringLiteral("AzonositoEd"), kAzonositoMaxLength);
  azonosito->setReadOnly(true);
  azonosito->setEnabled(false);
  azonosito->setMaximumWidth(fontMetrics().horizontalAdvance(QString(10, u'0')));
  nev->setMinimumWidth(fontMetrics().horizontalAdvance(QString(28, u'n')));

  Build({.ObjectName = QStringLiteral("UgyintezokTorzsForm"),
         .WindowTitle = QStringLiteral("Ügyintézők karbantartása"),
         .Panel1 = QStringLiteral("Ügyintézők karbantartása"),
         .Panel2 = QStringLiteral("Már felvett Ügyintézők listája"),
         .UjBTn = QStringLiteral("Adatok tárolása ÚJ Ügyintézőként"),
         .ModositBtn = QStringLiteral("Kiválasztott Ügyintéző Módosítása"),
         .TorlesBtn = QStringLiteral("Kiválasztott Ügyintéző Törlése"),
         .SearchEd = QStringLiteral("SearchUgyintezoEd"),
         .Lbx = QStringLiteral("UgyintezokLbx"),
         .LbxMinimumSize = QSize(340, 240)},
        {&s.FocusedControl, &s.Closed, &form_.MarkedIndex},
        HandlersOf(form_, &TUgyintezokTorzsForm::UgyintezokLbxDblClick,
                   &TUgyintezokTorzsForm::UgyintezokLbxKeyPress,
                   &TUgyintezokTorzsForm::SearchUgyintezoEdKeyPress));

  form_.FormCreate();
}

void ShowUgyintezokTorzs(QWidget* parent, TSession& session) {
  UgyintezokTorzsDialog dialog(session, parent);
  dialog.exec();
}

}  // namespace krinu
