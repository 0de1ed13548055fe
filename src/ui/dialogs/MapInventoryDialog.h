#pragma once

#include <QDialog>

class QComboBox;
class QLabel;

namespace brix {

class Messages;
class Session;

// "I Just Got a Map" and "I Just Completed a Map": the treasure, the character and the level of
// one map, and the character's counts for the chosen treasure. OK records the map through
// AcceptMapInventory; a refusal leaves the dialog open for correction.
class MapInventoryDialog : public QDialog {
    Q_OBJECT
public:
    // `treasure` is the preset treasure (0: the first of the list); `adding` chooses the mode.
    MapInventoryDialog(Session& session, Messages& messages, int treasure, bool adding,
                       QWidget* parent = nullptr);

    void accept() override;

private:
    void UpdateCounts();

    Session& session_;
    Messages& messages_;
    bool adding_;
    QLabel* counts_ = nullptr;
    QComboBox* treasures_ = nullptr;
    QComboBox* character_ = nullptr;
    QComboBox* levels_ = nullptr;
};

// Runs the dialog application-modal over the window that is active now (see DialogOwner),
// `fallback` when there is none. The dialog goes with its owner should that window be destroyed
// while it is open; nothing keeps a pointer to it.
void RunMapInventory(Session& session, Messages& messages, int treasure, bool adding,
                     QWidget* fallback);

}  // namespace brix
