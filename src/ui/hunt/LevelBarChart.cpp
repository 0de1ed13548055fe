#include "ui/hunt/LevelBarChart.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>
#include <string>

#include "core/base/Strings.h"

namespace brix {
namespace {

// Room around the plot, in line heights of the widget's font.
constexpr double MarginLines = 0.5;
// The part of its slot a bar fills; the rest keeps neighbours apart.
constexpr double BarShare = 0.6;
constexpr int MinBarHeight = 2;

QString Text(int id) {
    return QString::fromStdString(LoadString(id));
}

}  // namespace

LevelBarChart::LevelBarChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("levelBarChart"));
    setAccessibleName(Text(StringId::LevelChartName));
    // Reachable from the keyboard, so a screen reader comes to it and reads the values.
    setFocusPolicy(Qt::TabFocus);
    SetData({}, {});
}

void LevelBarChart::SetData(const std::vector<int>& levels, const std::vector<long long>& counts) {
    levels_ = levels;
    counts_ = counts;
    counts_.resize(levels_.size(), 0);
    std::string description;
    for (std::size_t i = 0; i < levels_.size(); ++i) {
        if (!description.empty()) description += ", ";
        description += FormatText(LoadString(StringId::LevelChartValue),
                                  {levels_[i], std::to_string(counts_[i])});
    }
    setAccessibleDescription(description.empty() ? Text(StringId::LevelChartEmpty)
                                                 : QString::fromStdString(description));
    updateGeometry();
    update();
}

QSize LevelBarChart::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    const int slot = metrics.horizontalAdvance(QStringLiteral("00000"));
    const int bars = std::max<int>(static_cast<int>(levels_.size()), 4);
    return {bars * slot + 2 * metrics.height(), 10 * metrics.height()};
}

QSize LevelBarChart::minimumSizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    return {metrics.horizontalAdvance(QStringLiteral("000")) * 4, 6 * metrics.height()};
}

void LevelBarChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QFontMetrics metrics = fontMetrics();
    const QColor ink = palette().color(QPalette::WindowText);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
    painter.setPen(ink);
    if (levels_.empty()) {
        painter.drawText(rect(), Qt::AlignCenter, Text(StringId::LevelChartEmpty));
        return;
    }

    const int line = metrics.height();
    const int margin = static_cast<int>(line * MarginLines) + 1;
    // Count labels above the plot, level numbers below the axis.
    const QRect plot(margin, margin + line, width() - 2 * margin, height() - 2 * margin - 2 * line);
    if (plot.width() <= 0 || plot.height() <= 0) return;
    const long long most =
        std::max<long long>(1, *std::max_element(counts_.begin(), counts_.end()));
    const double slot = static_cast<double>(plot.width()) / static_cast<double>(levels_.size());
    const int barWidth = std::max(1, static_cast<int>(slot * BarShare));
    const QColor bar = palette().color(QPalette::Highlight);

    for (std::size_t i = 0; i < levels_.size(); ++i) {
        const int centre = plot.left() + static_cast<int>(slot * (static_cast<double>(i) + 0.5));
        int height = static_cast<int>(static_cast<double>(plot.height()) *
                                      static_cast<double>(counts_[i]) / static_cast<double>(most));
        // One map beside hundreds still shows a bar, so it never reads as none.
        if (counts_[i] > 0) height = std::max(height, MinBarHeight);
        const QRect barRect(centre - barWidth / 2, plot.bottom() + 1 - height, barWidth, height);
        if (height > 0) painter.fillRect(barRect, bar);
        const int slotLeft = centre - static_cast<int>(slot / 2);
        const QRect countRect(slotLeft, barRect.top() - line, static_cast<int>(slot), line);
        painter.drawText(countRect, Qt::AlignHCenter | Qt::AlignBottom,
                         QString::number(counts_[i]));
        const QRect levelRect(slotLeft, plot.bottom() + 2, static_cast<int>(slot), line);
        painter.drawText(levelRect, Qt::AlignHCenter | Qt::AlignTop, QString::number(levels_[i]));
    }
    painter.drawLine(plot.left(), plot.bottom() + 1, plot.right(), plot.bottom() + 1);
}

}  // namespace brix
