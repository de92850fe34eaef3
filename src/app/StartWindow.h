#pragma once

#include <QMainWindow>

namespace kvo {

class Database;

// Shown after start-up until the module's main menu takes its place: which
// database the program is connected to, its schema version and the company.
class StartWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit StartWindow(Database& db, QWidget* parent = nullptr);
};

} // namespace kvo
