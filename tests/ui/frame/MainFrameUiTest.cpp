#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Startup.h"
#include "core/base/Commands.h"
#include "core/base/Strings.h"
#include "core/base/ToolbarLayout.h"
#include "core/map/CommandIcons.h"
#include "core/map/MapImages.h"
#include "support/MapPictureQuery.h"
#include "support/ModalDialogs.h"
#include "support/RegionFixture.h"
#include "support/TestFiles.h"
#include "support/UiFrame.h"
#include "support/Widgets.h"
#include "ui/dialogs/MapInventoryDialog.h"
#include "ui/frame/MainToolbar.h"
#include "ui/frame/ToolbarCustomizeDialog.h"
#include "ui/hunt/IdentifyPictureWindow.h"
#include "ui/map/RegionMapView.h"
#include "ui/map/TreasureInfoWindow.h"

namespace brix {
namespace {

using test::Find;

// The open Treasure Information windows, whoever owns them, deferred deletions done.
QList<TreasureInfoWindow*> InfoWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QList<TreasureInfoWindow*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<TreasureInfoWindow*>(widget)) windows << window;
    return windows;
}

QString Text(const TreasureInfoWindow& window) {
    return Find<QPlainTextEdit>(window, "TreasureText").toPlainText();
}

QAction* ToolbarAction(TreasureInfoWindow& window, int command) {
    for (QAction* action : Find<QToolBar>(window, "TreasureInfoToolbar").actions())
        if (!action->isSeparator() && action->data().toInt() == command) return action;
    return nullptr;
}

// Records the map inventory requests and can act in the dialog's place.
class ScriptedHost : public test::RecordingHost {
public:
    std::function<void(int treasure, bool adding)> Inventory;
    void OpenMapInventory(int treasure, bool adding) override {
        RecordingHost::OpenMapInventory(treasure, adding);
        if (Inventory) Inventory(treasure, adding);
    }
};

QToolButton* ButtonOf(const MainToolbar& toolbar, int command) {
    for (QAction* action : toolbar.actions())
        if (!action->isSeparator() && action->data().toInt() == command)
            return qobject_cast<QToolButton*>(toolbar.widgetForAction(action));
    return nullptr;
}

// The buttons the toolbar really shows, in stored form (0 for a separator widget).
QString ShownList(const MainToolbar& toolbar) {
    QStringList shown;
    for (QAction* action : toolbar.actions())
        shown << QString::number(action->isSeparator() ? 0 : action->data().toInt());
    return shown.join(',');
}

// The texts a right click near the widget's right end offers, none without a menu; every
// offer is then taken.
QStringList RightClick(QWidget& target) {
    const QPoint at(target.width() - 3, target.height() / 2);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, target.mapToGlobal(at));
    QApplication::sendEvent(&target, &event);
    QStringList offered;
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        for (QAction* action : menu->actions())
            if (action->isVisible()) offered << action->text();
        for (QAction* action : menu->actions()) action->trigger();
        menu->close();
    }
    return offered;
}

MainToolbar& Toolbar(MainFrame& frame) {
    return Find<MainToolbar>(frame, "MainToolbar");
}

}  // namespace

class MainFrameUiTest : public QObject {
    Q_OBJECT

    test::UiFrame ui_;
    ScriptedHost host_;  // for a Treasure Information window on its own
    std::unique_ptr<CommandIcons> icons_;

    MainFrame& Open(bool show = true) { return ui_.Open(show); }
    ToolbarCustomizeDialog* Customizing() {
        return ui_.Frame->findChild<ToolbarCustomizeDialog*>();
    }

    std::unique_ptr<TreasureInfoWindow> OpenInfo(
        int treasure, TreasureInfoWindow::Mode mode = TreasureInfoWindow::Mode::Independent) {
        auto window =
            std::make_unique<TreasureInfoWindow>(ui_.Sess, host_, ui_.Messages, *icons_, mode);
        // Deleting on close is the frame's business; here the test owns the window.
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->SelectInfoTreasure(treasure);
        return window;
    }

private Q_SLOTS:
    void initTestCase() { icons_ = std::make_unique<CommandIcons>(); }

    // The world of support/RegionFixture.h; characters Ann (current) and Bob.
    void init() {
        ui_.Reset();
        QFile::remove(QString::fromStdString(ui_.Path("brix-tools.ini")));
        test::FillRegionSession(ui_.Sess);
        test::LoadRegionPictures(ui_.Sess);
        for (const char* name : {"Ann", "Bob"}) ui_.Sess.GetUser().FindOrAddCharacter(name);
        ui_.Sess.SetCurrentCharacter(&ui_.Sess.GetUser().Characters[0]);
        host_ = ScriptedHost();
    }

