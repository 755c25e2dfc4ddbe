#include "gui/scr_image.h"

#include "foundation/checked_number.h"
#include "gui/qt_text.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kib::gui {

namespace {

QPen DefaultPen() {
    QPen pen(Qt::black);
    pen.setWidth(1);
    return pen;
}

// A device coordinate or size from millimetres times the screen scale, within
// what a painter takes; a value that is no number gives 0.
int Pixels(double v) {
    constexpr double kLimit = 1 << 24;
    return TruncateToIntOr(std::clamp(v, -kLimit, kLimit), 0);
}

} // namespace

CScrImage::CScrImage(const CKibCfg& cfg, QPainter& painter) : CKibage(cfg), painter_(painter) {
    painter_.setPen(DefaultPen());
    painter_.setBrush(Qt::white);
}

int CScrImage::Dev(double v) const {
    return Pixels(v * scale_ + (halfShift ? 1.0 : 0.5));
}

void CScrImage::BeginGroup(const char*, int lineWidth, int colour, bool dashed) {
    int width = Pixels(lineWidth * scale_ / 10 + 0.5);
    if (width == 0) {
        width = 1;
    }
    QPen pen(ToQColor(colour));
    pen.setWidth(width);
    pen.setStyle(dashed ? Qt::DashLine : Qt::SolidLine);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    if (penCount_ == kPenStackSize) {
        ++overflow_;
        return;
    }
    pens_[penCount_++] = pen;
    painter_.setPen(pen);
}

void CScrImage::EndGroup() {
    if (overflow_ > 0) {
        --overflow_;
        return;
    }
    if (penCount_ == 0) {
        return;
    }
    --penCount_;
    painter_.setPen(penCount_ > 0 ? pens_[penCount_ - 1] : DefaultPen());
}

void CScrImage::MoveToDev(int x, int y) {
    current_ = QPoint(x, y);
}

void CScrImage::LineToDev(int x, int y) {
    const QPoint to(x, y);
    painter_.drawLine(current_, to);
    current_ = to;
}

void CScrImage::MoveTo(double x, double y) {
    MoveToDev(Dev(x), Dev(y));
}
void CScrImage::MoveTo(float x, float y) {
    MoveToDev(Dev(x), Dev(y));
}
void CScrImage::MoveTo(int x, int y) {
    MoveToDev(Dev(x), Dev(y));
}
void CScrImage::LineTo(double x, double y) {
    LineToDev(Dev(x), Dev(y));
}
void CScrImage::LineTo(float x, float y) {
    LineToDev(Dev(x), Dev(y));
}
void CScrImage::LineTo(int x, int y) {
    LineToDev(Dev(x), Dev(y));
}

void CScrImage::CircleSubpath(float cx, float cy, float r) {
    const QPoint topLeft(Dev(cx - r), Dev(cy - r));
    const QPoint bottomRight(Dev(cx + r), Dev(cy + r));
    painter_.drawEllipse(QRect(topLeft, bottomRight));
}

void CScrImage::RectSubpath(float x, float y, float width, float height) {
    const QPoint topLeft(Dev(x), Dev(y));
    const QPoint bottomRight(Dev(x + width), Dev(y + height));
    painter_.drawRect(QRect(topLeft, bottomRight));
}

void CScrImage::FillDevice(const std::vector<QPolygon>& polygons, int colour) {
    painter_.save();
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(ToQColor(colour));
    for (const QPolygon& polygon : polygons) {
        painter_.drawPolygon(polygon);
    }
    painter_.restore();
}

void CScrImage::FillPolygons(const PolygonTable& table, int colour) {
    std::vector<QPolygon> polygons;
    for (const Polygon& polygon : table) {
        QPolygon device;
        for (const IntPoint& p : polygon) {
            device << QPoint(Dev(p.x), Dev(p.y));
        }
        polygons.push_back(device);
    }
    FillDevice(polygons, colour);
}

