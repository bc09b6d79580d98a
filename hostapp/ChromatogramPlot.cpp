#include "ChromatogramPlot.h"

#include "assay/ChannelSignal.h"
#include "hostapp/PlotTicks.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kLeft = 64, kRight = 16, kTop = 12, kBottom = 34;

} // namespace

ChromatogramPlot::ChromatogramPlot(const AssayChannel& channel, QWidget* parent)
    : QWidget(parent), timeStep(ChannelTimeStep(channel)), peaks(channel.peaks) {
    const double scale = ChannelSignalScale(channel);
    {
        std::lock_guard lock(channel.sampleLock);
        signal.reserve(channel.samples.size());
        for (uint32_t word : channel.samples)
            signal.push_back(SampleSignal(word, scale));
    }
    if (!signal.empty()) {
        const auto [lo, hi] = std::minmax_element(signal.begin(), signal.end());
        minSignal = *lo;
        maxSignal = *hi;
    }
    const double span = maxSignal > minSignal ? maxSignal - minSignal : 1.0;
    minSignal -= 0.05 * span;
    maxSignal += 0.30 * span; // room for the names above the highest peak
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

double ChromatogramPlot::MaxTime() const {
    return signal.size() > 1 ? (signal.size() - 1) * timeStep : timeStep;
}

void ChromatogramPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics = painter.fontMetrics();
    // The signal axis's title takes a line above the plot.
    const int top = kTop + metrics.height();
    const QRectF area(kLeft, top, width() - kLeft - kRight, height() - top - kBottom);
    if (area.width() < 10 || area.height() < 10)
        return;
    if (signal.empty()) {
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("В канале нет отсчётов."));
        return;
    }
    const double maxTime = MaxTime();
    auto x = [&](double t) { return area.left() + t / maxTime * area.width(); };
    auto y = [&](double s) {
        return area.bottom() - (s - minSignal) / (maxSignal - minSignal) * area.height();
    };

    // Axes with round ticks.
    painter.setPen(palette().color(QPalette::Text));
    painter.drawRect(area);
    const double timeTick = TickStep(maxTime, int(area.width() / 90));
    for (double t = 0; t <= maxTime + timeTick * 1e-9; t += timeTick) {
        painter.drawLine(QPointF(x(t), area.bottom()), QPointF(x(t), area.bottom() + 4));
        const QString text = TickText(t);
        painter.drawText(
            QPointF(x(t) - metrics.horizontalAdvance(text) / 2.0, area.bottom() + 6 + metrics.ascent()),
            text);
    }
    const double signalTick = TickStep(maxSignal - minSignal, int(area.height() / 40));
    for (double s = std::ceil(minSignal / signalTick) * signalTick; s <= maxSignal; s += signalTick) {
        painter.drawLine(QPointF(area.left() - 4, y(s)), QPointF(area.left(), y(s)));
        const QString text = TickText(s);
        painter.drawText(
            QPointF(area.left() - 6 - metrics.horizontalAdvance(text), y(s) + metrics.ascent() / 2.0), text);
    }
    // The signal is in mV: ChannelSignal.h.
    painter.drawText(QPointF(4, kTop / 2.0 + metrics.ascent()), QStringLiteral("Сигнал, мВ"));
    const QString timeTitle = QStringLiteral("Время, с");
    painter.drawText(QPointF(area.right() - metrics.horizontalAdvance(timeTitle), height() - 4), timeTitle);

    // The signal: one vertical stroke per pixel column (its lowest to its highest sample) when the
    // samples outnumber the columns, else a plain polyline.
    painter.save();
    painter.setClipRect(area);
    painter.setPen(QPen(QColor(0x1f, 0x4e, 0x9c), 1.2));
    QPainterPath path;
    const size_t columns = size_t(area.width());
    if (signal.size() > 2 * columns) {
        for (size_t c = 0; c < columns; ++c) {
            const size_t from = c * signal.size() / columns, to = (c + 1) * signal.size() / columns;
            const auto [lo, hi] = std::minmax_element(signal.begin() + from, signal.begin() + to);
            const double px = area.left() + c + 0.5;
            if (c == 0)
                path.moveTo(px, y(*lo));
            path.lineTo(px, y(*lo));
            path.lineTo(px, y(*hi));
        }
    } else {
        path.moveTo(x(0), y(signal[0]));
        for (size_t i = 1; i < signal.size(); ++i)
            path.lineTo(x(i * timeStep), y(signal[i]));
    }
    painter.drawPath(path);

    // Peaks: a mark at the apex and the name written upwards from it.
    painter.setPen(QColor(0xb0, 0x20, 0x20));
    for (const AssayPeak& peak : peaks) {
        if (!std::isfinite(peak.time) || peak.time < 0 || peak.time > maxTime)
            continue;
        const size_t i = std::min(signal.size() - 1, size_t(std::lround(peak.time / timeStep)));
        const QPointF apex(x(peak.time), y(signal[i]));
        painter.drawLine(apex - QPointF(0, 4), apex - QPointF(0, 12));
        painter.drawLine(apex - QPointF(3, 7), apex - QPointF(0, 4));
        painter.drawLine(apex + QPointF(3, -7), apex - QPointF(0, 4));
        if (peak.name.empty())
            continue;
        painter.save();
        painter.translate(apex - QPointF(-metrics.ascent() / 2.0 + 1, 16));
        painter.rotate(-90);
        painter.drawText(QPointF(0, 0), QString::fromStdU16String(peak.name));
        painter.restore();
    }
    painter.restore();
}
