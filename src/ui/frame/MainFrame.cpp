#include "ui/frame/MainFrame.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>

#include <algorithm>
#include <functional>
#include <tuple>

#include "core/base/Commands.h"
#include "core/base/Messages.h"
#include "core/base/Strings.h"
#include "core/base/Text.h"
#include "core/base/ToolbarLayout.h"
#include "core/data/Session.h"
#include "core/map/MapGeometry.h"
#include "core/map/Pictures.h"
#include "ui/dialogs/DialogOwner.h"
#include "ui/dialogs/FilterDialog.h"
#include "ui/dialogs/FindTreasureDialog.h"
#include "ui/dialogs/LevelInfoDialog.h"
#include "ui/dialogs/MapInventoryDialog.h"
#include "ui/dialogs/OptionsSheet.h"
#include "ui/frame/MainToolbar.h"
#include "ui/frame/ToolbarCustomizeDialog.h"
#include "ui/hunt/HuntPlanWindow.h"
#include "ui/hunt/IdentifyPictureWindow.h"
#include "ui/manage/CharacterDialogs.h"
#include "ui/manage/RuneLibraryDialogs.h"
#include "ui/map/RegionMapView.h"
#include "ui/map/StayOnTop.h"
#include "ui/map/TreasureInfoWindow.h"
#include "ui/map/WorldMapView.h"
#include "ui/output/PrintController.h"
#include "ui/output/PrinterState.h"
#include "ui/output/ZerrinExportDialog.h"

namespace brix {
namespace {

// Names in menu order: case-insensitive, ties kept in creation order.
template <typename Named>
std::vector<const Named*> SortedByName(const std::vector<Named>& items) {
    std::vector<const Named*> sorted;
    for (const Named& item : items) sorted.push_back(&item);
    std::stable_sort(sorted.begin(), sorted.end(), [](const Named* a, const Named* b) {
        return CompareNames(a->Name, b->Name) < 0;
    });
    return sorted;
}

// A character or rune library submenu: the records sorted by name with the current one
// checked, then the manage command. An item names its record by position and exact name, so
// that of two names differing only in case the chosen one is taken; one that has disappeared
// by the time the item is chosen does nothing.
template <typename Record>
void FillRecordMenu(QMenu& menu, const std::vector<Record>& records, const Record* current,
                    int maxItems, QAction* manage, const std::function<void(int)>& choose) {
    menu.clear();
    int items = 0;
    for (const Record* record : SortedByName(records)) {
        if (items++ >= maxItems) break;
        QAction* item = menu.addAction(QString::fromStdString(record->Name));
        item->setCheckable(true);
        item->setChecked(record == current);
        QObject::connect(
            item, &QAction::triggered, &menu,
            [choose, &records, position = PositionIn(records, record), name = record->Name] {
                if (position < static_cast<int>(records.size()) &&
                    records[static_cast<std::size_t>(position)].Name == name)
                    choose(position);
            });
    }
    if (!records.empty()) menu.addSeparator();
    menu.addAction(manage);
}

// The screen showing most of the rectangle; null when it lies on none (a screen that is gone).
QScreen* ScreenShowing(const QRect& rect) {
    QScreen* best = nullptr;
    long long bestArea = 0;
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect shown = screen->availableGeometry() & rect;
        const long long area = static_cast<long long>(shown.width()) * shown.height();
        if (!shown.isEmpty() && area > bestArea) {
            best = screen;
            bestArea = area;
        }
    }
    return best;
}

// The rectangle made no larger than the area and moved inside it: a placement saved on a larger
// screen, or at a smaller scale factor, must not open the window with its title bar or edges
// out of reach.
QRect FitInside(QRect rect, const QRect& area) {
    rect.setSize(rect.size().boundedTo(area.size()));
    if (rect.right() > area.right()) rect.moveRight(area.right());
    if (rect.bottom() > area.bottom()) rect.moveBottom(area.bottom());
    if (rect.left() < area.left()) rect.moveLeft(area.left());
    if (rect.top() < area.top()) rect.moveTop(area.top());
    return rect;
}

QSize BoundedToPrimaryScreen(QSize size) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? size.boundedTo(screen->availableGeometry().size()) : size;
}

}  // namespace

