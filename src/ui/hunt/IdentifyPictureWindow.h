#pragma once

#include <QDialog>
#include <QImage>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/hunt/MapPictureFile.h"
#include "core/hunt/MapPictureMatcher.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace brix {

class MapViewHost;
class Session;

// "Identify Map Picture": the player pastes, drops or opens a picture of a treasure map; the
// window shows it beside the close-up of the current candidate and lists the five best
// candidates (close-up, number, name, region, match), the best current. Enter or a
// double-click shows that treasure's region with the treasure selected, as the find box does,
// and the window stays open for the next picture. When no candidate matches, it says so
// instead of listing them. Reads the world and changes nothing.
class IdentifyPictureWindow : public QDialog {
    Q_OBJECT
public:
    // Asks for a picture file to open; an empty name when the user cancels.
    using PicturePrompt = std::function<QString(QWidget* owner)>;

    // The catalogue must outlive the window; its multimap is prepared on the first picture.
    IdentifyPictureWindow(const Session& session, MapViewHost& host, QWidget* parent = nullptr);
    ~IdentifyPictureWindow() override;

    // Shows the window (again) in front.
    void Present();

    // The ways a picture arrives; each shows it and its candidates, or says what is wrong.
    void OpenPictureFile(const QString& path);
    void PasteFromClipboard();
    void TakePicture(const MapPicture& picture, const std::string& name);

    void SetPicturePrompt(PicturePrompt prompt) { prompt_ = std::move(prompt); }

    // The candidates listed (none when the picture matches nothing), best first.
    std::vector<int> ListedTreasures() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void ChooseFile();
    void ShowCandidate(const QTreeWidgetItem* item);
    void ShowCloseUp();
    void ShowStatus(const std::string& text);

    const Session& session_;
    MapViewHost& host_;
    MapPictureMatcher matcher_;
    PicturePrompt prompt_;
    QLabel* status_ = nullptr;
    QLabel* picture_ = nullptr;
    QLabel* closeUp_ = nullptr;
    QTreeWidget* candidates_ = nullptr;
    QPushButton* open_ = nullptr;
    QPushButton* paste_ = nullptr;
};

}  // namespace brix
