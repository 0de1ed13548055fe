// Every window of the program, opened as the user opens it, through a screen reader: each
// control that takes the focus has a name, each label tells the text it shows (a value label
// named after its caption hides its value).

#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <map>
#include <memory>
#include <set>

#include "core/base/Commands.h"
#include "support/Records.h"
#include "support/RegionFixture.h"
#include "support/UiFrame.h"
#include "support/Widgets.h"
#include "ui/dialogs/ColorPickerButton.h"
#include "ui/manage/RecordListBox.h"

namespace brix {
namespace {

QString ClassOf(const QObject* object) {
    return QString::fromLatin1(object->metaObject()->className());
}

// "brix::MapInventoryDialog > QLabel CurrentCounts": enough to find the control in the code.
QString Describe(const QObject* object) {
    const auto* widget = qobject_cast<const QWidget*>(object);
    const QString window = widget && !widget->isWindow() ? ClassOf(widget->window()) + " > " : "";
    return (window + ClassOf(object) + QLatin1Char(' ') + object->objectName()).trimmed();
}

// The text a label shows, as plain text; mnemonic ampersands do not show.
QString ShownText(const QLabel& label) {
    QString text = label.text();
    if (label.textFormat() == Qt::RichText ||
        (label.textFormat() == Qt::AutoText && Qt::mightBeRichText(text))) {
        QTextDocument document;
        document.setHtml(text);
        text = document.toPlainText();
    }
    if (label.buddy() != nullptr)
        text.replace(QRegularExpression(QStringLiteral("&(.)")), QStringLiteral("\\1"));
    return text.simplified();
}

// The name a screen reader gives the node: its own, else that of the label it is labelled by
// (on Linux a combo box tells its value as its name and leaves the naming to its label).
QString SpokenName(QAccessibleInterface& node) {
    QString name = node.text(QAccessible::Name).trimmed();
    for (const auto& [label, relation] : node.relations(QAccessible::Label)) {
        if (!name.isEmpty()) break;
        if (label != nullptr) name = label->text(QAccessible::Name).trimmed();
    }
    return name;
}

// Checks one node of a window's accessibility tree and everything below it; the faults go to
// `faults`, one line each naming the control.
void WalkNode(QAccessibleInterface* node, QStringList& faults) {
    if (node == nullptr || !node->isValid()) return;
    QObject* object = node->object();
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget != nullptr && !widget->isVisible()) return;
    const QAccessible::State state = node->state();
    const QString name = SpokenName(*node);
    const QString where = object != nullptr
                              ? Describe(object)
                              : Describe(node->parent()->object()) + QStringLiteral(" > item");
    if (state.focusable && !state.invisible && name.isEmpty())
        faults << where + QStringLiteral(": takes the focus but has no name");
    if (const auto* label = qobject_cast<const QLabel*>(object)) {
        const QString shown = ShownText(*label);
        if (!shown.isEmpty() && node->text(QAccessible::Name).simplified() != shown &&
            node->text(QAccessible::Value).simplified() != shown)
            faults << where + QStringLiteral(": shows \"%1\" but tells \"%2\"")
                                  .arg(shown, node->text(QAccessible::Name));
    }
    const auto* edit = qobject_cast<const QPlainTextEdit*>(object);
    QAccessibleTextInterface* text = node->textInterface();
    if (edit != nullptr && text != nullptr &&
        text->text(0, text->characterCount()) != edit->toPlainText())
        faults << where + QStringLiteral(": its text is not what it shows");
    // The rows of lists, tables and drop-downs are their items, named by the items' texts.
    if (qobject_cast<QAbstractItemView*>(object) || qobject_cast<QComboBox*>(object)) return;
    for (int i = 0; i < node->childCount(); ++i) WalkNode(node->child(i), faults);
}

// Walks a whole window, each page of its tab widgets in turn.
void WalkWindow(QWidget& window, QStringList& faults) {
    WalkNode(QAccessible::queryAccessibleInterface(&window), faults);
    for (QTabWidget* tabs : window.findChildren<QTabWidget*>()) {
        const int shown = tabs->currentIndex();
        for (int page = 0; page < tabs->count(); ++page) {
            if (page == shown) continue;
            tabs->setCurrentIndex(page);
            WalkNode(QAccessible::queryAccessibleInterface(tabs->widget(page)), faults);
        }
        tabs->setCurrentIndex(shown);
    }
}

// The program's own window classes, read from its sources: every dialog, main window and
// pop-up. A window added later is in this list without anyone remembering the test.
QSet<QString> WindowClassesInSources() {
    const QRegularExpression derived(
        QStringLiteral(R"(class\s+(\w+)\s*:\s*public\s+(QDialog|QFileDialog|QMainWindow)\b)"));
    const QRegularExpression popup(
        QStringLiteral(R"((\w+)::\1\([^)]*\)\s*:\s*QWidget\([^,)]*,\s*Qt::(Popup|Window|Tool)\))"));
    QSet<QString> classes;
    QDirIterator files(QStringLiteral(BRIX_TEST_DATA "/../../src/ui"),
                       {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (const QRegularExpression& pattern : {derived, popup})
            for (const QRegularExpressionMatch& match : pattern.globalMatch(text))
                classes.insert(QStringLiteral("brix::") + match.captured(1));
    }
    return classes;
}

// Handles each window of the program as it shows up while commands run: walks it once, lets
// its script open the windows nested in it, then closes it. Polls on its own chain of
// single-shot timers, so it goes on inside the modal loops of the windows it meets. Qt's own
// windows are only answered by their scripts (a file name), never walked.
struct WindowWatcher {
    std::map<QString, std::function<void(QWidget&)>> Scripts;
    QStringList Walked;  // window classes in the order they were walked
    QStringList Faults;
    std::shared_ptr<bool> Running = std::make_shared<bool>(true);

    ~WindowWatcher() { *Running = false; }

    void Poll() {
        QTimer::singleShot(0, [this, running = Running] {
            if (!*running) return;
            Poll();
            for (QWidget* window : QApplication::topLevelWidgets()) {
                const QString name = ClassOf(window);
                const bool ours = name.startsWith(QLatin1String("brix::"));
                if (!window->isVisible() || window->property("walked").toBool() ||
                    (!ours && Scripts.count(name) == 0))
                    continue;
                window->setProperty("walked", true);
                const QPointer<QWidget> guard(window);
                if (ours) {
                    Walked << name;
                    WalkWindow(*window, Faults);
                }
                if (auto script = Scripts.find(name); script != Scripts.end())
                    script->second(*window);
                if (guard == nullptr || !guard->isVisible()) return;  // the script ended it
                if (auto* dialog = qobject_cast<QDialog*>(guard.data()))
                    dialog->reject();
                else
                    guard->close();
                return;  // the list may have changed meanwhile
            }
        });
    }
};

}  // namespace

class AccessibilityUiTest : public QObject {
    Q_OBJECT

