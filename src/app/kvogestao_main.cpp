// The host program: loads the module kvoCoreGestao and calls its entry, which
// connects, asks for the login and opens the main menu.
#include <QApplication>
#include <QLibrary>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    QApplication::setApplicationName(QStringLiteral("KVO Gestão"));

    QLibrary module(QApplication::applicationDirPath() + QStringLiteral("/kvoCoreGestao"));
    using Entry = bool (*)();
    using Finish = void (*)();
    const auto entry = reinterpret_cast<Entry>(module.resolve("TfrmMenuCoreGestao_gerarInstance"));
    const auto finish = reinterpret_cast<Finish>(module.resolve("kvoCoreGestao_finalizar"));
    if (!entry || !finish) {
        QMessageBox::critical(nullptr, QStringLiteral("KVO Gestão"),
                              QStringLiteral("Não foi possível carregar o módulo kvoCoreGestao: %1").arg(module.errorString()));
        return 1;
    }
    int code = 0;
    if (entry()) // false: login refused or start-up failed; the application ends
        code = app.exec();
    finish();
    return code;
}
