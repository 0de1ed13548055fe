#pragma once

#include <QListWidget>

#include <string>
#include <vector>

namespace brix {

// A list of "%d - %s" items, each carrying its number (a level or treasure Index) as item
// data, so that the chosen record is found by its number and never by its shown text.
class NumberedListWidget : public QListWidget {
    Q_OBJECT

public:
    explicit NumberedListWidget(QWidget* parent = nullptr);

    void AddNumbered(int number, const std::string& name);
    // The numbers in list order.
    std::vector<int> Numbers() const;
    // The row of the current item while it is selected, else -1: a Ctrl+click takes the
    // selection away but leaves the item current, and then the list has nothing to move.
    int SelectedRow() const;
    // The number of the current item, or 0 when none is current.
    int CurrentNumber() const;
    // Makes the item with that number current; false when there is none.
    bool SelectNumber(int number);
};

// Moves the current item of `from` into `to` by the rules of MoveBetweenLists (ascending
// target, next item selected in the source), carrying the item's text and number; the moved
// item becomes current in `to`. Nothing happens without a current item.
void MoveCurrentItem(NumberedListWidget& from, NumberedListWidget& to);

}  // namespace brix
