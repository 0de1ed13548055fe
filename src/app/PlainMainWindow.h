#pragma once

#include <QMainWindow>

namespace brix {

class TreasureCatalog;

// The program's window until the full main frame is in place: a titled window that shows
// what was loaded.
class PlainMainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit PlainMainWindow(TreasureCatalog& catalog, QWidget* parent = nullptr);
};

}  // namespace brix
