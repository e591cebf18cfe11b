#include "gui/widget_binder.h"

#include <QAbstractItemView>
#include <QAbstractTableModel>
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
#include <QTableView>
#include <QTableWidget>
#include <QTextDocument>
#include <QToolButton>
#include <climits>
#include <memory>
#include <optional>
#include <stdexcept>

#include "gui/control_render.h"
#include "gui/date_field.h"
#include "gui/desktop_integration.h"
#include "gui/keyboard.h"

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
  // The full header on each section's tooltip, for a column narrower than its header.
  for (int col = 0; col < c.ColCount; ++col)
    if (QTableWidgetItem* item = w->horizontalHeaderItem(col)) item->setToolTip(item->text());
  // Columns as wide as their widest value or header in this font, within a bound that keeps
  // a few columns in view; the user can still widen them.
  const QFontMetrics fm = w->fontMetrics();
  const QFontMetrics headerFm = w->horizontalHeader()->fontMetrics();
  for (int col = 0; col < c.ColCount && col < c.ColWidths.size(); ++col) {
    if (c.ColWidths[col] <= 0) continue;
    int width = fixed ? headerFm.horizontalAdvance(header.value(col)) + 10 : 0;
    for (int row = fixed; row < c.RowCount && row < c.Cells.size(); ++row)
      width = std::max(width, fm.horizontalAdvance(c.Cells[row].value(col)));
    w->setColumnWidth(col, std::min(480, width + 14));
  }
}

// Cells the content check found at fault: coloured, the reason as tooltip.
void ShowMarks(QTableWidget* w, const GridControl& c, QVector<TCellMark>& shown) {
  if (shown == c.Marks) return;
  const int fixed = c.FixedRows > 0 ? 1 : 0;
  const auto itemAt = [&](const TCellMark& m) { return w->item(m.Row - fixed, m.Col); };
  for (const TCellMark& m : shown)
    if (QTableWidgetItem* item = itemAt(m)) {
      item->setBackground(QBrush());
      item->setToolTip(QString());
    }
  for (const TCellMark& m : c.Marks)
    if (QTableWidgetItem* item = itemAt(m)) {
      item->setBackground(QColor(255, 190, 190));
      item->setToolTip(m.Hint);
    }
  if (!c.Marks.isEmpty())
    if (QTableWidgetItem* item = itemAt(c.Marks.front())) w->scrollToItem(item);
  shown = c.Marks;
}

// The cells of a TableControl as the view asks for them: only the rows in sight are read.
class TableModel final : public QAbstractTableModel {
 public:
  TableModel(const TableControl& c, QObject* parent) : QAbstractTableModel(parent), c_(c) {}
  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() || !c_.Cell ? 0 : int(std::min<qsizetype>(c_.RowCount, INT_MAX));
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : int(c_.Columns.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || index.column() >= int(c_.Columns.size())) return {};
    const TableColumn& column = c_.Columns[index.column()];
    switch (role) {
      case Qt::DisplayRole:
      case Qt::ToolTipRole:  // the whole text where the column is too narrow for it
        return c_.Cell(index.row(), index.column());
      case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (column.Number ? Qt::AlignRight : Qt::AlignLeft));
      case Qt::FontRole:
        if (column.FixedPitch) return QFontDatabase::systemFont(QFontDatabase::FixedFont);
        return {};
      default:
        return {};
    }
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || section < 0 || section >= int(c_.Columns.size()))
      return {};
    if (role == Qt::DisplayRole) return c_.Columns[section].Caption;
    return {};
  }
  void Reset() {
    beginResetModel();
    endResetModel();
  }

 private:
  const TableControl& c_;
};

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
  // A label that names a field (its buddy, set by the window) shows the field's Alt letter.
  Custom([w, &c] {
    w->setText(w->buddy() ? WithAccelerator(w->buddy()->objectName(), c.Caption) : c.Caption);
    w->setEnabled(c.Enabled);
  });
  return w;
}