    test::UiFrame ui_;

private Q_SLOTS:
    void initTestCase() { QAccessible::setActive(true); }

    // Every window the main frame's commands open, and every window those open, is walked;
    // a command, or a window class of the program, that the test does not reach fails it.
    void everyWindowNamesItsControlsAndValues() {
        // Every list of every window has rows: regions, treasures, levels, a character with
        // maps and a rune library with a book.
        Session& session = ui_.Sess;
        test::FillRegionSession(session);
        test::LoadRegionPictures(session);
        test::AddLevels(session.GetWorld(), {1, 2, 3});
        session.GetUser().Characters = {{"Ann", {{2, {1}}}}};
        session.SetCurrentCharacter(&session.GetUser().Characters[0]);
        session.GetUser().RuneLibraries = {{false, "Mine", {{"North", {1, 3}}}}};
        MainFrame& frame = ui_.Open();

        const QString pdf = QString::fromStdString(ui_.Path("listing.pdf"));
        WindowWatcher watcher;
        watcher.Scripts = {
            {"brix::ManageCharactersDialog",
             [](QWidget& w) { test::Find<QPushButton>(w, "New").click(); }},
            {"brix::ManageRuneLibrariesDialog",
             [](QWidget& w) {
                 test::Find<QListWidget>(w, "RuneLibraries").setCurrentRow(0);
                 test::Find<QPushButton>(w, "Modify").click();
             }},
            {"brix::RuneLibraryConfigDialog",
             [](QWidget& w) {
                 auto* books = w.findChild<RecordListBox*>();
                 books->List()->setCurrentRow(0);
                 books->ModifyButton()->click();
             }},
            {"brix::OptionsSheet",
             [](QWidget& w) {
                 auto& tabs = test::Find<QTabWidget>(w, "Pages");
                 tabs.setCurrentIndex(tabs.count() - 1);
                 w.findChild<ColorPickerButton*>()->DropPalette();
                 QTest::qWait(50);  // the palette is walked from the loop
             }},
            {"brix::PrintContentDialog",
             [](QWidget& w) {
                 // Printed to a PDF file, so that the progress window shows.
                 test::Find<QComboBox>(w, "Printer").setCurrentText(QStringLiteral("PDF file"));
                 static_cast<QDialog&>(w).accept();
             }},
            {"QFileDialog",
             [pdf](QWidget& w) {
                 auto& files = static_cast<QFileDialog&>(w);
                 files.selectFile(pdf);
                 QMetaObject::invokeMethod(&files, "accept");
             }},
        };
        frame.setProperty("walked", true);
        watcher.Poll();
        WalkWindow(frame, watcher.Faults);
        frame.ShowRegionView(1, 1);
        WalkWindow(frame, watcher.Faults);
        watcher.Walked << ClassOf(&frame);

        // Every other command opens a window (the Region command is the toolbar's region
        // menu, About a message box through Messages); what those open is reached by the scripts.
        const std::set<int> noWindow = {Command::Exit,         Command::Undo,
                                        Command::Redo,         Command::Copy,
                                        Command::NextRegion,   Command::PreviousRegion,
                                        Command::NextTreasure, Command::PreviousTreasure,
                                        Command::World,        Command::Region,
                                        Command::StayOnTop,    Command::About};
        for (const int command : frame.Commands()) {
            if (noWindow.count(command) != 0) continue;
            const qsizetype before = watcher.Walked.size();
            frame.Action(command)->trigger();
            QTRY_VERIFY2_WITH_TIMEOUT(
                watcher.Walked.size() > before,
                qPrintable(QString::fromStdString(CommandText(command, CommandField::Name))),
                10000);
            QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
        }

        QSet<QString> missing = WindowClassesInSources();
        QVERIFY(missing.contains(QStringLiteral("brix::MapInventoryDialog")));
        for (const QString& walked : watcher.Walked) missing.remove(walked);
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("never opened: ") +
                                               QStringList(missing.values()).join(", ")));
        QVERIFY2(watcher.Faults.isEmpty(), qPrintable(watcher.Faults.join(QLatin1Char('\n'))));
    }
};

}  // namespace brix

QTEST_MAIN(brix::AccessibilityUiTest)
#include "AccessibilityUiTest.moc"
