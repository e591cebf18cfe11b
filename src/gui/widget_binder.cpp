#include "gui/widget_binder.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QTextDocument>
#include <QToolButton>
#include <memory>
#include <stdexcept>

#include "gui/control_render.h"
#include "gui/desktop_integration.h"

namespace krinu {
namespace {

void DrawGrid(QTableWidget* w, const TPreviewGrid& c) {
  // The fixed row is the table's own header, so it stays in view.
  const int fixed = c.FixedRows > 0 ? 1 : 0;
  w->clear();
  w->setColumnCount(c.ColCount);
  w->setRowCount(std::max(0, c.RowCount - fixed));
  w->horizontalHeader()->setVisible(fixed == 1);
  QStringList header;
  for (int col = 0; col < c.ColCount; ++col)
    header << (fixed && !c.Cells.isEmpty() ? c.Cells[0].value(col) : QString());
  w->setHorizontalHeaderLabels(header);
  for (int row = fixed; row < c.RowCount && row < c.Cells.size(); ++row)
    for (int col = 0; col < c.ColCount; ++col)
      w->setItem(row - fixed, col, new QTableWidgetItem(c.Cells[row].value(col)));
  // Columns as wide as their widest value in this font (the header texts are not measured);
  // the user can still resize them.
  const QFontMetrics fm = w->fontMetrics();
  for (int col = 0; col < c.ColCount && col < c.ColWidths.size(); ++col) {
    if (c.ColWidths[col] <= 0) continue;
    int width = 0;
    for (int row = fixed; row < c.RowCount && row < c.Cells.size(); ++row)
      width = std::max(width, fm.horizontalAdvance(c.Cells[row].value(col)));
    w->setColumnWidth(col, std::min(480, width + 14));
  }
}

}  // namespace

template <class T>
T& WidgetBinder::Control(const QString& name) {
  for (const NamedControl& c : controls_)
    if (c.Name == name) {
      if (T* const* p = std::get_if<T*>(&c.Control)) {
        bound_ << name;
        return **p;
      }
      throw std::logic_error("control " + name.toStdString() + " is of another kind");
    }
  throw std::logic_error("no control named " + name.toStdString());
}

void WidgetBinder::Custom(std::function<void()> render, std::function<void()> sync) {
  bindings_.push_back({std::move(render), std::move(sync)});
}

QLabel* WidgetBinder::Label(const QString& name) {
  CaptionControl& c = Control<CaptionControl>(name);
  auto* w = new QLabel(c.Caption);
  w->setObjectName(name);
  Custom([w, &c] {
    w->setText(c.Caption);
    w->setEnabled(c.Enabled);
  });
  return w;
}

QAbstractButton* WidgetBinder::Button(const QString& name) {
  CaptionControl& c = Control<CaptionControl>(name);
  auto* w = new QPushButton(c.Caption);
  w->setObjectName(name);
  Custom([w, &c] {
    w->setText(c.Caption);
    w->setEnabled(c.Enabled);
  });
  return w;
}

QLineEdit* WidgetBinder::Edit(const QString& name, bool readOnly, int maxLength) {
  TextControl& c = Control<TextControl>(name);
  auto* w = new QLineEdit;
  w->setObjectName(name);
  w->setReadOnly(readOnly);
  if (readOnly) {
    // Shown on the window's colour, so that nobody tries to type into it.
    QPalette pal = w->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Window));
    w->setPalette(pal);
  }
  if (maxLength > 0) w->setMaxLength(maxLength);
  Custom([w, &c] { RenderText(w, c); },
         [w, &c, readOnly] {
           if (!readOnly) c.Text = w->text();
         });
  return w;
}

QCheckBox* WidgetBinder::Check(const QString& name) {
  CheckControl& c = Control<CheckControl>(name);
  auto* w = new QCheckBox(c.Caption);
  w->setObjectName(name);
  Custom(
      [w, &c] {
        w->setText(c.Caption);
        w->setChecked(c.Checked);
        w->setEnabled(c.Enabled);
      },
      [w, &c] { c.Checked = w->isChecked(); });
  return w;
}

QComboBox* WidgetBinder::Combo(const QString& name) {
  ComboControl& c = Control<ComboControl>(name);
  auto* w = new QComboBox;
  w->setObjectName(name);
  w->setEditable(false);
  w->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  w->setMinimumContentsLength(12);
  Custom(
      [w, &c] {
        RenderItems(w, c.Items);
        w->setCurrentIndex(c.ItemIndex);
        w->setEnabled(c.Enabled);
      },
      [w, &c] { c.ItemIndex = w->currentIndex(); });
  return w;
}

QDateEdit* WidgetBinder::Date(const QString& name) {
  DateControl& c = Control<DateControl>(name);
  auto* w = new QDateEdit;
  w->setObjectName(name);
  w->setCalendarPopup(true);
  // The pop-up is a window of its own and would take the system locale: month and day
  // names must be Hungarian like the rest of the interface.
  w->setLocale(InterfaceLocale());
  auto* calendar = new QCalendarWidget(w);
  calendar->setLocale(InterfaceLocale());
  calendar->setFirstDayOfWeek(Qt::Monday);
  calendar->setGridVisible(true);
  w->setCalendarWidget(calendar);
  w->setDisplayFormat(QStringLiteral("yyyy. MM. dd."));
  w->setMinimumWidth(w->fontMetrics().horizontalAdvance(QStringLiteral("2026. 12. 31.")) + 48);
  w->setMaximumWidth(220);
  Custom(
      [w, &c] {
        w->setDate(c.Date);
        w->setEnabled(c.Enabled);
      },
      [w, &c] { c.Date = w->date(); });
  return w;
}