QAbstractButton* WidgetBinder::Button(const QString& name) {
  CaptionControl& c = Control<CaptionControl>(name);
  auto* w = new QPushButton(WithAccelerator(name, c.Caption));
  w->setObjectName(name);
  Custom([w, &c, name] {
    w->setText(WithAccelerator(name, c.Caption));
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
  LeaveRoomForAccents(w);
  Custom([w, &c] { RenderText(w, c); },
         [w, &c, readOnly] {
           if (!readOnly) c.Text = w->text();
         });
  return w;
}

QCheckBox* WidgetBinder::Check(const QString& name) {
  CheckControl& c = Control<CheckControl>(name);
  auto* w = new QCheckBox(WithAccelerator(name, c.Caption));
  w->setObjectName(name);
  Custom(
      [w, &c, name] {
        w->setText(WithAccelerator(name, c.Caption));
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
  LeaveRoomForAccents(w);
  Custom(
      [w, &c] {
        // The combo may be narrower than a long name: the list opens wide enough to show
        // every item whole, and the chosen one is on the tooltip.
        if (RenderItems(w, c.Items)) {
          const QFontMetrics fm = w->view()->fontMetrics();
          int widest = 0;
          for (const QString& item : c.Items) widest = std::max(widest, fm.horizontalAdvance(item));
          w->view()->setMinimumWidth(std::min(widest + 32, 1200));
        }
        w->setCurrentIndex(c.ItemIndex);
        w->setEnabled(c.Enabled);
        w->setToolTip(w->currentText());
      },
      [w, &c] { c.ItemIndex = w->currentIndex(); });
  return w;
}

QDateEdit* WidgetBinder::Date(const QString& name) {
  DateControl& c = Control<DateControl>(name);
  auto* w = new TDateField;
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
  LeaveRoomForAccents(w);
  SelectSectionOnClick(w);
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
    if (c.Mark != CheckMark::Help && !c.Hint.isEmpty()) tip += QLatin1Char('\n') + c.Hint;
    w->setIcon(w->style()->standardIcon(icon));
    w->setToolTip(tip);
    w->setText(c.Caption);
    w->setToolButtonStyle(c.Caption.isEmpty() ? Qt::ToolButtonIconOnly
                                              : Qt::ToolButtonTextBesideIcon);
    w->setEnabled(c.Enabled);
  });
  return w;
}

QToolButton* WidgetBinder::ChoiceButton(const QString& name) {
  ListControl& c = Control<ListControl>(name);
  auto* w = new QToolButton;
  w->setObjectName(name);
  w->setPopupMode(QToolButton::InstantPopup);
  auto* menu = new QMenu(w);
  w->setMenu(menu);
  auto shown = std::make_shared<QStringList>();
  Custom([w, menu, &c, shown] {
    if (*shown != c.Items) {
      menu->clear();
      for (int i = 0; i < c.Items.size(); ++i) {
        QString text = c.Items[i];
        QAction* a = menu->addAction(text.replace(QLatin1Char('&'), QStringLiteral("&&")));
        a->setData(i);
      }
      *shown = c.Items;
    }
    w->setEnabled(c.Enabled && !c.Items.isEmpty());
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
  w->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);  // the user widens
  auto drawn = std::make_shared<std::optional<TPreviewGrid>>();
  auto marked = std::make_shared<QVector<TCellMark>>();
  Custom([w, &c, drawn, marked] {
    if (!*drawn || **drawn != static_cast<const TPreviewGrid&>(c)) {
      DrawGrid(w, c);
      *drawn = static_cast<const TPreviewGrid&>(c);
      marked->clear();  // the items they were on are gone
    }
    ShowMarks(w, c, *marked);
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

QTableView* WidgetBinder::Table(const QString& name) {
  TableControl& c = Control<TableControl>(name);
  auto* w = new QTableView;
  w->setObjectName(name);
  auto* model = new TableModel(c, w);
  w->setModel(model);
  w->setEditTriggers(QAbstractItemView::NoEditTriggers);
  w->setSelectionBehavior(QAbstractItemView::SelectRows);
  w->setSelectionMode(QAbstractItemView::SingleSelection);
  w->setTabKeyNavigation(false);
  w->setWordWrap(false);
  // Every row one line high: the view then never measures the rows it does not show.
  w->verticalHeader()->hide();
  w->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  w->verticalHeader()->setDefaultSectionSize(w->fontMetrics().height() + 6);
  QHeaderView* header = w->horizontalHeader();
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setHighlightSections(false);
  header->setSectionsClickable(true);
  header->setSortIndicatorShown(true);
  // Not stretched: a long row keeps its width and the table scrolls sideways to show it whole.
  header->setStretchLastSection(false);
  struct Drawn {
    std::optional<quint64> Revision;
    bool Sized = false;
  };
  auto drawn = std::make_shared<Drawn>();
  Custom([w, model, &c, drawn] {
    if (drawn->Revision != c.Revision) {
      model->Reset();
      drawn->Revision = c.Revision;
      // Columns as wide as the first rows need (the view samples a thousand), once: a width
      // the user set stays when the rows are sorted.
      if (!drawn->Sized && model->rowCount(QModelIndex()) > 0) {
        w->resizeColumnsToContents();
        drawn->Sized = true;
      }
    }
    w->horizontalHeader()->setSortIndicator(
        c.SortColumn, c.Descending ? Qt::DescendingOrder : Qt::AscendingOrder);
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