    void cleanup() {
        ui_.Frame.reset();
        QVERIFY(InfoWindows().isEmpty());
    }

    // Stay on Top is written at each toggle and changes the shown window in place: it is never
    // hidden (no flicker), keeps its window and stays maximised. The normal placement is kept
    // while maximised and comes back at the next start. One saved on a larger screen or at a
    // smaller scale factor opens the window whole on the screen it lands on.
    void stayOnTopAndWindowPlacement() {
        const QRect normal(60, 70, 700, 500);
        MainFrame& first = Open();
        first.setGeometry(normal);
        first.showMaximized();
        const QWindow* handle = first.windowHandle();
        struct HideCounter : QObject {
            int Hides = 0;
            bool eventFilter(QObject*, QEvent* event) override {
                Hides += event->type() == QEvent::Hide;
                return false;
            }
        } counter;
        first.installEventFilter(&counter);
        for (const bool on : {true, false}) {
            first.ExecuteCommand(Command::StayOnTop);
            QCoreApplication::processEvents();
            QCOMPARE(first.windowFlags().testFlag(Qt::WindowStaysOnTopHint), on);
            QCOMPARE(ui_.Sess.SettingsFile().StayOnTop(), on);
        }
        QCOMPARE(counter.Hides, 0);
        QCOMPARE(first.windowHandle(), handle);
        QVERIFY(first.isVisible() && first.isMaximized());
        first.close();
        ui_.Frame.reset();
        const auto stored = ui_.Sess.SettingsFile().WindowPlacement();
        QVERIFY(stored.has_value());
        QCOMPARE(
            QRect(QPoint(stored->Left, stored->Top), QPoint(stored->Right - 1, stored->Bottom - 1)),
            normal);
        MainFrame& second = Open(false);  // reads the file the first one wrote
        QCOMPARE(second.geometry(), normal);
        QVERIFY(!second.isMaximized());

        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect rows[][2] = {
            {QRect(area.left() + 50, area.top() + 50, area.width() * 2, area.height() * 2), area},
            {QRect(area.right() - 99, area.bottom() - 49, 300, 200),
             QRect(area.right() - 299, area.bottom() - 199, 300, 200)},
        };
        for (const auto& [saved, expected] : rows) {
            ui_.Sess.SettingsFile().WriteWindowPlacement(
                {saved.left(), saved.top(), saved.right() + 1, saved.bottom() + 1});
            QCOMPARE(Open(false).geometry(), expected);
        }
    }

    // The map views tell a text to show, even an empty one, apart from the idle "Ready".
    void statusTextOrReady() {
        MainFrame& frame = Open(false);
        QStatusBar* bar = frame.statusBar();
        frame.ShowStatusText("");
        QCOMPARE(bar->currentMessage(), QString(""));
        frame.ShowReadyText();
        QCOMPARE(bar->currentMessage(), QString("Ready"));
        frame.ShowStatusText("");
        // A message cleared by anyone else still brings back "Ready".
        bar->showMessage("tip");
        bar->clearMessage();
        QCOMPARE(bar->currentMessage(), QString("Ready"));
    }