void CScrImage::NorthArrow(int x, int y, int angle) {
    const double theta = angle * M_PI / 180.0;
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    std::vector<QPolygon> polygons;
    for (const Polygon& polygon : NorthArrowShape()) {
        QPolygon device;
        for (const IntPoint& p : polygon) {
            const double mx = (p.x * c - p.y * s) * arrowSize / 100.0 + x;
            const double my = (p.x * s + p.y * c) * arrowSize / 100.0 + y;
            device << QPoint(Dev(mx), Dev(my));
        }
        polygons.push_back(device);
    }
    FillDevice(polygons, arrowColour);
}

QSize CScrImage::PrepareText(const TextCellF& cell, const QString& text) {
    const double h = cell.y2 - cell.y1;
    const double f = cell.fontSize == -1 ? 3 * h : cell.fontSize == 0 ? 6 * h : cell.fontSize;
    const int tenthsOfPoint = Pixels(f * 0.7 * scale_ + 0.5);
    QFont font(ToQt(cell.fontFamily));
    font.setPointSizeF(std::max(tenthsOfPoint, 1) / 10.0);
    painter_.setFont(font);
    const QFontMetrics metrics(font, painter_.device());
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

void CScrImage::PaintCell(const TextCellF& cell,
                          const std::function<QPoint(QSize, double)>& place) {
    BeginGroup(nullptr, cell.frameWidth, cell.colour, false);
    if (cell.frameWidth != 0) {
        RectSubpath(cell.x1, cell.y1, cell.x2 - cell.x1, cell.y2 - cell.y1);
    }
    if (!cell.text.empty()) {
        const QString text = ToQt(cell.text);
        const QSize extent = PrepareText(cell, text);
        const QPoint corner = place(extent, halfShift ? 1.0 : 0.5);
        painter_.save();
        painter_.setPen(ToQColor(cell.colour));
        painter_.drawText(QRect(corner.x(), corner.y(), extent.width() + 1, extent.height()),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
        painter_.restore();
    }
    EndGroup();
}

void CScrImage::TextLine(const TextCellF& cell) {
    PaintCell(cell, [this, &cell](QSize extent, double s) {
        const int top = Pixels(scale_ * (cell.y1 + cell.y2) / 2 + s) -
                        (cell.fontSize == -1 ? extent.height() / 5 : extent.height() / 2);
        int left = Pixels(scale_ * cell.x1 + s);
        if (cell.align == 0) {
            left = Pixels(scale_ * (cell.x1 + cell.x2) / 2 + s) - extent.width() / 2;
        } else if (cell.align == 1) {
            left = Pixels(scale_ * cell.x2 + s) - extent.width();
        }
        return QPoint(left, top);
    });
}

void CScrImage::TextBox(const TextCellF& cell) {
    PaintCell(cell, [this, &cell](QSize extent, double s) {
        const int a = cell.align + 15;
        const int v = a / 10 - 1;
        const int z = a % 10 - 5;
        // Reference point and which side of the text lies on it.
        int y = 0;
        int top = 0;
        if (v == -1) {
            y = Pixels(scale_ * cell.y1 + s);
            top = y;
        } else if (v == 1) {
            y = Pixels(scale_ * cell.y2 + s);
            top = y - extent.height();
        } else {
            y = Pixels(scale_ * ((extent.height() / scale_ + cell.y1 + cell.y2) / 2) + s);
            top = y - extent.height();
        }
        int left = 0;
        if (z == -1) {
            left = Pixels(scale_ * cell.x1 + s);
        } else if (z == 1) {
            left = Pixels(scale_ * cell.x2 + s) - extent.width();
        } else {
            left = Pixels(scale_ * (cell.x1 + cell.x2) / 2 + s) - extent.width() / 2;
        }
        return QPoint(left, top);
    });
}

void CScrImage::BeginOutline() {
    painter_.save();
    QPen pen(Qt::black);
    pen.setWidth(1);
    pen.setStyle(Qt::DotLine);
    painter_.setPen(pen);
}

void CScrImage::EndOutline() {
    painter_.restore();
}

} // namespace kib::gui
