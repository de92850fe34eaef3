#pragma once

#include "core/Currency.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVector>

#include <optional>

namespace kvo {

class Database;

struct ParametroConfiguracao {
    QString grupo, chave, tipo, valor, descricao;
};

// Configuration keys (dmConfiguracao): each data module registers the keys it
// owns with a default; afterwards reading a key gives the stored value. A key
// nobody registered reads as empty, which every caller treats as off.
// The keys are the shop's, in the database; one terminal may give some its
// own value in "terminal.ini" of its program folder (section [Configuracao],
// KEY=VALUE lines), which wins over the stored one on that terminal.
class TdmConfiguracao {
public:
    static TdmConfiguracao& gerarInstance();
    explicit TdmConfiguracao(Database& db);
    TdmConfiguracao(); // on the data-access service's connection

    // Registers the key when it does not exist yet; a stored value wins.
    void verificaConfiguracao(const QString& grupo, const QString& chave, const QString& tipo,
                              const QString& valorPadrao, const QString& descricao);
    // Every key of chavesRegistradas() (one transaction); run at start-up
    // and by the command line before it reads or changes a key.
    void registrarChaves();
    // A value read is kept this long, so a change made on another terminal
    // is seen within it without a restart.
    static constexpr int validadeCacheSegundos = 5;
    QString getStr(const QString& chave);
    int getInt(const QString& chave, int padrao = 0);
    Currency getCurr(const QString& chave);
    // Changes a registered key (throws DatabaseError for an unknown one).
    void setValor(const QString& chave, const QString& valor);
    QVector<ParametroConfiguracao> listar(const QString& grupo = {});
    // Forgets what was read, so other terminals' changes are seen.
    void recarregar() { m_cache.clear(); }

private:
    Database& m_db;
    struct Lido {
        QString valor;
        QDateTime quando;
    };
    QHash<QString, Lido> m_cache; // key -> value and when it was read
    std::optional<QString> valorDoTerminal(const QString& chave) const;
};

} // namespace kvo
