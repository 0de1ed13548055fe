#pragma once

#include <QDialog>

#include <memory>

class QComboBox;
class QPlainTextEdit;

namespace brix {

struct GameRecords;
struct LevelInformation;

// "Level Information": a level chooser and the full text of the chosen level, replaced whole
// on every change of the choice. Reads the records and changes nothing.
class LevelInfoDialog : public QDialog {
    Q_OBJECT
public:
    // `initialLevel` is a level number; a number no level has shows the first level.
    LevelInfoDialog(const GameRecords& records, int initialLevel, QWidget* parent = nullptr);
    ~LevelInfoDialog() override;

private:
    void ShowChosenLevel();

    std::unique_ptr<LevelInformation> information_;
    QComboBox* levels_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
};

// Runs the dialog application-modal over the window that is active now (see DialogOwner),
// `fallback` when there is none.
void RunLevelInformation(const GameRecords& records, int initialLevel, QWidget* fallback);

}  // namespace brix
