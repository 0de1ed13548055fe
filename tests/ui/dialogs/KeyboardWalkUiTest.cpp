// Every dialog and window of the program worked with the keyboard alone: where Tab goes, what
// Enter does from inside a control, and that Escape leaves.

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTabWidget>
#include <QtTest>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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

// The name a walk reports for a control: its object name, else its class and text (Qt's own
// controls of the file dialog have no name).
QString NameOf(const QWidget* widget) {
    if (widget == nullptr) return QStringLiteral("(nothing)");
    if (!widget->objectName().isEmpty()) return widget->objectName();
    return (QString::fromLatin1(widget->metaObject()->className()) + QLatin1Char(' ') +
            widget->property("text").toString().remove(QLatin1Char('&')))
        .trimmed();
}

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
        struct Row {
            const char* Name;
            Open Make;
            const char* Start;  // nullptr: the control the window gives the focus to
            QStringList Tabs;   // the focus, then where each Tab takes it (button boxes as laid
                                // out here: OK left of Cancel)
            const char* KeysAt;
            Enter OnEnter;
            std::vector<std::string> EnterCalls;  // what Enter asked of the main window
        };
        // Five regions with treasures (the region fixture), levels 1 to 3, a map of treasure 22
        // and a library with one book.
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
        const QList<PrintOutput> outputs{PrintOutput{}};
        MapFilter levelsOn;  // level 1 shown, the others hidden
        levelsOn.LevelFilterOn = true;
        levelsOn.ShownLevels.fill(0);
        levelsOn.ShownLevels[0] = 1;
        // clang-format off
        const Row rows[] = {
            {"FilterDialog", [&] { return new FilterDialog(s.GetWorld(), levelsOn); }, nullptr,
             {"OnlyTreasuresWithMaps", "OnlyLabelsWithMaps", "LevelFilterOn", "ShownLevels",
              "AddLevel", "RemoveLevel", "HiddenLevels", "Ok", "Cancel", "OnlyTreasuresWithMaps"},
             "AddLevel", Enter::Accepts, {}},
            {"FindTreasureDialog", [&] {
                 auto* box = new FindTreasureDialog(s.GetWorld(), host_);
                 test::Find<QLineEdit>(*box, "FindText").setText(QStringLiteral("Cache 22"));
                 return box;
             }, nullptr, {"FindText", "FindResults", "FindText"}, "FindText", Enter::Stays,
             {"region 4 22"}},
            {"LevelInfoDialog", [&] { return new LevelInfoDialog(s.GetWorld(), 1); }, nullptr,
             {"LevelChooser", "LevelText", "CloseButton", "LevelChooser"}, "LevelText",
             Enter::Accepts, {}},
            {"MapInventoryDialog", [&] { return new MapInventoryDialog(s, messages, 22, true); },
             nullptr, {"TreasureList", "CharacterField", "LevelList", "Ok", "Cancel", "TreasureList"},
             "CharacterField", Enter::Accepts, {}},
            {"OptionsSheet, Display page", [&] {
                 auto* sheet = new OptionsSheet(QStringLiteral("Brix Tools"), DisplayOptions());
                 test::Find<QTabWidget>(*sheet, "Pages").setCurrentIndex(1);
                 return sheet;
             }, "BeautyOverSpeed",
             {"BeautyOverSpeed", "TacksCorrect", "WithoutHighLight", "WithHighLight",
              "TackWithoutColor", "TackWithColor", "Ok", "Cancel", "qt_tabwidget_tabbar",
              "BeautyOverSpeed"},
             "TackWithColor", Enter::Accepts, {}},
            {"ToolbarCustomizeDialog", [] {
                 auto* dialog = new ToolbarCustomizeDialog(
                     {ToolbarButtonTable[0], ToolbarButtonTable[1], ToolbarButtonTable[2]},
                     ToolbarTextUnder, ToolbarLargeIcons, [](int) { return QIcon(); });
                 test::Find<QListWidget>(*dialog, "CurrentButtons").setCurrentRow(1);
                 test::Find<QListWidget>(*dialog, "AvailableButtons").setFocus();
                 return dialog;
             }, nullptr,
             {"AvailableButtons", "Add", "Remove", "CurrentButtons", "Reset", "MoveUp", "MoveDown",
              "TextOptions", "IconOptions", "Close", "AvailableButtons"},
             "AvailableButtons", Enter::Accepts, {}},
            {"HuntPlanWindow", [&] { return new HuntPlanWindow(s, host_, messages); }, nullptr,
             {"qt_tabwidget_tabbar", "RecallCost", "PlanTable", "PlanTotal", "ShowRoute",
              "Completed", "Close", "qt_tabwidget_tabbar"}, "PlanTable", Enter::Stays,
             {"region 4 22"}},
            {"HuntPlanWindow, collection page", [&] {
                 auto* window = new HuntPlanWindow(s, host_, messages);
                 test::Find<QTabWidget>(*window, "HuntPlanPages").setCurrentIndex(1);
                 return window;
             }, "CollectionTable", {"CollectionTable", "LevelChart", "Close",
              "qt_tabwidget_tabbar", "CollectionTable"}, "CollectionTable", Enter::Stays, {}},
            {"IdentifyPictureWindow", [&] { return new IdentifyPictureWindow(s, host_); }, nullptr,
             {"OpenPicture", "PastePicture", "Candidates", "OpenPicture"}, "Candidates", Enter::Stays, {}},
            {"ManageCharactersDialog", [&] { return new ManageCharactersDialog(s, messages); },
             nullptr, {"Characters", "New", "Modify", "Delete", "Close", "Characters"}, "Characters",
             Enter::Closes, {}},
            {"CharacterConfigDialog", [&] { return new CharacterConfigDialog(characters, 0); },
             nullptr, {"Name", "Ok", "Cancel", "Name"}, "Name", Enter::Accepts, {}},
            {"ManageRuneLibrariesDialog", [&] { return new ManageRuneLibrariesDialog(s, messages); },
             nullptr, {"RuneLibraries", "New", "Modify", "Delete", "Close", "RuneLibraries"}, "RuneLibraries",
             Enter::Closes, {}},
            {"RuneLibraryConfigDialog", [&] {
                 return new RuneLibraryConfigDialog(s.GetWorld(), libraries, 0);
             }, nullptr, {"RuneLibraryName", "RuneBooks", "New", "Modify", "Delete", "Ok", "Cancel",
              "RuneLibraryName"},
             "RuneBooks", Enter::Accepts, {}},
            {"RuneBookConfigDialog", [&] { return new RuneBookConfigDialog(s.GetWorld(), draft, 0); },
             nullptr, {"Name", "AvailableTreasures", "Add", "Remove", "TreasuresInRuneBook", "Ok",
              "Cancel", "Name"}, "AvailableTreasures", Enter::Accepts, {}},
            {"TreasureInfoWindow, modal", [&] {
                 return new TreasureInfoWindow(s, host_, messages, icons,
                                               TreasureInfoWindow::Mode::Modal);
             }, nullptr, {"TreasureList", "TreasureText", "Close", "TreasureList"}, "TreasureText",
             Enter::Accepts, {}},
            {"TreasureInfoWindow, independent", [&] {
                 return new TreasureInfoWindow(s, host_, messages, icons,
                                               TreasureInfoWindow::Mode::Independent);
             }, nullptr, {"TreasureList", "TreasureText", "TreasureList"}, "TreasureText", Enter::Stays, {}},
            {"PageSetupDialog", [] {
                 return new PageSetupDialog({QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                             PrintMargins{}, {QPageSize(QPageSize::A4)}});
             }, nullptr, {"Paper", "Portrait", "Units", "LeftMargin", "TopMargin", "RightMargin",
              "BottomMargin", "Ok", "Cancel", "Paper"}, "LeftMargin", Enter::Accepts, {}},
            {"PrintContentDialog", [&] {
                 return new PrintContentDialog(s.GetWorld(), s.Filter(), outputs, PrintOutput{},
                                               nullptr);
             }, nullptr, {"Content", "MapOption", "Printer", "Terse", "OnlyTreasuresWithMaps",
              "OnlyLabelsWithMaps", "LevelFilterOn", "Ok", "Cancel", "PageSetup", "Content"},
             "LevelFilterOn", Enter::Accepts, {}},
            {"PrintProgressDialog", [] {
                 return new PrintProgressDialog("Brix Tools", "PDF file", "listing.pdf");
             }, nullptr, {"Cancel", "Cancel"}, "Cancel", Enter::Closes, {}},
            {"ZerrinExportDialog (up to Qt's Save button)", [&] {
                 auto* dialog = new ZerrinExportDialog(exporter, messages);
                 dialog->selectFile(QString::fromStdString(temp_.Path("keys.map")));
                 return dialog;
             }, "fileTypeCombo", {"fileTypeCombo", "PlaceTypes", "FilterButton", "QPushButton Save"},
             "PlaceTypes", Enter::Accepts, {}},
        };
        // clang-format on
        QStringList faults;
        for (const Row& row : rows) {
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
                const QString where = QStringLiteral("%1, key %2").arg(row.Name).arg(key, 0, 16);
                host_.Calls.clear();
                QPointer<QDialog> dialog = row.Make();
                dialog->show();
                dialog->activateWindow();
                if (!QTest::qWaitForWindowActive(dialog)) faults << where + ": not active";
                if (key == Qt::Key_Return) {
                    if (row.Start != nullptr) test::Find<QWidget>(*dialog, row.Start).setFocus();
                    QStringList walked{NameOf(QApplication::focusWidget())};
                    for (QWidget* widget : test::TabWalk(row.Tabs.size() - 1))
                        walked << NameOf(widget);
                    if (walked != row.Tabs) faults << where + ": Tab walks " + walked.join(", ");
                }
                test::Find<QWidget>(*dialog, row.KeysAt).setFocus();
                QTest::keyClick(QApplication::focusWidget(), key);
                const Enter expected = key == Qt::Key_Escape ? Enter::Closes : row.OnEnter;
                const int result =
                    expected == Enter::Accepts ? QDialog::Accepted : QDialog::Rejected;
                if (dialog.isNull() || dialog->isVisible() != (expected == Enter::Stays) ||
                    (expected != Enter::Stays && dialog->result() != result))
                    faults << where + ": wrong outcome";
                if (host_.Calls !=
                    (key == Qt::Key_Return ? row.EnterCalls : std::vector<std::string>{}))
                    faults << where + ": asked " + QString::number(host_.Calls.size());
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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
