#include "gui/ugyintezok_torzs_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/adozok_torzs_dialog.h"
#include "masterdata/registers.h"

namespace krinu {

using namespace register_dialog;

UgyintezokTorzsDialog::UgyintezokTorzsDialog(TSQLiteDatabase& db, QWidget* parent)
    : QDialog(parent), ui_(this), form_(db, ui_) {
  setObjectName(QStringLiteral("UgyintezokTorzsForm"));
  setWindowTitle(QStringLiteral("Ügyintézők karbantartása"));
  setModal(true);

  auto* left = new QVBoxLayout;
  left->addWidget(
      HeaderStrip(QStringLiteral("Panel1"), QStringLiteral("Ügyintézők karbantartása"), this));
  auto* fields = new QFormLayout;
  fields->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
  NevEd = Edit(QStringLiteral("NevEd"), kNevMaxLength, this);
  TelefonEd = Edit(QStringLiteral("TelefonEd"), kTelefonMaxLength, this);
  AzonositoEd = Edit(QStringLiteral("AzonositoEd"), kAzonositoMaxLength, this);
  AzonositoEd->setReadOnly(true);
  AzonositoEd->setEnabled(false);
  AzonositoEd->setMaximumWidth(fontMetrics().horizontalAdvance(QString(10, u'0')));
  NevEd->setMinimumWidth(fontMetrics().horizontalAdvance(QString(28, u'n')));
  fields->addRow(QStringLiteral("Név:"), NevEd);
  fields->addRow(QStringLiteral("Telefonszám:"), TelefonEd);
  fields->addRow(QStringLiteral("Azonosító:"), AzonositoEd);
  left->addLayout(fields);
  left->addSpacing(8);
  auto* uj =
      Button(QStringLiteral("UjBTn"), QStringLiteral("Adatok tárolása ÚJ Ügyintézőként"), this);
  auto* modosit = Button(QStringLiteral("ModositBtn"),
                         QStringLiteral("Kiválasztott Ügyintéző Módosítása"), this);
  auto* torles =
      Button(QStringLiteral("TorlesBtn"), QStringLiteral("Kiválasztott Ügyintéző Törlése"), this);
  auto* clear =
      Button(QStringLiteral("ClearDataFieldsBtn"), QStringLiteral("Adatmezők törlése"), this);
  for (QPushButton* b : {uj, modosit, torles}) left->addWidget(b);
  left->addSpacing(8);
  left->addWidget(clear);
  left->addStretch(1);

  auto* right = new QVBoxLayout;
  right->addWidget(HeaderStrip(QStringLiteral("Panel2"),
                               QStringLiteral("Már felvett Ügyintézők listája"), this));
  auto* hint = new QLabel(
      QStringLiteral("Módosítás vagy Törlés számára kiválasztás: dupla kattintás vagy 'Enter' "),
      this);
  hint->setObjectName(QStringLiteral("Label1"));
  right->addWidget(hint);
  auto* searchRow = new QHBoxLayout;
  SearchUgyintezoEd = Edit(QStringLiteral("SearchUgyintezoEd"), 0, this);
  auto* searchLabel = new QLabel(QStringLiteral("Keresés"), this);
  searchLabel->setBuddy(SearchUgyintezoEd);
  searchRow->addWidget(searchLabel);
  searchRow->addWidget(SearchUgyintezoEd, 1);
  right->addLayout(searchRow);
  UgyintezokLbx = new QListWidget(this);
  UgyintezokLbx->setObjectName(QStringLiteral("UgyintezokLbx"));
  UgyintezokLbx->setMinimumSize(340, 240);
  right->addWidget(UgyintezokLbx, 1);

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

  // AzonositoEd stays in the chain; Qt skips it while it is disabled.
  QWidget* order[] = {NevEd, TelefonEd,         AzonositoEd,   uj,   modosit, torles,
                      clear, SearchUgyintezoEd, UgyintezokLbx, bezar};
  for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

  connect(uj, &QPushButton::clicked, this, [this] { Run([this] { form_.UjBTnClick(); }); });
  connect(modosit, &QPushButton::clicked, this,
          [this] { Run([this] { form_.ModositBtnClick(); }); });
  connect(torles, &QPushButton::clicked, this, [this] { Run([this] { form_.TorlesBtnClick(); }); });
  connect(clear, &QPushButton::clicked, this,
          [this] { Run([this] { form_.ClearDataFieldsBtnClick(); }); });
  connect(bezar, &QPushButton::clicked, this, [this] { Run([this] { form_.BezarBtnClick(); }); });
  connect(UgyintezokLbx, &QListWidget::itemDoubleClicked, this,
          [this] { Run([this] { form_.UgyintezokLbxDblClick(); }); });
  UgyintezokLbx->installEventFilter(this);
  SearchUgyintezoEd->installEventFilter(this);

  form_.FormCreate();
}

void UgyintezokTorzsDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Run([this] { form_.FormShow(); });
}

bool UgyintezokTorzsDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == UgyintezokLbx && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
      Run([this] { form_.UgyintezokLbxKeyPress(QChar(13)); });
      return true;
    }
    // The search sees the text as it is before the key changes it.
    if (watched == SearchUgyintezoEd && !key->text().isEmpty()) {
      const QChar c = key->text().at(0);
      Run([this, c] { form_.SearchUgyintezoEdKeyPress(c); });
    }
  }
  return QDialog::eventFilter(watched, event);
}

void UgyintezokTorzsDialog::Run(const std::function<void()>& handler) {
  WriteBack();
  RunHandler(ui_, handler);
  Render();
  if (form_.State.Closed) accept();
}

void UgyintezokTorzsDialog::WriteBack() {
  auto& s = form_.State;
  s.NevEd.Text = NevEd->text();
  s.TelefonEd.Text = TelefonEd->text();
  s.AzonositoEd.Text = AzonositoEd->text();
  s.SearchUgyintezoEd.Text = SearchUgyintezoEd->text();
  s.UgyintezokLbx.ItemIndex = UgyintezokLbx->currentRow();
}

void UgyintezokTorzsDialog::Render() {
  auto& s = form_.State;
  RenderText(NevEd, s.NevEd);
  RenderText(TelefonEd, s.TelefonEd);
  RenderText(AzonositoEd, s.AzonositoEd);
  RenderText(SearchUgyintezoEd, s.SearchUgyintezoEd);
  RenderList(UgyintezokLbx, s.UgyintezokLbx);
  if (!s.FocusedControl.isEmpty()) {
    if (auto* w = findChild<QWidget*>(s.FocusedControl)) w->setFocus();
    s.FocusedControl.clear();
  }
}

void ShowUgyintezokTorzs(QWidget* parent, TSQLiteDatabase& db) {
  UgyintezokTorzsDialog dialog(db, parent);
  dialog.exec();
}

}  // namespace krinu
