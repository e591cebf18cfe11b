#include "gui/register_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "app/handler_runner.h"
#include "gui/control_render.h"
#include "gui/desktop_integration.h"
#include "gui/keyboard.h"

namespace krinu {

namespace {

QLabel* HeaderStrip(const QString& objectName, const QString& caption, QWidget* parent) {
  auto* strip = new QLabel(caption, parent);
  strip->setObjectName(objectName);
  strip->setStyleSheet(QStringLiteral(
      "QLabel { background-color: palette(highlight); color: palette(highlighted-text);"
      " font-weight: bold; padding: 5px 8px; border-radius: 2px; }"));
  return strip;
}

QPushButton* Button(const QString& objectName, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(WithAccelerator(objectName, caption), parent);
  button->setObjectName(objectName);
  // Enter presses the save button of the edits (see Build), not whichever had the focus last.
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

// Rows as tall as the font's full height plus room, so that the accents of capitals
// ("Ö", "Ű") are not cut off at the top of a row.
class RoomyRowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const QFontMetrics fm(option.font);
    size.setHeight(std::max(size.height(), fm.boundingRect(QStringLiteral("ÁÉŐŰÖÜ")).height()) + 6);
    return size;
  }
};

}  // namespace

RegisterDialog::RegisterDialog(QWidget* parent) : QDialog(parent), ui_(this) {
  ui_.BeforeModal = [this] { Render(); };
}

void RegisterDialog::BindState(NamedControls controls) {
  binder_ = std::make_unique<WidgetBinder>(std::move(controls));
}

QLineEdit* RegisterDialog::AddEdit(const QString& label, const QString& objectName, int maxLength) {
  QLineEdit* edit = binder_->Edit(objectName, false, maxLength);
  edit->setParent(this);
  edits_.push_back({label, edit});
  return edit;
}

void RegisterDialog::Build(const RegisterDialogTexts& texts, RegisterDialogState state,
                           RegisterDialogHandlers handlers) {
  state_ = state;
  handlers_ = std::move(handlers);
  setObjectName(texts.ObjectName);
  setWindowTitle(texts.WindowTitle);
  setModal(true);

  // Left: the edits and the buttons that act on them.
  auto* left = new QVBoxLayout;
  left->addWidget(HeaderStrip(QStringLiteral("Panel1"), texts.Panel1, this));
  auto* fields = new QFormLayout;
  fields->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
  for (const LabelledEdit& e : edits_)
    fields->addRow(WithAccelerator(e.Edit->objectName(), e.Label), e.Edit);
  left->addLayout(fields);
  left->addSpacing(8);
  auto* uj = Button(QStringLiteral("UjBTn"), texts.UjBTn, this);
  auto* modosit = Button(QStringLiteral("ModositBtn"), texts.ModositBtn, this);
  auto* torles = Button(QStringLiteral("TorlesBtn"), texts.TorlesBtn, this);
  auto* clear =
      Button(QStringLiteral("ClearDataFieldsBtn"), QStringLiteral("Adatmezők törlése"), this);
  for (QPushButton* b : {uj, modosit, torles}) left->addWidget(b);
  left->addSpacing(8);
  left->addWidget(clear);
  left->addStretch(1);

  // Right: the list of records and the search over it.
  auto* right = new QVBoxLayout;
  right->addWidget(HeaderStrip(QStringLiteral("Panel2"), texts.Panel2, this));
  auto* hint = new QLabel(
      QStringLiteral("Módosítás vagy Törlés számára kiválasztás: dupla kattintás vagy 'Enter' "),
      this);
  hint->setObjectName(QStringLiteral("Label1"));
  right->addWidget(hint);
  auto* searchRow = new QHBoxLayout;
  searchEd_ = binder_->Edit(texts.SearchEd);
  auto* searchLabel = new QLabel(WithAccelerator(texts.SearchEd, QStringLiteral("Keresés")), this);
  searchLabel->setBuddy(searchEd_);
  searchRow->addWidget(searchLabel);
  searchRow->addWidget(searchEd_, 1);
  right->addLayout(searchRow);
  lbx_ = binder_->List(texts.Lbx);
  lbx_->setMinimumSize(texts.LbxMinimumSize);
  lbx_->setItemDelegate(new RoomyRowDelegate(lbx_));
  right->addWidget(lbx_, 1);

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

  // A disabled edit stays in the chain; Qt skips it while it is disabled.
  std::vector<QWidget*> order;
  for (const LabelledEdit& e : edits_) order.push_back(e.Edit);
  order.insert(order.end(), {uj, modosit, torles, clear, searchEd_, lbx_, bezar});
  for (size_t i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);

  const auto onClick = [this](QPushButton* button, const std::function<void()>& handler) {
    connect(button, &QPushButton::clicked, this, [this, handler] { Run(handler); });
  };
  onClick(uj, handlers_.UjBTnClick);
  onClick(modosit, handlers_.ModositBtnClick);
  onClick(torles, handlers_.TorlesBtnClick);
  onClick(clear, handlers_.ClearDataFieldsBtnClick);
  onClick(bezar, handlers_.BezarBtnClick);
  // Enter in an edit saves: a record chosen from the list is changed, otherwise a new one is
  // stored. Enter on a button presses that button; the list and the search keep their own.
  auto* enter = new EnterPressesButton(this);
  std::vector<QWidget*> members{uj, modosit, torles, clear, bezar};
  for (const LabelledEdit& e : edits_) members.push_back(e.Edit);
  const qint32* marked = state_.MarkedIndex;
  enter->Add(members, [uj, modosit, marked]() -> QAbstractButton* {
    return marked && *marked >= 0 ? modosit : uj;
  });
  connect(lbx_, &QListWidget::itemDoubleClicked, this, [this] { Run(handlers_.LbxDblClick); });
  lbx_->installEventFilter(this);
  searchEd_->installEventFilter(this);
  PlaceOnScreen(this, sizeHint());
}

void RegisterDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Run(handlers_.FormShow);
}

bool RegisterDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == lbx_ && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
      Run([this] { handlers_.LbxKeyPress(QChar(13)); });
      return true;
    }
    // The search sees the text as it is before the key changes it.
    if (watched == searchEd_ && !key->text().isEmpty()) {
      const QChar c = key->text().at(0);
      Run([this, c] { handlers_.SearchEdKeyPress(c); });
    }
  }
  return QDialog::eventFilter(watched, event);
}

void RegisterDialog::Run(const std::function<void()>& handler) {
  if (binder_->Rendering()) return;
  binder_->Sync();
  RunHandler(ui_, handler);
  Render();
  if (*state_.Closed) accept();
}

void RegisterDialog::Render() {
  if (binder_->Rendering()) return;
  binder_->Render();
  RenderFocus(this, *state_.FocusedControl);
}

}  // namespace krinu
