#include "ControlChartPlot.h"

#include "hostapp/PlotTicks.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kLeft = 84, kRight = 120, kTop = 16, kBottom = 40;
constexpr double kHitRadius = 7;

const QColor kPointColour(0x1f, 0x4e, 0x9c);
const QColor kWarningColour(0xe0, 0x90, 0x00);
const QColor kActionColour(0xd0, 0x00, 0x00);

// "2026-11-03" as "03.11".
QString ShortDate(const std::u16string& day) {
    const QString d = QString::fromStdU16String(day);
    return d.size() == 10 ? d.mid(8, 2) + u'.' + d.mid(5, 2) : d;
}

} // namespace

ControlChartPlot::ControlChartPlot(QWidget* parent) : QWidget(parent) {
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void ControlChartPlot::SetHistory(const CalibrationHistory* shown) {
    history = shown;
    chosen = -1;
    const ChartRange range = history ? ChartRangeOf(*history) : ChartRange();
    low = range.low;
    high = range.high;
    update();
}

void ControlChartPlot::SetChosen(int index) {
    chosen = index;
    update();
}

QRectF ControlChartPlot::PlotArea() const {
    return QRectF(kLeft, kTop, width() - kLeft - kRight, height() - kTop - kBottom);
}

double ControlChartPlot::Y(double value) const {
    const QRectF area = PlotArea();
    return area.bottom() - (value - low) / (high - low) * area.height();
}

QPointF ControlChartPlot::PointPosition(int index) const {
    const QRectF area = PlotArea();
    const int count = history ? int(history->calibrations.size()) : 0;
    const double x = count < 2 ? area.center().x()
                               : area.left() + area.width() * (0.03 + 0.94 * index / double(count - 1));
    return {x, history && index >= 0 && index < count ? Y(history->calibrations[index].factor) : 0.0};
}

int ControlChartPlot::PointAt(QPointF position) const {
    if (!history)
        return -1;
    int best = -1;
    double bestDistance = kHitRadius;
    for (int i = 0; i < int(history->calibrations.size()); ++i) {
        const QPointF d = PointPosition(i) - position;
        const double distance = std::hypot(d.x(), d.y());
        if (distance <= bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void ControlChartPlot::mousePressEvent(QMouseEvent* event) {
    const int index = PointAt(event->position());
    if (index >= 0)
        emit pointClicked(index);
}

void ControlChartPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = PlotArea();
    if (area.width() < 10 || area.height() < 10)
        return;
    const QColor text = palette().color(QPalette::Text);
    painter.setPen(text);
    if (!history || history->calibrations.empty()) {
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Нет градуировок для карты."));
        return;
    }
    const auto& points = history->calibrations;
    const QFontMetrics metrics = painter.fontMetrics();

    // The factor axis with round ticks, the dates under the points as many as fit.
    painter.drawRect(area);
    const double tick = TickStep(high - low, int(area.height() / 40));
    for (double v = std::ceil(low / tick) * tick; v <= high; v += tick) {
        painter.drawLine(QPointF(area.left() - 4, Y(v)), QPointF(area.left(), Y(v)));
        const QString label = TickText(v);
        painter.drawText(QPointF(area.left() - 6 - metrics.horizontalAdvance(label), Y(v) + metrics.ascent() / 2.0),
                         label);
    }
    const int dateWidth = metrics.horizontalAdvance(QStringLiteral("00.00")) + 8;
    const int step = std::max(1, int(std::ceil(points.size() * dateWidth / std::max(area.width(), 1.0))));
    for (int i = 0; i < int(points.size()); i += step) {
        const QString label = ShortDate(points[i].day);
        const double x = PointPosition(i).x();
        painter.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + 4));
        painter.drawText(QPointF(x - metrics.horizontalAdvance(label) / 2.0, area.bottom() + 6 + metrics.ascent()),
                         label);
    }
    const QString dateTitle = QStringLiteral("Дата градуировки");
    painter.drawText(QPointF(area.right() - metrics.horizontalAdvance(dateTitle), height() - 4), dateTitle);
    const QString factorTitle = QStringLiteral("Kcal");
    painter.drawText(QPointF(4, area.top() + metrics.ascent()), factorTitle);

    // The centre and the limits, each named at the right.
    if (const auto& l = history->limits) {
        struct Line {
            double value;
            QPen pen;
            QString name;
        };
        const QPen warning(kWarningColour, 1.2, Qt::DashLine), action(kActionColour, 1.4, Qt::DotLine);
        const Line lines[] = {{l->actionHigh, action, QStringLiteral("действие")},
                              {l->warningHigh, warning, QStringLiteral("предупреждение")},
                              {l->centre, QPen(kPointColour, 1.2), QStringLiteral("центр")},
                              {l->warningLow, warning, QStringLiteral("предупреждение")},
                              {l->actionLow, action, QStringLiteral("действие")}};
        for (const Line& line : lines) {
            painter.setPen(line.pen);
            painter.drawLine(QPointF(area.left(), Y(line.value)), QPointF(area.right(), Y(line.value)));
            painter.setPen(text);
            painter.drawText(QPointF(area.right() + 6, Y(line.value) + metrics.ascent() / 2.0 - 1), line.name);
        }
    } else {
        painter.drawText(area.adjusted(8, 4, -8, -4), Qt::AlignTop | Qt::AlignLeft,
                         QString::fromStdU16String(kNoControlLimitsText));
    }

    // The points joined in date order; a flagged one as a triangle or a square with its number.
    painter.save();
    painter.setClipRect(area.adjusted(-8, -8, 8, 8));
    QPainterPath path;
    for (int i = 0; i < int(points.size()); ++i)
        i == 0 ? path.moveTo(PointPosition(i)) : path.lineTo(PointPosition(i));
    painter.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
    painter.drawPath(path);
    for (int i = 0; i < int(points.size()); ++i) {
        const QPointF p = PointPosition(i);
        const ControlVerdict verdict = points[i].verdict;
        painter.setPen(QPen(verdict == ControlVerdict::Ok ? kPointColour : Qt::black, 0.8));
        if (verdict == ControlVerdict::Ok) {
            painter.setBrush(kPointColour);
            painter.drawEllipse(p, 3.5, 3.5);
        } else if (verdict == ControlVerdict::Warning) {
            painter.setBrush(kWarningColour);
            painter.drawPolygon(QPolygonF({p + QPointF(0, -6), p + QPointF(5.5, 4), p + QPointF(-5.5, 4)}));
        } else {
            painter.setBrush(kActionColour);
            painter.drawRect(QRectF(p - QPointF(4.5, 4.5), QSizeF(9, 9)));
        }
        if (verdict != ControlVerdict::Ok) {
            const QString number = QString::number(i + 1);
            painter.setPen(text);
            painter.drawText(p + QPointF(-metrics.horizontalAdvance(number) / 2.0, -9), number);
        }
        if (i == chosen) {
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(text, 1.5));
            painter.drawEllipse(p, 8, 8);
        }
    }
    painter.restore();
}
