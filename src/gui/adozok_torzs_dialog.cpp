#include "gui/adozok_torzs_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "masterdata/registers.h"

namespace krinu {

namespace register_dialog {

QLabel* HeaderStrip(const QString& objectName, const QString& caption, QWidget* parent) {
  auto* strip = new QLabel(caption, parent);
  strip->setObjectName(objectName);
  strip->setStyleSheet(QStringLiteral(
      "QLabel { background-color: palette(highlight); color: palette(highlighted-text);"
      " font-weight: bold; padding: 5px 8px; border-radius: 2px; }"));
  return strip;
}

QLineEdit* Edit(const QString& objectName, int maxLength, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(objectName);
  if (maxLength > 0) edit->setMaxLength(maxLength);
  return edit;
}

QPushButton* Button(const QString& objectName, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(objectName);
  // Enter in an edit must not press a button behind the user's back.
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

void RenderText(QLineEdit* edit, const TextControl& state) {
  if (edit->text() != state.Text) edit->setText(state.Text);
  edit->setEnabled(state.Enabled);
}

void RenderList(QListWidget* list, const ListControl& state) {
  QStringList shown;
  for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
  if (shown != state.Items) {
    list->clear();
    list->addItems(state.Items);
  }
  list->setCurrentRow(state.ItemIndex);
  if (state.ItemIndex >= 0) list->scrollToItem(list->item(state.ItemIndex));
}

void RunHandler(UserInterface& ui, const std::function<void()>& handler) {
  try {
    handler();
  } catch (const ESQLiteException& e) {
    ui.Error(e.Message());
  } catch (const std::exception& e) {
    ui.Error(QString::fromUtf8(e.what()));
  }
}

}  // namespace register_dialog

using namespace register_dialog;

AdozokTorzsDialog::AdozokTorzsDialog(TSQLiteDatabase& db, QWidget* parent)
    : QDialog(parent), ui_(this), form_(db, ui_) {
  setObjectName(QStringLiteral("AdozokTorzsForm"));
  setWindowTitle(QStringLiteral("Adózók karbantartása"));
  setModal(true);

  // Left: the edits and the buttons that act on them.
  auto* left = new QVBoxLayout;
  left->addWidget(
      HeaderStrip(QStringLiteral("Panel1"), QStringLiteral("Adatok karbantartása"), this));
  auto* fields = new QFormLayout;
  fields->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
  AdoszamEd = Edit(QStringLiteral("AdoszamEd"), kAdoszamMaxLength, this);
  NevEd = Edit(QStringLiteral("NevEd"), kNevMaxLength, this);
  BankEd = Edit(QStringLiteral("BankEd"), kBankMaxLength, this);
  SzamlaEd = Edit(QStringLiteral("SzamlaEd"), kSzamlaMaxLength, this);
  AdoszamEd->setMaximumWidth(fontMetrics().horizontalAdvance(QString(17, u'0')));
  SzamlaEd->setMinimumWidth(fontMetrics().horizontalAdvance(QString(28, u'0')));
  fields->addRow(QStringLiteral("Adószám:"), AdoszamEd);
  fields->addRow(QStringLiteral("Név:"), NevEd);
  fields->addRow(QStringLiteral("Bank név:"), BankEd);
  fields->addRow(QStringLiteral("Számlaszám:"), SzamlaEd);
  left->addLayout(fields);
  left->addSpacing(8);
  auto* uj = Button(QStringLiteral("UjBTn"), QStringLiteral("Adatok tárolása ÚJ Adózóként"), this);
  auto* modosit =
      Button(QStringLiteral("ModositBtn"), QStringLiteral("Kiválasztott Adózó Módosítása"), this);
  auto* torles =
      Button(QStringLiteral("TorlesBtn"), QStringLiteral("Kiválasztott Adózó Törlése"), this);
  auto* clear =
      Button(QStringLiteral("ClearDataFieldsBtn"), QStringLiteral("Adatmezők törlése"), this);
  for (QPushButton* b : {uj, modosit, torles}) left->addWidget(b);
  left->addSpacing(8);
  left->addWidget(clear);
  left->addStretch(1);

  // Right: the list of taxpayers and the search over it.
  auto* right = new QVBoxLayout;
  right->addWidget(
      HeaderStrip(QStringLiteral("Panel2"), QStringLiteral("Már felvett Adózok listája"), this));
  auto* hint = new QLabel(
      QStringLiteral("Módosítás vagy Törlés számára kiválasztás: dupla kattintás vagy 'Enter' "),
      this);
  hint->setObjectName(QStringLiteral("Label1"));
  right->addWidget(hint);
  auto* searchRow = new QHBoxLayout;
  SearchAdozoEd = Edit(QStringLiteral("SearchAdozoEd"), 0, this);
  auto* searchLabel = new QLabel(QStringLiteral("Keresés"), this);
  searchLabel->setBuddy(SearchAdozoEd);
  searchRow->addWidget(searchLabel);
  searchRow->addWidget(SearchAdozoEd, 1);
  right->addLayout(searchRow);
  AdozokLbx = new QListWidget(this);
  AdozokLbx->setObjectName(QStringLiteral("AdozokLbx"));
  AdozokLbx->setMinimumSize(380, 260);
  right->addWidget(AdozokLbx, 1);

  auto* columns = new QHBoxLayout;
  columns->addLayout(left, 0);
  columns->addSpacing(12);
  columns->addLayout(right, 1);

  auto* bezar = Button(QStringLiteral("BezarBtn"), QStringLiteral("Bezárás"), this);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(bezar);

  auto* outer = new QVBoxLayout(this);
  outer->addLayout(columns, 1);
  outer->addSpacing(4);
  outer->addLayout(bottom);

  QWidget* order[] = {AdoszamEd, NevEd, BankEd,        SzamlaEd,  uj,   modosit,
                      torles,    clear, SearchAdozoEd, AdozokLbx, bezar};
  for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

  connect(uj, &QPushButton::clicked, this, [this] { Run([this] { form_.UjBTnClick(); }); });
  connect(modosit, &QPushButton::clicked, this,
          [this] { Run([this] { form_.ModositBtnClick(); }); });
  connect(torles, &QPushButton::clicked, this, [this] { Run([this] { form_.TorlesBtnClick(); }); });
  connect(clear, &QPushButton::clicked, this,
          [this] { Run([this] { form_.ClearDataFieldsBtnClick(); }); });
  connect(bezar, &QPushButton::clicked, this, [this] { Run([this] { form_.BezarBtnClick(); }); });
  connect(AdozokLbx, &QListWidget::itemDoubleClicked, this,
          [this] { Run([this] { form_.AdozokLbxDblClick(); }); });
  AdozokLbx->installEventFilter(this);
  SearchAdozoEd->installEventFilter(this);

  form_.FormCreate();
}

void AdozokTorzsDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Run([this] { form_.FormShow(); });
}

bool AdozokTorzsDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == AdozokLbx && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
      Run([this] { form_.AdozokLbxKeyPress(QChar(13)); });
      return true;
    }
    // The search sees the text as it is before the key changes it.
    if (watched == SearchAdozoEd && !key->text().isEmpty()) {
      const QChar c = key->text().at(0);
      Run([this, c] { form_.SearchAdozoEdKeyPress(c); });
    }
  }
  return QDialog::eventFilter(watched, event);
}

