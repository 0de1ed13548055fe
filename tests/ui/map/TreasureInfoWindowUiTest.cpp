#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/base/Commands.h"
#include "core/data/TreasureCatalog.h"
#include "core/map/CommandIcons.h"
#include "core/map/DrawPrimitives.h"
#include "core/map/MapGeometry.h"
#include "core/output/TreasureInfo.h"
#include "support/RecordingMessages.h"
#include "support/RegionFixture.h"
#include "ui/map/TreasureInfoWindow.h"

namespace brix {
namespace {

constexpr std::uint32_t Green = 0x0000FF00u;  // colour references are 0x00BBGGRR
constexpr std::uint32_t Blue = 0x00FF0000u;

// Records the map inventory requests and can act in the dialog's place.
class ScriptedHost : public test::RecordingHost {
public:
    std::function<void(int treasure, bool adding)> Inventory;
    void OpenMapInventory(int treasure, bool adding) override {
        RecordingHost::OpenMapInventory(treasure, adding);
        if (Inventory) Inventory(treasure, adding);
    }
};

}  // namespace

class TreasureInfoWindowUiTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    TreasureCatalog catalog_;
    ScriptedHost host_;
    test::RecordingMessages messages_;
    std::unique_ptr<CommandIcons> icons_;

    std::unique_ptr<TreasureInfoWindow> Open(
        int treasure, TreasureInfoWindow::Mode mode = TreasureInfoWindow::Mode::Independent) {
        auto window =
            std::make_unique<TreasureInfoWindow>(catalog_, host_, messages_, *icons_, mode);
        // Deleting on close is the frame's business; here the test owns the window.
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->SelectInfoTreasure(treasure);
        return window;
    }

    static QString ListText(TreasureInfoWindow& window) {
        return window.findChild<QComboBox*>("TreasureList")->currentText();
    }
    static QString Text(TreasureInfoWindow& window) {
        return window.findChild<QPlainTextEdit*>("TreasureText")->toPlainText();
    }
    static QAction* ToolbarAction(TreasureInfoWindow& window, int command) {
        for (QAction* action : window.findChild<QToolBar*>("TreasureInfoToolbar")->actions())
            if (!action->isSeparator() && action->data().toInt() == command) return action;
        return nullptr;
    }

    // The colour of the tack's head in the close-up, found where the tack of the shown
    // treasure must stand.
    QRgb HeadColour(TreasureInfoWindow& window) {
        TreasureInfoModel model(catalog_);
        model.SelectTreasure(window.SelectedTreasure());
        const IntRect source = model.CloseUpSource();
        const Treasure& treasure = *catalog_.FindTreasure(window.SelectedTreasure());
        const IntPoint topLeft =
            ApplyTackCorrection({38 + treasure.Location.X / 2 - source.Left,
                                 38 + treasure.Location.Y / 2 - source.Top - TackHotSpot.Y},
                                catalog_.Display.TacksCorrect);
        const QImage& head = catalog_.Drawing.TackHeadMask;
        for (int y = 0; y < head.height(); ++y)
            for (int x = 0; x < head.width(); ++x)
                if (qGray(head.pixel(x, y)) < 128) {
                    const QImage picture = window.findChild<QWidget*>("CloseUp")->grab().toImage();
                    return picture.pixel(topLeft.X + x, topLeft.Y + y) | 0xFF000000u;
                }
        return 0;
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        icons_ = std::make_unique<CommandIcons>();
    }

    // Treasures 1 and 10 to 19 in region 1, spread over a 2000 × 1600 multimap.
    void init() {
        catalog_ = TreasureCatalog();
        catalog_.Paths.SettingsPath = dir_.filePath("brix-tools.ini").toStdString();
        QFile::remove(dir_.filePath("brix-tools.ini"));
        test::LoadRegionPictures(catalog_);
        catalog_.Display.TackWithColor = Green;
        catalog_.Display.TackWithoutColor = Blue;
        Region region;
        region.Index = 1;
        region.Name = "Moor";
        catalog_.StoreRegion(region);
        for (int index : {1, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}) {
            Treasure treasure;
            treasure.Index = index;
            treasure.Region = 1;
            treasure.Name = "Spot " + std::to_string(index);
            treasure.Location = {180 * index, 140 * index};
            catalog_.StoreTreasure(treasure);
        }
        host_ = ScriptedHost();
        messages_ = test::RecordingMessages();
    }

