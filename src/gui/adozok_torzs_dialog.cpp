#include "gui/adozok_torzs_dialog.h"

#include <QLineEdit>

#include "masterdata/registers.h"

namespace krinu {

AdozokTorzsDialog::AdozokTorzsDialog(TSession& session, QWidget* parent)
    : RegisterDialog(parent), form_(session, Ui()) {
  auto& s = form_.State;
  BindState(s.Controls());
  QLineEdit* adoszam =
      AddEdit(QStringLiteral("Adószám:"), QStringLiteral("AdoszamEd"), kAdoszamMaxLength);
  AddEdit(QStringLiteral("Név:"), QStringLiteral("NevEd"), kNevMaxLength);
  AddEdit(QStringLiteral("Bank név:"), QStringLiteral("BankEd"), kBankMaxLength);
  QLineEdit* szamla =
      AddEdit(QStringLiteral("Számlaszám:"), QStringLiteral("SzamlaEd"), kSzamlaMaxLength);
  adoszam->setMaximumWidth(fontMetrics().horizontalAdvance(QString(17, u'0')));
  // Room for the two dashes of a pasted "12345678-2-42", which the field then drops.
  adoszam->setMaxLength(kAdoszamMaxLength + 2);
  connect(adoszam, &QLineEdit::textEdited, adoszam, [adoszam](const QString& text) {
    const QString kept = AdoszamEdInput(text);
    if (kept != text) adoszam->setText(kept);
  });
  szamla->setMinimumWidth(fontMetrics().horizontalAdvance(QString(28, u'0')));

  Build({.ObjectName = QStringLiteral("AdozokTorzsForm"),
         .WindowTitle = QStringLiteral("Adózók karbantartása"),
         .Panel1 = QStringLiteral("Adatok karbantartása"),
         .Panel2 = QStringLiteral("Már felvett Adózok listája"),
         .UjBTn = QStringLiteral("Adatok tárolása ÚJ Adózóként"),
         .ModositBtn = QStringLiteral("Kiválasztott Adózó Módosítása"),
         .TorlesBtn = QStringLiteral("Kiválasztott Adózó Törlése"),
         .SearchEd = QStringLiteral("SearchAdozoEd"),
         .Lbx = QStringLiteral("AdozokLbx"),
         .LbxMinimumSize = QSize(380, 260)},
        {&s.FocusedControl, &s.Closed, &form_.MarkedIndex},
        HandlersOf(form_, &TAdozokTorzsForm::AdozokLbxDblClick,
                   &TAdozokTorzsForm::AdozokLbxKeyPress, &TAdozokTorzsForm::SearchAdozoEdKeyPress));

  form_.FormCreate();
}

void ShowAdozokTorzs(QWidget* parent, TSession& session) {
  AdozokTorzsDialog dialog(session, parent);
  dialog.exec();
}

}  // namespace krinu
