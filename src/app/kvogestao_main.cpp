// The host program: connects to the database of the program folder, brings
// its schema up to date and opens the application.
#include "app/StartWindow.h"
#include "core/Paths.h"
#include "framework/db/Database.h"
#include "framework/db/Migrator.h"
#include "framework/ui/QtUserInterface.h"

#include <QApplication>
#include <QLocale>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    QApplication::setApplicationName(QStringLiteral("KVO Gestão"));
    kvo::QtUserInterface ui;
    kvo::setUserInterface(&ui);

    const QStringList args = app.arguments();
    const qsizetype shot = args.indexOf(QStringLiteral("--screenshot"));
    try {
        kvo::Database db(kvo::ConnectionSettings::fromProgramFolder());
        db.open();
        kvo::Migrator(db).migrate();
        kvo::StartWindow window(db);
        window.show();
        if (shot > 0 && shot + 1 < args.size()) {
            // For checking the screen without a person: save it and leave.
            QTimer::singleShot(300, &window, [&] {
                window.grab().save(args[shot + 1]);
                app.quit();
            });
        }
        return app.exec();
    } catch (const kvo::DatabaseError& e) {
        if (shot > 0)
            qCritical("%s", qPrintable(e.details()));
        else
            ui.showMessage(kvo::MessageKind::Error, e.message());
        return 1;
    }
}
