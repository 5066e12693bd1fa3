// The paginator. Vertical layout of a page (mm, from the paper's top):
//
//   MarginTop            page header band (small font, right-aligned: HeaderText)
//   + band               title (first page only, when the report has one)
//   BodyTop              column headings, a rule under them, then the rows
//   BodyBottom           (a row starting here would not fit)
//   paper - MarginBottom - band   footer band (small font, centred: FooterText)
#include "TPaginator.h"

#include <QDateTime>
#include <QLocale>
#include <cmath>

#include "EReportError.h"
#include "TReportFonts.h"

namespace {
const double kMmPerPoint = 25.4 / 72.0;
// Line spacing as a share of the font size, and the cell padding: what reads comfortably on paper.
const double kLeading = 1.5;
const double kPad = 1.0;
// Pages fill exactly to the last row that fits; rounding must not push a fitting row over.
const double kEpsilon = 1e-6;

}  // namespace

QString ReportCellText(const QVariant& value, int decimals) {
    if (value.isNull())
        return {};
    const int type = value.typeId();
    static const QLocale russian(QLocale::Russian, QLocale::Russia);
    if (IsReportNumberType(type)) {
        if (decimals >= 0)
            return russian.toString(value.toDouble(), 'f', decimals);
        if (type == QMetaType::Double || type == QMetaType::Float)
            return russian.toString(value.toDouble(), 'g', 15);
        return russian.toString(value.toLongLong());
    }
    if (type == QMetaType::QDate)
        return value.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    if (type == QMetaType::QDateTime)
        return value.toDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
    // One line per cell: line breaks in the data would break the row apart.
    QString text = value.toString();
    if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
        text.contains(QLatin1Char('\t'))) {
        text.replace(QLatin1String("\r\n"), QLatin1String(" "));
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        text.replace(QLatin1Char('\r'), QLatin1Char(' '));
        text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    }
    return text;
}

QString ReportCellValue(const QVariant& value) {
    if (value.isNull())
        return {};
    const int type = value.typeId();
    if (type == QMetaType::Double || type == QMetaType::Float)
        return QString::number(value.toDouble(), 'g', 15);
    if (IsReportNumberType(type))
        return QString::number(value.toLongLong());
    if (type == QMetaType::QDate)
        return value.toDate().toString(Qt::ISODate);
    if (type == QMetaType::QDateTime)
        return value.toDateTime().toString(Qt::ISODate);
    return value.toString();
}

TPaginator::TPaginator(const TReportDefinition& report, QDate printDate)
    : m_report(report), m_date(printDate), m_fonts(std::make_shared<TReportFonts>(report.FontSize)) {}

double TPaginator::RowHeight() const {
    return m_report.FontSize * kLeading * kMmPerPoint;
}

namespace {
double BandHeight(double bodyPoints) {
    return bodyPoints * 0.85 * kLeading * kMmPerPoint;
}
double TitleHeight(double bodyPoints) {
    return bodyPoints * 1.6 * kLeading * kMmPerPoint;
}
}  // namespace

double TPaginator::BodyTop(bool firstPage) const {
    double y = m_report.MarginTop + BandHeight(m_report.FontSize);
    if (firstPage && !m_report.Title.isEmpty())
        y += TitleHeight(m_report.FontSize) + RowHeight() / 2;
    return y;
}

double TPaginator::BodyBottom() const {
    return m_result.PaperSize().height() - m_report.MarginBottom - BandHeight(m_report.FontSize) - kPad;
}

int TPaginator::RowsPerPage(bool firstPage) const {
    const double headings = m_report.Columns.isEmpty() ? 0 : RowHeight() + kPad;
    return int(std::floor((BodyBottom() - BodyTop(firstPage) - headings) / RowHeight() + kEpsilon));
}

TPreparedReport TPaginator::Run(TReportDataSource* source) {
    m_result = TPreparedReport();
    m_result.Name = m_report.Name;
    m_result.PageSize = m_report.PageSize;
    m_result.Landscape = m_report.Landscape;
    m_result.FontSize = m_report.FontSize;
    m_rows = 0;
    m_cancelled = false;
    m_haveColumns = false;
    if (source)
        source->Pass(m_report.Conditions, *this);
    if (source && !m_haveColumns)
        throw EReportError(
            QStringLiteral("The data connection \"%1\" gave no columns").arg(m_report.Connection));
    if (m_cancelled)
        return {};
    FinishPages();
    return std::move(m_result);
}

void TPaginator::Columns(const QVector<TReportColumn>& columns) {
    m_haveColumns = true;
    m_fieldIndex.clear();
    m_fieldType.clear();
    m_result.Headings.clear();
    for (const TReportColumnLayout& layout : m_report.Columns) {
        int found = -1;
        for (int i = 0; i < columns.size() && found < 0; ++i)
            if (columns.at(i).Name.compare(layout.Field, Qt::CaseInsensitive) == 0)
                found = i;
        if (found < 0)
            throw EReportError(
                QStringLiteral("The data connection \"%1\" has no column \"%2\" (report \"%3\")")
                    .arg(m_report.Connection, layout.Field, m_report.Name));
        m_fieldIndex.append(found);
        m_fieldType.append(columns.at(found).Type);
        m_result.Headings.append(layout.Heading.isEmpty() ? columns.at(found).DisplayLabel : layout.Heading);
    }
}