MainFrame::MainFrame(Session& session, Messages& messages, QWidget* parent)
    : QMainWindow(parent),
      session_(session),
      messages_(messages),
      printers_(std::make_unique<PrinterState>()) {
    setAttribute(Qt::WA_DeleteOnClose, false);
}

MainFrame::~MainFrame() {
    changes_.reset();
    // A window closed with this one may still wait for its deferred deletion; the user data
    // are written once the frame is gone, and no window may show them then.
    delete treasureInfo_.data();
    delete huntPlan_.data();
}

QAction* MainFrame::MakeAction(int command, const QString& text) {
    auto* action = new QAction(text, this);
    action->setStatusTip(QString::fromStdString(CommandText(command, CommandField::StatusText)));
    action->setToolTip(QString::fromStdString(CommandTooltip(command)));
    // Menu items show the small icon of the same command, where it has one.
    if (CommandIconIndex(command) >= 0) action->setIcon(icons_.ForCommand(command));
    connect(action, &QAction::triggered, this, [this, command] { ExecuteCommand(command); });
    actions_[command] = action;
    return action;
}

QAction* MainFrame::Action(int command) const {
    auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

std::vector<int> MainFrame::Commands() const {
    std::vector<int> commands;
    for (const auto& [command, action] : actions_) commands.push_back(command);
    return commands;
}

void MainFrame::BuildMenus() {
    QMenuBar* bar = menuBar();

    QMenu* file = bar->addMenu(tr("&File"));
    file->addAction(MakeAction(Command::ExportToZerrin, tr("Export to &Zerrin...")));
    file->addSeparator();
    file->addAction(MakeAction(Command::PageSetup, tr("Pa&ge Setup...")));
    QAction* print = MakeAction(Command::Print, tr("&Print..."));
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    file->addAction(print);
    file->addSeparator();
    file->addAction(MakeAction(Command::Exit, tr("E&xit")));

    QMenu* edit = bar->addMenu(tr("&Edit"));
    QAction* undo = MakeAction(Command::Undo, QString());
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    edit->addAction(undo);
    QAction* redo = MakeAction(Command::Redo, QString());
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addAction(redo);
    edit->addSeparator();
    QAction* copy = MakeAction(Command::Copy, tr("&Copy"));
    copy->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    edit->addAction(copy);
    edit->addSeparator();
    QAction* find = MakeAction(Command::FindTreasure, tr("Find &Treasure..."));
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    edit->addAction(find);
    QAction* identify = MakeAction(Command::IdentifyMapPicture,
                                   QString::fromStdString(LoadString(StringId::IdentifyMenuText)));
    identify->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    edit->addAction(identify);
    edit->addSeparator();
    edit->addAction(MakeAction(Command::Filter, tr("&Filter...")));
    edit->addSeparator();
    edit->addAction(MakeAction(Command::GotAMap, tr("I Just &Got a Map...")));
    edit->addAction(MakeAction(Command::CompletedAMap, tr("I Just &Completed a Map...")));
    edit->addSeparator();
    QMenu* goTo = edit->addMenu(tr("Go To"));
    goTo->addAction(MakeAction(Command::NextRegion, tr("Next Region")));
    goTo->addAction(MakeAction(Command::PreviousRegion, tr("Previous Region")));
    goTo->addAction(MakeAction(Command::NextTreasure, tr("Next Treasure")));
    goTo->addAction(MakeAction(Command::PreviousTreasure, tr("Previous Treasure")));

    QMenu* view = bar->addMenu(tr("&View"));
    view->addAction(MakeAction(Command::World, tr("&World")));
    // The Region command itself stands only on the toolbar, as a drop-down of the regions.
    MakeAction(Command::Region, tr("Region"));
    regionMenu_ = view->addMenu(tr("&Region"));
    regionMenu_->setIcon(Action(Command::Region)->icon());
    connect(regionMenu_, &QMenu::aboutToShow, this, [this] {
        if (regionMenuFilled_) return;
        FillRegionMenu(*regionMenu_);
        regionMenuFilled_ = true;
    });
    view->addSeparator();
    view->addAction(MakeAction(Command::TreasureInformation, tr("&Treasure Information...")));
    view->addAction(MakeAction(Command::LevelInformation, tr("&Level Information...")));
    QAction* huntPlan = MakeAction(Command::HuntPlan, tr("&Hunt Plan..."));
    huntPlan->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    view->addAction(huntPlan);
    view->addSeparator();
    QMenu* characters = view->addMenu(tr("&Characters..."));
    MakeAction(Command::ManageCharacters, tr("Manage..."));
    connect(characters, &QMenu::aboutToShow, this,
            [this, characters] { FillCharacterMenu(*characters); });
    QMenu* libraries = view->addMenu(tr("R&une Libraries..."));
    MakeAction(Command::ManageRuneLibraries, tr("Manage..."));
    connect(libraries, &QMenu::aboutToShow, this,
            [this, libraries] { FillRuneLibraryMenu(*libraries); });
    FillCharacterMenu(*characters);
    FillRuneLibraryMenu(*libraries);
    view->addSeparator();
    QAction* onTop = MakeAction(Command::StayOnTop, tr("&Stay on Top"));
    onTop->setCheckable(true);
    view->addAction(onTop);
    view->addSeparator();
    view->addAction(MakeAction(Command::Options, tr("&Options...")));

    QMenu* help = bar->addMenu(tr("&Help"));
    help->addAction(MakeAction(Command::About, tr("&About...")));

    MakeAction(Command::Customize, tr("Customize..."));

    // Menu states are brought up to date as each menu opens.
    for (QMenu* menu : bar->findChildren<QMenu*>())
        connect(menu, &QMenu::aboutToShow, this, &MainFrame::UpdateCommandStates);
}

void MainFrame::FillRegionMenu(QMenu& menu) const {
    menu.clear();
    for (const Region& region : session_.GetWorld().Regions) {
        if (region.Index < 1) continue;
        const int index = region.Index;
        QAction* item = menu.addAction(QString::fromStdString(region.Name));
        MainFrame* self = const_cast<MainFrame*>(this);
        connect(item, &QAction::triggered, self,
                [self, index] { self->ExecuteCommand(Command::FirstRegion - 1 + index); });
    }
}

void MainFrame::FillCharacterMenu(QMenu& menu) {
    FillRecordMenu(menu, session_.GetUser().Characters, session_.GetCurrentCharacter(),
                   Command::LastCharacter - Command::FirstCharacter + 1,
                   Action(Command::ManageCharacters), [this](int position) {
                       session_.SetCurrentCharacter(&session_.GetUser().Characters[position]);
                   });
}

void MainFrame::FillRuneLibraryMenu(QMenu& menu) {
    FillRecordMenu(menu, session_.GetUser().RuneLibraries, session_.GetCurrentRuneLibrary(),
                   Command::LastRuneLibrary - Command::FirstRuneLibrary + 1,
                   Action(Command::ManageRuneLibraries), [this](int position) {
                       session_.SetCurrentRuneLibrary(&session_.GetUser().RuneLibraries[position]);
                   });
}

bool MainFrame::Create() {
    const Settings settings = session_.SettingsFile();
    stayOnTop_ = settings.StayOnTop();
    setWindowTitle(QString::fromStdString(session_.GetPrefs().ProgramTitle));
    setWindowIcon(QIcon(QPixmap::fromImage(RenderAppIcon(32))));
    if (stayOnTop_) setWindowFlag(Qt::WindowStaysOnTopHint, true);

    BuildMenus();

    // The menu items took their icons from icons_ already; the toolbar shares the same ones.
    toolbar_ = new MainToolbar(
        settings, [this](int command) { return Action(command); }, icons_, this);
    toolbar_->SetRegionMenuFiller([this](QMenu& menu) { FillRegionMenu(menu); });
    toolbar_->SetStatusTextHandler([this](const std::string& text) {
        if (text.empty())
            ShowReadyText();
        else
            ShowStatusText(text);
    });
    addToolBar(toolbar_);

    statusBar()->setSizeGripEnabled(true);
    // Leaving a menu item or button clears the message; the idle text is "Ready".
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (message.isEmpty() && !keepEmptyMessage_) ShowReadyText();
    });
    ShowReadyText();

    views_ = new QStackedWidget(this);
    worldView_ = new WorldMapView(session_, *this, views_);
    views_->addWidget(worldView_);
    views_->setCurrentWidget(worldView_);
    setCentralWidget(views_);

    // The views and windows keep themselves current; the frame repaints itself and brings the
    // commands' states (Undo and Redo among them) up to date.
    changes_.emplace(session_, [this](unsigned) {
        update();
        UpdateCommandStates();
    });
    QUndoStack& history = session_.UndoStack();
    connect(&history, &QUndoStack::undoTextChanged, this, &MainFrame::UpdateCommandStates);
    connect(&history, &QUndoStack::redoTextChanged, this, &MainFrame::UpdateCommandStates);
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                &MainFrame::UpdateCommandStates);

    RestoreWindowPlacement();
    UpdateCommandStates();
    return true;
}

