#pragma once

#include <QWidget>

#include <vector>

namespace brix {

// A bar chart of one character's maps per level: a bar per level, the level numbers under the
// axis and the counts on the bars, sized from the widget's font so it reads at any scale. A
// screen reader names it and reads every value from its description.
class LevelBarChart : public QWidget {
    Q_OBJECT
public:
    explicit LevelBarChart(QWidget* parent = nullptr);

    // The levels in axis order and the maps held of each; the lists pair up (extra counts are
    // dropped, missing ones count 0).
    void SetData(const std::vector<int>& levels, const std::vector<long long>& counts);
    const std::vector<int>& Levels() const { return levels_; }
    const std::vector<long long>& Counts() const { return counts_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<int> levels_;
    std::vector<long long> counts_;
};

}  // namespace brix
