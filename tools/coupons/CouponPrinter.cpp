#include "CouponPrinter.h"

#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPolygonF>
#include <QtMath>
#include <algorithm>

#include "BingoHelpers.h"
#include "CouponRules.h"

namespace zorvi {

using namespace coupon_rules;

namespace {

constexpr int kDpi = 300;
constexpr double kPageWidth = 210.0; // A4, millimetres
constexpr double kMargin = 12.0;

// Card geometry, millimetres.
constexpr double kCardCell = 13.0;
constexpr double kCardTitle = 8.0;
constexpr double kCardHeader = 9.0;
constexpr double kCardHeight = kCardTitle + kCardHeader + 5 * kCardCell;
constexpr double kCardGapX = 20.0;
constexpr double kCardLeft = (kPageWidth - 2 * 5 * kCardCell - kCardGapX) / 2;
constexpr double kCardGapY = 7.0;
constexpr std::uint64_t kCardsPerPage = 6;

// Ticket geometry, millimetres.
constexpr double kTicketCellW = 20.0;
constexpr double kTicketCellH = 10.5;
constexpr double kTicketTitle = 6.5;
constexpr double kTicketGap = 5.0;
constexpr double kPageTitle = 10.0;

class Page {
public:
    explicit Page(QPainter& painter) : painter_(painter) {}

