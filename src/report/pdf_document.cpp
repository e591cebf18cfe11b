#include "report/pdf_document.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include "common/atomic_write.h"

namespace krinu {

QByteArray HtmlAsPdf(const QString& html, const QString& title) {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return {};
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    pdf.setResolution(300);
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("Krinu"));
    QPainter painter(&pdf);
    const QRect page = painter.viewport();
    // Laid out at the writer's own resolution, so that the text is measured as it is drawn.
    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&pdf);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(7.5);
    doc.setDefaultFont(font);
    doc.setDocumentMargin(0);
    doc.setHtml(html);
    const double foot = QFontMetricsF(font, &pdf).height() * 2.5;
    const QSizeF body(page.width(), page.height() - foot);
    doc.setPageSize(body);
    const int pages = doc.pageCount();
    for (int p = 0; p < pages; ++p) {
      if (p > 0) pdf.newPage();
      painter.save();
      painter.translate(0, -body.height() * p);
      doc.drawContents(&painter, QRectF(0, body.height() * p, body.width(), body.height()));
      painter.restore();
      painter.setFont(doc.defaultFont());
      painter.drawText(QRectF(0, body.height(), body.width(), foot),
                       Qt::AlignRight | Qt::AlignBottom,
                       QString::number(p + 1) + u'/' + QString::number(pages));
    }
  }
  return bytes;
}

TStatus WriteHtmlAsPdf(const QString& file, const QString& html, const QString& title) {
  const QByteArray bytes = HtmlAsPdf(html, title);
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