void MainFrame::RestoreWindowPlacement() {
    const auto rect = session_.SettingsFile().WindowPlacement();
    if (!rect || rect->Right <= rect->Left || rect->Bottom <= rect->Top) {
        resize(BoundedToPrimaryScreen(QSize(1024, 768)));
        return;
    }
    const QRect wanted(rect->Left, rect->Top, rect->Right - rect->Left, rect->Bottom - rect->Top);
    // A rectangle left on a screen that is gone would open the window out of reach: only its
    // size is kept, and the window system places it.
    const QScreen* screen = ScreenShowing(wanted);
    if (screen == nullptr) {
        resize(BoundedToPrimaryScreen(wanted.size()));
        return;
    }
    setGeometry(FitInside(wanted, screen->availableGeometry()));
}

void MainFrame::SaveWindowPlacement() {
    if (placementSaved_) return;
    placementSaved_ = true;
    const QRect normal =
        isMaximized() || isMinimized() || isFullScreen() ? normalGeometry() : geometry();
    if (!normal.isValid()) return;
    session_.SettingsFile().WriteWindowPlacement({normal.left(), normal.top(),
                                                  normal.left() + normal.width(),
                                                  normal.top() + normal.height()});
}

void MainFrame::closeEvent(QCloseEvent* event) {
    SaveWindowPlacement();
    // The independent Treasure Information window goes with the main window: left open, it
    // would keep the program running.
    if (treasureInfo_) treasureInfo_->close();
    if (huntPlan_) huntPlan_->close();
    QMainWindow::closeEvent(event);
}