    static double Px(double mm) { return mm * kDpi / 25.4; }
    QRectF Rect(double x, double y, double w, double h) const {
        return QRectF(Px(x), Px(y), Px(w), Px(h));
    }
    void Font(double points, bool bold) {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setStyleHint(QFont::SansSerif);
        font.setPointSizeF(points);
        font.setBold(bold);
        painter_.setFont(font);
    }
    void Text(const QRectF& rect, int flags, const QString& text) {
        painter_.drawText(rect, flags, text);
    }
    QPainter& painter() { return painter_; }

private:
    QPainter& painter_;
};

QString CouponLabel(std::uint64_t k) {
    return QStringLiteral("No. %1").arg(k);
}

void DrawStar(Page& page, const QRectF& cell) {
    const QPointF centre = cell.center();
    const double outer = cell.width() * 0.32;
    const double inner = outer * 0.42;
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double angle = -M_PI / 2 + i * M_PI / 5;
        const double radius = i % 2 == 0 ? outer : inner;
        star << QPointF(centre.x() + radius * std::cos(angle),
                        centre.y() + radius * std::sin(angle));
    }
    page.painter().setBrush(QColor(60, 60, 60));
    page.painter().drawPolygon(star);
}

void DrawCard(Page& page, const std::uint8_t* card, std::uint64_t k, const QString& series,
              double x, double y) {
    QPainter& p = page.painter();
    const double width = 5 * kCardCell;
    p.setPen(Qt::black);
    page.Font(10, true);
    page.Text(page.Rect(x, y, width, kCardTitle), Qt::AlignLeft | Qt::AlignVCenter, series);
    page.Text(page.Rect(x, y, width, kCardTitle), Qt::AlignRight | Qt::AlignVCenter,
              CouponLabel(k));

    const double headerY = y + kCardTitle;
    page.Font(16, true);
    for (int c = 0; c < 5; ++c) {
        const QRectF cell = page.Rect(x + c * kCardCell, headerY, kCardCell, kCardHeader);
        p.fillRect(cell, QColor(30, 30, 30));
        p.setPen(Qt::white);
        page.Text(cell, Qt::AlignCenter, QString(QChar("BINGO"[c])));
    }

    p.setPen(QPen(Qt::black, Page::Px(0.3)));
    page.Font(18, true);
    const double gridY = headerY + kCardHeader;
    for (std::uint32_t pos = 0; pos < kCardSize; ++pos) {
        const double cx = x + static_cast<double>(pos % 5) * kCardCell;
        const double cy = gridY + static_cast<double>(pos / 5) * kCardCell;
        const QRectF cell = page.Rect(cx, cy, kCardCell, kCardCell);
        p.setBrush(Qt::NoBrush);
        if (pos == kMiddle && card[pos] == 0) {
            p.fillRect(cell, QColor(215, 215, 215));
            p.drawRect(cell);
            DrawStar(page, cell);
            continue;
        }
        p.drawRect(cell);
        page.Text(cell, Qt::AlignCenter, QString::number(card[pos]));
    }
}

void DrawTicket(Page& page, const std::uint8_t* ticket, std::uint64_t k, const QString& series,
                double x, double y) {
    QPainter& p = page.painter();
    const double width = kTicketColumns * kTicketCellW;
    p.setPen(Qt::black);
    page.Font(9, true);
    page.Text(page.Rect(x, y, width, kTicketTitle), Qt::AlignLeft | Qt::AlignVCenter, series);
    page.Text(page.Rect(x, y, width, kTicketTitle), Qt::AlignRight | Qt::AlignVCenter,
              CouponLabel(k));

    // The same layout as the coupon panel of the program, so a player and the operator see
    // the same ticket.
    const std::vector<int> cells =
        BingoHelpers::LayoutNinetyTicket(std::vector<int>(ticket, ticket + kTicketSize));
    p.setPen(QPen(Qt::black, Page::Px(0.3)));
    page.Font(17, true);
    const double gridY = y + kTicketTitle;
    for (std::uint32_t r = 0; r < kTicketRows; ++r) {
        for (std::uint32_t c = 0; c < kTicketColumns; ++c) {
            const QRectF cell = page.Rect(x + c * kTicketCellW, gridY + r * kTicketCellH,
                                          kTicketCellW, kTicketCellH);
            const int value = cells[r * kTicketColumns + c];
            if (value == 0)
                p.fillRect(cell, QColor(225, 225, 225));
            p.setBrush(Qt::NoBrush);
            p.drawRect(cell);
            if (value != 0)
                page.Text(cell, Qt::AlignCenter, QString::number(value));
        }
    }
}

// The place of a strip's ticket that this sheet leaves out: a dashed frame that names it, so
// an empty place is never taken for a printing fault.
void DrawMissingTicket(Page& page, std::uint64_t k, bool inSeries, double x, double y) {
    QPainter& p = page.painter();
    const QRectF frame =
        page.Rect(x, y + kTicketTitle, kTicketColumns * kTicketCellW, kTicketRows * kTicketCellH);
    p.setPen(QPen(QColor(150, 150, 150), Page::Px(0.3), Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame);
    p.setPen(QColor(110, 110, 110));
    page.Font(11, false);
    page.Text(frame, Qt::AlignCenter,
              (inSeries ? QStringLiteral("No. %1 is not on this sheet")
                        : QStringLiteral("No. %1 is not in the series"))
                  .arg(k));
}

void DrawPageTitle(Page& page, const QString& text) {
    page.painter().setPen(Qt::black);
    page.Font(11, false);
    page.Text(page.Rect(kMargin, kMargin - 4, kPageWidth - 2 * kMargin, kPageTitle),
              Qt::AlignLeft | Qt::AlignTop, text);
}

} // namespace

bool CouponPrinter::Print(const std::vector<std::uint8_t>& bytes, const PrintOptions& options,
                          std::string* error) {
    auto fail = [&](const std::string& text) {
        if (error != nullptr)
            *error = text;
        return false;
    };
    if (!GameRules::IsNumberCount(options.numbers))
        return fail("the number count must be 75 or 90");
    const std::uint32_t size = CouponSize(options.numbers);
    const std::uint64_t count = bytes.size() / size;
    if (count == 0)
        return fail("the file holds no complete coupon");
    const std::uint64_t to = options.to == 0 ? count : options.to;
    if (options.from < 1 || options.from > to || to > count)
        return fail("the range must lie within coupons 1-" + std::to_string(count));

    QPdfWriter writer(QString::fromStdString(options.outPath));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(kDpi);
    writer.setCreator(QStringLiteral("zorvi-coupons"));
    writer.setTitle(QString::fromStdString(options.series));
    QPainter painter;
    if (!painter.begin(&writer))
        return fail(options.outPath + ": cannot be written");
    painter.setRenderHint(QPainter::Antialiasing);
    Page page(painter);
    const QString series = QString::fromStdString(options.series);

    bool firstPage = true;
    auto newPage = [&](const QString& title) {
        if (!firstPage)
            writer.newPage();
        firstPage = false;
        DrawPageTitle(page, title);
    };

    if (options.numbers == GameRules::kNumbers75) {
        for (std::uint64_t k = options.from; k <= to; ++k) {
            const std::uint64_t slot = (k - options.from) % kCardsPerPage;
            if (slot == 0) {
                const std::uint64_t last = std::min(to, k + kCardsPerPage - 1);
                newPage(series + QStringLiteral(" — %1-%2").arg(k).arg(last));
            }
            const double x =
                kCardLeft + static_cast<double>(slot % 2) * (5 * kCardCell + kCardGapX);
            const double y =
                kMargin + kPageTitle + static_cast<double>(slot / 2) * (kCardHeight + kCardGapY);
            DrawCard(page, bytes.data() + (k - 1) * size, k, series, x, y);
        }
    } else {
        // Each strip keeps its own page, its tickets in their strip places. A range that starts
        // or ends inside a strip prints only the coupons asked for (the others may be sold
        // already: a second copy would put one coupon number in two hands); the heading says
        // which coupons the sheet holds and each left-out place is marked.
        const double x = (kPageWidth - kTicketColumns * kTicketCellW) / 2;
        auto slotY = [](std::uint64_t k) {
            return kMargin + kPageTitle +
                   static_cast<double>((k - 1) % kStripTickets) *
                       (kTicketTitle + kTicketRows * kTicketCellH + kTicketGap);
        };
        for (std::uint64_t strip = (options.from - 1) / kStripTickets;
             strip <= (to - 1) / kStripTickets; ++strip) {
            const std::uint64_t first = strip * kStripTickets + 1;
            const std::uint64_t last = first + kStripTickets - 1;
            const std::uint64_t printedFirst = std::max(first, options.from);
            const std::uint64_t printedLast = std::min(last, to);
            QString title =
                series + QStringLiteral(" — strip %1 (%2-%3)").arg(strip + 1).arg(first).arg(last);
            if (printedFirst != first || printedLast != last) {
                title += printedFirst == printedLast
                             ? QStringLiteral(": only coupon %1 on this sheet").arg(printedFirst)
                             : QStringLiteral(": only coupons %1-%2 on this sheet")
                                   .arg(printedFirst)
                                   .arg(printedLast);
            }
            newPage(title);
            for (std::uint64_t k = first; k <= last; ++k) {
                if (k < printedFirst || k > printedLast)
                    DrawMissingTicket(page, k, k <= count, x, slotY(k));
                else
                    DrawTicket(page, bytes.data() + (k - 1) * size, k, series, x, slotY(k));
            }
        }
    }
    if (!painter.end())
        return fail(options.outPath + ": writing failed");
    return true;
}

} // namespace zorvi
