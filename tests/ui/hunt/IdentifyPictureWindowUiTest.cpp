#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

#include "core/base/Commands.h"
#include "core/base/Strings.h"
#include "core/data/Session.h"
#include "core/map/MapImages.h"
#include "support/MapPictureQuery.h"
#include "support/RecordingMessages.h"
#include "support/Records.h"
#include "support/RegionFixture.h"
#include "ui/frame/MainFrame.h"
#include "ui/hunt/IdentifyPictureWindow.h"
#include "ui/map/RegionMapView.h"

namespace brix {

// The identify window as the main frame opens it, on a small world of scribbled land; how
// well the matching itself does is measured by the core tests on the sample world.
class IdentifyPictureWindowUiTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    Session session_;
    test::RecordingMessages messages_;
    std::unique_ptr<MainFrame> frame_;

    IdentifyPictureWindow* Window() { return frame_->findChild<IdentifyPictureWindow*>(); }
    QTreeWidget* List() { return Window()->findChild<QTreeWidget*>("Candidates"); }
    QString Status() { return Window()->findChild<QLabel*>("IdentifyStatus")->text(); }
    RegionMapView* RegionView() { return frame_->findChild<RegionMapView*>(); }

    static QString Text(int id) { return QString::fromStdString(LoadString(id)); }

    // Coast-like scribbles: random walks, so every place looks different.
    static QImage ScribbledMultimap() {
        QImage drawing(1600, 1200, QImage::Format_RGB32);
        drawing.fill(Qt::white);
        {
            QPainter painter(&drawing);
            painter.setPen(QPen(Qt::black, 1));
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
        }
        return NormalizeMonochrome(
            drawing.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither));
    }

    // Ctrl+V through the window system, so that it goes through the shortcut map as a key
    // the user presses does.
    void PressPaste() { QTest::keyClick(Window()->windowHandle(), Qt::Key_V, Qt::ControlModifier); }

    void Paste(const QImage& image) {
        QGuiApplication::clipboard()->setImage(image);
        PressPaste();
    }

private Q_SLOTS:
    void init() {
        QVERIFY(dir_.isValid());
        test::ResetSession(session_);
        session_.GetPrefs().Paths.SettingsPath = dir_.filePath("brix-tools.ini").toStdString();
        Region region;
        region.Index = 1;
        region.Name = "Scribbles";
        session_.GetWorld().StoreRegion(region);
        const IntPoint places[] = {{600, 500}, {1800, 1300}, {2600, 900}, {1200, 1800}};
        for (int i = 0; i < 4; ++i) {
            Treasure treasure;
            treasure.Index = i + 1;
            treasure.Region = 1;
            treasure.Name = "Cache " + std::to_string(i + 1);
            treasure.Location = places[i];
            session_.GetWorld().StoreTreasure(treasure);
        }
        test::LoadRegionPictures(session_);
        session_.GetWorld().Drawing.MultimapBitmap = ScribbledMultimap();
        session_.GetWorld().Drawing.MultimapSize =
            session_.GetWorld().Drawing.MultimapBitmap.size();
        frame_ = std::make_unique<MainFrame>(session_, messages_);
        QVERIFY(frame_->Create());
        frame_->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    }

    void cleanup() { frame_.reset(); }

    void pastedPictureListsCandidatesAndEnterShowsTheTreasure() {
        QVERIFY(frame_->ExecuteCommand(Command::IdentifyMapPicture));
        IdentifyPictureWindow* window = Window();
        QVERIFY(window != nullptr);
        QCOMPARE(window->windowTitle(), Text(StringId::IdentifyCaption));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));

        test::PictureChanges changes;
        changes.Scale = 1.2;
        changes.ShiftX = -0.06;
        changes.BlurPasses = 1;
        changes.JpegQuality = 60;
        Paste(test::PictureOfCloseUp(session_, 3, changes));
        QVERIFY2(!window->ListedTreasures().empty(), qPrintable(Status()));
        QCOMPARE(window->ListedTreasures().front(), 3);
        QCOMPARE(List()->currentItem()->text(0), QString("3"));
        QCOMPARE(List()->currentItem()->text(2), QString("Scribbles"));
        QVERIFY(List()->currentItem()->text(3).endsWith('%'));
        QVERIFY(Status().isEmpty());

        // Enter shows the region with the treasure selected; the window stays for the next one.
        QTest::keyClick(List(), Qt::Key_Return);
        QVERIFY(frame_->IsRegionViewActive());
        QCOMPARE(RegionView()->ShownRegion(), 1);
        QCOMPARE(RegionView()->SelectedTreasure(), 3);
        QVERIFY(window->isVisible());

        // Nothing alike: said plainly, no list of noise.
        QImage blank(300, 300, QImage::Format_RGB32);
        blank.fill(qRgb(233, 214, 170));
        Paste(blank);
        QVERIFY(window->ListedTreasures().empty());
        QCOMPARE(Status(), Text(StringId::IdentifyNoMatch));

        // A clipboard without a picture, and a file that is none.
        QGuiApplication::clipboard()->setText("treasure 3");
        PressPaste();
        QCOMPARE(Status(), Text(StringId::IdentifyNoClipboardPicture));
        const QString notes = dir_.filePath("notes.png");
        QFile file(notes);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("no picture");
        file.close();
        window->SetPicturePrompt([&](QWidget*) { return notes; });
        QTest::mouseClick(window->findChild<QPushButton*>("OpenPicture"), Qt::LeftButton);
        QVERIFY(Status().contains(notes));
        QVERIFY(messages_.Shown.empty());

        // One window for the run; it goes with the main window.
        frame_->ExecuteCommand(Command::IdentifyMapPicture);
        QCOMPARE(frame_->findChildren<IdentifyPictureWindow*>().size(), 1);
        frame_->close();
        QVERIFY(!window->isVisible());
    }
};

}  // namespace brix

QTEST_MAIN(brix::IdentifyPictureWindowUiTest)
#include "IdentifyPictureWindowUiTest.moc"
