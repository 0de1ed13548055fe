#pragma once

#include <QMainWindow>
#include <QPointer>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/data/Session.h"
#include "ui/frame/MainToolbar.h"
#include "ui/map/MapViewHost.h"

class QAction;
class QMenu;
class QStackedWidget;

namespace brix {

class HuntPlanWindow;
class Messages;
class PrinterState;
class RegionMapView;
class Session;
class TreasureInfoWindow;
class WorldMapView;

// The program's main window: menu, main toolbar, status bar and the two map views, of which
// exactly one is shown. Commands go first to the shown view, then to the frame.
class MainFrame : public QMainWindow, public MapViewHost {
    Q_OBJECT
public:
    MainFrame(Session& session, Messages& messages, QWidget* parent = nullptr);
    ~MainFrame() override;

    // Builds the window from the settings; false when it could not be built.
    bool Create();

    void ShowWorldView();
    void ShowRegionView(int region, int treasure) override;
    void ShowStatusText(const std::string& text) override;
    void ShowReadyText() override;
    // Opens Treasure Information for the treasure (0: the first): modal over this window, or,
    // with "TreasureInfoInd" on, the independent window, which is reused and brought forward.
    void ShowTreasureInfo(int treasure) override;
    void OpenMapInventory(int treasure, bool adding) override;
    // After the options changed: closes the independent window when the option is now off,
    // otherwise redraws it.
    void RefreshTreasureInfo();
    // Opens the Hunt Plan window, or brings the open one forward; it draws its route on the
    // world view.
    void ShowHuntPlan();

    // Routes one command: the shown view first, then the frame. True when someone handled it.
    bool ExecuteCommand(int command);
    // Recomputes the enabled and checked states of the commands (run whenever the loop idles).
    void UpdateCommandStates();

    // The dynamic submenus, rebuilt as the program does when they open.
    void FillRegionMenu(QMenu& menu) const;
    void FillCharacterMenu(QMenu& menu);
    void FillRuneLibraryMenu(QMenu& menu);

    QAction* Action(int command) const;
    // Every command of the menus and the toolbar, in number order.
    std::vector<int> Commands() const;
    bool IsRegionViewActive() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* MakeAction(int command, const QString& text);
    void BuildMenus();
    void ToggleStayOnTop();
    void ShowAbout();
    void SaveWindowPlacement();
    void RestoreWindowPlacement();

    Session& session_;
    Messages& messages_;
    CommandIcons icons_;
    std::map<int, QAction*> actions_;
    QStackedWidget* views_ = nullptr;
    WorldMapView* worldView_ = nullptr;
    RegionMapView* regionView_ = nullptr;
    MainToolbar* toolbar_ = nullptr;
    QMenu* regionMenu_ = nullptr;
    bool regionMenuFilled_ = false;
    bool stayOnTop_ = false;
    bool placementSaved_ = false;
    bool keepEmptyMessage_ = false;  // while ShowStatusText shows an empty text
    // The open Treasure Information window, of either form; it may go away by itself.
    QPointer<TreasureInfoWindow> treasureInfo_;
    // The Hunt Plan window of the run, made on first use and reused.
    QPointer<HuntPlanWindow> huntPlan_;
    // The printer of the run, chosen in the print dialog; it asks the print system nothing
    // until printing or Page Setup needs it.
    std::unique_ptr<PrinterState> printers_;
    std::optional<SessionSubscription> changes_;
};

}  // namespace brix