    void presetSelectsItsItem() {
        struct Row {
            int Preset;
            const char* Item;
        };
        const Row rows[] = {
            {0, "1 - Spot 1"},  // no particular treasure: the first item
            {1, "1 - Spot 1"},  // not "10 - ...", which begins with the same digit
        };
        for (const Row& row : rows) {
            const auto window = Open(row.Preset);
            QCOMPARE(ListText(*window), QString(row.Item));
            // Asked again while another treasure is shown, as the frame reuses its window.
            window->SelectInfoTreasure(15);
            window->SelectInfoTreasure(row.Preset);
            QCOMPARE(ListText(*window), QString(row.Item));
            QVERIFY2(Text(*window).startsWith(QStringLiteral("Treasure ") + row.Item + "\n"),
                     row.Item);
        }
    }

    // The user picks another item; Next at the end (of all treasures, or of those with maps
    // while only those are stepped to) does nothing.
    void listAndSteps() {
        const auto window = Open(1);
        window->findChild<QComboBox*>("TreasureList")->setCurrentIndex(4);
        QCOMPARE(window->SelectedTreasure(), 13);
        QVERIFY(Text(*window).startsWith(QStringLiteral("Treasure 13 - Spot 13\n")));

        window->SelectInfoTreasure(19);
        ToolbarAction(*window, Command::NextTreasure)->trigger();
        QCOMPARE(ListText(*window), QStringLiteral("19 - Spot 19"));
        test::SetMaps(catalog_, {12, 14});
        MapFilter options;
        options.OnlyTreasuresWithMaps = true;
        catalog_.SetFilterOptions(options);
        ToolbarAction(*window, Command::PreviousTreasure)->trigger();
        QCOMPARE(window->SelectedTreasure(), 14);
        ToolbarAction(*window, Command::NextTreasure)->trigger();
        QCOMPARE(window->SelectedTreasure(), 14);
        QVERIFY(Text(*window).startsWith(QStringLiteral("Treasure 14 - Spot 14\n")));
    }