bool MainFrame::IsRegionViewActive() const {
    return regionView_ != nullptr && views_->currentWidget() == regionView_;
}

void MainFrame::ShowWorldView() {
    if (views_->currentWidget() != worldView_) views_->setCurrentWidget(worldView_);
}

void MainFrame::ShowRegionView(int region, int treasure) {
    if (regionView_ == nullptr) {
        regionView_ = new RegionMapView(session_, *this, messages_, views_);
        views_->addWidget(regionView_);
    }
    regionView_->ShowRegion(region, treasure);
    if (views_->currentWidget() != regionView_) views_->setCurrentWidget(regionView_);
    UpdateCommandStates();
}

void MainFrame::ShowStatusText(const std::string& text) {
    // An empty text must not count as a cleared message, which would bring back "Ready".
    keepEmptyMessage_ = true;
    statusBar()->showMessage(QString::fromStdString(text));
    keepEmptyMessage_ = false;
}

void MainFrame::ShowReadyText() {
    statusBar()->showMessage(QString::fromStdString(LoadString(StringId::ReadyText)));
}

void MainFrame::ShowTreasureInfo(int treasure) {
    using Mode = TreasureInfoWindow::Mode;
    const bool independent = session_.GetPrefs().Display.TreasureInfoInd;
    if (treasureInfo_ && treasureInfo_->IsIndependent() &&
        (!independent || !treasureInfo_->isVisible())) {
        // Closed by its user and waiting to be deleted, or of the form the option no longer
        // asks for.
        treasureInfo_->close();
        treasureInfo_ = nullptr;
    }
    if (treasureInfo_) {
        treasureInfo_->SelectInfoTreasure(treasure);
        treasureInfo_->showNormal();
        treasureInfo_->raise();
        treasureInfo_->activateWindow();
        return;
    }
    auto* window = new TreasureInfoWindow(session_, *this, messages_, icons_,
                                          independent ? Mode::Independent : Mode::Modal, this);
    treasureInfo_ = window;
    window->SelectInfoTreasure(treasure);
    if (independent) {
        window->show();
        window->raise();
        window->activateWindow();
        return;
    }
    const QPointer<TreasureInfoWindow> guard(window);
    window->exec();
    delete guard.data();
}

