#pragma once

#include <QPointer>
#include <QToolBar>

#include <functional>
#include <string>
#include <vector>

#include "core/base/Settings.h"
#include "core/base/ToolbarLayout.h"
#include "core/map/CommandIcons.h"
#include "ui/frame/ToolbarCustomizeDialog.h"

class QMenu;
class QToolButton;

namespace brix {

// The main window's toolbar: the buttons the user chose ("TBButtons"), drawn in the chosen
// label style ("TBTextStyle") and icon size ("TBIconStyle"). Each button stands for one of
// the frame's actions and follows its enabled and checked state; pressing it triggers that
// action. A right click offers the customisation dialog, after which the buttons and styles
// are applied at once and written back.
class MainToolbar : public QToolBar {
    Q_OBJECT
public:
    // The frame's action of a command, or nullptr when the frame has none.
    using ActionLookup = std::function<QAction*(int command)>;
    // Receives the status-bar text while the pointer moves over the toolbar; an empty text
    // stands for the idle text.
    using StatusTextHandler = std::function<void(const std::string& text)>;
    // Fills the Region button's menu each time it is about to open.
    using MenuFiller = std::function<void(QMenu& menu)>;

    // Reads the buttons and both styles from the settings and builds the buttons. The icons
    // come rendered from the owner, who needs them for the menus too: the strips are drawn
    // once per run.
    MainToolbar(Settings settings, ActionLookup actions, CommandIcons icons,
                QWidget* parent = nullptr);
    ~MainToolbar() override;

    void SetStatusTextHandler(StatusTextHandler handler) { statusText_ = std::move(handler); }
    void SetRegionMenuFiller(MenuFiller filler) { regionFiller_ = std::move(filler); }

    void SetButtons(std::vector<ToolbarButton> buttons);
    void ApplyStyles(int textStyle, int iconStyle);

    // Writes the buttons as they stand to "TBButtons".
    void SaveButtons() const;

    // Drops the region list below the Region button, when that button is shown.
    void ShowRegionMenu();

    // Opens the customisation dialog (window-modal, returns at once), or brings the open one
    // to the front. Its end applies and saves the result.
    void Customize();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // The first button of a command, or nullptr.
    QToolButton* ButtonForCommand(int command) const;
    void Rebuild();
    QAction* MakeButtonAction(const ToolbarButton& button);
    void PrepareButton(QToolButton& button, const ToolbarButton& entry, bool hasLabel);
    void FinishCustomize(const ToolbarCustomizeDialog& dialog);
    void ReportStatus(const std::string& text) const;

    Settings settings_;
    ActionLookup actions_;
    CommandIcons icons_;
    std::vector<ToolbarButton> buttons_;
    std::vector<QAction*> buttonActions_;  // one per entry of buttons_, owned by the toolbar
    int textStyle_ = ToolbarTextUnder;
    int iconStyle_ = ToolbarLargeIcons;
    QMenu* regionMenu_ = nullptr;
    QPointer<ToolbarCustomizeDialog> dialog_;
    StatusTextHandler statusText_;
    MenuFiller regionFiller_;
};

}  // namespace brix
