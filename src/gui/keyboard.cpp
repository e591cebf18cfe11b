#include "gui/keyboard.h"

#include <QAbstractButton>
#include <QAction>
#include <QDateTimeEdit>
#include <QEvent>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>

#include "gui/desktop_integration.h"

namespace krinu {
namespace {

// Per control, the text whose first letter is underlined. Within one window (the menus and
// the tab shown count together) no letter repeats; the GUI tests walk the windows for it.
const QHash<QString, QString>& AcceleratorAnchors() {
  static const QHash<QString, QString> anchors{
      // Input tab (the menus take F, T and S).
      {QStringLiteral("SelectFileBtn"), QStringLiteral("Input")},
      {QStringLiteral("HeaderCbx"), QStringLiteral("Első")},
      {QStringLiteral("CsvSeparatorEd"), QStringLiteral("választó")},
      {QStringLiteral("ColCountPrevEd"), QStringLiteral("Oszlopok")},
      {QStringLiteral("RowCountPrevEd"), QStringLiteral("rok")},
      {QStringLiteral("SzerkezetCheckBtn"), QStringLiteral("zerkezet")},
      {QStringLiteral("AdoszamColCbx"), QStringLiteral("Partner")},
      {QStringLiteral("MegnevezesColCbx"), QStringLiteral("megnevezése")},
      {QStringLiteral("DatumColCbx"), QStringLiteral("dátuma")},
      {QStringLiteral("BizSzamColCbx"), QStringLiteral("ylat")},
      {QStringLiteral("AFAAlapColCbx"), QStringLiteral("Nettó")},
      {QStringLiteral("AFAColCbx"), QStringLiteral("g")},
      {QStringLiteral("DateFormEd"), QStringLiteral("um ")},
      {QStringLiteral("DecSepCbx"), QStringLiteral("jegy")},
      {QStringLiteral("ContentCheckBtn"), QStringLiteral("adatainak")},
      {QStringLiteral("CsvLoadRowNumEd"), QStringLiteral("ltött")},
      {QStringLiteral("CsvMissedRowNumEd"), QStringLiteral("Kihagyott")},
      {QStringLiteral("ShowMissedBtn"), QStringLiteral("hagyott")},
      {QStringLiteral("ShowLoadWarningsBtn"), QStringLiteral("bővebben")},
      // XML tab.
      {QStringLiteral("AdozokCb"), QStringLiteral("Adózót")},
      {QStringLiteral("UjAdozoBtn"), QStringLiteral("j")},
      {QStringLiteral("UgyintezokCb"), QStringLiteral("gyintéz")},
      {QStringLiteral("UjUgyintezoBtn"), QStringLiteral("yint")},
      {QStringLiteral("XMLFileSelectBtn"), QStringLiteral("meg")},
      {QStringLiteral("OverWriteXmlFileCbx"), QStringLiteral("Ha")},
      {QStringLiteral("IdoszakADtPick"), QStringLiteral("Időszak")},
      {QStringLiteral("IdoszakBDtPick"), QStringLiteral("vége")},
      {QStringLiteral("NyomtVerEd"), QStringLiteral("Nyomtatv")},
      {QStringLiteral("BizSumCbx"), QStringLiteral("zonylat")},
      {QStringLiteral("DropZeroItemsCbx"), QStringLiteral("lek")},
      {QStringLiteral("Step1Btn"), QStringLiteral("készítés")},
      {QStringLiteral("SummaryBtn"), QStringLiteral("Bevallás")},
      // The summary window.
      {QStringLiteral("FilterEd"), QStringLiteral("Szűrés")},
      {QStringLiteral("MentesPdfBtn"), QStringLiteral("PDF")},
      {QStringLiteral("MentesHtmlBtn"), QStringLiteral("HTML")},
      {QStringLiteral("MentesCsvBtn"), QStringLiteral("CSV")},
      {QStringLiteral("SummaryOkBtn"), QStringLiteral("zárás")},
      // The register windows.
      {QStringLiteral("AdoszamEd"), QStringLiteral("Adószám")},
      {QStringLiteral("NevEd"), QStringLiteral("Név")},
      {QStringLiteral("BankEd"), QStringLiteral("Bank")},
      {QStringLiteral("SzamlaEd"), QStringLiteral("Számla")},
      {QStringLiteral("TelefonEd"), QStringLiteral("lefon")},
      {QStringLiteral("AzonositoEd"), QStringLiteral("Azonosító")},
      {QStringLiteral("UjBTn"), QStringLiteral("J")},
      {QStringLiteral("ModositBtn"), QStringLiteral("Módosítása")},
      {QStringLiteral("TorlesBtn"), QStringLiteral("Törlése")},
      {QStringLiteral("ClearDataFieldsBtn"), QStringLiteral("datmezők")},
      {QStringLiteral("SearchAdozoEd"), QStringLiteral("Keresés")},
      {QStringLiteral("SearchUgyintezoEd"), QStringLiteral("Keresés")},
      {QStringLiteral("BezarBtn"), QStringLiteral("zárás")},
      // The skipped rows' viewer.
      {QStringLiteral("MentesBtn"), QStringLiteral("Mentés")},
      {QStringLiteral("ShowMissedOkBtn"), QStringLiteral("OK")},
  };
  return anchors;
}

bool IsEnter(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<const QKeyEvent*>(event);
  const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
  return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && mods == Qt::NoModifier;
}

}  // namespace

QString WithAccelerator(const QString& objectName, const QString& caption) {
  QString shown = caption;
  shown.replace(QLatin1Char('&'), QStringLiteral("&&"));  // a caption's own "&" is no letter
  const QString anchor = AcceleratorAnchors().value(objectName);
  if (anchor.isEmpty()) return shown;
  const qsizetype at = shown.indexOf(anchor);
  if (at >= 0) shown.insert(at, QLatin1Char('&'));
  return shown;
}

void SelectSectionOnClick(QDateTimeEdit* edit) {
  // The line edit inside takes the click and places the cursor; the picker follows the
  // cursor into the section under it.
  auto* line = edit->findChild<QLineEdit*>();
  if (!line) return;
  // After the click is done with: the line edit has then placed the cursor.
  OnEvent(line, QEvent::MouseButtonRelease, [edit, line] {
    QTimer::singleShot(0, edit, [edit, line] {
      // Beyond the last part (after the final dot) the year is meant, the part a user most
      // often types whole.
      const bool pastEnd = line->cursorPosition() >= line->text().size();
      const QDateTimeEdit::Section section = pastEnd ? edit->sectionAt(0) : edit->currentSection();
      if (section != QDateTimeEdit::NoSection) edit->setSelectedSection(section);
    });
  });
}

void LinkLabels(QWidget* root, const std::vector<std::pair<QString, QString>>& pairs) {
  for (const auto& [label, field] : pairs) {
    auto* l = root->findChild<QLabel*>(label);
    auto* f = root->findChild<QWidget*>(field);
    if (l && f) l->setBuddy(f);
  }
}

void SwitchTabsFromAnywhere(QTabWidget* tabs) {
  const auto add = [tabs](const QList<QKeySequence>& keys, int step) {
    auto* a = new QAction(tabs);
    a->setShortcuts(keys);
    a->setShortcutContext(Qt::WindowShortcut);
    tabs->addAction(a);
    QObject::connect(a, &QAction::triggered, tabs, [tabs, step] {
      const int count = tabs->count();
      if (count > 1) tabs->setCurrentIndex((tabs->currentIndex() + step + count) % count);
    });
  };
  add({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, 1);
  add({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
      -1);
}

void ChainTabOrder(QWidget* root, const QStringList& names) {
  QWidget* previous = nullptr;
  for (const QString& name : names) {
    auto* w = root->findChild<QWidget*>(name);
    if (!w) continue;
    if (previous) QWidget::setTabOrder(previous, w);
    previous = w;
  }
}

void EnterPressesButton::Add(const std::vector<QWidget*>& members, ButtonOf button) {
  for (QWidget* w : members) w->installEventFilter(this);
  groups_.push_back({members, std::move(button)});
}

void EnterPressesButton::Add(const std::vector<QWidget*>& members, QAbstractButton* button) {
  Add(members, [button] { return button; });
}

QAbstractButton* EnterPressesButton::ButtonFor(QWidget* focus) const {
  if (!focus || qobject_cast<QPlainTextEdit*>(focus) || qobject_cast<QTextEdit*>(focus))
    return nullptr;
  for (const Group& g : groups_)
    for (QWidget* member : g.Members)
      if (member == focus || member->isAncestorOf(focus)) {
        if (auto* pressed = qobject_cast<QPushButton*>(focus)) return pressed;
        return g.Button();
      }
  return nullptr;
}

bool EnterPressesButton::eventFilter(QObject* watched, QEvent* event) {
  if (!IsEnter(event)) return QObject::eventFilter(watched, event);
  // The key of the window's focus widget, passed up to its panel: a pop-up is a window of its
  // own, and its keys never reach its owner's panel.
  auto* target = qobject_cast<QWidget*>(watched);
  QWidget* focus = target ? target->window()->focusWidget() : nullptr;
  if (!focus) return QObject::eventFilter(watched, event);
  QAbstractButton* button = ButtonFor(focus);
  if (!button || !button->isEnabled() || !button->isVisible())
    return QObject::eventFilter(watched, event);
  button->click();
  return true;
}

}  // namespace krinu
