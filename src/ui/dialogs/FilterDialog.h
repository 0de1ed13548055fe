#pragma once

#include <QDialog>

#include "core/data/GameRecords.h"
#include "core/data/MapFilter.h"

namespace brix {

class FilterPanel;

// "Filter Configuration": the filter panel with OK and Cancel, centred on its owner.
class FilterDialog : public QDialog {
    Q_OBJECT
public:
    FilterDialog(const GameRecords& records, const MapFilter& target, QWidget* parent = nullptr);

    // The settings the controls show now; after OK, the ones chosen.
    const MapFilter& Filter() const;
    FilterPanel& Panel() const { return *panel_; }

    // Runs the dialog modally on `target`. On OK the target takes the chosen levels and
    // switches and loses its has-map flags until the caller recomputes them; on Cancel it is
    // left as it was. True on OK.
    static bool Open(const GameRecords& records, MapFilter& target, QWidget* owner);

private:
    FilterPanel* panel_ = nullptr;
};

}  // namespace brix
