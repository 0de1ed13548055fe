#include "ui/map/ShowTreasureFromBox.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "core/data/GameRecords.h"
#include "ui/map/MapViewHost.h"

namespace brix {

bool ShowTreasureFromBox(QWidget& box, MapViewHost& host, const GameRecords& records,
                         int treasure) {
    const Treasure* record = records.FindTreasure(treasure);
    if (record == nullptr) return false;
    const bool wasActive = box.isActiveWindow();
    host.ShowRegionView(record->Region, record->Index);
    if (wasActive) {
        QPointer<QWidget> guard(&box);
        QTimer::singleShot(0, &box, [guard] {
            if (guard && guard->isVisible() && !guard->isActiveWindow()) guard->activateWindow();
        });
    }
    return true;
}

}  // namespace brix