    // No right click offers to hide the toolbar: nothing would bring it back. Its own offer,
    // Customize, opens one dialog; its choices apply and are written when it closes, by Escape
    // or the close box too, and the next start shows the buttons as the dialog left them.
    void toolbarCustomisation() {
        ui_.Sess.SettingsFile().WriteTBTextStyle(0);
        MainToolbar& toolbar = Toolbar(Open());
        QCOMPARE(RightClick(*ui_.Frame->menuBar()), QStringList());
        QCOMPARE(RightClick(toolbar), QStringList{"Customize..."});
        QPointer<ToolbarCustomizeDialog> dialog = Customizing();
        QVERIFY(dialog != nullptr && dialog->isVisible());
        toolbar.Customize();  // brought forward, not opened twice
        QCOMPARE(ui_.Frame->findChildren<ToolbarCustomizeDialog*>().size(), 1);
        Find<QComboBox>(*dialog, "TextOptions").setCurrentIndex(2);
        QCOMPARE(ui_.Setting("TBTextStyle"), std::string("0"));  // nothing written yet
        dialog->reject();
        QCOMPARE(ui_.Setting("TBTextStyle"), std::string("2"));
        QCOMPARE(ui_.Setting("TBButtons"),  // written though unchanged
                 std::string("40002,0,40003,40012,40011,0,40014,40013,40005,40008,40009,0,57664"));
        QToolButton* button = ButtonOf(toolbar, 40002);
        QVERIFY(button->toolButtonStyle() == Qt::ToolButtonTextBesideIcon);
        QVERIFY(button->width() >= button->sizeHint().width());  // the label is never squeezed
        QTRY_VERIFY(dialog.isNull());

        // Buttons are added after the selected one, or at the end with none selected. The
        // toolbar follows every step.
        toolbar.Customize();
        dialog = Customizing();
        auto& available = Find<QListWidget>(*dialog, "AvailableButtons");
        auto& current = Find<QListWidget>(*dialog, "CurrentButtons");
        const auto press = [&](const char* name) {
            Find<QPushButton>(*dialog, name).click();
            QCOMPARE(ShownList(toolbar),
                     QString::fromStdString(FormatToolbarButtons(dialog->Buttons())));
        };
        const auto add = [&](const QString& text) {
            available.setCurrentItem(available.findItems(text, Qt::MatchExactly).value(0));
            press("Add");
        };
        current.setCurrentRow(0);
        add("Print");
        add("Copy");
        current.setCurrentRow(0);
        press("Remove");
        current.setCurrentRow(-1);
        add("View World");
        Find<QComboBox>(*dialog, "IconOptions").setCurrentIndex(0);
        Find<QComboBox>(*dialog, "TextOptions").setCurrentIndex(0);
        QCOMPARE(toolbar.iconSize(), QSize(24, 24));
        Find<QPushButton>(*dialog, "Close").click();
        QTRY_COMPARE(ButtonOf(toolbar, 40002)->size(), QSize(23, 23));
        QCOMPARE(ui_.Setting("TBIconStyle"), std::string("0"));
        const std::string expected =
            "57607,57634,0,40003,40012,40011,0,40014,40013,40005,40008,40009,0,57664,40002";
        QCOMPARE(ui_.Setting("TBButtons"), expected);
        QCOMPARE(ShownList(Toolbar(Open())), QString::fromStdString(expected));  // the next start
    }

    // Treasure Information as its own window: one, reused and brought back from the taskbar,
    // following the catalogue's changes and the current character, deleted once closed and then
    // opened anew. Closing the main window takes it along; the frame's destruction leaves none
    // behind (the user data are written next), even before deferred deletions run.
    // Ctrl+V, pressed through the window system as a player does, lists the treasure whose
    // close-up the picture shows; Enter shows it in its region. A clipboard without a picture
    // is said so.
    void pastedPictureIsIdentifiedAndEnterShowsIt() {
        QImage scribble(1600, 1200, QImage::Format_RGB32);
        scribble.fill(Qt::white);
        QPainter painter(&scribble);
        test::Draws draws(99);
        for (int stroke = 0; stroke < 260; ++stroke) {
            QPointF at(draws.Uniform(0, 1600), draws.Uniform(0, 1200));
            double heading = draws.Uniform(0, 6.3);
            for (int step = 0; step < 40; ++step) {
                heading += draws.Uniform(-0.6, 0.6);
                const QPointF next = at + QPointF(8 * std::cos(heading), 8 * std::sin(heading));
                painter.drawLine(at, next);
                at = next;
            }
        }
        painter.end();
        DrawingResources& drawing = ui_.Sess.GetWorld().Drawing;
        drawing.MultimapBitmap =
            NormalizeMonochrome(scribble.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither));
        drawing.MultimapSize = drawing.MultimapBitmap.size();
        MainFrame& frame = Open();
        QVERIFY(frame.ExecuteCommand(Command::IdentifyMapPicture));
        auto* window = frame.findChild<IdentifyPictureWindow*>();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        test::PictureChanges changes;
        changes.Scale = 1.2;
        changes.JpegQuality = 60;
        QGuiApplication::clipboard()->setImage(test::PictureOfCloseUp(ui_.Sess, 3, changes));
        QTest::keyClick(window->windowHandle(), Qt::Key_V, Qt::ControlModifier);
        QVERIFY(!window->ListedTreasures().empty());
        QCOMPARE(window->ListedTreasures().front(), 3);
        QTest::keyClick(&Find<QTreeWidget>(*window, "Candidates"), Qt::Key_Return);
        QVERIFY(frame.IsRegionViewActive());
        auto* view = frame.findChild<RegionMapView*>();
        QCOMPARE(view->ShownRegion(), 1);
        QCOMPARE(view->SelectedTreasure(), 3);

        QGuiApplication::clipboard()->setText("treasure 3");
        QTest::keyClick(window->windowHandle(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Find<QLabel>(*window, "IdentifyStatus").text(),
                 QString::fromStdString(LoadString(StringId::IdentifyNoClipboardPicture)));
    }

