#pragma once

#include "core/data/Session.h"
#include "core/map/RegionCanvas.h"
#include "ui/map/MapScrollArea.h"

namespace brix {

class MapViewHost;
class Messages;
class Session;

// The parchment map of one region with the selected treasure's title, close-up and
// coordinates beside it. The user picks a treasure by clicking its tack or label and steps
// through regions and treasures with the navigation commands.
class RegionMapView : public MapScrollArea {
    Q_OBJECT

public:
    RegionMapView(Session& session, MapViewHost& host, Messages& messages,
                  QWidget* parent = nullptr);

    // See RegionCanvas::ShowRegion.
    void ShowRegion(int region, int treasure);
    // The region shown and its selected treasure (0 for none).
    int ShownRegion() const { return canvas_.CurrentRegion(); }
    int SelectedTreasure() const { return canvas_.SelectedTreasure(); }

    // Carries out the commands this view owns; false for every other command.
    bool HandleCommand(int id);
    // The enabled state of the commands this view owns; false for every other command.
    bool IsCommandEnabled(int id) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QSize CanvasExtent() const override;

private:
    void ForgetCursorAfterStep();
    void PointerMoved(QPoint viewportPoint);
    void PointerLeft() override;
    void InvalidateCanvasRect(const IntRect& rect);

    Session& session_;
    MapViewHost& host_;
    Messages& messages_;
    RegionCanvas canvas_;
    SessionSubscription changes_;
    bool capturing_ = false;
};

}  // namespace brix