QToolButton* WidgetBinder::CheckButton(const QString& name) {
  CheckButtonControl& c = Control<CheckButtonControl>(name);
  auto* w = new QToolButton;
  w->setObjectName(name);
  w->setAutoRaise(false);
  w->setIconSize(QSize(20, 20));
  Custom([w, &c] {
    QStyle::StandardPixmap icon = QStyle::SP_MessageBoxQuestion;
    QString tip = QStringLiteral("Még nincs ellenőrizve");
    if (c.Mark == CheckMark::Passed) {
      icon = QStyle::SP_DialogApplyButton;
      tip = QStringLiteral("Az ellenőrzés rendben");
    }
    if (c.Mark == CheckMark::Failed) {
      icon = QStyle::SP_MessageBoxCritical;
      tip = QStringLiteral("Az ellenőrzés megbukott");
    }
    w->setIcon(w->style()->standardIcon(icon));
    w->setToolTip(tip);
    w->setText(c.Caption);
    w->setToolButtonStyle(c.Caption.isEmpty() ? Qt::ToolButtonIconOnly
                                              : Qt::ToolButtonTextBesideIcon);
    w->setEnabled(c.Enabled);
  });
  return w;
}

QTableWidget* WidgetBinder::Grid(const QString& name) {
  GridControl& c = Control<GridControl>(name);
  auto* w = new QTableWidget;
  w->setObjectName(name);
  w->setEditTriggers(QAbstractItemView::NoEditTriggers);
  w->setSelectionMode(QAbstractItemView::NoSelection);
  w->setTabKeyNavigation(false);
  w->verticalHeader()->setDefaultSectionSize(w->fontMetrics().height() + 6);
  w->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  w->horizontalHeader()->setHighlightSections(false);
  auto drawn = std::make_shared<std::optional<TPreviewGrid>>();
  Custom([w, &c, drawn] {
    if (!*drawn || **drawn != static_cast<const TPreviewGrid&>(c)) {
      DrawGrid(w, c);
      *drawn = static_cast<const TPreviewGrid&>(c);
    }
    w->setEnabled(c.Enabled);
  });
  return w;
}

QPlainTextEdit* WidgetBinder::Memo(const QString& name) {
  MemoControl& c = Control<MemoControl>(name);
  auto* w = new QPlainTextEdit;
  w->setObjectName(name);
  w->setReadOnly(true);
  w->setLineWrapMode(QPlainTextEdit::NoWrap);
  w->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  w->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  w->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto shown = std::make_shared<qsizetype>(0);
  Custom([w, &c, shown] {
    // The log only grows: append what is new. (The first fill is set whole, since
    // appending to an empty memo would swallow an empty line.)
    const bool grew = *shown < c.Lines.size();
    if (grew && w->document()->isEmpty()) {
      w->setPlainText(c.Lines.join(QLatin1Char('\n')));
      *shown = c.Lines.size();
    }
    // In one piece: a run on a large export logs a hundred thousand lines, and appended one
    // by one they would hold the window for half a minute.
    if (*shown < c.Lines.size()) {
      w->appendPlainText(c.Lines.mid(*shown).join(QLatin1Char('\n')));
      *shown = c.Lines.size();
    }
    if (grew) w->moveCursor(QTextCursor::End);  // the newest lines in view
    w->setEnabled(c.Enabled);
  });
  return w;
}

QListWidget* WidgetBinder::List(const QString& name) {
  ListControl& c = Control<ListControl>(name);
  auto* w = new QListWidget;
  w->setObjectName(name);
  Custom(
      [w, &c] {
        RenderItems(w, c.Items);
        w->setCurrentRow(c.ItemIndex);
        if (c.ItemIndex >= 0) w->scrollToItem(w->item(c.ItemIndex));
        w->setEnabled(c.Enabled);
      },
      [w, &c] { c.ItemIndex = w->currentRow(); });
  return w;
}

QAction* WidgetBinder::MenuAction(QMenu* menu, const QString& name) {
  CaptionControl& c = Control<CaptionControl>(name);
  QAction* a = menu->addAction(c.Caption);
  a->setObjectName(name);
  Custom([a, &c] {
    a->setText(c.Caption);
    a->setEnabled(c.Enabled);
  });
  return a;
}

QMenu* WidgetBinder::Menu(QMenu* menu, const QString& name) {
  CaptionControl& c = Control<CaptionControl>(name);
  menu->setObjectName(name);
  menu->setTitle(c.Caption);
  Custom([menu, &c] { menu->setTitle(c.Caption); });
  return menu;
}

void WidgetBinder::Caption(const QString& name, std::function<void(const CaptionControl&)> render) {
  CaptionControl& c = Control<CaptionControl>(name);
  Custom([&c, render = std::move(render)] { render(c); });
}

void WidgetBinder::Render() {
  if (rendering_) return;
  rendering_ = true;
  for (const Binding& b : bindings_) b.render();
  rendering_ = false;
}

void WidgetBinder::Sync() {
  if (rendering_) return;
  for (const Binding& b : bindings_)
    if (b.sync) b.sync();
}

QStringList WidgetBinder::Unbound() const {
  QStringList missing;
  for (const NamedControl& c : controls_)
    if (!bound_.contains(c.Name)) missing << c.Name;
  return missing;
}

}  // namespace krinu