    void treasureInfoIndependentWindowIsReused() {
        ui_.Sess.GetPrefs().Display.TreasureInfoInd = true;
        MainFrame& frame = Open();
        frame.ShowTreasureInfo(22);
        QPointer<TreasureInfoWindow> window = InfoWindows().value(0);
        QVERIFY(window != nullptr);
        QVERIFY(Text(*window).contains("\nMaps: (None)\n"));
        test::GiveMap(ui_.Sess, 22);
        QVERIFY(Text(*window).contains("\nMaps: L1=1\n"));
        QMenu menu;  // another character chosen from the main window's menu
        frame.FillCharacterMenu(menu);
        menu.actions().at(1)->trigger();
        QVERIFY(Text(*window).contains("\nMaps: (None)\n"));

        window->showMinimized();
        frame.ShowWorldView();
        QVERIFY(frame.ExecuteCommand(Command::TreasureInformation));  // treasure 1
        QCOMPARE(InfoWindows(), (QList<TreasureInfoWindow*>{window}));
        QCOMPARE(window->SelectedTreasure(), 1);
        QVERIFY(!window->isMinimized() && window->isVisible());
        window->close();
        QCOMPARE(InfoWindows().size(), 0);
        frame.ShowTreasureInfo(3);
        QCOMPARE(InfoWindows().value(0)->SelectedTreasure(), 3);
        frame.RefreshTreasureInfo();  // the options dialog's refresh makes no second window
        QCOMPARE(InfoWindows().size(), 1);
        window = InfoWindows().value(0);
        frame.close();
        QVERIFY(window.isNull() || !window->isVisible());
        ui_.Frame.reset();
        QVERIFY(window.isNull());
    }

    // The Treasure Information window on its own: the map buttons ask the host for the map
    // inventory of the treasure shown, and what that changed shows at once, even where nobody
    // forwards the catalogue's notification. Copy puts the text with Windows line ends.
    void treasureInfoToolbarCommands() {
        auto window = OpenInfo(21);
        QVERIFY(Text(*window).contains(QStringLiteral("\nMaps: (None)\n")));
        host_.Inventory = [this](int treasure, bool) { test::GiveMap(ui_.Sess, treasure); };
        ToolbarAction(*window, Command::GotAMap)->trigger();
        QVERIFY(Text(*window).contains(QStringLiteral("\nMaps: L1=1\n")));
        ToolbarAction(*window, Command::Copy)->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QString(Text(*window)).replace("\n", "\r\n"));
        QVERIFY(ui_.Messages.Shown.empty());

