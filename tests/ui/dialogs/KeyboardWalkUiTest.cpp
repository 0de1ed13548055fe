// Every dialog and window of the program worked with the keyboard alone: where Tab goes, what
// Enter does from inside a control, and that Escape leaves.

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTabWidget>
#include <QtTest>

#include <functional>

#include "core/base/ToolbarLayout.h"
#include "core/data/CharacterManager.h"
#include "core/data/RuneLibraryManager.h"
#include "core/map/CommandIcons.h"
#include "core/output/ZerrinExport.h"
#include "support/Records.h"
#include "support/RegionFixture.h"
#include "support/TempSession.h"
#include "support/Widgets.h"
#include "ui/dialogs/FilterDialog.h"
#include "ui/dialogs/FindTreasureDialog.h"
#include "ui/dialogs/LevelInfoDialog.h"
#include "ui/dialogs/MapInventoryDialog.h"
#include "ui/dialogs/OptionsSheet.h"
#include "ui/frame/ToolbarCustomizeDialog.h"
#include "ui/hunt/HuntPlanWindow.h"
#include "ui/hunt/IdentifyPictureWindow.h"
#include "ui/manage/CharacterDialogs.h"
#include "ui/manage/RuneLibraryDialogs.h"
#include "ui/map/TreasureInfoWindow.h"
#include "ui/output/PageSetupDialog.h"
#include "ui/output/PrintContentDialog.h"
#include "ui/output/PrintProgressDialog.h"
#include "ui/output/ZerrinExportDialog.h"

namespace brix {
namespace {

// What Enter does: presses the default button that accepts, presses the one that closes
// (rejects or hides), or belongs to the control and leaves the window open.
enum class Enter { Accepts, Closes, Stays };

}  // namespace

class KeyboardWalkUiTest : public QObject {
    Q_OBJECT

