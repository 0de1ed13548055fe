#pragma once

#include <QDialog>
#include <QWidget>

#include "core/map/DisplayOptions.h"

class QCheckBox;
class QTabWidget;

namespace brix {

class ColorPickerButton;
class Session;

// "General": whether Treasure Information runs beside the main window.
class GeneralPage : public QWidget {
    Q_OBJECT
public:
    explicit GeneralPage(const DisplayOptions& options, QWidget* parent = nullptr);
    // Puts the page's controls into `options`.
    void Collect(DisplayOptions& options) const;

private:
    QCheckBox* independent_ = nullptr;
};

// "Display": off-screen painting, tack position and the four map colours.
class DisplayPage : public QWidget {
    Q_OBJECT
public:
    explicit DisplayPage(const DisplayOptions& options, QWidget* parent = nullptr);
    void Collect(DisplayOptions& options) const;

private:
    QCheckBox* beauty_ = nullptr;
    QCheckBox* tacksCorrect_ = nullptr;
    ColorPickerButton* withoutHighLight_ = nullptr;
    ColorPickerButton* withHighLight_ = nullptr;
    ColorPickerButton* tackWithout_ = nullptr;
    ColorPickerButton* tackWith_ = nullptr;
};

// The Options sheet: the program title as caption, General then Display, OK and Cancel.
class OptionsSheet : public QDialog {
    Q_OBJECT
public:
    OptionsSheet(const QString& title, const DisplayOptions& options, QWidget* parent = nullptr);

    // The values the controls hold now.
    DisplayOptions Options() const;

    // Runs the sheet modally over `owner` on the catalogue's settings. On OK the catalogue
    // takes them, all seven keys are written and the views repaint; true then. Cancel changes
    // and writes nothing.
    static bool Open(Session& session, QWidget* owner);

private:
    QTabWidget* pages_ = nullptr;
    GeneralPage* general_ = nullptr;
    DisplayPage* display_ = nullptr;
};

}  // namespace brix