        // The map inventory runs its own loop; should the window be destroyed meanwhile (its
        // main window closed, or the option switched off), returning to it touches nothing.
        const QPointer<TreasureInfoWindow> guard(window.get());
        host_.Inventory = [&window](int, bool) { window.reset(); };
        QVERIFY(guard->ExecuteCommand(Command::CompletedAMap));
        QVERIFY(guard.isNull());
        QCOMPARE(host_.Calls,
                 (std::vector<std::string>{"inventory 21 add", "inventory 21 remove"}));
    }

    // Stay on Top keeps a modal window where it is and open, and the next window starts in
    // the same state.
    void treasureInfoStayOnTopIsRemembered() {
        auto modal = OpenInfo(1, TreasureInfoWindow::Mode::Modal);
        TreasureInfoWindow* window = modal.get();
        bool checked = false;
        QTimer::singleShot(0, window, [&] {
            const QRect before = window->geometry();
            ToolbarAction(*window, Command::StayOnTop)->trigger();
            QCoreApplication::processEvents();
            checked = window->isVisible() && window->geometry() == before &&
                      window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            window->reject();
        });
        QCOMPARE(window->exec(), int(QDialog::Rejected));
        QVERIFY(checked);
        modal.reset();
        const auto next = OpenInfo(1);
        QVERIFY(next->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        ToolbarAction(*next, Command::StayOnTop)->trigger();
        QVERIFY(!ui_.Sess.SettingsFile().TreasureStayOnTop());
    }

    // From the region view's selected treasure through the dialog to the bytes of user.xml.
    void recordedMapsReachTheUserDataFile() {
        ui_.Reset();
        const std::string work = ui_.Path("");
        QVERIFY(test::WriteWorldArchive(work + "kestrel.zip", R"(<?xml version="1.0"?>
<brix-data>
<Level Index="1"><Name>One</Name></Level>
<Level Index="2"><Name>Two</Name></Level>
<Region Index="1"><Name>Fen</Name></Region>
<Region Index="2"><Name>Moor</Name></Region>
<Treasure Index="1"><Name>Well</Name><Region>1</Region><Location>40,40</Location></Treasure>
<Treasure Index="2"><Name>Mill</Name><Region>2</Region><Location>120,60</Location></Treasure>
<Treasure Index="3"><Name>Oak</Name><Region>1</Region><Location>60,50</Location></Treasure>
</brix-data>
)",
                                        256, 192, 2));
        QVERIFY(test::WriteFileBytes(work + "user.xml", R"(<?xml version="1.0"?>
<brix-data>
<Character><Name>Ann</Name><MapCounts Index="2">0,1</MapCounts></Character>
</brix-data>
)"));
        QVERIFY(test::WriteFileBytes(work + "brix-tools.ini", "[Settings]\nLastLevel=2\n"));
        test::RecordingMessages& messages = ui_.Messages;
        QVERIFY(StartUp(ui_.Sess, messages, {ui_.Dir.path().toStdString(), work + "brix-tools"}));

        MainFrame& frame = Open();
        // Runs the command with the name typed into the character field (null: left as it
        // is), then OK; gives the treasure, character and level the dialog opened on.
        const auto record = [&frame](int command, const QString& name) {
            QStringList opened;
            const auto shown =
                test::WhenDialogShown<MapInventoryDialog>([&](MapInventoryDialog& dialog) {
                    QVERIFY(dialog.parentWidget() == &frame);
                    auto& character = Find<QComboBox>(dialog, "CharacterField");
                    opened = {Find<QComboBox>(dialog, "TreasureList").currentText(),
                              character.currentText(),
                              Find<QComboBox>(dialog, "LevelList").currentText()};
                    if (!name.isNull()) {
                        character.lineEdit()->selectAll();
                        QTest::keyClicks(character.lineEdit(), name);
                    }
                    Find<QDialogButtonBox>(dialog, "Buttons").button(QDialogButtonBox::Ok)->click();
                    if (dialog.isVisible()) dialog.reject();  // refused: end the loop all the same
                });
            if (!frame.ExecuteCommand(command) || !*shown) opened.clear();
            return opened;
        };
        // Region 2 opens on treasure 2; Next Treasure selects treasure 3 (in region 1). The
        // first character was made current, the level comes from "LastLevel". A character
        // typed with blanks is created on Yes.
        messages.Answers = {true};
        frame.ShowRegionView(2, -1);
        frame.ExecuteCommand(Command::NextTreasure);
        QCOMPARE(record(Command::GotAMap, "  Cy "), (QStringList{"3 - Oak", "Ann", "2 - Two"}));
        // Completing Ann's map of treasure 2: the count drops to 0 and the entry is left out
        // of the file.
        frame.ShowRegionView(2, -1);
        QCOMPARE(record(Command::CompletedAMap, "ann"), (QStringList{"2 - Mill", "Cy", "2 - Two"}));
        frame.close();
        ui_.Frame.reset();
        ShutDown(ui_.Sess, messages);
        QCOMPARE(messages.Shown.size(), std::size_t(1));  // only the question for Cy
        const std::string expected =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\r\n"
            "<brix-data>\r\r\n"
            "\t<Character>\r\n"
            "\t\t<Name>Ann</Name>\r\n"
            "\t</Character>\r\n"
            "\t<Character>\r\n"
            "\t\t<Name>Cy</Name>\r\n"
            "\t\t<MapCounts Index=\"3\">0,1</MapCounts>\r\n"
            "\t</Character>\r\n"
            "</brix-data>\r\r\n";
        QCOMPARE(test::ReadFileBytes(work + "user.xml"), expected);
        const std::string settings = test::ReadFileBytes(work + "brix-tools.ini");
        QVERIFY2(settings.find("Character=Ann") != std::string::npos, settings.c_str());
    }

    // The program's loop ends when the main window closes, even with the independent Treasure
    // Information window open: otherwise the program would run on with its main window gone.
    // Last, as it runs the program's own loop.
    void closingTheMainWindowEndsTheProgram() {
        ui_.Sess.GetPrefs().Display.TreasureInfoInd = true;
        MainFrame& frame = Open();
        frame.ShowTreasureInfo(5);
        QTimer::singleShot(0, &frame, [&frame] { frame.close(); });
        QTimer watchdog;  // a loop that does not end by itself is ended with another code
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        watchdog.start(20000);
        QCOMPARE(QApplication::exec(), 0);
    }
};

}  // namespace brix

QTEST_MAIN(brix::MainFrameUiTest)
#include "MainFrameUiTest.moc"
