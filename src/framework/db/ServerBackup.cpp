#include "framework/db/ServerBackup.h"

#include "framework/db/DatabaseError.h"

#include <QStringList>

#include <ibase.h>

namespace kvo::servidor {

namespace {

QString statusText(const ISC_STATUS* status) {
    char buffer[512];
    const ISC_STATUS* vector = status;
    QString message;
    while (fb_interpret(buffer, sizeof buffer, &vector))
        message += QString::fromLocal8Bit(buffer) + u' ';
    return message.trimmed();
}

void addString(QByteArray& spb, char tag, const QByteArray& value) {
    spb.append(tag);
    const auto n = static_cast<quint16>(value.size());
    spb.append(static_cast<char>(n & 0xff));
    spb.append(static_cast<char>(n >> 8));
    spb.append(value);
}

void addInt(QByteArray& spb, char tag, quint32 value) {
    spb.append(tag);
    for (int i = 0; i < 4; ++i)
        spb.append(static_cast<char>((value >> (8 * i)) & 0xff));
}

class Service {
public:
    explicit Service(const ConnectionSettings& s) : m_settings(s) {
        QString name = s.host;
        if (s.port)
            name += u'/' + QString::number(s.port);
        name += QStringLiteral(":service_mgr");
        QByteArray spb;
        spb.append(char(isc_spb_version));
        spb.append(char(isc_spb_current_version));
        const QByteArray user = s.user.toUtf8(), password = s.password.toUtf8();
        spb.append(char(isc_spb_user_name)).append(char(user.size())).append(user);
        spb.append(char(isc_spb_password)).append(char(password.size())).append(password);
        const QByteArray service = name.toUtf8();
        ISC_STATUS_ARRAY status{};
        if (isc_service_attach(status, static_cast<unsigned short>(service.size()), service.constData(), &m_handle,
                               static_cast<unsigned short>(spb.size()), spb.constData()))
            throw DatabaseError(QStringLiteral("Não foi possível acessar os serviços do servidor %1: %2")
                                    .arg(s.host, statusText(status)));
    }
    ~Service() {
        ISC_STATUS_ARRAY status{};
        if (m_handle)
            isc_service_detach(status, &m_handle);
    }
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;

    // Starts the action and reads its output until the server is done.
    void run(const QByteArray& request, const QString& what) {
        ISC_STATUS_ARRAY status{};
        if (isc_service_start(status, &m_handle, nullptr, static_cast<unsigned short>(request.size()),
                              request.constData()))
            throw DatabaseError(QStringLiteral("%1 falhou no servidor %2: %3").arg(what, m_settings.host, statusText(status)));
        QStringList last;
        const char item = isc_info_svc_line;
        char buffer[4096];
        for (;;) {
            if (isc_service_query(status, &m_handle, nullptr, 0, nullptr, 1, &item, sizeof buffer, buffer))
                throw DatabaseError(QStringLiteral("%1 falhou no servidor %2: %3 %4")
                                        .arg(what, m_settings.host, statusText(status), last.join(u' ')));
            if (buffer[0] != isc_info_svc_line)
                break;
            const int length = static_cast<unsigned char>(buffer[1]) | (static_cast<unsigned char>(buffer[2]) << 8);
            if (length == 0)
                break;
            const QString line = QString::fromUtf8(buffer + 3, qMin(length, int(sizeof buffer) - 3));
            if (line.contains(QLatin1String("ERROR:")))
                throw DatabaseError(QStringLiteral("%1 falhou no servidor %2: %3").arg(what, m_settings.host, line));
            last << line;
            if (last.size() > 3)
                last.removeFirst();
        }
    }

private:
    const ConnectionSettings& m_settings;
    isc_svc_handle m_handle = 0;
};

} // namespace

void backup(const ConnectionSettings& settings, const QString& backupFile) {
    Service service(settings);
    QByteArray request;
    request.append(char(isc_action_svc_backup));
    addString(request, isc_spb_dbname, settings.path.toUtf8());
    addString(request, isc_spb_bkp_file, backupFile.toUtf8());
    request.append(char(isc_spb_verbose));
    service.run(request, QStringLiteral("A cópia de segurança de %1").arg(settings.path));
}

void restore(const ConnectionSettings& settings, const QString& backupFile) {
    Service service(settings);
    QByteArray request;
    request.append(char(isc_action_svc_restore));
    addString(request, isc_spb_bkp_file, backupFile.toUtf8());
    addString(request, isc_spb_dbname, settings.path.toUtf8());
    addInt(request, isc_spb_options, isc_spb_res_replace);
    request.append(char(isc_spb_verbose));
    service.run(request, QStringLiteral("A restauração de %1").arg(settings.path));
}

} // namespace kvo::servidor