namespace {

TPreparedItem TextItem(TReportFonts& fonts, TPreparedFont font, TReportAlign align, const QRectF& rect,
                       const QString& text) {
    TPreparedItem item;
    item.ItemKind = TPreparedItem::TextItem;
    item.Font = font;
    item.Align = align;
    item.Rect = rect;
    const double room = rect.width() - 2 * kPad;
    double width = 0;
    item.Text = fonts.Elided(font, text, room, &width);
    double x = rect.left() + kPad;
    if (align == TReportAlign::Right)
        x = rect.right() - kPad - width;
    else if (align == TReportAlign::Center)
        x = rect.left() + (rect.width() - width) / 2;
    // The baseline sits so that the font's ascent is centred in the row with its descent.
    const double ascent = fonts.Ascent(font);
    const double lineHeight = ascent + fonts.Descent(font);
    item.Origin = QPointF(x, rect.top() + (rect.height() - lineHeight) / 2 + ascent);
    return item;
}

TPreparedItem LineItem(double x1, double y1, double x2, double y2) {
    TPreparedItem item;
    item.ItemKind = TPreparedItem::LineItem;
    item.Rect = QRectF(QPointF(x1, y1), QPointF(x2, y2));
    return item;
}

bool HasFields(const QString& text) {
    return text.contains(QLatin1Char('{'));
}

}  // namespace

void TPaginator::StartPage() {
    TReportFonts& fonts = *m_fonts;
    const bool first = m_result.Pages.isEmpty();
    m_result.Pages.append(TPreparedPage());
    TPreparedPage& page = m_result.Pages.last();
    const QSizeF paper = m_result.PaperSize();
    const double left = m_report.MarginLeft;
    const double right = paper.width() - m_report.MarginRight;
    const double band = BandHeight(m_report.FontSize);
    // Band texts keep their fields ({page}, {pages}, {date}) until FinishPages fills them, so
    // they are not shortened here.
    if (!m_report.HeaderText.isEmpty()) {
        TPreparedItem item;
        item.Font = TPreparedFont::Small;
        item.Align = TReportAlign::Right;
        item.Rect = QRectF(left, m_report.MarginTop, right - left, band);
        item.Text = m_report.HeaderText;
        page.Items.append(item);
    }
    if (first && !m_report.Title.isEmpty())
        page.Items.append(
            TextItem(fonts, TPreparedFont::Title, TReportAlign::Center,
                     QRectF(left, m_report.MarginTop + band, right - left, TitleHeight(m_report.FontSize)),
                     m_report.Title));
    if (!m_report.FooterText.isEmpty()) {
        TPreparedItem item;
        item.Font = TPreparedFont::Small;
        item.Align = TReportAlign::Center;
        item.Rect = QRectF(left, paper.height() - m_report.MarginBottom - band, right - left, band);
        item.Text = m_report.FooterText;
        page.Items.append(item);
    }
    m_y = BodyTop(first);
    if (!m_report.Columns.isEmpty()) {
        double x = left;
        for (int c = 0; c < m_report.Columns.size(); ++c) {
            const TReportColumnLayout& col = m_report.Columns.at(c);
            const QString heading = c < m_result.Headings.size() ? m_result.Headings.at(c) : col.Field;
            page.Items.append(TextItem(fonts, TPreparedFont::Heading, col.Align,
                                       QRectF(x, m_y, col.Width, RowHeight()), heading));
            x += col.Width;
        }
        m_y += RowHeight();
        page.Items.append(LineItem(left, m_y, x, m_y));
        m_y += kPad;
    }
}

bool TPaginator::Row(const QVector<QVariant>& values) {
    if (m_result.Pages.isEmpty() || m_y + RowHeight() > BodyBottom() + kEpsilon)
        StartPage();
    TReportFonts& fonts = *m_fonts;
    TPreparedPage& page = m_result.Pages.last();
    QStringList plain;
    plain.reserve(m_fieldIndex.size());
    double x = m_report.MarginLeft;
    for (int c = 0; c < m_fieldIndex.size(); ++c) {
        const TReportColumnLayout& col = m_report.Columns.at(c);
        const QVariant& value = values.at(m_fieldIndex.at(c));
        page.Items.append(TextItem(fonts, TPreparedFont::Body, col.Align,
                                   QRectF(x, m_y, col.Width, RowHeight()),
                                   ReportCellText(value, col.Decimals)));
        plain.append(ReportCellValue(value));
        x += col.Width;
    }
    page.Rows.append(plain);
    m_y += RowHeight();
    ++m_rows;
    if (m_progress && m_rows % m_progressStep == 0 && !m_progress(m_rows, m_result.Pages.size())) {
        m_cancelled = true;
        return false;
    }
    return true;
}

void TPaginator::FinishPages() {
    if (m_result.Pages.isEmpty())
        StartPage();
    TReportFonts& fonts = *m_fonts;
    const QString pages = QString::number(m_result.Pages.size());
    const QString date = m_date.toString(QStringLiteral("dd.MM.yyyy"));
    // Only band items are still unplaced (no origin yet); data text is never filled in, so a ware
    // named "{page}" prints as it is.
    for (int p = 0; p < m_result.Pages.size(); ++p) {
        for (TPreparedItem& item : m_result.Pages[p].Items) {
            if (item.ItemKind != TPreparedItem::TextItem || item.Origin != QPointF())
                continue;
            QString text = item.Text;
            if (HasFields(text)) {
                text.replace(QLatin1String("{page}"), QString::number(p + 1));
                text.replace(QLatin1String("{pages}"), pages);
                text.replace(QLatin1String("{date}"), date);
            }
            item = TextItem(fonts, item.Font, item.Align, item.Rect, text);
        }
    }
    if (m_progress)
        m_progress(m_rows, m_result.Pages.size());
}