    // The small toolbar; its map buttons ask the host for the map inventory of the treasure
    // shown, and what that changed shows at once, even where nobody forwards the catalogue's
    // notification.
    void toolbarCommands() {
        const auto window = Open(12);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        auto* toolbar = window->findChild<QToolBar*>("TreasureInfoToolbar");
        QCOMPARE(toolbar->iconSize(), QSize(16, 16));
        QCOMPARE(ToolbarAction(*window, Command::NextTreasure)->toolTip(),
                 QStringLiteral("Next Treasure"));

        QVERIFY(Text(*window).contains(QStringLiteral("\nMaps: (None)\n")));
        QCOMPARE(HeadColour(*window), RgbFromColourRef(Blue));
        host_.Inventory = [this](int treasure, bool) { test::GiveMap(catalog_, treasure); };
        ToolbarAction(*window, Command::GotAMap)->trigger();
        QVERIFY(Text(*window).contains(QStringLiteral("\nMaps: L1=1\n")));
        QCOMPARE(HeadColour(*window), RgbFromColourRef(Green));
        host_.Inventory = nullptr;
        window->SelectInfoTreasure(15);
        ToolbarAction(*window, Command::CompletedAMap)->trigger();
        QCOMPARE(host_.Calls,
                 (std::vector<std::string>{"inventory 12 add", "inventory 15 remove"}));

        ToolbarAction(*window, Command::Copy)->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QString(Text(*window)).replace("\n", "\r\n"));
        QVERIFY(messages_.Shown.empty());
    }

    // The map inventory runs its own loop; if the window is destroyed meanwhile (its main
    // window closed, or the option switched off), returning to it must touch nothing.
    void windowGoneWhileTheMapDialogRuns() {
        auto* window = new TreasureInfoWindow(catalog_, host_, messages_, *icons_,
                                              TreasureInfoWindow::Mode::Independent);
        QPointer<TreasureInfoWindow> guard(window);
        window->SelectInfoTreasure(13);
        host_.Inventory = [&guard](int, bool) { delete guard.data(); };
        QVERIFY(window->ExecuteCommand(Command::GotAMap));
        QVERIFY(guard.isNull());
        QCOMPARE(host_.Calls, (std::vector<std::string>{"inventory 13 add"}));
    }

    // Without any treasure the list is empty, the text too, and the buttons do nothing.
    void emptyCatalogue() {
        catalog_.Treasures.clear();
        const auto window = Open(1);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(window->findChild<QComboBox*>("TreasureList")->count(), 0);
        QCOMPARE(window->SelectedTreasure(), 0);
        QCOMPARE(Text(*window), QString());
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        for (int command : {Command::Copy, Command::NextTreasure, Command::PreviousTreasure})
            ToolbarAction(*window, command)->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        QCOMPARE(window->SelectedTreasure(), 0);
        // The bare scroll: parchment in the middle, no tack.
        const QImage picture = window->findChild<QWidget*>("CloseUp")->grab().toImage();
        QCOMPARE(picture.size(), QSize(InfoCloseUpWidth, InfoCloseUpHeight));
        QCOMPARE(picture.pixel(123, 120) | 0xFF000000u,
                 catalog_.Drawing.ScrollBitmap.pixel(38 + 85, 38 + 82) | 0xFF000000u);
    }

    // Stay on Top keeps the window where it is and open (a modal run goes on), and the next
    // window starts in the same state.
    void stayOnTopIsRemembered() {
        QCOMPARE(catalog_.SettingsFile().TreasureStayOnTop(), false);
        auto* window = new TreasureInfoWindow(catalog_, host_, messages_, *icons_,
                                              TreasureInfoWindow::Mode::Modal);
        QPointer<TreasureInfoWindow> guard(window);
        bool checked = false;
        QTimer::singleShot(0, window, [&] {
            const QRect before = window->geometry();
            ToolbarAction(*window, Command::StayOnTop)->trigger();
            QCoreApplication::processEvents();
            checked = window->isVisible() && window->geometry() == before &&
                      window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) &&
                      ToolbarAction(*window, Command::StayOnTop)->isChecked();
            window->reject();
        });
        QCOMPARE(window->exec(), int(QDialog::Rejected));
        QVERIFY(checked);
        QVERIFY(catalog_.SettingsFile().TreasureStayOnTop());
        delete guard.data();

        const auto next = Open(1);
        QVERIFY(next->IsTopMost());
        QVERIFY(next->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(ToolbarAction(*next, Command::StayOnTop)->isChecked());
        ToolbarAction(*next, Command::StayOnTop)->trigger();
        QVERIFY(!next->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!catalog_.SettingsFile().TreasureStayOnTop());
    }

    // Modal: owned, with a Close button that is the default. Independent: a window of its
    // own that can be minimised, closed from its title bar or with Escape, and then deleted.
    void bothForms() {
        QWidget owner;
        TreasureInfoWindow modal(catalog_, host_, messages_, *icons_,
                                 TreasureInfoWindow::Mode::Modal, &owner);
        QCOMPARE(modal.parentWidget(), &owner);
        auto* close = modal.findChild<QPushButton*>("Close");
        QVERIFY(close != nullptr && close->isDefault());

        auto* window = new TreasureInfoWindow(catalog_, host_, messages_, *icons_,
                                              TreasureInfoWindow::Mode::Independent, &owner);
        QPointer<TreasureInfoWindow> guard(window);
        QVERIFY(window->parentWidget() == nullptr);
        QVERIFY(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QCOMPARE(window->windowType(), Qt::Window);
        QVERIFY(window->findChild<QPushButton*>("Close") == nullptr);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(!window->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(guard.isNull());
    }
};

}  // namespace brix

QTEST_MAIN(brix::TreasureInfoWindowUiTest)
#include "TreasureInfoWindowUiTest.moc"