void MainFrame::RefreshTreasureInfo() {
    if (!treasureInfo_) return;
    if (treasureInfo_->IsIndependent() && !session_.GetPrefs().Display.TreasureInfoInd) {
        treasureInfo_->close();
        treasureInfo_ = nullptr;
        return;
    }
    treasureInfo_->Refresh();
}

void MainFrame::ShowHuntPlan() {
    if (!huntPlan_) {
        huntPlan_ = new HuntPlanWindow(session_, *this, messages_, this);
        huntPlan_->SetRouteListener([this](std::shared_ptr<const HuntPlan> plan) {
            if (worldView_ != nullptr) worldView_->ShowRoute(std::move(plan));
        });
    }
    huntPlan_->showNormal();
    huntPlan_->raise();
    huntPlan_->activateWindow();
}

void MainFrame::OpenMapInventory(int treasure, bool adding) {
    // The caller may be another window (the Treasure Information window): the dialog sits over
    // whichever window is active and keeps the whole program waiting until it closes.
    RunMapInventory(session_, messages_, treasure, adding, this);
}

bool MainFrame::ExecuteCommand(int command) {
    if (IsRegionViewActive() && regionView_->HandleCommand(command)) {
        UpdateCommandStates();
        return true;
    }
    if (command >= Command::FirstRegion && command <= Command::LastRegion) {
        ShowRegionView(command - (Command::FirstRegion - 1), -1);
        return true;
    }
    switch (command) {
        case Command::World:
            ShowWorldView();
            break;
        case Command::Undo:
            session_.UndoStack().undo();
            break;
        case Command::Redo:
            session_.UndoStack().redo();
            break;
        case Command::StayOnTop:
            ToggleStayOnTop();
            break;
        case Command::About:
            ShowAbout();
            break;
        case Command::Exit:
            close();
            break;
        case Command::TreasureInformation:
            ShowTreasureInfo(1);
            break;
        case Command::GotAMap:
        case Command::CompletedAMap:
            OpenMapInventory(0, command == Command::GotAMap);
            break;
        case Command::HuntPlan:
            ShowHuntPlan();
            break;
        case Command::LevelInformation:
            RunLevelInformation(session_.GetWorld(), 1, this);
            break;
        case Command::Customize:
            toolbar_->Customize();
            break;
        case Command::Region:
            toolbar_->ShowRegionMenu();
            break;
        case Command::Filter: {
            // The catalogue takes the chosen levels and switches and recolours the maps at once.
            MapFilter chosen = session_.Filter();
            if (FilterDialog::Open(session_.GetWorld(), chosen, DialogOwner(this)))
                session_.SetFilterOptions(chosen);
            break;
        }
        case Command::ManageCharacters: {
            ManageCharactersDialog dialog(session_, messages_, DialogOwner(this));
            dialog.exec();
            break;
        }
        case Command::ManageRuneLibraries: {
            ManageRuneLibrariesDialog dialog(session_, messages_, DialogOwner(this));
            dialog.exec();
            break;
        }
        case Command::Options:
            // OK has already repainted the maps; the independent window follows the option.
            if (OptionsSheet::Open(session_, DialogOwner(this))) RefreshTreasureInfo();
            break;
        case Command::ExportToZerrin:
            RunZerrinExport(session_, messages_, this);
            break;
        case Command::FindTreasure: {
            // One box for the run: it stays open beside the map and keeps its last search.
            auto* box = findChild<FindTreasureDialog*>(QString(), Qt::FindDirectChildrenOnly);
            if (box == nullptr) box = new FindTreasureDialog(session_.GetWorld(), *this, this);
            box->Present();
            break;
        }
        case Command::IdentifyMapPicture: {
            // One window for the run, as the find box: it keeps its picture and candidates.
            auto* window = findChild<IdentifyPictureWindow*>(QString(), Qt::FindDirectChildrenOnly);
            if (window == nullptr) window = new IdentifyPictureWindow(session_, *this, this);
            window->Present();
            break;
        }
        case Command::PageSetup:
            RunPageSetup(session_, messages_, *printers_, printers_->Current(), DialogOwner(this),
                         DefaultPageSetupPrompt());
            break;
        case Command::Print:
            RunPrint(session_, messages_, *printers_, this, DefaultPrintSeams(messages_));
            break;
        case Command::Copy:
        case Command::NextRegion:
        case Command::PreviousRegion:
        case Command::NextTreasure:
        case Command::PreviousTreasure:
            // Only the region view acts on these; in the world view they do nothing.
            return false;
        default:
            return false;
    }
    UpdateCommandStates();
    return true;
}