    test::TempSession temp_;
    test::RecordingHost host_;

private Q_SLOTS:
    // Each row opens its window, walks Tab once round from the control that has the focus (or
    // `start`), presses Enter in `keysAt`, then opens it again and presses Escape there.
    void tabEnterAndEscape() {
        using Open = std::function<QDialog*()>;
        using Info = TreasureInfoWindow::Mode;
        struct Row {
            Open Make;
            const char* Start;  // nullptr: the control the window gives the focus to
            // The focus, then where each Tab takes it (button boxes as laid out here: OK left of
            // Cancel)
            const char* Tabs;
            const char* KeysAt;
            Enter OnEnter;
            const char* EnterCall = nullptr;  // what Enter asked of the main window
            bool GoneAfterEscape = false;     // deleted once closed
        };
        Session& s = temp_.Sess;
        test::RecordingMessages& messages = temp_.Messages;
        test::FillRegionSession(s);
        test::LoadRegionPictures(s);
        test::AddLevels(s.GetWorld(), {1, 2, 3});
        test::GiveMap(s, 22);
        s.GetUser().RuneLibraries = {{false, "Mine", {{"North", {1, 3}}}}};
        const CommandIcons icons;
        CharacterManager characters(s, messages);
        RuneLibraryManager libraries(s, messages);
        RuneLibraryDraft draft = libraries.StartDraft(0);
        ZerrinExport exporter(s, ZerrinCategories({{"Smiths", true}, {"Mines", false}}));
        MapFilter levelsOn;  // level 1 shown, the others hidden
        levelsOn.LevelFilterOn = true;
        levelsOn.ShownLevels.fill(0);
        levelsOn.ShownLevels[0] = 1;
        // clang-format off
        const Row rows[] = {
            {[&] { return new FilterDialog(s.GetWorld(), levelsOn); }, nullptr,
             "OnlyTreasuresWithMaps OnlyLabelsWithMaps LevelFilterOn ShownLevels AddLevel "
             "RemoveLevel HiddenLevels Ok Cancel OnlyTreasuresWithMaps", "AddLevel",
             Enter::Accepts},
            {[&] {
                 auto* box = new FindTreasureDialog(s.GetWorld(), host_);
                 test::Find<QLineEdit>(*box, "FindText").setText(QStringLiteral("Cache 22"));
                 return box;
             }, nullptr, "FindText FindResults FindText", "FindText", Enter::Stays, "region 4 22"},
            {[&] { return new LevelInfoDialog(s.GetWorld(), 1); }, nullptr,
             "LevelChooser LevelText CloseButton LevelChooser", "LevelText", Enter::Accepts},
            {[&] { return new MapInventoryDialog(s, messages, 22, true); }, nullptr,
             "TreasureList CharacterField LevelList Ok Cancel TreasureList", "CharacterField",
             Enter::Accepts},
            {[] { return new OptionsSheet(QStringLiteral("Brix Tools"), DisplayOptions()); },
             nullptr, "qt_tabwidget_tabbar TreasureInfoInd Ok Cancel qt_tabwidget_tabbar",
             "TreasureInfoInd", Enter::Accepts},
            {[&] {
                 auto* sheet = new OptionsSheet(QStringLiteral("Brix Tools"), DisplayOptions());
                 test::Find<QTabWidget>(*sheet, "Pages").setCurrentIndex(1);
                 return sheet;
             }, "BeautyOverSpeed", "BeautyOverSpeed TacksCorrect WithoutHighLight WithHighLight "
             "TackWithoutColor TackWithColor Ok Cancel qt_tabwidget_tabbar BeautyOverSpeed",
             "TackWithColor", Enter::Accepts},
            {[] {
                 auto* dialog = new ToolbarCustomizeDialog(
                     {ToolbarButtonTable[0], ToolbarButtonTable[1], ToolbarButtonTable[2]},
                     ToolbarTextUnder, ToolbarLargeIcons, [](int) { return QIcon(); });
                 // A middle button chosen: every button is enabled and on the way.
                 test::Find<QListWidget>(*dialog, "CurrentButtons").setCurrentRow(1);
                 return dialog;
             }, "AvailableButtons", "AvailableButtons Add Remove CurrentButtons Reset MoveUp "
             "MoveDown TextOptions IconOptions Close AvailableButtons", "AvailableButtons",
             Enter::Accepts},
            {[&] { return new HuntPlanWindow(s, host_, messages); }, nullptr,
             "qt_tabwidget_tabbar RecallCost PlanTable PlanTotal ShowRoute Completed Close "
             "qt_tabwidget_tabbar", "PlanTable", Enter::Stays, "region 4 22"},
            {[&] {
                 auto* window = new HuntPlanWindow(s, host_, messages);
                 test::Find<QTabWidget>(*window, "HuntPlanPages").setCurrentIndex(1);
                 return window;
             }, "CollectionTable", "CollectionTable LevelChart Close qt_tabwidget_tabbar "
             "CollectionTable", "CollectionTable", Enter::Stays},
            {[&] { return new IdentifyPictureWindow(s, host_); }, nullptr,
             "OpenPicture PastePicture Candidates OpenPicture", "Candidates", Enter::Stays},
            {[&] { return new ManageCharactersDialog(s, messages); }, nullptr,
             "Characters New Modify Delete Close Characters", "Characters", Enter::Closes},
            {[&] { return new CharacterConfigDialog(characters, 0); }, nullptr,
             "Name Ok Cancel Name", "Name", Enter::Accepts},
            {[&] { return new ManageRuneLibrariesDialog(s, messages); }, nullptr,
             "RuneLibraries New Modify Delete Close RuneLibraries", "RuneLibraries", Enter::Closes},
            {[&] { return new RuneLibraryConfigDialog(s.GetWorld(), libraries, 0); }, nullptr,
             "RuneLibraryName RuneBooks New Modify Delete Ok Cancel RuneLibraryName", "RuneBooks",
             Enter::Accepts},
            {[&] { return new RuneBookConfigDialog(s.GetWorld(), draft, 0); }, nullptr,
             "Name AvailableTreasures Add Remove TreasuresInRuneBook Ok Cancel Name",
             "AvailableTreasures", Enter::Accepts},
            {[&] { return new TreasureInfoWindow(s, host_, messages, icons, Info::Modal); },
             nullptr, "TreasureList TreasureText Close TreasureList", "TreasureText",
             Enter::Accepts},
            {[&] { return new TreasureInfoWindow(s, host_, messages, icons, Info::Independent); },
             nullptr, "TreasureList TreasureText TreasureList", "TreasureText", Enter::Stays,
             nullptr, true},
            {[] { return new PageSetupDialog({QPageSize(QPageSize::A4), {}, {}, {}}); }, nullptr,
             "Paper Portrait Units LeftMargin RightMargin TopMargin BottomMargin Ok Cancel Paper",
             "LeftMargin", Enter::Accepts},
            {[&] { return new PrintContentDialog(s.GetWorld(), s.Filter(), {{}}, {}, nullptr); },
             nullptr, "Content MapOption Printer Terse OnlyTreasuresWithMaps OnlyLabelsWithMaps "
             "LevelFilterOn Ok Cancel PageSetup Content", "LevelFilterOn", Enter::Accepts},
            {[] { return new PrintProgressDialog("Brix Tools", "PDF file", "listing.pdf"); },
             nullptr, "Cancel Cancel", "Cancel", Enter::Closes},
            {[&] {  // Qt's own controls of the file dialog are left out after its Save button
                 auto* dialog = new ZerrinExportDialog(exporter, messages);
                 dialog->selectFile(QString::fromStdString(temp_.Path("keys.map")));
                 return dialog;
             }, "fileTypeCombo", "fileTypeCombo PlaceTypes FilterButton QPushButton_Save",
             "PlaceTypes", Enter::Accepts},
        };
        // clang-format on
        QStringList faults;
        for (const Row& row : rows) {
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
                host_.Calls.clear();
                const QStringList tabs = QString::fromLatin1(row.Tabs).split(QLatin1Char(' '));
                QPointer<QDialog> dialog = row.Make();
                const QString where = QStringLiteral("%1 from %2, key %3")
                                          .arg(dialog->metaObject()->className(), tabs[0])
                                          .arg(key, 0, 16);
                dialog->show();
                dialog->activateWindow();
                if (!QTest::qWaitForWindowActive(dialog)) faults << where + ": not active";
                if (key == Qt::Key_Return) {
                    if (row.Start != nullptr) test::Find<QWidget>(*dialog, row.Start).setFocus();
                    const QStringList walked = test::TabWalk(tabs.size() - 1);
                    if (walked != tabs) faults << where + ": Tab walks " + walked.join(", ");
                }
                test::Find<QWidget>(*dialog, row.KeysAt).setFocus();
                QTest::keyClick(QApplication::focusWidget(), key);
                const Enter expected = key == Qt::Key_Escape ? Enter::Closes : row.OnEnter;
                const int result =
                    expected == Enter::Accepts ? QDialog::Accepted : QDialog::Rejected;
                if (dialog.isNull() || dialog->isVisible() != (expected == Enter::Stays) ||
                    (expected != Enter::Stays && dialog->result() != result))
                    faults << where + ": wrong outcome";
                if (host_.Calls.size() != (key == Qt::Key_Return && row.EnterCall ? 1u : 0u) ||
                    (!host_.Calls.empty() && host_.Calls[0] != row.EnterCall))
                    faults << where + ": asked " + QString::number(host_.Calls.size());
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                if (dialog.isNull() != (key == Qt::Key_Escape && row.GoneAfterEscape))
                    faults << where + (dialog ? ": not deleted" : ": deleted");
                delete dialog.data();
            }
        }
        for (const QString& fault : faults) qWarning("%s", qPrintable(fault));
        QVERIFY(faults.isEmpty());
    }
};

}  // namespace brix

QTEST_MAIN(brix::KeyboardWalkUiTest)
#include "KeyboardWalkUiTest.moc"
