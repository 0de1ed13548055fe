#pragma once

#include <QDialog>

#include <optional>

#include "core/data/Session.h"
#include "core/output/TreasureInfo.h"

class QAction;
class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QToolBar;

namespace brix {

class CommandIcons;
class MapViewHost;
class Messages;
class Session;
class TreasureCloseUp;

// One treasure at a time: a list of every treasure, the chosen one's information text, a
// close-up of its surroundings and a small toolbar (Copy, Previous and Next Treasure, I Just
// Got a Map, I Just Completed a Map, Stay on Top).
//
// It runs either modally over the main window, or independently: a top-level window of its
// own with a taskbar entry and a minimise button, which stays open while the user works in the
// main window and deletes itself when closed. The owner forwards the catalogue's change
// notification to Refresh(), so the counts and the tack colour never go stale.
class TreasureInfoWindow : public QDialog {
    Q_OBJECT

public:
    enum class Mode { Modal, Independent };

    // A modal window belongs to `owner`; an independent one has none. The map inventory
    // commands go to the host; the icons are the program's, rendered once.
    TreasureInfoWindow(Session& session, MapViewHost& host, Messages& messages,
                       const CommandIcons& icons, Mode mode, QWidget* owner = nullptr);
    ~TreasureInfoWindow() override;

    Mode WindowMode() const { return mode_; }
    bool IsIndependent() const { return mode_ == Mode::Independent; }

    // Shows that treasure; the first of the list when there is no such treasure (also for 0).
    void SelectInfoTreasure(int treasure);
    // The Index shown, 0 for none (only while the catalogue holds no treasure).
    int SelectedTreasure() const { return model_.SelectedTreasure(); }

    // Takes the text and the close-up anew from the catalogue, keeping the selection.
    void Refresh();

    // Carries out one of the toolbar's commands; false for any other command.
    bool ExecuteCommand(int command);

    bool IsTopMost() const { return topMost_; }

private:
    void BuildToolbar(const CommandIcons& icons);
    void ShowSelection();
    void ApplyTopMost();

    Session& session_;
    MapViewHost& host_;
    Messages& messages_;
    const Mode mode_;
    TreasureInfoModel model_;
    bool topMost_ = false;

    QToolBar* toolbar_ = nullptr;
    QAction* stayOnTop_ = nullptr;
    QComboBox* list_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    TreasureCloseUp* closeUp_ = nullptr;
    QPushButton* close_ = nullptr;
    // Last, so that no change reaches the window before its controls exist.
    std::optional<SessionSubscription> changes_;
};

}  // namespace brix