void MainFrame::UpdateCommandStates() {
    if (actions_.empty()) return;
    auto enable = [this](int command, bool on) {
        if (QAction* action = Action(command)) action->setEnabled(on);
    };
    for (int command : {Command::Copy, Command::NextRegion, Command::PreviousRegion,
                        Command::NextTreasure, Command::PreviousTreasure})
        enable(command, false);
    for (int command : {Command::GotAMap, Command::CompletedAMap, Command::TreasureInformation,
                        Command::LevelInformation})
        enable(command, true);
    if (IsRegionViewActive()) {
        for (int command : {Command::Copy, Command::NextRegion, Command::PreviousRegion,
                            Command::NextTreasure, Command::PreviousTreasure})
            enable(command, regionView_->IsCommandEnabled(command));
    }
    if (QAction* onTop = Action(Command::StayOnTop)) onTop->setChecked(stayOnTop_);
    const QUndoStack& history = session_.UndoStack();
    for (auto [command, can, what, format, plain] :
         {std::tuple{Command::Undo, history.canUndo(), history.undoText(), StringId::UndoMenuText,
                     tr("&Undo")},
          std::tuple{Command::Redo, history.canRedo(), history.redoText(), StringId::RedoMenuText,
                     tr("&Redo")}}) {
        QAction* action = Action(command);
        if (action == nullptr) continue;
        action->setEnabled(can);
        // The menu names the change: "Undo Add Map: 43 - Scarecrow, level 3, Kira".
        action->setText(what.isEmpty() ? plain
                                       : QString::fromStdString(
                                             FormatText(LoadString(format), {what.toStdString()})));
    }
}

void MainFrame::ToggleStayOnTop() {
    stayOnTop_ = !stayOnTop_;
    SetStaysOnTop(*this, stayOnTop_);
    session_.SettingsFile().WriteStayOnTop(stayOnTop_);
}

void MainFrame::ShowAbout() {
    messages_.Show(FormatText(LoadString(StringId::AboutText),
                              {session_.GetPrefs().ProgramTitle, std::string(BRIX_VERSION)}) +
                       "\r\n\r\n" +
                       FormatText(LoadString(StringId::AboutUserFolder),
                                  {session_.GetPrefs().Paths.UserDirectory}),
                   MessageIcon::None, this);
}

}  // namespace brix
