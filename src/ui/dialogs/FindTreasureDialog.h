#pragma once

#include <QDialog>

#include <memory>

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace brix {

struct GameRecords;
class MapViewHost;
class TreasureSearch;

// "Find Treasure": one text field and the treasures answering it, best first, renewed at every
// keystroke. Enter (in the field or the list) or a double-click shows the region view with that
// treasure selected; the box stays open beside the map, so the user can try the next candidate
// near a reading. Escape closes it. Reads the records and changes nothing.
class FindTreasureDialog : public QDialog {
    Q_OBJECT
public:
    // The records must outlive the box; their names are indexed once, here.
    FindTreasureDialog(const GameRecords& records, MapViewHost& host, QWidget* parent = nullptr);
    ~FindTreasureDialog() override;

    // Shows the box (again) in front with its text selected, ready to be typed over. The first
    // time it goes to the owner's lower left corner, where the region view leaves parchment
    // bare, so it hides neither the map nor the title, close-up and coordinates.
    void Present();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Search();
    void ShowTreasure(const QTreeWidgetItem* item);

    const GameRecords& records_;
    MapViewHost& host_;
    std::unique_ptr<TreasureSearch> search_;
    QLineEdit* text_ = nullptr;
    QTreeWidget* results_ = nullptr;
    bool placed_ = false;
};

}  // namespace brix
