#pragma once

#include <QAbstractScrollArea>
#include <QCursor>
#include <QPoint>
#include <QSize>

class QScrollBar;

namespace brix {

// What the world and the region view share: a scroll area over a canvas whose pixels map one
// to one onto the viewport. Each scroll bar's thumb shows the visible share of the canvas; the
// arrows move a hundredth and a page click a tenth of the canvas extent, at least one pixel.
class MapScrollArea : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit MapScrollArea(QWidget* parent = nullptr);

    // Canvas pixel shown at the viewport's top-left corner.
    QPoint ScrollOffset() const;

protected:
    // The canvas size in pixels.
    virtual QSize CanvasExtent() const = 0;
    // The pointer has left the viewport.
    virtual void PointerLeft() = 0;

    // Takes the ranges and steps again from CanvasExtent() and the viewport's size; resizes do
    // it by themselves, a view calls it once constructed and whenever its extent changed.
    void UpdateScrollBars();

    // The magnifying glass shown over what a click would select; a pointing hand when the
    // picture is missing.
    const QCursor& SelectCursor() const { return selectCursor_; }

    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;

private:
    void PageClicked(QScrollBar* bar, int action, int extent);

    QCursor selectCursor_;
};

}  // namespace brix
