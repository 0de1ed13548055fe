#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>

#include "core/data/Session.h"
#include "core/hunt/Collection.h"
#include "core/hunt/HuntPlan.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTreeWidget;

namespace brix {

class LevelBarChart;
class MapViewHost;
class Messages;

// "Hunt Plan": the current character's maps in the order that saves travel (Plan), and who
// holds how many maps of each level (Collection). A modeless window the frame reuses; it keeps
// itself current with the session, and while it is open with "Show route on the world map"
// ticked it hands its route to whoever listens (the world view).
class HuntPlanWindow : public QDialog {
    Q_OBJECT
public:
    // Told the route to draw, or null when none is to be drawn.
    using RouteListener = std::function<void(std::shared_ptr<const HuntPlan>)>;

    HuntPlanWindow(Session& session, MapViewHost& host, Messages& messages,
                   QWidget* parent = nullptr);
    ~HuntPlanWindow() override;

    void SetRouteListener(RouteListener listener);

    const HuntPlan& Plan() const { return *plan_; }
    const CollectionTable& Collection() const { return collection_; }

    // Makes the plan and the collection again from the session.
    void Refresh();
    // Puts the shown page's text on the clipboard.
    void CopyPage();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildPlanPage();
    QWidget* BuildCollectionPage();
    void Replan();
    void FillPlan();
    void FillCollection();
    void SortBy(int column);
    int CurrentStopTreasure() const;
    void ShowCurrentTreasure();
    void CompleteCurrent();
    void PublishRoute(bool open);

    Session& session_;
    MapViewHost& host_;
    Messages& messages_;
    std::shared_ptr<const HuntPlan> plan_;
    CollectionTable collection_;
    int sortColumn_ = -1;
    bool sortDescending_ = false;
    bool stale_ = false;  // a change came while the window was hidden
    RouteListener routeListener_;

    QTabWidget* pages_ = nullptr;
    QLabel* heading_ = nullptr;
    QSpinBox* recallCost_ = nullptr;
    QTreeWidget* planTable_ = nullptr;
    QLabel* total_ = nullptr;
    QCheckBox* showRoute_ = nullptr;
    QPushButton* completed_ = nullptr;
    QTreeWidget* collectionTable_ = nullptr;
    LevelBarChart* chart_ = nullptr;
    // Last, so that no change reaches the window before its controls exist.
    std::optional<SessionSubscription> changes_;
};

}  // namespace brix
