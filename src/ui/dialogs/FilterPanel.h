#pragma once

#include <QWidget>

#include "core/data/FilterControls.h"
#include "core/data/GameRecords.h"
#include "core/data/MapFilter.h"

class QCheckBox;
class QPushButton;

namespace brix {

class NumberedListWidget;

// The controls of the filter dialog without its OK and Cancel buttons: the three switches and
// the two level lists with "<< Add" and "Remove >>". The filter dialog shows it on its own; the
// print dialog embeds it. Every change refreshes the working filter, so Filter() always holds
// the panel's current settings; whoever owns the panel copies them onto its target when its own
// OK is pressed. The target itself is only read, at construction.
class FilterPanel : public QWidget {
    Q_OBJECT
public:
    FilterPanel(const GameRecords& records, const MapFilter& target, QWidget* parent = nullptr);

    // The levels and switches the controls show; the has-map flags are empty.
    const MapFilter& Filter() const { return working_; }

    // The first and the last control in tab order, for the window around the panel.
    QWidget* FirstControl() const;
    QWidget* LastControl() const;

Q_SIGNALS:
    // The settings in Filter() changed.
    void Changed();

private:
    FilterControls Controls() const;
    void Refresh();
    void Move(NumberedListWidget& from, NumberedListWidget& to);

    QCheckBox* treasures_ = nullptr;
    QCheckBox* labels_ = nullptr;
    QCheckBox* levels_ = nullptr;
    NumberedListWidget* shown_ = nullptr;
    NumberedListWidget* hidden_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    MapFilter working_;
};

}  // namespace brix