void AdozokTorzsDialog::Run(const std::function<void()>& handler) {
  WriteBack();
  RunHandler(ui_, handler);
  Render();
  if (form_.State.Closed) accept();
}

void AdozokTorzsDialog::WriteBack() {
  auto& s = form_.State;
  s.AdoszamEd.Text = AdoszamEd->text();
  s.NevEd.Text = NevEd->text();
  s.BankEd.Text = BankEd->text();
  s.SzamlaEd.Text = SzamlaEd->text();
  s.SearchAdozoEd.Text = SearchAdozoEd->text();
  s.AdozokLbx.ItemIndex = AdozokLbx->currentRow();
}

void AdozokTorzsDialog::Render() {
  auto& s = form_.State;
  RenderText(AdoszamEd, s.AdoszamEd);
  RenderText(NevEd, s.NevEd);
  RenderText(BankEd, s.BankEd);
  RenderText(SzamlaEd, s.SzamlaEd);
  RenderText(SearchAdozoEd, s.SearchAdozoEd);
  RenderList(AdozokLbx, s.AdozokLbx);
  if (!s.FocusedControl.isEmpty()) {
    if (auto* w = findChild<QWidget*>(s.FocusedControl)) w->setFocus();
    s.FocusedControl.clear();
  }
}

void ShowAdozokTorzs(QWidget* parent, TSQLiteDatabase& db) {
  AdozokTorzsDialog dialog(db, parent);
  dialog.exec();
}

}  // namespace krinu
