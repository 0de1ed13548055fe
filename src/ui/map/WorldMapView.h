#pragma once

#include <QImage>
#include <QPoint>

#include <memory>

#include "core/data/Session.h"
#include "core/hunt/RouteOverlay.h"
#include "ui/map/MapScrollArea.h"

namespace brix {

struct HuntPlan;
class MapViewHost;
class Session;

// The world bitmap with every region tinted; the region under the pointer is tinted more
// strongly and named in the status bar, and a click on a region opens it in the region view.
class WorldMapView : public MapScrollArea {
    Q_OBJECT
public:
    WorldMapView(Session& session, MapViewHost& host, QWidget* parent = nullptr);

    // Takes the world bitmap's size as the scroll extent again and repaints the whole view;
    // the frame calls it after the filter, the character or the colours changed.
    void RefreshCanvas();

    // Draws the plan's route above the tints until it is taken away (null). The view shares
    // the plan, so whoever made it may go on to a new one.
    void ShowRoute(std::shared_ptr<const HuntPlan> plan);
    const RouteOverlay& ShownRoute() const { return overlay_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    QSize CanvasExtent() const override;

private:
    // The region under a viewport point; nothing lies under points outside the viewport.
    int RegionAt(QPoint viewportPoint) const;
    void PointerMovedTo(QPoint viewportPoint);
    void PointerLeft() override;
    void InvalidateRegion(int index);

    Session& session_;
    MapViewHost& host_;
    SessionSubscription changes_;
    int hoverRegion_ = 0;
    int pressedRegion_ = 0;
    bool capturing_ = false;
    QImage buffer_;  // reused off-screen picture of the damaged box
    std::shared_ptr<const HuntPlan> route_;
    RouteOverlay overlay_;  // route_ on the canvas
};

}  // namespace brix
