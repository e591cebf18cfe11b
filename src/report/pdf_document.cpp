#include "report/pdf_document.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <algorithm>

#include "common/atomic_write.h"

namespace krinu {

namespace {

// Where the text below the table goes: a page and a height on it.
struct TPlaced {
  int Page = 0;
  double Top = 0;
};

class TPrinter {
 public:
  TPrinter(QPdfWriter& pdf, const TPrintDocument& d) : pdf_(pdf), d_(d) {
    font_ = QFont(QStringLiteral("DejaVu Sans"));
    font_.setStyleHint(QFont::SansSerif);
    font_.setPointSizeF(8);
    bold_ = font_;
    bold_.setBold(true);
    title_ = font_;
    title_.setBold(true);
    title_.setPointSizeF(10);
  }

  void Print() {
    QPainter painter(&pdf_);
    page_ = painter.viewport();
    pad_ = QFontMetricsF(font_, &pdf_).height() * 0.2;
    foot_ = QFontMetricsF(font_, &pdf_).height() * 2;
    bottom_ = page_.height() - foot_;
    Rich(before_, d_.Before);
    Rich(after_, d_.After);
    Layout();
    // Drawn once the number of pages is known, for the foot of every page.
    int page = 0;
    double y = 0;
    painter.setFont(font_);
    DrawRich(painter, before_, y);
    y += before_.size().height();
    if (!d_.TableTitle.isEmpty()) {
      painter.setFont(title_);
      painter.drawText(QRectF(0, y, page_.width(), titleHeight_), Qt::AlignLeft | Qt::AlignBottom,
                       d_.TableTitle);
      y += titleHeight_ + pad_;
    }
    y = DrawHeader(painter, y);
    for (std::size_t r = 0; r < d_.Rows.size(); ++r) {
      if (pageOf_[r] != page) {
        Foot(painter, page);
        pdf_.newPage();
        page = pageOf_[r];
        y = DrawHeader(painter, 0);
      }
      const bool bold = d_.LastRowBold && r + 1 == d_.Rows.size();
      DrawRow(painter, d_.Rows[r], y, heights_[r], bold ? bold_ : font_, false);
      y += heights_[r];
    }
    if (afterPlace_.Page != page) {
      Foot(painter, page);
      pdf_.newPage();
      page = afterPlace_.Page;
    }
    DrawRich(painter, after_, afterPlace_.Top);
    Foot(painter, page);
  }

 private:
  void Rich(QTextDocument& doc, const QString& html) {
    doc.documentLayout()->setPaintDevice(&pdf_);
    doc.setDefaultFont(font_);
    doc.setDocumentMargin(0);
    doc.setTextWidth(page_.width());
    doc.setHtml(html);
  }

  double ColumnWidth(std::size_t c) const { return page_.width() * d_.Columns[c].Percent / 100.0; }

  // Numbers never break, but a column's caption may.
  double RowHeight(const QStringList& cells, const QFont& font, bool header = false) const {
    const QFontMetricsF m(font, &pdf_);
    double height = m.height();
    for (std::size_t c = 0; c < d_.Columns.size(); ++c) {
      const double width = ColumnWidth(c) - 2 * pad_;
      const QString text = cells.value(qsizetype(c));
      if ((d_.Columns[c].Number && !header) || m.horizontalAdvance(text) <= width) continue;
      height = std::max(height,
                        m.boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWordWrap, text).height());
    }
    return height + 2 * pad_;
  }

