#pragma once

#include "printservice/Ticket.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace kvo::impressao {

// Tickets dropped as files ("PED_*.ped", "EXT_*.ext") in a print-manager
// folder. A file is claimed by renaming it into "imprimindo/" as
// "<nome>@<instância>" (a rename either happens or not, so two instances
// never both get it); beside it "<nome>@<instância>.estado" records attempts,
// the last error and whether the bytes were going out. A printed file moves
// to "impressos/<aaaa-mm-dd>/<nome>". A failed file stays claimed by its
// instance, which touches it at each attempt; one untouched for
// `expiraSegundos` is taken over by another instance.
class FontePasta : public FonteTickets {
public:
    FontePasta(QString pasta, QString instancia, int expiraSegundos);

    void recuperar() override;
    std::optional<Ticket> reivindicar() override;
    void enviando(const Ticket& ticket) override;
    void impresso(const Ticket& ticket, const QString& impressora) override;
    void falhou(const Ticket& ticket, const QString& erro, bool incerto) override;

    const QString& pasta() const { return m_pasta; }
    // Files waiting in the folder and claimed ones (any instance), oldest first.
    struct Aguardando {
        QString nome;
        QString instancia; // empty: not claimed
        QDateTime criado;
        int tentativas = 0;
        QString ultimoErro;
        bool reimpressao = false;
        QString texto;
    };
    QList<Aguardando> aguardando() const;
    // Puts a printed file back in the folder as a new ticket carrying the
    // reprint mark; returns the new file's name. Throws std::runtime_error
    // when no printed file has that name.
    QString reimprimir(const QString& nome) const;

private:
    QString m_pasta, m_instancia;
    int m_expira;
};

} // namespace kvo::impressao