  void Layout() {
    QStringList headers;
    for (const TPrintColumn& column : d_.Columns) headers << column.Caption;
    headerHeight_ = RowHeight(headers, bold_, true);
    titleHeight_ = d_.TableTitle.isEmpty() ? 0 : QFontMetricsF(title_, &pdf_).height() * 1.5;
    int page = 0;
    double y = before_.size().height() + (d_.TableTitle.isEmpty() ? 0 : titleHeight_ + pad_) +
               headerHeight_;
    heights_.reserve(d_.Rows.size());
    pageOf_.reserve(d_.Rows.size());
    for (std::size_t r = 0; r < d_.Rows.size(); ++r) {
      const bool bold = d_.LastRowBold && r + 1 == d_.Rows.size();
      const double h = RowHeight(d_.Rows[r], bold ? bold_ : font_);
      if (y + h > bottom_ && y > headerHeight_) {
        ++page;
        y = headerHeight_;
      }
      heights_.push_back(h);
      pageOf_.push_back(page);
      y += h;
    }
    y += pad_ * 4;
    if (y + after_.size().height() > bottom_ && y > headerHeight_) {
      ++page;
      y = 0;
    }
    afterPlace_ = {page, y};
    pages_ = page + 1;
  }

  double DrawHeader(QPainter& painter, double y) {
    QStringList headers;
    for (const TPrintColumn& column : d_.Columns) headers << column.Caption;
    DrawRow(painter, headers, y, headerHeight_, bold_, true);
    return y + headerHeight_;
  }

  void DrawRow(QPainter& painter, const QStringList& cells, double y, double height,
               const QFont& font, bool header) {
    painter.setFont(font);
    painter.setPen(QPen(Qt::gray, 0));
    double x = 0;
    for (std::size_t c = 0; c < d_.Columns.size(); ++c) {
      const double w = ColumnWidth(c);
      const QRectF cell(x, y, w, height);
      if (header) painter.fillRect(cell, QColor(235, 235, 235));
      painter.drawRect(cell);
      painter.setPen(Qt::black);
      const int align = header                 ? Qt::AlignHCenter | Qt::AlignVCenter
                        : d_.Columns[c].Number ? Qt::AlignRight | Qt::AlignTop
                                               : Qt::AlignLeft | Qt::AlignTop;
      painter.drawText(cell.adjusted(pad_, pad_, -pad_, -pad_),
                       align | (d_.Columns[c].Number && !header ? 0 : Qt::TextWordWrap),
                       cells.value(qsizetype(c)));
      painter.setPen(QPen(Qt::gray, 0));
      x += w;
    }
    painter.setPen(Qt::black);
  }

  void DrawRich(QPainter& painter, QTextDocument& doc, double y) {
    painter.save();
    painter.translate(0, y);
    doc.drawContents(&painter);
    painter.restore();
  }

  void Foot(QPainter& painter, int page) {
    painter.setFont(font_);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, bottom_, page_.width(), foot_), Qt::AlignRight | Qt::AlignBottom,
                     QString::number(page + 1) + u'/' + QString::number(pages_));
  }

  QPdfWriter& pdf_;
  const TPrintDocument& d_;
  QFont font_, bold_, title_;
  QRect page_;
  double pad_ = 0, foot_ = 0, bottom_ = 0, headerHeight_ = 0, titleHeight_ = 0;
  QTextDocument before_, after_;
  std::vector<double> heights_;
  std::vector<int> pageOf_;  // the page of each row
  TPlaced afterPlace_;
  int pages_ = 1;
};

}  // namespace

QByteArray PrintedPdf(const TPrintDocument& document) {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return {};
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    pdf.setResolution(300);
    pdf.setTitle(document.Title);
    pdf.setCreator(QStringLiteral("Krinu"));
    TPrinter(pdf, document).Print();
  }
  return bytes;
}

TStatus WritePrintedPdf(const QString& file, const TPrintDocument& document) {
  const QByteArray bytes = PrintedPdf(document);
  if (bytes.isEmpty())
    return Fail(TFailureKind::Access,
                QStringLiteral("Nem sikerült a(z) \"%1\" fájl írása: PDF itt nem készíthető")
                    .arg(QDir::toNativeSeparators(file)));
  if (const std::optional<QString> reason = WriteFileAtomically(file, bytes))
    return Fail(TFailureKind::Access, QStringLiteral("Nem sikerült a(z) \"%1\" fájl írása: %2")
                                          .arg(QDir::toNativeSeparators(file), *reason));
  return {};
}

}  // namespace krinu
